#pragma once
// Helpers of the framework tests: a top-level window to put panes in, a pane
// that records what it receives, message pumping and scratch INI files.
#include <windows.h>

#include <string>
#include <vector>

#include "AppGui/Framework/Window.h"
#include "support/MessagePump.h"

namespace guitest {

using ovtest::Pump;
using ovtest::PumpFor;
using ovtest::PumpUntil;

inline SIZE ClientSize(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return SIZE{rect.right, rect.bottom};
}

// A window's rectangle in its parent's client coordinates.
inline RECT RectInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline SIZE WindowSize(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

// A plain visible top-level window whose client area is exactly the size asked.
class TopWindow : public AppGui::Window {
public:
    HWND CreateWithClient(int width, int height, const wchar_t* title = L"Тест") {
        RECT rect{100, 100, 100 + width, 100 + height};
        AdjustWindowRectEx(&rect, kStyle, FALSE, 0);
        return Create(nullptr, rect, title, kStyle | WS_VISIBLE);
    }

private:
    static constexpr DWORD kStyle = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;

protected:
    AppGui::WindowClassInfo ClassInfo() const override { return {L"OvTestTopWindow"}; }
};

// A child pane that records the messages it gets and takes a size in its WM_CREATE.
class RecordingPane : public AppGui::Window {
public:
    static inline SIZE initialSize{0, 0};  // what the next created pane makes itself

    std::vector<UINT> messages;
    int Count(UINT message) const {
        int n = 0;
        for (UINT m : messages) n += m == message;
        return n;
    }

protected:
    AppGui::WindowClassInfo ClassInfo() const override {
        AppGui::WindowClassInfo info;
        info.name = L"OvTestRecordingPane";
        info.background = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        return info;
    }
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        messages.push_back(message);
        if (message == WM_CREATE && (initialSize.cx || initialSize.cy)) {
            SetWindowPos(Handle(), nullptr, 0, 0, initialSize.cx, initialSize.cy, SWP_NOMOVE | SWP_NOZORDER);
            result = 0;
            return true;
        }
        return Window::ProcessMessage(message, wParam, lParam, result);
    }
};

// A path in the temporary folder, with no file there yet.
inline std::wstring ScratchFile(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + name;
    DeleteFileW(path.c_str());
    return path;
}

inline bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The raw text of a file as UTF-16 (private-profile files of Wine are
// written in the ANSI code page unless they start as Unicode).
inline std::string ReadBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

}  // namespace guitest
