#include "CWinApp.h"

#include "AfxFunctions.h"

#include <vector>

namespace {

CWinApp* g_application = nullptr;

// The program file's name without folder and extension.
std::string ProgramFileTitle()
{
    std::vector<char> path(32768);
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::string title(path.data(), length < path.size() ? length : 0);
    title.erase(0, title.find_last_of("\\/") + 1);
    const std::string::size_type dot = title.find_last_of('.');
    if (dot != std::string::npos && dot != 0)
        title.erase(dot);
    return title;
}

} // namespace

CWinApp::CWinApp(const char* appName)
    : m_hInstance(GetModuleHandleA(nullptr))
    , m_appName(appName != nullptr ? appName : ProgramFileTitle())
{
    m_pszAppName = m_appName.c_str();
    if (g_application == nullptr)
        g_application = this;
}

CWinApp::~CWinApp()
{
    if (g_application == this)
        g_application = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    MSG message;
    BOOL received;
    while ((received = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (received == 0)
        m_exitCode = static_cast<int>(message.wParam);
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    return m_exitCode;
}

CWnd* CWinApp::GetMainWnd()
{
    return m_pMainWnd;
}

void CWinApp::SetRegistryKey(const char* company)
{
    m_registryKey = company != nullptr ? company : "";
    m_pszRegistryKey = m_registryKey.c_str();
}

void CWinApp::OnHelp()
{
}

CWinApp* AfxGetApp()
{
    return g_application;
}

CWnd* AfxGetMainWnd()
{
    return g_application != nullptr ? g_application->GetMainWnd() : nullptr;
}

// The framework's entry point. It lives in this file so that the linker,
// which takes this file for the program's application class, takes the
// entry point with it; the C runtime's start-up then finds it.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    CWinApp* application = AfxGetApp();
    if (application == nullptr)
        return -1;
    application->m_hInstance = instance;
    application->m_lpCmdLine = commandLine;
    application->m_nCmdShow = showCommand;
    if (!application->InitInstance())
        return application->ExitInstance();
    return application->Run();
}
