#pragma once

// Everything one run of the benchmark measured, for the report.

#include "BenchOptions.h"
#include "BinarySizes.h"
#include "HookRenewal.h"
#include "HookStorm.h"
#include "ProgramFootprint.h"
#include "Statistics.h"

#include <string>
#include <vector>

struct LatencyFigures {
    Summary leftNoHook;
    Summary leftMinimalHook;
    Summary leftFilter;  // the filter's pass path
    Summary rightFilter; // the filter's remap path
    // The remap path with 20 programs listed, the window's not among them.
    Summary rightFilterListed;
    // How long the SendInput call itself takes with no hook: the remap path
    // makes one such call more than the left press does.
    Summary sendInputCallNoHook;
};

struct StormFigures {
    StormCost noHook;
    StormCost minimalHook;
    StormCost filter;
};

struct ProgramFigures {
    ProgramFootprint vantrelNormal;
    ProgramFootprint vantrelOne;
    ProgramFootprint minimalTray;
};

struct BenchResults {
    BenchOptions options;
    std::string wineVersion; // empty on Windows
    double performanceFrequency = 0.0;
    double cpuStepMicroseconds = 0.0;

    bool latencyMeasured = false;
    std::string latencyProblem;
    LatencyFigures latency;

    bool stormMeasured = false;
    std::string stormProblem;
    StormFigures storm;

    bool renewalMeasured = false;
    std::string renewalProblem;
    RenewalCost renewal;

    ProgramFigures programs;
    std::vector<BinarySize> binaries;
};
