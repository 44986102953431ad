#include "../../Timer.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <mmsystem.h>

namespace tavren {

namespace {

class PerformanceCounterClock final : public ClockSource {
public:
    bool CounterFrequency(int64_t& frequency) override {
        LARGE_INTEGER value{};
        if (!QueryPerformanceFrequency(&value)) {
            return false;
        }
        frequency = value.QuadPart;
        return true;
    }
    int64_t CounterReading() override {
        LARGE_INTEGER value{};
        QueryPerformanceCounter(&value);
        return value.QuadPart;
    }
    uint32_t MillisecondTime() override { return timeGetTime(); }
};

} // namespace

ClockSource& SystemClock() {
    static PerformanceCounterClock clock;
    return clock;
}

} // namespace tavren
