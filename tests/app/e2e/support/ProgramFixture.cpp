#include "ProgramFixture.h"

#include "NotificationArea.h"
#include "ProgramWindows.h"
#include "RealInput.h"
#include "TestSupport.h"

namespace e2e {

namespace {

// The first Wine process after a terminated GUI process starts about 2 s late.
constexpr DWORD kStartTimeoutMs = 20000;
// Applying a mode re-adds the icon; removing the only icon of the tray blocks
// the program about 2 s under Wine.
constexpr DWORD kIconTimeoutMs = 10000;
constexpr DWORD kMenuTimeoutMs = 5000;
constexpr DWORD kSettleTimeoutMs = 15000;
// Without an answer from a hook's thread Wine passes a click on after about
// 4 s (2 s each for press and release).
constexpr DWORD kClickTimeoutMs = 6000;
// Icons of programs that earlier tests ended leave the tray within 1 to 2 s.
constexpr DWORD kStaleIconTimeoutMs = 3000;
constexpr DWORD kLongestBounceMs = 500;
// Far from the tray at the top left and from the screen's centre, where
// dialogs appear.
constexpr RECT kClickRecorderRect{900, 600, 1100, 800};

std::vector<UINT> MenuKeys(MenuChoice choice)
{
    switch (choice) {
    case MenuChoice::Exit:
        return {VK_HOME, VK_RETURN};
    case MenuChoice::About:
        return {VK_HOME, VK_DOWN, VK_RETURN};
    case MenuChoice::Settings:
        return {VK_HOME, VK_DOWN, VK_DOWN, VK_RETURN};
    case MenuChoice::One:
        return {VK_HOME, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN};
    case MenuChoice::Normal:
        return {VK_HOME, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN};
    }
    return {};
}

WORD CommandOf(MenuChoice choice)
{
    switch (choice) {
    case MenuChoice::Exit:
        return kCommandExit;
    case MenuChoice::About:
        return kCommandAbout;
    case MenuChoice::Settings:
        return kCommandSettings;
    case MenuChoice::One:
        return kCommandOne;
    case MenuChoice::Normal:
        return kCommandNormal;
    }
    return 0;
}

bool IsShown(const MenuItemState* item)
{
    return item != nullptr && !IsRectEmpty(&item->screenRect);
}

} // namespace

void ProgramTest::TearDown()
{
    if (!m_program.IsStarted())
        return;
    // A program still running must end through its OK command, which frees
    // its icon and ends it without asking: Stop() tries that first.
    EXPECT_TRUE(m_program.Stop()) << "the program did not end on WM_COMMAND IDOK and was terminated";
}

std::string ProgramTest::BuiltProgramPath() const
{
    return testing_support::ModuleDirectory() + m_builtProgramFile;
}

std::string ProgramTest::BuiltLibraryPath()
{
    return testing_support::ModuleDirectory() + kFilterLibraryFileName;
}

::testing::AssertionResult ProgramTest::Start(UINT expectedIconId)
{
    return Start(expectedIconId, LaunchOptions{BuiltProgramPath(), "", ""});
}

::testing::AssertionResult ProgramTest::Start(UINT expectedIconId, const LaunchOptions& options)
{
    m_program = ProgramProcess::Launch(options);
    if (!m_program.IsStarted())
        return ::testing::AssertionFailure() << "could not start " << options.programPath;
    m_mainWindow = WaitForMainWindow(m_program.Id(), kStartTimeoutMs);
    if (m_mainWindow == nullptr)
        return ::testing::AssertionFailure() << "the program showed no main window \"" << kProgramTitle
                                             << "\" of class " << kDialogClass << "; it wrote: " << m_program.Output();
    if (!WaitForIcon(m_mainWindow, expectedIconId, true, kIconTimeoutMs))
        return ::testing::AssertionFailure() << "no notification icon " << expectedIconId << " appeared";
    LetProgramSettle();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ProgramTest::ShowsOnlyIcon(UINT iconId) const
{
    const UINT otherId = iconId == kFirstIconId ? kModeIconId : kFirstIconId;
    const bool shown = IconExists(m_mainWindow, iconId);
    const bool otherShown = IconExists(m_mainWindow, otherId);
    if (shown && !otherShown)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "icon " << iconId << (shown ? " shown" : " missing") << ", icon "
                                         << otherId << (otherShown ? " shown" : " missing");
}

::testing::AssertionResult ProgramTest::OpenMenu(int xButton)
{
    testing_support::PumpMessagesUntil([] { return ShownIconCount() == 1; }, kStaleIconTimeoutMs);
    if (!ClickNewestIcon(xButton))
        return ::testing::AssertionFailure() << "no icon in the tray to click";
    m_menuWindow = WaitForOpenMenuWindow(m_program.Id(), kMenuTimeoutMs);
    if (m_menuWindow == nullptr)
        return ::testing::AssertionFailure() << "X button " << xButton << " on the icon opened no popup menu";
    return ::testing::AssertionSuccess();
}

MenuReading ProgramTest::ReadMenu() const
{
    return ReadOpenMenu(m_program.Handle(), m_menuWindow);
}

::testing::AssertionResult ProgramTest::CloseMenu()
{
    PostKey(m_menuWindow, VK_ESCAPE);
    if (!WaitUntilGone(m_menuWindow, kMenuTimeoutMs))
        return ::testing::AssertionFailure() << "Escape did not close the menu";
    m_menuWindow = nullptr;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ProgramTest::Choose(MenuChoice choice, int xButton)
{
    const ::testing::AssertionResult opened = OpenMenu(xButton);
    if (!opened)
        return opened;
    return ChooseInOpenMenu(choice);
}

::testing::AssertionResult ProgramTest::ChooseInOpenMenu(MenuChoice choice)
{
    // The menu's loop takes keys from its thread's queue, whichever of its
    // windows they were posted to.
    for (UINT key : MenuKeys(choice))
        PostKey(m_menuWindow, key);
    if (!WaitUntilGone(m_menuWindow, kMenuTimeoutMs))
        return ::testing::AssertionFailure() << "the menu stayed open after the choice";
    m_menuWindow = nullptr;
    LetProgramSettle();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ProgramTest::ChooseWithClicks(MenuChoice choice, int xButton)
{
    const ::testing::AssertionResult opened = OpenMenu(kLeftButton);
    if (!opened)
        return opened;
    const WORD command = CommandOf(choice);
    MenuReading menu = ReadMenu();
    if (choice == MenuChoice::One || choice == MenuChoice::Normal) {
        const MenuItemState* modes = menu.FindPopup(kModeMenuText);
        if (!IsShown(modes))
            return ::testing::AssertionFailure() << "no \"" << kModeMenuText << "\" shown:\n" << menu.Describe();
        if (!ClickAt(CentreOf(modes->screenRect), xButton))
            return ::testing::AssertionFailure() << "xdotool failed";
        // The sub-menu's items get their places once it is shown.
        testing_support::PumpMessagesUntil(
            [&] { return IsShown((menu = ReadMenu()).Find(command)); }, kMenuTimeoutMs);
    }
    const MenuItemState* item = menu.Find(command);
    if (!IsShown(item))
        return ::testing::AssertionFailure() << "item " << command << " is not shown:\n" << menu.Describe();
    if (!ClickAt(CentreOf(item->screenRect), xButton))
        return ::testing::AssertionFailure() << "xdotool failed";
    if (!WaitUntilGone(m_menuWindow, kMenuTimeoutMs))
        return ::testing::AssertionFailure() << "the menu stayed open after a click on item " << command;
    m_menuWindow = nullptr;
    LetProgramSettle();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ChecksModes(const MenuReading& menu, bool oneChecked, bool normalChecked)
{
    if (!menu.Succeeded())
        return ::testing::AssertionFailure() << menu.failure;
    if (menu.IsChecked(kCommandOne) != oneChecked || menu.IsChecked(kCommandNormal) != normalChecked)
        return ::testing::AssertionFailure() << menu.Describe();
    return ::testing::AssertionSuccess();
}

MenuReading ProgramTest::MenuAsShownBy(int xButton)
{
    MenuReading reading;
    const ::testing::AssertionResult opened = OpenMenu(xButton);
    if (!opened) {
        reading.failure = opened.message();
        return reading;
    }
    reading = ReadMenu();
    const ::testing::AssertionResult closed = CloseMenu();
    if (!closed && reading.Succeeded())
        reading.failure = closed.message();
    return reading;
}

void ProgramTest::LetProgramSettle() const
{
    testing_support::PumpMessagesFor(300);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(m_mainWindow, WM_NULL, 0, 0, SMTO_NORMAL, kSettleTimeoutMs, &ignored);
}

std::string ProgramTest::RealRightClickOnTestWindow()
{
    ClickRecorder& recorder = TestWindow();
    recorder.Clear();
    if (!ClickAt(recorder.Centre(), kRightButton))
        return "(xdotool failed)";
    recorder.WaitForMessages(2, kClickTimeoutMs);
    // Anything more than the two expected messages must show up as well.
    testing_support::PumpMessagesFor(200);
    return ButtonMessageNames(recorder.Messages());
}

std::string ProgramTest::RealInputOnTestWindow(const std::string& xdotoolCommands, size_t count)
{
    ClickRecorder& recorder = TestWindow();
    recorder.Clear();
    const POINT centre = recorder.Centre();
    const std::string move = "xdotool mousemove " + std::to_string(centre.x) + " " + std::to_string(centre.y);
    if (testing_support::RunUnixCommand(move + " " + xdotoolCommands, kClickTimeoutMs) != 0)
        return "(xdotool failed)";
    recorder.WaitForMessages(count, kClickTimeoutMs);
    testing_support::PumpMessagesFor(kLongestBounceMs + 100);
    return ButtonMessageNames(recorder.Messages());
}

ClickRecorder& ProgramTest::TestWindow()
{
    if (!m_clickRecorder)
        m_clickRecorder = std::make_unique<ClickRecorder>(kClickRecorderRect);
    return *m_clickRecorder;
}

std::string ProgramTest::IconTooltip() const
{
    return HoverNewestIconTooltip(kMenuTimeoutMs);
}

} // namespace e2e
