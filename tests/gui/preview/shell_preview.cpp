// A look at the shell's building blocks together: the menu, accelerators,
// icon and toolbar bitmaps of the resources, a status bar, and the client
// area's nest of split, scrolling and zoom windows with stand-in panes.
// Not the program: nothing here talks to a camera.
//
//   ovshellpreview.exe [--exit-after <milliseconds>]
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <memory>

#include "AppGui/Framework/AcceleratorFilter.h"
#include "AppGui/Framework/MyMessageLoop.h"
#include "AppGui/Framework/ResourceText.h"
#include "AppGui/Framework/ScrollableWindow.h"
#include "AppGui/Framework/SplittedWindow.h"
#include "AppGui/Framework/ZoomWindow.h"
#include "resource.h"

namespace {

using namespace AppGui;

// A fixed-size pane with a caption, standing in for the options pane.
class OptionsStandIn : public Window {
protected:
    WindowClassInfo ClassInfo() const override {
        WindowClassInfo info;
        info.name = L"OvPreviewOptions";
        info.background = SystemColourBrush(COLOR_BTNFACE);
        return info;
    }
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == WM_CREATE) {
            SetWindowPos(Handle(), nullptr, 0, 0, 220, 700, SWP_NOMOVE | SWP_NOZORDER);
            result = 0;
            return true;
        }
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(Handle(), &paint);
            SetBkMode(dc, TRANSPARENT);
            SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
            const wchar_t* lines[] = {L"Экспозиция", L"Режим работы камеры", L"Цифр.усиление", L"Бининг"};
            for (int i = 0; i < 4; ++i) TextOutW(dc, 10, 10 + 40 * i, lines[i], static_cast<int>(wcslen(lines[i])));
            EndPaint(Handle(), &paint);
            result = 0;
            return true;
        }
        return Window::ProcessMessage(message, wParam, lParam, result);
    }
};

// A 640 x 480 test pattern, standing in for the frame view.
class FrameStandIn : public Window {
protected:
    WindowClassInfo ClassInfo() const override {
        WindowClassInfo info;
        info.name = L"OvPreviewFrame";
        info.background = nullptr;
        return info;
    }
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == WM_CREATE) {
            SetWindowPos(Handle(), nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
            result = 0;
            return true;
        }
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(Handle(), &paint);
            RECT client;
            GetClientRect(Handle(), &client);
            for (int band = 0; band < 16; ++band) {
                const int level = band * 255 / 15;
                HBRUSH brush = CreateSolidBrush(RGB(level, level, level));
                RECT part{client.right * band / 16, 0, client.right * (band + 1) / 16, client.bottom};
                FillRect(dc, &part, brush);
                DeleteObject(brush);
            }
            EndPaint(Handle(), &paint);
            result = 0;
            return true;
        }
        if (message == WM_ERASEBKGND) {
            result = 1;
            return true;
        }
        return Window::ProcessMessage(message, wParam, lParam, result);
    }
};

class OutputStandIn : public Window {
protected:
    WindowClassInfo ClassInfo() const override { return {L"OvPreviewOutput"}; }
};

using FrameSide = SplittedWindow<ZoomWindow<FrameStandIn>, OutputStandIn, Splitter<0>>;
using ClientArea = SplittedWindow<ScrollableWindow<OptionsStandIn>, FrameSide, Splitter<1>>;

class PreviewFrame : public Window {
public:
    UINT exitAfter = 0;

protected:
    WindowClassInfo ClassInfo() const override {
        WindowClassInfo info;
        info.name = L"OvShellPreview";
        info.icon = LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
        info.smallIcon =
            static_cast<HICON>(LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 16, 16, 0));
        return info;
    }

    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        switch (message) {
            case WM_CREATE:
                result = OnCreate() ? 0 : -1;
                return true;
            case WM_SIZE:
                Layout();
                result = 0;
                return true;
            case WM_NOTIFY:
                if (reinterpret_cast<NMHDR*>(lParam)->code == TTN_GETDISPINFOW) {
                    auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                    tooltip_ = LoadText(static_cast<UINT>(info->hdr.idFrom));
                    if (info->hdr.idFrom >= ID_ZOOM_100 && info->hdr.idFrom <= ID_ZOOM_OUT)
                        tooltip_ += client_->SecondPane().FirstPane().Caption();
                    info->lpszText = tooltip_.data();
                    result = 0;
                    return true;
                }
                return false;
            case WM_COMMAND:
                OnCommand(LOWORD(wParam));
                result = 0;
                return true;
            case WM_TIMER:
                DestroyWindow(Handle());
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
    static HWND MakeToolbar(HWND parent, UINT id, UINT bitmap, int images, const int* commands, int count) {
        TBBUTTON buttons[16] = {};
        int image = 0;
        for (int i = 0; i < count; ++i) {
            buttons[i].idCommand = commands[i];
            buttons[i].fsState = TBSTATE_ENABLED;
            buttons[i].fsStyle = commands[i] ? BTNS_BUTTON : BTNS_SEP;
            buttons[i].iBitmap = commands[i] ? image++ : 0;
        }
        return CreateToolbarEx(
            parent,
            WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
            id, images, ModuleInstance(), bitmap, buttons, count, 16, 16, 16, 16, sizeof(TBBUTTON));
    }

    void AddBand(HWND toolbar) {
        SIZE size{};
        SendMessageW(toolbar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
        REBARBANDINFOW band{};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
        band.fStyle = RBBS_GRIPPERALWAYS | RBBS_CHILDEDGE;
        band.hwndChild = toolbar;
        band.cxMinChild = size.cx;
        band.cyMinChild = size.cy;
        band.cx = size.cx + 20;
        SendMessageW(rebar_, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    }

    bool OnCreate() {
        rebar_ = CreateWindowExW(
            0, REBARCLASSNAMEW, nullptr,
            WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_AUTOSIZE | RBS_VARHEIGHT, 0, 0,
            0, 0, Handle(), nullptr, ModuleInstance(), nullptr);
        const int main[] = {ID_CAMERA_NEW,  ID_CAMERA_OPEN, ID_CAMERA_SAVE, ID_CAMERA_CLOSE, 0,
                            ID_ZOOM_100,    ID_ZOOM_FIT,    ID_ZOOM_IN,     ID_ZOOM_OUT,     0,
                            ID_PAUSE_INPUT, ID_SAVE_FRAME};
        AddBand(MakeToolbar(rebar_, IDC_MAIN_TOOLBAR, IDB_MAIN_TOOLBAR, MAIN_TOOLBAR_IMAGES, main, 12));
        const int zel[] = {ID_ACQUIRE_ONE, ID_SAVE_SERIES};
        AddBand(MakeToolbar(rebar_, IDC_ZEL_TOOLBAR, IDB_ZEL_TOOLBAR, ZEL_TOOLBAR_IMAGES, zel, 2));
        status_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, Handle(), nullptr,
                                  ModuleInstance(), nullptr);
        client_ = std::make_unique<ClientArea>();
        if (!client_->CreateChild(Handle())) return false;
        SetWindowTextW(Handle(), (LoadText(IDS_APP_TITLE) + L"/ Симулятор ZEL /").c_str());
        if (exitAfter) SetTimer(Handle(), 1, exitAfter, nullptr);
        return true;
    }

    void Layout() {
        if (!client_ || !client_->Handle()) return;
        SendMessageW(rebar_, WM_SIZE, 0, 0);
        SendMessageW(status_, WM_SIZE, 0, 0);
        RECT client, bar, status;
        GetClientRect(Handle(), &client);
        GetWindowRect(rebar_, &bar);
        GetWindowRect(status_, &status);
        const int parts[4] = {client.right - 390, client.right - 260, client.right - 130, -1};
        SendMessageW(status_, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(parts));
        const int top = bar.bottom - bar.top + 3;
        const int height = client.bottom - top - (status.bottom - status.top);
        MoveWindow(client_->Handle(), 0, top, client.right, height, TRUE);
        client_->SetPosition(220 + GetSystemMetrics(SM_CXVSCROLL) + 4);
        client_->UpdateLayout();
        FrameSide& side = client_->SecondPane();
        side.SetPosition(height * 3 / 4 - 30);
        side.UpdateLayout();
        ShowZoom();
    }

    void ShowZoom() {
        SendMessageW(status_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(client_->SecondPane().FirstPane().Caption()));
    }

    void OnCommand(UINT id) {
        ZoomWindow<FrameStandIn>& zoom = client_->SecondPane().FirstPane();
        switch (id) {
            case ID_ZOOM_100:
                zoom.SetZoom(100);
                break;
            case ID_ZOOM_FIT:
                zoom.SetZoom(kZoomFitWhole);
                break;
            case ID_ZOOM_IN:
                zoom.SetZoom(ZoomStepUp(zoom.Zoom()));
                break;
            case ID_ZOOM_OUT:
                zoom.SetZoom(ZoomStepDown(zoom.Zoom()));
                break;
            case ID_APP_EXIT:
                DestroyWindow(Handle());
                return;
            default:
                return;
        }
        ShowZoom();
    }

    HWND rebar_ = nullptr;
    HWND status_ = nullptr;
    std::unique_ptr<ClientArea> client_;
    std::wstring tooltip_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    PreviewFrame frame;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; i + 1 < argc; ++i)
        if (std::wcscmp(argv[i], L"--exit-after") == 0)
            frame.exitAfter = static_cast<UINT>(std::wcstoul(argv[i + 1], nullptr, 10));
    LocalFree(argv);

    HMENU menu = LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (!frame.Create(nullptr, RECT{0, 0, 1100, 760}, L"OvWinShell", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, menu))
        return -1;
    Glob::CMyMessageLoop& loop = Glob::CMyMessageLoop::Instance();
    Glob::CIsTranslateAcceleratorFilter accelerators(frame.Handle(), static_cast<UINT>(IDR_MAINFRAME));
    loop.AddMessageFilter(&accelerators);
    ShowWindow(frame.Handle(), SW_SHOW);
    UpdateWindow(frame.Handle());
    const int code = loop.Run();
    loop.RemoveMessageFilter(&accelerators);
    return code;
}
