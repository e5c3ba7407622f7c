#include "CWnd.h"

#include "AfxFunctions.h"
#include "CWinApp.h"

namespace {

// The window property that holds the object of a window.
const char kObjectProperty[] = "AfxWindowObject";

} // namespace

CWnd::~CWnd()
{
    UnsubclassWindow();
}

HWND CWnd::GetSafeHwnd() const
{
    return m_hWnd;
}

LRESULT CWnd::Default()
{
    if (!m_handlingMessage || m_superWindowProc == nullptr)
        return 0;
    return CallWindowProcA(m_superWindowProc, m_hWnd, m_currentMessage.message, m_currentMessage.wParam,
        m_currentMessage.lParam);
}

BOOL CWnd::ShowWindow(int showCommand)
{
    return ::ShowWindow(m_hWnd, showCommand);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::GetClientRect(LPRECT rect) const
{
    return ::GetClientRect(m_hWnd, rect);
}

BOOL CWnd::GetWindowRect(LPRECT rect) const
{
    return ::GetWindowRect(m_hWnd, rect);
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::SetForegroundWindow()
{
    return ::SetForegroundWindow(m_hWnd);
}

HMENU CWnd::GetSystemMenu(BOOL revert) const
{
    return ::GetSystemMenu(m_hWnd, revert);
}

BOOL CWnd::SubclassWindow(HWND window)
{
    if (m_hWnd != nullptr || !IsWindow(window) || FromHandlePermanent(window) != nullptr)
        return FALSE;
    if (!SetPropA(window, kObjectProperty, this))
        return FALSE;
    m_hWnd = window;
    m_superWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWindowProc)));
    return TRUE;
}

HWND CWnd::UnsubclassWindow()
{
    const HWND window = m_hWnd;
    if (window == nullptr)
        return nullptr;
    if (IsWindow(window)) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superWindowProc));
        RemovePropA(window, kObjectProperty);
    }
    m_hWnd = nullptr;
    m_superWindowProc = nullptr;
    return window;
}

CWnd* CWnd::FromHandlePermanent(HWND window)
{
    return window != nullptr ? static_cast<CWnd*>(GetPropA(window, kObjectProperty)) : nullptr;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

HCURSOR CWnd::OnQueryDragIcon()
{
    return reinterpret_cast<HCURSOR>(Default());
}

void CWnd::OnWindowPosChanging(WINDOWPOS*)
{
    Default();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (DispatchToMap(message, wParam, lParam, result))
        return result;
    CWinApp* application = AfxGetApp();
    if (message == WM_COMMAND && application != nullptr && application->DispatchToMap(message, wParam, lParam, result))
        return result;
    return Default();
}

LRESULT CALLBACK CWnd::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* object = FromHandlePermanent(window);
    if (object == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);

    // Handlers can send messages to their own window: each keeps its own
    // message for Default.
    const MSG outerMessage = object->m_currentMessage;
    const bool outerHandling = object->m_handlingMessage;
    object->m_currentMessage = MSG{ window, message, wParam, lParam, 0, {} };
    object->m_handlingMessage = true;

    const LRESULT result = object->WindowProc(message, wParam, lParam);
    // The window's last message: the object lets go of it, so that a later
    // window with the same handle value never finds this object.
    if (message == WM_NCDESTROY)
        object->UnsubclassWindow();

    object->m_currentMessage = outerMessage;
    object->m_handlingMessage = outerHandling;
    return result;
}
