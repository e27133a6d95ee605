#include "platform/Clock.h"

#include <thread>

namespace orvane {

Clock::TimePoint SteadyClock::now() const {
    return std::chrono::steady_clock::now();
}

void SteadyClock::sleepFor(Duration duration) {
    if (duration > Duration::zero()) {
        std::this_thread::sleep_for(duration);
    }
}

Clock& systemClock() {
    static SteadyClock clock;
    return clock;
}

}  // namespace orvane
