#include "../../Timer.h"

#include <time.h>

namespace tavren {

namespace {

int64_t MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The monotonic clock serves as the counter, in nanoseconds.
class MonotonicClock final : public ClockSource {
public:
    bool CounterFrequency(int64_t& frequency) override {
        frequency = 1'000'000'000;
        return true;
    }
    int64_t CounterReading() override { return MonotonicNanoseconds(); }
    uint32_t MillisecondTime() override {
        return static_cast<uint32_t>(MonotonicNanoseconds() / 1'000'000);
    }
};

} // namespace

ClockSource& SystemClock() {
    static MonotonicClock clock;
    return clock;
}

} // namespace tavren
