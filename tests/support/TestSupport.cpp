#include "TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace testing_support {

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done())
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 10)),
            QS_ALLINPUT);
    }
}

void PumpMessagesFor(DWORD milliseconds)
{
    PumpMessagesUntil([] { return false; }, milliseconds);
}

std::string ClassNameOf(HWND window)
{
    char name[256] = {};
    const int length = GetClassNameA(window, name, static_cast<int>(sizeof name));
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string WindowTextOf(HWND window)
{
    char text[1024] = {};
    // Sent, so a window of another process answers through its own thread;
    // bounded, so a hung program cannot hang the test.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
            &length))
        return {};
    return std::string(text, length < sizeof text ? length : sizeof text - 1);
}

namespace {

struct WindowSearch {
    const char* className;
    const char* title;
    HWND except;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam)
{
    auto& search = *reinterpret_cast<WindowSearch*>(lParam);
    if (window != search.except && IsWindowVisible(window) && ClassNameOf(window) == search.className &&
        (search.title == nullptr || WindowTextOf(window) == search.title))
        search.found.push_back(window);
    return TRUE;
}

std::vector<HWND> ThreadWindows(const char* className, const char* title, HWND except)
{
    WindowSearch search{className, title, except, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

HWND FindThreadWindow(const char* className, const char* title, HWND except)
{
    const std::vector<HWND> windows = ThreadWindows(className, title, except);
    return windows.empty() ? nullptr : windows.front();
}

int CountThreadWindows(const char* className, const char* title, HWND except)
{
    return static_cast<int>(ThreadWindows(className, title, except).size());
}

std::string ModuleDirectory()
{
    std::vector<char> path(32768);
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::string directory(path.data(), length);
    return directory.substr(0, directory.find_last_of("\\/") + 1);
}

HANDLE StartProgram(const std::string& program, const std::string& arguments, HANDLE output,
    const std::string& currentDirectory)
{
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (output != nullptr) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
            currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

int RunProgram(const std::string& program, const std::string& arguments, DWORD timeoutMs)
{
    const HANDLE process = StartProgram(program, arguments);
    if (process == nullptr)
        return -1;
    DWORD status = static_cast<DWORD>(-1);
    if (PumpMessagesUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, timeoutMs)) {
        GetExitCodeProcess(process, &status);
    } else {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
    return static_cast<int>(status);
}

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

namespace {

std::string UnixTemporaryPath()
{
    // Process ids repeat across the Wine servers of test sessions side by side; their prefixes differ.
    static const size_t prefix = std::hash<std::string>{}(std::getenv("WINEPREFIX") ? std::getenv("WINEPREFIX") : "");
    static unsigned counter = 0;
    char name[128];
    std::snprintf(name, sizeof name, "/tmp/vantrel-test-%zx-%lu-%u", prefix, GetCurrentProcessId(), ++counter);
    return name;
}

// The Unix file as Wine's Z: drive shows it.
std::string WindowsPathOf(const std::string& unixPath)
{
    std::string windowsPath = "Z:" + unixPath;
    for (char& c : windowsPath)
        if (c == '/')
            c = '\\';
    return windowsPath;
}

// One command-line argument as the C runtime splits lines: backslashes count
// only in front of a quote, so only those are doubled.
std::string QuotedArgument(const std::string& argument)
{
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + '"';
}

} // namespace

int RunUnixCommand(const std::string& shellCommand, DWORD timeoutMs)
{
    const std::string marker = UnixTemporaryPath();
    const std::string markerWindows = WindowsPathOf(marker);
    DeleteFileA(markerWindows.c_str());

    // The status goes to a temporary name first so that a half-written marker is never read.
    std::string script = "(" + shellCommand + ") >/dev/null 2>&1 </dev/null; echo $? >" + marker + ".tmp; mv " +
        marker + ".tmp " + marker;
    std::string commandLine = "/bin/sh -c " + QuotedArgument(script);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    int status = -1;
    PumpMessagesUntil(
        [&] {
            std::ifstream in(markerWindows);
            return static_cast<bool>(in >> status);
        },
        timeoutMs);
    DeleteFileA(markerWindows.c_str());
    return status;
}

} // namespace testing_support
