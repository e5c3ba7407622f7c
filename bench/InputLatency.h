#pragma once

// Latency from SendInput of a button press to the window's WM_LBUTTONDOWN,
// in several hook configurations measured in interleaved rounds.

#include "FilterLibrary.h"
#include "HookConfiguration.h"
#include "TargetWindow.h"

#include <string>
#include <vector>

enum class PressedButton { Left, Right };

struct LatencyConfiguration {
    const char* label;
    HookKind hook;
    PressedButton button;
};

struct LatencySamples {
    // From just before SendInput to the window procedure's WM_LBUTTONDOWN.
    std::vector<double> arrival;
    // From just before SendInput until it returned.
    std::vector<double> sendInputCall;
};

// Fills one set of microsecond samples per configuration, samplesEach in
// each. False, with the reason, when a configuration could not be measured.
bool MeasureInputLatencies(TargetWindow& window, FilterLibrary& filter,
    const std::vector<LatencyConfiguration>& configurations, int samplesEach, std::vector<LatencySamples>& samples,
    std::string& problem);
