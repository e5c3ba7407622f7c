#include "RunningProgram.h"

#include "MessagePump.h"

#include <utility>

namespace {

// Removing the only notification icon blocks for about 2 s under Wine; the
// wait is well above it.
constexpr DWORD kPoliteStopTimeoutMs = 15000;
constexpr DWORD kForcedStopTimeoutMs = 5000;

struct WindowSearch {
    DWORD processId;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId)
        return TRUE;
    char className[64] = "";
    char title[64] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if (lstrcmpA(className, search->className) != 0 || lstrcmpA(title, search->title) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

} // namespace

RunningProgram::RunningProgram(const std::string& path)
{
    std::string commandLine = "\"" + path + "\"";
    const std::string folder = FolderOf(path);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    // Without handles of its own the child would inherit the Unix standard
    // output under Wine and hold the caller's pipe open after we are gone.
    startup.dwFlags = STARTF_USESTDHANDLES;
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
            folder.empty() ? nullptr : folder.c_str(), &startup, &m_process))
        m_process = PROCESS_INFORMATION{};
}

RunningProgram::~RunningProgram()
{
    Stop();
}

RunningProgram::RunningProgram(RunningProgram&& other) noexcept
    : m_process(std::exchange(other.m_process, PROCESS_INFORMATION{})), m_window(std::exchange(other.m_window, nullptr))
{
}

RunningProgram& RunningProgram::operator=(RunningProgram&& other) noexcept
{
    if (this != &other) {
        Stop();
        m_process = std::exchange(other.m_process, PROCESS_INFORMATION{});
        m_window = std::exchange(other.m_window, nullptr);
    }
    return *this;
}

HWND RunningProgram::WaitUntilReady(const char* className, const char* title, DWORD timeoutMs)
{
    if (!Started())
        return nullptr;
    const ULONGLONG start = GetTickCount64();
    WindowSearch search = {m_process.dwProcessId, className, title, nullptr};
    PumpMessagesUntil(
        [&] {
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr || WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0;
        },
        timeoutMs);
    m_window = search.found;
    if (m_window == nullptr)
        return nullptr;
    // The window exists before its initialisation has run; the program is
    // ready once its message loop waits with nothing to do.
    const ULONGLONG spent = GetTickCount64() - start;
    const DWORD left = spent < timeoutMs ? static_cast<DWORD>(timeoutMs - spent) : 0;
    return WaitForInputIdle(m_process.hProcess, left) == 0 ? m_window : nullptr;
}

bool RunningProgram::Stop()
{
    if (!Started())
        return true;
    bool polite = false;
    if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0) {
        polite = true;
    } else {
        if (m_window != nullptr && IsWindow(m_window))
            PostMessageA(m_window, WM_COMMAND, IDOK, 0);
        polite = PumpMessagesUntil(
            [&] { return WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0; }, kPoliteStopTimeoutMs);
        if (!polite) {
            TerminateProcess(m_process.hProcess, 1);
            WaitForSingleObject(m_process.hProcess, kForcedStopTimeoutMs);
        }
    }
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
    m_process = PROCESS_INFORMATION{};
    m_window = nullptr;
    return polite;
}
