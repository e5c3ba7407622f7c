#include "HookStorm.h"

#include "Clock.h"
#include "InjectedInput.h"
#include "MessagePump.h"

#include <algorithm>
#include <cstddef>

namespace {

// Short turns interleave the configurations finely; each still spans many
// steps of the CPU clock.
constexpr int kEventsPerTurn = 2000;
constexpr int kWarmUpEvents = 500;
constexpr DWORD kDrainTimeoutMs = 120000;
constexpr DWORD kEventTimeoutMs = 5000;

// Moves by nothing: each still passes every low-level hook as WM_MOUSEMOVE,
// but the pointer stays on the window, and Wine warps the X pointer for none
// of them (a warp comes back as X motion that the next turn would pay for).
std::vector<INPUT> MoveStorm(int count)
{
    return std::vector<INPUT>(static_cast<std::size_t>(count), MouseMoveInput(0, 0));
}

// Sends the moves and a left press behind them. Input is handled in order, so
// when the press reaches the window every move has been through the hook.
bool RunStorm(TargetWindow& window, std::vector<INPUT>& moves, StormCost& cost, std::string& problem)
{
    window.ClearEvents();
    const HANDLE self = GetCurrentProcess();
    double cpuBefore = 0.0;
    double cpuAfter = 0.0;
    ProcessCpuMicroseconds(self, cpuBefore);
    const LONGLONG start = PerformanceCounterNow();
    const UINT sent = SendInput(static_cast<UINT>(moves.size()), moves.data(), sizeof(INPUT));
    const bool marked = SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    const bool drained = marked && PumpMessagesUntil([&] { return window.LeftDownCount() > 0; }, kDrainTimeoutMs);
    const LONGLONG end = PerformanceCounterNow();
    ProcessCpuMicroseconds(self, cpuAfter);
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    PumpMessagesUntil([&] { return window.LeftUpCount() > 0; }, kEventTimeoutMs);
    if (sent != moves.size() || !marked) {
        problem = "SendInput refused part of the storm";
        return false;
    }
    if (!drained) {
        problem = "the storm did not drain within 120 s";
        return false;
    }
    cost.events += static_cast<int>(moves.size());
    cost.cpuMicroseconds += cpuAfter - cpuBefore;
    cost.wallMicroseconds += MicrosecondsBetween(start, end);
    return true;
}

bool TakeTurn(TargetWindow& window, FilterLibrary& filter, const StormConfiguration& configuration, int events,
    StormCost& cost, std::string& problem)
{
    std::vector<INPUT> moves = MoveStorm(events);
    ScopedHook hook(configuration.hook, filter);
    if (!hook.Installed()) {
        problem = "the hook could not be installed";
        return false;
    }
    return RunStorm(window, moves, cost, problem);
}

} // namespace

bool MeasureHookStorms(TargetWindow& window, FilterLibrary& filter,
    const std::vector<StormConfiguration>& configurations, int eventsEach, std::vector<StormCost>& costs,
    std::string& problem)
{
    const std::size_t configurationCount = configurations.size();
    costs.assign(configurationCount, {});
    for (std::size_t index = 0; index < configurationCount; ++index) {
        StormCost discarded;
        if (!TakeTurn(window, filter, configurations[index], kWarmUpEvents, discarded, problem)) {
            problem = std::string(configurations[index].label) + ": " + problem;
            return false;
        }
    }
    for (int round = 0; round * kEventsPerTurn < eventsEach; ++round) {
        const int events = std::min(kEventsPerTurn, eventsEach - round * kEventsPerTurn);
        const std::size_t first = static_cast<std::size_t>(round) % configurationCount;
        for (std::size_t step = 0; step < configurationCount; ++step) {
            const std::size_t index = (first + step) % configurationCount;
            if (!TakeTurn(window, filter, configurations[index], events, costs[index], problem)) {
                problem = std::string(configurations[index].label) + ": " + problem;
                return false;
            }
        }
    }
    return true;
}
