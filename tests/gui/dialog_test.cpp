// Modal and modeless dialogs over resource templates: the template's Russian
// texts, initialisation, the default OK/Cancel handling, results, and the
// modeless dialog's place in the message loop.
#include <gtest/gtest.h>

#include "AppGui/Framework/ModalDialog.h"
#include "AppGui/Framework/ModelessDialog.h"
#include "AppGui/Framework/MyMessageLoop.h"
#include "GuiTestSupport.h"
#include "gui_test_resources.h"

namespace {

// Ends itself from the message queue with the command `finish`.
class CDialogProbe : public AppGui::ModalDialog {
public:
    CDialogProbe() : ModalDialog(IDD_TEST_MODAL) {}

    UINT finish = IDOK;
    bool sawInit = false;
    std::wstring caption, label, typed;
    std::vector<UINT> commands;

protected:
    bool OnInitDialog(HWND defaultFocus) override {
        sawInit = true;
        wchar_t text[128] = {};
        GetWindowTextW(Handle(), text, 128);
        caption = text;
        label = ItemText(IDC_TEST_LABEL);
        SetItemText(IDC_TEST_FIRST, L"Камера ZEL-1");
        PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(finish, BN_CLICKED), 0);
        return true;
    }
    void OnCommand(UINT id, UINT code, HWND control) override {
        if (code == BN_CLICKED) commands.push_back(id);  // not the edits' notifications
        if (id == IDOK) typed = ItemText(IDC_TEST_FIRST);
        if (id == 1234) {
            End(77);
            return;
        }
        ModalDialog::OnCommand(id, code, control);
    }
};

TEST(ModalDialog, RunsTheTemplateAndEndsWithOk) {
    CDialogProbe dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    EXPECT_TRUE(dialog.sawInit);
    EXPECT_EQ(dialog.caption, L"Проверка диалога");
    EXPECT_EQ(dialog.label, L"Имя камеры:");
    EXPECT_EQ(dialog.typed, L"Камера ZEL-1");
    EXPECT_EQ(dialog.Handle(), nullptr);  // gone after the run
}

TEST(ModalDialog, CancelEndsWithCancel) {
    CDialogProbe dialog;
    dialog.finish = IDCANCEL;
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
    EXPECT_EQ(dialog.commands, (std::vector<UINT>{IDCANCEL}));
}

TEST(ModalDialog, ADerivedCommandEndsWithItsOwnResult) {
    CDialogProbe dialog;
    dialog.finish = 1234;
    EXPECT_EQ(dialog.DoModal(nullptr), 77);
}

TEST(ModalDialog, IsOwnedAndCanRunAgain) {
    guitest::TopWindow owner;
    ASSERT_NE(owner.CreateWithClient(300, 200), nullptr);
    CDialogProbe dialog;
    EXPECT_EQ(dialog.DoModal(owner.Handle()), IDOK);
    EXPECT_EQ(dialog.DoModal(owner.Handle()), IDOK);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));  // re-enabled after each run
    owner.Destroy();
}

class MissingTemplate : public AppGui::ModalDialog {
public:
    MissingTemplate() : ModalDialog(4321) {}
};

TEST(ModalDialog, AMissingTemplateGivesMinusOne) {
    MissingTemplate dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), -1);
}

class PaneDialog : public AppGui::ModelessDialog {
public:
    PaneDialog() : ModelessDialog(IDD_TEST_PANE) {}
    std::vector<UINT> commands;
    int finals = 0;

protected:
    bool OnInitDialog(HWND) override {
        SetItemText(IDC_TEST_FIRST, L"100");
        return false;
    }
    void OnCommand(UINT id, UINT code, HWND) override {
        if (code == BN_CLICKED) commands.push_back(id);
    }
    void OnFinalMessage(HWND) override { ++finals; }
};

TEST(ModelessDialog, IsAChildPaneWithTheTemplatesControls) {
    guitest::TopWindow top;
    ASSERT_NE(top.CreateWithClient(400, 300), nullptr);
    PaneDialog pane;
    HWND handle = pane.Create(top.Handle());
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GetParent(handle), top.Handle());
    EXPECT_EQ(AppGui::DialogBase::FromHandle(handle), &pane);
    EXPECT_EQ(pane.ItemText(IDC_TEST_LABEL), L"Экспозиция");
    EXPECT_EQ(pane.ItemText(IDC_TEST_FIRST), L"100");
    EXPECT_EQ(pane.Create(top.Handle()), nullptr);  // one window per object

    // Enter and Escape do not close a pane.
    SendMessageW(handle, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SendMessageW(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(handle));
    EXPECT_EQ(pane.commands, (std::vector<UINT>{IDOK, IDCANCEL}));

    top.Destroy();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(pane.Handle(), nullptr);
    EXPECT_EQ(pane.finals, 1);
}

// Runs one message through the loop's filters the way Run() would.
bool Filtered(Glob::MessageLoop& loop, HWND window, UINT key) {
    MSG message{window, WM_KEYDOWN, key, 1, 0, {}};
    return loop.PreTranslateMessage(&message);
}

TEST(ModelessDialog, SitsInTheLoopWhileItsWindowLives) {
    guitest::TopWindow top;
    ASSERT_NE(top.CreateWithClient(400, 300), nullptr);
    Glob::CMyMessageLoop loop;
    {
        PaneDialog pane;
        ASSERT_NE(pane.Create(top.Handle(), &loop), nullptr);
        SetForegroundWindow(top.Handle());
        SetFocus(pane.Item(IDC_TEST_FIRST));
        EXPECT_TRUE(Filtered(loop, pane.Item(IDC_TEST_FIRST), VK_TAB));
        guitest::Pump();
        EXPECT_EQ(GetFocus(), pane.Item(IDC_TEST_SECOND));

        EXPECT_TRUE(pane.Destroy());
        EXPECT_FALSE(Filtered(loop, top.Handle(), VK_TAB));

        // Again, this time leaving with the object.
        ASSERT_NE(pane.Create(top.Handle(), &loop), nullptr);
    }
    struct Count : Glob::IMessageFilter {
        int asked = 0;
        bool PreTranslateMessage(MSG*) override { return ++asked, false; }
    } count;
    loop.AddMessageFilter(&count);
    EXPECT_FALSE(Filtered(loop, top.Handle(), VK_TAB));  // no dangling dialog filter before it
    EXPECT_EQ(count.asked, 1);
    top.Destroy();
}

}  // namespace
