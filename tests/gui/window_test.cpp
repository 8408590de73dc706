// The window base: class registration, the message map with chaining, the
// object/handle link and the end of a window's life.
#include <gtest/gtest.h>

#include "GuiTestSupport.h"

namespace {

using guitest::TopWindow;

constexpr UINT kAsk = WM_APP + 100;
constexpr UINT kAskBase = WM_APP + 101;

// Handles kAskBase only; everything else goes on to DefWindowProc.
class BaseWindow : public AppGui::Window {
public:
    int creates = 0;
    int destroys = 0;
    int finals = 0;
    HWND finalHandle = nullptr;
    bool failCreate = false;

protected:
    AppGui::WindowClassInfo ClassInfo() const override { return {L"OvTestBaseWindow"}; }
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        switch (message) {
            case WM_CREATE:
                ++creates;
                result = failCreate ? -1 : 0;
                return true;
            case WM_DESTROY:
                ++destroys;
                result = 0;
                return true;
            case kAskBase:
                result = static_cast<LRESULT>(wParam) * 2;
                return true;
            default:
                return Window::ProcessMessage(message, wParam, lParam, result);
        }
    }
    void OnFinalMessage(HWND window) override {
        ++finals;
        finalHandle = window;
    }
};

// Adds kAsk and overrides nothing else: kAskBase must reach the base's map.
class DerivedWindow : public BaseWindow {
protected:
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == kAsk) {
            result = 42;
            return true;
        }
        return BaseWindow::ProcessMessage(message, wParam, lParam, result);
    }
};

const RECT kRect{10, 10, 210, 110};

TEST(Window, CreatesRegistersAndLinksObjectAndHandle) {
    DerivedWindow window;
    HWND handle = window.Create(nullptr, kRect, L"Окно", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(window.Handle(), handle);
    EXPECT_EQ(window.creates, 1);
    EXPECT_EQ(AppGui::Window::FromHandle(handle), &window);

    wchar_t className[64] = {};
    GetClassNameW(handle, className, 64);
    EXPECT_STREQ(className, L"OvTestBaseWindow");
    wchar_t title[64] = {};
    GetWindowTextW(handle, title, 64);
    EXPECT_STREQ(title, L"Окно");

    // A second window of the class reuses the registration.
    DerivedWindow second;
    EXPECT_NE(second.Create(nullptr, kRect, L"", WS_OVERLAPPEDWINDOW), nullptr);
    EXPECT_TRUE(second.Destroy());
    EXPECT_TRUE(window.Destroy());
}

TEST(Window, MessageMapChainsToTheBaseAndThenToTheDefault) {
    DerivedWindow window;
    ASSERT_NE(window.Create(nullptr, kRect, L"", WS_OVERLAPPEDWINDOW), nullptr);
    EXPECT_EQ(SendMessageW(window.Handle(), kAsk, 0, 0), 42);
    EXPECT_EQ(SendMessageW(window.Handle(), kAskBase, 21, 0), 42);
    // Unhandled: DefWindowProc keeps the text.
    SendMessageW(window.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Новый заголовок"));
    wchar_t title[64] = {};
    GetWindowTextW(window.Handle(), title, 64);
    EXPECT_STREQ(title, L"Новый заголовок");
    window.Destroy();
}

TEST(Window, DestroyRunsTheHandlersAndUnlinks) {
    DerivedWindow window;
    HWND handle = window.Create(nullptr, kRect, L"", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(window.Destroy());
    EXPECT_EQ(window.destroys, 1);
    EXPECT_EQ(window.finals, 1);
    EXPECT_EQ(window.finalHandle, handle);
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(AppGui::Window::FromHandle(handle), nullptr);
    EXPECT_FALSE(window.Destroy());
    // The object can make a new window afterwards.
    EXPECT_NE(window.Create(nullptr, kRect, L"", WS_OVERLAPPEDWINDOW), nullptr);
    window.Destroy();
}

TEST(Window, AFailedCreateLeavesNoWindow) {
    DerivedWindow window;
    window.failCreate = true;
    EXPECT_EQ(window.Create(nullptr, kRect, L"", WS_OVERLAPPEDWINDOW), nullptr);
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_EQ(window.finals, 1);
}

TEST(Window, AnObjectGoingFirstTakesItsWindowAlongQuietly) {
    HWND handle = nullptr;
    {
        DerivedWindow window;
        handle = window.Create(nullptr, kRect, L"", WS_OVERLAPPEDWINDOW);
        ASSERT_NE(handle, nullptr);
    }
    EXPECT_FALSE(IsWindow(handle));
}

TEST(Window, ChildrenGoWithTheirParent) {
    TopWindow top;
    ASSERT_NE(top.CreateWithClient(300, 200), nullptr);
    BaseWindow child;
    ASSERT_NE(child.CreateChild(top.Handle(), 7), nullptr);
    EXPECT_EQ(GetParent(child.Handle()), top.Handle());
    EXPECT_EQ(GetDlgCtrlID(child.Handle()), 7);
    const LONG style = GetWindowLongW(child.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_TRUE(style & WS_CLIPSIBLINGS);
    top.Destroy();
    EXPECT_EQ(child.Handle(), nullptr);
    EXPECT_EQ(child.destroys, 1);
}

TEST(Window, WindowsOfOtherCodeAreNotOurs) {
    HWND button = CreateWindowExW(0, L"BUTTON", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(AppGui::Window::FromHandle(button), nullptr);
    DestroyWindow(button);
    EXPECT_EQ(AppGui::Window::FromHandle(nullptr), nullptr);
}

}  // namespace
