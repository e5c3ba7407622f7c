#include "CDialog.h"

#include "AfxFunctions.h"

namespace {

// Any modal loop of the thread takes every message of the thread, so the
// window a message is for decides, not the dialog whose loop runs: a key for
// a dialog below a nested one is offered to that dialog's object.
bool PreTranslateForTarget(MSG& message)
{
    if (message.hwnd == nullptr)
        return false;
    CWnd* const target = CWnd::FromHandlePermanent(GetAncestor(message.hwnd, GA_ROOT));
    return target != nullptr && target->PreTranslateMessage(&message);
}

} // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_templateId(templateId)
    , m_pParentWnd(parent)
{
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd != nullptr)
        return -1;
    const LPCSTR templateName = MAKEINTRESOURCEA(m_templateId);
    const HINSTANCE module = AfxFindResourceHandle(templateName, RT_DIALOG);

    m_owner = FindOwner();
    const bool disableOwner = m_owner != nullptr && IsWindowEnabled(m_owner);
    if (disableOwner)
        EnableWindow(m_owner, FALSE);

    m_modalResult = -1;
    m_modalEnded = false;
    const HWND window = CreateDialogParamA(module, templateName, m_owner, &DialogProc, reinterpret_cast<LPARAM>(this));
    if (window != nullptr) {
        RunModalLoop();
        // Hidden before the owner is enabled again, so that the owner and not
        // some other program's window becomes active.
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
            SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (disableOwner)
        EnableWindow(m_owner, TRUE);
    if (window != nullptr && m_owner != nullptr && GetActiveWindow() == window)
        SetActiveWindow(m_owner);
    if (window != nullptr && IsWindow(window))
        DestroyWindow(window);
    UnsubclassWindow();
    m_owner = nullptr;
    return window != nullptr ? m_modalResult : -1;
}

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result)
{
    m_modalResult = result;
    m_modalEnded = true;
    // Wakes the modal loop if it waits for a message, as it does when this is
    // called from a hook or from a loop nested in it.
    if (m_hWnd != nullptr)
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    // From WM_INITDIALOG on, every message passes through the object's window
    // procedure before it gets here: what arrives here was left by the map to
    // the dialog manager's default processing.
    if (message != WM_INITDIALOG)
        return FALSE;
    return reinterpret_cast<CDialog*>(lParam)->InitializeAttached(window);
}

BOOL CDialog::InitializeAttached(HWND window)
{
    if (!SubclassWindow(window)) {
        EndDialog(-1);
        return FALSE;
    }
    RECT before;
    GetWindowRect(&before);
    const BOOL focusFirstControl = OnInitDialog();
    RECT after;
    if (m_hWnd != nullptr && !IsWindowVisible() && GetWindowRect(&after) && after.left == before.left
        && after.top == before.top)
        CenterWindow();
    return focusFirstControl;
}

HWND CDialog::FindOwner() const
{
    HWND owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    if (owner == nullptr) {
        CWnd* mainWindow = AfxGetMainWnd();
        if (mainWindow != this && mainWindow != nullptr)
            owner = mainWindow->m_hWnd;
    }
    // Only a top-level window can own a dialog.
    while (owner != nullptr && (static_cast<DWORD>(GetWindowLongA(owner, GWL_STYLE)) & WS_CHILD) != 0)
        owner = GetParent(owner);
    return owner;
}

void CDialog::CenterWindow()
{
    const HWND owner = GetWindow(m_hWnd, GW_OWNER);
    const bool onOwner = owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner);

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(onOwner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT workArea = monitor.rcWork;
    RECT centre = workArea;
    if (onOwner)
        ::GetWindowRect(owner, &centre);

    RECT dialog;
    GetWindowRect(&dialog);
    const int width = dialog.right - dialog.left;
    const int height = dialog.bottom - dialog.top;
    int x = (centre.left + centre.right - width) / 2;
    int y = (centre.top + centre.bottom - height) / 2;
    // An owner near the edge must not push the dialog off the screen.
    if (x + width > workArea.right)
        x = workArea.right - width;
    if (y + height > workArea.bottom)
        y = workArea.bottom - height;
    if (x < workArea.left)
        x = workArea.left;
    if (y < workArea.top)
        y = workArea.top;
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::RunModalLoop()
{
    bool showPending = !IsWindowVisible();
    while (!m_modalEnded && m_hWnd != nullptr) {
        MSG message;
        if (showPending && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            // Shown once the queue is first empty, as the dialog manager does
            // for its modal dialogs: what OnInitDialog started has run by then.
            showPending = false;
            ShowWindow(SW_SHOWNORMAL);
            continue;
        }
        const BOOL received = GetMessageA(&message, nullptr, 0, 0);
        if (received == -1)
            break;
        if (received == 0) {
            // WM_QUIT ends this loop and is posted again, so that every loop
            // around this one ends too.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (PreTranslateForTarget(message))
            continue;
        if (!IsDialogMessageA(m_hWnd, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}
