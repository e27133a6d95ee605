#include "devlib/Transport.h"

#include "protocol/CommandCodes.h"

namespace orvane::devlib {

CommandReport commandReport(std::uint8_t command, std::uint8_t sub, std::uint8_t profile,
                            std::uint8_t second, std::uint8_t third) {
    CommandReport report{};
    report[0] = kCommandReportId;
    report[1] = command;
    report[operand::kSubCommand] = sub;
    report[operand::kProfile] = profile;
    report[operand::kSecond] = second;
    report[operand::kThird] = third;
    return report;
}

void putU16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t u16At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

Reply exchange(LibraryCore& core, std::span<const std::uint8_t> request, const Exchange& exchange) {
    const std::unique_lock hold = core.exchangeLock();
    Reply reply;
    reply.sent = exchange.speed == SendSpeed::Fast ? core.sendFeatureReportFast(request)
                                                   : core.sendFeatureReport(request);
    if (!reply.sent) {
        return reply;
    }
    core.clock().sleepFor(exchange.pause);
    reply.bytes.assign(exchange.replyLength, 0);
    reply.bytes[0] = exchange.replyId;
    reply.readOk = core.receiveFeatureReply(reply.bytes);
    return reply;
}

}  // namespace orvane::devlib
