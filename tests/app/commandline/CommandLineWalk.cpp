#include "CommandLineWalk.h"

#include "CommandLineParams.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

const char* const kJunk = "junk left in the slot";

bool Step(CommandLineParams& params, bool first, WalkStep& step)
{
    step.flag = kJunk;
    step.param = kJunk;
    const int produced = first ? params.FirstParam(step.flag, step.param) : params.NextParam(step.flag, step.param);
    return produced != 0;
}

} // namespace

bool operator==(const WalkStep& left, const WalkStep& right)
{
    return left.flag == right.flag && left.param == right.param;
}

bool operator!=(const WalkStep& left, const WalkStep& right)
{
    return !(left == right);
}

std::string Escaped(const std::string& text)
{
    std::string escaped;
    for (const char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        if (byte < 0x20 || byte >= 0x7F || character == '\\') {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned>(byte));
            escaped += code;
        } else {
            escaped += character;
        }
    }
    return escaped;
}

void PrintTo(const WalkStep& step, std::ostream* out)
{
    *out << "{flag \"" << Escaped(step.flag) << "\", param \"" << Escaped(step.param) << "\"}";
}

WalkStep Flag(const std::string& text)
{
    return WalkStep{text, std::string()};
}

WalkStep Param(const std::string& text)
{
    return WalkStep{std::string(), text};
}

CommandLineWalk WalkCommandLine(CommandLineParams& params, std::size_t maxSteps)
{
    CommandLineWalk walk;
    WalkStep step;
    bool produced = Step(params, true, step);
    while (produced && walk.steps.size() < maxSteps) {
        walk.steps.push_back(step);
        produced = Step(params, false, step);
    }
    walk.ended = !produced;
    if (walk.ended) {
        walk.slotsEmptiedAtEnd = step.flag.empty() && step.param.empty();
        // Once at the end, the walk stays there.
        produced = Step(params, false, step);
        walk.ended = !produced;
        walk.slotsEmptiedAtEnd = walk.slotsEmptiedAtEnd && step.flag.empty() && step.param.empty();
    }
    return walk;
}

std::vector<WalkStep> WalkSteps(const char* commandLine)
{
    CommandLineParams params(commandLine);
    const CommandLineWalk walk = WalkCommandLine(params, 1000);
    if (!walk.ended)
        ADD_FAILURE() << "the walk did not end";
    if (!walk.slotsEmptiedAtEnd)
        ADD_FAILURE() << "a call that returned 0 left a slot filled";
    return walk.steps;
}
