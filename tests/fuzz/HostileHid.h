#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "platform/HidBus.h"

namespace orvane::fuzz {

// A HID bus whose every answer comes from the fuzzer's bytes: which
// interfaces are listed (and their release numbers), whether an open or a
// transfer fails and with which error, what a feature report or an input
// report holds. Once the bytes run out the mouse is gone: nothing is listed
// and every transfer fails as with a mouse unplugged, so that every retry
// and wait loop of the code under test must come to its end.
//
// Input reports are read by the library's capture thread. So that a run
// stays the same run whenever it is repeated, the reader takes only as many
// reports as the target allows (allowInputReports) and then waits, telling
// the target it does so, until its read is cancelled; the target does
// nothing else meanwhile.
class HostileHidBus final : public HidBus {
  public:
    explicit HostileHidBus(FuzzInput& input);
    ~HostileHidBus() override;

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const std::string& path, HidError& error) override;

    // The next capture may read this many input reports.
    void allowInputReports(int count);
    // Waits until the capture has read what it was allowed to (or the input
    // ran out) and waits itself.
    void waitForInputReader();

    // Shared with the devices, which may outlive a bus's use.
    struct State;

  private:
    std::shared_ptr<State> state;
};

}  // namespace orvane::fuzz
