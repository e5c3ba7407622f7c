#pragma once

// The cost of a storm of pointer moves through a low-level mouse hook: this
// process's CPU time per event, the hook running on this thread.

#include "FilterLibrary.h"
#include "HookConfiguration.h"
#include "TargetWindow.h"

#include <string>
#include <vector>

struct StormConfiguration {
    const char* label;
    HookKind hook;
};

struct StormCost {
    int events = 0;
    double cpuMicroseconds = 0.0;
    double wallMicroseconds = 0.0;
};

// Sends eventsEach moves through each configuration, in interleaved rounds.
// False, with the reason, when a configuration could not be measured.
bool MeasureHookStorms(TargetWindow& window, FilterLibrary& filter,
    const std::vector<StormConfiguration>& configurations, int eventsEach, std::vector<StormCost>& costs,
    std::string& problem);
