#include "ProbeCall.h"

#include "MenuProbeRequest.h"
#include "TestSupport.h"

namespace e2e {

namespace {

constexpr DWORD kRemoteThreadTimeoutMs = 10000;

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

BYTE* RemoteModuleBase(DWORD processId, const char* moduleName)
{
    for (const MODULEENTRY32& module : LoadedModules(processId)) {
        if (SameName(module.szModule, moduleName))
            return module.modBaseAddr;
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

// Loads the probe into the process once; later calls find it there.
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

std::vector<MODULEENTRY32> LoadedModules(DWORD processId)
{
    // The module list of a process still starting can be refused with
    // ERROR_BAD_LENGTH: asked again then.
    std::vector<MODULEENTRY32> modules;
    for (int attempt = 0; attempt < 10; ++attempt) {
        const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
        if (snapshot == INVALID_HANDLE_VALUE) {
            Sleep(50);
            continue;
        }
        MODULEENTRY32 module{};
        module.dwSize = sizeof module;
        for (BOOL more = Module32First(snapshot, &module); more; more = Module32Next(snapshot, &module))
            modules.push_back(module);
        CloseHandle(snapshot);
        break;
    }
    return modules;
}

std::string CallProbe(HANDLE process, const char* exportName, void* data, size_t size, DWORD& result)
{
    const std::string failure = EnsureProbeLoaded(process);
    if (!failure.empty())
        return failure;
    static const HMODULE localProbe = LoadLibraryA(ProbePath().c_str());
    void* function = RemoteFunction(GetProcessId(process), localProbe, kMenuProbeLibraryName, exportName);
    if (function == nullptr)
        return std::string(exportName) + " not found in the program";
    if (size == 0) {
        if (!RunRemoteThread(process, function, nullptr, result))
            return std::string("the probe's ") + exportName + " did not run in the program";
        return {};
    }
    RemoteMemory remoteData(process, size);
    if (remoteData.Address() == nullptr || !WriteProcessMemory(process, remoteData.Address(), data, size, nullptr) ||
        !RunRemoteThread(process, function, remoteData.Address(), result) ||
        !ReadProcessMemory(process, remoteData.Address(), data, size, nullptr))
        return std::string("the probe's ") + exportName + " did not run in the program";
    return {};
}

} // namespace e2e
