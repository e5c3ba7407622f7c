#include "ProgramProcess.h"

#include "ProgramWindows.h"
#include "TestSupport.h"

#include <tlhelp32.h>

#include <utility>

namespace e2e {

namespace {

// Closing a shown box costs about 2 s under Wine without a window manager;
// a loaded machine needs several times that.
constexpr DWORD kPoliteExitTimeoutMs = 20000;
constexpr DWORD kTerminateTimeoutMs = 5000;

std::string NewOutputPath()
{
    char folder[MAX_PATH] = {};
    char path[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    GetTempFileNameA(folder, "vto", 0, path);
    return path;
}

// Closes whatever the program has open in front of its main window: posted
// messages are taken in order by the innermost loop, so the main window's
// IDOK that follows is handled once these have closed.
void CloseOpenWindows(DWORD processId)
{
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (!IsWindowVisible(window))
            continue;
        const std::string className = ClassNameOf(window);
        if (className == "#32768")
            PostKey(window, VK_ESCAPE);
        else if (className == "#32770")
            PostCommand(window, GetDlgItem(window, IDNO) != nullptr ? IDNO : IDCANCEL);
    }
}

} // namespace

ProgramProcess::~ProgramProcess()
{
    Stop();
}

ProgramProcess::ProgramProcess(ProgramProcess&& other) noexcept
    : m_process(std::exchange(other.m_process, nullptr)),
      m_processId(std::exchange(other.m_processId, 0)),
      m_outputPath(std::move(other.m_outputPath))
{
    other.m_outputPath.clear();
}

ProgramProcess& ProgramProcess::operator=(ProgramProcess&& other) noexcept
{
    if (this != &other) {
        Stop();
        m_process = std::exchange(other.m_process, nullptr);
        m_processId = std::exchange(other.m_processId, 0);
        m_outputPath = std::move(other.m_outputPath);
        other.m_outputPath.clear();
    }
    return *this;
}

ProgramProcess ProgramProcess::Launch(const LaunchOptions& options)
{
    ProgramProcess program;
    program.m_outputPath = NewOutputPath();

    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    const HANDLE output = CreateFileA(program.m_outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
        &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE)
        return program;

    program.m_process = testing_support::StartProgram(options.programPath, options.arguments, output,
        options.currentDirectory);
    program.m_processId = program.m_process != nullptr ? GetProcessId(program.m_process) : 0;
    CloseHandle(output);
    return program;
}

bool ProgramProcess::Suspend(bool suspend) const
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    bool all = true;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != m_processId)
            continue;
        const HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
        all = all && thread != nullptr && (suspend ? SuspendThread(thread) : ResumeThread(thread)) != DWORD(-1);
        if (thread != nullptr)
            CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return all;
}

bool ProgramProcess::IsRunning() const
{
    return m_process != nullptr && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

bool ProgramProcess::WaitForExit(DWORD timeoutMs) const
{
    return testing_support::PumpMessagesUntil([this] { return !IsRunning(); }, timeoutMs);
}

std::string ProgramProcess::Output() const
{
    return testing_support::FileBytes(m_outputPath);
}

bool ProgramProcess::Stop()
{
    bool polite = true;
    if (IsRunning()) {
        CloseOpenWindows(m_processId);
        if (HWND mainWindow = FindMainWindow(m_processId))
            PostCommand(mainWindow, IDOK);
        if (!WaitForExit(kPoliteExitTimeoutMs)) {
            polite = false;
            TerminateProcess(m_process, 1);
            WaitForSingleObject(m_process, kTerminateTimeoutMs);
        }
    }
    Release();
    return polite;
}

void ProgramProcess::Release()
{
    if (m_process != nullptr)
        CloseHandle(m_process);
    m_process = nullptr;
    m_processId = 0;
    if (!m_outputPath.empty())
        DeleteFileA(m_outputPath.c_str());
    m_outputPath.clear();
}

} // namespace e2e
