#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>

#include "platform/Clock.h"
#include "platform/HidBus.h"
#include "protocol/ReportLayout.h"

namespace orvane {

using CommandReport = std::array<std::uint8_t, kCommandReportSize>;

// The application's link to the mouse's configuration interface: one open
// handle for the process, feature transfers with the application's retry and
// polling rules, and the device's version number.
//
// Every operation takes the link's lock, and `exchangeLock()` lets a caller
// hold it across a whole command exchange (send, pause, receive) or a whole
// upload, so that a command of the user-interface thread never interleaves
// with an Apply running on its worker thread.
class DeviceLink {
  public:
    DeviceLink(HidBus& bus, Clock& clock);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // 1 when the first interface with the mouse's vendor and product id and
    // the configuration collection (usage page 0xFF01, usage 0x0002) was
    // opened, 0 when none could be.
    int openDevice();
    // 1 at once when connected, else openDevice().
    int openDeviceIfClosed();
    // After an openDevice that found no mouse to talk to: the path of a
    // configuration interface that is plugged in but that this user may not
    // open (no udev rule grants it), empty when there was none at all. Such
    // a mouse is not "missing" and must not be reported as such.
    std::string unreadablePath() const;
    // Forgets the handle; always 1.
    int closeDevice();

    // Sends a 64- or 1041-byte feature report; retried for the transient
    // errors 21, 23, 29, 87 and 1627, up to three times, 50 ms after each
    // failed retry.
    bool sendFeature(std::span<const std::uint8_t> report);
    // Reads the 64-byte reply (byte 0 preset to 0xA1). True when the last
    // read succeeded, whatever its status byte; a busy device is polled for
    // up to 500 ms.
    bool receiveFeature(std::span<std::uint8_t, kCommandReportSize> reply);

    // The version number's hexadecimal digits read as a decimal number
    // (0x0105 gives 105); letters end the number (0x01A0 gives 1).
    std::uint16_t firmwareVersionValue() const;
    std::uint16_t versionNumber() const;
    bool connected() const;

    // Asked before the link opens the mouse or sends it anything; while it
    // answers false (a firmware update owns the mouse) the mouse counts as
    // absent and transfers fail without reaching it.
    void setAccessGate(std::function<bool()> mayTalk);

    // Pauses the link's protocols make; through the clock so tests run them at once.
    void pause(Clock::Duration duration);

    std::unique_lock<std::recursive_mutex> exchangeLock();

  private:
    bool mayTalk() const { return !gate || gate(); }
    bool readOnce(std::span<std::uint8_t, kCommandReportSize> reply, HidError& error);

    HidBus& bus;
    Clock& clock;
    mutable std::recursive_mutex mutex;
    std::unique_ptr<HidDevice> handle;
    bool isConnected = false;
    std::uint16_t version = 0;
    std::string deniedPath;
    std::function<bool()> gate;
};

// The firmware version as the user sees it: the value / 100 with two
// decimals and a point whatever the locale ("1.05"), or "-.--" when no mouse
// is connected.
std::string firmwareVersionText(const DeviceLink& link);

}  // namespace orvane
