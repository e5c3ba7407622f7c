#include "ScriptedDialog.h"

BEGIN_MESSAGE_MAP(ScriptedDialog, CDialog)
    ON_MESSAGE(WM_APP, OnApp)
    ON_MESSAGE(WM_TIMER, OnTimer)
END_MESSAGE_MAP()

ScriptedDialog::ScriptedDialog(UINT templateId)
    : CDialog(templateId)
{
}

BOOL ScriptedDialog::OnInitDialog()
{
    ++initCalls;
    CDialog::OnInitDialog();
    if (onInit)
        onInit(*this);
    return TRUE;
}

LRESULT ScriptedDialog::OnApp(WPARAM wParam, LPARAM)
{
    if (onApp)
        onApp(*this, wParam);
    return 0;
}

LRESULT ScriptedDialog::OnTimer(WPARAM wParam, LPARAM)
{
    if (onTimer)
        onTimer(*this, wParam);
    return 0;
}

BEGIN_MESSAGE_MAP(HiddenDialog, ScriptedDialog)
    ON_WM_WINDOWPOSCHANGING()
END_MESSAGE_MAP()

void HiddenDialog::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    if (lpwndpos->flags & SWP_SHOWWINDOW)
        ++showAttempts;
    lpwndpos->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
    Default();
}

namespace {

bool g_watchdogFired = false;

} // namespace

ModalWatchdog::ModalWatchdog(UINT timeoutMs)
    : m_timer(SetTimer(nullptr, 0, timeoutMs, &Expire))
{
    g_watchdogFired = false;
}

ModalWatchdog::~ModalWatchdog()
{
    KillTimer(nullptr, m_timer);
    // The quit message it posted is posted again by each loop it ends; the
    // last copy stays in the queue.
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

bool ModalWatchdog::Fired() const
{
    return g_watchdogFired;
}

void CALLBACK ModalWatchdog::Expire(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    g_watchdogFired = true;
    EndMenu();
    PostQuitMessage(0);
}
