#pragma once

// Counts how often a program woke while it idled. Windows offers no count of
// a thread's wake-ups short of event tracing; under Wine every thread is a
// Linux thread, whose context switches /proc shows. A shell loop reads them
// every 100 ms and counts the periods in which any thread of the program ran:
// one wake-up of a Wine thread takes several switches (its round trips to the
// Wine server) within a few milliseconds, so it counts once, and two within
// 100 ms would count as one.

#include <windows.h>

#include <string>

class WakeUpSampler {
public:
    // Starts sampling the Wine process of this file name in our own Wine
    // prefix (there is one at a time) for the given time. False on Windows or
    // when no shell could be started.
    bool Start(const std::string& programFileName, int seconds);
    // Waits up to timeoutMs for the count; -1 when there is none.
    long Finish(DWORD timeoutMs);

private:
    std::string m_resultPath;
    std::string m_scriptPath;
};
