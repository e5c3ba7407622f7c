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

namespace {

constexpr const char* kTrayWindowClasses[] = {"__winex11_standalone_tray", "Shell_TrayWnd"};
constexpr const char* kTrayIconClasses[] = {"__winex11_tray_icon", "__wine_tray_icon"};
constexpr char kTrayKeeperClass[] = "VantrelTestTrayKeeper";

BOOL CALLBACK CollectTrayIcon(HWND window, LPARAM icons)
{
    const std::string name = ClassNameOf(window);
    for (const char* iconClass : kTrayIconClasses) {
        if (name == iconClass && IsWindowVisible(window))
            reinterpret_cast<std::vector<HWND>*>(icons)->push_back(window);
    }
    return TRUE;
}

// The window whose icon this icon window of the tray shows; null if unknown.
// Wine offers no call for it (Shell_NotifyIconGetRect is a stub), but Wine 8's
// and Wine 10's trays alike keep the address of their record of the icon in
// the icon window's GWLP_USERDATA, and the record's fourth pointer-sized field
// is the owner (after the two list links and the image). Handles are 32-bit
// values, and Wine puts a 64-bit process's heap in its low 4 GB, so that a
// 32-bit test reads a 64-bit tray's record too.
HWND TrayIconOwner(HWND iconWindow)
{
    const ULONG_PTR record = static_cast<ULONG_PTR>(GetWindowLongPtrA(iconWindow, GWLP_USERDATA));
    DWORD processId = 0;
    if (record == 0 || GetWindowThreadProcessId(iconWindow, &processId) == 0)
        return nullptr;
    const HANDLE tray = OpenProcess(PROCESS_VM_READ | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (tray == nullptr)
        return nullptr;
    BOOL trayIsWow64 = FALSE;
    BOOL selfIsWow64 = FALSE;
    IsWow64Process(tray, &trayIsWow64);
    IsWow64Process(GetCurrentProcess(), &selfIsWow64);
    const bool trayIs64Bit = !trayIsWow64 && (sizeof(void*) == 8 || selfIsWow64);
    const SIZE_T fieldSize = trayIs64Bit ? 8 : 4;
    unsigned long long owner = 0; // little-endian: the handle is in the low half
    SIZE_T read = 0;
    const bool readOwner = ReadProcessMemory(tray, reinterpret_cast<const void*>(record + 3 * fieldSize), &owner,
                               fieldSize, &read) != FALSE && read == fieldSize;
    CloseHandle(tray);
    return readOwner ? reinterpret_cast<HWND>(static_cast<ULONG_PTR>(owner)) : nullptr;
}

} // namespace

HWND FindTrayWindow()
{
    for (const char* trayClass : kTrayWindowClasses) {
        const HWND tray = FindWindowA(trayClass, nullptr);
        if (tray != nullptr && IsWindowVisible(tray))
            return tray;
    }
    return FindWindowA(kTrayWindowClasses[0], nullptr);
}

std::vector<HWND> ShownTrayIcons()
{
    std::vector<HWND> icons;
    const HWND tray = FindTrayWindow();
    if (tray == nullptr || !IsWindowVisible(tray))
        return icons;
    EnumChildWindows(tray, CollectTrayIcon, reinterpret_cast<LPARAM>(&icons));
    const HWND keeper = FindWindowA(kTrayKeeperClass, nullptr);
    if (keeper != nullptr)
        icons.erase(std::remove_if(icons.begin(), icons.end(), [&](HWND icon) { return TrayIconOwner(icon) == keeper; }),
            icons.end());
    return icons;
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
