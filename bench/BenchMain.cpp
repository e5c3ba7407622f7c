// Measures what the mouse filter costs a click and the program costs the
// machine, against the least any hook or tray program costs, and prints the
// figures beside the aims they are held to. See scripts/bench.sh.

#include "BenchOptions.h"
#include "BenchResults.h"
#include "BinarySizes.h"
#include "Clock.h"
#include "FilterLibrary.h"
#include "HookRenewal.h"
#include "HookStorm.h"
#include "InputLatency.h"
#include "ModeValueBackup.h"
#include "MouseFilter.h"
#include "ProgramFootprint.h"
#include "Report.h"
#include "TargetWindow.h"
#include "WineDetection.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr char kProgramName[] = "Vantrel.exe";
constexpr char kProgramWindowClass[] = "#32770";
constexpr char kProgramWindowTitle[] = "Vantrel";
constexpr char kMinimalProgramName[] = "MinimalTrayProgram.exe";
constexpr char kMinimalProgramWindow[] = "MinimalTrayProgram"; // its class and title
constexpr int kRenewals = 500;

std::string OwnFolder()
{
    std::vector<char> path(32768);
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    const std::string file(path.data(), length);
    return file.substr(0, file.find_last_of("\\/") + 1);
}

void MeasureInput(const std::string& folder, BenchResults& results)
{
    TargetWindow window;
    FilterLibrary filter(folder + kFilterLibraryName);
    std::string problem;
    if (!filter.Bound())
        problem = std::string(kFilterLibraryName) + " could not be loaded and bound from " + folder;
    else if (!window.TakePointer())
        problem = "the benchmark's window did not come under the pointer";
    if (!problem.empty()) {
        results.latencyProblem = problem;
        results.stormProblem = problem;
        results.renewalProblem = problem;
        return;
    }

    const std::vector<LatencyConfiguration> latencyConfigurations = {
        {"left press, no hook", HookKind::None, PressedButton::Left},
        {"left press, minimal hook", HookKind::Minimal, PressedButton::Left},
        {"left press, filter (pass path)", HookKind::Filter, PressedButton::Left},
        {"right press, filter (remap path)", HookKind::Filter, PressedButton::Right},
        {"right press, filter, 20 programs listed", HookKind::FilterWithPrograms, PressedButton::Right},
    };
    std::vector<LatencySamples> samples;
    results.latencyMeasured = MeasureInputLatencies(
        window, filter, latencyConfigurations, results.options.samples, samples, results.latencyProblem);
    if (results.latencyMeasured) {
        results.latency.leftNoHook = Summarise(samples[0].arrival);
        results.latency.leftMinimalHook = Summarise(samples[1].arrival);
        results.latency.leftFilter = Summarise(samples[2].arrival);
        results.latency.rightFilter = Summarise(samples[3].arrival);
        results.latency.rightFilterListed = Summarise(samples[4].arrival);
        results.latency.sendInputCallNoHook = Summarise(samples[0].sendInputCall);
    }

    const std::vector<StormConfiguration> stormConfigurations = {
        {"no hook", HookKind::None},
        {"minimal hook", HookKind::Minimal},
        {"filter", HookKind::Filter},
    };
    std::vector<StormCost> costs;
    results.stormMeasured = MeasureHookStorms(
        window, filter, stormConfigurations, results.options.stormEvents, costs, results.stormProblem);
    if (results.stormMeasured) {
        results.storm.noHook = costs[0];
        results.storm.minimalHook = costs[1];
        results.storm.filter = costs[2];
    }

    results.renewalMeasured = MeasureRenewals(filter, kRenewals, results.renewal, results.renewalProblem);
}

ProgramFootprint MeasureVantrel(const std::string& path, ModeValueBackup& storedMode, const char* modeText,
    int idleSeconds)
{
    // Normal is what a first start without any stored mode gives; One is
    // applied at start from the stored "1".
    const bool set = modeText != nullptr ? storedMode.StoreMode(modeText) : storedMode.ClearMode();
    if (!set) {
        ProgramFootprint footprint;
        footprint.problem = "the stored mode could not be set";
        return footprint;
    }
    return MeasureProgramFootprint(path, kProgramWindowClass, kProgramWindowTitle, idleSeconds);
}

void MeasurePrograms(const std::string& folder, BenchResults& results)
{
    const int idleSeconds = results.options.idleSeconds;
    const std::string program = folder + kProgramName;
    {
        ModeValueBackup storedMode;
        results.programs.vantrelNormal = MeasureVantrel(program, storedMode, nullptr, idleSeconds);
        results.programs.vantrelOne = MeasureVantrel(program, storedMode, "1", idleSeconds);
    }
    results.programs.minimalTray = MeasureProgramFootprint(
        folder + kMinimalProgramName, kMinimalProgramWindow, kMinimalProgramWindow, idleSeconds);
}

bool Failed(const ProgramFootprint& footprint, bool mayBeMissing)
{
    return !footprint.measured && !(mayBeMissing && footprint.problem == "missing");
}

} // namespace

int main(int argc, char** argv)
{
    BenchResults results;
    std::string problem;
    if (!ParseBenchOptions(argc, argv, results.options, problem)) {
        std::fprintf(stderr, "%s\n%s", problem.c_str(), BenchUsage());
        return 2;
    }
    if (results.options.help) {
        std::printf("%s", BenchUsage());
        return 0;
    }
    results.wineVersion = WineVersion();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    results.performanceFrequency = static_cast<double>(frequency.QuadPart);
    results.cpuStepMicroseconds = ProcessCpuStepMicroseconds();

    const std::string folder = OwnFolder();
    MeasureInput(folder, results);
    MeasurePrograms(folder, results);
    results.binaries = ReadBinarySizes(results.options.i686Folder, results.options.x86_64Folder);
    PrintReport(results);

    // Vantrel.exe may not be built yet; everything else must have been measured.
    const bool failed = !results.latencyMeasured || !results.stormMeasured || !results.renewalMeasured ||
        Failed(results.programs.vantrelNormal, true) || Failed(results.programs.vantrelOne, true) ||
        Failed(results.programs.minimalTray, false);
    return failed ? 1 : 0;
}
