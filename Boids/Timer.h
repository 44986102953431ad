// The animation clock: seconds since a timer started, from the platform's high-resolution
// counter, or from its millisecond clock where there is no counter.
#pragma once

#include <cstdint>

namespace tavren {

// The platform's clocks as the timer reads them. Tests and tools put in clocks of their own.
class ClockSource {
public:
    virtual ~ClockSource() = default;
    // The counter's counts per second; false when the platform has no counter.
    virtual bool CounterFrequency(int64_t& frequency) = 0;
    virtual int64_t CounterReading() = 0;
    // Milliseconds of a clock that wraps past its largest value.
    virtual uint32_t MillisecondTime() = 0;
};

// The performance counter and timeGetTime on Windows, the monotonic clock on Linux.
ClockSource& SystemClock();

// A clock that moves only when stepped: tools and tests step it once per drawn frame, so that
// a run shows the same animation whatever the speed of the machine.
class SteppedClock final : public ClockSource {
public:
    explicit SteppedClock(double stepSeconds)
        : StepTicks(static_cast<int64_t>(stepSeconds * TicksPerSecond + 0.5)) {}
    void Step() { Ticks += StepTicks; }

    bool CounterFrequency(int64_t& frequency) override {
        frequency = TicksPerSecond;
        return true;
    }
    int64_t CounterReading() override { return Ticks; }
    uint32_t MillisecondTime() override { return static_cast<uint32_t>(Ticks / 1'000'000); }

private:
    static constexpr int64_t TicksPerSecond = 1'000'000'000;
    int64_t StepTicks;
    int64_t Ticks = 0;
};

class TPerfTimer {
public:
    explicit TPerfTimer(ClockSource& clock = SystemClock());

    bool HasCounter = false;
    int64_t Frequency = 1000;
    float Resolution = 0.001f;
    int64_t StartCount = 0;
    uint32_t StartMs = 0;

    // Seconds since construction, in 64 bits: a 32-bit count of seconds would step the
    // animation in ever coarser jumps as a run goes on (by 8 ms after a day, 62 ms after a week).
    double Elapsed() const;

private:
    double Seconds(int64_t counts) const;

    ClockSource& Clock;
};

} // namespace tavren
