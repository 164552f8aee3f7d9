// What the core costs every second: one engine tick, and the tray cache saying "no change".
#include "core/Settings.h"
#include "core/TrayStatus.h"
#include "core/WorkTimer.h"

#include <benchmark/benchmark.h>

namespace {

// A host on which nothing ever happens: same time, no keys, cursor still.
class QuietHost : public WorkTimerHost
{
public:
    DateTime now() override { return 45000.5; }
    bool enterPressedSinceLastQuery() override { return false; }
    bool spacePressedSinceLastQuery() override { return false; }
    std::optional<CursorPos> cursorPos() override { return CursorPos{10, 20}; }
    void guardApplicationWindow() override {}
    void ShowAlarm() override {}
    void UpdateTrayIcon(std::int32_t elapsedMinutes, std::int32_t timerMinutes) override
    {
        benchmark::DoNotOptimize(elapsedMinutes + timerMinutes);
    }
};

void EngineTickWhenNothingChanges(benchmark::State& state)
{
    // A period that never completes and no idle reset, so every tick takes the common path.
    Settings settings;
    settings.TimerMinutes = INT32_MAX;
    settings.ResetMinutes = 10;
    settings.AutoReset = false;
    QuietHost host;
    WorkTimer timer(settings, host);
    for (auto _ : state) {
        timer.tick();
        benchmark::DoNotOptimize(timer.ElapsedSeconds());
    }
}
BENCHMARK(EngineTickWhenNothingChanges);

void TrayStatusCacheHit(benchmark::State& state)
{
    TrayStatus status;
    benchmark::DoNotOptimize(status.update(12, 60, false));
    for (auto _ : state)
        benchmark::DoNotOptimize(status.update(12, 60, false));
}
BENCHMARK(TrayStatusCacheHit);

void TrayStatusChange(benchmark::State& state)
{
    // For comparison: a new minute builds the tooltip text.
    TrayStatus status;
    std::int32_t minute = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(status.update(minute++ % 60, 60, false));
}
BENCHMARK(TrayStatusChange);

} // namespace

BENCHMARK_MAIN();
