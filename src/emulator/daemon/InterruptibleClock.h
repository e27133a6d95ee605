#pragma once

#include <condition_variable>
#include <mutex>

#include "platform/Clock.h"

namespace orvane::emulator {

// The real clock, except that interrupt() ends every pause at once, now and
// from then on: a transfer that waits out its reply time-out must not hold
// the daemon's shutdown for seconds.
class InterruptibleClock final : public Clock {
  public:
    TimePoint now() const override;
    void sleepFor(Duration duration) override;
    void interrupt();

  private:
    std::mutex mutex;
    std::condition_variable woken;
    bool interrupted = false;
};

}  // namespace orvane::emulator
