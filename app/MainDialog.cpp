#include "MainDialog.h"

#include "AboutDialog.h"
#include "ButtonMode.h"
#include "FilterLibrary.h"
#include "RegisteredMessages.h"
#include "RegistryKey.h"
#include "RunningInstance.h"
#include "SettingsDialog.h"
#include "StoredButtonMode.h"
#include "TrayIcon.h"
#include "TrayMenuHandler.h"
#include "resource.h"

#include <utility>

namespace {

constexpr char kSettingsKey[] = "Software\\Vantrel";
constexpr char kModeValueName[] = "Mode";
constexpr REGSAM kSettingsAccess = KEY_QUERY_VALUE | KEY_SET_VALUE;

// The icon is added as identifier 130 with the window's own tooltip, and from
// the first mode applied on as identifier 129 with the tooltip that says what
// the menu does.
constexpr UINT kFirstTrayIconId = 130;
constexpr char kFirstTooltip[] = "Vantrel";
constexpr UINT kModeTrayIconId = 129;
constexpr char kModeTooltip[] = "Toggle Mouse Buttons";

constexpr char kExitQuestion[] = "Are you sure you want to exit Vantrel?";

// Room for the system menu's About text; the string resource is short.
constexpr int kMenuTextSize = 256;

HICON LoadProgramIcon(UINT iconId)
{
    const LPCSTR name = MAKEINTRESOURCEA(iconId);
    return LoadIconA(AfxFindResourceHandle(name, RT_GROUP_ICON), name);
}

// The paint context of one WM_PAINT: BeginPaint here, EndPaint at scope end.
class PaintContext {
public:
    explicit PaintContext(HWND window) : m_window(window), m_dc(BeginPaint(window, &m_paint)) {}
    ~PaintContext() { EndPaint(m_window, &m_paint); }
    PaintContext(const PaintContext&) = delete;
    PaintContext& operator=(const PaintContext&) = delete;

    HDC Handle() const { return m_dc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
};

void ShowAboutDialog()
{
    AboutDialog dialog;
    dialog.DoModal();
}

} // namespace

BEGIN_MESSAGE_MAP(MainDialog, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_REGISTERED_MESSAGE(TaskbarCreatedMessage, OnTaskbarCreated)
    ON_REGISTERED_MESSAGE(NotifyIconMessage, OnNotifyIcon)
    ON_REGISTERED_MESSAGE(ShowMenuRequestMessage, OnShowMenuRequest)
    ON_COMMAND(ID_TRAY_ABOUT, OnAbout)
    ON_COMMAND(ID_TRAY_SETTINGS, OnSettings)
    ON_COMMAND(IDCANCEL, OnHideWindow)
    ON_COMMAND(ID_TRAY_EXIT, OnExit)
    ON_COMMAND(IDOK, OnOkCommand)
    ON_WM_WINDOWPOSCHANGING()
    ON_COMMAND(ID_MODE_NORMAL, OnModeNormal)
    ON_COMMAND(ID_MODE_ONE, OnModeOne)
    ON_MESSAGE(WM_TIMER, OnTimerMessage)
    ON_MESSAGE(WM_POWERBROADCAST, OnPowerBroadcast)
    ON_MESSAGE(WM_WTSSESSION_CHANGE, OnSessionChange)
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChange)
    ON_MESSAGE(WM_QUERYENDSESSION, OnQueryEndSession)
    ON_MESSAGE(WM_ENDSESSION, OnEndSession)
    ON_MESSAGE(WM_EXITMENULOOP, OnExitMenuLoop)
    ON_MESSAGE(WM_HOTKEY, OnHotkey)
END_MESSAGE_MAP()

MainDialog::MainDialog(CWnd* parent)
    : CDialog(IDD_VANTREL_DIALOG, parent), m_buttonMode(kButtonModeNormal), m_hIcon(LoadProgramIcon(IDI_MODE_NORMAL))
{
}

MainDialog::~MainDialog()
{
    FreeTrayObjects();
}

BOOL MainDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    // A later start that waited in vain for this window has taken over.
    if (RunningInstance::MarkNamesAnotherProcess()) {
        EndDialog(IDOK);
        return TRUE;
    }
    AddAboutToSystemMenu();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    CreateTrayIcon();
    // Before the mode, so that a filter applied at start judges bounce from
    // its first event.
    m_inputSettings.Apply(m_hWnd);
    ApplyStoredMode();
    return TRUE;
}

void MainDialog::AddAboutToSystemMenu()
{
    const HMENU systemMenu = GetSystemMenu(FALSE);
    if (systemMenu == nullptr)
        return;
    char text[kMenuTextSize] = {};
    LoadStringA(AfxGetResourceHandle(), IDS_ABOUTBOX, text, kMenuTextSize);
    if (text[0] == '\0')
        return;
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
}

void MainDialog::CreateTrayIcon()
{
    m_pHandlerArray = new TrayIconHandler*[2];
    m_pRightClickHandler = new TrayMenuHandler(WM_RBUTTONDOWN);
    m_pLeftClickHandler = new TrayMenuHandler(WM_LBUTTONDOWN);
    m_pHandlerArray[0] = m_pLeftClickHandler;
    m_pHandlerArray[1] = m_pRightClickHandler;
    m_pTrayIcon = new TrayIcon(m_hWnd, kFirstTrayIconId, m_hIcon, kFirstTooltip, m_pHandlerArray, 2);
    m_iconRetry.Show(m_pTrayIcon, m_hWnd);
}

void MainDialog::ApplyStoredMode()
{
    // Without the key (first start) and without a policy the default mode
    // stands and nothing is applied: the icon keeps its first look.
    m_policy.Read();
    m_normalPrograms = ReadNormalPrograms();
    const std::optional<int> mode = ModeInForce();
    if (!mode)
        return;
    m_buttonMode = *mode;
    SetFilterMode(m_buttonMode);
}

std::optional<int> MainDialog::ModeInForce()
{
    if (m_policy.ForcedMode() != 0)
        return m_policy.ForcedMode();
    RegistryKey key(0);
    if (!key.Open(kSettingsKey, HKEY_CURRENT_USER, kSettingsAccess, false))
        return std::nullopt;
    const int mode = StoredButtonMode(*key.Value(kModeValueName));
    key.Close();
    return mode;
}

LRESULT MainDialog::OnSettingChange(WPARAM, LPARAM lParam)
{
    if (m_pTrayIcon == nullptr || !ButtonModePolicy::IsPolicyChange(lParam))
        return 0;
    // A policy removed gives the user's stored mode back (Normal without one).
    m_policy.Read();
    m_normalPrograms = ReadNormalPrograms();
    m_inputSettings.Apply(m_hWnd);
    const int newMode = ModeInForce().value_or(kButtonModeNormal);
    if (newMode != m_buttonMode) {
        m_buttonMode = newMode;
        SetFilterMode(m_buttonMode);
    } else {
        HandNormalProgramsToFilter(m_buttonMode);
    }
    return 0;
}

void MainDialog::SetFilterMode(int mode)
{
    HandNormalProgramsToFilter(mode);
    bool installed = false;
    const FilterCallResult called = CallMouseFilter(FilterLibraryPath(), mode, &installed);
    // Normal stops the watch even when the library failed, or the watch
    // would put the hook back against the user's choice. One stays the chosen
    // mode even when the hook could not be installed: the watch keeps trying.
    if (mode != kButtonModeOne)
        m_filterWatch.Stop();
    if (called != FilterCallResult::Called)
        return;
    if (mode == kButtonModeOne)
        m_filterWatch.Start(m_hWnd, installed);
    const UINT modeIconId = mode == kButtonModeOne ? IDI_MODE_ONE : IDI_MODE_NORMAL;
    const HICON modeIcon = LoadProgramIcon(modeIconId);
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(modeIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(modeIcon));
    // The remove names the icon by its previous identifier, so it comes before
    // the new data. Each shell call waits for the shell and meanwhile serves
    // messages sent to this thread, in which Exit may free the icon: the
    // pointer is tested before each use.
    m_filterWatch.TimeShellCalls([this, modeIcon] {
        if (m_pTrayIcon != nullptr)
            m_pTrayIcon->RemoveIcon();
        if (m_pTrayIcon != nullptr)
            m_pTrayIcon->SetIconData(m_hWnd, kModeTrayIconId, modeIcon, kModeTooltip);
        m_iconRetry.Show(m_pTrayIcon, m_hWnd);
    });
}

void MainDialog::HandNormalProgramsToFilter(int mode)
{
    if (mode == kButtonModeOne)
        HandNormalPrograms(FilterLibraryPath(), m_normalPrograms.FilterBlock());
}

void MainDialog::OnSettings()
{
    if (m_pTrayIcon == nullptr || !m_policy.AllowsSettings())
        return;
    if (m_pSettingsDialog != nullptr) {
        m_pSettingsDialog->SetForegroundWindow();
        return;
    }
    SettingsDialog dialog(m_normalPrograms, m_inputSettings);
    m_pSettingsDialog = &dialog;
    const INT_PTR result = dialog.DoModal();
    m_pSettingsDialog = nullptr;
    // Exit may have come while the dialog was open: nothing more then.
    if (result != IDOK || m_pTrayIcon == nullptr)
        return;
    StoreUserPrograms(dialog.UserPrograms());
    m_normalPrograms = ReadNormalPrograms();
    HandNormalProgramsToFilter(m_buttonMode);
}

void MainDialog::OnModeOne()
{
    SwitchMode(kButtonModeOne);
}

void MainDialog::OnModeNormal()
{
    SwitchMode(kButtonModeNormal);
}

void MainDialog::SwitchMode(int newMode)
{
    // A mode command that arrives once Exit has freed the icon changes
    // nothing: the program is ending; nor does one while an administrator's
    // policy forces the mode. A stored value that is no mode at all gives way
    // to either command.
    if (m_pTrayIcon == nullptr || m_policy.ForcedMode() != 0)
        return;
    // One chosen again tells that right clicks pass: a new hook at once,
    // nothing written.
    if (m_buttonMode == newMode) {
        if (newMode == kButtonModeOne)
            m_filterWatch.Renew();
        return;
    }
    m_buttonMode = newMode;
    SetFilterMode(m_buttonMode);
    SaveButtonMode();
}

LRESULT MainDialog::OnHotkey(WPARAM wParam, LPARAM)
{
    // The menu's own path: a forced mode or an ending program changes nothing
    // here either, and a stored value that is no mode gives way to One.
    if (m_inputSettings.IsToggleHotkey(wParam))
        SwitchMode(m_buttonMode == kButtonModeOne ? kButtonModeNormal : kButtonModeOne);
    return 0;
}

void MainDialog::SaveButtonMode()
{
    RegistryKey key(REGKEY_CREATE);
    if (key.Open(kSettingsKey, HKEY_CURRENT_USER, kSettingsAccess, false))
        key.Value(kModeValueName)->SetInt(m_buttonMode);
    key.Close();
}

void MainDialog::OnExit()
{
    if (m_policy.AllowsExit())
        OnCancel();
}

void MainDialog::OnCancel()
{
    // Once the icon is freed the program is ending: nothing left to ask.
    if (m_pTrayIcon == nullptr)
        return;
    // The question's message box runs a nested loop, in which the popup menu
    // can send Exit (or the OK command) again and free everything: the
    // objects are looked at afresh, through their pointers, after it.
    if (AfxMessageBox(kExitQuestion, MB_YESNO | MB_DEFBUTTON2) != IDYES)
        return;
    m_filterWatch.End();
    FreeTrayObjects();
    CDialog::OnCancel();
}

BOOL MainDialog::PreTranslateMessage(MSG* message)
{
    // The window is never shown, yet it is the foreground window while the
    // popup menu is open, and may stay so after it: keys that reach it were
    // typed for some other window. The dialog manager would make Enter the OK
    // command, which ends the program unasked, so no key gets that far. The OK
    // command sent as a command still ends it.
    return message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST;
}

void MainDialog::OnOkCommand()
{
    m_filterWatch.End();
    FreeTrayObjects();
    OnOK();
}

LRESULT MainDialog::OnQueryEndSession(WPARAM, LPARAM)
{
    // Nothing to save: the mode is stored when it is chosen.
    return TRUE;
}

LRESULT MainDialog::OnEndSession(WPARAM wParam, LPARAM)
{
    // The Restart Manager (ENDSESSION_CLOSEAPP, an installer replacing our
    // files) waits for the process to end and starts it again afterwards; at
    // logoff the process is ended anyway. Either way end as the OK command
    // does, so the icon leaves with the program.
    if (wParam == FALSE || m_pTrayIcon == nullptr)
        return 0;
    OnOkCommand();
    // The popup menu, the exit question or the About box may run a loop of
    // its own around this call, and the OK command ends only the window's.
    // The menu ends at EndMenu; every modal loop ends at WM_QUIT and posts
    // it again for the loop around it, out to the window's own.
    EndMenu();
    PostQuitMessage(0);
    return 0;
}

void MainDialog::FreeTrayObjects()
{
    // The pointers are cleared before anything is freed: removing the icon
    // waits for the shell, and messages sent to this window meanwhile must
    // find no icon rather than a half-destroyed one.
    TrayMenuHandler* const rightClickHandler = std::exchange(m_pRightClickHandler, nullptr);
    TrayMenuHandler* const leftClickHandler = std::exchange(m_pLeftClickHandler, nullptr);
    TrayIcon* const trayIcon = std::exchange(m_pTrayIcon, nullptr);
    m_iconRetry.End();
    // An open Settings dialog ends unstored with the program: its modal loop
    // runs inside this window's and must end first.
    if (m_pSettingsDialog != nullptr)
        m_pSettingsDialog->End();
    // The icon owns the array and frees it.
    m_pHandlerArray = nullptr;
    delete rightClickHandler;
    delete leftClickHandler;
    delete trayIcon;
}

LRESULT MainDialog::OnTaskbarCreated(WPARAM, LPARAM)
{
    if (m_pTrayIcon == nullptr)
        return 0;
    m_iconRetry.Show(m_pTrayIcon, m_hWnd);
    m_filterWatch.OnTaskbarCreated();
    return 0;
}

LRESULT MainDialog::OnExitMenuLoop(WPARAM, LPARAM)
{
    m_filterWatch.OnMenuClosed();
    return 0;
}

LRESULT MainDialog::OnTimerMessage(WPARAM wParam, LPARAM)
{
    if (wParam == IconRetry::kTimerId)
        m_filterWatch.TimeShellCalls([this] { m_iconRetry.OnTimer(m_pTrayIcon); });
    else
        m_filterWatch.OnTimer(wParam);
    return 0;
}

LRESULT MainDialog::OnPowerBroadcast(WPARAM wParam, LPARAM)
{
    m_filterWatch.OnPowerBroadcast(wParam);
    return TRUE;
}

LRESULT MainDialog::OnSessionChange(WPARAM wParam, LPARAM)
{
    m_filterWatch.OnSessionChange(wParam);
    return 0;
}

LRESULT MainDialog::OnNotifyIcon(WPARAM wParam, LPARAM lParam)
{
    if (m_pTrayIcon != nullptr)
        m_pTrayIcon->DispatchNotification(wParam, lParam);
    return 0;
}

LRESULT MainDialog::OnShowMenuRequest(WPARAM wParam, LPARAM lParam)
{
    if (m_pTrayIcon == nullptr)
        return 0;
    // A later start found this one hung and runs in its place. Anybody on the
    // desktop can post this: only the process that the mark names is obeyed.
    if (lParam == kInstanceGiveWay) {
        if (RunningInstance::ShouldGiveWayTo(static_cast<DWORD>(wParam)))
            OnOkCommand();
        return 0;
    }
    if (wParam != GetCurrentProcessId())
        return 0;
    switch (lParam) {
    case kInstanceQuery:
        return kInstanceAnswer;
    default:
        // A second start of the program asks for the menu, so that the user
        // sees where Vantrel already runs: the same path as a left press on
        // the icon.
        m_pTrayIcon->DispatchNotification(m_pTrayIcon->m_iconId, WM_LBUTTONDOWN);
        return 0;
    }
}

void MainDialog::OnSysCommand(UINT nID, LPARAM lParam)
{
    // Windows uses the low four bits of system commands itself.
    if ((nID & 0xFFF0) == IDM_ABOUTBOX)
        ShowAboutDialog();
    else
        CDialog::OnSysCommand(nID, lParam);
}

void MainDialog::OnAbout()
{
    ShowAboutDialog();
}

void MainDialog::OnHideWindow()
{
    // Escape and the Close command arrive here: they hide, they never end.
    ShowWindow(SW_HIDE);
}

void MainDialog::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    // Neither the template's visible style, nor the modal loop's first show,
    // nor any ShowWindow call may make this window visible.
    lpwndpos->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
    CDialog::OnWindowPosChanging(lpwndpos);
}

void MainDialog::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    PaintContext paint(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Handle()), 0);
    RECT client{};
    GetClientRect(&client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(paint.Handle(), x, y, m_hIcon);
}

HCURSOR MainDialog::OnQueryDragIcon()
{
    return m_hIcon;
}
