// The filter on a machine whose primary and secondary buttons are switched
// (a left-handed mouse), and its own injections coming back through its hook.
//
// Wine switches the setting (SM_SWAPBUTTON) but, unlike Windows, does not
// swap the messages of physical or injected clicks: its hooks see buttons as
// they were pressed. Windows swaps before low-level hooks see an event, so an
// injected right press comes back as WM_LBUTTONDOWN there. The swap
// simulator below does to injected events what Windows does.

#include "FilterAction.h"
#include "FilterDesktopTest.h"
#include "TestSupport.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The test's own clicks stand for what the mouse does, as hooks see it after
// the system's swap; the simulator leaves them alone.
constexpr ULONG_PTR kMouseTag = 0x7E57;

// More injected button events than any one click can cause: past this, the
// remapping is feeding on itself, and the hook swallows the rest so that the
// loop ends with a failed assertion instead of an exhausted stack.
constexpr int kInjectionLimit = 16;

constexpr DWORD kQuietMs = 1000;

bool IsLeftOrRightButton(WPARAM message)
{
    return message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_RBUTTONDOWN ||
        message == WM_RBUTTONUP;
}

bool IsButtonMessage(WPARAM message)
{
    return IsLeftOrRightButton(message) || message == WM_MBUTTONDOWN || message == WM_MBUTTONUP ||
        message == WM_XBUTTONDOWN || message == WM_XBUTTONUP;
}

DWORD OtherButtonFlag(WPARAM message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        return MOUSEEVENTF_RIGHTDOWN;
    case WM_LBUTTONUP:
        return MOUSEEVENTF_RIGHTUP;
    case WM_RBUTTONDOWN:
        return MOUSEEVENTF_LEFTDOWN;
    default:
        return MOUSEEVENTF_LEFTUP;
    }
}

// Switches the buttons for the life of the object, as the mouse settings do.
class SwappedButtons {
public:
    SwappedButtons() : m_wasSwapped(SwapMouseButton(TRUE) != FALSE) {}
    ~SwappedButtons() { SwapMouseButton(m_wasSwapped ? TRUE : FALSE); }
    SwappedButtons(const SwappedButtons&) = delete;
    SwappedButtons& operator=(const SwappedButtons&) = delete;

private:
    bool m_wasSwapped;
};

// A low-level hook installed after the filter, so it runs before it. It
// counts the button events that software other than the test's mouse
// injected (the filter's), and, when told to, turns each injected left or
// right event into the other button, keeping its extra information.
//
// The re-injected event reaches this hook again from inside its own SendInput
// (Wine calls hooks of the calling thread synchronously there): that one
// event passes, and anything it causes further down the chain is swapped again.
class BeforeFilterHook {
public:
    explicit BeforeFilterHook(bool swapInjectedButtons) : m_swap(swapInjectedButtons)
    {
        s_pInstalled = this;
        m_hook = SetWindowsHookExA(WH_MOUSE_LL, &BeforeFilterHook::HookProc, GetModuleHandleA(nullptr), 0);
    }
    ~BeforeFilterHook()
    {
        if (m_hook != nullptr)
            UnhookWindowsHookEx(m_hook);
        s_pInstalled = nullptr;
    }
    BeforeFilterHook(const BeforeFilterHook&) = delete;
    BeforeFilterHook& operator=(const BeforeFilterHook&) = delete;

    bool IsInstalled() const { return m_hook != nullptr; }
    int InjectedCount() const { return m_injected; }
    int MarkedCount() const { return m_marked; }
    std::vector<WPARAM> InjectedMessages() const { return m_messages; }

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam)
    {
        BeforeFilterHook* self = s_pInstalled;
        if (code < 0 || self == nullptr)
            return CallNextHookEx(nullptr, code, wParam, lParam);
        return self->OnEvent(code, wParam, *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam), lParam);
    }

    LRESULT OnEvent(int code, WPARAM message, const MSLLHOOKSTRUCT& record, LPARAM lParam)
    {
        if (m_passNext) {
            m_passNext = false;
            return CallNextHookEx(nullptr, code, message, lParam);
        }
        if (!IsButtonMessage(message) || (record.flags & LLMHF_INJECTED) == 0 || record.dwExtraInfo == kMouseTag)
            return CallNextHookEx(nullptr, code, message, lParam);
        if (++m_injected > kInjectionLimit)
            return 1;
        m_messages.push_back(message);
        if (record.dwExtraInfo == kFilterInjectionMark)
            ++m_marked;
        if (!m_swap || !IsLeftOrRightButton(message))
            return CallNextHookEx(nullptr, code, message, lParam);
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = OtherButtonFlag(message);
        input.mi.dwExtraInfo = record.dwExtraInfo;
        m_passNext = true;
        SendInput(1, &input, sizeof input);
        m_passNext = false;
        return 1;
    }

    static BeforeFilterHook* s_pInstalled;
    bool m_swap;
    HHOOK m_hook = nullptr;
    bool m_passNext = false;
    int m_injected = 0;
    int m_marked = 0;
    std::vector<WPARAM> m_messages;
};

BeforeFilterHook* BeforeFilterHook::s_pInstalled = nullptr;

std::string Describe(const std::vector<WPARAM>& messages)
{
    std::string text;
    for (const WPARAM message : messages) {
        char name[16];
        std::snprintf(name, sizeof name, "%s0x%04X", text.empty() ? "" : ", ", static_cast<unsigned>(message));
        text += name;
    }
    return text.empty() ? "nothing" : text;
}

} // namespace

class SwappedButtonsTest : public FilterDesktopTest {
protected:
    // Clicks the button as the test's mouse, waits for the release's
    // consequence at the window, then lets a second pass so that a remapping
    // that feeds on itself has time to show.
    void Click(const MouseButton& button, UINT awaitedRelease)
    {
        // The quiet second lets Wine read the X pointer's position again,
        // which may undo the last flushing move: start each click from a
        // pointer that X and Wine agree on.
        ASSERT_TRUE(PlacePointerAt(m_window.ClientCenter()));
        m_window.ClearMessages();
        ASSERT_TRUE(InjectPress(button, kMouseTag));
        ASSERT_TRUE(InjectRelease(button, kMouseTag));
        EXPECT_TRUE(m_window.WaitFor(awaitedRelease, kWaitMs)) << "got " << DescribeMessages();
        testing_support::PumpMessagesFor(kQuietMs);
        ASSERT_TRUE(FlushInjectedInput());
    }

    SwappedButtons m_swappedButtons;
};

// Wine reports the swapped setting but delivers the filter's injected right
// press as WM_RBUTTONDOWN: the filter must know it for its own and let it pass.
TEST_F(SwappedButtonsTest, OwnInjectionsPassWhateverTheyComeBackAs)
{
    ASSERT_TRUE(InstallFilter());
    BeforeFilterHook counter(false);
    ASSERT_TRUE(counter.IsInstalled());

    Click(kRightButton, WM_RBUTTONUP);

    EXPECT_EQ(counter.InjectedMessages(), (std::vector<WPARAM>{WM_RBUTTONDOWN, WM_RBUTTONUP}))
        << "the filter injected " << Describe(counter.InjectedMessages());
    EXPECT_EQ(counter.MarkedCount(), 2);
    EXPECT_EQ(m_window.CountOf(WM_RBUTTONDOWN), 1U) << DescribeMessages();
    EXPECT_EQ(m_window.CountOf(WM_RBUTTONUP), 1U) << DescribeMessages();
    EXPECT_EQ(m_window.CountOf(WM_LBUTTONDOWN), 0U) << DescribeMessages();
}

// With the swap done as Windows does it, each remapped click arrives as one
// click of the primary button.
TEST_F(SwappedButtonsTest, EachRemappedClickArrivesAsOnePrimaryClick)
{
    ASSERT_TRUE(InstallFilter());
    BeforeFilterHook swapper(true);
    ASSERT_TRUE(swapper.IsInstalled());

    for (const MouseButton* button : {&kRightButton, &kMiddleButton, &kX1Button, &kX2Button}) {
        const int injectedBefore = swapper.InjectedCount();
        Click(*button, WM_LBUTTONUP);
        EXPECT_EQ(m_window.CountOf(WM_LBUTTONDOWN), 1U) << button->name << ": " << DescribeMessages();
        EXPECT_EQ(m_window.CountOf(WM_LBUTTONUP), 1U) << button->name << ": " << DescribeMessages();
        EXPECT_EQ(m_window.CountOfNonLeftButtonMessages(), 0U) << button->name << ": " << DescribeMessages();
        EXPECT_EQ(swapper.InjectedCount() - injectedBefore, 2)
            << button->name << ": the filter injected " << Describe(swapper.InjectedMessages());
    }
    EXPECT_EQ(swapper.MarkedCount(), swapper.InjectedCount());
}
