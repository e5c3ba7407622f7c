#include "InputLatency.h"

#include "Clock.h"
#include "InjectedInput.h"
#include "MessagePump.h"

#include <algorithm>
#include <cstddef>

namespace {

// Samples each configuration takes in a turn before the next one has its
// turn: short turns spread any drift of a shared machine over all of them.
constexpr int kSamplesPerTurn = 5;
// A whole round of every configuration before measuring: first calls of the
// input and hook paths are slower.
constexpr int kWarmUpRounds = 2;
// Far above any latency seen here (Wine passes an unanswered hook event on
// after about 2 s): a timeout means an event was lost.
constexpr DWORD kEventTimeoutMs = 5000;

struct ClickTimes {
    double arrival = 0.0;
    double sendInputCall = 0.0;
};

// One press and release of the button, timed from just before the press is
// sent until the window procedure sees WM_LBUTTONDOWN.
bool MeasureOneClick(TargetWindow& window, PressedButton button, ClickTimes& times, std::string& problem)
{
    const bool left = button == PressedButton::Left;
    window.ClearEvents();
    const LONGLONG start = PerformanceCounterNow();
    const bool sent = SendMouseButton(left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN);
    const LONGLONG returned = PerformanceCounterNow();
    if (!sent) {
        problem = "SendInput refused the press";
        return false;
    }
    const bool pressArrived = PumpMessagesUntil([&] { return window.LeftDownCount() > 0; }, kEventTimeoutMs);
    times.arrival = MicrosecondsBetween(start, window.LastLeftDownTime());
    times.sendInputCall = MicrosecondsBetween(start, returned);
    // Released in every case, so that no button stays down for the next sample.
    SendMouseButton(left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
    const bool releaseArrived = PumpMessagesUntil([&] { return window.LeftUpCount() > 0; }, kEventTimeoutMs);
    if (!pressArrived) {
        problem = "no WM_LBUTTONDOWN reached the window within 5 s";
        return false;
    }
    if (!releaseArrived) {
        problem = "no WM_LBUTTONUP reached the window within 5 s";
        return false;
    }
    if (window.OtherButtonCount() != 0) {
        problem = "a right-button message reached the window: the press was not remapped";
        return false;
    }
    return true;
}

// One configuration's turn: its hook installed, one discarded click (the
// first event after an install is slower), then count recorded clicks.
bool TakeTurn(TargetWindow& window, FilterLibrary& filter, const LatencyConfiguration& configuration, int count,
    LatencySamples* pSamples, std::string& problem)
{
    ScopedHook hook(configuration.hook, filter);
    if (!hook.Installed()) {
        problem = "the hook could not be installed";
        return false;
    }
    ClickTimes times;
    if (!MeasureOneClick(window, configuration.button, times, problem))
        return false;
    for (int i = 0; i < count; ++i) {
        if (!MeasureOneClick(window, configuration.button, times, problem))
            return false;
        if (pSamples != nullptr) {
            pSamples->arrival.push_back(times.arrival);
            pSamples->sendInputCall.push_back(times.sendInputCall);
        }
    }
    return true;
}

} // namespace

bool MeasureInputLatencies(TargetWindow& window, FilterLibrary& filter,
    const std::vector<LatencyConfiguration>& configurations, int samplesEach, std::vector<LatencySamples>& samples,
    std::string& problem)
{
    const std::size_t configurationCount = configurations.size();
    samples.assign(configurationCount, {});
    const int rounds = (samplesEach + kSamplesPerTurn - 1) / kSamplesPerTurn;
    for (int round = -kWarmUpRounds; round < rounds; ++round) {
        const bool warmUp = round < 0;
        const int count = warmUp ? kSamplesPerTurn : std::min(kSamplesPerTurn, samplesEach - round * kSamplesPerTurn);
        // Each round starts with another configuration, so none is always
        // the one that follows a particular other.
        const std::size_t first = static_cast<std::size_t>(round + kWarmUpRounds) % configurationCount;
        for (std::size_t step = 0; step < configurationCount; ++step) {
            const std::size_t index = (first + step) % configurationCount;
            LatencySamples* pSamples = warmUp ? nullptr : &samples[index];
            if (!TakeTurn(window, filter, configurations[index], count, pSamples, problem)) {
                problem = std::string(configurations[index].label) + ": " + problem;
                return false;
            }
        }
    }
    return true;
}
