#pragma once

#include "CommandLineWalk.h"

#include <string>
#include <vector>

// What a walk over commandLine must produce (program name left out),
// worked out character by character instead of token by token: an
// independent statement of the walker's rules to compare it with.
std::vector<WalkStep> ReferenceWalk(const std::string& commandLine);

// commandLine without space, tab, CR, LF, VT and FF at either end.
std::string TrimmedCommandLine(const std::string& commandLine);
