#pragma once

#include <chrono>

namespace orvane {

// Every pause and tick of the protocols goes through a Clock, so that tests
// run them at once (FakeClock) while the mouse gets its real pauses.
class Clock {
  public:
    using Duration = std::chrono::milliseconds;
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
    virtual void sleepFor(Duration duration) = 0;
};

// The steady clock of the machine and a real sleep.
class SteadyClock final : public Clock {
  public:
    TimePoint now() const override;
    void sleepFor(Duration duration) override;
};

// The process-wide real clock.
Clock& systemClock();

}  // namespace orvane
