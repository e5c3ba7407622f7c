#pragma once

// What a running tray program costs while it waits: its memory after start
// and its CPU time over an idle period.

#include <windows.h>

#include <string>

struct ProgramFootprint {
    bool measured = false;
    // Why nothing was measured ("missing" when there is no such file).
    std::string problem;
    SIZE_T workingSetBytes = 0;
    SIZE_T privateBytes = 0;
    double idleCpuMicroseconds = 0.0;
    // Periods of 100 ms in which the program ran while idle; -1 when not
    // counted (see WakeUpSampler).
    long idleWakeUps = -1;
    // Ended when asked; false when it had to be ended by force.
    bool stoppedPolitely = false;
};

// Starts the program, waits until its window (class and title) is ready,
// lets it settle, reads its memory, measures its CPU time over idleSeconds
// and stops it.
ProgramFootprint MeasureProgramFootprint(const std::string& path, const char* className, const char* title,
    int idleSeconds);
