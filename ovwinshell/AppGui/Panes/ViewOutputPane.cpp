#include "ViewOutputPane.h"

#include <commctrl.h>

#include <algorithm>

#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "Lib3Wrapper/OvTypeLib/IOvSystem.h"
#include "AppGui/Framework/ResourceText.h"
#include "AppGui/Resources/resource.h"
#include "AppGui/VextControlPanel/VextCommandBar.h"

namespace AppGui {

namespace {

void InsertTab(HWND tabs, int index, UINT text) {
    std::wstring title = LoadText(text);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = title.data();
    SendMessageW(tabs, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

ViewOutputPane::ViewOutputPane() = default;

ViewOutputPane::~ViewOutputPane() {
    if (Handle()) Destroy();
}

WindowClassInfo ViewOutputPane::ClassInfo() const {
    WindowClassInfo info;
    info.name = L"OvViewOutputPane";
    info.background = SystemColourBrush(COLOR_3DFACE);
    return info;
}

LRESULT ViewOutputPane::OnCreate() {
    RECT client{};
    GetClientRect(Handle(), &client);
    tabs_ = CreateWindowExW(
        0, WC_TABCONTROLW, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TCS_BOTTOM, 0, 0,
        client.right, client.bottom, Handle(), reinterpret_cast<HMENU>(UINT_PTR(kTabsId)), ModuleInstance(), nullptr);
    if (!tabs_) return -1;
    SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    InsertTab(tabs_, 0, IDS_TAB_LOG);
    if (!log_.CreateChild(tabs_)) return -1;
    if (AppState::Get().systemTypeId == DllModule::Lib3Wrapper::OvTypeLib::VextSystemType) {
        recordingPanel_ = std::make_unique<VextCommandBar>();
        if (recordingPanel_->Create(tabs_)) {
            InsertTab(tabs_, 1, IDS_TAB_RECORDING);
            RECT panel{};
            GetWindowRect(recordingPanel_->Handle(), &panel);  // the template's own size, before any fitting
            panelHeight_ = panel.bottom - panel.top;
        } else {
            recordingPanel_.reset();
        }
    }
    SendMessageW(tabs_, TCM_SETCURSEL, recordingPanel_ ? 1 : 0, 0);
    ShowSelectedTab();
    return 0;
}

void ViewOutputPane::OnDestroy() {
    recordingPanel_.reset();
    if (statistics_) {
        statistics_->Destroy();
        statistics_.reset();
    }
    log_.Destroy();
    current_ = nullptr;
    tabs_ = nullptr;
}

void ViewOutputPane::ToggleStatistics() {
    if (!tabs_) return;
    if (statistics_) {
        const LRESULT count = SendMessageW(tabs_, TCM_GETITEMCOUNT, 0, 0);
        SendMessageW(tabs_, TCM_DELETEITEM, count - 1, 0);
        if (current_ == statistics_->Handle()) current_ = nullptr;
        statistics_->Destroy();
        statistics_.reset();
        SendMessageW(tabs_, TCM_SETCURSEL, SendMessageW(tabs_, TCM_GETITEMCOUNT, 0, 0) - 1, 0);
    } else {
        statistics_ = std::make_unique<ViewStatisticChildPane>();
        if (!statistics_->Create(tabs_)) {
            statistics_.reset();
            return;
        }
        const LRESULT count = SendMessageW(tabs_, TCM_GETITEMCOUNT, 0, 0);
        InsertTab(tabs_, int(count), IDS_TAB_STATISTICS);
        SendMessageW(tabs_, TCM_SETCURSEL, count, 0);
    }
    ShowSelectedTab();
}

void ViewOutputPane::ShowSelectedTab() {
    if (current_) ShowWindow(current_, SW_HIDE);
    const LRESULT tab = SendMessageW(tabs_, TCM_GETCURSEL, 0, 0);
    HWND statistics = statistics_ ? statistics_->Handle() : nullptr;
    switch (tab) {
        case 0:
            current_ = log_.Handle();
            break;
        case 1:
            current_ = recordingPanel_ ? recordingPanel_->Handle() : statistics;
            break;
        case 2:
            current_ = statistics;
            break;
        default:
            current_ = nullptr;
            break;
    }
    FitSelectedWindow();
    if (current_) ShowWindow(current_, SW_SHOW);
}

int ViewOutputPane::RecordingPanelHeight() const {
    if (!recordingPanel_ || !tabs_) return 0;
    // The display area of a tab control that large gives what the tabs and borders take.
    RECT area{0, 0, 1000, 1000};
    SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return panelHeight_ + 1000 - (area.bottom - area.top);
}

void ViewOutputPane::FitSelectedWindow() {
    if (!tabs_ || !current_) return;
    RECT area{};
    GetClientRect(tabs_, &area);
    SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    MoveWindow(current_, area.left, area.top, std::max<int>(area.right - area.left, 0),
               std::max<int>(area.bottom - area.top, 0), TRUE);
}

bool ViewOutputPane::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_CREATE:
            result = OnCreate();
            return true;
        case WM_DESTROY:
            OnDestroy();
            result = 0;
            return true;
        case WM_SIZE:
            if (tabs_) MoveWindow(tabs_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            FitSelectedWindow();
            result = 0;
            return true;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE) ShowSelectedTab();
            result = 0;
            return true;
        }
        case UWM_TOGGLE_STATISTICS:
            ToggleStatistics();
            result = 0;
            return true;
        case UWM_OPTION_CHANGED:
            if (recordingPanel_) SendMessageW(recordingPanel_->Handle(), message, wParam, lParam);
            result = 0;
            return true;
        default:
            return Window::ProcessMessage(message, wParam, lParam, result);
    }
}

}  // namespace AppGui
