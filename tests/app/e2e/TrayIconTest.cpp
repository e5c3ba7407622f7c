// The notification icon and its popup menu, as a user meets them.

#include "NotificationArea.h"
#include "ProgramFixture.h"
#include "ProgramWindows.h"
#include "RealInput.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sddl.h>

#include <string>

namespace e2e {
namespace {

constexpr DWORD kIconTimeoutMs = 10000;
constexpr DWORD kSecondStartTimeoutMs = 20000;
constexpr DWORD kMenuTimeoutMs = 5000;

std::string MenuWithChecks(bool oneChecked, bool normalChecked)
{
    return std::string("[ ] Exit (32773)\n"
                       "[ ] About (32771)\n"
                       "[ ] Settings... (32778)\n"
                       "----\n"
                       "[ ] Button Mode\n") +
        (oneChecked ? "  [x]" : "  [ ]") + " One (32777)\n" + (normalChecked ? "  [x]" : "  [ ]") +
        " Normal (32776)\n";
}

using TrayIconTest = ProgramTest;

TEST_F(TrayIconTest, FirstStartShowsTheNormalIconWithTheProgramsNameAndStoresNothing)
{
    ASSERT_TRUE(Start(kFirstIconId));

    EXPECT_TRUE(ShowsOnlyIcon(kFirstIconId));
    EXPECT_EQ(IconTooltip(), kFirstTooltip);
    EXPECT_FALSE(IsWindowVisible(m_mainWindow)) << "the main window must never show";
    EXPECT_FALSE(ProgramKeyExists()) << "a start without a stored mode creates no key";
}

TEST_F(TrayIconTest, LeftPressOpensTheMenuWithNormalCheckedAtFirstStart)
{
    ASSERT_TRUE(Start(kFirstIconId));

    const MenuReading menu = MenuAsShownBy(kLeftButton);

    ASSERT_TRUE(menu.Succeeded()) << menu.failure;
    EXPECT_EQ(menu.Describe(), MenuWithChecks(false, true));
    EXPECT_TRUE(m_program.IsRunning()) << "closing the menu with Escape ends nothing";
}

TEST_F(TrayIconTest, RightPressOpensTheSameMenu)
{
    ASSERT_TRUE(Start(kFirstIconId));

    const MenuReading menu = MenuAsShownBy(kRightButton);

    ASSERT_TRUE(menu.Succeeded()) << menu.failure;
    EXPECT_EQ(menu.Describe(), MenuWithChecks(false, true));
}

TEST_F(TrayIconTest, MiddlePressOpensNoMenu)
{
    ASSERT_TRUE(Start(kFirstIconId));

    ASSERT_TRUE(ClickNewestIcon(kMiddleButton));

    EXPECT_TRUE(StaysAbsent(m_program.Id(), "#32768", nullptr, 1500));
}

TEST_F(TrayIconTest, StoredNormalIsAppliedAndReAddsTheIconAsTheModeIcon)
{
    ASSERT_TRUE(StoreModeText("2"));
    ASSERT_TRUE(Start(kModeIconId));

    EXPECT_TRUE(ShowsOnlyIcon(kModeIconId));
    EXPECT_EQ(IconTooltip(), kModeTooltip);
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
    const MenuReading menu = MenuAsShownBy(kLeftButton);
    ASSERT_TRUE(menu.Succeeded()) << menu.failure;
    EXPECT_EQ(menu.Describe(), MenuWithChecks(false, true));
}

TEST_F(TrayIconTest, StoredModeOfNoMeaningChecksNeitherItemAndActsAsNormal)
{
    ASSERT_TRUE(StoreModeText("7"));
    ASSERT_TRUE(Start(kModeIconId));

    const MenuReading menu = MenuAsShownBy(kLeftButton);
    ASSERT_TRUE(menu.Succeeded()) << menu.failure;
    EXPECT_EQ(menu.Describe(), MenuWithChecks(false, false));
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
    const std::optional<RegistryData> stored = ReadStoredMode();
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->Text(), "7") << "reading the stored mode must not rewrite it";
}

TEST_F(TrayIconTest, TaskbarCreatedBringsALostIconBack)
{
    ASSERT_TRUE(Start(kFirstIconId));
    // What a restarting shell does: it forgets every icon, then tells every
    // top-level window that the taskbar exists again.
    ASSERT_TRUE(RemoveIconOf(m_mainWindow, kFirstIconId));
    ASSERT_TRUE(WaitForIcon(m_mainWindow, kFirstIconId, false, kIconTimeoutMs));

    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);

    EXPECT_TRUE(WaitForIcon(m_mainWindow, kFirstIconId, true, kIconTimeoutMs));
    EXPECT_TRUE(ShowsOnlyIcon(kFirstIconId));
    EXPECT_EQ(IconTooltip(), kFirstTooltip);
    const MenuReading menu = MenuAsShownBy(kLeftButton);
    ASSERT_TRUE(menu.Succeeded()) << menu.failure;
    EXPECT_EQ(menu.Describe(), MenuWithChecks(false, true));
}

TEST_F(TrayIconTest, TaskbarCreatedBringsTheModeIconBackAfterAModeWasApplied)
{
    ASSERT_TRUE(StoreModeText("1"));
    ASSERT_TRUE(Start(kModeIconId));
    ASSERT_TRUE(RemoveIconOf(m_mainWindow, kModeIconId));
    ASSERT_TRUE(WaitForIcon(m_mainWindow, kModeIconId, false, kIconTimeoutMs));

    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);

    EXPECT_TRUE(WaitForIcon(m_mainWindow, kModeIconId, true, kIconTimeoutMs));
    EXPECT_TRUE(ShowsOnlyIcon(kModeIconId));
    EXPECT_EQ(IconTooltip(), kModeTooltip);
}

TEST_F(TrayIconTest, TaskbarCreatedWhileTheIconIsShownLeavesOneIcon)
{
    ASSERT_TRUE(Start(kFirstIconId));

    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    LetProgramSettle();

    EXPECT_TRUE(ShowsOnlyIcon(kFirstIconId));
    EXPECT_TRUE(testing_support::PumpMessagesUntil([] { return ShownIconCount() == 1; }, 3000))
        << ShownIconCount() << " icons in the tray";
}

// A second start by the same user, as a Start menu shortcut next to a start
// at logon makes likely: the running one opens its menu at the pointer, the
// second adds nothing and ends with status 0.
TEST_F(TrayIconTest, SecondStartOpensTheRunningOnesMenuAndEndsWithoutAnIconOrAHook)
{
    ASSERT_TRUE(StoreModeText("1"));
    ASSERT_TRUE(Start(kModeIconId));
    ASSERT_TRUE(testing_support::PumpMessagesUntil([] { return ShownIconCount() == 1; }, 3000));

    ProgramProcess second = ProgramProcess::Launch({BuiltProgramPath(), "", ""});
    ASSERT_TRUE(second.IsStarted());
    bool secondShowedIcon = false;
    const bool ended = testing_support::PumpMessagesUntil(
        [&] {
            secondShowedIcon = secondShowedIcon || ShownIconCount() > 1;
            return !second.IsRunning();
        },
        kSecondStartTimeoutMs);
    ASSERT_TRUE(ended) << "the second start kept running";
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(second.Handle(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(secondShowedIcon) << "the second start showed an icon of its own";

    m_menuWindow = WaitForOpenMenuWindow(m_program.Id(), kMenuTimeoutMs);
    ASSERT_NE(m_menuWindow, nullptr) << "the running program opened no menu";
    const MenuReading menu = ReadMenu();
    ASSERT_TRUE(menu.Succeeded()) << menu.failure;
    EXPECT_EQ(menu.Describe(), MenuWithChecks(true, false));
    ASSERT_TRUE(CloseMenu());
    // The running program's mode is untouched: its filter still remaps.
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
    EXPECT_EQ(ShownIconCount(), 1);
    EXPECT_TRUE(ShowsOnlyIcon(kModeIconId));
}

TEST_F(TrayIconTest, AfterTheFirstEndsTheNextStartRunsNormally)
{
    ASSERT_TRUE(Start(kFirstIconId));
    ASSERT_TRUE(m_program.Stop());

    ASSERT_TRUE(Start(kFirstIconId));

    EXPECT_TRUE(ShowsOnlyIcon(kFirstIconId));
    EXPECT_TRUE(StaysAbsent(m_program.Id(), "#32768", nullptr, 1000)) << "a normal start opens no menu";
    const MenuReading menu = MenuAsShownBy(kLeftButton);
    ASSERT_TRUE(menu.Succeeded()) << menu.failure;
    EXPECT_EQ(menu.Describe(), MenuWithChecks(false, true));
}

// A mark made first by another process is not trusted: one that names a
// process that is no Vantrel (the test itself), or one that lets everybody
// in. Wine has one account and no integrity labels: a mark made by another
// account or a low-integrity process can be shown on Windows only.
TEST_F(TrayIconTest, AMarkMadeBySomeoneElseSwallowsNoStart)
{
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    BYTE user[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)] = {};
    DWORD size = sizeof user;
    const BOOL gotUser = GetTokenInformation(token, TokenUser, user, size, &size);
    CloseHandle(token);
    char* sid = nullptr;
    ASSERT_TRUE(gotUser && ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &sid));
    const std::string name = kInstanceMarkPrefix + std::string(sid);
    LocalFree(sid);

    for (const char* rules : {static_cast<const char*>(nullptr), "D:(A;;GA;;;WD)"}) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (rules != nullptr) {
            ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(rules, SDDL_REVISION_1, &descriptor, nullptr));
        }
        SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
        const HANDLE mark = CreateFileMappingA(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0, 4, name.c_str());
        LocalFree(descriptor);
        ASSERT_NE(mark, nullptr);
        auto* const processId = static_cast<DWORD*>(MapViewOfFile(mark, FILE_MAP_WRITE, 0, 0, 4));
        ASSERT_NE(processId, nullptr);
        *processId = GetCurrentProcessId();
        UnmapViewOfFile(processId);

        EXPECT_TRUE(Start(kFirstIconId)) << "a mark made with " << (rules != nullptr ? rules : "default security");
        // Requests to give way that the mark does not back: the program
        // reads its own view of the mark, never the name again.
        for (const DWORD claimed : {m_program.Id(), GetCurrentProcessId()})
            PostMessageA(m_mainWindow, RegisterWindowMessageA(kInstanceRequestMessage), claimed, kGiveWayRequest);
        LetProgramSettle();
        EXPECT_TRUE(m_program.IsRunning()) << "a request to give way was obeyed";
        EXPECT_TRUE(m_program.Stop());
        CloseHandle(mark);
    }
}

// Two starts while the running one hangs: exactly one takes over, the other
// defers to it (and opens its menu), and the hung one gives way once it recovers.
TEST_F(TrayIconTest, TwoStartsDuringAHangEndWithOneVantrel)
{
    ASSERT_TRUE(Start(kFirstIconId));
    ASSERT_TRUE(m_program.Suspend(true));
    const LaunchOptions options{BuiltProgramPath(), "", ""};
    ProgramProcess starts[2] = {ProgramProcess::Launch(options), ProgramProcess::Launch(options)};
    const auto bothRun = [&] { return starts[0].IsRunning() && starts[1].IsRunning(); };
    testing_support::PumpMessagesUntil([&] { return !bothRun(); }, kSecondStartTimeoutMs);
    ASSERT_TRUE(m_program.Suspend(false));
    EXPECT_TRUE(m_program.WaitForExit(kSecondStartTimeoutMs) && !bothRun()) << "two Vantrels run";
    ProgramProcess& running = starts[0].IsRunning() ? starts[0] : starts[1];
    EXPECT_TRUE(testing_support::PumpMessagesUntil([] { return ShownIconCount() == 1; }, kIconTimeoutMs));
    m_menuWindow = WaitForOpenMenuWindow(running.Id(), kMenuTimeoutMs);
    EXPECT_TRUE(m_menuWindow == nullptr || CloseMenu());
    EXPECT_TRUE(running.Stop());
}

} // namespace
} // namespace e2e
