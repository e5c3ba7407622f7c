#include "ProgramFootprint.h"

#include "Clock.h"
#include "MessagePump.h"
#include "RunningProgram.h"
#include "WakeUpSampler.h"

#include <psapi.h>

namespace {

// A Wine process may take several seconds to start on a loaded machine.
constexpr DWORD kStartTimeoutMs = 30000;
// Time after the program first waits for input, for whatever it does once
// at start (the notification icon, the mode) to be done.
constexpr DWORD kSettleMs = 1000;
constexpr DWORD kSamplerEndTimeoutMs = 10000;

bool ReadMemory(HANDLE process, ProgramFootprint& footprint)
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return false;
    footprint.workingSetBytes = counters.WorkingSetSize;
    // Windows reports the commit charge in both fields; Wine 8 fills only
    // PagefileUsage (its resident anonymous memory plus swap).
    footprint.privateBytes = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
    return true;
}

} // namespace

ProgramFootprint MeasureProgramFootprint(const std::string& path, const char* className, const char* title,
    int idleSeconds)
{
    ProgramFootprint footprint;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        footprint.problem = "missing";
        return footprint;
    }
    RunningProgram program(path);
    if (!program.Started()) {
        footprint.problem = "could not be started";
        return footprint;
    }
    if (program.WaitUntilReady(className, title, kStartTimeoutMs) == nullptr) {
        footprint.problem = "showed no ready window within 30 s";
        footprint.stoppedPolitely = program.Stop();
        return footprint;
    }
    PumpMessagesFor(kSettleMs);
    double cpuBefore = 0.0;
    double cpuAfter = 0.0;
    if (!ReadMemory(program.Process(), footprint) ||
        !OtherProcessCpuMicroseconds(program.Process(), program.ProcessId(), cpuBefore)) {
        footprint.problem = "its memory or times could not be read";
        footprint.stoppedPolitely = program.Stop();
        return footprint;
    }
    WakeUpSampler sampler;
    const std::string fileName = path.substr(path.find_last_of("\\/") + 1);
    const bool sampling = sampler.Start(fileName, idleSeconds);
    PumpMessagesFor(static_cast<DWORD>(idleSeconds) * 1000);
    // The sampler ends on its own clock, a moment after this wait.
    if (sampling)
        footprint.idleWakeUps = sampler.Finish(kSamplerEndTimeoutMs);
    const bool stillRunning = WaitForSingleObject(program.Process(), 0) == WAIT_TIMEOUT;
    OtherProcessCpuMicroseconds(program.Process(), program.ProcessId(), cpuAfter);
    footprint.stoppedPolitely = program.Stop();
    if (!stillRunning) {
        footprint.problem = "ended by itself while idle";
        return footprint;
    }
    footprint.idleCpuMicroseconds = cpuAfter - cpuBefore;
    footprint.measured = true;
    return footprint;
}
