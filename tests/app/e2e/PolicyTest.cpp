// Group Policy values under Software\Policies\Vantrel in the session's real
// registry: forced mode and greyed Exit, machine before user, bad values
// ignored, changes taken on Windows' policy broadcast.

#include "NotificationArea.h"
#include "ProgramFixture.h"
#include "ProgramWindows.h"
#include "RealInput.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

constexpr char kPolicyKey[] = "Software\\Policies\\Vantrel";
// The view the program reads the machine's policy from, whatever its build.
constexpr REGSAM kMachinePolicyView = KEY_WOW64_64KEY;
// In the hotkey control's format: HOTKEYF_CONTROL | HOTKEYF_SHIFT, then VK_F8 or VK_F9.
constexpr DWORD kCtrlShiftF8 = 0x0377;
constexpr DWORD kCtrlShiftF9 = 0x0378;

RegistryData Dword(DWORD value, DWORD type = REG_DWORD, size_t size = 4)
{
    RegistryData data{type, std::vector<BYTE>(size)};
    memcpy(data.bytes.data(), &value, std::min<size_t>(size, 4));
    return data;
}

class PolicyTest : public ProgramTest {
protected:
    // Both policy keys are gone before and after every test, whatever it left.
    PolicyTest() { TearDown(); }
    void TearDown() override
    {
        ProgramTest::TearDown();
        DeleteRegistryKey(HKEY_LOCAL_MACHINE, kPolicyKey, kMachinePolicyView);
        RegDeleteTreeA(HKEY_CURRENT_USER, kPolicyKey);
    }
    static void SetPolicy(HKEY root, const char* name, const RegistryData& data)
    {
        EXPECT_TRUE(WriteRegistryValue(root, kPolicyKey, name, data, root == HKEY_LOCAL_MACHINE ? kMachinePolicyView : 0));
    }
    // What Group Policy sends once it has written the values.
    static void AnnouncePolicy()
    {
        SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 1, LPARAM("Policy"), SMTO_ABORTIFHUNG, 20000, nullptr);
    }
    void ExpectMenu(WORD checked, bool modesGreyed, bool exitGreyed)
    {
        const MenuReading menu = MenuAsShownBy(kLeftButton);
        ASSERT_TRUE(menu.Succeeded()) << menu.failure;
        EXPECT_TRUE(menu.IsChecked(checked)) << menu.Describe();
        EXPECT_EQ(menu.Find(kCommandOne)->greyed && menu.Find(kCommandNormal)->greyed, modesGreyed) << menu.Describe();
        EXPECT_EQ(menu.Find(kCommandExit)->greyed, exitGreyed) << menu.Describe();
    }
};

TEST_F(PolicyTest, MachineAndUserPoliciesForceTheModeAtStartAndTheMachineWins)
{
    // The machine's One alone, the user's One alone, both with the user's Normal.
    for (const auto& [machine, user] : {std::pair{1u, 0u}, {0u, 1u}, {1u, 2u}}) {
        TearDown();
        ASSERT_TRUE(StoreModeText("2"));
        if (machine != 0)
            SetPolicy(HKEY_LOCAL_MACHINE, "ButtonMode", Dword(machine));
        if (user != 0)
            SetPolicy(HKEY_CURRENT_USER, "ButtonMode", Dword(user));
        ASSERT_TRUE(Start(kModeIconId));
        ExpectMenu(kCommandOne, true, false);
        EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
        EXPECT_EQ(ReadStoredMode()->Text(), "2");
    }
}

TEST_F(PolicyTest, APolicyTakesEffectOnTheBroadcastIgnoresCommandsAndGoesAgainWithoutATrace)
{
    // A number, where a choice would be stored as text.
    ASSERT_TRUE(StoreModeData(Dword(1)));
    ASSERT_TRUE(Start(kModeIconId));
    SetPolicy(HKEY_CURRENT_USER, "ButtonMode", Dword(2));
    SetPolicy(HKEY_CURRENT_USER, "AllowExit", Dword(0));
    AnnouncePolicy();
    ExpectMenu(kCommandNormal, true, true);

    for (WORD command : {kCommandOne, kCommandExit})
        PostCommand(m_mainWindow, command);
    LetProgramSettle();
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
    EXPECT_EQ(WaitForVisibleWindow(m_program.Id(), kDialogClass, kProgramTitle, 3000), nullptr) << "Exit asked";
    EXPECT_EQ(ReadStoredMode()->bytes, Dword(1).bytes);

    RegDeleteTreeA(HKEY_CURRENT_USER, kPolicyKey);
    AnnouncePolicy();
    ExpectMenu(kCommandOne, false, false);
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
}

TEST_F(PolicyTest, ValuesOfTheWrongTypeSizeOrRangeAreNoPolicy)
{
    ASSERT_TRUE(StoreModeText("1"));
    ASSERT_TRUE(Start(kModeIconId));
    for (const RegistryData& data : {RegistryData{REG_SZ, {'2', 0}}, Dword(2, REG_QWORD, 8), Dword(0), Dword(3),
             Dword(0, REG_DWORD, 0)}) {
        SetPolicy(HKEY_LOCAL_MACHINE, "ButtonMode", data);
        SetPolicy(HKEY_LOCAL_MACHINE, "AllowExit", data.bytes == Dword(0).bytes ? Dword(2) : data);
        AnnouncePolicy();
        ExpectMenu(kCommandOne, false, false);
    }
}

TEST_F(PolicyTest, AllowSettingsZeroGreysSettingsAndItsCommandOpensNothingUntilThePolicyGoes)
{
    SetPolicy(HKEY_CURRENT_USER, "AllowSettings", Dword(0));
    ASSERT_TRUE(Start(kFirstIconId));
    MenuReading menu = MenuAsShownBy(kLeftButton);
    ASSERT_TRUE(menu.Succeeded()) << menu.failure;
    EXPECT_TRUE(menu.Find(kCommandSettings)->greyed) << menu.Describe();
    PostCommand(m_mainWindow, kCommandSettings);
    EXPECT_TRUE(StaysAbsent(m_program.Id(), kDialogClass, "Vantrel Settings", 3000)) << "Settings opened";

    RegDeleteTreeA(HKEY_CURRENT_USER, kPolicyKey);
    AnnouncePolicy();
    menu = MenuAsShownBy(kLeftButton);
    ASSERT_TRUE(menu.Succeeded()) << menu.failure;
    EXPECT_FALSE(menu.Find(kCommandSettings)->greyed) << menu.Describe();
}

TEST_F(PolicyTest, ThePolicysShortcutStandsInsteadOfTheUsersAndAForcedModeIgnoresIt)
{
    ASSERT_TRUE(StoreModeText("1"));
    ASSERT_TRUE(StoreProgramValue("ToggleHotkey", Dword(kCtrlShiftF9)));
    SetPolicy(HKEY_LOCAL_MACHINE, "ToggleHotkey", Dword(kCtrlShiftF8));
    ASSERT_TRUE(Start(kModeIconId));

    ASSERT_TRUE(PressKeysOnTestWindow("ctrl+shift+F9"));
    LetProgramSettle();
    EXPECT_EQ(ReadStoredMode()->Text(), "1") << "the user's own shortcut switched the mode";
    ASSERT_TRUE(PressKeysOnTestWindow("ctrl+shift+F8"));
    ASSERT_TRUE(StoredModeBecomes("2", 5000));

    SetPolicy(HKEY_CURRENT_USER, "ButtonMode", Dword(2));
    AnnouncePolicy();
    ASSERT_TRUE(PressKeysOnTestWindow("ctrl+shift+F8"));
    LetProgramSettle();
    EXPECT_EQ(ReadStoredMode()->Text(), "2");
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
}

TEST_F(PolicyTest, BounceTimesOfTheWrongTypeOrOver500AreNone)
{
    const struct {
        RegistryData user, machinePolicy;
        const char* arrived;
    } cases[] = {
        {Dword(0), {}, kTwoLeftClicksArrived},
        {RegistryData{REG_SZ, {'3', '0', '0', 0}}, {}, kTwoLeftClicksArrived},
        {Dword(501), {}, kTwoLeftClicksArrived},
        {Dword(0), Dword(300), kLeftClickArrived},
        {Dword(300), Dword(501), kLeftClickArrived},
    };
    for (const auto& row : cases) {
        TearDown();
        ASSERT_TRUE(StoreModeText("1"));
        ASSERT_TRUE(StoreProgramValue("BounceMs", row.user));
        if (row.machinePolicy.type != REG_NONE)
            SetPolicy(HKEY_LOCAL_MACHINE, "BounceMs", row.machinePolicy);
        ASSERT_TRUE(Start(kModeIconId));
        EXPECT_EQ(RealInputOnTestWindow("click --repeat 2 --delay 50 1", 4), row.arrived)
            << "user " << row.user.Text() << ", machine " << row.machinePolicy.Text();
    }
}

// Windows' Restart Manager ends programs this way when an installer must
// replace their files, even with Exit greyed. Wine's msiexec never does.
TEST_F(PolicyTest, TheEndOfTheSessionEndsEvenAProgramWithoutExit)
{
    SetPolicy(HKEY_LOCAL_MACHINE, "AllowExit", Dword(0));
    ASSERT_TRUE(StoreModeText("1"));
    ASSERT_TRUE(Start(kModeIconId));
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(m_mainWindow, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 20000, &answer);
    EXPECT_EQ(answer, TRUE);
    PostMessageA(m_mainWindow, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    ASSERT_TRUE(m_program.WaitForExit(20000));
    DWORD exitCode = STILL_ACTIVE;
    EXPECT_TRUE(GetExitCodeProcess(m_program.Handle(), &exitCode) && exitCode == 0) << exitCode;
    EXPECT_FALSE(IconExists(m_mainWindow, kModeIconId));
    EXPECT_EQ(ReadStoredMode()->Text(), "1");
}

} // namespace
} // namespace e2e
