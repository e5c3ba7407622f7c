#include "Report.h"

#include "Clock.h"

#include <cstdio>
#include <string>

namespace {

constexpr double kPassPathLimit = 1.05;
// The remap path with 20 programs listed, over an unlisted program's window.
constexpr double kListedRemapLimit = 1.15;
constexpr double kIdleCpuLimitMicrosecondsPerMinute = 1000.0;
constexpr double kMemoryLimit = 1.2;
constexpr double kFilterCheckWakeUpsPerMinute = 6.0;
constexpr ULONGLONG kLibraryLimitBytes = 8 * 1024;

const char* Verdict(bool meets)
{
    return meets ? "meets" : "misses";
}

// "<prefix><value> <unit>", for example "<= 12.5 us".
std::string Figure(const char* prefix, double value, int decimals, const char* unit)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s%.*f %s", prefix, decimals, value, unit);
    return text;
}

double PerEvent(double total, int events)
{
    return events > 0 ? total / events : 0.0;
}

double IdleCpuPerMinute(const ProgramFootprint& footprint, int idleSeconds)
{
    return footprint.idleCpuMicroseconds * 60.0 / idleSeconds;
}

void PrintHeader(const BenchResults& results)
{
    const BenchOptions& options = results.options;
    std::printf("Vantrel benchmark: %d latency samples per configuration, %d moves per storm configuration, "
                "%d s idle per program\n",
        options.samples, options.stormEvents, options.idleSeconds);
    if (results.wineVersion.empty())
        std::printf("Running on Windows.\n");
    else
        std::printf("Running under Wine %s.\n", results.wineVersion.c_str());
    std::printf("QueryPerformanceFrequency %.0f Hz; this process's CPU time advances in steps of %.3f ms.\n\n",
        results.performanceFrequency, results.cpuStepMicroseconds / 1000.0);
}

void PrintLatencyRow(const char* label, const Summary& summary)
{
    std::printf("  %-40s %8zu %11.1f %11.1f\n", label, summary.count, summary.median, summary.percentile95);
}

void PrintLatencies(const BenchResults& results)
{
    std::printf("Latency, SendInput press to WM_LBUTTONDOWN   samples   median us      p95 us\n");
    if (!results.latencyMeasured) {
        std::printf("  not measured: %s\n\n", results.latencyProblem.c_str());
        return;
    }
    const LatencyFigures& latency = results.latency;
    PrintLatencyRow("left press, no hook", latency.leftNoHook);
    PrintLatencyRow("left press, minimal hook", latency.leftMinimalHook);
    PrintLatencyRow("left press, filter (pass path)", latency.leftFilter);
    PrintLatencyRow("right press, filter (remap path)", latency.rightFilter);
    PrintLatencyRow("right press, filter, 20 programs listed", latency.rightFilterListed);
    PrintLatencyRow("(SendInput call alone, no hook)", latency.sendInputCallNoHook);
    std::printf("\n");
}

void PrintStormRow(const char* label, const StormCost& cost)
{
    std::printf("  %-40s %8d %11.2f %11.2f\n", label, cost.events, PerEvent(cost.cpuMicroseconds, cost.events),
        PerEvent(cost.wallMicroseconds, cost.events));
}

void PrintStorms(const BenchResults& results)
{
    std::printf("Storm of pointer moves                       events  CPU us/move wall us/move\n");
    if (!results.stormMeasured) {
        std::printf("  not measured: %s\n\n", results.stormProblem.c_str());
        return;
    }
    PrintStormRow("no hook", results.storm.noHook);
    PrintStormRow("minimal hook", results.storm.minimalHook);
    PrintStormRow("filter", results.storm.filter);
    std::printf("  (CPU time of the benchmark's process, which runs the hook)\n\n");
}

void PrintRenewal(const BenchResults& results)
{
    std::printf("Re-arming the filter (RenewMouseFilter)   re-arms   median us      p95 us   CPU us each\n");
    if (!results.renewalMeasured) {
        std::printf("  not measured: %s\n\n", results.renewalProblem.c_str());
        return;
    }
    const RenewalCost& cost = results.renewal;
    std::printf("  %-40s %8zu %11.1f %11.1f %13.1f\n", "new hook installed, old one removed",
        cost.wallMicroseconds.count, cost.wallMicroseconds.median, cost.wallMicroseconds.percentile95,
        cost.cpuMicrosecondsEach);
    std::printf("  %-40s %8s %11s %11s %13.1f\n", "idle check (timer message, no new input)", "", "", "",
        cost.idleCheckCpuMicrosecondsEach);
    std::printf("  (6 idle checks a minute in One: %.3f ms of CPU, without the kernel's wake-ups)\n\n",
        6.0 * cost.idleCheckCpuMicrosecondsEach / 1000.0);
}

void PrintProgramRow(const char* label, const ProgramFootprint& footprint)
{
    if (!footprint.measured) {
        std::printf("  %-32s %s\n", label, footprint.problem.c_str());
        return;
    }
    const std::string wakeUps = footprint.idleWakeUps < 0 ? "-" : std::to_string(footprint.idleWakeUps);
    std::printf("  %-32s %14.0f %12.0f %18.1f %9s%s\n", label, static_cast<double>(footprint.workingSetBytes) / 1024.0,
        static_cast<double>(footprint.privateBytes) / 1024.0, footprint.idleCpuMicroseconds / 1000.0,
        wakeUps.c_str(), footprint.stoppedPolitely ? "" : "  (did not end when asked)");
}

void PrintPrograms(const BenchResults& results)
{
    std::printf("Running program, after start       working set KB   private KB   CPU ms over %3d s  wake-ups\n",
        results.options.idleSeconds);
    PrintProgramRow("Vantrel.exe, mode Normal", results.programs.vantrelNormal);
    PrintProgramRow("Vantrel.exe, mode One", results.programs.vantrelOne);
    PrintProgramRow("MinimalTrayProgram.exe", results.programs.minimalTray);
    std::printf("  (CPU time: %s)\n", OtherProcessCpuSource());
    std::printf("  (wake-ups over the same time: 100 ms periods in which a thread of the program ran, from\n"
                "  the Linux side; \"-\" where they cannot be counted)\n\n");
}

void PrintBinaries(const BenchResults& results)
{
    std::printf("Binary                                        bytes\n");
    for (const BinarySize& binary : results.binaries) {
        const std::string label = binary.architecture + " " + binary.fileName;
        if (binary.present)
            std::printf("  %-32s %12llu\n", label.c_str(), binary.bytes);
        else
            std::printf("  %-32s %12s\n", label.c_str(), "missing");
    }
    std::printf("\n");
}

void PrintAim(const char* name, const std::string& measured, const std::string& aim, double ratio, bool meets)
{
    std::printf("  %-44s %12s %14s %7.3f  %s\n", name, measured.c_str(), aim.c_str(), ratio, Verdict(meets));
}

void PrintAimNotMeasured(const char* name, const std::string& reason)
{
    std::printf("  %-44s not measured (%s)\n", name, reason.c_str());
}

void PrintLatencyAims(const BenchResults& results)
{
    if (!results.latencyMeasured) {
        PrintAimNotMeasured("remap path median", results.latencyProblem);
        PrintAimNotMeasured("pass path median", results.latencyProblem);
        return;
    }
    const double noHook = results.latency.leftNoHook.median;
    const double minimalHook = results.latency.leftMinimalHook.median;
    // The swallowed right press and the injected left press each pass the
    // hook once, and the left press is delivered once: one no-hook delivery
    // plus two hook trips, (minimal - none) each.
    const double remapLimit = noHook + 2.0 * (minimalHook - noHook);
    const double remap = results.latency.rightFilter.median;
    PrintAim("remap path median", Figure("", remap, 1, "us"), Figure("<= ", remapLimit, 1, "us"), remap / remapLimit,
        remap <= remapLimit);
    std::printf("    aim = 2 x minimal-hook median - no-hook median = 2 x %.1f - %.1f: one delivery and two trips\n"
                "    through the hook (the swallowed press and the injected one). The remap path also makes one\n"
                "    SendInput call more (the injected press): %.1f us at the no-hook median, not in the aim.\n",
        minimalHook, noHook, results.latency.sendInputCallNoHook.median);
    // The window is not a listed program's: every press is looked up, then
    // replaced. The process is asked once; the window at the point and its
    // owner are asked for each press.
    const double listed = results.latency.rightFilterListed.median;
    PrintAim("remap path, 20 programs listed, vs remap", Figure("", listed, 1, "us"),
        Figure("<= ", kListedRemapLimit * remap, 1, "us"), listed / remap, listed <= kListedRemapLimit * remap);
    const double pass = results.latency.leftFilter.median;
    PrintAim("pass path median, vs minimal hook", Figure("", pass, 1, "us"),
        Figure("<= ", kPassPathLimit * minimalHook, 1, "us"), pass / minimalHook, pass <= kPassPathLimit * minimalHook);
}

void PrintStormAim(const BenchResults& results)
{
    const char* name = "pass path CPU per move, vs minimal hook";
    if (!results.stormMeasured) {
        PrintAimNotMeasured(name, results.stormProblem);
        return;
    }
    const double filter = PerEvent(results.storm.filter.cpuMicroseconds, results.storm.filter.events);
    const double minimalHook = PerEvent(results.storm.minimalHook.cpuMicroseconds, results.storm.minimalHook.events);
    if (minimalHook <= 0.0) {
        PrintAimNotMeasured(name, "no CPU time counted for the minimal hook");
        return;
    }
    PrintAim(name, Figure("", filter, 2, "us"), Figure("<= ", kPassPathLimit * minimalHook, 2, "us"),
        filter / minimalHook, filter <= kPassPathLimit * minimalHook);
}

void PrintIdleAim(const char* name, const ProgramFootprint& footprint, int idleSeconds, double cpuStepMicroseconds)
{
    if (!footprint.measured) {
        PrintAimNotMeasured(name, footprint.problem);
        return;
    }
    const double perMinute = IdleCpuPerMinute(footprint, idleSeconds);
    const double ratio = perMinute / kIdleCpuLimitMicrosecondsPerMinute;
    const std::string measured = Figure("", perMinute / 1000.0, 1, "ms");
    if (perMinute >= kIdleCpuLimitMicrosecondsPerMinute) {
        PrintAim(name, measured, "< 1 ms", ratio, false);
        return;
    }
    // A reading of 0 proves only that the time stayed below one step of the
    // clock; "meets" needs a clock fine enough to see 1 ms in the period.
    const double stepPerMinute = cpuStepMicroseconds * 60.0 / idleSeconds;
    if (stepPerMinute > kIdleCpuLimitMicrosecondsPerMinute) {
        std::printf("  %-44s %12s %14s %7.3f  unresolved (under %.1f ms per minute)\n", name, measured.c_str(),
            "< 1 ms", ratio, stepPerMinute / 1000.0);
        return;
    }
    PrintAim(name, measured, "< 1 ms", ratio, true);
}

// Normal may wake no more often than the minimal tray program; One may add
// the filter's coarse check, at most six times a minute.
void PrintWakeUpAim(const char* name, const ProgramFootprint& footprint, const ProgramFootprint& minimal,
    double extraPerMinute, int idleSeconds)
{
    if (!footprint.measured || footprint.idleWakeUps < 0 || !minimal.measured || minimal.idleWakeUps < 0) {
        PrintAimNotMeasured(name, "wake-ups are counted only under Wine");
        return;
    }
    const double perMinute = footprint.idleWakeUps * 60.0 / idleSeconds;
    const double limit = minimal.idleWakeUps * 60.0 / idleSeconds + extraPerMinute;
    PrintAim(name, Figure("", perMinute, 1, ""), Figure("<= ", limit, 1, ""), limit > 0.0 ? perMinute / limit : 0.0,
        perMinute <= limit);
}

void PrintMemoryAim(const char* name, SIZE_T vantrel, SIZE_T minimal)
{
    const double limit = kMemoryLimit * static_cast<double>(minimal);
    const double measured = static_cast<double>(vantrel);
    PrintAim(name, Figure("", measured / 1024.0, 0, "KB"), Figure("<= ", limit / 1024.0, 0, "KB"),
        minimal > 0 ? measured / static_cast<double>(minimal) : 0.0, measured <= limit);
}

void PrintMemoryAims(const char* mode, const ProgramFootprint& vantrel, const ProgramFootprint& minimal)
{
    const std::string workingSet = std::string("working set, mode ") + mode + ", vs minimal";
    const std::string privateBytes = std::string("private bytes, mode ") + mode + ", vs minimal";
    if (!vantrel.measured || !minimal.measured) {
        const std::string reason = !vantrel.measured ? "Vantrel.exe: " + vantrel.problem
                                                     : "MinimalTrayProgram.exe: " + minimal.problem;
        PrintAimNotMeasured(workingSet.c_str(), reason);
        PrintAimNotMeasured(privateBytes.c_str(), reason);
        return;
    }
    PrintMemoryAim(workingSet.c_str(), vantrel.workingSetBytes, minimal.workingSetBytes);
    PrintMemoryAim(privateBytes.c_str(), vantrel.privateBytes, minimal.privateBytes);
}

void PrintLibrarySizeAim(const BenchResults& results)
{
    const char* name = "i686 VantrelDll.dll size";
    for (const BinarySize& binary : results.binaries) {
        if (binary.architecture != "i686" || binary.fileName != "VantrelDll.dll")
            continue;
        if (!binary.present)
            break;
        const double bytes = static_cast<double>(binary.bytes);
        PrintAim(name, Figure("", bytes, 0, "B"), Figure("< ", static_cast<double>(kLibraryLimitBytes), 0, "B"),
            bytes / static_cast<double>(kLibraryLimitBytes), binary.bytes < kLibraryLimitBytes);
        return;
    }
    PrintAimNotMeasured(name, "missing");
}

void PrintAims(const BenchResults& results)
{
    std::printf("Aim                                              measured            aim   ratio  verdict\n");
    PrintLatencyAims(results);
    PrintStormAim(results);
    const int idleSeconds = results.options.idleSeconds;
    PrintIdleAim("idle CPU per minute, mode Normal", results.programs.vantrelNormal, idleSeconds,
        results.cpuStepMicroseconds);
    PrintIdleAim(
        "idle CPU per minute, mode One", results.programs.vantrelOne, idleSeconds, results.cpuStepMicroseconds);
    std::printf("    (per minute = CPU over %d s x 60 / %d; CPU times advance in steps of %.3f ms here)\n", idleSeconds,
        idleSeconds, results.cpuStepMicroseconds / 1000.0);
    PrintWakeUpAim("wake-ups per idle minute, mode Normal", results.programs.vantrelNormal,
        results.programs.minimalTray, 0.0, idleSeconds);
    PrintWakeUpAim("wake-ups per idle minute, mode One", results.programs.vantrelOne, results.programs.minimalTray,
        kFilterCheckWakeUpsPerMinute, idleSeconds);
    std::printf("    (aim = the minimal tray program's wake-ups, plus 6 a minute for One's check of the hook)\n");
    PrintMemoryAims("Normal", results.programs.vantrelNormal, results.programs.minimalTray);
    PrintMemoryAims("One", results.programs.vantrelOne, results.programs.minimalTray);
    PrintLibrarySizeAim(results);
}

} // namespace

void PrintReport(const BenchResults& results)
{
    PrintHeader(results);
    PrintLatencies(results);
    PrintStorms(results);
    PrintRenewal(results);
    PrintPrograms(results);
    PrintBinaries(results);
    PrintAims(results);
    std::fflush(stdout);
}
