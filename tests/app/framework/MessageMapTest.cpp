// Message maps on plain windows: which handler a message reaches, in which
// order entries are tried, chaining to the base class's map, registered
// messages, and default processing of whatever no map handles.

#include "Afx.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Set at run time, long after the maps below exist.
UINT g_lateMessage = 0;

namespace {

constexpr UINT kFirstCommand = 1001;
constexpr UINT kBaseOnlyMessage = WM_APP + 1;
constexpr UINT kOverriddenMessage = WM_APP + 2;
constexpr UINT kTwiceMappedMessage = WM_APP + 3;

// Records the handlers it runs, in order.
class RecordingWindow : public CWnd {
public:
    std::vector<std::string> calls;

protected:
    afx_msg LRESULT OnBaseOnly(WPARAM wParam, LPARAM lParam)
    {
        calls.push_back("base-only " + std::to_string(wParam) + " " + std::to_string(lParam));
        return 11;
    }
    afx_msg LRESULT OnOverriddenInBase(WPARAM, LPARAM)
    {
        calls.push_back("base overridden");
        return 12;
    }
    afx_msg LRESULT OnLate(WPARAM wParam, LPARAM)
    {
        calls.push_back("late " + std::to_string(wParam));
        return 13;
    }
    afx_msg void OnFirstCommand() { calls.push_back("command"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingWindow, CWnd)
    ON_MESSAGE(kBaseOnlyMessage, OnBaseOnly)
    ON_MESSAGE(kOverriddenMessage, OnOverriddenInBase)
    ON_REGISTERED_MESSAGE(g_lateMessage, OnLate)
    ON_COMMAND(kFirstCommand, OnFirstCommand)
END_MESSAGE_MAP()

class DerivedWindow : public RecordingWindow {
protected:
    afx_msg LRESULT OnOverridden(WPARAM, LPARAM)
    {
        calls.push_back("derived overridden");
        return 22;
    }
    afx_msg LRESULT OnFirstOfTwo(WPARAM, LPARAM)
    {
        calls.push_back("first of two");
        return 23;
    }
    afx_msg LRESULT OnSecondOfTwo(WPARAM, LPARAM)
    {
        calls.push_back("second of two");
        return 24;
    }
    afx_msg LRESULT OnSetText(WPARAM, LPARAM lParam)
    {
        calls.push_back(std::string("set text ") + reinterpret_cast<const char*>(lParam));
        return Default();
    }
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam)
    {
        calls.push_back("system command " + std::to_string(nID) + " " + std::to_string(lParam));
    }
    afx_msg void OnPaint() { calls.push_back("paint"); }
    afx_msg HCURSOR OnQueryDragIcon() { return LoadCursorA(nullptr, IDC_ARROW); }
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos)
    {
        // Moves every placement a little, to show that Default passes on
        // the record the handler changed.
        lpwndpos->x += 5;
        Default();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWindow, RecordingWindow)
    ON_MESSAGE(kOverriddenMessage, OnOverridden)
    ON_MESSAGE(kTwiceMappedMessage, OnFirstOfTwo)
    ON_MESSAGE(kTwiceMappedMessage, OnSecondOfTwo)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_WINDOWPOSCHANGING()
END_MESSAGE_MAP()

// The application's map gets the commands no window handles.
class CommandApp : public CWinApp {
public:
    int helpCommands = 0;
    int appCommands = 0;

protected:
    afx_msg void OnAppCommand() { ++appCommands; }
    afx_msg void OnHelpCommand()
    {
        ++helpCommands;
        OnHelp();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CommandApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelpCommand)
    ON_COMMAND(kFirstCommand, OnAppCommand)
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_plain = CreateWindowExA(0, "STATIC", "plain", WS_POPUP, 10, 10, 100, 50, nullptr, nullptr, nullptr, nullptr);
        m_derived = CreateWindowExA(0, "STATIC", "derived", WS_POPUP, 10, 10, 100, 50, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_base.SubclassWindow(m_plain));
        ASSERT_TRUE(m_window.SubclassWindow(m_derived));
        g_lateMessage = 0;
    }
    void TearDown() override
    {
        DestroyWindow(m_plain);
        DestroyWindow(m_derived);
    }

    HWND m_plain = nullptr;
    HWND m_derived = nullptr;
    RecordingWindow m_base;
    DerivedWindow m_window;
};

TEST_F(MessageMapTest, HandlerGetsTheArgumentsAndItsResultIsReturned)
{
    EXPECT_EQ(11, SendMessageA(m_plain, kBaseOnlyMessage, 5, -6));
    EXPECT_EQ(std::vector<std::string>{ "base-only 5 -6" }, m_base.calls);
}

TEST_F(MessageMapTest, DerivedMapFallsBackToTheBaseClassMap)
{
    EXPECT_EQ(11, SendMessageA(m_derived, kBaseOnlyMessage, 1, 2));
    EXPECT_EQ(22, SendMessageA(m_derived, kOverriddenMessage, 0, 0));
    EXPECT_EQ(12, SendMessageA(m_plain, kOverriddenMessage, 0, 0));
    EXPECT_EQ((std::vector<std::string>{ "base-only 1 2", "derived overridden" }), m_window.calls);
}

TEST_F(MessageMapTest, FirstMatchingEntryWins)
{
    EXPECT_EQ(23, SendMessageA(m_derived, kTwiceMappedMessage, 0, 0));
    EXPECT_EQ(std::vector<std::string>{ "first of two" }, m_window.calls);
}

TEST_F(MessageMapTest, RegisteredMessageIsReadFromItsVariableEachTime)
{
    const UINT first = RegisterWindowMessageA("FrameworkTest.First");
    const UINT second = RegisterWindowMessageA("FrameworkTest.Second");
    EXPECT_EQ(0, SendMessageA(m_plain, first, 1, 0)) << "not bound while the variable is unset";

    g_lateMessage = first;
    EXPECT_EQ(13, SendMessageA(m_plain, first, 2, 0));
    g_lateMessage = second;
    EXPECT_EQ(0, SendMessageA(m_plain, first, 3, 0));
    EXPECT_EQ(13, SendMessageA(m_derived, second, 4, 0));

    EXPECT_EQ(std::vector<std::string>{ "late 2" }, m_base.calls);
    EXPECT_EQ(std::vector<std::string>{ "late 4" }, m_window.calls);
}

TEST_F(MessageMapTest, UnsetRegisteredMessageDoesNotCatchWmNull)
{
    EXPECT_EQ(0, SendMessageA(m_plain, WM_NULL, 0, 0));
    EXPECT_TRUE(m_base.calls.empty());
}

TEST_F(MessageMapTest, CommandsFromMenusAndAcceleratorsReachTheHandler)
{
    SendMessageA(m_plain, WM_COMMAND, MAKEWPARAM(kFirstCommand, 0), 0);
    SendMessageA(m_plain, WM_COMMAND, MAKEWPARAM(kFirstCommand, 1), 0);
    // A control's notification other than a click is not the command.
    SendMessageA(m_plain, WM_COMMAND, MAKEWPARAM(kFirstCommand, EN_CHANGE), 0);
    SendMessageA(m_plain, WM_COMMAND, MAKEWPARAM(kFirstCommand + 1, 0), 0);
    EXPECT_EQ((std::vector<std::string>{ "command", "command" }), m_base.calls);
}

TEST_F(MessageMapTest, UnhandledMessagesGetDefaultProcessing)
{
    char text[32] = {};
    EXPECT_EQ(5, SendMessageA(m_plain, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)));
    EXPECT_STREQ("plain", text);
    EXPECT_TRUE(SetWindowTextA(m_plain, "renamed"));
    EXPECT_EQ("renamed", testing_support::WindowTextOf(m_plain));
}

TEST_F(MessageMapTest, DefaultFromAHandlerProcessesTheOriginalMessage)
{
    EXPECT_TRUE(SetWindowTextA(m_derived, "through"));
    EXPECT_EQ("through", testing_support::WindowTextOf(m_derived));
    EXPECT_EQ(std::vector<std::string>{ "set text through" }, m_window.calls);

    SetWindowPos(m_derived, nullptr, 100, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rect{};
    GetWindowRect(m_derived, &rect);
    EXPECT_EQ(105, rect.left) << "the handler's change to WINDOWPOS was kept";
    EXPECT_EQ(70, rect.top);
}

TEST_F(MessageMapTest, StandardEntriesPassTheirArguments)
{
    EXPECT_EQ(0, SendMessageA(m_derived, WM_SYSCOMMAND, 0x0012, 77));
    EXPECT_EQ(0, SendMessageA(m_derived, WM_PAINT, 0, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(LoadCursorA(nullptr, IDC_ARROW)),
        SendMessageA(m_derived, WM_QUERYDRAGICON, 0, 0));
    EXPECT_EQ((std::vector<std::string>{ "system command 18 77", "paint" }), m_window.calls);
}

TEST_F(MessageMapTest, CommandsNoWindowHandlesGoToTheApplication)
{
    CommandApp app;
    SendMessageA(m_derived, WM_COMMAND, ID_HELP, 0);
    SendMessageA(m_plain, WM_COMMAND, kFirstCommand, 0);
    EXPECT_EQ(1, app.helpCommands);
    EXPECT_EQ(0, app.appCommands) << "the window's own entry comes first";
}

TEST_F(MessageMapTest, WindowLetsGoOfItsObjectWhenDestroyed)
{
    EXPECT_EQ(&m_base, CWnd::FromHandlePermanent(m_plain));
    DestroyWindow(m_plain);
    EXPECT_EQ(nullptr, m_base.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(m_plain));
}

TEST_F(MessageMapTest, UnsubclassedWindowNoLongerReachesTheMap)
{
    EXPECT_EQ(m_plain, m_base.UnsubclassWindow());
    EXPECT_EQ(0, SendMessageA(m_plain, kBaseOnlyMessage, 0, 0));
    EXPECT_TRUE(m_base.calls.empty());
    EXPECT_FALSE(m_window.SubclassWindow(m_plain)) << "the object already has a window";
}

TEST_F(MessageMapTest, ObjectThatEndsFirstGivesTheWindowBack)
{
    HWND window = CreateWindowExA(0, "STATIC", "short", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    {
        RecordingWindow shortLived;
        ASSERT_TRUE(shortLived.SubclassWindow(window));
    }
    EXPECT_EQ(0, SendMessageA(window, kBaseOnlyMessage, 0, 0));
    EXPECT_EQ("short", testing_support::WindowTextOf(window));
    DestroyWindow(window);
}

} // namespace
