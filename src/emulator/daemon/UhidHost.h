#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "emulator/VirtualHidBus.h"

namespace orvane::emulator {

// Puts the simulated mouse into the kernel: every interface the bus lists
// becomes a HID device of its own, created through /dev/uhid with the
// interface's report descriptor and ids, as the mouse's USB interfaces
// become HID devices. Whatever changes the bus (the control socket, a mode
// switch) reaches the kernel as the same arrivals and removals, so a mode
// change destroys the devices and creates the boot loader's, as the real
// mouse re-enumerates.
//
// The kernel's feature-report requests go to the model through a handle on
// the bus; the model's input reports go to the kernel as they come.
class UhidHost {
  public:
    // How long after the bus announced a removal its kernel device goes.
    // The mouse switches modes once the host has read its reply: the real
    // one finishes that transfer and then drops off the bus. Destroyed at
    // once, the kernel would fail the read whose answer it already had.
    static constexpr std::chrono::milliseconds kRemovalDelay{100};

    explicit UhidHost(VirtualHidBus& bus);
    ~UhidHost();

    UhidHost(const UhidHost&) = delete;
    UhidHost& operator=(const UhidHost&) = delete;

    // Creates the devices of the interfaces present now and follows the bus
    // from then on; false, with the reason, when the kernel's devices cannot
    // be created (no write access to /dev/uhid, no uhid module).
    bool start(std::string& error);

  private:
    class Mirror;

    void follow();
    void arrive(const HidDeviceInfo& interface);

    VirtualHidBus& bus;
    std::mutex mutex;
    std::condition_variable changed;
    struct QueuedEvent {
        HidHotplugEvent event;
        std::chrono::steady_clock::time_point announced;
    };
    std::deque<QueuedEvent> events;  // guarded by mutex
    bool stopping = false;           // guarded by mutex
    // By bus path; touched by the follower thread only once it runs.
    std::map<std::string, std::unique_ptr<Mirror>> mirrors;
    std::unique_ptr<HidHotplugSubscription> subscription;
    std::thread follower;
};

}  // namespace orvane::emulator
