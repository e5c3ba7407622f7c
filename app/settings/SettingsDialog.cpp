#include "SettingsDialog.h"

#include "BounceJudge.h"
#include "NormalProgramRule.h"
#include "resource.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace {

constexpr wchar_t kPolicyMark[] = L" (set by the administrator)";
constexpr wchar_t kDescriptionSeparator[] = L" - ";
constexpr wchar_t kShortcutNotAvailable[] = L"Not available: another program uses it.";
constexpr wchar_t kShortcutRefused[] = L"This shortcut is already used by another program.";
// Room for "500" and no more.
constexpr WPARAM kBounceDigits = 3;

std::wstring ControlText(HWND control)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// What was typed, as the list keeps it: without the spaces around it and
// without a folder, should a path have been typed or pasted.
std::wstring TypedProgramName(std::wstring text)
{
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return {};
    text = text.substr(first, text.find_last_not_of(L" \t") - first + 1);
    const size_t folder = text.find_last_of(L"\\/:");
    return folder == std::wstring::npos ? text : text.substr(folder + 1);
}

} // namespace

BEGIN_MESSAGE_MAP(SettingsDialog, CDialog)
    ON_COMMAND(IDC_ADD_PROGRAM, OnAddProgram)
    ON_COMMAND(IDC_REMOVE_PROGRAM, OnRemoveProgram)
END_MESSAGE_MAP()

SettingsDialog::SettingsDialog(NormalPrograms programs, InputSettingsInForce& inputSettings)
    : CDialog(IDD_SETTINGS, nullptr), m_programs(std::move(programs)), m_inputSettings(inputSettings)
{
}

BOOL SettingsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_running = ProgramsWithVisibleWindows();
    ShowPrograms(0);
    ShowInputSettings();
    return TRUE;
}

void SettingsDialog::ShowInputSettings()
{
    const InputSettings& settings = m_inputSettings.Settings();
    const HWND hotkey = GetDlgItem(m_hWnd, IDC_TOGGLE_HOTKEY);
    // A key alone or with Shift alone would be taken from every program's
    // typing: the control adds Ctrl+Alt to it.
    SendMessageW(hotkey, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    SendMessageW(hotkey, HKM_SETHOTKEY, settings.toggleHotkey, 0);
    ::EnableWindow(hotkey, !settings.toggleHotkeyFixed);
    if (!m_inputSettings.ToggleHotkeyAvailable())
        SetDlgItemTextW(m_hWnd, IDC_TOGGLE_HOTKEY_STATE, kShortcutNotAvailable);

    const HWND spin = GetDlgItem(m_hWnd, IDC_BOUNCE_SPIN);
    SendMessageW(spin, UDM_SETRANGE32, 0, kMaxBounceMs);
    SendMessageW(spin, UDM_SETPOS32, 0, static_cast<LPARAM>(settings.bounceMs));
    SendDlgItemMessageW(m_hWnd, IDC_BOUNCE_MS, EM_LIMITTEXT, kBounceDigits, 0);
    SetDlgItemInt(m_hWnd, IDC_BOUNCE_MS, settings.bounceMs, FALSE);
    ::EnableWindow(GetDlgItem(m_hWnd, IDC_BOUNCE_MS), !settings.bounceMsFixed);
    ::EnableWindow(spin, !settings.bounceMsFixed);
}

void SettingsDialog::FocusControl(int id)
{
    MessageBeep(MB_ICONWARNING);
    // As the dialog manager moves the focus, so that the default button and
    // an edit's selection follow.
    SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(m_hWnd, id)), TRUE);
}

void SettingsDialog::OnOK()
{
    const InputSettings inForce = m_inputSettings.Settings();
    // ES_NUMBER keeps out all but digits as they are typed, not as they are
    // pasted; an empty field is no time either.
    BOOL isNumber = FALSE;
    const UINT bounceMs = GetDlgItemInt(m_hWnd, IDC_BOUNCE_MS, &isNumber, FALSE);
    if (!inForce.bounceMsFixed && (!isNumber || bounceMs > kMaxBounceMs)) {
        FocusControl(IDC_BOUNCE_MS);
        return;
    }
    // The shortcut first: refused, it leaves nothing else changed. One kept
    // as it was is asked for again when it could not be had, and a second
    // refusal of it is no reason to hold the dialog.
    const WORD hotkey = LOWORD(SendDlgItemMessageW(m_hWnd, IDC_TOGGLE_HOTKEY, HKM_GETHOTKEY, 0, 0));
    if (hotkey != inForce.toggleHotkey || !m_inputSettings.ToggleHotkeyAvailable()) {
        if (m_inputSettings.ChangeToggleHotkey(hotkey) == SettingChange::UsedByAnotherProgram &&
            hotkey != inForce.toggleHotkey) {
            SetDlgItemTextW(m_hWnd, IDC_TOGGLE_HOTKEY_STATE, kShortcutRefused);
            FocusControl(IDC_TOGGLE_HOTKEY);
            return;
        }
    }
    if (bounceMs != inForce.bounceMs)
        m_inputSettings.ChangeBounceMs(bounceMs);
    CDialog::OnOK();
}

std::wstring SettingsDialog::EntryText(const std::wstring& name, bool policy) const
{
    std::wstring text = name;
    const auto running = std::find_if(m_running.begin(), m_running.end(),
        [&name](const RunningProgram& program) { return SameProgramName(program.fileName, name); });
    if (running != m_running.end() && !running->description.empty())
        text += kDescriptionSeparator + running->description;
    if (policy)
        text += kPolicyMark;
    return text;
}

void SettingsDialog::ShowPrograms(int selection)
{
    const HWND list = GetDlgItem(m_hWnd, IDC_PROGRAMS_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    // The administrators' entries first, as the filter takes them.
    for (const std::wstring& name : m_programs.policy)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(EntryText(name, true).c_str()));
    for (const std::wstring& name : m_programs.user)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(EntryText(name, false).c_str()));
    const int count = static_cast<int>(m_programs.policy.size() + m_programs.user.size());
    if (count > 0)
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(std::min(selection, count - 1)), 0);
}

void SettingsDialog::OnAddProgram()
{
    AddProgramDialog dialog(this, m_running);
    m_pAddDialog = &dialog;
    const INT_PTR result = dialog.DoModal();
    m_pAddDialog = nullptr;
    if (result != IDOK || m_ending)
        return;
    const std::wstring& name = dialog.ProgramName();
    if (!m_programs.Contains(name) && m_programs.user.size() < kMaxNormalPrograms)
        m_programs.user.push_back(name);
    const auto same = [&name](const std::wstring& other) { return SameProgramName(other, name); };
    const auto inPolicy = std::find_if(m_programs.policy.begin(), m_programs.policy.end(), same);
    const auto inUser = std::find_if(m_programs.user.begin(), m_programs.user.end(), same);
    ShowPrograms(inPolicy != m_programs.policy.end()
            ? static_cast<int>(inPolicy - m_programs.policy.begin())
            : static_cast<int>(m_programs.policy.size()) + static_cast<int>(inUser - m_programs.user.begin()));
}

void SettingsDialog::End()
{
    m_ending = true;
    if (m_pAddDialog != nullptr)
        m_pAddDialog->EndDialog(IDCANCEL);
    EndDialog(IDCANCEL);
}

void SettingsDialog::OnRemoveProgram()
{
    const LRESULT selection = SendDlgItemMessageW(m_hWnd, IDC_PROGRAMS_LIST, LB_GETCURSEL, 0, 0);
    const LRESULT firstUser = static_cast<LRESULT>(m_programs.policy.size());
    // Nothing chosen, or an administrator's entry: nothing to take out.
    if (selection == LB_ERR || selection < firstUser) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    m_programs.user.erase(m_programs.user.begin() + (selection - firstUser));
    ShowPrograms(static_cast<int>(selection));
}

BEGIN_MESSAGE_MAP(AddProgramDialog, CDialog)
END_MESSAGE_MAP()

AddProgramDialog::AddProgramDialog(CWnd* parent, const std::vector<RunningProgram>& running)
    : CDialog(IDD_ADD_PROGRAM, parent), m_running(running)
{
}

BOOL AddProgramDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    const HWND names = GetDlgItem(m_hWnd, IDC_PROGRAM_NAME);
    for (const RunningProgram& program : m_running)
        SendMessageW(names, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(program.fileName.c_str()));
    SendMessageW(names, CB_LIMITTEXT, kMaxProgramNameLength, 0);
    return TRUE;
}

void AddProgramDialog::OnOK()
{
    const HWND names = GetDlgItem(m_hWnd, IDC_PROGRAM_NAME);
    m_name = TypedProgramName(ControlText(names));
    if (!IsValidProgramName(m_name)) {
        MessageBeep(MB_ICONWARNING);
        SetFocus(names);
        return;
    }
    CDialog::OnOK();
}
