// The filter survives what makes Windows drop a low-level hook, with the
// probe playing Windows' part (see FilterUpkeepFixture.h).

#include "FilterUpkeepFixture.h"
#include "ClickRecorder.h"
#include "NotificationArea.h"
#include "RealInput.h"

#include <string>
#include <vector>

namespace e2e {
namespace {

// A lost hook must be back within 10 s of the first input it missed; X and
// a loaded machine add their delay to the click that shows it.
constexpr DWORD kSilentLossBoundMs = 10000;
constexpr DWORD kClickAllowanceMs = 1000;
// A refused install is retried after 1 s, a refused icon after 1 s.
constexpr DWORD kRetryTimeoutMs = 5000;
constexpr DWORD kRenewalsInARow = 50;

TEST_F(FilterUpkeepTest, EveryEventAfterWhichWindowsMayDropTheHookBringsRemappingBack)
{
    ASSERT_NO_FATAL_FAILURE(StartInOne());

    for (const Event& event : Events()) {
        ASSERT_NO_FATAL_FAILURE(DropFilter());
        Deliver(event);
        EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived) << "after " << event.name;
    }

    // A shell that keeps the program waiting while One is applied.
    Command(kCommandNormal);
    ASSERT_EQ(Probe(kSlowNextShellCallExport), 1u);
    Command(kCommandOne);
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived) << "after a slow shell call";
    EXPECT_TRUE(ShowsOnlyIcon(kModeIconId));
}

TEST_F(FilterUpkeepTest, ALossWithNoEventIsMendedWithinTenSecondsOfTheNextInput)
{
    ASSERT_NO_FATAL_FAILURE(StartInOne());
    ASSERT_NO_FATAL_FAILURE(DropFilter());

    const DWORD firstInput = GetTickCount();
    ASSERT_EQ(RealRightClickOnTestWindow(), kRightClickArrived) << "the hook was not lost";
    testing_support::PumpMessagesFor(kSilentLossBoundMs + kClickAllowanceMs - (GetTickCount() - firstInput));
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
    EXPECT_EQ(Probe(kFilterInstallsExport), m_installsAtOne + 1) << "one renewal for one loss";

    // In Normal nothing watches: input the filter never sees turns nothing on.
    Command(kCommandNormal);
    const DWORD installsInNormal = Probe(kFilterInstallsExport);
    const DWORD normalInput = GetTickCount();
    ASSERT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
    testing_support::PumpMessagesFor(kSilentLossBoundMs + kClickAllowanceMs - (GetTickCount() - normalInput));
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
    EXPECT_EQ(Probe(kFilterInstallsExport), installsInNormal);
}

TEST_F(FilterUpkeepTest, FiftyRenewalsInARowLeaveOneHookThatNormalRemoves)
{
    ASSERT_NO_FATAL_FAILURE(StartInOne());

    const Event unlock = Events()[2];
    for (DWORD i = 0; i < kRenewalsInARow; ++i) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(m_mainWindow, unlock.message, unlock.wParam, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ignored);
    }
    EXPECT_EQ(Probe(kFilterInstallsExport), m_installsAtOne + kRenewalsInARow);
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);

    Command(kCommandNormal);
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived) << "a hook outlived the renewals";

    const DWORD installsInNormal = Probe(kFilterInstallsExport);
    for (const Event& event : Events())
        Deliver(event);
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived) << "an event turned the filter on in Normal";
    EXPECT_EQ(Probe(kFilterInstallsExport), installsInNormal);
    const std::optional<RegistryData> stored = ReadStoredMode();
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->Text(), "2");
}

TEST_F(FilterUpkeepTest, ARefusedInstallAndARefusedIconComeBackWithoutTheUser)
{
    ASSERT_NO_FATAL_FAILURE(StartWatched());
    ASSERT_EQ(Probe(kRefuseNextFilterInstallExport), 1u);
    ASSERT_EQ(Probe(kRefuseNextIconAddExport), 1u);

    Command(kCommandOne);

    const DWORD refusals = Probe(kRefusalsExport);
    ASSERT_EQ(LOWORD(refusals), 1u) << "the install was not refused";
    ASSERT_EQ(HIWORD(refusals), 1u) << "the icon's add was not refused";
    EXPECT_TRUE(WaitForIcon(m_mainWindow, kModeIconId, true, kRetryTimeoutMs)) << "the icon never came back";
    EXPECT_TRUE(testing_support::PumpMessagesUntil([&] { return Probe(kFilterInstallsExport) >= 1; }, kRetryTimeoutMs))
        << "the install was never retried";
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
    const std::optional<RegistryData> stored = ReadStoredMode();
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->Text(), "1") << "One stays the chosen mode";
}

// A right-button drag (Ctrl held to copy) survives the check that a key
// makes renew the hook; it ends with a loss: mouse input the hook missed, or
// an unlock whose renewal Windows refused.
TEST_F(FilterUpkeepTest, ADragSurvivesAKeyAndEndsWithALossEvenWhenTheRenewalIsRefused)
{
    ASSERT_NO_FATAL_FAILURE(StartInOne());
    ClickRecorder& window = TestWindow();
    const auto leftDown = [] { return GetAsyncKeyState(VK_LBUTTON) < 0; };
    for (const bool refused : {false, true}) {
        window.Clear();
        ASSERT_TRUE(PressAt(window.Centre(), kRightButton));
        EXPECT_TRUE(window.WaitForMessages(1, kRetryTimeoutMs) && testing_support::PumpMessagesUntil(leftDown, 1000))
            << "no left press: " << ButtonMessageNames(window.Messages()) << ", refused " << refused;
        const DWORD installs = Probe(kFilterInstallsExport);
        if (refused) {
            ASSERT_EQ(Probe(kRefuseNextFilterInstallExport), 1u);
            Deliver(Events()[2]);
        } else {
            testing_support::PumpMessagesFor(kClickAllowanceMs);
            ASSERT_TRUE(TypeKey(VK_SHIFT));
            testing_support::PumpMessagesFor(kSilentLossBoundMs + kClickAllowanceMs);
            EXPECT_GT(Probe(kFilterInstallsExport), installs) << "no check renewed the hook after the key";
            EXPECT_TRUE(leftDown()) << "the drag was dropped";
            ASSERT_NO_FATAL_FAILURE(DropFilter());
            ASSERT_TRUE(MovePointerTo({window.Centre().x + 5, window.Centre().y}));
        }
        EXPECT_TRUE(testing_support::PumpMessagesUntil(
            [&] { return !leftDown(); }, kSilentLossBoundMs + kClickAllowanceMs)) << "refused " << refused;
        ASSERT_TRUE(ReleaseButton(kRightButton));
        window.WaitForMessages(3, kClickAllowanceMs);
        EXPECT_EQ(ButtonMessageNames(window.Messages()), kLeftClickArrived) << "refused " << refused;
    }
}

} // namespace
} // namespace e2e
