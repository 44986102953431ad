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

class TPerfTimer {
public:
    explicit TPerfTimer(ClockSource& clock = SystemClock());

    bool HasCounter = false;
    int64_t Frequency = 1000;
    float Resolution = 0.001f;
    int64_t StartCount = 0;
    uint32_t StartMs = 0;

    // Seconds since construction.
    float Elapsed() const;

private:
    float Seconds(int64_t counts) const;

    ClockSource& Clock;
};

} // namespace tavren
