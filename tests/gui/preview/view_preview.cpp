// A look at the frame view with live frames: a simulated camera, the
// application's renderer running, and the zoom window with the frame view
// filling a top-level window. After a second the left button is pressed on
// the view, so the pixel readout shows too. Not the program.
//
//   ovviewpreview.exe [--colour] [--zoom <level>] [--gain <shift>] [--fetch-on-timer]
//                     [--exit-after <milliseconds>]
// --fetch-on-timer takes the frames on the GUI thread (FetchFrame and Redraw
// every 40 ms) instead of letting the renderer's worker run.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>

#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "AppGui/Framework/ZoomWindow.h"
#include "AppGui/Panes/ViewFrameChildPane.h"
#include "Lib3Wrapper/Exports.h"
#include "Render/PrivateRenderer.h"

namespace {

using namespace AppGui;

constexpr UINT_PTR kPressTimer = 1;
constexpr UINT_PTR kExitTimer = 2;
constexpr UINT_PTR kFetchTimer = 3;
constexpr int kZoomWindowId = 3;

class PreviewFrame : public Window {
public:
    int zoom = 100;
    UINT exitAfter = 0;
    bool fetchOnTimer = false;

protected:
    WindowClassInfo ClassInfo() const override { return {L"OvViewPreviewFrame"}; }

    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        switch (message) {
            case WM_CREATE: {
                RECT client{};
                GetClientRect(Handle(), &client);
                if (!view_.CreateChild(Handle(), kZoomWindowId, &client)) {
                    result = -1;
                    return true;
                }
                SetTimer(Handle(), kPressTimer, 1000, nullptr);
                if (exitAfter) SetTimer(Handle(), kExitTimer, exitAfter, nullptr);
                if (fetchOnTimer) SetTimer(Handle(), kFetchTimer, 40, nullptr);
                result = 0;
                return true;
            }
            case WM_SIZE:
                if (view_.Handle()) MoveWindow(view_.Handle(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
                result = 0;
                return true;
            case WM_TIMER:
                if (wParam == kPressTimer) {
                    KillTimer(Handle(), kPressTimer);
                    view_.SetZoom(zoom);
                    // Hold the button on a point of the image: the readout appears.
                    SendMessageW(view_.Child().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 90));
                } else if (wParam == kFetchTimer) {
                    int32_t index = 0;
                    uint32_t layout = 0;
                    Render::PrivateRenderer& renderer = AppState::Get().Renderer();
                    if (renderer.FetchFrame(&index, &layout)) renderer.Redraw();
                } else if (wParam == kExitTimer) {
                    DestroyWindow(Handle());
                }
                result = 0;
                return true;
            case WM_DESTROY:
                PostQuitMessage(0);
                result = 0;
                return true;
            default:
                return Window::ProcessMessage(message, wParam, lParam, result);
        }
    }

private:
    ZoomWindow<ViewFrameChildPane> view_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    PreviewFrame frame;
    uint32_t type = 1;
    uint32_t gain = 0;  // the simulated monochrome ZEL camera
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--colour") == 0) type = 2;
        if (std::wcscmp(argv[i], L"--fetch-on-timer") == 0) frame.fetchOnTimer = true;
        if (i + 1 < argc && std::wcscmp(argv[i], L"--gain") == 0) gain = std::wcstoul(argv[i + 1], nullptr, 10);
        if (i + 1 < argc && std::wcscmp(argv[i], L"--zoom") == 0) frame.zoom = std::wcstol(argv[i + 1], nullptr, 10);
        if (i + 1 < argc && std::wcscmp(argv[i], L"--exit-after") == 0)
            frame.exitAfter = static_cast<UINT>(std::wcstoul(argv[i + 1], nullptr, 10));
    }
    LocalFree(argv);

    using namespace DllModule::Lib3Wrapper;
    OvTypeLib::IOvSystem* system = nullptr;
    OvTypeLib::IOvDataTransfer* transfer = nullptr;
    if (!Lib3CreateSystem(type, &system, nullptr) || !system->Init() || !system->GetDataTransfer(0, &transfer))
        return 2;
    AppState& state = AppState::Get();
    state.systemTypeId = type;
    state.system = system;
    state.transfer = transfer;

    // The view needs the open camera when it is created, the renderer a window for DirectDraw.
    if (!frame.Create(nullptr, RECT{40, 40, 940, 740}, L"Просмотр кадра", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN))
        return 3;
    Render::PrivateRenderer& renderer = state.Renderer();
    // DirectDraw on the top-level window, as the program does with its main window.
    if (!renderer.InitDisplay(frame.Handle())) return 4;
    renderer.SetNotifyWindow(nullptr);
    renderer.SetGainShift(gain);
    renderer.Start();
    renderer.SendCommand(frame.fetchOnTimer ? Render::CommandReloadRange : Render::CommandRun);
    ShowWindow(frame.Handle(), SW_SHOW);
    UpdateWindow(frame.Handle());

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    renderer.SendCommand(Render::CommandStop);
    renderer.SendCommand(Render::CommandQuit);
    state.system = nullptr;
    state.transfer = nullptr;
    Lib3ReleaseSystem(type);
    return 0;
}
