#pragma once

// The fixture of every end-to-end test: the program's registry key taken away
// before the test and given back after it, the program started from the
// build's own folder (or a copy elsewhere), and ended at the end of the test
// through its own OK command, which must end it without asking.

#include "ClickRecorder.h"
#include "MenuReader.h"
#include "ProgramFacts.h"
#include "ProgramProcess.h"
#include "StoredMode.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

enum class MenuChoice { Exit, About, Settings, One, Normal };

// The menu was read and shows One and Normal checked as given; otherwise the
// failure says what was read.
::testing::AssertionResult ChecksModes(const MenuReading& menu, bool oneChecked, bool normalChecked);

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() : ProgramTest(kProgramFileName) {}
    // Drives another program of the build with the same outside (the
    // harness's own tests use a stand-in).
    explicit ProgramTest(std::string builtProgramFile) : m_builtProgramFile(std::move(builtProgramFile)) {}

    void TearDown() override;

    // The program and the filter library as the build made them.
    std::string BuiltProgramPath() const;
    static std::string BuiltLibraryPath();

    // Starts the program and waits for its hidden main window and for its
    // icon with the given identifier.
    ::testing::AssertionResult Start(UINT expectedIconId, const LaunchOptions& options);
    ::testing::AssertionResult Start(UINT expectedIconId);

    // The icon with this identifier is shown, and the other one is not.
    ::testing::AssertionResult ShowsOnlyIcon(UINT iconId) const;

    // A real press and release of the X button on the program's icon, and the
    // popup menu that it opens.
    ::testing::AssertionResult OpenMenu(int xButton);
    MenuReading ReadMenu() const;
    ::testing::AssertionResult CloseMenu();
    // Opens the menu with the X button and picks the item with the keys a
    // user would press: Home, Down to it, Right into "Button Mode", Return.
    ::testing::AssertionResult Choose(MenuChoice choice, int xButton);
    // The same keys in the menu that OpenMenu opened.
    ::testing::AssertionResult ChooseInOpenMenu(MenuChoice choice);
    // Opens the menu with a left press on the icon and picks the item with
    // real clicks of the X button: on "Button Mode" first for a mode, then on
    // the item, where the menu (read from inside the program) shows it.
    ::testing::AssertionResult ChooseWithClicks(MenuChoice choice, int xButton);
    // Opens the menu, reads it and closes it again.
    MenuReading MenuAsShownBy(int xButton);

    // Waits until the program has handled what it was sent so far: a short
    // pause lets the menu's posted command arrive, and a message sent after
    // it returns once the handler (which may wait ~2 s on the tray) is done.
    void LetProgramSettle() const;

    // A real right click on a window of the test, and the button messages
    // that window received, by name.
    std::string RealRightClickOnTestWindow();
    // xdotool commands given with the pointer on that window, and the button
    // messages it received once count arrived and the longest bounce time
    // has passed, so that the next input is no bounce of this one.
    std::string RealInputOnTestWindow(const std::string& xdotoolCommands, size_t count);
    // Keys in xdotool's names ("ctrl+shift+F9") pressed with the pointer on
    // that window: X gives them to the window under the pointer.
    bool PressKeysOnTestWindow(const std::string& keys)
    {
        return RealInputOnTestWindow("key " + keys, 0) != "(xdotool failed)";
    }
    // That window, shown from the first use on, away from the tray, the
    // menu and the dialogs.
    ClickRecorder& TestWindow();

    // The tooltip the tray shows while the pointer rests on the icon.
    std::string IconTooltip() const;

    const std::string m_builtProgramFile;
    // Declared before the program so that it outlives it: the key comes back only
    // after the program has ended.
    ProgramKeyGuard m_programKey;
    ProgramProcess m_program;
    HWND m_mainWindow = nullptr;
    HWND m_menuWindow = nullptr;
    std::unique_ptr<ClickRecorder> m_clickRecorder;
};

inline constexpr char kLeftClickArrived[] = "WM_LBUTTONDOWN WM_LBUTTONUP";
inline constexpr char kRightClickArrived[] = "WM_RBUTTONDOWN WM_RBUTTONUP";
inline constexpr char kTwoLeftClicksArrived[] = "WM_LBUTTONDOWN WM_LBUTTONUP WM_LBUTTONDOWN WM_LBUTTONUP";

} // namespace e2e
