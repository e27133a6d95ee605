#include "emulator/BootLoader.h"
#include "protocol/CommandCodes.h"

#include <algorithm>

namespace orvane::emulator {
namespace {

// Every boot-loader reply is a long command report, whatever it answers.
CommandReply reply(std::uint8_t status) {
    return CommandReply::make(kCommandReportId, kDataReportSize, status);
}

}  // namespace

CommandReply BootLoader::handle(MouseMemory& memory, const Request& request) {
    if (request.reportId() == kDataReportId) {
        return request.command() == boot_command::kImageBlock ? takeBlock(request)
                                                              : reply(kStatusFailed);
    }
    switch (request.command()) {
        case boot_command::kImageInformation:
            return announce(request);
        case boot_command::kFinish:
            return finish(memory);
        default:
            return reply(kStatusFailed);
    }
}

void BootLoader::reset() {
    announced = false;
    blockCount = 0;
    imageSum = 0;
    image.clear();
}

CommandReply BootLoader::announce(const Request& request) {
    reset();
    const std::size_t count = request.at(boot_command::kBlockCountByte);
    if (count == 0 || count > kMaxBlocks) {
        return reply(kStatusFailed);
    }
    announced = true;
    blockCount = count;
    imageSum = request.u32(boot_command::kImageSumByte);
    image.reserve(count * kPayloadSize);
    return reply(kStatusDone);
}

CommandReply BootLoader::takeBlock(const Request& request) {
    const auto payload = request.payload();
    if (!announced || sum16(payload) != request.u16(boot_command::kBlockSumByte)) {
        return reply(kStatusFailed);
    }
    const std::size_t received = blocksReceived();
    const std::size_t number = request.at(boot_command::kBlockNumberByte);
    if (number == kFirstBlockNumber + received && received < blockCount) {
        image.insert(image.end(), payload.begin(), payload.end());
        return reply(kStatusDone);
    }
    // The host sends a block again when it could not read our answer to it;
    // the same block once more is no harm, and refusing it would end the
    // update although nothing is wrong.
    if (received > 0 && number == kFirstBlockNumber + received - 1 &&
        std::equal(payload.begin(), payload.end(),
                   image.end() - static_cast<std::ptrdiff_t>(kPayloadSize))) {
        return reply(kStatusDone);
    }
    return reply(kStatusFailed);
}

CommandReply BootLoader::finish(MouseMemory& memory) {
    if (!announced || blocksReceived() != blockCount || sum32(image) != imageSum) {
        return reply(kStatusFailed);
    }
    if (const auto version = firmwareVersionOfImage(image)) {
        memory.firmwareVersion = *version;
        memory.releaseNumber = *version;
    }
    reset();
    CommandReply done = reply(kStatusDone);
    done.change = ModeChange::LeaveBootLoader;
    return done;
}

}  // namespace orvane::emulator
