#pragma once

#include <atomic>
#include <string>

#include "platform/UpdateLock.h"

namespace orvane {

// An update claim for tests: `elsewhere` plays another process's update.
class FakeUpdateLock final : public UpdateLock {
  public:
    bool acquire(std::string& error) override {
        if (elsewhere) {
            error = "another update runs";
            return false;
        }
        held = true;
        return true;
    }
    void release() override { held = false; }
    bool heldElsewhere() const override {
        ++questions;
        return elsewhere;
    }

    std::atomic<bool> elsewhere{false};
    bool held = false;
    mutable std::atomic<int> questions{0};
};

}  // namespace orvane
