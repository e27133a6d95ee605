#pragma once

#include <mutex>
#include <vector>

#include "platform/Clock.h"

namespace orvane {

// A clock for tests: sleeping advances time at once and records the pause,
// so a test checks the exact pauses of a protocol without waiting for them.
class FakeClock final : public Clock {
  public:
    TimePoint now() const override {
        std::lock_guard lock(mutex);
        return current;
    }
    void sleepFor(Duration duration) override {
        std::lock_guard lock(mutex);
        pauses.push_back(duration);
        if (duration > Duration::zero()) {
            current += duration;
        }
    }
    void advance(Duration duration) {
        std::lock_guard lock(mutex);
        current += duration;
    }
    std::vector<Duration> sleeps() const {
        std::lock_guard lock(mutex);
        return pauses;
    }
    Duration totalSlept() const {
        std::lock_guard lock(mutex);
        Duration total{0};
        for (Duration pause : pauses) {
            total += pause;
        }
        return total;
    }
    void clearSleeps() {
        std::lock_guard lock(mutex);
        pauses.clear();
    }

  private:
    mutable std::mutex mutex;
    TimePoint current{};
    std::vector<Duration> pauses;
};

}  // namespace orvane
