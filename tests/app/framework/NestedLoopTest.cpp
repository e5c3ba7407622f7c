// While a dialog's modal loop runs, and while loops nested in it run (another
// dialog, a message box, a popup menu), the thread's messages keep flowing and
// a low-level mouse hook installed on the thread is still served.

#include "FrameworkTestResources.h"
#include "ScriptedDialog.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Marks our own injected events, so that nothing else moving the pointer
// counts.
constexpr ULONG_PTR kInjectionMarker = 0x46574C54;
constexpr UINT kOuterProbeMessage = WM_APP + 5;

int g_hookCalls = 0;

LRESULT CALLBACK CountInjectedMoves(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->dwExtraInfo == kInjectionMarker)
        ++g_hookCalls;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void InjectMove()
{
    static LONG step = 1;
    step = -step;
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = step;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    input.mi.dwExtraInfo = kInjectionMarker;
    SendInput(1, &input, sizeof input);
}

// From a thread timer, which only runs if the loop that currently runs
// dispatches the thread's messages: injects a mouse move, waits until the hook
// has seen it and the outer dialog has handled a posted message, then closes
// whatever nested loop runs.
class NestedProbe {
public:
    NestedProbe(HWND outer, std::function<void()> closeNested)
        : m_outer(outer)
        , m_closeNested(std::move(closeNested))
    {
        s_current = this;
        m_timer = SetTimer(nullptr, 0, 40, &Tick);
    }
    ~NestedProbe()
    {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    NestedProbe(const NestedProbe&) = delete;
    NestedProbe& operator=(const NestedProbe&) = delete;

    // Set by the outer dialog's handler for kOuterProbeMessage.
    int outerMessages = 0;
    bool hookSeen = false;
    bool ticked = false;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        NestedProbe* probe = s_current;
        if (probe == nullptr || probe->m_closed)
            return;
        probe->ticked = true;
        if (probe->m_ticks == 0)
            probe->m_hookCallsBefore = g_hookCalls;
        PostMessageA(probe->m_outer, WM_APP, kOuterProbeMessage, 0);
        InjectMove();
        probe->hookSeen = g_hookCalls > probe->m_hookCallsBefore;
        if ((probe->hookSeen && probe->outerMessages > 0) || ++probe->m_ticks > 100) {
            probe->m_closed = true;
            probe->m_closeNested();
        }
    }

    static NestedProbe* s_current;

    HWND m_outer;
    std::function<void()> m_closeNested;
    UINT_PTR m_timer = 0;
    int m_ticks = 0;
    int m_hookCallsBefore = 0;
    bool m_closed = false;
};

NestedProbe* NestedProbe::s_current = nullptr;

class NestedLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hook = SetWindowsHookExA(WH_MOUSE_LL, &CountInjectedMoves, GetModuleHandleA(nullptr), 0);
        ASSERT_NE(nullptr, m_hook);
        m_app.m_pMainWnd = &m_mainDialog;
    }
    void TearDown() override
    {
        UnhookWindowsHookEx(m_hook);
        EXPECT_FALSE(m_watchdog.Fired()) << "a modal loop had to be ended by the watchdog";
    }

    // Runs the hidden main dialog and, inside its modal loop, `nested` with a
    // probe whose close function is `close`.
    void RunNested(const std::function<void(ScriptedDialog& mainDialog)>& nested,
        const std::function<void()>& close)
    {
        m_mainDialog.onInit = [](ScriptedDialog& self) { self.PostMessage(WM_APP); };
        m_mainDialog.onApp = [&](ScriptedDialog& self, WPARAM wParam) {
            if (wParam == kOuterProbeMessage) {
                if (m_probe != nullptr)
                    ++m_probe->outerMessages;
                return;
            }
            NestedProbe probe(self.m_hWnd, close);
            m_probe = &probe;
            nested(self);
            m_probe = nullptr;
            m_ticked = probe.ticked;
            m_hookSeen = probe.hookSeen;
            m_outerMessages = probe.outerMessages;
            self.EndDialog(IDOK);
        };
        EXPECT_EQ(IDOK, m_mainDialog.DoModal());
    }

    CWinApp m_app;
    HiddenDialog m_mainDialog{ IDD_TEST_VISIBLE };
    ModalWatchdog m_watchdog;
    HHOOK m_hook = nullptr;
    NestedProbe* m_probe = nullptr;
    bool m_ticked = false;
    bool m_hookSeen = false;
    int m_outerMessages = 0;
};

TEST_F(NestedLoopTest, MainDialogLoopServesTheHookAndTimers)
{
    int hookCallsBefore = 0;
    m_mainDialog.onInit = [&](ScriptedDialog& self) {
        hookCallsBefore = g_hookCalls;
        SetTimer(self.m_hWnd, 1, 40, nullptr);
    };
    int ticks = 0;
    m_mainDialog.onTimer = [&](ScriptedDialog& self, WPARAM) {
        InjectMove();
        if (g_hookCalls > hookCallsBefore || ++ticks > 100)
            self.EndDialog(IDOK);
    };
    EXPECT_EQ(IDOK, m_mainDialog.DoModal());
    EXPECT_GT(g_hookCalls, hookCallsBefore);
}

TEST_F(NestedLoopTest, DialogInsideTheMainDialog)
{
    ScriptedDialog inner(IDD_TEST_CORNER);
    RunNested([&](ScriptedDialog&) { EXPECT_EQ(IDCANCEL, inner.DoModal()); }, [&] { inner.EndDialog(IDCANCEL); });
    EXPECT_TRUE(m_ticked);
    EXPECT_TRUE(m_hookSeen);
    EXPECT_GT(m_outerMessages, 0);
}

TEST_F(NestedLoopTest, MessageBoxInsideTheMainDialog)
{
    RunNested([](ScriptedDialog&) { EXPECT_EQ(IDNO, AfxMessageBox("Nested?", MB_YESNO)); },
        [] { PostMessageA(FindThreadWindow("#32770"), WM_COMMAND, IDNO, 0); });
    EXPECT_TRUE(m_ticked);
    EXPECT_TRUE(m_hookSeen);
    EXPECT_GT(m_outerMessages, 0);
}

TEST_F(NestedLoopTest, PopupMenuInsideTheMainDialog)
{
    RunNested(
        [](ScriptedDialog& mainDialog) {
            CMenu menu;
            ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
            mainDialog.SetForegroundWindow();
            CMenu::TrackPopupMenu(menu.GetSubMenu(0), TPM_RIGHTBUTTON, 300, 300, &mainDialog);
        },
        [] { EndMenu(); });
    EXPECT_TRUE(m_ticked);
    EXPECT_TRUE(m_hookSeen);
    EXPECT_GT(m_outerMessages, 0);
}

TEST_F(NestedLoopTest, DialogInsideADialogInsideTheMainDialog)
{
    ScriptedDialog middle(IDD_TEST_BUTTONS);
    ScriptedDialog inner(IDD_TEST_CORNER);
    middle.onInit = [](ScriptedDialog& self) { self.PostMessage(WM_APP); };
    middle.onApp = [&](ScriptedDialog& self, WPARAM) {
        EXPECT_EQ(IDOK, inner.DoModal());
        self.EndDialog(IDOK);
    };
    RunNested([&](ScriptedDialog&) { EXPECT_EQ(IDOK, middle.DoModal()); }, [&] { inner.EndDialog(IDOK); });
    EXPECT_TRUE(m_hookSeen);
    EXPECT_GT(m_outerMessages, 0);
}

} // namespace
