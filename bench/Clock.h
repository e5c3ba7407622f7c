#pragma once

// The two clocks the benchmark reads: QueryPerformanceCounter for latencies,
// and a process's CPU time (kernel plus user) for costs.

#include <windows.h>

LONGLONG PerformanceCounterNow();
double MicrosecondsBetween(LONGLONG start, LONGLONG end);

// Kernel plus user time of the process so far, from GetProcessTimes. False
// when the system refuses.
bool ProcessCpuMicroseconds(HANDLE process, double& microseconds);

// The same for another process. Wine's GetProcessTimes answers for every
// process handle with the caller's own times, so under Wine the times of the
// process's threads (GetThreadTimes, which Wine reads from the Unix threads)
// are added up instead; a thread that ended in between is then not counted.
bool OtherProcessCpuMicroseconds(HANDLE process, DWORD processId, double& microseconds);

// How OtherProcessCpuMicroseconds counts, for the report.
const char* OtherProcessCpuSource();

// The smallest step in which this process's CPU time advances, found by
// spinning while it advances a few times (bounded at 200 ms of spinning).
// Figures below it cannot be told apart from zero.
double ProcessCpuStepMicroseconds();
