#pragma once

// Records what a CommandLineParams walk produces, for comparing walks with
// expectations and with the reference model.

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

class CommandLineParams;

// The two slots after one step that returned 1.
struct WalkStep {
    std::string flag;
    std::string param;
};

bool operator==(const WalkStep& left, const WalkStep& right);
bool operator!=(const WalkStep& left, const WalkStep& right);
// GoogleTest prints steps with this; control characters and bytes above
// 0x7F are shown as \xNN so that failures stay readable.
void PrintTo(const WalkStep& step, std::ostream* out);
std::string Escaped(const std::string& text);

WalkStep Flag(const std::string& text);
WalkStep Param(const std::string& text);

struct CommandLineWalk {
    std::vector<WalkStep> steps;
    // False if the walk still produced parameters after maxSteps steps.
    bool ended = false;
    // Every call that returned 0 left both slots empty.
    bool slotsEmptiedAtEnd = true;
};

// FirstParam, then NextParam while it returns 1, at most maxSteps steps.
// Slots are filled with junk before each call, so a call that does not
// empty them shows up in the steps.
CommandLineWalk WalkCommandLine(CommandLineParams& params, std::size_t maxSteps);

// Walks a given command line; a walk that does not end, or an end that
// leaves a slot filled, is a test failure.
std::vector<WalkStep> WalkSteps(const char* commandLine);
