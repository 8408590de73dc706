#include "ViewStatisticChildPane.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "AppGui/Framework/MyMessageLoop.h"
#include "AppGui/Framework/ResourceText.h"
#include "AppGui/Panes/OutputPaneLogic.h"
#include "AppGui/Resources/resource.h"
#include "Render/PrivateRenderer.h"

namespace AppGui {

namespace {

// The depth list: texts and the statistics masks they select.
struct Depth {
    UINT text;
    uint16_t mask;
};
constexpr Depth kDepths[] = {
    {IDS_DEPTH_8, 0xFF00}, {IDS_DEPTH_10, 0xFFC0}, {IDS_DEPTH_12, 0xFFF0}, {IDS_DEPTH_16, 0xFFFF}};

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Redraw() { AppState::Get().Renderer().Redraw(); }

}  // namespace

ViewStatisticChildPane::ViewStatisticChildPane() : ModelessDialog(IDD_STATISTICS) {}

ViewStatisticChildPane::~ViewStatisticChildPane() {
    if (Handle()) Destroy();
    Teardown();
}

HWND ViewStatisticChildPane::Create(HWND parent) {
    return ModelessDialog::Create(parent, &Glob::CMyMessageLoop::Instance());
}

bool ViewStatisticChildPane::OnInitDialog(HWND) {
    HWND window = Handle();
    HWND list = Item(IDC_STAT_DEPTH);
    for (const Depth& depth : kDepths)
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LoadText(depth.text).c_str()));
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    for (int id = IDC_HIST_BITS_8; id <= IDC_HIST_BITS_13; ++id) EnableWindow(Item(id), Checked(window, IDC_HIST_SHOW));
    EnableWindow(list, Checked(window, IDC_STAT_SHOW));
    CheckDlgButton(window, IDC_HIST_NORMALISE, BST_CHECKED);

    RECT place{};
    GetWindowRect(Item(IDC_HIST_FRAME), &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    hist_.CreateChild(window, 0, &place);
    surface_ = std::make_unique<Render::StatisticSurface>(hist_.Handle());
    AppState::Get().Renderer().AddSurface(surface_.get());

    CheckDlgButton(window, IDC_HIST_SHOW, BST_CHECKED);
    PostMessageW(window, WM_COMMAND, IDC_HIST_SHOW, 0);
    CheckRadioButton(window, IDC_HIST_BITS_8, IDC_HIST_BITS_13, IDC_HIST_BITS_9);
    PostMessageW(window, WM_COMMAND, IDC_HIST_BITS_9, 0);
    CheckDlgButton(window, IDC_STAT_SHOW, BST_CHECKED);
    PostMessageW(window, WM_COMMAND, IDC_STAT_SHOW, 0);
    SendMessageW(list, CB_SETCURSEL, 1, 0);  // "10 бит"

    RECT client{};
    GetClientRect(window, &client);
    Layout(client.right, client.bottom);
    return true;
}

void ViewStatisticChildPane::SetBits(uint32_t bits) {
    bits_ = bits;
    if (surface_) surface_->SetHistogramBits(bits);
    Redraw();
    UpdateScrollBar(true);
}

void ViewStatisticChildPane::UpdateScrollBar(bool reset) {
    RECT client{};
    GetClientRect(hist_.Handle(), &client);
    const HistogramScrollBar bar = HistogramScrollFor(bits_, client.right);
    HWND scroll = Item(IDC_HIST_SCROLL);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    info.nMax = bar.max;
    info.nPage = UINT(bar.page);
    if (reset) {
        info.fMask |= SIF_POS;
        info.nPos = 0;
    }
    SetScrollInfo(scroll, SB_CTL, &info, TRUE);
    EnableScrollBar(scroll, SB_CTL, bar.enabled ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
    EnableWindow(scroll, bar.enabled);
    if (surface_) surface_->SetHistogramScroll(bar.enabled ? uint32_t(GetScrollPos(scroll, SB_CTL)) : 0);
}

void ViewStatisticChildPane::ApplyMask() {
    const LRESULT selection = SendMessageW(Item(IDC_STAT_DEPTH), CB_GETCURSEL, 0, 0);
    if (surface_ && selection >= 0 && selection < LRESULT(std::size(kDepths)))
        surface_->SetStatisticsMask(kDepths[selection].mask);
    Redraw();
}

void ViewStatisticChildPane::OnCommand(UINT id, UINT notifyCode, HWND) {
    HWND window = Handle();
    if (id >= IDC_HIST_BITS_8 && id <= IDC_HIST_BITS_13) {
        SetBits(8 + (id - IDC_HIST_BITS_8));
        return;
    }
    switch (id) {
        case IDC_HIST_SHOW: {
            if (surface_) surface_->ToggleHistogram();
            const bool on = Checked(window, IDC_HIST_SHOW);
            for (int radio = IDC_HIST_BITS_8; radio <= IDC_HIST_BITS_13; ++radio) EnableWindow(Item(radio), on);
            break;
        }
        case IDC_STAT_SHOW: {
            const bool on = surface_ && surface_->ToggleStatistics();
            EnableWindow(Item(IDC_STAT_DEPTH), on);
            if (on) ApplyMask();
            Redraw();
            break;
        }
        case IDC_STAT_DEPTH:
            if (notifyCode == CBN_SELCHANGE) ApplyMask();
            break;
        case IDC_HIST_KEEP_PICTURE:
            if (surface_) surface_->ToggleKeepPicture();
            break;
        case IDC_HIST_NORMALISE:
            if (surface_) surface_->ToggleNormalisation();
            Redraw();
            break;
        case IDC_DATA_RATE:
            if (Checked(window, IDC_DATA_RATE)) {
                timer_ = SetTimer(window, kRateTimer, 1000, nullptr) != 0;
            } else if (timer_) {
                KillTimer(window, kRateTimer);
                timer_ = false;
            }
            break;
        default:
            break;
    }
}

void ViewStatisticChildPane::RefreshTransferTexts() {
    auto* transfer = AppState::Get().transfer;
    uint32_t frames = 0;
    uint64_t bytes = 0, microseconds = 0;
    if (!transfer || !transfer->GetStatistics(&frames, &bytes, &microseconds)) return;
    const TransferTexts texts = FormatTransferTexts(frames, bytes, microseconds);
    SetItemText(IDC_DATA_AMOUNT, texts.amount);
    SetItemText(IDC_DATA_SPEED, texts.rate);
}

void ViewStatisticChildPane::Layout(int width, int height) {
    if (!hist_.Handle()) return;
    RECT place{};
    GetWindowRect(Item(IDC_HIST_FRAME), &place);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&place), 2);
    const int bar = GetSystemMetrics(SM_CYHSCROLL);
    const int right = std::max<int>(width - 2, place.left + 1);
    const int bottom = std::max<int>(height - 2 - bar, place.top + 1);
    MoveWindow(hist_.Handle(), place.left, place.top, right - place.left, bottom - place.top, TRUE);
    MoveWindow(Item(IDC_HIST_SCROLL), place.left, bottom, right - place.left, bar, TRUE);
    UpdateScrollBar(false);
}

void ViewStatisticChildPane::Teardown() {
    if (surface_) {
        AppState::Get().Renderer().RemoveSurface(surface_.get());
        surface_.reset();
    }
    if (hist_.Handle()) hist_.Destroy();
}

bool ViewStatisticChildPane::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_SIZE:
            Layout(LOWORD(lParam), HIWORD(lParam));
            result = 0;
            return true;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) == Item(IDC_HIST_SCROLL) &&
                (LOWORD(wParam) == SB_THUMBPOSITION || LOWORD(wParam) == SB_THUMBTRACK)) {
                const int position = HIWORD(wParam);
                SetScrollPos(Item(IDC_HIST_SCROLL), SB_CTL, position, TRUE);
                if (surface_) surface_->SetHistogramScroll(uint32_t(position));
                Redraw();
            }
            result = 0;
            return true;
        case WM_TIMER:
            if (wParam == kRateTimer) RefreshTransferTexts();
            result = 0;
            return true;
        case UWM_FRAME_SIZE:
            if (surface_ && reinterpret_cast<Render::Surface*>(lParam) == surface_.get())
                AppState::Get().Renderer().ResizeSurface(surface_.get(), LOWORD(wParam), HIWORD(wParam));
            result = 0;
            return true;
        case WM_DESTROY:
            if (timer_) KillTimer(Handle(), kRateTimer);
            timer_ = false;
            Teardown();
            break;
        default:
            break;
    }
    return ModelessDialog::ProcessMessage(message, wParam, lParam, result);
}

}  // namespace AppGui
