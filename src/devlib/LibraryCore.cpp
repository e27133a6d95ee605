#include "devlib/LibraryCore.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/selection/HidBusSelection.h"
#include "protocol/DeviceIds.h"

namespace orvane::devlib {
namespace {

constexpr Clock::Duration kSendRetryPause{50};
constexpr Clock::Duration kFastSendRetryPause{30};
constexpr Clock::Duration kReadRetryPause{50};
constexpr int kSendRetries = 3;
constexpr int kReadRetries = 4;
constexpr Clock::Duration kBusyPolls[] = {Clock::Duration{0}, Clock::Duration{30},
                                          Clock::Duration{60}};
constexpr std::uint8_t kBusyStatus = 3;
constexpr std::uint8_t kStillBusyStatus = 4;

bool isBusy(std::span<const std::uint8_t> reply) {
    return reply.size() > 1 && (reply[1] == kBusyStatus || reply[1] == kStillBusyStatus);
}

bool isDone(std::span<const std::uint8_t> reply) {
    return reply.size() > 1 && reply[1] == 1;
}

bool sendWithRetries(LibraryCore& core, std::span<const std::uint8_t> report,
                     Clock::Duration retryPause,
                     const std::function<HidError(std::span<std::uint8_t>)>& set) {
    // The device may scribble on the buffer it is handed; every attempt
    // starts again from the caller's bytes.
    std::vector<std::uint8_t> attempt(report.begin(), report.end());
    HidError error = set(attempt);
    for (int retry = 0; retry < kSendRetries && error != HidError::None && isRetriedHidError(error);
         ++retry) {
        std::copy(report.begin(), report.end(), attempt.begin());
        error = set(attempt);
        if (error != HidError::None) {
            core.clock().sleepFor(retryPause);
        }
    }
    return error == HidError::None;
}

}  // namespace

LibraryCore& LibraryCore::instance() {
    static LibraryCore core(selectHidBusFromEnvironment().bus, systemClock());
    return core;
}

LibraryCore::LibraryCore(std::unique_ptr<HidBus> bus, Clock& clock)
    : hidBus(std::move(bus)), clockRef(clock) {}

bool LibraryCore::openDeviceByProductId(std::uint16_t productId) {
    std::lock_guard guard(handleMutex);
    handle.reset();
    isOpen = false;
    if (!hidBus) {
        return false;
    }
    for (const HidDeviceInfo& info : hidBus->enumerate()) {
        if (info.vendorId != kVendorId || info.productId != productId ||
            info.usagePage != kConfigUsagePage || info.usage != kConfigUsage) {
            continue;
        }
        HidError error = HidError::None;
        std::unique_ptr<HidDevice> device = hidBus->open(info.path, error);
        if (device) {
            handle = std::move(device);
            isOpen = true;
            return true;
        }
    }
    return false;
}

bool LibraryCore::ensureDeviceOpen() {
    {
        std::lock_guard guard(handleMutex);
        if (isOpen && handle) {
            return true;
        }
    }
    return openDeviceByProductId(kProductId);
}

void LibraryCore::closeDeviceHandle() {
    std::lock_guard guard(handleMutex);
    handle.reset();
    isOpen = false;
}

bool LibraryCore::openCompliantDevice() {
    std::lock_guard guard(handleMutex);
    if (!hidBus) {
        return false;
    }
    for (const HidDeviceInfo& info : hidBus->enumerate()) {
        if (info.vendorId != kVendorId || info.productId != kProductId ||
            info.usagePage != kCompliantUsagePage || info.usage != kCompliantUsage) {
            continue;
        }
        HidError error = HidError::None;
        std::unique_ptr<HidDevice> device = hidBus->open(info.path, error);
        if (device) {
            compliantHandle = std::move(device);
            compliantOpen = true;
            return true;
        }
    }
    return false;
}

bool LibraryCore::sendFeatureReport(std::span<const std::uint8_t> report) {
    return sendWithRetries(*this, report, kSendRetryPause, [this](std::span<std::uint8_t> buffer) {
        return transfer(false, buffer);
    });
}

bool LibraryCore::sendFeatureReportFast(std::span<const std::uint8_t> report) {
    return sendWithRetries(
        *this, report, kFastSendRetryPause,
        [this](std::span<std::uint8_t> buffer) { return transfer(false, buffer); });
}

bool LibraryCore::receiveFeatureReply(std::span<std::uint8_t> reply) {
    const std::vector<std::uint8_t> preset(reply.begin(), reply.end());
    const auto restore = [&] { std::copy(preset.begin(), preset.end(), reply.begin()); };

    HidError error = transfer(true, reply);
    if (error == HidError::None) {
        if (!isBusy(reply)) {
            // Any other status is the caller's to judge.
            return true;
        }
        bool readOk = true;
        for (Clock::Duration pause : kBusyPolls) {
            restore();
            readOk = transfer(true, reply) == HidError::None;
            if (readOk && isDone(reply)) {
                return true;
            }
            if (readOk && isBusy(reply) && pause > Clock::Duration::zero()) {
                clockRef.sleepFor(pause);
            }
        }
        return readOk;
    }
    if (!isRetriedHidError(error)) {
        return false;
    }
    for (int retry = 0; retry < kReadRetries; ++retry) {
        restore();
        if (transfer(true, reply) == HidError::None) {
            return true;
        }
        clockRef.sleepFor(kReadRetryPause);
    }
    return false;
}

std::unique_ptr<HidDevice> LibraryCore::openCaptureDevice() {
    std::lock_guard guard(handleMutex);
    if (!hidBus) {
        return nullptr;
    }
    for (const HidDeviceInfo& info : hidBus->enumerate()) {
        if (info.vendorId == kVendorId && info.productId == kProductId) {
            HidError error = HidError::None;
            return hidBus->open(info.path, error);
        }
    }
    return nullptr;
}

HidError LibraryCore::transfer(bool get, std::span<std::uint8_t> buffer) {
    std::shared_ptr<HidDevice> device;
    {
        std::lock_guard guard(handleMutex);
        device = handle;
    }
    if (!device) {
        return HidError::DeviceNotConnected;
    }
    std::lock_guard guard(transferMutex);
    return get ? device->getFeatureReport(buffer) : device->sendFeatureReport(buffer);
}

}  // namespace orvane::devlib
