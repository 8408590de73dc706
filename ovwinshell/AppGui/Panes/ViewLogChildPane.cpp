#include "ViewLogChildPane.h"

#include <algorithm>

#include "AppGui/AppMessages.h"
#include "AppGui/AppState.h"
#include "AppGui/Framework/ResourceText.h"
#include "AppGui/Framework/WindowClass.h"
#include "AppGui/Panes/OutputPaneLogic.h"
#include "AppGui/Resources/resource.h"
#include "Lib3Wrapper/MessageSink.h"

namespace AppGui {

namespace {

int TextExtent(HDC dc, const std::wstring& line) {
    SIZE size{};
    if (!line.empty()) GetTextExtentPoint32W(dc, line.c_str(), int(line.size()), &size);
    return size.cx;
}

}  // namespace

ViewLogChildPane::ViewLogChildPane() : font_(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))) {
    MeasureFont();
    AppState::Get().logger = this;
    DllModule::Lib3Wrapper::MessageSink::Instance().SetLogger(this);
}

ViewLogChildPane::~ViewLogChildPane() {
    AppState& state = AppState::Get();
    if (state.logger == this) {
        state.logger = nullptr;
        // Waits for a report in progress: the sink calls its logger under its lock.
        DllModule::Lib3Wrapper::MessageSink::Instance().SetLogger(nullptr);
    }
    if (Handle()) Destroy();
    if (menu_) DestroyMenu(menu_);
}

WindowClassInfo ViewLogChildPane::ClassInfo() const {
    WindowClassInfo info;
    info.name = L"OvViewLogChildPane";
    info.style = CS_DBLCLKS;
    return info;
}

void ViewLogChildPane::MeasureFont() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font_);
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc, &metrics)) {
        lineHeight_ = std::max<int>(metrics.tmHeight, 1);
        charWidth_ = std::max<int>(metrics.tmAveCharWidth, 1);
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
}

bool ViewLogChildPane::Log(char* text, bool alert) {
    HWND window = window_.load();
    if (window && PostMessageW(window, UWM_LOG_TEXT, 0, reinterpret_cast<LPARAM>(text))) return true;
    if (alert && text) {
        MessageBoxW(nullptr, WidenAnsi(text).c_str(), LoadText(IDS_LOG_ALERT_TITLE).c_str(),
                    MB_TASKMODAL | MB_ICONERROR);
    }
    AddText(text);
    return true;
}

void ViewLogChildPane::Clear() {
    {
        CritSecLock guard(lock_);
        lines_.clear();
        widest_ = 0;
    }
    if (Handle()) {
        ResetScrollBars();
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}

std::vector<std::wstring> ViewLogChildPane::Lines() const {
    CritSecLock guard(lock_);
    return lines_;
}

void ViewLogChildPane::AddText(char* text) {
    const LogTextLines split = SplitLogText(text);
    if (text) LocalFree(text);
    HWND window = Handle();
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font_);
    {
        CritSecLock guard(lock_);
        for (const std::string& narrow : split.lines) {
            lines_.push_back(WidenAnsi(narrow));
            widest_ = std::max(widest_, TextExtent(dc, lines_.back()));
        }
    }
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    if (window) {
        ResetScrollBars();
        Scroll(SB_VERT, SB_BOTTOM);
        InvalidateRect(window, nullptr, TRUE);
    }
    if (split.error && AppState::Get().mainWindow) PostMessageW(AppState::Get().mainWindow, UWM_SHOW_OUTPUT, 0, 0);
}

void ViewLogChildPane::ResetScrollBars() {
    RECT client{};
    GetClientRect(Handle(), &client);
    ScrollRange horizontal, vertical;
    {
        CritSecLock guard(lock_);
        horizontal = LogHorizontalRange(widest_, charWidth_, client.right);
        vertical = LogVerticalRange(int(lines_.size()), lineHeight_, client.bottom);
    }
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMax = horizontal.max;
    info.nPage = UINT(horizontal.page);
    SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
    info.nMax = vertical.max;
    info.nPage = UINT(vertical.page);
    SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
}

void ViewLogChildPane::Scroll(int bar, int code) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(Handle(), bar, &info)) return;
    if (bar == SB_HORZ && code == SB_BOTTOM) return;  // only the vertical bar goes to the end
    const ScrollRange range{info.nMax, int(info.nPage)};
    const int next = ScrolledPosition(code, info.nPos, info.nTrackPos, range);
    SCROLLINFO set{};
    set.cbSize = sizeof set;
    set.fMask = SIF_POS;
    set.nPos = next;
    SetScrollInfo(Handle(), bar, &set, TRUE);
    const int now = GetScrollPos(Handle(), bar);
    const int moved = info.nPos - now;
    if (moved == 0) return;
    if (bar == SB_HORZ)
        ScrollWindow(Handle(), moved * charWidth_, 0, nullptr, nullptr);
    else
        ScrollWindow(Handle(), 0, moved * lineHeight_, nullptr, nullptr);
}

void ViewLogChildPane::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    RECT client{};
    GetClientRect(Handle(), &client);
    const int first = std::max(GetScrollPos(Handle(), SB_VERT), 0);
    const int x = -GetScrollPos(Handle(), SB_HORZ) * charWidth_;
    HGDIOBJ old = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    {
        CritSecLock guard(lock_);
        for (size_t i = size_t(first), k = 0; i < lines_.size(); ++i, ++k) {
            const int y = int(k) * lineHeight_;
            if (y > client.bottom) break;
            TextOutW(dc, x, y, lines_[i].c_str(), int(lines_[i].size()));
        }
    }
    SelectObject(dc, old);
    EndPaint(Handle(), &paint);
}

void ViewLogChildPane::ContextMenu() {
    if (!menu_) menu_ = LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(IDR_LOG_MENU));
    HMENU popup = menu_ ? GetSubMenu(menu_, 0) : nullptr;
    if (!popup) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, Handle(), nullptr);
}

bool ViewLogChildPane::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_CREATE:
            window_ = Handle();
            ResetScrollBars();
            result = 0;
            return true;
        case WM_DESTROY: {
            window_ = nullptr;
            // Texts posted before the window went are added now rather than lost.
            MSG pending;
            while (PeekMessageW(&pending, Handle(), UWM_LOG_TEXT, UWM_LOG_TEXT, PM_REMOVE))
                AddText(reinterpret_cast<char*>(pending.lParam));
            result = 0;
            return true;
        }
        case UWM_LOG_TEXT:
            AddText(reinterpret_cast<char*>(lParam));
            result = 0;
            return true;
        case WM_SIZE:
            ResetScrollBars();
            result = 0;
            return true;
        case WM_HSCROLL:
        case WM_VSCROLL:
            Scroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
            result = 0;
            return true;
        case WM_PAINT:
            Paint();
            result = 0;
            return true;
        case WM_RBUTTONUP:
            ContextMenu();
            result = 0;
            return true;
        case WM_COMMAND:
            if (LOWORD(wParam) == ID_LOG_CLEAR) Clear();
            result = 0;
            return true;
        default:
            return Window::ProcessMessage(message, wParam, lParam, result);
    }
}

void ViewLogChildPane::OnFinalMessage(HWND) { window_ = nullptr; }

}  // namespace AppGui
