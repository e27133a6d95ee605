#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "platform/Clock.h"
#include "platform/HidBus.h"

namespace orvane::devlib {

// The library's one lock: recursive, so that an export may call another
// (the data-block write inside Set_button_settings enters it again).
class CMyCriticalSection {
  public:
    CMyCriticalSection() = default;
    virtual ~CMyCriticalSection() = default;
    CMyCriticalSection(const CMyCriticalSection&) = delete;
    CMyCriticalSection& operator=(const CMyCriticalSection&) = delete;

    void enter() { mutex.lock(); }
    void leave() { mutex.unlock(); }

  private:
    std::recursive_mutex mutex;
};

// Holds a CMyCriticalSection from construction to destruction, whatever way
// the scope is left.
class CCriticalSectionAutoLock {
  public:
    explicit CCriticalSectionAutoLock(CMyCriticalSection& section) : section(section) {
        section.enter();
    }
    virtual ~CCriticalSectionAutoLock() { section.leave(); }
    CCriticalSectionAutoLock(const CCriticalSectionAutoLock&) = delete;
    CCriticalSectionAutoLock& operator=(const CCriticalSectionAutoLock&) = delete;

  private:
    CMyCriticalSection& section;
};

// Library-wide state and the library's own HID transport (its retry and
// polling constants differ from the application's).
//
// Threads: command exports hold `lock()`; the capture thread, the listener
// and the firmware worker use the transport without it, as the library
// always has. So that this never becomes a data race, the command handle is
// a shared pointer swapped under `handleMutex`, every single transfer on it
// is serialised by `transferMutex`, and the flags are atomics.
class LibraryCore {
  public:
    // The one instance, created on first use with the bus that ORVANE_HID
    // selects and the real clock.
    static LibraryCore& instance();

    LibraryCore(std::unique_ptr<HidBus> bus, Clock& clock);

    CMyCriticalSection& lock() { return libraryLock; }
    Clock& clock() { return clockRef; }
    HidBus* bus() { return hidBus.get(); }  // null when ORVANE_HID names no backend

    // Opens the first interface with the mouse's vendor id, this product id
    // and the configuration collection into the command handle.
    bool openDeviceByProductId(std::uint16_t productId);
    // True when the handle is open, else opens the application interface.
    bool ensureDeviceOpen();
    bool deviceOpen() const { return isOpen.load(); }
    void closeDeviceHandle();
    // The second vendor interface (0xFF02/0x0001); kept open, never used.
    bool openCompliantDevice();

    // Feature reports with the library's rules: up to 3 retries for the
    // transient errors, 50 ms (fast: 30 ms) after each failed retry.
    bool sendFeatureReport(std::span<const std::uint8_t> report);
    bool sendFeatureReportFast(std::span<const std::uint8_t> report);
    // Reads a reply of the buffer's length (64 or 1041); byte 0 preset by
    // the caller. Busy statuses 3 and 4 are polled (0, 30, 60 ms), failed
    // reads retried for the transient errors.
    bool receiveFeatureReply(std::span<std::uint8_t> reply);

    // A fresh handle on the first interface of the mouse (application
    // product id) for input reports; null when there is none.
    std::unique_ptr<HidDevice> openCaptureDevice();

    // While a firmware update's worker runs, the command handle is the
    // worker's: it closes and reopens it as the mouse changes identity, and
    // the mouse's departure on the way is no reason to take it away.
    void firmwareUpdateBegins() { ++firmwareUpdates; }
    void firmwareUpdateEnds() { --firmwareUpdates; }
    bool firmwareUpdateRunning() const { return firmwareUpdates.load() > 0; }

  private:
    HidError transfer(bool get, std::span<std::uint8_t> buffer);

    std::unique_ptr<HidBus> hidBus;
    Clock& clockRef;
    CMyCriticalSection libraryLock;
    std::mutex handleMutex;
    std::shared_ptr<HidDevice> handle;
    std::shared_ptr<HidDevice> compliantHandle;
    std::mutex transferMutex;
    std::atomic<bool> isOpen{false};
    std::atomic<bool> compliantOpen{false};
    std::atomic<int> firmwareUpdates{0};
};

}  // namespace orvane::devlib
