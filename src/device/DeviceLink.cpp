#include "device/DeviceLink.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "protocol/DeviceIds.h"

namespace orvane {

namespace {

constexpr int kSendRetries = 3;
constexpr int kReceiveRetries = 3;
constexpr Clock::Duration kRetryPause{50};
constexpr Clock::Duration kPollPauseStep{50};
constexpr Clock::Duration kPollPauseEnd{250};

bool isConfigInterface(const HidDeviceInfo& info) {
    return info.vendorId == kVendorId && info.productId == kProductId &&
           info.usagePage == kConfigUsagePage && info.usage == kConfigUsage;
}

}  // namespace

DeviceLink::DeviceLink(HidBus& bus, Clock& clock) : bus(bus), clock(clock) {}

DeviceLink::~DeviceLink() = default;

int DeviceLink::openDevice() {
    std::lock_guard lock(mutex);
    handle.reset();
    for (const HidDeviceInfo& info : bus.enumerate()) {
        if (!isConfigInterface(info)) {
            continue;
        }
        HidError error = HidError::None;
        std::unique_ptr<HidDevice> device = bus.open(info.path, error);
        if (device == nullptr) {
            continue;
        }
        handle = std::move(device);
        isConnected = true;
        version = info.releaseNumber;
        return 1;
    }
    return 0;
}

int DeviceLink::openDeviceIfClosed() {
    std::lock_guard lock(mutex);
    return isConnected ? 1 : openDevice();
}

int DeviceLink::closeDevice() {
    std::lock_guard lock(mutex);
    isConnected = false;
    handle.reset();
    return 1;
}

bool DeviceLink::sendFeature(std::span<const std::uint8_t> report) {
    std::lock_guard lock(mutex);
    // The report is sent from a const buffer, so unlike a system call that
    // may scribble on a failed transfer's buffer, a retry sends it unchanged.
    auto attempt = [&]() {
        return handle != nullptr ? handle->sendFeatureReport(report) : HidError::DeviceNotConnected;
    };
    const HidError first = attempt();
    if (first == HidError::None) {
        return true;
    }
    if (!isRetriedHidError(first)) {
        return false;
    }
    for (int retry = 0; retry < kSendRetries; ++retry) {
        if (attempt() == HidError::None) {
            return true;
        }
        clock.sleepFor(kRetryPause);
    }
    return false;
}

bool DeviceLink::readOnce(std::span<std::uint8_t, kCommandReportSize> reply, HidError& error) {
    // Every read starts from the preset buffer, never from a failed read's leftovers.
    std::fill(reply.begin(), reply.end(), std::uint8_t{0});
    reply[0] = kCommandReportId;
    error = handle != nullptr ? handle->getFeatureReport(reply) : HidError::DeviceNotConnected;
    return error == HidError::None;
}

bool DeviceLink::receiveFeature(std::span<std::uint8_t, kCommandReportSize> reply) {
    std::lock_guard lock(mutex);
    auto done = [&reply]() { return reply[kStatusByte] == kStatusDone; };
    HidError error = HidError::None;
    bool succeeded = readOnce(reply, error);
    if (succeeded) {
        if (done()) {
            return true;
        }
        for (Clock::Duration delay{0}; delay < kPollPauseEnd; delay += kPollPauseStep) {
            succeeded = readOnce(reply, error);
            if (done()) {
                break;
            }
            clock.sleepFor(delay);
        }
        return succeeded;
    }
    if (!isRetriedHidError(error)) {
        return false;
    }
    for (int retry = 0; retry < kReceiveRetries; ++retry) {
        succeeded = readOnce(reply, error);
        if (done()) {
            break;
        }
        clock.sleepFor(kRetryPause);
    }
    return succeeded;
}

std::uint16_t DeviceLink::firmwareVersionValue() const {
    std::lock_guard lock(mutex);
    char hex[8];
    std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(version));
    unsigned value = 0;
    for (const char* c = hex; *c >= '0' && *c <= '9'; ++c) {
        value = value * 10 + static_cast<unsigned>(*c - '0');
    }
    return static_cast<std::uint16_t>(value);
}

std::uint16_t DeviceLink::versionNumber() const {
    std::lock_guard lock(mutex);
    return version;
}

bool DeviceLink::connected() const {
    std::lock_guard lock(mutex);
    return isConnected;
}

void DeviceLink::pause(Clock::Duration duration) {
    clock.sleepFor(duration);
}

std::unique_lock<std::recursive_mutex> DeviceLink::exchangeLock() {
    return std::unique_lock(mutex);
}

std::string firmwareVersionText(const DeviceLink& link) {
    if (!link.connected()) {
        return "-.--";
    }
    // Whole numbers, not the C library's "%.2f": the application sets the
    // process locale from the desktop, and a comma-decimal one would show
    // "1,05".
    const unsigned value = link.firmwareVersionValue();
    const unsigned hundredths = value % 100;
    return std::to_string(value / 100) + (hundredths < 10 ? ".0" : ".") +
           std::to_string(hundredths);
}

}  // namespace orvane
