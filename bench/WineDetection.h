#pragma once

// Whether the benchmark runs under Wine, which answers a few of the calls it
// measures with differently than Windows does.

#include <string>

// The Wine version, or empty on Windows.
std::string WineVersion();

inline bool RunningUnderWine()
{
    return !WineVersion().empty();
}
