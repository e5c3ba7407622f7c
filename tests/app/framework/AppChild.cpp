// A program built on the framework's application class, started by
// AppTest.cpp. It reports through its exit status:
//   no argument: InitInstance returns FALSE; the status is 40 when everything
//     the framework promised held, else 100 plus a bit for each failure;
//   "run": InitInstance returns TRUE after posting WM_QUIT with 23;
//   "status": InitInstance sets the exit status to 5 and returns FALSE.

#include "Afx.h"

#include <cstring>

namespace {

enum Failure {
    kNotTheApplication = 1,
    kWindowsExist = 2,
    kWrongDisplayName = 4,
    kMainWindowLost = 8,
    kMessageLoopRan = 16,
    kInitInstanceCalls = 32,
    kWrongInstance = 64,
};

constexpr int kAllHeld = 40;

BOOL CALLBACK CountWindow(HWND, LPARAM lParam)
{
    ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

class ChildApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        ++m_initCalls;
        if (std::strcmp(m_lpCmdLine, "run") == 0) {
            PostQuitMessage(23);
            return TRUE;
        }
        if (std::strcmp(m_lpCmdLine, "status") == 0) {
            m_exitCode = 5;
            return FALSE;
        }

        if (AfxGetApp() != this)
            m_failures |= kNotTheApplication;
        if (m_hInstance != GetModuleHandleA(nullptr))
            m_failures |= kWrongInstance;
        int windows = 0;
        EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&windows));
        if (windows != 0 || AfxGetMainWnd() != nullptr)
            m_failures |= kWindowsExist;
        if (std::strcmp(m_pszAppName, "framework_app_child") != 0)
            m_failures |= kWrongDisplayName;

        SetRegistryKey("Framework Test");
        AfxEnableControlContainer();
        m_pMainWnd = &m_mainWindow;
        if (GetMainWnd() != &m_mainWindow || AfxGetMainWnd() != &m_mainWindow)
            m_failures |= kMainWindowLost;

        // A message loop would take this message out of the queue.
        PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
        return FALSE;
    }

    int ExitInstance() override
    {
        if (std::strcmp(m_lpCmdLine, "run") == 0 || std::strcmp(m_lpCmdLine, "status") == 0)
            return CWinApp::ExitInstance();
        MSG message;
        if (!PeekMessageA(&message, nullptr, WM_APP, WM_APP, PM_REMOVE))
            m_failures |= kMessageLoopRan;
        if (m_initCalls != 1)
            m_failures |= kInitInstanceCalls;
        return m_failures == 0 ? kAllHeld : 100 + m_failures;
    }

private:
    CWnd m_mainWindow;
    int m_initCalls = 0;
    int m_failures = 0;
};

ChildApp theApp;

} // namespace
