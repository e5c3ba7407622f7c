#include "RecordingHandler.h"
#include "RegisteredMessages.h"
#include "TestSupport.h"
#include "TrayIcon.h"
#include "TrayWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using testing_support::PumpMessagesUntil;

// Wine's tray blocks a removal of the only icon for about 2 s: waits on the
// shell are bounded well above that.
constexpr DWORD kShellTimeoutMs = 10000;

// A TrayIcon owned by a real hidden window, added to and removed from Wine's
// own notification area.
class TrayIconShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_window.Handle(), nullptr);
        m_window.m_onMessage = [this](UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == NotifyIconMessage && m_icon != nullptr)
                m_icon->DispatchNotification(wParam, lParam);
        };
        auto* handlers = new TrayIconHandler*[2]{&m_left, &m_right};
        m_icon = std::make_unique<TrayIcon>(m_window.Handle(), 130, m_sharedIcon, "Vantrel", handlers, 2);
    }

    void TearDown() override { m_icon.reset(); }

    bool Exists(UINT iconId) const { return NotifyIconExists(m_window.Handle(), iconId); }

    TrayTestWindow m_window;
    // A shared icon: DestroyIcon leaves it valid.
    HICON m_sharedIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    std::vector<std::string> m_journal;
    RecordingHandler m_left{WM_LBUTTONDOWN, "left", m_journal};
    RecordingHandler m_right{WM_RBUTTONDOWN, "right", m_journal};
    std::unique_ptr<TrayIcon> m_icon;
};

TEST_F(TrayIconShellTest, AddShowsTheIconAndRemoveTakesItAway)
{
    ASSERT_FALSE(Exists(130));
    EXPECT_TRUE(m_icon->AddIcon());
    EXPECT_TRUE(Exists(130));
    EXPECT_TRUE(m_icon->RemoveIcon());
    EXPECT_FALSE(Exists(130));
    EXPECT_FALSE(m_icon->RemoveIcon());
}

TEST_F(TrayIconShellTest, SecondAddOfTheSameIconIsRefusedAndHarmless)
{
    ASSERT_TRUE(m_icon->AddIcon());
    EXPECT_FALSE(m_icon->AddIcon());
    EXPECT_TRUE(Exists(130));
}

TEST_F(TrayIconShellTest, DeletingTheObjectRemovesTheIcon)
{
    ASSERT_TRUE(m_icon->AddIcon());
    m_icon.reset();
    EXPECT_FALSE(Exists(130));
}

TEST_F(TrayIconShellTest, AddingKeepsTheSharedIconUsable)
{
    ASSERT_TRUE(m_icon->AddIcon());
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(m_sharedIcon, &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST_F(TrayIconShellTest, TaskbarCreatedAddsTheLostIconAgain)
{
    ASSERT_TRUE(m_icon->AddIcon());
    // What a restarting shell does to our icon: it forgets it.
    ASSERT_TRUE(m_icon->RemoveIcon());
    EXPECT_EQ(m_icon->OnTaskbarCreated(0, 0), 0);
    EXPECT_TRUE(Exists(130));
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(m_sharedIcon, &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST_F(TrayIconShellTest, RemoveThenNewDataThenAddMovesTheIconToItsNewIdentifier)
{
    ASSERT_TRUE(m_icon->AddIcon());
    m_icon->RemoveIcon();
    m_icon->SetIconData(m_window.Handle(), 129, m_sharedIcon, "Toggle Mouse Buttons");
    EXPECT_TRUE(m_icon->AddIcon());
    EXPECT_FALSE(Exists(130));
    EXPECT_TRUE(Exists(129));
}

// The rightmost (newest) icon of Wine's tray window, in screen coordinates;
// false when the tray shows none.
bool NewestTrayIconCentre(POINT& centre)
{
    RECT newest{};
    bool found = false;
    for (HWND icon : testing_support::ShownTrayIcons()) {
        RECT rect;
        if (GetWindowRect(icon, &rect) && (!found || rect.left > newest.left)) {
            newest = rect;
            found = true;
        }
    }
    centre = {(newest.left + newest.right) / 2, (newest.top + newest.bottom) / 2};
    return found;
}

TEST_F(TrayIconShellTest, ClickOnTheIconReachesTheHandlerOfItsButton)
{
    ASSERT_TRUE(m_icon->AddIcon());
    POINT centre{};
    ASSERT_TRUE(PumpMessagesUntil([&] { return NewestTrayIconCentre(centre); }, kShellTimeoutMs));
    // xdotool button 3 is the right button.
    const std::string click = "xdotool mousemove " + std::to_string(centre.x) + " " + std::to_string(centre.y) +
        " click 3";
    ASSERT_EQ(testing_support::RunUnixCommand(click, kShellTimeoutMs), 0);
    EXPECT_TRUE(PumpMessagesUntil([&] { return !m_journal.empty(); }, kShellTimeoutMs));
    // The release and the moves over the icon open nothing.
    testing_support::PumpMessagesFor(300);
    EXPECT_EQ(m_journal, (std::vector<std::string>{"right"}));
}

} // namespace
