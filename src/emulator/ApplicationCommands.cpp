#include "emulator/ApplicationCommands.h"

#include <algorithm>

namespace orvane::emulator {
namespace {

constexpr std::uint8_t kReadCurrentProfile = 0x03;
constexpr std::uint8_t kSelectProfile = 0x04;
constexpr std::uint8_t kSurfaceAnalysis = 0x05;
constexpr std::uint8_t kStartAnalysis = 0x01;
constexpr std::uint8_t kReadQuality = 0x02;
constexpr std::uint8_t kWriteImageHalf = 0x08;

constexpr std::size_t kSlotOperand = 5;
constexpr std::size_t kHalfOperand = 6;
constexpr std::size_t kValueByte = 16;

CommandReply reply(std::uint8_t status) {
    return CommandReply::make(kCommandReportId, kCommandReportSize, status);
}

CommandReply selectSlot(MouseMemory& memory, const Request& request) {
    const std::uint8_t slot = request.at(kSlotOperand);
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
        case kStartAnalysis:
            return reply(kStatusDone);
        case kReadQuality: {
            CommandReply done = reply(kStatusDone);
            done.put(kValueByte, memory.surfaceQuality);
            return done;
        }
        default:
            return reply(kStatusFailed);
    }
}

CommandReply writeImageHalf(MouseMemory& memory, const Request& request) {
    const std::uint8_t slot = request.at(kSlotOperand);
    const std::uint8_t half = request.at(kHalfOperand);
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
        if (request.command() == kWriteImageHalf) {
            return writeImageHalf(memory, request);
        }
        return std::nullopt;
    }
    switch (request.command()) {
        case kReadCurrentProfile: {
            CommandReply done = reply(kStatusDone);
            done.put(kValueByte, memory.activeSlot);
            return done;
        }
        case kSelectProfile:
            return selectSlot(memory, request);
        case kSurfaceAnalysis:
            return surfaceAnalysis(memory, request);
        default:
            return std::nullopt;
    }
}

}  // namespace orvane::emulator
