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

float TPerfTimer::Elapsed() const {
    if (HasCounter) {
        const int64_t counts = Clock.CounterReading() - StartCount;
        return static_cast<float>(static_cast<double>(counts) * Resolution);
    }
    // Unsigned arithmetic gives the true difference across a wrap of the millisecond clock.
    const uint32_t milliseconds = Clock.MillisecondTime() - StartMs;
    return static_cast<float>(static_cast<double>(milliseconds) * Resolution);
}

} // namespace tavren
