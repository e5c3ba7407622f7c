#include "HookRenewal.h"

#include "Clock.h"

#include <vector>

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
    return true;
}
