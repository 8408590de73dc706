// The message loop: filter order of the base and of the program's loop, the
// first taker stopping a message, removal while asking, idle handlers, and the
// accelerator and dialog filters on real windows.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "AppGui/Framework/AcceleratorFilter.h"
#include "AppGui/Framework/DialogMessageFilter.h"
#include "AppGui/Framework/MessageLoop.h"
#include "AppGui/Framework/ModelessDialog.h"
#include "AppGui/Framework/MyMessageLoop.h"
#include "GuiTestSupport.h"
#include "gui_test_resources.h"
#include "resource.h"

namespace {

using Glob::CMyMessageLoop;
using Glob::IIdleHandler;
using Glob::IMessageFilter;
using Glob::MessageLoop;

constexpr UINT kProbe = WM_APP + 200;

struct Journal {
    std::vector<std::string> asked;
};

class NamedFilter : public IMessageFilter {
public:
    NamedFilter(Journal& journal, std::string name, bool takes)
        : journal_(journal), name_(std::move(name)), takes_(takes) {}
    bool PreTranslateMessage(MSG* message) override {
        journal_.asked.push_back(name_);
        if (onAsk) onAsk();
        return takes_ && message->message == kProbe;
    }
    std::function<void()> onAsk;

private:
    Journal& journal_;
    std::string name_;
    bool takes_;
};

MSG Probe(HWND window = nullptr) {
    MSG message{};
    message.hwnd = window;
    message.message = kProbe;
    return message;
}

TEST(MessageLoop, TheProgramsLoopAsksFirstAddedFirstAndStopsAtTheTaker) {
    Journal journal;
    NamedFilter a(journal, "a", false), b(journal, "b", true), c(journal, "c", true);
    CMyMessageLoop loop;
    loop.AddMessageFilter(&a);
    loop.AddMessageFilter(&b);
    loop.AddMessageFilter(&c);
    MSG message = Probe();
    EXPECT_TRUE(loop.PreTranslateMessage(&message));
    EXPECT_EQ(journal.asked, (std::vector<std::string>{"a", "b"}));
}

TEST(MessageLoop, TheBaseLoopAsksNewestFirst) {
    Journal journal;
    NamedFilter a(journal, "a", true), b(journal, "b", false), c(journal, "c", false);
    MessageLoop loop;
    loop.AddMessageFilter(&a);
    loop.AddMessageFilter(&b);
    loop.AddMessageFilter(&c);
    MSG message = Probe();
    EXPECT_TRUE(loop.PreTranslateMessage(&message));
    EXPECT_EQ(journal.asked, (std::vector<std::string>{"c", "b", "a"}));
}

TEST(MessageLoop, NobodyTakingLetsTheMessageThrough) {
    Journal journal;
    NamedFilter a(journal, "a", false);
    CMyMessageLoop loop;
    loop.AddMessageFilter(&a);
    MSG other{};
    other.message = WM_NULL;
    EXPECT_FALSE(loop.PreTranslateMessage(&other));
    EXPECT_FALSE(CMyMessageLoop().PreTranslateMessage(&other));  // no filters at all
}

TEST(MessageLoop, AddingTwiceAndRemovingStrangersAreRefused) {
    Journal journal;
    NamedFilter a(journal, "a", false), b(journal, "b", false);
    CMyMessageLoop loop;
    EXPECT_TRUE(loop.AddMessageFilter(&a));
    EXPECT_FALSE(loop.AddMessageFilter(&a));
    EXPECT_FALSE(loop.AddMessageFilter(nullptr));
    EXPECT_FALSE(loop.RemoveMessageFilter(&b));
    EXPECT_TRUE(loop.RemoveMessageFilter(&a));
    MSG message = Probe();
    loop.PreTranslateMessage(&message);
    EXPECT_TRUE(journal.asked.empty());
}

TEST(MessageLoop, AFilterMayRemoveOthersAndItselfWhileAsked) {
    Journal journal;
    NamedFilter a(journal, "a", false), b(journal, "b", true), c(journal, "c", false);
    CMyMessageLoop loop;
    a.onAsk = [&] {
        loop.RemoveMessageFilter(&b);
        loop.RemoveMessageFilter(&a);
    };
    loop.AddMessageFilter(&a);
    loop.AddMessageFilter(&b);
    loop.AddMessageFilter(&c);
    MSG message = Probe();
    EXPECT_FALSE(loop.PreTranslateMessage(&message));
    EXPECT_EQ(journal.asked, (std::vector<std::string>{"a", "c"}));
    journal.asked.clear();
    EXPECT_FALSE(loop.PreTranslateMessage(&message));
    EXPECT_EQ(journal.asked, (std::vector<std::string>{"c"}));
}

TEST(MessageLoop, TheProgramsLoopIsOneForTheProcess) {
    EXPECT_EQ(&CMyMessageLoop::Instance(), &CMyMessageLoop::Instance());
}

// A window that counts what reaches it.
class CountingWindow : public AppGui::Window {
public:
    int probes = 0;
    std::vector<UINT> commands;

protected:
    AppGui::WindowClassInfo ClassInfo() const override { return {L"OvTestCountingWindow"}; }
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == kProbe) {
            ++probes;
            result = 0;
            return true;
        }
        if (message == WM_COMMAND) {
            commands.push_back(LOWORD(wParam));
            result = 0;
            return true;
        }
        return Window::ProcessMessage(message, wParam, lParam, result);
    }
};

TEST(MessageLoop, RunDispatchesWhatNoFilterTookAndEndsWithTheQuitCode) {
    CountingWindow window;
    ASSERT_NE(window.Create(nullptr, RECT{0, 0, 100, 100}, L"", WS_OVERLAPPEDWINDOW), nullptr);
    Journal journal;
    bool takeNext = true;
    struct OneShot : IMessageFilter {
        bool* take;
        bool PreTranslateMessage(MSG* message) override {
            if (message->message != kProbe || !*take) return false;
            *take = false;
            return true;
        }
    } filter;
    filter.take = &takeNext;
    CMyMessageLoop loop;
    loop.AddMessageFilter(&filter);
    PostMessageW(window.Handle(), kProbe, 0, 0);  // taken by the filter
    PostMessageW(window.Handle(), kProbe, 0, 0);  // dispatched
    PostQuitMessage(17);
    EXPECT_EQ(loop.Run(), 17);
    EXPECT_EQ(window.probes, 1);
    window.Destroy();
}

class CountingIdle : public IIdleHandler {
public:
    int calls = 0;
    std::function<bool(int)> onIdle;
    bool OnIdle() override { return onIdle ? onIdle(++calls) : (++calls, false); }
};

TEST(MessageLoop, IdleHandlersRunWhenTheQueueIsEmptyAndAgainAfterAMessage) {
    CountingWindow window;
    ASSERT_NE(window.Create(nullptr, RECT{0, 0, 100, 100}, L"", WS_OVERLAPPEDWINDOW), nullptr);
    guitest::Pump();
    CountingIdle idle;
    idle.onIdle = [&](int call) {
        if (call == 1) PostMessageW(window.Handle(), kProbe, 0, 0);  // wakes the loop, then idle again
        if (call == 2) PostQuitMessage(0);
        return false;
    };
    CMyMessageLoop loop;
    loop.AddIdleHandler(&idle);
    EXPECT_EQ(loop.Run(), 0);
    EXPECT_EQ(idle.calls, 2);
    EXPECT_EQ(window.probes, 1);
    window.Destroy();
}

TEST(MessageLoop, AnIdleHandlerThatWantsMoreIsCalledUntilItIsDone) {
    CountingIdle eager, quiet;
    eager.onIdle = [](int call) {
        if (call == 5) PostQuitMessage(0);
        return call < 5;
    };
    CMyMessageLoop loop;
    loop.AddIdleHandler(&eager);
    loop.AddIdleHandler(&quiet);
    EXPECT_EQ(loop.Run(), 0);
    EXPECT_EQ(eager.calls, 5);
    EXPECT_EQ(quiet.calls, 5);  // every round asks every handler
    EXPECT_TRUE(loop.RemoveIdleHandler(&quiet));
    EXPECT_FALSE(loop.RemoveIdleHandler(&quiet));
}

TEST(MessageLoop, MouseMovesAndTimerTicksDoNotMakeTheLoopIdleAgain) {
    struct Exposed : CMyMessageLoop {
        bool Idle(UINT message) const {
            MSG m{};
            m.message = message;
            return IsIdleMessage(m);
        }
    } loop;
    EXPECT_FALSE(loop.Idle(WM_MOUSEMOVE));
    EXPECT_FALSE(loop.Idle(WM_NCMOUSEMOVE));
    EXPECT_FALSE(loop.Idle(WM_TIMER));
    EXPECT_FALSE(loop.Idle(WM_PAINT));
    EXPECT_TRUE(loop.Idle(WM_KEYDOWN));
    EXPECT_TRUE(loop.Idle(WM_COMMAND));
}

// Holds Ctrl down (or not) in this thread's keyboard state while it lives.
class ControlKey {
public:
    explicit ControlKey(bool down) {
        GetKeyboardState(saved_);
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_CONTROL] = state[VK_LCONTROL] = down ? 0x80 : 0;
        SetKeyboardState(state);
    }
    ~ControlKey() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

UINT CommandOfKey(CountingWindow& window, Glob::IMessageFilter& filter, UINT key, bool control) {
    ControlKey ctrl(control);
    window.commands.clear();
    MSG message{};
    message.hwnd = window.Handle();
    message.message = WM_KEYDOWN;
    message.wParam = key;
    message.lParam = 1;
    const bool taken = filter.PreTranslateMessage(&message);
    if (!taken) return 0;
    return window.commands.size() == 1 ? window.commands[0] : 0xFFFF;
}

TEST(AcceleratorFilter, TheMainTableTurnsControlKeysIntoTheCommands) {
    CountingWindow window;
    ASSERT_NE(window.Create(nullptr, RECT{0, 0, 100, 100}, L"", WS_OVERLAPPEDWINDOW), nullptr);
    Glob::CIsTranslateAcceleratorFilter filter(window.Handle(), static_cast<UINT>(IDR_MAINFRAME));
    ASSERT_NE(filter.Table(), nullptr);
    EXPECT_EQ(CommandOfKey(window, filter, 'W', true), 40024u);
    EXPECT_EQ(CommandOfKey(window, filter, 'N', true), 40021u);
    EXPECT_EQ(CommandOfKey(window, filter, 'O', true), 40022u);
    EXPECT_EQ(CommandOfKey(window, filter, 'S', true), 40023u);
    EXPECT_EQ(CommandOfKey(window, filter, '1', true), 40025u);
    EXPECT_EQ(CommandOfKey(window, filter, VK_OEM_PLUS, true), 40027u);
    EXPECT_EQ(CommandOfKey(window, filter, VK_OEM_MINUS, true), 40028u);
    // No key for "fit", and nothing without Ctrl.
    EXPECT_EQ(CommandOfKey(window, filter, '0', true), 0u);
    EXPECT_EQ(CommandOfKey(window, filter, 'N', false), 0u);
    window.Destroy();
}

TEST(AcceleratorFilter, InsideTheProgramsLoopAKeyNeverReachesTheWindowAsAKey) {
    CountingWindow window;
    ASSERT_NE(window.Create(nullptr, RECT{0, 0, 100, 100}, L"", WS_OVERLAPPEDWINDOW), nullptr);
    Glob::CIsTranslateAcceleratorFilter filter(window.Handle(), static_cast<UINT>(IDR_MAINFRAME));
    CMyMessageLoop loop;
    loop.AddMessageFilter(&filter);
    {
        ControlKey ctrl(true);
        PostMessageW(window.Handle(), WM_KEYDOWN, 'S', 1);
        PostQuitMessage(0);
        loop.Run();
    }
    EXPECT_EQ(window.commands, (std::vector<UINT>{40023u}));
    window.Destroy();
}

TEST(AcceleratorFilter, ADestroyedWindowTakesNothing) {
    CountingWindow window;
    ASSERT_NE(window.Create(nullptr, RECT{0, 0, 100, 100}, L"", WS_OVERLAPPEDWINDOW), nullptr);
    Glob::CIsTranslateAcceleratorFilter filter(window.Handle(), static_cast<UINT>(IDR_MAINFRAME));
    HWND gone = window.Handle();
    window.Destroy();
    ControlKey ctrl(true);
    MSG message{gone, WM_KEYDOWN, 'N', 1, 0, {}};
    EXPECT_FALSE(filter.PreTranslateMessage(&message));
}

class PaneDialog : public AppGui::ModelessDialog {
public:
    PaneDialog() : ModelessDialog(IDD_TEST_PANE) {}
};

TEST(DialogMessageFilter, TabMovesBetweenThePanesControls) {
    guitest::TopWindow top;
    ASSERT_NE(top.CreateWithClient(400, 300), nullptr);
    PaneDialog pane;
    ASSERT_NE(pane.Create(top.Handle()), nullptr);
    SetForegroundWindow(top.Handle());
    SetFocus(pane.Item(IDC_TEST_FIRST));
    ASSERT_EQ(GetFocus(), pane.Item(IDC_TEST_FIRST));

    Glob::CIsDialogMessageFilter filter(pane.Handle());
    MSG tab{pane.Item(IDC_TEST_FIRST), WM_KEYDOWN, VK_TAB, 1, 0, {}};
    EXPECT_TRUE(filter.PreTranslateMessage(&tab));
    guitest::Pump();
    EXPECT_EQ(GetFocus(), pane.Item(IDC_TEST_SECOND));

    // Messages of windows outside the pane are not its business.
    MSG outside{top.Handle(), WM_KEYDOWN, VK_TAB, 1, 0, {}};
    EXPECT_FALSE(filter.PreTranslateMessage(&outside));
    top.Destroy();
    EXPECT_FALSE(filter.PreTranslateMessage(&tab));  // the pane is gone
}

}  // namespace
