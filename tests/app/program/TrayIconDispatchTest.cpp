#include "RecordingHandler.h"
#include "TrayIcon.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr UINT kIconId = 129;

// A TrayIcon that was never added: dispatching needs no shell. Its handlers
// live in the fixture, as MainDialog's do, and outlive the icon.
class TrayIconDispatchTest : public ::testing::Test {
protected:
    void MakeIcon(std::initializer_list<TrayIconHandler*> handlers)
    {
        auto* array = new TrayIconHandler*[handlers.size()];
        int count = 0;
        for (TrayIconHandler* handler : handlers)
            array[count++] = handler;
        m_icon.reset(new TrayIcon(nullptr, kIconId, nullptr, "Vantrel", array, count));
    }

    std::vector<std::string> m_journal;
    RecordingHandler m_left{WM_LBUTTONDOWN, "left", m_journal};
    RecordingHandler m_right{WM_RBUTTONDOWN, "right", m_journal};
    std::unique_ptr<TrayIcon> m_icon;
};

TEST_F(TrayIconDispatchTest, PressRunsTheHandlerOfItsButtonOnly)
{
    MakeIcon({&m_left, &m_right});
    m_icon->DispatchNotification(kIconId, WM_RBUTTONDOWN);
    EXPECT_EQ(m_journal, (std::vector<std::string>{"right"}));
    m_icon->DispatchNotification(kIconId, WM_LBUTTONDOWN);
    EXPECT_EQ(m_journal, (std::vector<std::string>{"right", "left"}));
}

TEST_F(TrayIconDispatchTest, AnotherIconIdentifierRunsNothing)
{
    MakeIcon({&m_left, &m_right});
    m_icon->DispatchNotification(130, WM_LBUTTONDOWN);
    m_icon->DispatchNotification(0, WM_RBUTTONDOWN);
    EXPECT_TRUE(m_journal.empty());
}

TEST_F(TrayIconDispatchTest, ReleasesMovesDoubleClicksAndMiddleButtonRunNothing)
{
    MakeIcon({&m_left, &m_right});
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK,
             WM_MBUTTONDOWN, WM_MBUTTONUP, WM_CONTEXTMENU})
        m_icon->DispatchNotification(kIconId, static_cast<LPARAM>(message));
    EXPECT_TRUE(m_journal.empty());
}

TEST_F(TrayIconDispatchTest, TwoHandlersOfOneMessageBothRunInArrayOrder)
{
    RecordingHandler second(WM_LBUTTONDOWN, "second left", m_journal);
    MakeIcon({&m_right, &m_left, &second});
    m_icon->DispatchNotification(kIconId, WM_LBUTTONDOWN);
    EXPECT_EQ(m_journal, (std::vector<std::string>{"left", "second left"}));
}

TEST_F(TrayIconDispatchTest, MouseMessageIsComparedAsThirtyTwoBits)
{
    MakeIcon({&m_left});
    // Only the low 32 bits of lParam carry the message; on 64-bit Windows the
    // upper half may hold anything (two shifts of 16: no upper half on 32-bit).
    const LPARAM withHighBits = static_cast<LPARAM>(WM_LBUTTONDOWN | (~ULONG_PTR{0} << 16 << 16));
    m_icon->DispatchNotification(kIconId, withHighBits);
    EXPECT_EQ(m_journal, (std::vector<std::string>{"left"}));
}

TEST_F(TrayIconDispatchTest, IconIdentifierFollowsSetIconData)
{
    MakeIcon({&m_left});
    m_icon->SetIconData(nullptr, 130, nullptr, "Toggle Mouse Buttons");
    m_icon->DispatchNotification(kIconId, WM_LBUTTONDOWN);
    EXPECT_TRUE(m_journal.empty());
    m_icon->DispatchNotification(130, WM_LBUTTONDOWN);
    EXPECT_EQ(m_journal, (std::vector<std::string>{"left"}));
}

TEST_F(TrayIconDispatchTest, DeletingTheIconFromAHandlerStopsTheDispatch)
{
    // A handler's nested message loop (the popup menu) can run the exit that
    // deletes the icon; the dispatch must then not touch the freed object.
    RecordingHandler deleting(WM_LBUTTONDOWN, "deleting", m_journal, [this] { m_icon.reset(); });
    RecordingHandler after(WM_LBUTTONDOWN, "after", m_journal);
    MakeIcon({&deleting, &after});
    m_icon->DispatchNotification(kIconId, WM_LBUTTONDOWN);
    EXPECT_EQ(m_journal, (std::vector<std::string>{"deleting"}));
    EXPECT_EQ(m_icon, nullptr);
}

TEST_F(TrayIconDispatchTest, DeletingTheIconInANestedDispatchStopsTheOuterOneToo)
{
    RecordingHandler deleting(WM_RBUTTONDOWN, "deleting", m_journal, [this] { m_icon.reset(); });
    RecordingHandler nesting(WM_LBUTTONDOWN, "nesting", m_journal,
        [this] { m_icon->DispatchNotification(kIconId, WM_RBUTTONDOWN); });
    RecordingHandler after(WM_LBUTTONDOWN, "after", m_journal);
    MakeIcon({&nesting, &deleting, &after});
    m_icon->DispatchNotification(kIconId, WM_LBUTTONDOWN);
    EXPECT_EQ(m_journal, (std::vector<std::string>{"nesting", "deleting"}));
}

TEST_F(TrayIconDispatchTest, NestedDispatchLeavesTheOuterOneGoingOn)
{
    RecordingHandler inner(WM_RBUTTONDOWN, "inner", m_journal);
    RecordingHandler nesting(WM_LBUTTONDOWN, "nesting", m_journal,
        [this] { m_icon->DispatchNotification(kIconId, WM_RBUTTONDOWN); });
    RecordingHandler after(WM_LBUTTONDOWN, "after", m_journal);
    MakeIcon({&nesting, &inner, &after});
    m_icon->DispatchNotification(kIconId, WM_LBUTTONDOWN);
    EXPECT_EQ(m_journal, (std::vector<std::string>{"nesting", "inner", "after"}));
}

} // namespace
