#pragma once

#include "CCmdTarget.h"

#include <string>

class CWnd;

// The application. Exactly one object of a class derived from this one
// exists: a static object of the program. The framework's entry point
// (WinMain, which the linker takes with this class) fills m_hInstance,
// m_lpCmdLine and m_nCmdShow and calls InitInstance once, before any window
// exists. When InitInstance returns FALSE the process ends with
// ExitInstance's result and no message loop runs; otherwise Run pumps
// messages until WM_QUIT and the process ends with ExitInstance's result.
//
// The program file that holds the application class must be linked into the
// executable itself (not only through a static library), so that both the
// object and the entry point are linked.
class CWinApp : public CCmdTarget {
public:
    // appName null: the display name is the program file's name without its
    // extension.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    // Returns TRUE.
    virtual BOOL InitInstance();
    // The message loop; returns ExitInstance's result. WM_QUIT's exit code is
    // stored in m_exitCode first.
    virtual int Run();
    // Returns m_exitCode: the process exit status.
    virtual int ExitInstance();

    CWnd* GetMainWnd();
    // Remembers the company name; nothing is stored under it.
    void SetRegistryKey(const char* company);

    CWnd* m_pMainWnd = nullptr;
    // The display name: the caption of AfxMessageBox.
    const char* m_pszAppName = nullptr;
    // The name given to SetRegistryKey, or null.
    const char* m_pszRegistryKey = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    // The process exit status that ExitInstance returns; the application may
    // set it.
    int m_exitCode = 0;

    // The standard help command (ID_HELP): there is no help content, so it
    // does nothing.
    afx_msg void OnHelp();

private:
    std::string m_appName;
    std::string m_registryKey;
};

// The framework's standard help command.
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif
