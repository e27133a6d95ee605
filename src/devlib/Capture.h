#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "Orvane_pro_dll.h"
#include "devlib/LibraryCore.h"

namespace orvane::devlib {

// The capture of the mouse's input reports: one thread reading the mouse's
// first interface and calling the host's event callback.
//
// There is never more than one capture thread: starting again stops the
// running one first, and stopping joins the thread before its device is
// released. The callback runs without any lock of ours held, so it may call
// any export, this capture's start and stop included; a capture stopped from
// inside its own callback finishes on its own and is joined later.
class EventCapture {
  public:
    // Between two handled reports; the mouse's queue holds the rest.
    static constexpr std::chrono::milliseconds kReportPause{80};
    static constexpr std::chrono::milliseconds kBlockReadPause{10};
    static constexpr std::size_t kReportLength = 9;

    explicit EventCapture(LibraryCore& core);
    ~EventCapture();
    EventCapture(const EventCapture&) = delete;
    EventCapture& operator=(const EventCapture&) = delete;

    // 5 when the thread runs; 20 for a null callback (nothing changes) or a
    // thread that cannot start; 255 when the mouse cannot be opened for
    // input reports (the callback stays registered).
    std::uint8_t start(OrvaneCaptureCallback callback);
    // Returns once the thread has ended (unless called from the capture
    // thread itself); the capture device is released after it.
    void stop();
    bool running() const;

  private:
    struct Session;

    void run(Session& session);
    void dispatch(std::span<const std::uint8_t> report);
    void readDataBlock(std::uint8_t block, std::uint8_t profile, std::span<std::uint8_t> data);
    void pauseAfterError(Session& session);
    std::shared_ptr<Session> takeCurrent();
    static void signalStop(Session& session);
    void end(std::shared_ptr<Session> session);
    void joinRetired();
    // Ends the running capture, if any, and joins what can be joined.
    void endCurrent(bool fromCallback);

    LibraryCore& core;
    std::atomic<OrvaneCaptureCallback> callback{nullptr};
    // Serialises start and stop from host threads, held while joining; the
    // capture thread itself never takes it (it would wait for itself).
    std::mutex operationMutex;
    // Guards `current` and `retired`; never held while joining or calling.
    mutable std::mutex stateMutex;
    std::shared_ptr<Session> current;
    std::vector<std::thread> retired;
};

// Close_device: stops the capture (joining its thread), shuts the HID
// library down through `shutdownHid`, closes the command handle. Returns 1.
// The shutdown is handed in so that only the shared library itself links
// hidapi; tests pass their own.
std::uint8_t closeDevice(LibraryCore& core, EventCapture& capture,
                         const std::function<void()>& shutdownHid);

// What the device-change listener does when the mouse goes: Close_device,
// except while a firmware update runs. The mouse then leaves on purpose, to
// come back as its boot loader and again as itself, and the update's worker
// reopens the command handle each time; so only the capture stops, and the
// handle and the HID library stay the worker's.
void closeDeviceAfterRemoval(LibraryCore& core, EventCapture& capture,
                             const std::function<void()>& shutdownHid);

}  // namespace orvane::devlib
