#pragma once
// COM for the test thread, a message-only window that records the filter's
// notifications, and the registered source filter created through COM.
#include <windows.h>
#include <dshow.h>
#include <gtest/gtest.h>

#include <vector>

#include "Common/Owned.h"
#include "DShow/IOvSourceControl.h"
#include "Render/RenderMessages.h"

namespace dshowtest {

struct Notification {
    UINT message;
    LPARAM value;
    bool operator==(const Notification& other) const { return message == other.message && value == other.value; }
};

class DShowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        static const ATOM windowClass = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &DShowTest::WindowProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"OvDShowTestNotify";
            return RegisterClassW(&wc);
        }();
        ASSERT_NE(windowClass, 0);
        window_ = CreateWindowW(L"OvDShowTestNotify", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&notifications_));
    }
    void TearDown() override {
        if (window_) DestroyWindow(window_);
        CoUninitialize();
    }

    // The filter from the registered ovdsource.dll.
    static ComPtr<IBaseFilter> CreateSource() {
        ComPtr<IBaseFilter> filter;
        EXPECT_EQ(
            CoCreateInstance(CLSID_OvSourceFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.PutVoid()),
            S_OK);
        return filter;
    }

    // Notifications posted so far (drains the queue).
    std::vector<Notification> Notifications() {
        MSG msg;
        while (PeekMessageW(&msg, window_, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        return notifications_;
    }

    void ClearNotifications() {
        Notifications();
        notifications_.clear();
    }

    HWND window_ = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == UWM_FRAME_INDEX || message == UWM_SEQUENCE_END) {
            auto* list = reinterpret_cast<std::vector<Notification>*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (list) list->push_back({message, lParam});
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    std::vector<Notification> notifications_;
};

}  // namespace dshowtest
