#pragma once

// What one re-arm of the filter costs: RenewMouseFilter installs a new hook
// and removes the old one, as the program does after each event that may
// have cost it the hook, and when it finds one lost.

#include "FilterLibrary.h"
#include "Statistics.h"

#include <string>

struct RenewalCost {
    Summary wallMicroseconds;
    // This process's CPU time over all the re-arms, divided by their count.
    double cpuMicrosecondsEach = 0.0;
};

bool MeasureRenewals(FilterLibrary& filter, int count, RenewalCost& cost, std::string& problem);
