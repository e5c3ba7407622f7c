// AfxMessageBox: caption, icon, owner and result, read from the real box
// while it is open.

#include "FrameworkTestResources.h"
#include "ScriptedDialog.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// What a box showed, read while it was open.
struct SeenBox {
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    HICON icon = nullptr;
    bool found = false;
};

bool IsStatic(HWND child, bool icon)
{
    const bool isIcon = (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    return lstrcmpiA(testing_support::ClassNameOf(child).c_str(), "Static") == 0 && isIcon == icon;
}

BOOL CALLBACK FindIcon(HWND child, LPARAM lParam)
{
    // Wine and Windows give the icon control different identifiers: find it
    // by class and style.
    if (IsStatic(child, true) && IsWindowVisible(child)) {
        *reinterpret_cast<HICON*>(lParam) = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindText(HWND child, LPARAM lParam)
{
    const std::string text = IsStatic(child, false) ? testing_support::WindowTextOf(child) : std::string();
    if (text.empty())
        return TRUE;
    *reinterpret_cast<std::string*>(lParam) = text;
    return FALSE;
}

SeenBox* g_seen = nullptr;
UINT g_answer = IDOK;
// A visible dialog of ours that is not the box.
HWND g_notTheBox = nullptr;

// Reads the open box (a dialog of this thread other than ours) and answers it.
void CALLBACK ReadAndAnswer(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = FindThreadWindow("#32770", nullptr, g_notTheBox);
    if (box == nullptr || CWnd::FromHandlePermanent(box) != nullptr)
        return;
    KillTimer(nullptr, timer);
    g_seen->caption = testing_support::WindowTextOf(box);
    g_seen->owner = GetWindow(box, GW_OWNER);
    EnumChildWindows(box, &FindIcon, reinterpret_cast<LPARAM>(&g_seen->icon));
    EnumChildWindows(box, &FindText, reinterpret_cast<LPARAM>(&g_seen->text));
    g_seen->found = true;
    PostMessageA(box, WM_COMMAND, g_answer, 0);
}

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_app.emplace();
        m_app->m_pMainWnd = &m_mainDialog;
    }
    void TearDown() override { EXPECT_FALSE(m_watchdog.Fired()) << "a modal loop had to be ended by the watchdog"; }

    // Shows the box from inside the hidden main dialog's modal loop, answers
    // it with `answer` and returns AfxMessageBox's result.
    int ShowFromMainDialog(const char* text, UINT type, UINT answer)
    {
        int result = 0;
        g_seen = &m_seen;
        g_answer = answer;
        m_mainDialog.onInit = [](ScriptedDialog& self) { self.PostMessage(WM_APP); };
        m_mainDialog.onApp = [&](ScriptedDialog& self, WPARAM) {
            m_mainWindow = self.m_hWnd;
            const UINT_PTR timer = SetTimer(nullptr, 0, 30, &ReadAndAnswer);
            result = AfxMessageBox(text, type);
            KillTimer(nullptr, timer);
            self.EndDialog(IDOK);
        };
        EXPECT_EQ(IDOK, m_mainDialog.DoModal());
        g_seen = nullptr;
        return result;
    }

    std::optional<CWinApp> m_app;
    HiddenDialog m_mainDialog{ IDD_TEST_VISIBLE };
    ModalWatchdog m_watchdog;
    SeenBox m_seen;
    HWND m_mainWindow = nullptr;
};

TEST_F(MessageBoxTest, YesNoBoxHasTheDisplayNameTheQuestionIconAndTheMainWindowAsOwner)
{
    EXPECT_EQ(IDYES, ShowFromMainDialog("Are you sure?", MB_YESNO | MB_DEFBUTTON2, IDYES));
    ASSERT_TRUE(m_seen.found);
    // The program file's name without its extension.
    EXPECT_EQ("framework_dialog_tests", m_seen.caption);
    EXPECT_EQ("Are you sure?", m_seen.text);
    EXPECT_EQ(m_mainWindow, m_seen.owner);
    EXPECT_EQ(LoadIconA(nullptr, IDI_QUESTION), m_seen.icon);
}

TEST_F(MessageBoxTest, ReturnsTheButtonPressed)
{
    EXPECT_EQ(IDNO, ShowFromMainDialog("Again?", MB_YESNO, IDNO));
    EXPECT_EQ(IDCANCEL, ShowFromMainDialog("Again?", MB_YESNOCANCEL, IDCANCEL));
    EXPECT_EQ(LoadIconA(nullptr, IDI_QUESTION), m_seen.icon);
}

TEST_F(MessageBoxTest, KeepsAnIconTheCallerChose)
{
    EXPECT_EQ(IDYES, ShowFromMainDialog("Careful", MB_YESNO | MB_ICONWARNING, IDYES));
    EXPECT_EQ(LoadIconA(nullptr, IDI_WARNING), m_seen.icon);
}

TEST_F(MessageBoxTest, OtherBoxesGetNoQuestionIcon)
{
    EXPECT_EQ(IDOK, ShowFromMainDialog("Done", MB_OK, IDOK));
    ASSERT_TRUE(m_seen.found);
    EXPECT_EQ(nullptr, m_seen.icon);
}

TEST_F(MessageBoxTest, NamedApplicationGivesItsNameAsCaption)
{
    m_app.reset();
    m_app.emplace("Named Test Program");
    m_app->m_pMainWnd = &m_mainDialog;
    EXPECT_EQ(IDOK, ShowFromMainDialog("Hello", MB_OK, IDOK));
    EXPECT_EQ("Named Test Program", m_seen.caption);
}

TEST_F(MessageBoxTest, GoesOverADialogThatRunsOverTheMainWindow)
{
    ScriptedDialog about(IDD_TEST_CORNER);
    HWND aboutWindow = nullptr;
    about.onInit = [](ScriptedDialog& self) { self.PostMessage(WM_APP); };
    about.onApp = [&](ScriptedDialog& self, WPARAM) {
        aboutWindow = self.m_hWnd;
        g_notTheBox = self.m_hWnd;
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, &ReadAndAnswer);
        EXPECT_EQ(IDOK, AfxMessageBox("Over the dialog"));
        KillTimer(nullptr, timer);
        self.EndDialog(IDOK);
    };
    g_seen = &m_seen;
    g_answer = IDOK;
    m_mainDialog.onInit = [](ScriptedDialog& self) { self.PostMessage(WM_APP); };
    m_mainDialog.onApp = [&](ScriptedDialog& self, WPARAM) {
        about.DoModal();
        self.EndDialog(IDOK);
    };
    EXPECT_EQ(IDOK, m_mainDialog.DoModal());
    g_seen = nullptr;
    g_notTheBox = nullptr;
    ASSERT_TRUE(m_seen.found);
    EXPECT_EQ(aboutWindow, m_seen.owner) << "a disabled main window would be left without an active window";
}

} // namespace
