#include "device/DeviceLink.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "protocol/DeviceIds.h"
#include "protocol/FirmwareImage.h"

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

void DeviceLink::setAccessGate(std::function<bool()> mayTalkNow) {
    std::lock_guard lock(mutex);
    gate = std::move(mayTalkNow);
}

int DeviceLink::openDevice() {
    std::lock_guard lock(mutex);
    handle.reset();
    deniedPath.clear();
    if (!mayTalk()) {
        return 0;
    }
    for (const HidDeviceInfo& info : bus.enumerate()) {
        if (!isConfigInterface(info)) {
            continue;
        }
        HidError error = HidError::None;
        std::unique_ptr<HidDevice> device = bus.open(info.path, error);
        if (device == nullptr) {
            if (error == HidError::AccessDenied && deniedPath.empty()) {
                deniedPath = info.path;
            }
            continue;
        }
        handle = std::move(device);
        isConnected = true;
        version = info.releaseNumber;
        deniedPath.clear();
        return 1;
    }
    return 0;
}

std::string DeviceLink::unreadablePath() const {
    std::lock_guard lock(mutex);
    return deniedPath;
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
    if (!mayTalk()) {
        return false;
    }
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
    return firmwareVersionValueOf(version);
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
    // Not "%.2f": the application runs under the desktop's locale, which
    // would write "1,05" in half of Europe.
    return firmwareVersionText(link.firmwareVersionValue());
}

}  // namespace orvane
