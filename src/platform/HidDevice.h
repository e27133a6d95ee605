#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/HidError.h"

namespace orvane {

// One open HID interface. Byte 0 of every buffer is the report id. A device
// may be used from one thread at a time; the callers' locks see to that.
// cancelInputRead() is the one call made from another thread.
class HidDevice {
  public:
    // A readInputReport that waits until a report arrives or the read is
    // cancelled: a capture thread that blocks costs nothing while it waits.
    static constexpr std::chrono::milliseconds kWaitForever{-1};

    virtual ~HidDevice() = default;

    // Sends a feature report, report id in byte 0.
    virtual HidError sendFeatureReport(std::span<const std::uint8_t> report) = 0;

    // Reads a feature report: byte 0 of `report` names the report id; the
    // reply fills the buffer from byte 0 (bytes the device did not send stay
    // as they were).
    virtual HidError getFeatureReport(std::span<std::uint8_t> report) = 0;

    // Waits at most `timeout` for one input report and copies it into
    // `report`; `length` is what arrived, 0 when the wait ran out (which is
    // not an error).
    virtual HidError readInputReport(std::span<std::uint8_t> report,
                                     std::chrono::milliseconds timeout, std::size_t& length) = 0;

    // Ends a readInputReport waiting on another thread at once (it returns
    // with length 0) and makes every later one return at once: the reader is
    // about to stop and the device to be closed. Safe from any thread.
    virtual void cancelInputRead() = 0;
};

}  // namespace orvane
