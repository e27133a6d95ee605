#pragma once

#include <atomic>
#include <string>
#include <utility>

#include "platform/KeyboardHook.h"

namespace orvane {

// A keyboard hook for tests: keys are handed in by the test and, with the
// default post, reach the subscribers before inject() returns. A test that
// wants to see keys in flight passes a post of its own that queues them.
class FakeKeyboardHook final : public KeyboardHook {
  public:
    FakeKeyboardHook() : FakeKeyboardHook([](std::function<void()> work) { work(); }) {}
    explicit FakeKeyboardHook(Post post) : KeyboardHook(std::move(post)) {}
    ~FakeKeyboardHook() override { detachBackend(); }

    bool available() const override { return error.empty(); }
    std::string startError() const override { return error; }

    // From now on starting fails with `reason`; an empty reason lets it start again.
    void failToStart(std::string reason) { error = std::move(reason); }

    // Reaches subscribers only while listening, as a real backend would.
    void inject(KeyEvent event) const {
        if (listening) {
            deliver(event);
        }
    }
    void press(int virtualKey) const { inject({virtualKey, false}); }
    void release(int virtualKey) const { inject({virtualKey, true}); }

    // The source goes away under the subscribers, as an X server may.
    void loseSource() {
        if (listening) {
            listening = false;
            error = "the keyboard went away";
            deliverLoss();
        }
    }

    bool isListening() const { return listening; }
    int starts() const { return startCount; }
    int stops() const { return stopCount; }

  protected:
    bool startListening() override {
        if (!error.empty()) {
            return false;
        }
        listening = true;
        ++startCount;
        return true;
    }
    void stopListening() override {
        listening = false;
        ++stopCount;
    }

  private:
    std::string error;
    // Read by injecting threads while the test thread subscribes.
    std::atomic<bool> listening{false};
    int startCount = 0;
    int stopCount = 0;
};

}  // namespace orvane
