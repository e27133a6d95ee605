#include "device/DeviceCommands.h"
#include "protocol/CommandCodes.h"

#include <algorithm>
#include <vector>

namespace orvane {

namespace {

using namespace std::chrono_literals;

constexpr std::uint8_t kLastSlot = 4;

CommandReport command(std::uint8_t code, std::uint8_t subCommand = 0) {
    CommandReport report{};
    report[0] = kCommandReportId;
    report[1] = code;
    report[operand::kSubCommand] = subCommand;
    return report;
}

// One exchange: send, the device's pause, read the reply. False when the
// send failed; then no reply is read.
bool exchange(DeviceLink& link, std::span<const std::uint8_t> request, Clock::Duration pause,
              CommandReport& reply) {
    if (!link.sendFeature(request)) {
        return false;
    }
    link.pause(pause);
    link.receiveFeature(reply);
    return true;
}

bool replyDone(const CommandReport& reply) {
    return reply[kStatusByte] == kStatusDone;
}

}  // namespace

int readCurrentProfile(DeviceLink& link, std::uint8_t& slot) {
    auto hold = link.exchangeLock();
    CommandReport reply{};
    if (!exchange(link, command(app_command::kReadCurrentProfile), 2000ms, reply) ||
        !replyDone(reply) || reply[kPayloadOffset] > kLastSlot) {
        return kCommandFailed;
    }
    slot = reply[kPayloadOffset];
    return kCommandDone;
}

int selectProfile(DeviceLink& link, std::uint8_t slot) {
    auto hold = link.exchangeLock();
    CommandReport request = command(app_command::kSelectProfile);
    request[operand::kProfile] = slot;
    CommandReport reply{};
    return exchange(link, request, 1500ms, reply) && replyDone(reply) ? kCommandDone
                                                                      : kCommandFailed;
}

int writeImageHalf(DeviceLink& link, const DeviceImage& image, std::uint8_t half) {
    auto hold = link.exchangeLock();
    std::vector<std::uint8_t> report(kDataReportSize, 0);
    report[0] = kDataReportId;
    report[1] = app_command::kWriteImageHalf;
    report[operand::kProfile] = image.bytes[0];
    report[operand::kSecond] = half;
    const std::size_t from = std::size_t{half & 1U} * kPayloadSize;
    std::copy_n(image.bytes.begin() + static_cast<std::ptrdiff_t>(from), kPayloadSize,
                report.begin() + kPayloadOffset);
    // The device needs the pause after a data report whether or not the
    // send reported success.
    const bool sent = link.sendFeature(report);
    link.pause(200ms);
    if (!sent) {
        return kCommandFailed;
    }
    CommandReport reply{};
    return link.receiveFeature(reply) ? kCommandDone : kReplyUnreadable;
}

int startSurfaceAnalysis(DeviceLink& link) {
    auto hold = link.exchangeLock();
    CommandReport reply{};
    return exchange(link, command(app_command::kSurfaceAnalysis, app_command::kSurfaceStart), 50ms,
                    reply) &&
                   replyDone(reply)
               ? kCommandDone
               : kCommandFailed;
}

int readSurfaceQuality(DeviceLink& link, std::uint8_t& quality) {
    auto hold = link.exchangeLock();
    CommandReport reply{};
    if (!exchange(link, command(app_command::kSurfaceAnalysis, app_command::kSurfaceQuality), 30ms,
                  reply)) {
        return kCommandFailed;
    }
    quality = reply[kPayloadOffset];
    return kCommandDone;
}

int uploadImage(DeviceLink& link, const DeviceImage& image) {
    auto hold = link.exchangeLock();
    for (std::uint8_t half = 0; half < 2; ++half) {
        const int result = writeImageHalf(link, image, half);
        if (result != kCommandDone) {
            return result;
        }
    }
    return kCommandDone;
}

int uploadProfile(DeviceLink& link, const MouseProfile& profile) {
    return uploadImage(link, buildDeviceImage(profile));
}

}  // namespace orvane
