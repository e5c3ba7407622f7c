#include "TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
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

std::string ModuleDirectory()
{
    std::vector<char> path(32768);
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::string directory(path.data(), length);
    return directory.substr(0, directory.find_last_of("\\/") + 1);
}

int RunProgram(const std::string& program, const std::string& arguments, DWORD timeoutMs)
{
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
            &process))
        return -1;
    CloseHandle(process.hThread);
    DWORD status = static_cast<DWORD>(-1);
    if (PumpMessagesUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs)) {
        GetExitCodeProcess(process.hProcess, &status);
    } else {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hProcess);
    return static_cast<int>(status);
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
