// Programs where the buttons work as usual, with real X input: the test
// program itself is the listed (or unlisted) program, its click recorder the
// window; the program's own Settings dialog is a window of another program.

#include "ProgramFixture.h"
#include "ProgramWindows.h"
#include "RealInput.h"
#include "RecordingMouseHook.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <string>

namespace e2e {
namespace {

using namespace std::string_literals;

constexpr char kPolicyKey[] = "Software\\Policies\\Vantrel";
// Ctrl+Shift+F8 to F10 in the hotkey control's format (Ctrl+Alt+F-keys switch X's consoles).
constexpr DWORD kCtrlShiftF8 = 0x0377, kCtrlShiftF9 = 0x0378;
constexpr int kHotkeyControl = 1051, kHotkeyStateText = 1052, kBounceEdit = 1054;
constexpr char kSettingsTitle[] = "Vantrel Settings";
constexpr char kAddTitle[] = "Add Program";
constexpr DWORD kDialogTimeoutMs = 10000;
// Wine passes an event on after about 2 s when a hook's thread does not answer.
constexpr DWORD kHookedTimeoutMs = 6000;
constexpr DWORD kStragglerWaitMs = 500;

// This test program's file name, as a listed program's.
std::wstring TestProgramName()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full = path;
    return full.substr(full.find_last_of(L'\\') + 1);
}

// The value's data exactly: the A functions of the harness would convert
// the UTF-16 text.
bool StoreList(const std::wstring& block, DWORD type = REG_MULTI_SZ)
{
    return RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Vantrel", L"NormalPrograms", type, block.data(),
               DWORD(block.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring StoredList()
{
    wchar_t data[64] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Vantrel", L"NormalPrograms", RRF_RT_REG_MULTI_SZ, nullptr, data,
            &size) != ERROR_SUCCESS)
        return L"(none)";
    return std::wstring(data, size / sizeof(wchar_t));
}

struct SettingsDialogCount {
    DWORD processId;
    int dialogs;
};

BOOL CALLBACK CountSettingsDialogs(HWND window, LPARAM context)
{
    auto& count = *reinterpret_cast<SettingsDialogCount*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    count.dialogs += processId == count.processId && IsWindowVisible(window) &&
        testing_support::WindowTextOf(window) == kSettingsTitle;
    return TRUE;
}

class NormalProgramsTest : public ProgramTest {
protected:
    NormalProgramsTest() { TearDown(); }
    void TearDown() override
    {
        ProgramTest::TearDown();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPolicyKey);
        RegDeleteTreeA(HKEY_CURRENT_USER, kPolicyKey);
    }
    ::testing::AssertionResult StartInOneWithList(const std::wstring& block)
    {
        if (!StoreModeText("1") || !StoreList(block))
            return ::testing::AssertionFailure() << "could not store the settings";
        return Start(kModeIconId);
    }
    HWND OpenSettings()
    {
        EXPECT_TRUE(Choose(MenuChoice::Settings, kLeftButton));
        const HWND settings = WaitForVisibleWindow(m_program.Id(), kDialogClass, kSettingsTitle, kDialogTimeoutMs);
        // X gives the keys to the window under the pointer here.
        RECT rect{};
        if (settings != nullptr && GetWindowRect(settings, &rect))
            MovePointerTo(CentreOf(rect));
        return settings;
    }
    // A real press at one point and its release at another, and what the
    // test's hook (installed before the program, so called after its
    // filter) was handed: "WM_RBUTTONDOWN WM_RBUTTONUP" style text.
    std::string HookedDrag(RecordingMouseHook& hook, POINT from, POINT to)
    {
        testing_support::PumpMessagesFor(kStragglerWaitMs);
        hook.Clear();
        if (!PressAt(from, kRightButton) || !MovePointerTo(to) || !ReleaseButton(kRightButton))
            return "(xdotool failed)";
        testing_support::PumpMessagesUntil([&] { return hook.ButtonEvents().size() >= 2; }, kHookedTimeoutMs);
        testing_support::PumpMessagesFor(kStragglerWaitMs);
        std::vector<UINT> messages;
        for (const HookedMouseEvent& event : hook.ButtonEvents())
            messages.push_back(static_cast<UINT>(event.message));
        return ButtonMessageNames(messages);
    }
    static void PressKeys(const std::string& keys)
    {
        EXPECT_EQ(testing_support::RunUnixCommand("xdotool key --delay 100 " + keys, 10000), 0) << keys;
    }
};

TEST_F(NormalProgramsTest, RightClicksOnAListedProgramsWindowStayRightClicksAndOnOthersBecomeLeftClicks)
{
    ASSERT_TRUE(StartInOneWithList(L"other.exe\0"s + TestProgramName() + L'\0' + L'\0'));
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
    TestWindow().Clear();
    ASSERT_TRUE(ClickAt(TestWindow().Centre(), kMiddleButton));
    EXPECT_TRUE(TestWindow().WaitForMessages(2, kHookedTimeoutMs));
    EXPECT_EQ(ButtonMessageNames(TestWindow().Messages()), "WM_MBUTTONDOWN WM_MBUTTONUP");

    // A new list, read again on the policy broadcast, reaches the filter.
    ASSERT_TRUE(StoreList(L"other.exe\0\0"s));
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 1, LPARAM("Policy"), SMTO_ABORTIFHUNG, 20000, nullptr);
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
}

TEST_F(NormalProgramsTest, APressReleasedOverAnotherProgramsWindowStaysAPairOfTheSameKind)
{
    RecordingMouseHook hook;
    ASSERT_TRUE(hook.IsInstalled());
    ASSERT_TRUE(StartInOneWithList(TestProgramName() + L'\0' + L'\0'));
    const POINT listed = TestWindow().Centre();
    const HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    // The dialog's empty lower left corner: a window of Vantrel, not listed.
    RECT rect{};
    GetWindowRect(settings, &rect);
    const POINT unlisted{rect.left + 10, rect.bottom - 10};

    EXPECT_EQ(HookedDrag(hook, listed, unlisted), "WM_RBUTTONDOWN WM_RBUTTONUP");
    EXPECT_EQ(HookedDrag(hook, unlisted, listed), "WM_LBUTTONDOWN WM_LBUTTONUP");
    PostCommand(settings, IDCANCEL);
    EXPECT_TRUE(WaitUntilGone(settings, kDialogTimeoutMs));
}

TEST_F(NormalProgramsTest, MachineAndUserPolicyListsAddToTheUsersList)
{
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        TearDown();
        const std::wstring name = TestProgramName();
        ASSERT_EQ(RegSetKeyValueW(root, L"Software\\Policies\\Vantrel\\NormalPrograms", L"1", REG_SZ, name.c_str(),
                      DWORD((name.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
        ASSERT_TRUE(StartInOneWithList(L"other.exe\0\0"s));
        EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived) << (root == HKEY_LOCAL_MACHINE ? "machine" : "user");
    }
}

TEST_F(NormalProgramsTest, MalformedListsAreReadSafelyAndWhatIsWellFormedStillApplies)
{
    const std::wstring name = TestProgramName();
    struct Case {
        std::wstring block;
        DWORD type;
        const char* arrives;
    };
    for (const Case& c : {
             // Empty and over-long strings, a path, and no terminator at all.
             Case{L"\0"s + std::wstring(300, L'x') + L'\0' + L"C:\\a\\b.exe\0"s + name, REG_MULTI_SZ, kRightClickArrived},
             // Another type: nothing listed.
             Case{name + L'\0', REG_SZ, kLeftClickArrived},
         }) {
        TearDown();
        ASSERT_TRUE(StoreModeText("1"));
        ASSERT_TRUE(StoreList(c.block, c.type));
        ASSERT_TRUE(Start(kModeIconId));
        EXPECT_EQ(RealRightClickOnTestWindow(), c.arrives);
    }
}

TEST_F(NormalProgramsTest, TheDialogDrivenByKeysAddsAndRemovesAnEntryAndStoresWhatItShowed)
{
    ASSERT_TRUE(Start(kFirstIconId));
    TestWindow();
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    PressKeys("alt+a");
    const HWND add = WaitForVisibleWindow(m_program.Id(), kDialogClass, kAddTitle, kDialogTimeoutMs);
    ASSERT_NE(add, nullptr);
    // Offered: the programs with a visible window now, this one among them.
    EXPECT_NE(SendMessageW(GetDlgItem(add, 1012), CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(TestProgramName().c_str())),
        CB_ERR);
    EXPECT_EQ(testing_support::RunUnixCommand("xdotool type --delay 100 Tool.exe", 20000), 0);
    PressKeys("Return");
    EXPECT_TRUE(WaitUntilGone(add, kDialogTimeoutMs));
    // The list's entries, read across processes as a screen reader would.
    const HWND list = GetDlgItem(settings, 1002);
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
    wchar_t shown[300] = {};
    SendMessageW(list, LB_GETTEXT, 0, LPARAM(shown));
    EXPECT_EQ(std::wstring(shown), L"Tool.exe");
    // The label's mnemonic takes the keyboard to the list, where Enter is OK.
    PressKeys("alt+p Return");
    EXPECT_TRUE(WaitUntilGone(settings, kDialogTimeoutMs));
    LetProgramSettle();
    EXPECT_EQ(StoredList(), L"Tool.exe\0\0"s);

    settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    PressKeys("alt+p alt+r alt+p Return");
    EXPECT_TRUE(WaitUntilGone(settings, kDialogTimeoutMs));
    LetProgramSettle();
    EXPECT_EQ(StoredList(), L"\0"s);
}

TEST_F(NormalProgramsTest, TheEndOfTheSessionEndsTheProgramWithSettingsAndItsAddDialogOpen)
{
    ASSERT_TRUE(Start(kFirstIconId));
    const HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    // Chosen again, Settings opens no second dialog.
    ASSERT_TRUE(Choose(MenuChoice::Settings, kLeftButton));
    LetProgramSettle();
    SettingsDialogCount count{m_program.Id(), 0};
    EnumWindows(CountSettingsDialogs, LPARAM(&count));
    EXPECT_EQ(count.dialogs, 1);
    PostCommand(settings, 1003);
    ASSERT_NE(WaitForVisibleWindow(m_program.Id(), kDialogClass, kAddTitle, kDialogTimeoutMs), nullptr);

    PostMessageA(m_mainWindow, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    ASSERT_TRUE(m_program.WaitForExit(20000));
    DWORD exitCode = STILL_ACTIVE;
    EXPECT_TRUE(GetExitCodeProcess(m_program.Handle(), &exitCode) && exitCode == 0) << exitCode;
    EXPECT_EQ(StoredList(), L"(none)") << "nothing stored";
}

TEST_F(NormalProgramsTest, TheDialogSetsTheShortcutAndBounceTimeItShowsAndRefusesOneHeldElsewhere)
{
    ASSERT_TRUE(Start(kFirstIconId));
    HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    PressKeys("alt+i End BackSpace BackSpace BackSpace 2 5 0 alt+s ctrl+shift+F9");
    EXPECT_EQ(SendMessageW(GetDlgItem(settings, kHotkeyControl), HKM_GETHOTKEY, 0, 0), LRESULT(kCtrlShiftF9));
    EXPECT_EQ(WindowTextOf(GetDlgItem(settings, kBounceEdit)), "250");
    PressKeys("Return");
    EXPECT_TRUE(WaitUntilGone(settings, kDialogTimeoutMs));
    EXPECT_EQ(ReadProgramValue("ToggleHotkey").value_or(RegistryData{}).bytes, Dword(kCtrlShiftF9).bytes);
    EXPECT_EQ(ReadProgramValue("BounceMs").value_or(RegistryData{}).bytes, Dword(250).bytes);
    // In force at once: the shortcut switches to One, where a press 50 ms after a release is bounce.
    ASSERT_TRUE(PressKeysOnTestWindow("ctrl+shift+F9"));
    EXPECT_TRUE(StoredModeBecomes("1", kDialogTimeoutMs));
    EXPECT_EQ(RealInputOnTestWindow("click --repeat 2 --delay 50 1", 2), kLeftClickArrived);
    // Another program takes the combination once it is typed, before OK.
    settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    PressKeys("alt+s ctrl+shift+F10");
    ASSERT_TRUE(RegisterHotKey(TestWindow().Window(), 1, MOD_CONTROL | MOD_SHIFT, VK_F10));
    PressKeys("Return");
    EXPECT_TRUE(testing_support::PumpMessagesUntil([&] {
        return WindowTextOf(GetDlgItem(settings, kHotkeyStateText)) == "This shortcut is already used by another program.";
    }, kDialogTimeoutMs));
    GUITHREADINFO focus{sizeof focus, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {}};
    EXPECT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(settings, nullptr), &focus));
    EXPECT_EQ(focus.hwndFocus, GetDlgItem(settings, kHotkeyControl));
    PressKeys("Escape");
    EXPECT_TRUE(WaitUntilGone(settings, kDialogTimeoutMs));
    EXPECT_EQ(ReadProgramValue("ToggleHotkey").value_or(RegistryData{}).bytes, Dword(kCtrlShiftF9).bytes);
    ASSERT_TRUE(PressKeysOnTestWindow("ctrl+shift+F9"));
    EXPECT_TRUE(StoredModeBecomes("2", kDialogTimeoutMs)) << "the old shortcut";
}

TEST_F(NormalProgramsTest, APolicysValuesAreGreyedAndAShortcutHeldAtStartIsShownNotAvailable)
{
    ASSERT_TRUE(RegisterHotKey(TestWindow().Window(), 1, MOD_CONTROL | MOD_SHIFT, VK_F8));
    for (const auto& [name, value] : {std::pair{"ToggleHotkey", kCtrlShiftF8}, {"BounceMs", 100ul}})
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kPolicyKey, name, REG_DWORD, &value, 4), ERROR_SUCCESS);
    ASSERT_TRUE(Start(kFirstIconId));
    const HWND settings = OpenSettings();
    ASSERT_NE(settings, nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(settings, kHotkeyControl)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(settings, kBounceEdit)));
    EXPECT_EQ(SendMessageW(GetDlgItem(settings, kHotkeyControl), HKM_GETHOTKEY, 0, 0), LRESULT(kCtrlShiftF8));
    EXPECT_EQ(WindowTextOf(GetDlgItem(settings, kHotkeyStateText)), "Not available: another program uses it.");
}

} // namespace
} // namespace e2e
