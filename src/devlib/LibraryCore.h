#pragma once

#include <atomic>
#include <condition_variable>
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

// A lock taken in the order it was asked for. Exchanges with the mouse take
// turns with it: with a plain mutex, a host calling exports back to back
// takes it again the moment it lets go, and the capture's block read (and
// with it the host's callback) waits for as long as the host goes on.
class TurnLock {
  public:
    void lock() {
        std::unique_lock guard(mutex);
        const std::uint64_t ticket = nextTicket++;
        turn.wait(guard, [&] { return serving == ticket; });
    }
    void unlock() {
        {
            std::lock_guard guard(mutex);
            ++serving;
        }
        turn.notify_all();
    }

  private:
    std::mutex mutex;
    std::condition_variable turn;
    std::uint64_t nextTicket = 0;
    std::uint64_t serving = 0;
};

// Library-wide state and the library's own HID transport (its retry and
// polling constants differ from the application's).
//
// Threads: command exports hold `lock()`; the capture thread, the listener
// and the firmware worker use the transport without it, as the library
// always has. So that this never becomes a data race, the command handle is
// a shared pointer swapped under `handleMutex`, every single transfer on it
// is serialised by `transferMutex`, every exchange by `exchangeLock()`, and
// the flags are atomics.
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

    // Held for one whole exchange, request, pause and reply: the mouse
    // answers the last request it took, so no exchange of another thread may
    // come between. Command exports take it inside the library lock; the
    // capture's block read and the firmware worker, which run without that
    // lock, take it alone. Never held while a host's callback runs.
    std::unique_lock<TurnLock> exchangeLock() { return std::unique_lock(exchangeTurns); }

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
    TurnLock exchangeTurns;
    std::mutex transferMutex;
    std::atomic<bool> isOpen{false};
    std::atomic<bool> compliantOpen{false};
    std::atomic<int> firmwareUpdates{0};
};

}  // namespace orvane::devlib
