#include "AfxFunctions.h"

#include "CWinApp.h"
#include "CWnd.h"

int AfxMessageBox(const char* text, UINT type, UINT)
{
    HWND owner = nullptr;
    if (CWnd* mainWindow = AfxGetMainWnd())
        owner = mainWindow->m_hWnd;
    // A modal dialog running over the main window has disabled it: the box
    // goes over that dialog instead.
    if (owner != nullptr && !IsWindowEnabled(owner))
        owner = GetLastActivePopup(owner);

    const UINT buttons = type & MB_TYPEMASK;
    if ((type & MB_ICONMASK) == 0 && (buttons == MB_YESNO || buttons == MB_YESNOCANCEL))
        type |= MB_ICONQUESTION;

    const CWinApp* application = AfxGetApp();
    return MessageBoxA(owner, text, application != nullptr ? application->m_pszAppName : nullptr, type);
}

HINSTANCE AfxGetResourceHandle()
{
    const CWinApp* application = AfxGetApp();
    return application != nullptr && application->m_hInstance != nullptr ? application->m_hInstance
                                                                           : GetModuleHandleA(nullptr);
}

HINSTANCE AfxFindResourceHandle(LPCSTR, LPCSTR)
{
    return AfxGetResourceHandle();
}

BOOL AfxEnableControlContainer()
{
    return TRUE;
}
