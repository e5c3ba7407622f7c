// Modal dialogs: creation from a template, OnInitDialog, the end codes of
// OnOK, OnCancel and EndDialog, the dialog manager's keys and commands,
// showing, owners and centring.

#include "FrameworkTestResources.h"
#include "ScriptedDialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class DialogTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_FALSE(m_watchdog.Fired()) << "a modal loop had to be ended by the watchdog"; }

    CWinApp m_app;
    ModalWatchdog m_watchdog;
};

void PostKey(ScriptedDialog& dialog, WPARAM key)
{
    // To the focused control, where the keyboard would send it.
    PostMessageA(GetDlgItem(dialog.m_hWnd, IDOK), WM_KEYDOWN, key, 1);
}

RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT WorkArea()
{
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

int CentreX(const RECT& rect)
{
    return (rect.left + rect.right) / 2;
}

int CentreY(const RECT& rect)
{
    return (rect.top + rect.bottom) / 2;
}

TEST_F(DialogTest, RunsModallyAndEndsWithTheCodeOfOnOK)
{
    ScriptedDialog dialog(IDD_TEST_BUTTONS);
    HWND window = nullptr;
    std::string caption;
    dialog.onInit = [&](ScriptedDialog& self) {
        window = self.m_hWnd;
        caption = testing_support::WindowTextOf(window);
        self.PostMessage(WM_APP);
    };
    dialog.onApp = [](ScriptedDialog& self, WPARAM) { self.OnOK(); };

    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(1, dialog.initCalls);
    EXPECT_EQ("Framework Test", caption);
    EXPECT_FALSE(IsWindow(window)) << "the window ends with the modal run";
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST_F(DialogTest, EndsWithTheCodeOfOnCancel)
{
    ScriptedDialog dialog(IDD_TEST_BUTTONS);
    dialog.onInit = [](ScriptedDialog& self) { self.PostMessage(WM_APP); };
    dialog.onApp = [](ScriptedDialog& self, WPARAM) { self.OnCancel(); };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

TEST_F(DialogTest, EndsWithTheCodeGivenToEndDialog)
{
    ScriptedDialog dialog(IDD_TEST_BUTTONS);
    dialog.onInit = [](ScriptedDialog& self) { self.PostMessage(WM_APP); };
    dialog.onApp = [](ScriptedDialog& self, WPARAM) { self.EndDialog(4711); };
    EXPECT_EQ(4711, dialog.DoModal());
}

TEST_F(DialogTest, CanRunAgainAfterItEnded)
{
    ScriptedDialog dialog(IDD_TEST_BUTTONS);
    dialog.onInit = [](ScriptedDialog& self) { self.PostMessage(WM_APP); };
    dialog.onApp = [](ScriptedDialog& self, WPARAM) { self.EndDialog(7); };
    EXPECT_EQ(7, dialog.DoModal());
    EXPECT_EQ(7, dialog.DoModal());
    EXPECT_EQ(2, dialog.initCalls);
}

TEST_F(DialogTest, ButtonCommandsGoToOnOKAndOnCancel)
{
    ScriptedDialog okDialog(IDD_TEST_BUTTONS);
    okDialog.onInit = [](ScriptedDialog& self) {
        self.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
            reinterpret_cast<LPARAM>(GetDlgItem(self.m_hWnd, IDOK)));
    };
    EXPECT_EQ(IDOK, okDialog.DoModal());

    ScriptedDialog cancelDialog(IDD_TEST_BUTTONS);
    cancelDialog.onInit = [](ScriptedDialog& self) { PostMessageA(GetDlgItem(self.m_hWnd, IDCANCEL), BM_CLICK, 0, 0); };
    EXPECT_EQ(IDCANCEL, cancelDialog.DoModal());
}

TEST_F(DialogTest, EscapeEndsAsCancelAndEnterAsOK)
{
    ScriptedDialog escaped(IDD_TEST_BUTTONS);
    escaped.onInit = [](ScriptedDialog& self) { PostKey(self, VK_ESCAPE); };
    EXPECT_EQ(IDCANCEL, escaped.DoModal());

    ScriptedDialog entered(IDD_TEST_BUTTONS);
    entered.onInit = [](ScriptedDialog& self) { PostKey(self, VK_RETURN); };
    EXPECT_EQ(IDOK, entered.DoModal());
}

// Drops every key meant for it or its controls, as a dialog that is never
// shown must, and counts what its modal loop offered it.
class KeyDroppingDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    int droppedKeys = 0;

    BOOL PreTranslateMessage(MSG* message) override
    {
        if (message->message != WM_KEYDOWN)
            return FALSE;
        ++droppedKeys;
        return TRUE;
    }
};

TEST_F(DialogTest, KeysDroppedBeforeTranslationBecomeNoCommandWhileSentCommandsStillArrive)
{
    KeyDroppingDialog dialog(IDD_TEST_BUTTONS);
    dialog.onInit = [](ScriptedDialog& self) {
        PostKey(self, VK_RETURN);
        PostKey(self, VK_SPACE);
        PostKey(self, VK_ESCAPE);
        self.PostMessage(WM_APP);
    };
    dialog.onApp = [](ScriptedDialog& self, WPARAM) { self.PostMessage(WM_COMMAND, IDCANCEL); };
    EXPECT_EQ(IDCANCEL, dialog.DoModal()) << "Enter must not have ended it as OK";
    EXPECT_EQ(3, dialog.droppedKeys) << "each key to a control is offered to the dialog that holds it";
}

TEST_F(DialogTest, ANestedDialogsLoopOffersTheOuterDialogsKeysToTheOuterOne)
{
    KeyDroppingDialog outer(IDD_TEST_BUTTONS);
    ScriptedDialog inner(IDD_TEST_BUTTONS);
    outer.onInit = [&](ScriptedDialog& self) {
        inner.DoModal();
        self.PostMessage(WM_APP);
    };
    inner.onInit = [&](ScriptedDialog& self) {
        PostKey(outer, VK_RETURN);
        self.PostMessage(WM_APP);
    };
    inner.onApp = [](ScriptedDialog& self, WPARAM) { self.EndDialog(7); };
    outer.onApp = [](ScriptedDialog& self, WPARAM) { self.EndDialog(8); };
    EXPECT_EQ(8, outer.DoModal());
    EXPECT_EQ(1, outer.droppedKeys);
}

TEST_F(DialogTest, CloseCommandEndsAsCancel)
{
    ScriptedDialog dialog(IDD_TEST_BUTTONS);
    dialog.onInit = [](ScriptedDialog& self) { self.PostMessage(WM_SYSCOMMAND, SC_CLOSE); };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

// Binds IDCANCEL to a handler of its own, which hides the dialog instead of
// ending it.
class HidingDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    int hideCalls = 0;

protected:
    afx_msg void OnHideWindow()
    {
        ++hideCalls;
        ShowWindow(SW_HIDE);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HidingDialog, ScriptedDialog)
    ON_COMMAND(IDCANCEL, OnHideWindow)
END_MESSAGE_MAP()

TEST_F(DialogTest, DerivedMapTakesCancelBeforeOnCancel)
{
    HidingDialog dialog(IDD_TEST_BUTTONS);
    dialog.onInit = [](ScriptedDialog& self) {
        PostKey(self, VK_ESCAPE);
        self.PostMessage(WM_SYSCOMMAND, SC_CLOSE);
        self.PostMessage(WM_APP);
    };
    bool stillRunning = false;
    dialog.onApp = [&](ScriptedDialog& self, WPARAM) {
        // The close command arrives as a posted IDCANCEL, after this message:
        // wait for it before ending.
        if (static_cast<HidingDialog&>(self).hideCalls < 2) {
            self.PostMessage(WM_APP);
            return;
        }
        stillRunning = IsWindow(self.m_hWnd) != FALSE;
        self.EndDialog(99);
    };

    EXPECT_EQ(99, dialog.DoModal());
    EXPECT_EQ(2, dialog.hideCalls) << "Escape and the close command both reach the derived handler";
    EXPECT_TRUE(stillRunning);
}

// Answers its own system command and leaves every other one to default
// processing, through the base class's handler.
class SystemMenuDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    int ownCommands = 0;

protected:
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam)
    {
        if ((nID & 0xFFF0) == 0x0010)
            ++ownCommands;
        else
            ScriptedDialog::OnSysCommand(nID, lParam);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SystemMenuDialog, ScriptedDialog)
    ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

TEST_F(DialogTest, SystemCommandsTheMapLeavesBehaveAsUsual)
{
    SystemMenuDialog dialog(IDD_TEST_BUTTONS);
    dialog.onInit = [](ScriptedDialog& self) {
        self.PostMessage(WM_SYSCOMMAND, 0x0010);
        self.PostMessage(WM_SYSCOMMAND, 0x001F);
        self.PostMessage(WM_SYSCOMMAND, SC_CLOSE);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal()) << "SC_CLOSE reached the dialog manager";
    EXPECT_EQ(2, dialog.ownCommands);
}

TEST_F(DialogTest, UnhandledMessagesGetDefaultProcessing)
{
    ScriptedDialog dialog(IDD_TEST_BUTTONS);
    char text[64] = {};
    LRESULT length = 0;
    dialog.onInit = [&](ScriptedDialog& self) {
        self.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Renamed"));
        length = self.SendMessage(WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        self.PostMessage(WM_COMMAND, IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_STREQ("Renamed", text);
    EXPECT_EQ(7, length);
}

TEST_F(DialogTest, CannotBeCreatedFromAMissingTemplate)
{
    ScriptedDialog dialog(IDD_TEST_MISSING);
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_EQ(0, dialog.initCalls);
}

TEST_F(DialogTest, IsShownOnceTheQueueIsFirstEmpty)
{
    ScriptedDialog dialog(IDD_TEST_BUTTONS);
    bool visibleAtInit = true;
    int ticks = 0;
    dialog.onInit = [&](ScriptedDialog& self) {
        visibleAtInit = self.IsWindowVisible() != FALSE;
        SetTimer(self.m_hWnd, 1, 20, nullptr);
    };
    dialog.onTimer = [&](ScriptedDialog& self, WPARAM) {
        if (self.IsWindowVisible())
            self.EndDialog(IDOK);
        else if (++ticks > 100)
            self.EndDialog(IDABORT);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_FALSE(visibleAtInit);
}

TEST_F(DialogTest, RunsModallyWhileItKeepsItselfHidden)
{
    HiddenDialog dialog(IDD_TEST_VISIBLE);
    int ticks = 0;
    bool everVisible = false;
    dialog.onInit = [](ScriptedDialog& self) { SetTimer(self.m_hWnd, 1, 20, nullptr); };
    dialog.onTimer = [&](ScriptedDialog& self, WPARAM) {
        everVisible = everVisible || self.IsWindowVisible();
        if (++ticks == 3)
            self.ShowWindow(SW_SHOW);
        if (ticks == 10)
            self.EndDialog(IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_FALSE(everVisible);
    // The template's visible style, the loop's first show and ShowWindow.
    EXPECT_GE(dialog.showAttempts, 3);
}

TEST_F(DialogTest, MainWindowOwnsAParentlessDialogAndIsDisabledWhileItRuns)
{
    ScriptedDialog mainDialog(IDD_TEST_BUTTONS);
    m_app.m_pMainWnd = &mainDialog;
    HWND mainWindow = nullptr;
    HWND mainOwner = nullptr;
    HWND innerOwner = nullptr;
    BOOL enabledDuring = TRUE;
    BOOL enabledAfter = FALSE;
    INT_PTR innerResult = 0;
    mainDialog.onInit = [&](ScriptedDialog& self) {
        mainWindow = self.m_hWnd;
        mainOwner = GetWindow(self.m_hWnd, GW_OWNER);
        self.PostMessage(WM_APP);
    };
    mainDialog.onApp = [&](ScriptedDialog& self, WPARAM) {
        ScriptedDialog inner(IDD_TEST_CORNER);
        inner.onInit = [&](ScriptedDialog& innerSelf) {
            innerOwner = GetWindow(innerSelf.m_hWnd, GW_OWNER);
            enabledDuring = IsWindowEnabled(self.m_hWnd);
            innerSelf.PostMessage(WM_COMMAND, IDOK);
        };
        innerResult = inner.DoModal();
        enabledAfter = IsWindowEnabled(self.m_hWnd);
        self.EndDialog(IDOK);
    };

    EXPECT_EQ(IDOK, mainDialog.DoModal());
    EXPECT_EQ(nullptr, mainOwner) << "the main window does not own itself";
    EXPECT_EQ(IDOK, innerResult);
    ASSERT_NE(nullptr, mainWindow);
    EXPECT_EQ(mainWindow, innerOwner);
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(enabledAfter);
}

// Runs `inner` from inside `outer`'s modal loop and returns the inner
// window's rectangle as it stands once its initialisation is over.
RECT RectOfNestedDialog(ScriptedDialog& outer, ScriptedDialog& inner)
{
    RECT innerRect{};
    outer.onApp = [&](ScriptedDialog& self, WPARAM) {
        inner.onApp = [&](ScriptedDialog& innerSelf, WPARAM) {
            innerRect = WindowRect(innerSelf.m_hWnd);
            innerSelf.EndDialog(IDOK);
        };
        inner.DoModal();
        self.EndDialog(IDOK);
    };
    auto outerInit = outer.onInit;
    outer.onInit = [&, outerInit](ScriptedDialog& self) {
        if (outerInit)
            outerInit(self);
        self.PostMessage(WM_APP);
    };
    auto innerInit = inner.onInit;
    inner.onInit = [innerInit](ScriptedDialog& self) {
        if (innerInit)
            innerInit(self);
        self.PostMessage(WM_APP);
    };
    EXPECT_EQ(IDOK, outer.DoModal());
    return innerRect;
}

TEST_F(DialogTest, IsCentredOnTheScreenWhenTheMainWindowIsHidden)
{
    HiddenDialog mainDialog(IDD_TEST_VISIBLE);
    m_app.m_pMainWnd = &mainDialog;
    ScriptedDialog about(IDD_TEST_CORNER);
    const RECT rect = RectOfNestedDialog(mainDialog, about);

    const RECT area = WorkArea();
    EXPECT_LE(std::abs(CentreX(rect) - CentreX(area)), 1) << rect.left << "," << rect.top;
    EXPECT_LE(std::abs(CentreY(rect) - CentreY(area)), 1) << rect.left << "," << rect.top;
    EXPECT_GT(rect.left, 0);
}

TEST_F(DialogTest, IsCentredOnAVisibleOwner)
{
    ScriptedDialog mainDialog(IDD_TEST_LARGE);
    m_app.m_pMainWnd = &mainDialog;
    RECT mainRect{};
    mainDialog.onInit = [&](ScriptedDialog& self) {
        SetWindowPos(self.m_hWnd, nullptr, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        self.ShowWindow(SW_SHOWNA);
        mainRect = WindowRect(self.m_hWnd);
    };
    ScriptedDialog about(IDD_TEST_CORNER);
    const RECT rect = RectOfNestedDialog(mainDialog, about);

    ASSERT_EQ(40, mainRect.left);
    EXPECT_LE(std::abs(CentreX(rect) - CentreX(mainRect)), 1);
    EXPECT_LE(std::abs(CentreY(rect) - CentreY(mainRect)), 1);
}

TEST_F(DialogTest, StaysWhereOnInitDialogMovedIt)
{
    HiddenDialog mainDialog(IDD_TEST_VISIBLE);
    m_app.m_pMainWnd = &mainDialog;
    ScriptedDialog moved(IDD_TEST_CORNER);
    moved.onInit = [](ScriptedDialog& self) {
        SetWindowPos(self.m_hWnd, nullptr, 13, 17, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    const RECT rect = RectOfNestedDialog(mainDialog, moved);
    EXPECT_EQ(13, rect.left);
    EXPECT_EQ(17, rect.top);
}

} // namespace
