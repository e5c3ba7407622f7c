#pragma once

// What keeping the filter costs: one re-arm (RenewMouseFilter installs a new
// hook and removes the old one, as the program does after each event that may
// have cost it the hook, and when it finds one lost), and one of the checks
// that the program makes every 10 s in One while nothing happens.

#include "FilterLibrary.h"
#include "Statistics.h"

#include <string>

struct RenewalCost {
    Summary wallMicroseconds;
    // This process's CPU time over all the re-arms, divided by their count.
    double cpuMicrosecondsEach = 0.0;
    // An idle check: the timer's message retrieved and dispatched, then
    // GetLastInputInfo, which finds no new input. CPU time each.
    double idleCheckCpuMicrosecondsEach = 0.0;
};

bool MeasureRenewals(FilterLibrary& filter, int count, RenewalCost& cost, std::string& problem);
