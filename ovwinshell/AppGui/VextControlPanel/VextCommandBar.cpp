#include "VextCommandBar.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "AppGui/Framework/MyMessageLoop.h"
#include "AppGui/Framework/WindowClass.h"
#include "AppGui/Resources/resource.h"
#include "AppGui/VextControlPanel/PanelLogic.h"
#include "DShow/IOvSourceControl.h"
#include "Lib3Wrapper/OvTypeLib/IOvSystem.h"
#include "Lib3Wrapper/OvTypeLib/OptionIds.h"
#include "Lib3Wrapper/OvTypeLib/OptionLookup.h"
#include "Render/PrivateRenderer.h"

namespace AppGui {

using namespace DllModule::Lib3Wrapper::OvTypeLib;
using namespace DllModule::Lib3Wrapper::OvTypeLib::OptionIds;

namespace {

constexpr uint32_t kTotalFrames = 0x900003;
constexpr UINT kToolbarId = IDB_VEXT_TOOLBAR;

const TBBUTTON kButtons[] = {
    {0, ID_VEXT_SETUP, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {1, ID_VEXT_RECORD, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {2, ID_VEXT_STOP, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {3, ID_VEXT_STEP_BACK, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {4, ID_VEXT_PLAY_BACK, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {5, ID_VEXT_PLAY, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {6, ID_VEXT_STEP, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {0, 0, 0, BTNS_SEP, {}, 0, 0},
    {7, ID_VEXT_SAVE, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
};

// The playback buttons and controls that exist only with a film.
constexpr UINT kFilmButtons[] = {ID_VEXT_STEP_BACK, ID_VEXT_PLAY_BACK, ID_VEXT_PLAY, ID_VEXT_STEP, ID_VEXT_SAVE};
constexpr int kFilmItems[] = {IDC_VEXT_FRAME_SLIDER, IDC_VEXT_FRAME_NUMBER, IDC_VEXT_SPEED,   IDC_VEXT_FIRST,
                              IDC_VEXT_SET_FIRST,    IDC_VEXT_LAST,         IDC_VEXT_SET_LAST};

Render::PrivateRenderer& Renderer() { return AppState::Get().Renderer(); }

}  // namespace

VextCommandBar::VextCommandBar() : ModelessDialog(IDD_VEXT_PANEL) {}

VextCommandBar::~VextCommandBar() {
    if (Handle()) Destroy();
}

HWND VextCommandBar::Create(HWND parent) { return ModelessDialog::Create(parent, &Glob::CMyMessageLoop::Instance()); }

bool VextCommandBar::OnInitDialog(HWND) {
    CreateToolbar();
    LookUpOptions();
    ShowItem(IDC_VEXT_STATUS, true);
    SetButtons({ID_VEXT_STOP}, false);
    // The frame slider too: it means nothing before a film exists.
    EnableFilmControls(false);

    formatList_ = Item(IDC_VEXT_FORMAT);
    codecList_ = Item(IDC_VEXT_CODEC);
    gainList_ = Item(IDC_VEXT_GAIN);
    SendMessageW(formatList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"AVI"));
    SendMessageW(formatList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"TIF"));
    SendMessageW(formatList_, CB_SETCURSEL, FormatAvi, 0);

    HWND speed = Item(IDC_VEXT_SPEED);
    SendMessageW(speed, TBM_SETRANGE, FALSE, MAKELPARAM(1, 5));
    SendMessageW(speed, TBM_SETTIC, 0, 3);
    SendMessageW(speed, TBM_SETPOS, TRUE, 3);
    Renderer().SetPlaybackSpeed(1.0);

    FillCodecList();
    if (IBaseFilter* source = graph_.Held(CLSID_OvSourceFilter)) {
        ComPtr<IOvSourceControl> control;
        if (SUCCEEDED(source->QueryInterface(IID_IOvSourceControl, control.PutVoid()))) {
            control->SetDeliveryState(0);
            control->SetNotifyWindow(Handle());
        }
    }
    InitImageControls();
    ResetPlaybackControls();

    RECT client{};
    GetClientRect(Handle(), &client);
    OnSize(client.right);
    PostMessageW(Handle(), WM_COMMAND, ID_VEXT_SETUP, 0);
    return true;
}

void VextCommandBar::CreateToolbar() {
    HWND place = Item(IDC_VEXT_TOOLBAR_PLACE);
    toolbar_ = CreateToolbarEx(
        Handle(),
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
        kToolbarId, VEXT_TOOLBAR_IMAGES, ModuleInstance(), IDB_VEXT_TOOLBAR, kButtons, int(std::size(kButtons)), 16, 16,
        16, 16, sizeof(TBBUTTON));
    if (toolbar_ && place) {
        RECT rect{};
        GetWindowRect(place, &rect);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
        MoveWindow(toolbar_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    }
    if (place) ShowWindow(place, SW_HIDE);
}

void VextCommandBar::LookUpOptions() {
    IOvSystem* system = AppState::Get().system;
    auto scalar = [&](uint32_t id) -> IOvScalarOption* {
        IOvOption* option = FindSystemOption(system, id);
        if (!option) return nullptr;
        const uint32_t kind = option->GetKind();
        return kind == OptionKindScalar || kind == OptionKindInfo ? option->AsScalar() : nullptr;
    };
    auto enumerated = [&](uint32_t id) -> IOvEnumOption* {
        IOvOption* option = FindSystemOption(system, id);
        return option && option->GetKind() == OptionKindEnum ? option->AsEnum() : nullptr;
    };
    frameIndex_ = scalar(kFrameIndex);
    frameRate_ = scalar(kFrameRate);
    framePosition_ = scalar(kFramePosition);
    multiplier_ = scalar(kFrameMultiplier);
    pretrigger_ = scalar(kPretrigger);
    exposure_ = scalar(kExposure);
    syncMode_ = enumerated(kSyncMode);
    recordMode_ = enumerated(kRecordMode);
    totalFrames_ = scalar(kTotalFrames);
    IOvOption* region = FindSystemOption(system, kRegion);
    region_ = region && region->GetKind() == OptionKindRect ? region->AsRect() : nullptr;
}

bool VextCommandBar::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_HSCROLL:
            OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            result = 0;
            return true;
        case WM_SIZE:
            OnSize(LOWORD(lParam));
            result = 0;
            return true;
        case WM_PAINT:
            OnPaint();
            result = 0;
            return true;
        case WM_DESTROY:
            if (toolbar_) DestroyWindow(toolbar_);
            toolbar_ = nullptr;
            result = 0;
            return true;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->code == TTN_GETDISPINFOW) {
                // A toolbar button's tooltip is the string with its command id.
                auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                info->hinst = ModuleInstance();
                info->lpszText = MAKEINTRESOURCEW(header->idFrom);
            }
            result = 0;
            return true;
        }
        case UWM_OPTION_CHANGED:
            OptionChanged(uint32_t(lParam));
            result = 0;
            return true;
        case UWM_FRAME_INDEX:
            FrameIndex(int32_t(lParam));
            result = 0;
            return true;
        case UWM_SEQUENCE_END:
            SequenceEnd(wParam);
            result = 0;
            return true;
        default:
            return ModelessDialog::ProcessMessage(message, wParam, lParam, result);
    }
}

void VextCommandBar::OnCommand(UINT id, UINT notifyCode, HWND) {
    switch (id) {
        case ID_VEXT_SETUP:
            EnterSetup();
            break;
        case ID_VEXT_RECORD:
            EnterRecording();
            break;
        case ID_VEXT_STOP:
            Stop();
            break;
        case ID_VEXT_SAVE:
            SaveFilm();
            break;
        case ID_VEXT_PLAY_BACK:
            Play(false);
            break;
        case ID_VEXT_PLAY:
            Play(true);
            break;
        case ID_VEXT_STEP_BACK:
            Step(-1);
            break;
        case ID_VEXT_STEP:
            Step(1);
            break;
        case IDC_VEXT_SET_FIRST:
            SetFragmentEnd(true);
            break;
        case IDC_VEXT_SET_LAST:
            SetFragmentEnd(false);
            break;
        case IDC_VEXT_BROWSE:
            Browse();
            break;
        case IDC_VEXT_CODEC:
            if (notifyCode == CBN_SELCHANGE) CodecChanged();
            break;
        case IDC_VEXT_FORMAT:
            FormatChanged();
            break;
        case IDC_VEXT_GAIN:
            if (notifyCode == CBN_SELCHANGE) GainChanged();
            break;
        case IDC_VEXT_GAMMA_ON:
            GammaToggled();
            break;
        case IDC_VEXT_BACKGROUND:
            BackgroundToggled();
            break;
        case IDC_VEXT_WB_ON:
            WhiteBalanceToggled();
            break;
        case IDC_VEXT_WB_AUTO:
        case IDC_VEXT_WB_PIXEL:
        case IDC_VEXT_WB_MANUAL:
            WhiteBalanceMode(id);
            break;
        default:
            break;
    }
}

// ---- modes ----------------------------------------------------------------

bool VextCommandBar::ConfirmFilmLoss() {
    if (mode_ != ModePlayback && mode_ != ModeSaving) return true;
    return MessageBoxW(Handle(), L"Текущая видеозапись будет потеряна. Прдолжить?", L"Подтверждение операции",
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void VextCommandBar::EnterSetup() {
    if (!ConfirmFilmLoss()) return;
    AppState& state = AppState::Get();
    SendWorker(Render::CommandStop);
    if (state.system) state.system->StopInput(true);
    Renderer().SetNotifyWindow(nullptr);
    if (!state.system || !state.system->GetDataTransfer(0, &state.transfer)) return;
    UpdateRateDependent();
    UpdateAvailableFrames();
    EnableItems({IDC_VEXT_BACKGROUND}, true);
    if (mode_ == ModePlayback || mode_ == ModeSaving) LeavePlayback();
    if (mode_ != ModeSetup) SetButtons({ID_VEXT_STOP}, false);
    mode_ = ModeSetup;
    SendCaptureState(ModeSetup, L"Настройка");
    SendWorker(Render::CommandRun);
}

void VextCommandBar::EnterRecording() {
    if (!ConfirmFilmLoss()) return;
    AppState& state = AppState::Get();
    SendWorker(Render::CommandStop);
    if (state.system) state.system->StopInput(true);
    if (mode_ == ModeSetup) {
        // Live frames preset the camera's own synchronisation: the user's
        // options are written again before the camera records.
        if (state.mainWindow) SendMessageW(state.mainWindow, UWM_REAPPLY_OPTIONS, 0, 0);
        SetButtons({ID_VEXT_STOP}, true);
        EnableItems({IDC_VEXT_BACKGROUND}, !backgroundInvalid_);
    } else if (mode_ == ModePlayback || mode_ == ModeSaving) {
        LeavePlayback();
    }
    mode_ = ModeRecording;
    shownRange_.reset();
    SendCaptureState(ModeRecording, L"Съемка");
    if (state.system && state.system->GetDataTransfer(1, &state.transfer)) {
        Renderer().SetNotifyWindow(Handle());
        SendWorker(Render::CommandRun);
    }
}

void VextCommandBar::Stop() {
    switch (mode_) {
        case ModeRecording:
            // The camera ends the film; the end arrives as UWM_SEQUENCE_END.
            if (AppState::Get().system) AppState::Get().system->StopInput(false);
            break;
        case ModePlayback:
            SendWorker(Render::CommandPause);
            break;
        case ModeSaving:
            if (SelectedFormat() != FormatAvi) {
                if (exportWorker_) exportWorker_->SendCommand(Render::CommandQuit);
            } else {
                graph_.Stop();
            }
            break;
        default:
            break;
    }
    paused_ = true;
}

void VextCommandBar::SequenceEnd(WPARAM reason) {
    SendWorker(Render::CommandStop);
    AppState& state = AppState::Get();
    if (mode_ == ModeRecording) {
        if (state.system) state.system->StopInput(true);
        if (!state.system || !state.system->GetDataTransfer(2, &state.transfer)) return;
        int32_t first = 0, last = 0;
        if (!frameIndex_ || !frameIndex_->GetRange(kUnitNative, &first, &last)) first = last = 0;
        int32_t index = first;
        uint32_t layout = 0;
        if (Renderer().FetchFrame(&index, &layout)) Renderer().Redraw();
        HWND slider = Item(IDC_VEXT_FRAME_SLIDER);
        SendMessageW(slider, TBM_SETRANGEMIN, FALSE, first);
        SendMessageW(slider, TBM_SETRANGEMAX, FALSE, last);
        SendMessageW(slider, TBM_SETPOS, TRUE, 0);
        ShowItem(IDC_VEXT_STATUS, false);
        EnableFilmControls(true);
        SetItemInt(IDC_VEXT_FIRST, first);
        SetItemInt(IDC_VEXT_LAST, last);
        SetItemText(IDC_VEXT_FRAME_NUMBER, std::to_wstring(uint32_t(first)));
        // The worker was stopped just now: playback starts with Play.
        paused_ = true;
        mode_ = ModePlayback;
        SendWorker(Render::CommandReloadRange);
        SendCaptureState(ModePlayback, L"Просмотр");
    } else if (mode_ == ModeSaving) {
        if (SelectedFormat() == FormatAvi) graph_.Stop();
        if (reason == Render::kExportWriteFailed) ReportWriteFailure();
        ReturnToPlayback();
    }
}

void VextCommandBar::FrameIndex(int32_t index) {
    switch (mode_) {
        case ModeRecording: {
            int32_t first = 0, last = 0;
            // One message a frame: the line is rewritten only when the range moved.
            if (frameIndex_ && frameIndex_->GetRange(kUnitNative, &first, &last) &&
                shownRange_ != std::pair(first, last)) {
                shownRange_ = std::pair(first, last);
                SetItemText(IDC_VEXT_STATUS, VextPanel::RecordingStateText(first, last));
            }
            break;
        }
        case ModePlayback:
            SetItemText(IDC_VEXT_FRAME_NUMBER, std::to_wstring(uint32_t(index)));
            SendMessageW(Item(IDC_VEXT_FRAME_SLIDER), TBM_SETPOS, TRUE, index);
            break;
        case ModeSaving:
            // The bar follows the frames done: one step past its end would
            // start it over, and the film's last frame is reported as the end.
            SendMessageW(Item(IDC_VEXT_SAVING_PROGRESS), PBM_SETPOS, WPARAM(index + 1), 0);
            SetItemText(IDC_VEXT_FRAME_NUMBER, std::to_wstring(uint32_t(index)));
            break;
        default:
            break;
    }
}

void VextCommandBar::LeavePlayback() {
    paused_ = true;
    ResetPlaybackControls();
    EnableFilmControls(false);
    ShowItem(IDC_VEXT_STATUS, true);
}

void VextCommandBar::ResetPlaybackControls() {
    HWND slider = Item(IDC_VEXT_FRAME_SLIDER);
    SendMessageW(slider, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageW(slider, TBM_SETRANGEMAX, FALSE, 1);
    SendMessageW(slider, TBM_SETPOS, TRUE, 0);
    for (int id : {IDC_VEXT_FIRST, IDC_VEXT_LAST, IDC_VEXT_FRAME_NUMBER}) SetItemText(id, L"");
}

// ---- playback ----------------------------------------------------------------

void VextCommandBar::Play(bool forwards) {
    const double speed = Renderer().GetPlaybackSpeed();
    if (forwards ? speed < 0 : speed > 0) Renderer().SetPlaybackSpeed(-speed);
    if (paused_) {
        SendWorker(Render::CommandRun);
        paused_ = false;
    }
}

void VextCommandBar::Step(int step) {
    if (!paused_) return;
    HWND slider = Item(IDC_VEXT_FRAME_SLIDER);
    const int32_t minimum = int32_t(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0));
    const int32_t maximum = int32_t(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
    int32_t index = VextPanel::SteppedFrame(ItemInt(IDC_VEXT_FRAME_NUMBER), step, minimum, maximum);
    uint32_t layout = 0;
    if (!Renderer().FetchFrame(&index, &layout)) return;
    Renderer().Redraw();
    SendMessageW(slider, TBM_SETPOS, TRUE, index);
    SetItemText(IDC_VEXT_FRAME_NUMBER, std::to_wstring(uint32_t(index)));
}

void VextCommandBar::OnScroll(HWND slider, int code) {
    if (code < SB_LINEUP || code > SB_THUMBTRACK) return;
    switch (GetDlgCtrlID(slider)) {
        case IDC_VEXT_FRAME_SLIDER:
            FrameSliderMoved();
            break;
        case IDC_VEXT_SPEED:
            SpeedSliderMoved();
            break;
        case IDC_VEXT_BLACK:
            LevelsMoved(false);
            break;
        case IDC_VEXT_WHITE:
            LevelsMoved(true);
            break;
        case IDC_VEXT_GAMMA:
            GammaMoved();
            break;
        case IDC_VEXT_WB_BLUE:
        case IDC_VEXT_WB_GREEN:
        case IDC_VEXT_WB_RED:
            BalanceSlidersMoved();
            break;
        default:
            break;
    }
}

void VextCommandBar::FrameSliderMoved() {
    HWND slider = Item(IDC_VEXT_FRAME_SLIDER);
    const int32_t minimum = int32_t(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0));
    const int32_t maximum = int32_t(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
    const int32_t position = std::clamp(int32_t(SendMessageW(slider, TBM_GETPOS, 0, 0)), minimum, maximum);
    int32_t index = position;
    uint32_t layout = 0;
    if (!Renderer().FetchFrame(&index, &layout)) return;
    Renderer().Redraw();
    SetItemText(IDC_VEXT_FRAME_NUMBER, std::to_wstring(uint32_t(position)));
}

void VextCommandBar::SpeedSliderMoved() {
    const int position = int(SendMessageW(Item(IDC_VEXT_SPEED), TBM_GETPOS, 0, 0));
    Renderer().SetPlaybackSpeed(VextPanel::SpeedForSlider(position, Renderer().GetPlaybackSpeed()));
}

void VextCommandBar::SetFragmentEnd(bool first) {
    const int32_t position = int32_t(SendMessageW(Item(IDC_VEXT_FRAME_SLIDER), TBM_GETPOS, 0, 0));
    if (first)
        SetItemInt(IDC_VEXT_FIRST, std::min(position, ItemInt(IDC_VEXT_LAST)));
    else
        SetItemInt(IDC_VEXT_LAST, std::max(position, ItemInt(IDC_VEXT_FIRST)));
}

// ---- the camera's options ----------------------------------------------------

void VextCommandBar::UpdateRateDependent() {
    int32_t period = 1;
    if (!frameRate_ || !frameRate_->GetValue(kUnitPeriod, &period)) period = 1;
    IOvSystem* system = AppState::Get().system;
    if (!framePosition_ || !system || !system->LockAcquisition()) return;
    framePosition_->SetValue(kUnitNative, VextPanel::RateDependentValue(period));
    system->UnlockAcquisition();
}

void VextCommandBar::UpdateAvailableFrames() {
    int32_t total = 0, second = 0;
    if (!totalFrames_ || !totalFrames_->GetInfoValue(&total, &second)) return;
    int32_t fps = 1, multiplier = 0;
    if (!frameRate_ || !frameRate_->GetValue(kUnitFramesPerSecond, &fps)) fps = 1;
    if (!multiplier_ || !multiplier_->GetValue(kUnitNative, &multiplier)) multiplier = 0;
    SetItemText(IDC_VEXT_STATUS, VextPanel::AvailableFramesText(total, multiplier, fps));
}

void VextCommandBar::OptionChanged(uint32_t id) {
    if (id != kFrameRate && id != kRegion && id != kVextGain && id != kPretrigger && id != kRateDependent) return;
    if (IsDlgButtonChecked(Handle(), IDC_VEXT_BACKGROUND) == BST_CHECKED)
        AcquireBackground();
    else
        backgroundInvalid_ = true;
    if (id == kFrameRate) UpdateRateDependent();
    UpdateAvailableFrames();
}

// ---- small helpers -----------------------------------------------------------

void VextCommandBar::SetButton(UINT id, bool enabled) {
    if (!toolbar_) return;
    SendMessageW(toolbar_, TB_SETSTATE, id, enabled ? TBSTATE_ENABLED : TBSTATE_INDETERMINATE);
    SendMessageW(toolbar_, TB_ENABLEBUTTON, id, enabled);
}

void VextCommandBar::SetButtons(std::initializer_list<UINT> ids, bool enabled) {
    for (UINT id : ids) SetButton(id, enabled);
}

void VextCommandBar::EnableFilmControls(bool enabled) {
    for (UINT id : kFilmButtons) SetButton(id, enabled);
    for (int id : kFilmItems) EnableWindow(Item(id), enabled);
}

void VextCommandBar::EnableItems(std::initializer_list<int> ids, bool enabled) {
    for (int id : ids) EnableWindow(Item(id), enabled);
}

void VextCommandBar::ShowItem(int id, bool shown) { ShowWindow(Item(id), shown ? SW_SHOW : SW_HIDE); }

void VextCommandBar::SendCaptureState(int mode, const wchar_t* text) {
    if (HWND main = AppState::Get().mainWindow)
        SendMessageW(main, UWM_CAPTURE_STATE, WPARAM(mode), reinterpret_cast<LPARAM>(text));
}

void VextCommandBar::SendWorker(uint32_t command) { Renderer().SendCommand(command); }

void VextCommandBar::PauseWorker() {
    if (paused_) return;
    SendWorker(Render::CommandPause);
    paused_ = true;
}

int32_t VextCommandBar::ItemInt(int id) const {
    BOOL ok = FALSE;
    return int32_t(GetDlgItemInt(Handle(), id, &ok, TRUE));
}

void VextCommandBar::SetItemInt(int id, int32_t value) { SetDlgItemInt(Handle(), id, UINT(value), TRUE); }

void VextCommandBar::OnSize(int width) {
    HWND slider = Item(IDC_VEXT_FRAME_SLIDER);
    if (!slider) return;
    RECT rect{};
    GetWindowRect(slider, &rect);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
    const int stretched = width - rect.left;
    if (stretched > 0)
        SetWindowPos(slider, nullptr, 0, 0, stretched, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER);
}

void VextCommandBar::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(Handle(), &paint);
    if (toolbar_) {
        RECT rect{};
        GetWindowRect(toolbar_, &rect);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
        InflateRect(&rect, 2, 2);
        DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT);
    }
    EndPaint(Handle(), &paint);
}

}  // namespace AppGui
