#include "MainDialog.h"
#include "ModalScript.h"
#include "NotifyIconRecord.h"
#include "RegisteredMessages.h"
#include "SettingsKeyGuard.h"
#include "TrayWindow.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The application object the main window relies on: the popup menu finds the
// main window through it, and its name is the message boxes' caption.
CWinApp g_application("Vantrel");

constexpr char kExitQuestion[] = "Are you sure you want to exit Vantrel?";
// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

HICON ProgramIcon(UINT iconId)
{
    return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId));
}

// The real main window, run modally by each test as start-up runs it, with
// HKEY_CURRENT_USER\Software\Vantrel saved before and put back after. A
// ModalScript drives it from inside its loops.
class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override { SettingsKeyGuard::DeleteKey(); }

    // Runs the dialog until it ends; the script must have run to its end.
    INT_PTR Run(ModalScript& script)
    {
        g_application.m_pMainWnd = &m_dialog;
        const INT_PTR result = m_dialog.DoModal();
        g_application.m_pMainWnd = nullptr;
        EXPECT_FALSE(script.TimedOut()) << "stuck at: " << script.StuckAt();
        EXPECT_TRUE(script.Finished());
        return result;
    }

    ModalScript& NewScript() { return m_script; }

    HWND Window() const { return m_dialog.m_hWnd; }
    bool TrayIconShown(UINT iconId) const { return NotifyIconExists(Window(), iconId); }
    HICON WindowIcon(WPARAM which) const
    {
        return reinterpret_cast<HICON>(SendMessageA(Window(), WM_GETICON, which, 0));
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendMessageA(Window(), message, wParam, lParam);
    }
    LRESULT Command(UINT command) const { return Send(WM_COMMAND, command); }

    // A message box or dialog of this thread other than the main window.
    HWND Box(const char* title) const { return FindThreadWindow("#32770", title, Window()); }
    HWND PopupMenu() const { return FindThreadWindow("#32768", nullptr); }

    static std::string BoxText(HWND box)
    {
        char text[256] = {};
        GetDlgItemTextA(box, kMessageBoxTextId, text, sizeof text);
        return text;
    }

    // The checked state of a mode item in the open popup menu.
    bool MenuItemChecked(UINT command) const
    {
        const auto menu = reinterpret_cast<HMENU>(SendMessageA(PopupMenu(), MN_GETHMENU, 0, 0));
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STATE;
        EXPECT_TRUE(GetMenuItemInfoA(menu, command, FALSE, &item));
        return (item.fState & MFS_CHECKED) != 0;
    }

    // The last step of most scripts: the OK command frees the icon and ends
    // the dialog at once.
    void EndWithOk()
    {
        m_script.Then("OK command", [this] {
            Command(IDOK);
            EXPECT_FALSE(TrayIconShown(130));
            EXPECT_FALSE(TrayIconShown(129));
            return true;
        });
    }

    SettingsKeyGuard m_settings;
    MainDialog m_dialog;
    ModalScript m_script{[this] { return Window(); }};
};

TEST_F(MainDialogTest, FirstStartShowsTheWindowsIconInTheTrayAndStoresNothing)
{
    NewScript().Then("initialised", [this] {
        EXPECT_FALSE(IsWindowVisible(Window()));
        EXPECT_TRUE(TrayIconShown(130));
        EXPECT_FALSE(TrayIconShown(129));
        EXPECT_EQ(m_dialog.GetButtonMode(), 2);
        EXPECT_EQ(WindowIcon(ICON_BIG), ProgramIcon(IDI_MODE_NORMAL));
        EXPECT_EQ(WindowIcon(ICON_SMALL), ProgramIcon(IDI_MODE_NORMAL));
        EXPECT_FALSE(SettingsKeyGuard::KeyExists());
        return true;
    });
    EndWithOk();
    EXPECT_EQ(Run(m_script), IDOK);
    EXPECT_FALSE(SettingsKeyGuard::KeyExists());
}

TEST_F(MainDialogTest, ChoosingOneAndThenNormalAppliesShowsAndStoresEach)
{
    NewScript()
        .Then("One", [this] {
            Command(ID_MODE_ONE);
            EXPECT_EQ(m_dialog.GetButtonMode(), 1);
            EXPECT_TRUE(TrayIconShown(129));
            EXPECT_FALSE(TrayIconShown(130));
            EXPECT_EQ(WindowIcon(ICON_BIG), ProgramIcon(IDI_MODE_ONE));
            EXPECT_EQ(WindowIcon(ICON_SMALL), ProgramIcon(IDI_MODE_ONE));
            const SettingsKeyGuard::Mode stored = SettingsKeyGuard::ReadMode();
            EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
            EXPECT_EQ(stored.data, (std::vector<BYTE>{'1', 0}));
            EXPECT_NE(GetModuleHandleA("VantrelDll.dll"), nullptr);
            return true;
        })
        .Then("Normal", [this] {
            Command(ID_MODE_NORMAL);
            EXPECT_EQ(m_dialog.GetButtonMode(), 2);
            EXPECT_TRUE(TrayIconShown(129));
            EXPECT_EQ(WindowIcon(ICON_BIG), ProgramIcon(IDI_MODE_NORMAL));
            EXPECT_EQ(SettingsKeyGuard::ReadMode().Text(), "2");
            return true;
        });
    EndWithOk();
    Run(m_script);
}

TEST_F(MainDialogTest, ChoosingTheModeInForceChangesNothing)
{
    SettingsKeyGuard::WriteModeText("2");
    NewScript()
        .Then("Normal again", [this] {
            SettingsKeyGuard::WriteModeText("untouched");
            Command(ID_MODE_NORMAL);
            EXPECT_EQ(m_dialog.GetButtonMode(), 2);
            EXPECT_EQ(SettingsKeyGuard::ReadMode().Text(), "untouched");
            return true;
        })
        .Then("One", [this] {
            Command(ID_MODE_ONE);
            EXPECT_EQ(SettingsKeyGuard::ReadMode().Text(), "1");
            return true;
        })
        .Then("One again", [this] {
            SettingsKeyGuard::WriteModeText("untouched");
            Command(ID_MODE_ONE);
            EXPECT_EQ(m_dialog.GetButtonMode(), 1);
            EXPECT_EQ(SettingsKeyGuard::ReadMode().Text(), "untouched");
            EXPECT_EQ(WindowIcon(ICON_BIG), ProgramIcon(IDI_MODE_ONE));
            return true;
        })
        .Then("back to Normal", [this] {
            // No filter may outlive the test.
            Command(ID_MODE_NORMAL);
            return true;
        });
    EndWithOk();
    Run(m_script);
}

struct StoredStart {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;  // empty: the key without the value
    int mode;
    UINT windowIcon;
};

void PrintTo(const StoredStart& start, std::ostream* out)
{
    *out << start.name;
}

class MainDialogStoredModeTest : public MainDialogTest, public ::testing::WithParamInterface<StoredStart> {};

TEST_P(MainDialogStoredModeTest, StoredModeIsAppliedAtStart)
{
    const StoredStart& start = GetParam();
    if (start.data.empty())
        SettingsKeyGuard::CreateKey();
    else
        SettingsKeyGuard::WriteMode(start.type, start.data.data(), static_cast<DWORD>(start.data.size()));
    const SettingsKeyGuard::Mode before = SettingsKeyGuard::ReadMode();
    NewScript()
        .Then("initialised", [&] {
            EXPECT_EQ(m_dialog.GetButtonMode(), start.mode);
            // Once a mode is applied the icon has moved to identifier 129,
            // whatever the mode.
            EXPECT_TRUE(TrayIconShown(129));
            EXPECT_FALSE(TrayIconShown(130));
            EXPECT_EQ(WindowIcon(ICON_BIG), ProgramIcon(start.windowIcon));
            EXPECT_EQ(WindowIcon(ICON_SMALL), ProgramIcon(start.windowIcon));
            // Reading is not writing: the stored value stays as it was.
            const SettingsKeyGuard::Mode now = SettingsKeyGuard::ReadMode();
            EXPECT_EQ(now.exists, before.exists);
            EXPECT_EQ(now.data, before.data);
            return true;
        })
        .Then("back to Normal", [this] {
            if (m_dialog.GetButtonMode() == 1)
                Command(ID_MODE_NORMAL);
            return true;
        });
    EndWithOk();
    Run(m_script);
}

INSTANTIATE_TEST_SUITE_P(Starts, MainDialogStoredModeTest,
    ::testing::Values(StoredStart{"text_1", REG_SZ, {'1', 0}, 1, IDI_MODE_ONE},
        StoredStart{"dword_1", REG_DWORD, {1, 0, 0, 0}, 1, IDI_MODE_ONE},
        StoredStart{"binary_1", REG_BINARY, {'1'}, 1, IDI_MODE_ONE},
        StoredStart{"text_2", REG_SZ, {'2', 0}, 2, IDI_MODE_NORMAL},
        StoredStart{"text_7", REG_SZ, {'7', 0}, 7, IDI_MODE_NORMAL},
        StoredStart{"no_value", REG_SZ, {}, 0, IDI_MODE_NORMAL}),
    [](const ::testing::TestParamInfo<StoredStart>& param) { return std::string(param.param.name); });

TEST_F(MainDialogTest, LeftAndRightPressesOnTheIconOpenTheMenuWithTheModeChecked)
{
    for (UINT press : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        NewScript()
            .Then("press", [this, press] {
                SetCursorPos(600, 500);
                // Returns when the menu has closed.
                Send(NotifyIconMessage, 130, press);
                return true;
            })
            .Then("menu open", [this] {
                if (PopupMenu() == nullptr)
                    return false;
                EXPECT_FALSE(MenuItemChecked(ID_MODE_ONE));
                EXPECT_TRUE(MenuItemChecked(ID_MODE_NORMAL));
                RECT rect{};
                GetWindowRect(PopupMenu(), &rect);
                // Right-aligned at the pointer, its top at the pointer.
                EXPECT_NEAR(rect.right, 600, 2);
                EXPECT_NEAR(rect.top, 500, 2);
                EndMenu();
                return true;
            })
            .Then("menu closed", [this] { return PopupMenu() == nullptr; });
    }
    EndWithOk();
    Run(m_script);
}

TEST_F(MainDialogTest, OtherIconActivityOpensNothing)
{
    NewScript()
        .Then("notifications", [this] {
            for (UINT activity : {WM_LBUTTONUP, WM_RBUTTONUP, WM_MOUSEMOVE, WM_LBUTTONDBLCLK, WM_MBUTTONDOWN})
                Send(NotifyIconMessage, 130, activity);
            // Another icon's identifier, with a press that would open the menu.
            Send(NotifyIconMessage, 129, WM_LBUTTONDOWN);
            return true;
        })
        .Then("nothing open", [this] {
            EXPECT_EQ(PopupMenu(), nullptr);
            return true;
        });
    EndWithOk();
    Run(m_script);
}

TEST_F(MainDialogTest, MenuOfAStoredNonModeChecksNeitherAndEitherCommandReplacesIt)
{
    SettingsKeyGuard::WriteModeText("7");
    NewScript()
        .Then("press", [this] {
            Send(NotifyIconMessage, 129, WM_LBUTTONDOWN);
            return true;
        })
        .Then("menu open", [this] {
            if (PopupMenu() == nullptr)
                return false;
            EXPECT_FALSE(MenuItemChecked(ID_MODE_ONE));
            EXPECT_FALSE(MenuItemChecked(ID_MODE_NORMAL));
            EndMenu();
            return true;
        })
        .Then("Normal", [this] {
            if (PopupMenu() != nullptr)
                return false;
            EXPECT_EQ(SettingsKeyGuard::ReadMode().Text(), "7");
            Command(ID_MODE_NORMAL);
            EXPECT_EQ(m_dialog.GetButtonMode(), 2);
            EXPECT_EQ(SettingsKeyGuard::ReadMode().Text(), "2");
            return true;
        });
    EndWithOk();
    Run(m_script);
}

TEST_F(MainDialogTest, OneReplacesAStoredNonMode)
{
    SettingsKeyGuard::WriteModeText("0");
    NewScript().Then("One", [this] {
        Command(ID_MODE_ONE);
        EXPECT_EQ(m_dialog.GetButtonMode(), 1);
        EXPECT_EQ(SettingsKeyGuard::ReadMode().Text(), "1");
        EXPECT_EQ(WindowIcon(ICON_BIG), ProgramIcon(IDI_MODE_ONE));
        Command(ID_MODE_NORMAL);
        return true;
    });
    EndWithOk();
    Run(m_script);
}

TEST_F(MainDialogTest, MenuItemsReachTheMainWindowAsCommands)
{
    NewScript()
        .Then("press", [this] {
            SetCursorPos(600, 500);
            Send(NotifyIconMessage, 130, WM_RBUTTONDOWN);
            return true;
        })
        .Then("choose About", [this] {
            const HWND menu = PopupMenu();
            if (menu == nullptr)
                return false;
            // Exit is the first item, About the second.
            PostMessageA(menu, WM_KEYDOWN, VK_HOME, 0);
            PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
            return true;
        })
        .Then("About shown", [this] {
            const HWND about = Box("About Vantrel");
            if (about == nullptr)
                return false;
            EXPECT_EQ(PopupMenu(), nullptr);
            EXPECT_EQ(GetWindow(about, GW_OWNER), Window());
            PostMessageA(about, WM_COMMAND, IDOK, 0);
            return true;
        })
        .Then("About closed", [this] { return Box("About Vantrel") == nullptr; });
    EndWithOk();
    Run(m_script);
}

TEST_F(MainDialogTest, ExitAsksAndNoKeepsTheProgramRunning)
{
    NewScript()
        .Then("Exit", [this] {
            Command(ID_TRAY_EXIT);
            return true;
        })
        .Then("question", [this] {
            const HWND box = Box("Vantrel");
            if (box == nullptr)
                return false;
            EXPECT_EQ(BoxText(box), kExitQuestion);
            EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
            // No is the default button.
            EXPECT_EQ(GetWindowLongA(GetDlgItem(box, IDNO), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
            PostMessageA(box, WM_COMMAND, IDNO, 0);
            return true;
        })
        .Then("still running", [this] {
            if (Box("Vantrel") != nullptr)
                return false;
            EXPECT_TRUE(TrayIconShown(130));
            return true;
        });
    EndWithOk();
    Run(m_script);
}

TEST_F(MainDialogTest, ExitAnsweredYesRemovesTheIconEndsAndKeepsTheStoredMode)
{
    SettingsKeyGuard::WriteModeText("2");
    HWND window = nullptr;
    NewScript()
        .Then("Exit", [this, &window] {
            window = Window();
            Command(ID_TRAY_EXIT);
            return true;
        })
        .Then("Yes", [this] {
            const HWND box = Box("Vantrel");
            if (box == nullptr)
                return false;
            PostMessageA(box, WM_COMMAND, IDYES, 0);
            return true;
        });
    EXPECT_EQ(Run(m_script), IDCANCEL);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(NotifyIconExists(window, 129));
    EXPECT_EQ(SettingsKeyGuard::ReadMode().Text(), "2");
}

TEST_F(MainDialogTest, SecondExitWhileTheQuestionIsOpenAsksAgainAndFreesOnce)
{
    HWND first = nullptr;
    NewScript()
        .Then("Exit", [this] {
            Command(ID_TRAY_EXIT);
            return true;
        })
        .Then("second Exit", [this, &first] {
            first = Box("Vantrel");
            if (first == nullptr)
                return false;
            // As chosen from a menu opened while the question shows.
            Command(ID_TRAY_EXIT);
            return true;
        })
        .Then("Yes to the second question", [this, &first] {
            const HWND second = FindThreadWindow("#32770", "Vantrel", first);
            if (second == nullptr || second == Window())
                return false;
            EXPECT_EQ(BoxText(second), kExitQuestion);
            PostMessageA(second, WM_COMMAND, IDYES, 0);
            return true;
        })
        .Then("everything that used the icon", [this, &first] {
            if (CountThreadWindows("#32770", "Vantrel", Window()) != 1)
                return false;
            EXPECT_FALSE(TrayIconShown(130));
            Send(NotifyIconMessage, 130, WM_LBUTTONDOWN);
            EXPECT_EQ(PopupMenu(), nullptr);
            EXPECT_EQ(Send(TaskbarCreatedMessage), 0);
            EXPECT_FALSE(TrayIconShown(130));
            Command(ID_MODE_ONE);
            EXPECT_EQ(m_dialog.GetButtonMode(), 2);
            EXPECT_FALSE(SettingsKeyGuard::KeyExists());
            // Nothing is left to ask about.
            Command(ID_TRAY_EXIT);
            EXPECT_EQ(CountThreadWindows("#32770", "Vantrel", Window()), 1);
            EXPECT_TRUE(IsWindowVisible(first));
            return true;
        })
        .Then("Yes to the first question", [&first] {
            PostMessageA(first, WM_COMMAND, IDYES, 0);
            return true;
        });
    EXPECT_EQ(Run(m_script), IDCANCEL);
    EXPECT_EQ(CountThreadWindows("#32770", nullptr), 0);
}

TEST_F(MainDialogTest, FirstQuestionAnsweredNoAfterTheSecondEndedTheProgramStillEnds)
{
    HWND first = nullptr;
    NewScript()
        .Then("Exit", [this] {
            Command(ID_TRAY_EXIT);
            return true;
        })
        .Then("second Exit", [this, &first] {
            first = Box("Vantrel");
            if (first == nullptr)
                return false;
            Command(ID_TRAY_EXIT);
            return true;
        })
        .Then("Yes to the second question", [&first] {
            const HWND second = FindThreadWindow("#32770", "Vantrel", first);
            if (second == nullptr)
                return false;
            PostMessageA(second, WM_COMMAND, IDYES, 0);
            return true;
        })
        .Then("No to the first question", [&first] {
            if (CountThreadWindows("#32770", "Vantrel", nullptr) != 1)
                return false;
            PostMessageA(first, WM_COMMAND, IDNO, 0);
            return true;
        });
    EXPECT_EQ(Run(m_script), IDCANCEL);
}

TEST_F(MainDialogTest, NothingTouchesTheIconOnceTheOkCommandFreedItDuringTheQuestion)
{
    NewScript()
        .Then("Exit", [this] {
            Command(ID_TRAY_EXIT);
            return true;
        })
        .Then("OK command, then everything that used the icon", [this] {
            if (Box("Vantrel") == nullptr)
                return false;
            Command(IDOK);
            EXPECT_FALSE(TrayIconShown(130));
            Send(NotifyIconMessage, 130, WM_RBUTTONDOWN);
            EXPECT_EQ(PopupMenu(), nullptr);
            EXPECT_EQ(Send(TaskbarCreatedMessage), 0);
            EXPECT_FALSE(TrayIconShown(130));
            Command(ID_MODE_ONE);
            Command(ID_MODE_NORMAL);
            EXPECT_EQ(m_dialog.GetButtonMode(), 2);
            EXPECT_FALSE(SettingsKeyGuard::KeyExists());
            Command(ID_TRAY_EXIT);
            EXPECT_EQ(CountThreadWindows("#32770", "Vantrel", Window()), 1);
            return true;
        })
        .Then("Yes to the question", [this] {
            PostMessageA(Box("Vantrel"), WM_COMMAND, IDYES, 0);
            return true;
        });
    Run(m_script);
    EXPECT_EQ(CountThreadWindows("#32770", nullptr), 0);
}

TEST_F(MainDialogTest, EscapeCloseAndShowLeaveTheWindowHiddenAndRunning)
{
    NewScript().Then("hide commands", [this] {
        Command(IDCANCEL);
        Send(WM_SYSCOMMAND, SC_CLOSE);
        ShowWindow(Window(), SW_SHOWNORMAL);
        m_dialog.ShowWindow(SW_SHOW);
        EXPECT_TRUE(IsWindow(Window()));
        EXPECT_FALSE(IsWindowVisible(Window()));
        EXPECT_TRUE(TrayIconShown(130));
        return true;
    });
    EndWithOk();
    EXPECT_EQ(Run(m_script), IDOK);
}

TEST_F(MainDialogTest, SystemMenuEntryOpensAbout)
{
    for (WPARAM command : {WPARAM{16}, WPARAM{31}}) {
        NewScript()
            .Then("system command", [this, command] {
                Send(WM_SYSCOMMAND, command);
                return true;
            })
            .Then("About shown", [this] {
                const HWND about = Box("About Vantrel");
                if (about == nullptr)
                    return false;
                PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
                return true;
            })
            .Then("About closed", [this] { return Box("About Vantrel") == nullptr; });
    }
    NewScript().Then("system menu", [this] {
        const HMENU menu = GetSystemMenu(Window(), FALSE);
        const int count = GetMenuItemCount(menu);
        EXPECT_GE(count, 2);
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(count - 1), text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, "&About Vantrel...");
        EXPECT_EQ(GetMenuItemID(menu, count - 1), 16u);
        EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR,
            static_cast<UINT>(MF_SEPARATOR));
        // Other system commands get the default processing, About is not shown.
        Send(WM_SYSCOMMAND, 32);
        Send(WM_SYSCOMMAND, SC_MINIMIZE);
        EXPECT_TRUE(IsIconic(Window()));
        EXPECT_EQ(Box("About Vantrel"), nullptr);
        return true;
    });
    EndWithOk();
    Run(m_script);
}

TEST_F(MainDialogTest, TaskbarCreatedAddsTheLostIconAgain)
{
    NewScript().Then("shell restarted", [this] {
        NOTIFYICONDATAA record = MakeNotifyIconKeyRecord(Window(), 130);
        EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &record));
        EXPECT_FALSE(TrayIconShown(130));
        EXPECT_EQ(Send(TaskbarCreatedMessage), 0);
        EXPECT_TRUE(TrayIconShown(130));
        return true;
    });
    EndWithOk();
    Run(m_script);
}

TEST_F(MainDialogTest, DragIconIsTheWindowsIcon)
{
    NewScript().Then("query", [this] {
        EXPECT_EQ(reinterpret_cast<HICON>(Send(WM_QUERYDRAGICON)), ProgramIcon(IDI_MODE_NORMAL));
        return true;
    });
    EndWithOk();
    Run(m_script);
}

TEST_F(MainDialogTest, AShortcutThatAnotherWindowHoldsIsRefusedAndTheOldOneStillSwitches)
{
    // Ctrl+Shift+F9 and Ctrl+Shift+F10 in the hotkey control's format.
    constexpr DWORD kStored = 0x0378;
    constexpr WORD kHeldElsewhere = 0x0379;
    SettingsKeyGuard::CreateKey();
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, SettingsKeyGuard::kPath, "ToggleHotkey", REG_DWORD, &kStored, 4), 0);
    TrayTestWindow holder;
    ASSERT_TRUE(RegisterHotKey(holder.Handle(), 1, MOD_CONTROL | MOD_SHIFT, VK_F10));
    NewScript()
        .Then("refused", [&] {
            InputSettingsInForce& settings = m_dialog.GetInputSettings();
            EXPECT_TRUE(settings.ToggleHotkeyAvailable());
            EXPECT_EQ(settings.ChangeToggleHotkey(kHeldElsewhere), SettingChange::UsedByAnotherProgram);
            EXPECT_EQ(settings.Settings().toggleHotkey, kStored);
            DWORD stored = 0;
            DWORD size = sizeof stored;
            RegGetValueA(HKEY_CURRENT_USER, SettingsKeyGuard::kPath, "ToggleHotkey", RRF_RT_DWORD, nullptr, &stored, &size);
            EXPECT_EQ(stored, kStored);
            return true;
        })
        .Then("old shortcut typed", [] {
            // As a keyboard driver types them: shortcuts are matched on all keyboard input.
            const BYTE keys[] = {VK_CONTROL, VK_SHIFT, VK_F9};
            for (const BYTE key : keys)
                keybd_event(key, 0, 0, 0);
            for (int i = 2; i >= 0; --i)
                keybd_event(keys[i], 0, KEYEVENTF_KEYUP, 0);
            return true;
        })
        .Then("switched to One", [this] { return m_dialog.GetButtonMode() == 1; });
    EndWithOk();
    EXPECT_EQ(Run(m_script), IDOK);
    EXPECT_EQ(SettingsKeyGuard::ReadMode().Text(), "1");
}

} // namespace
