#include "MainWindow.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>

#include "AppGui/AppMessages.h"
#include "Common/AnsiText.h"
#include "AppGui/AppState.h"
#include "AppGui/CameraOpenFailure.h"
#include "AppGui/FailureReport.h"
#include "AppGui/Framework/WaitCursor.h"
#include "AppGui/Dialogs/CDialogAbout.h"
#include "AppGui/Dialogs/CDlgPreferences.h"
#include "AppGui/Dialogs/DlgCreate.h"
#include "AppGui/Framework/ResourceText.h"
#include "AppGui/Framework/Zoom.h"
#include "AppGui/Settings/OptionSections.h"
#include "AppGui/Settings/Preferences.h"
#include "AppGui/Settings/Profile.h"
#include "Lib3Wrapper/Exports.h"
#include "Lib3Wrapper/lib3datatypes.h"
#include "Lib3Wrapper/OvTypeLib/IOvEnum.h"
#include "Lib3Wrapper/OvTypeLib/IOvSystem.h"
#include "Lib3Wrapper/OvTypeLib/OptionIds.h"
#include "Lib3Wrapper/OvTypeLib/OptionLookup.h"
#include "Render/PrivateRenderer.h"
#include "AppGui/Resources/resource.h"

namespace AppGui {

using namespace DllModule::Lib3Wrapper;
using namespace DllModule::Lib3Wrapper::OvTypeLib;

namespace {

using namespace DllModule::Lib3Wrapper::OvTypeLib::OptionIds;
constexpr uint32_t kWorkModeOption = 0x400017;
constexpr uint32_t kTypeInfoInterface = 0x900001;
constexpr UINT_PTR kSeriesTimer = 111;
constexpr UINT_PTR kExposureTimer = 116;
constexpr int kStatusPartWidth = 130;
// The zoom part is wider: its longest caption is (Масштаб "По ширине").
constexpr int kZoomPartWidth = 180;
const wchar_t* const kClassName = L"OvWinShell";

std::wstring Format(const wchar_t* format, ...) {
    wchar_t text[512];
    va_list args;
    va_start(args, format);
    _vsnwprintf(text, 511, format, args);
    va_end(args);
    text[511] = L'\0';
    return text;
}

// The open or save dialog for profiles, starting in the profile folder preference.
bool AskProfilePath(HWND owner, bool save, std::wstring* path) {
    wchar_t file[256] = {};
    const std::wstring folder = Settings::Preferences().ProfileDir();
    std::wstring filter = LoadText(IDS_PROFILE_FILTER);
    for (const std::wstring& part : {std::wstring(L"*.ovp"), LoadText(IDS_ALL_FILES_FILTER), std::wstring(L"*.*")}) {
        filter.push_back(L'\0');
        filter += part;
    }
    filter.push_back(L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = 256;
    dialog.lpstrInitialDir = folder.c_str();
    dialog.Flags = OFN_PATHMUSTEXIST;
    if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return false;
    *path = file;
    return true;
}

// The idle pass runs often: a button or menu item is changed only when its
// state differs from the wanted one, so nothing is repainted for nothing.
void SetButtonState(HWND toolbar, UINT id, BYTE wanted) {
    if (!toolbar) return;
    constexpr BYTE kKept = TBSTATE_PRESSED | TBSTATE_WRAP | TBSTATE_HIDDEN;  // the user's and the layout's
    const LRESULT current = SendMessageW(toolbar, TB_GETSTATE, id, 0);
    if (current == -1 || (BYTE(current) & ~kKept) == wanted) return;
    SendMessageW(toolbar, TB_SETSTATE, id, MAKELONG((BYTE(current) & kKept) | wanted, 0));
}

void SetMenuItemState(HMENU menu, UINT id, bool enabled, bool checked) {
    const UINT current = menu ? GetMenuState(menu, id, MF_BYCOMMAND) : UINT(-1);
    if (current == UINT(-1)) return;  // not in the menu
    if (((current & MF_GRAYED) == 0) != enabled)
        EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    if (((current & MF_CHECKED) != 0) != checked)
        CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

const TBBUTTON kMainButtons[] = {
    {0, ID_CAMERA_NEW, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {1, ID_CAMERA_OPEN, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {2, ID_CAMERA_SAVE, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {3, ID_CAMERA_CLOSE, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {0, 0, 0, BTNS_SEP, {}, 0, 0},
    {4, ID_ZOOM_100, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {5, ID_ZOOM_FIT, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {6, ID_ZOOM_IN, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {7, ID_ZOOM_OUT, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {0, 0, 0, BTNS_SEP, {}, 0, 0},
    {8, ID_PAUSE_INPUT, TBSTATE_ENABLED, BTNS_CHECK, {}, 0, 0},
    {9, ID_SAVE_FRAME, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
};

const TBBUTTON kZelButtons[] = {
    {0, ID_ACQUIRE_ONE, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {1, ID_SAVE_SERIES, TBSTATE_ENABLED, BTNS_CHECK, {}, 0, 0},
};

constexpr DWORD kToolbarStyle =
    WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;

}  // namespace

MainWindow::MainWindow(std::wstring profilePath) : profilePath_(std::move(profilePath)) {}

MainWindow::~MainWindow() = default;

WindowClassInfo MainWindow::ClassInfo() const {
    WindowClassInfo info;
    info.name = kClassName;
    info.background = SystemColourBrush(COLOR_WINDOW);
    info.icon = LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    info.smallIcon = info.icon;
    return info;
}

HWND MainWindow::CreateMain() {
    HMENU menu = LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    RECT rect{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    HWND window =
        Create(nullptr, rect, LoadText(IDS_APP_TITLE).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, menu);
    if (!window && menu) DestroyMenu(menu);
    return window;
}

bool MainWindow::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_CREATE:
            result = OnCreate();
            return true;
        case WM_DESTROY:
            OnDestroy();
            break;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) OnSize();
            result = 0;
            return true;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            result = 0;
            return true;
        case WM_TIMER:
            OnTimer(wParam);
            result = 0;
            return true;
        case WM_NOTIFY:
            result = OnNotify(reinterpret_cast<NMHDR*>(lParam));
            return true;
        case UWM_OPTION_CHANGED:
            if (ViewOutputPane* output = OutputPane()) SendMessageW(output->Handle(), message, wParam, lParam);
            if (uint32_t(lParam) == kExposure) ExposureChanged();
            result = 0;
            return true;
        case UWM_SHOW_OUTPUT:
            if (FrameAndOutput* inner = FrameAndOutputSplit()) {
                inner->SetPosition(ClientHeightBelowRebar() * 3 / 4 - 30);
                inner->UpdateLayout();
            }
            result = 0;
            return true;
        case UWM_STATUS_TICK:
            StatusTick();
            result = 0;
            return true;
        case UWM_REAPPLY_OPTIONS:
            if (CamOptionsChildPane* options = OptionsPane()) SendMessageW(options->Handle(), message, wParam, lParam);
            result = 0;
            return true;
        case UWM_WRITE_OPTIONS:
            if (CamOptionsChildPane* options = OptionsPane())
                SendMessageW(options->Handle(), UWM_SAVE_OPTIONS, wParam, lParam);
            result = 0;
            return true;
        case UWM_CAPTURE_STATE:
            SetStatusText(0, lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
            if (client_) EnableWindow(OptionsHost().Handle(), wParam == 0);
            result = 0;
            return true;
        case UWM_FRAME_VIEW:
            if (FrameZoomWindow* zoom = FrameZoom()) SendMessageW(zoom->Child().Handle(), message, wParam, lParam);
            result = 0;
            return true;
        case UWM_FRAME_NOT_SAVED:
            ReportFrameNotSaved(wParam != 0, DWORD(lParam));
            result = 0;
            return true;
        case UWM_EXPOSURE_STARTED:
            if (countdownMs_ <= 0) countdownMs_ = exposureMs_;
            result = 0;
            return true;
        default:
            break;
    }
    return Window::ProcessMessage(message, wParam, lParam, result);
}

LRESULT MainWindow::OnCreate() {
    HWND window = Handle();
    rebar_ = CreateWindowExW(0, REBARCLASSNAMEW, nullptr,
                             WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_AUTOSIZE |
                                 RBS_VARHEIGHT | CCS_NODIVIDER,
                             0, 0, 0, 0, window, nullptr, ModuleInstance(), nullptr);
    mainToolbar_ =
        CreateToolbarEx(rebar_, kToolbarStyle, IDC_MAIN_TOOLBAR, MAIN_TOOLBAR_IMAGES, ModuleInstance(),
                        IDB_MAIN_TOOLBAR, kMainButtons, int(std::size(kMainButtons)), 16, 16, 16, 16, sizeof(TBBUTTON));
    if (mainToolbar_) {
        SetParent(mainToolbar_, rebar_);
        AddBand(mainToolbar_);
    }
    statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                 window, nullptr, ModuleInstance(), nullptr);
    showStatistics_ = Settings::Preferences().ShowStatistic();
    Render::PrivateRenderer& renderer = AppState::Get().Renderer();
    if (!renderer.InitDisplay(window)) return -1;
    renderer.Start();
    menu_ = GetMenu(window);
    AppState::Get().mainWindow = window;
    SetWindowTextW(window, LoadText(IDS_APP_TITLE).c_str());
    if (!profilePath_.empty())
        PostMessageW(window, WM_COMMAND, ID_CAMERA_OPEN, 0);
    else
        UpdateUi();
    return 0;
}

void MainWindow::OnDestroy() {
    CloseCamera();
    AppState::Get().Renderer().SendCommand(Render::CommandQuit);
    AppState::Get().mainWindow = nullptr;
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    Settings::Preferences preferences;
    const bool rectWritten = preferences.WriteMainWindowRect(rect);
    if (!preferences.WriteShowStatistic(showStatistics_) || !rectWritten)
        MessageBoxW(nullptr, FillIn(LoadText(IDS_SETTINGS_NOT_SAVED), {preferences.Path()}).c_str(),
                    LoadText(IDS_APP_TITLE).c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
    PostQuitMessage(0);
}

void MainWindow::AddBand(HWND toolbar) {
    SIZE maximum{};
    SendMessageW(toolbar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&maximum));
    REBARBANDINFOW band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE;
    band.fStyle = RBBS_GRIPPERALWAYS | RBBS_CHILDEDGE;
    band.hwndChild = toolbar;
    band.cxMinChild = maximum.cx;
    band.cyMinChild = maximum.cy;
    band.cx = maximum.cx + 20;
    SendMessageW(rebar_, RB_INSERTBANDW, WPARAM(-1), reinterpret_cast<LPARAM>(&band));
}

int MainWindow::RebarHeight() const {
    RECT rect{};
    if (rebar_) GetWindowRect(rebar_, &rect);
    return rect.bottom - rect.top;
}

int MainWindow::ClientHeightBelowRebar() const {
    RECT client{}, status{};
    GetClientRect(Handle(), &client);
    if (statusBar_) GetWindowRect(statusBar_, &status);
    const int height = client.bottom - RebarHeight() - 3 - (status.bottom - status.top);
    return height > 1 ? height : 1;
}

void MainWindow::OnSize() {
    if (rebar_) SendMessageW(rebar_, WM_SIZE, 0, 0);
    if (statusBar_) SendMessageW(statusBar_, WM_SIZE, 0, 0);
    RECT client{};
    GetClientRect(Handle(), &client);
    int parts[4] = {client.right - 2 * kStatusPartWidth - kZoomPartWidth, client.right - 2 * kStatusPartWidth,
                    client.right - kStatusPartWidth, -1};
    if (statusBar_) SendMessageW(statusBar_, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(parts));
    if (client_) {
        const int top = client.top + RebarHeight() + 3;
        SetWindowPos(client_->Handle(), nullptr, 0, top, client.right, ClientHeightBelowRebar(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void MainWindow::SetStatusText(int part, const std::wstring& text) {
    if (statusBar_) SendMessageW(statusBar_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring MainWindow::StatusText(int part) const {
    if (!statusBar_) return {};
    const LRESULT length = LOWORD(SendMessageW(statusBar_, SB_GETTEXTLENGTHW, part, 0));
    std::wstring text(size_t(length) + 1, L'\0');
    SendMessageW(statusBar_, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

void MainWindow::StartRenderer(uint32_t command) { AppState::Get().Renderer().SendCommand(command); }

void MainWindow::OnCommand(UINT id) {
    Render::PrivateRenderer& renderer = AppState::Get().Renderer();
    switch (id) {
        case ID_APP_EXIT:
            DestroyWindow(Handle());
            break;
        case ID_APP_ABOUT: {
            IOvSystem* system = AppState::Get().system;
            CDialogAbout(systemOpen_ && system ? AnsiToWide(system->GetInfo()) : std::wstring()).DoModal(Handle());
            break;
        }
        case ID_SETTINGS_COMMON:
            CDlgPreferences().DoModal(Handle());
            break;
        case ID_CAMERA_NEW:
            NewCamera();
            break;
        case ID_CAMERA_OPEN:
            OpenProfile();
            break;
        case ID_CAMERA_SAVE:
            SaveProfile();
            break;
        case ID_CAMERA_CLOSE:
            CloseCamera();
            break;
        case ID_ZOOM_100:
            SetZoom(100);
            break;
        case ID_ZOOM_FIT:
            SetZoom(-75);
            break;
        case ID_ZOOM_IN:
            if (FrameZoomWindow* zoom = FrameZoom()) SetZoom(ZoomStepUp(zoom->Zoom()));
            break;
        case ID_ZOOM_OUT:
            if (FrameZoomWindow* zoom = FrameZoom()) SetZoom(ZoomStepDown(zoom->Zoom()));
            break;
        case ID_SHOW_STATISTICS:
            ToggleStatistics();
            break;
        case ID_PAUSE_INPUT:
            TogglePause();
            break;
        case ID_SAVE_FRAME:
            renderer.SaveCurrentFrame();
            break;
        case ID_SAVE_SERIES:
            ToggleSeries();
            break;
        case ID_ACQUIRE_ONE:
            renderer.AcquireOne();
            if (paused_) {
                StartRenderer(Render::CommandRun);
                paused_ = false;
            }
            UpdateUi();
            break;
        default:
            break;
    }
}

void MainWindow::OnTimer(UINT_PTR id) {
    if (id == kSeriesTimer) {
        AppState::Get().Renderer().AcquireOne();
    } else if (id == kExposureTimer) {
        if (countdownMs_ > 0) {
            countdownMs_ -= 100;
            if (countdownMs_ <= 0)
                SetStatusText(0, L"");
            else
                SetStatusText(0,
                              LoadText(IDS_EXPOSURE_LEFT) + std::to_wstring(countdownMs_) + LoadText(IDS_MILLISECONDS));
        }
    }
}

LRESULT MainWindow::OnNotify(NMHDR* header) {
    if (header->code != TTN_GETDISPINFOW) return 0;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    const UINT id = UINT(header->idFrom);
    tooltip_ = LoadText(id);
    if (id == ID_PAUSE_INPUT && paused_) tooltip_ = LoadText(IDS_RESUME_INPUT);
    if (id >= ID_ZOOM_100 && id <= ID_ZOOM_OUT && FrameZoom()) tooltip_ += FrameZoom()->Caption();
    info->lpszText = tooltip_.data();
    return 0;
}

void MainWindow::SetZoom(int zoom) {
    FrameZoomWindow* window = FrameZoom();
    if (!window) return;
    window->SetZoom(zoom);
    SetStatusText(1, window->Caption());
}

void MainWindow::TogglePause() {
    if (!systemOpen_) return;
    if (paused_) {
        StartRenderer(Render::CommandRun);
        paused_ = false;
    } else {
        StartRenderer(Render::CommandPause);
        paused_ = true;
    }
    UpdateUi();
}

void MainWindow::ToggleSeries() {
    if (!syncMode_) return;
    int32_t mode = 0;
    if (syncMode_->GetValue(&mode) && mode == kSyncSoftwareStart) {
        if (series_)
            KillTimer(Handle(), kSeriesTimer);
        else
            SetTimer(Handle(), kSeriesTimer, 250, nullptr);
    }
    series_ = !series_;
    AppState::Get().Renderer().SetSeries(series_);
    UpdateUi();
}

void MainWindow::ToggleStatistics() {
    showStatistics_ = !showStatistics_;
    if (FrameAndOutput* inner = FrameAndOutputSplit()) {
        SendMessageW(OutputPane()->Handle(), UWM_TOGGLE_STATISTICS, showStatistics_, 0);
        const int height = ClientHeightBelowRebar();
        inner->SetPosition(showStatistics_ ? height * 3 / 4 - 30 : height);
        inner->UpdateLayout();
    }
    UpdateUi();
}

void MainWindow::ExposureChanged() {
    int32_t value = 0;
    if (!exposure_ || !exposure_->GetValue(3, &value)) return;
    exposureMs_ = value;
    if (exposureMs_ < 1000)
        KillTimer(Handle(), kExposureTimer);
    else
        SetTimer(Handle(), kExposureTimer, 100, nullptr);
    AppState::Get().Renderer().SetLongExposure(exposureMs_ >= 1000);
}

void MainWindow::StatusTick() {
    const DWORD now = GetTickCount();
    if (statusTicked_ && now - lastStatusTick_ < 1000) return;
    double rate = 0;
    std::wstring fps;
    if (AppState::Get().Renderer().GetFrameRate(&rate)) fps = Format(LoadText(IDS_STATUS_FPS).c_str(), rate);
    SetStatusText(3, fps);
    std::wstring typeInfo;
    IOvSystem* system = AppState::Get().system;
    OVHANDLE iface = 0;
    if (systemOpen_ && system && system->GetCInterface(kTypeInfoInterface, 0, &iface)) {
        int32_t value = 0, second = 0;
        Lib3ErrorData err;
        if (OvLib3GetInfoScalarVal(iface, &value, &second, err) <= 0)
            typeInfo = LoadText(IDS_STATUS_TYPE_INFO) + std::to_wstring(value);
    }
    SetStatusText(2, typeInfo);
    lastStatusTick_ = now;
    statusTicked_ = true;
}

void MainWindow::ReportFrameNotSaved(bool series, DWORD error) {
    const std::wstring text =
        FillIn(LoadText(IDS_FRAME_NOT_SAVED), {AppState::Get().captureFolder, SystemErrorText(error)});
    SetStatusText(0, text);
    LogError(text);
    if (series)
        MessageBoxW(Handle(), (text + L"\n" + LoadText(IDS_SERIES_NOT_SAVED)).c_str(), LoadText(ID_SAVE_SERIES).c_str(),
                    MB_OK | MB_ICONERROR);
}

void MainWindow::UpdateUi() {
    const BYTE openState = systemOpen_ ? TBSTATE_ENABLED : TBSTATE_INDETERMINATE;
    for (UINT id = ID_CAMERA_SAVE; id <= ID_SHOW_STATISTICS; ++id) SetButtonState(mainToolbar_, id, openState);
    if (systemOpen_) {
        SetButtonState(zelToolbar_, ID_SAVE_SERIES, series_ ? TBSTATE_ENABLED | TBSTATE_CHECKED : TBSTATE_ENABLED);
        SetButtonState(mainToolbar_, ID_PAUSE_INPUT, paused_ ? TBSTATE_ENABLED | TBSTATE_CHECKED : TBSTATE_ENABLED);
    } else {
        SetButtonState(mainToolbar_, ID_PAUSE_INPUT, TBSTATE_INDETERMINATE);
    }
    SetButtonState(mainToolbar_, ID_SAVE_FRAME, systemOpen_ ? TBSTATE_ENABLED : 0);
    for (UINT id = ID_CAMERA_SAVE; id <= ID_SHOW_STATISTICS; ++id)
        SetMenuItemState(menu_, id, systemOpen_, id == ID_SHOW_STATISTICS && systemOpen_ && showStatistics_);
    SetMenuItemState(menu_, ID_PAUSE_INPUT, systemOpen_, false);
    SetMenuItemState(menu_, ID_SAVE_FRAME, systemOpen_, false);
}

bool MainWindow::OnIdle() {
    UpdateUi();
    return false;
}

void MainWindow::CreateZelToolbar() {
    zelToolbar_ =
        CreateToolbarEx(rebar_, kToolbarStyle, IDC_ZEL_TOOLBAR, ZEL_TOOLBAR_IMAGES, ModuleInstance(), IDB_ZEL_TOOLBAR,
                        kZelButtons, int(std::size(kZelButtons)), 16, 16, 16, 16, sizeof(TBBUTTON));
    if (zelToolbar_) AddBand(zelToolbar_);
}

void MainWindow::BuildSystemUi() {
    WaitCursor wait;
    AppState& state = AppState::Get();
    if (state.systemTypeId != VextSystemType) CreateZelToolbar();
    client_ = std::make_unique<ClientSplitter>();
    RECT client{};
    GetClientRect(Handle(), &client);
    const RECT area{0, RebarHeight() + 3, client.right, RebarHeight() + 3 + ClientHeightBelowRebar()};
    client_->Create(Handle(), area, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    SetZoom(100);
    if (showStatistics_) {
        showStatistics_ = false;
        PostMessageW(Handle(), WM_COMMAND, ID_SHOW_STATISTICS, 0);
    }
    syncMode_ = nullptr;
    exposure_ = nullptr;
    ForEachOption(state.system, [&](IOvOption* option) {
        const uint32_t id = option->GetId();
        if ((id == kSyncMode || id == kWorkModeOption) && option->GetIndex() == 0 && option->AsEnum())
            syncMode_ = option->AsEnum();
        if (id == kExposure && option->AsScalar()) exposure_ = option->AsScalar();
    });
    SetWindowTextW(Handle(), (LoadText(IDS_APP_TITLE) + L"/ " + state.systemName + L" /").c_str());
    systemOpen_ = true;
    UpdateUi();
}

void MainWindow::SetPaneWidths() {
    if (!client_) return;
    int width = OptionsPane()->ContentWidth() + GetSystemMetrics(SM_CXVSCROLL) + 4;
    client_->SetPosition(width > 1 ? width : 1);
    client_->UpdateLayout();
    FrameAndOutput* inner = FrameAndOutputSplit();
    // Collapsed, unless a VEXT camera's recording panel is to be seen whole.
    const int panel = inner->SecondPane().RecordingPanelHeight();
    inner->SetPosition(std::max(ClientHeightBelowRebar() - panel, 1));
    inner->UpdateLayout();
}

void MainWindow::NewCamera() {
    if (systemOpen_) CloseCamera();
    AppState& state = AppState::Get();
    if (DlgCreate().DoModal(Handle()) != IDOK || !state.system) {
        // A system the dialog created but did not open is let go at once.
        if (state.system) Lib3ReleaseSystem(state.systemTypeId);
        state.system = nullptr;
        state.snapshots.Clear();
        SetWindowTextW(Handle(), LoadText(IDS_APP_TITLE).c_str());
        return;
    }
    BuildSystemUi();
    if (CamOptionsChildPane* options = OptionsPane()) {
        SendMessageW(options->Handle(), UWM_BUILD_OPTIONS, 0, 0);
        SendMessageW(options->Handle(), UWM_FIT_OPTIONS, 0, 0);
    }
    SetPaneWidths();
    Settings::Preferences().ReadCaptureFolder(state.captureFolder);
    if (state.systemTypeId == VextSystemType) return;
    if (state.system->GetDataTransfer(0, &state.transfer)) StartRenderer(Render::CommandRun);
}

void MainWindow::OpenProfile() {
    if (systemOpen_) {
        CloseCamera();
        SetWindowTextW(Handle(), LoadText(IDS_APP_TITLE).c_str());
    }
    std::wstring path;
    if (!profilePath_.empty()) {
        path.swap(profilePath_);
    } else {
        if (!AskProfilePath(Handle(), false, &path)) return;
        UpdateWindow(Handle());
    }
    LoadProfile(path);
}

void MainWindow::LoadProfile(const std::wstring& path) {
    const std::wstring caption = LoadText(IDS_FILE_READ_CAPTION) + path;
    HANDLE probe = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        MessageBoxW(nullptr, SystemErrorText(GetLastError()).c_str(), LoadText(IDS_FILE_READ_ERROR).c_str(),
                    MB_ICONERROR | MB_TOPMOST);
    } else {
        CloseHandle(probe);
    }
    const Settings::Profile profile(path);
    const int type = profile.TypeId();
    if (type == -1) {
        MessageBoxW(Handle(), Format(LoadText(IDS_NO_SYSTEM_TYPE).c_str(), L"SYSTEM", L"TYPE_ID").c_str(),
                    caption.c_str(), MB_TASKMODAL | MB_ICONERROR);
        return;
    }
    AppState& state = AppState::Get();
    state.systemTypeId = uint32_t(type);
    if (!Lib3CreateSystem(state.systemTypeId, &state.system, state.logger)) {
        state.system = nullptr;
        MessageBoxW(nullptr, LoadText(IDS_TYPE_NOT_SUPPORTED).c_str(), caption.c_str(), MB_TASKMODAL | MB_ICONERROR);
        return;
    }
    Settings::LoadOptionsFromProfile(state.system, path);
    WaitCursor wait;
    const std::string reportBefore = LastCameraReport();
    if (!state.system->Init()) {
        ShowCameraNotOpened(Handle(), caption, reportBefore);
        return;
    }
    state.systemName = profile.Name();
    BuildSystemUi();
    // A VEXT camera's recording panel takes the data transfer itself. The
    // options are read before it does: live frames preset the camera's
    // synchronisation, which the options pane would otherwise keep as the
    // user's choice.
    const bool vext = state.systemTypeId == VextSystemType;
    if (vext || state.system->GetDataTransfer(0, &state.transfer)) {
        if (CamOptionsChildPane* options = OptionsPane()) {
            SendMessageW(options->Handle(), UWM_LOAD_OPTIONS, 0, reinterpret_cast<LPARAM>(path.c_str()));
            SendMessageW(options->Handle(), UWM_FIT_OPTIONS, 0, 0);
        }
        if (!vext) {
            series_ = !profile.Series();
            ToggleSeries();
            StartRenderer(Render::CommandRun);
        }
    }
    Settings::Preferences().ReadCaptureFolder(state.captureFolder);
    profile.ReadCaptureFolder(state.captureFolder);
    SetPaneWidths();
    SendMessageW(Handle(), UWM_OPTION_CHANGED, 0, kSyncMode);
}

void MainWindow::SaveProfile() {
    if (!systemOpen_ || !AppState::Get().system) return;
    std::wstring chosen;
    if (AskProfilePath(Handle(), true, &chosen)) SaveProfileAs(chosen);
}

void MainWindow::SaveProfileAs(const std::wstring& chosen) {
    AppState& state = AppState::Get();
    if (!systemOpen_ || !state.system) return;
    const Settings::Profile profile(Settings::Profile::WithProfileExtension(chosen));
    WaitCursor wait;
    profile.WriteSystem(state.systemTypeId, state.systemName, state.system->GetInfo());
    profile.WriteSnapshots(state.snapshots);
    if (CamOptionsChildPane* options = OptionsPane()) {
        SendMessageW(options->Handle(), UWM_SAVE_OPTIONS, 0, reinterpret_cast<LPARAM>(profile.Path().c_str()));
        profile.WriteSeries(series_);
    }
    profile.WriteCaptureFolder(state.captureFolder);
    HWND view = FrameZoom() ? FrameZoom()->Handle() : nullptr;
    profile.WriteScrollPoint(view ? GetScrollPos(view, SB_HORZ) : 0, view ? GetScrollPos(view, SB_VERT) : 0);
}

void MainWindow::CloseCamera() {
    AppState& state = AppState::Get();
    if (series_) {
        series_ = false;
        KillTimer(Handle(), kSeriesTimer);
        state.Renderer().SetSeries(false);
    }
    StartRenderer(Render::CommandStop);
    if (state.system) {
        state.system->StopInput(true);
        state.transfer = nullptr;
        Lib3ReleaseSystem(state.systemTypeId);
    }
    state.snapshots.Clear();
    state.systemName.clear();
    state.system = nullptr;
    state.transfer = nullptr;
    syncMode_ = nullptr;
    exposure_ = nullptr;
    if (client_) {
        client_->Destroy();
        client_.reset();
    }
    for (int part = 1; part <= 3; ++part) SetStatusText(part, L"");
    if (rebar_) {
        for (LRESULT bands = SendMessageW(rebar_, RB_GETBANDCOUNT, 0, 0); bands > 1; --bands)
            SendMessageW(rebar_, RB_DELETEBAND, bands - 1, 0);
    }
    if (zelToolbar_) {
        DestroyWindow(zelToolbar_);
        zelToolbar_ = nullptr;
    }
    systemOpen_ = false;
    paused_ = false;
    // Without a camera the window carries the bare program name again.
    if (Handle()) SetWindowTextW(Handle(), LoadText(IDS_APP_TITLE).c_str());
    UpdateUi();
}

}  // namespace AppGui
