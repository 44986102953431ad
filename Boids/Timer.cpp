#include "Timer.h"

namespace tavren {

TPerfTimer::TPerfTimer(ClockSource& clock) : Clock(clock) {
    int64_t frequency = 0;
    if (Clock.CounterFrequency(frequency)) {
        Frequency = frequency;
        StartCount = Clock.CounterReading();
        HasCounter = true;
        Resolution = 1.0f / static_cast<float>(Frequency);
    } else {
        StartMs = Clock.MillisecondTime();
        HasCounter = false;
        Resolution = 0.001f;
        Frequency = 1000;
    }
}

// Counts divided by the frequency rather than times the 32-bit Resolution, whose rounding
// would show: 1,500 ms come out as 1.5 seconds exactly.
double TPerfTimer::Seconds(int64_t counts) const {
    return static_cast<double>(counts) / static_cast<double>(Frequency);
}

double TPerfTimer::Elapsed() const {
    if (HasCounter) {
        return Seconds(Clock.CounterReading() - StartCount);
    }
    // Unsigned arithmetic gives the true difference across a wrap of the millisecond clock.
    const uint32_t milliseconds = Clock.MillisecondTime() - StartMs;
    return Seconds(milliseconds);
}

} // namespace tavren
