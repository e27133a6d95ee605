#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "app/WorkerThreads.h"
#include "device/DeviceLink.h"
#include "profile/MouseProfile.h"
#include "protocol/image/DeviceImage.h"

namespace orvane {

// What one Apply is to do, taken on the user-interface thread: copies of the
// five records as the pages left them, so the worker never reads a record
// the interface may be changing.
struct ApplyRequest {
    std::array<MouseProfile, 5> records;
    std::size_t slot = 0;  // the slot to write and select
};

struct ApplyOutcome {
    std::size_t slot = 0;
    std::vector<std::size_t> unsavedSlots;  // profile files that could not be written
    bool mouseFound = false;
    // A mouse plugged in that this user may not open; empty when none.
    std::string unreadablePath;
    int uploadResult = 0;
    int selectResult = 0;
    // Buttons whose macro did not fit into the mouse's macro area.
    std::vector<std::uint8_t> shortenedMacroButtons;
    // Macro steps whose delay the mouse could not hold whole.
    std::vector<CutMacroDelay> cutMacroDelays;

    bool reachedMouse() const { return mouseFound && uploadResult == 1 && selectResult == 1; }
};

// Runs each Apply on a worker thread of its own, one at a time: a second run
// started while one is in flight waits for the lock. The worker saves the
// profile files, then writes the slot's image into the mouse and selects it;
// the outcome goes to `done`, on the worker thread (the caller queues it to
// wherever it belongs). The destructor waits for every run.
class ApplyRunner {
  public:
    using Done = std::function<void(const ApplyOutcome&)>;

    explicit ApplyRunner(DeviceLink& link);
    ~ApplyRunner() { workers.waitForAll(); }
    ApplyRunner(const ApplyRunner&) = delete;
    ApplyRunner& operator=(const ApplyRunner&) = delete;

    void start(ApplyRequest request, Done done);

    // Runs one Apply on the calling thread, under the same lock.
    ApplyOutcome run(const ApplyRequest& request);

    // Waits until every started run has finished.
    void waitForAll() { workers.waitForAll(); }

  private:
    DeviceLink& link;
    std::mutex applyLock;
    WorkerThreads workers;  // last: joined before the lock goes
};

}  // namespace orvane
