#include "emulator/ApplicationCommands.h"
#include "protocol/CommandCodes.h"

#include <algorithm>

namespace orvane::emulator {
namespace {

CommandReply reply(std::uint8_t status) {
    return CommandReply::make(kCommandReportId, kCommandReportSize, status);
}

CommandReply selectSlot(MouseMemory& memory, const Request& request) {
    const std::uint8_t slot = request.at(operand::kProfile);
    if (slot >= kProfileCount) {
        return reply(kStatusFailed);
    }
    memory.activeSlot = slot;
    // The application knows nothing of the library's deleted profiles; a
    // slot it selects (having just written it) is a profile again.
    memory.profiles[slot].present = true;
    return reply(kStatusDone);
}

CommandReply surfaceAnalysis(const MouseMemory& memory, const Request& request) {
    switch (request.at(2)) {
        case app_command::kSurfaceStart:
            return reply(kStatusDone);
        case app_command::kSurfaceQuality: {
            CommandReply done = reply(kStatusDone);
            done.put(kPayloadOffset, memory.surfaceQuality);
            return done;
        }
        default:
            return reply(kStatusFailed);
    }
}

CommandReply writeImageHalf(MouseMemory& memory, const Request& request) {
    const std::uint8_t slot = request.at(operand::kProfile);
    const std::uint8_t half = request.at(operand::kSecond);
    if (slot >= kProfileCount || half >= kDeviceImageSize / kPayloadSize) {
        return reply(kStatusFailed);
    }
    const auto payload = request.payload();
    std::copy(payload.begin(), payload.end(),
              memory.slotImages[slot].begin() + static_cast<std::ptrdiff_t>(half * kPayloadSize));
    return reply(kStatusDone);
}

}  // namespace

std::optional<CommandReply> handleApplicationCommand(MouseMemory& memory, const Request& request) {
    if (request.reportId() == kDataReportId) {
        if (request.command() == app_command::kWriteImageHalf) {
            return writeImageHalf(memory, request);
        }
        return std::nullopt;
    }
    switch (request.command()) {
        case app_command::kReadCurrentProfile: {
            CommandReply done = reply(kStatusDone);
            done.put(kPayloadOffset, memory.activeSlot);
            return done;
        }
        case app_command::kSelectProfile:
            return selectSlot(memory, request);
        case app_command::kSurfaceAnalysis:
            return surfaceAnalysis(memory, request);
        default:
            return std::nullopt;
    }
}

}  // namespace orvane::emulator
