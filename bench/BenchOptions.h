#pragma once

// The benchmark's command line.

#include <string>

struct BenchOptions {
    int samples = 500;      // latency samples per configuration
    int stormEvents = 20000; // moves per storm configuration
    int idleSeconds = 60;   // idle period of each running program
    std::string i686Folder; // folders holding the binaries whose sizes are shown
    std::string x86_64Folder;
    bool help = false;
};

// False, with the reason, when the command line is not understood.
bool ParseBenchOptions(int argc, char** argv, BenchOptions& options, std::string& problem);

const char* BenchUsage();
