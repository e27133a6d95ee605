#include "emulator/daemon/InterruptibleClock.h"

namespace orvane::emulator {

Clock::TimePoint InterruptibleClock::now() const {
    return std::chrono::steady_clock::now();
}

void InterruptibleClock::sleepFor(Duration duration) {
    std::unique_lock lock(mutex);
    woken.wait_for(lock, duration, [this] { return interrupted; });
}

void InterruptibleClock::interrupt() {
    {
        std::lock_guard lock(mutex);
        interrupted = true;
    }
    woken.notify_all();
}

}  // namespace orvane::emulator
