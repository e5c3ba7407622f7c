#include "MenuReader.h"

#include "ProgramWindows.h"
#include "TestSupport.h"

#include <tlhelp32.h>

#include <cstddef>
#include <memory>
#include <sstream>

namespace e2e {

namespace {

constexpr DWORD kRemoteThreadTimeoutMs = 10000;
constexpr char kMenuWindowClass[] = "#32768";

// Remote memory owned for one request.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t size)
        : m_process(process),
          m_address(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
    {
    }
    ~RemoteMemory()
    {
        if (m_address != nullptr)
            VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    void* Address() const { return m_address; }

private:
    HANDLE m_process;
    void* m_address;
};

bool SameName(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// Base of the named module in the process. The module list of a process
// still starting can be refused with ERROR_BAD_LENGTH: asked again then.
BYTE* RemoteModuleBase(DWORD processId, const char* moduleName)
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
        if (snapshot == INVALID_HANDLE_VALUE) {
            Sleep(50);
            continue;
        }
        BYTE* base = nullptr;
        MODULEENTRY32 module{};
        module.dwSize = sizeof module;
        for (BOOL more = Module32First(snapshot, &module); more; more = Module32Next(snapshot, &module)) {
            if (SameName(module.szModule, moduleName)) {
                base = module.modBaseAddr;
                break;
            }
        }
        CloseHandle(snapshot);
        return base;
    }
    return nullptr;
}

// The address of a function in the other process: its module's base there
// plus the function's offset here. Holds for any module both processes load
// from the same file.
void* RemoteFunction(DWORD processId, HMODULE localModule, const char* moduleName, const char* functionName)
{
    BYTE* remoteBase = RemoteModuleBase(processId, moduleName);
    const auto localFunction = reinterpret_cast<const BYTE*>(GetProcAddress(localModule, functionName));
    if (remoteBase == nullptr || localFunction == nullptr)
        return nullptr;
    return remoteBase + (localFunction - reinterpret_cast<const BYTE*>(localModule));
}

// Runs function(parameter) on a new thread in the process; true with its exit
// code once the thread ended in time.
bool RunRemoteThread(HANDLE process, void* function, void* parameter, DWORD& exitCode)
{
    const HANDLE thread = CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(function),
        parameter, 0, nullptr);
    if (thread == nullptr)
        return false;
    const bool ended = WaitForSingleObject(thread, kRemoteThreadTimeoutMs) == WAIT_OBJECT_0;
    const bool gotCode = ended && GetExitCodeThread(thread, &exitCode);
    CloseHandle(thread);
    return gotCode;
}

std::string ProbePath()
{
    return testing_support::ModuleDirectory() + kMenuProbeLibraryName;
}

// Loads the probe into the process once; later readings find it there.
std::string EnsureProbeLoaded(HANDLE process)
{
    const DWORD processId = GetProcessId(process);
    if (RemoteModuleBase(processId, kMenuProbeLibraryName) != nullptr)
        return {};
    const std::string path = ProbePath();
    RemoteMemory remotePath(process, path.size() + 1);
    if (remotePath.Address() == nullptr ||
        !WriteProcessMemory(process, remotePath.Address(), path.c_str(), path.size() + 1, nullptr))
        return "cannot write the probe's path into the program";
    void* loadLibrary = RemoteFunction(processId, GetModuleHandleA("kernel32.dll"), "kernel32.dll", "LoadLibraryA");
    if (loadLibrary == nullptr)
        return "LoadLibraryA not found in the program";
    DWORD ignored = 0;
    if (!RunRemoteThread(process, loadLibrary, remotePath.Address(), ignored))
        return "the remote LoadLibraryA thread did not end";
    if (RemoteModuleBase(processId, kMenuProbeLibraryName) == nullptr)
        return "the program did not load " + path;
    return {};
}

} // namespace

const MenuItemState* MenuReading::Find(UINT id) const
{
    for (const MenuItemState& item : items) {
        if (item.id == id && !item.separator && !item.popup)
            return &item;
    }
    return nullptr;
}

const MenuItemState* MenuReading::FindPopup(const std::string& text) const
{
    for (const MenuItemState& item : items) {
        if (item.popup && item.text == text)
            return &item;
    }
    return nullptr;
}

bool MenuReading::IsChecked(UINT id) const
{
    const MenuItemState* item = Find(id);
    return item != nullptr && item->checked;
}

std::string MenuReading::Describe() const
{
    if (!Succeeded())
        return "(menu not read: " + failure + ")";
    std::string text;
    for (const MenuItemState& item : items) {
        text += std::string(static_cast<size_t>(item.depth) * 2, ' ');
        if (item.separator) {
            text += "----\n";
            continue;
        }
        text += (item.checked ? "[x] " : "[ ] ") + item.text;
        // A popup's identifier is its menu handle: not worth showing.
        if (!item.popup)
            text += " (" + std::to_string(item.id) + ")";
        text += item.greyed ? " greyed\n" : "\n";
    }
    return text;
}

namespace {

MenuReading ReadMenu(HANDLE process, MenuSource source, HWND window)
{
    MenuReading reading;
    if (window == nullptr) {
        reading.failure = "no window";
        return reading;
    }
    reading.failure = EnsureProbeLoaded(process);
    if (!reading.Succeeded())
        return reading;

    static const HMODULE localProbe = LoadLibraryA(ProbePath().c_str());
    void* readOpenMenu =
        RemoteFunction(GetProcessId(process), localProbe, kMenuProbeLibraryName, kMenuProbeExportName);
    if (readOpenMenu == nullptr) {
        reading.failure = "ReadOpenMenu not found in the program";
        return reading;
    }

    auto request = std::make_unique<MenuProbeRequest>();
    request->source = source;
    request->window = reinterpret_cast<UINT_PTR>(window);
    RemoteMemory remoteRequest(process, sizeof *request);
    DWORD result = 0;
    if (remoteRequest.Address() == nullptr ||
        !WriteProcessMemory(process, remoteRequest.Address(), request.get(), sizeof *request, nullptr) ||
        !RunRemoteThread(process, readOpenMenu, remoteRequest.Address(), result) ||
        !ReadProcessMemory(process, remoteRequest.Address(), request.get(), sizeof *request, nullptr)) {
        reading.failure = "the probe did not run in the program";
        return reading;
    }
    if (result != 1) {
        reading.failure = "the window has no menu";
        return reading;
    }

    request->report[sizeof request->report - 1] = 0;
    std::istringstream lines(request->report);
    MenuItemState item;
    std::string flags;
    while (lines >> item.depth >> item.id >> flags >> item.screenRect.left >> item.screenRect.top >>
        item.screenRect.right >> item.screenRect.bottom) {
        lines.get();
        std::getline(lines, item.text);
        item.checked = flags.find('C') != std::string::npos;
        item.greyed = flags.find('G') != std::string::npos;
        item.separator = flags.find('S') != std::string::npos;
        item.popup = flags.find('P') != std::string::npos;
        reading.items.push_back(item);
    }
    return reading;
}

} // namespace

MenuReading ReadOpenMenu(HANDLE process, HWND menuWindow)
{
    return ReadMenu(process, MenuSource::PopupMenuWindow, menuWindow);
}

MenuReading ReadSystemMenu(HANDLE process, HWND window)
{
    return ReadMenu(process, MenuSource::SystemMenu, window);
}

HWND FindOpenMenuWindow(DWORD processId)
{
    HWND found = nullptr;
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (IsWindowVisible(window) && ClassNameOf(window) == kMenuWindowClass)
            found = window;
    }
    return found;
}

HWND WaitForOpenMenuWindow(DWORD processId, DWORD timeoutMs)
{
    HWND found = nullptr;
    testing_support::PumpMessagesUntil([&] { return (found = FindOpenMenuWindow(processId)) != nullptr; }, timeoutMs);
    return found;
}

namespace {

std::vector<std::string> LoadedModules(DWORD processId, bool fullPaths)
{
    std::vector<std::string> names;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return names;
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    for (BOOL more = Module32First(snapshot, &module); more; more = Module32Next(snapshot, &module))
        names.emplace_back(fullPaths ? module.szExePath : module.szModule);
    CloseHandle(snapshot);
    return names;
}

} // namespace

std::vector<std::string> LoadedModuleNames(DWORD processId)
{
    return LoadedModules(processId, false);
}

std::vector<std::string> LoadedModulePaths(DWORD processId)
{
    return LoadedModules(processId, true);
}

} // namespace e2e
