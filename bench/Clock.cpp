#include "Clock.h"

#include "WineDetection.h"

#include <tlhelp32.h>

namespace {

double ToMicroseconds(const FILETIME& time)
{
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10.0; // FILETIME counts 100 ns
}

LONGLONG PerformanceFrequency()
{
    static const LONGLONG frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value.QuadPart;
    }();
    return frequency;
}

} // namespace

LONGLONG PerformanceCounterNow()
{
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    return value.QuadPart;
}

double MicrosecondsBetween(LONGLONG start, LONGLONG end)
{
    return static_cast<double>(end - start) * 1e6 / static_cast<double>(PerformanceFrequency());
}

bool ProcessCpuMicroseconds(HANDLE process, double& microseconds)
{
    FILETIME creation;
    FILETIME exit;
    FILETIME kernel;
    FILETIME user;
    if (!GetProcessTimes(process, &creation, &exit, &kernel, &user))
        return false;
    microseconds = ToMicroseconds(kernel) + ToMicroseconds(user);
    return true;
}

bool OtherProcessCpuMicroseconds(HANDLE process, DWORD processId, double& microseconds)
{
    if (!RunningUnderWine())
        return ProcessCpuMicroseconds(process, microseconds);
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    bool counted = false;
    microseconds = 0.0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId)
            continue;
        const HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        if (thread == nullptr)
            continue;
        FILETIME creation;
        FILETIME exit;
        FILETIME kernel;
        FILETIME user;
        if (GetThreadTimes(thread, &creation, &exit, &kernel, &user)) {
            microseconds += ToMicroseconds(kernel) + ToMicroseconds(user);
            counted = true;
        }
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return counted;
}

const char* OtherProcessCpuSource()
{
    return RunningUnderWine() ? "GetThreadTimes of its threads, added up (Wine's GetProcessTimes gives the caller's "
                                "own times for any process)"
                              : "GetProcessTimes";
}

double ProcessCpuStepMicroseconds()
{
    const HANDLE self = GetCurrentProcess();
    const LONGLONG deadline = PerformanceCounterNow() + PerformanceFrequency() / 5;
    double current = 0.0;
    if (!ProcessCpuMicroseconds(self, current))
        return 0.0;
    // The first change ends a step that began before this call; later ones
    // end whole steps, of which the smallest is the step (a preemption in
    // between can make one look larger).
    double step = 0.0;
    int changes = 0;
    while (changes < 4 && PerformanceCounterNow() < deadline) {
        double now = current;
        ProcessCpuMicroseconds(self, now);
        if (now == current)
            continue;
        if (changes > 0 && (step == 0.0 || now - current < step))
            step = now - current;
        current = now;
        ++changes;
    }
    return step;
}
