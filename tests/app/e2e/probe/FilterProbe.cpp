// Loaded into the program under test, where it stands in for what Windows
// does to a hook program in the field and Wine does not: a hook removed
// without a word, an install refused, a shell that refuses an icon or keeps
// the caller waiting. It works by redirecting imports, so the program and
// the library run their own code unchanged.

#include "FilterProbeCalls.h"

#include <windows.h>
#include <shellapi.h>

namespace {

using SetWindowsHookExAFunction = HHOOK(WINAPI*)(int, HOOKPROC, HINSTANCE, DWORD);
using ShellNotifyIconAFunction = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);

constexpr DWORD kSlowShellCallMs = 600;

SetWindowsHookExAFunction g_setWindowsHookExA = nullptr;
ShellNotifyIconAFunction g_shellNotifyIconA = nullptr;
// Written by the test's remote threads, read on the program's GUI thread.
HHOOK volatile g_latestHook = nullptr;
volatile LONG g_refuseInstalls = 0;
volatile LONG g_refuseIconAdds = 0;
volatile LONG g_slowShellCalls = 0;
volatile LONG g_refusedInstalls = 0;
volatile LONG g_refusedIconAdds = 0;
volatile LONG g_installs = 0;

// Sets a one-shot switch that the redirected function takes back when it acts.
DWORD ArmOnce(volatile LONG& once)
{
    InterlockedExchange(&once, 1);
    return 1;
}

// Points the module's import of dllName!functionName at replacement and gives
// the address it held; null when the module has no such import by name.
void* RedirectImport(HMODULE module, const char* dllName, const char* functionName, void* replacement)
{
    auto* const base = reinterpret_cast<BYTE*>(module);
    const auto* const dosHeader = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* const ntHeaders = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dosHeader->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = ntHeaders->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0)
        return nullptr;
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name != 0;
         ++entry) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), dllName) != 0)
            continue;
        const DWORD namesOffset = entry->OriginalFirstThunk != 0 ? entry->OriginalFirstThunk : entry->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + namesOffset);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), functionName) != 0)
                continue;
            DWORD protection = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection))
                return nullptr;
            void* const original = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return original;
        }
    }
    return nullptr;
}

HHOOK WINAPI WatchedSetWindowsHookExA(int hookType, HOOKPROC procedure, HINSTANCE module, DWORD threadId)
{
    if (InterlockedExchange(&g_refuseInstalls, 0) != 0) {
        InterlockedIncrement(&g_refusedInstalls);
        // What the system answers a program whose desktop takes no hooks.
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    const HHOOK hook = g_setWindowsHookExA(hookType, procedure, module, threadId);
    if (hook != nullptr) {
        g_latestHook = hook;
        InterlockedIncrement(&g_installs);
    }
    return hook;
}

BOOL WINAPI WatchedShellNotifyIconA(DWORD message, PNOTIFYICONDATAA data)
{
    if (message == NIM_ADD && InterlockedExchange(&g_refuseIconAdds, 0) != 0) {
        InterlockedIncrement(&g_refusedIconAdds);
        return FALSE;
    }
    if (InterlockedExchange(&g_slowShellCalls, 0) != 0) {
        // A shell that answers late keeps this thread from its messages, and
        // Windows drops the hook that waited for it in the meantime.
        Sleep(kSlowShellCallMs);
        UnhookWindowsHookEx(g_latestHook);
    }
    return g_shellNotifyIconA(message, data);
}

} // namespace

extern "C" {
__declspec(dllexport) DWORD WINAPI WatchFilterLibrary(const char* libraryPath);
__declspec(dllexport) DWORD WINAPI DropMouseFilter(void*);
__declspec(dllexport) DWORD WINAPI RefuseNextFilterInstall(void*);
__declspec(dllexport) DWORD WINAPI RefuseNextIconAdd(void*);
__declspec(dllexport) DWORD WINAPI SlowNextShellCall(void*);
__declspec(dllexport) DWORD WINAPI Refusals(void*);
__declspec(dllexport) DWORD WINAPI FilterInstalls(void*);
}

DWORD WINAPI WatchFilterLibrary(const char* libraryPath)
{
    // Redirected once: a second redirection would take the probe's own
    // function for the original.
    if (g_setWindowsHookExA == nullptr) {
        // Kept loaded, as the program keeps it.
        const HMODULE library = LoadLibraryA(libraryPath);
        if (library == nullptr)
            return 0;
        g_setWindowsHookExA = reinterpret_cast<SetWindowsHookExAFunction>(
            RedirectImport(library, "user32.dll", "SetWindowsHookExA", reinterpret_cast<void*>(&WatchedSetWindowsHookExA)));
    }
    if (g_shellNotifyIconA == nullptr) {
        g_shellNotifyIconA = reinterpret_cast<ShellNotifyIconAFunction>(RedirectImport(GetModuleHandleA(nullptr),
            "shell32.dll", "Shell_NotifyIconA", reinterpret_cast<void*>(&WatchedShellNotifyIconA)));
    }
    return g_setWindowsHookExA != nullptr && g_shellNotifyIconA != nullptr ? 1 : 0;
}

DWORD WINAPI DropMouseFilter(void*)
{
    // From a thread other than the hook's: the hook is gone for the hook's
    // thread the moment this returns, as when Windows drops it.
    return g_latestHook != nullptr && UnhookWindowsHookEx(g_latestHook) ? 1 : 0;
}

DWORD WINAPI RefuseNextFilterInstall(void*)
{
    return ArmOnce(g_refuseInstalls);
}

DWORD WINAPI RefuseNextIconAdd(void*)
{
    return ArmOnce(g_refuseIconAdds);
}

DWORD WINAPI SlowNextShellCall(void*)
{
    return ArmOnce(g_slowShellCalls);
}

DWORD WINAPI Refusals(void*)
{
    return static_cast<DWORD>(g_refusedInstalls) | static_cast<DWORD>(g_refusedIconAdds) << 16;
}

DWORD WINAPI FilterInstalls(void*)
{
    return static_cast<DWORD>(g_installs);
}
