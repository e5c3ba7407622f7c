#include "HookRenewal.h"

#include "Clock.h"

#include <vector>

namespace {

// The program's idle check as this thread can repeat it quickly: a posted
// WM_TIMER stands for the timer's (a real one could fire only every 10 ms),
// retrieved and dispatched like any message, then the one system call that
// finds no new input. The kernel's cost of waking a sleeping thread is not
// in it.
double IdleCheckCpuMicroseconds(int count)
{
    constexpr UINT_PTR kTimerId = 1;
    double cpuBefore = 0.0;
    double cpuAfter = 0.0;
    ProcessCpuMicroseconds(GetCurrentProcess(), cpuBefore);
    for (int i = 0; i < count; ++i) {
        PostThreadMessageA(GetCurrentThreadId(), WM_TIMER, kTimerId, 0);
        MSG message;
        if (GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
        LASTINPUTINFO info{};
        info.cbSize = sizeof info;
        GetLastInputInfo(&info);
    }
    ProcessCpuMicroseconds(GetCurrentProcess(), cpuAfter);
    return (cpuAfter - cpuBefore) / count;
}

} // namespace

bool MeasureRenewals(FilterLibrary& filter, int count, RenewalCost& cost, std::string& problem)
{
    if (!filter.AddFilter()) {
        problem = "AddMouseFilter failed";
        return false;
    }
    std::vector<double> wall;
    wall.reserve(static_cast<size_t>(count));
    double cpuBefore = 0.0;
    double cpuAfter = 0.0;
    ProcessCpuMicroseconds(GetCurrentProcess(), cpuBefore);
    bool renewed = true;
    for (int i = 0; i < count && renewed; ++i) {
        const LONGLONG start = PerformanceCounterNow();
        renewed = filter.RenewFilter();
        wall.push_back(MicrosecondsBetween(start, PerformanceCounterNow()));
    }
    ProcessCpuMicroseconds(GetCurrentProcess(), cpuAfter);
    filter.RemoveFilter();
    if (!renewed) {
        problem = "RenewMouseFilter failed or is missing";
        return false;
    }
    cost.wallMicroseconds = Summarise(wall);
    cost.cpuMicrosecondsEach = (cpuAfter - cpuBefore) / count;
    // Enough checks for the CPU clock's coarse steps to average out.
    cost.idleCheckCpuMicrosecondsEach = IdleCheckCpuMicroseconds(count * 20);
    return true;
}
