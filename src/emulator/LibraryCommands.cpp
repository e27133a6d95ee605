#include "emulator/LibraryCommands.h"
#include "protocol/CommandCodes.h"

#include <algorithm>

namespace orvane::emulator {
namespace {

namespace pb = profile_block;

// Profile 6 of a sync names every profile at once.

CommandReply commandReply(std::uint8_t status) {
    return CommandReply::make(kCommandReportId, kCommandReportSize, status);
}

CommandReply dataReply(std::uint8_t status) {
    return CommandReply::make(kDataReportId, kDataReportSize, status);
}

CommandReply failed() {
    return commandReply(kStatusFailed);
}

CommandReply done() {
    return commandReply(kStatusDone);
}

void store(Block& block, std::size_t offset, std::span<const std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), block.begin() + static_cast<std::ptrdiff_t>(offset));
}

Block* dataBlock(MouseMemory& memory, std::uint8_t profile, std::uint8_t button) {
    LibraryProfile* target = memory.profile(profile);
    if (target == nullptr || button < 1 || button > kProfileButtonCount) {
        return nullptr;
    }
    return &target->dataBlocks[button - 1];
}

CommandReply versions(const MouseMemory& memory) {
    CommandReply reply = done();
    reply.putU16(kPayloadOffset, memory.firmwareVersion);
    reply.putU16(kPayloadOffset + 2, memory.bootLoaderVersion);
    return reply;
}

CommandReply setButton(MouseMemory& memory, const Request& request) {
    LibraryProfile* profile = memory.profile(request.at(operand::kProfile));
    const std::uint8_t button = request.at(operand::kSecond);
    if (profile == nullptr || button < 1 || button > kProfileButtonCount) {
        return failed();
    }
    store(profile->block, pb::buttonEntry(button),
          request.range(kPayloadOffset, pb::kButtonEntrySize));
    return done();
}

bool isPollingCode(std::uint8_t code) {
    return code == 1 || code == 2 || code == 4 || code == 8;
}

bool isResponseTime(std::uint8_t time) {
    return time >= 2 && time <= 12 && time % 2 == 0;
}

CommandReply sensorSetting(MouseMemory& memory, const Request& request) {
    LibraryProfile* profile = memory.profile(request.at(operand::kProfile));
    if (profile == nullptr) {
        return failed();
    }
    Block& block = profile->block;
    const std::uint8_t value = request.at(operand::kSecond);
    switch (request.at(operand::kSubCommand)) {
        case lib_command::sensor::kPollingRate:
            if (!isPollingCode(value)) {
                return failed();
            }
            block[pb::kPollingCode] = value;
            return done();
        case lib_command::sensor::kResponseTime:
            if (!isResponseTime(value)) {
                return failed();
            }
            block[pb::kResponseTime] = value;
            return done();
        case lib_command::sensor::kAngleSnapping:
        case lib_command::sensor::kLiftOff:
            if (value > 1) {
                return failed();
            }
            block[request.at(operand::kSubCommand) == lib_command::sensor::kAngleSnapping
                      ? pb::kAngleSnapping
                      : pb::kLiftOff] = value;
            return done();
        case lib_command::sensor::kDpi:
            block[pb::kDpi] = value;
            block[pb::kDpi + 1] = request.at(operand::kThird);
            store(block, pb::kDpi + 2, request.range(kPayloadOffset, pb::kDpiSize - 2));
            return done();
        case lib_command::sensor::kResetAll:
            // Passed through as the library sends them: their meaning is the
            // sensor's, not something the firmware can judge.
            store(block, pb::kSensorSettings,
                  request.range(kPayloadOffset, pb::kSensorSettingsSize));
            store(block, pb::kDpi,
                  request.range(kPayloadOffset + pb::kSensorSettingsSize, pb::kDpiSize));
            return done();
        default:
            return failed();
    }
}

CommandReply lighting(MouseMemory& memory, const Request& request) {
    LibraryProfile* profile = memory.profile(request.at(operand::kProfile));
    if (profile == nullptr) {
        return failed();
    }
    // Mode, block, brightness, flag and option arrive in the order the
    // profile block holds them.
    store(profile->block, pb::kLightingMode,
          request.range(kPayloadOffset, pb::kLightingOption - pb::kLightingMode + 1));
    return done();
}

void resetProfile(LibraryProfile& profile, std::size_t number) {
    profile.block = factoryProfileBlock(number);
    profile.dataBlocks = {};
}

CommandReply deleteProfile(MouseMemory& memory, std::uint8_t number) {
    LibraryProfile* profile = memory.profile(number);
    // The mouse always keeps one profile to work with.
    if (profile == nullptr || !profile->present || memory.presentProfileCount() == 1) {
        return failed();
    }
    resetProfile(*profile, number);
    profile->present = false;
    if (memory.activeSlot == number - 1) {
        const auto next = std::find_if(memory.profiles.begin(), memory.profiles.end(),
                                       [](const LibraryProfile& p) { return p.present; });
        memory.activeSlot = static_cast<std::uint8_t>(next - memory.profiles.begin());
    }
    return done();
}

CommandReply copyProfile(MouseMemory& memory, std::uint8_t from, std::uint8_t to) {
    const LibraryProfile* source = memory.profile(from);
    LibraryProfile* target = memory.profile(to);
    if (source == nullptr || target == nullptr || !source->present) {
        return failed();
    }
    *target = *source;
    target->block[pb::kProfileNumber] = to;
    return done();
}

CommandReply profileCommand(MouseMemory& memory, const Request& request) {
    const std::uint8_t number = request.at(operand::kProfile);
    LibraryProfile* profile = memory.profile(number);
    switch (request.at(operand::kSubCommand)) {
        case lib_command::profile::kResetDefault:
            if (profile == nullptr) {
                return failed();
            }
            resetProfile(*profile, number);
            return done();
        case lib_command::profile::kSync:
            return profile != nullptr || number == lib_command::profile::kSyncAllProfiles
                       ? done()
                       : failed();
        case lib_command::profile::kCurrent: {
            CommandReply reply = done();
            reply.put(kPayloadOffset, static_cast<std::uint8_t>(memory.activeSlot + 1));
            return reply;
        }
        case lib_command::profile::kSelect:
            if (profile == nullptr || !profile->present) {
                return failed();
            }
            memory.activeSlot = static_cast<std::uint8_t>(number - 1);
            return done();
        case lib_command::profile::kAdd:
            if (profile == nullptr) {
                return failed();
            }
            profile->present = true;
            return done();
        case lib_command::profile::kDelete:
            return deleteProfile(memory, number);
        case lib_command::profile::kRead: {
            if (profile == nullptr) {
                return dataReply(kStatusFailed);
            }
            CommandReply reply = dataReply(kStatusDone);
            reply.putBytes(kPayloadOffset, profile->block);
            return reply;
        }
        case lib_command::profile::kCount: {
            CommandReply reply = done();
            reply.put(kPayloadOffset, static_cast<std::uint8_t>(memory.presentProfileCount()));
            return reply;
        }
        case lib_command::profile::kCopy:
            return copyProfile(memory, number, request.at(operand::kSecond));
        default:
            return failed();
    }
}

CommandReply readDataBlock(MouseMemory& memory, const Request& request) {
    const Block* block =
        dataBlock(memory, request.at(operand::kProfile), request.at(operand::kSubCommand));
    if (block == nullptr) {
        return dataReply(kStatusFailed);
    }
    CommandReply reply = dataReply(kStatusDone);
    reply.putBytes(kPayloadOffset, *block);
    return reply;
}

CommandReply writeDataBlock(MouseMemory& memory, const Request& request) {
    Block* block =
        dataBlock(memory, request.at(operand::kProfile), request.at(operand::kSubCommand));
    if (block == nullptr || sum16(request.payload()) != request.u16(operand::kThird)) {
        return failed();
    }
    store(*block, 0, request.payload());
    return done();
}

CommandReply enterBootLoader(const Request& request) {
    const auto unlock = request.range(operand::kProfile, lib_command::kBootLoaderUnlock.size());
    if (!std::equal(unlock.begin(), unlock.end(), lib_command::kBootLoaderUnlock.begin(),
                    lib_command::kBootLoaderUnlock.end())) {
        return failed();
    }
    CommandReply reply = done();
    reply.change = ModeChange::EnterBootLoader;
    return reply;
}

}  // namespace

CommandReply handleLibraryCommand(MouseMemory& memory, const Request& request) {
    if (request.reportId() == kDataReportId) {
        return request.command() == lib_command::kWriteDataBlock ? writeDataBlock(memory, request)
                                                                 : failed();
    }
    switch (request.command()) {
        case lib_command::kVersions:
            return versions(memory);
        case lib_command::kButton:
            return setButton(memory, request);
        case lib_command::kProfile:
            return profileCommand(memory, request);
        case lib_command::kLighting:
            return lighting(memory, request);
        case lib_command::kSensor:
            return sensorSetting(memory, request);
        case lib_command::kFactoryReset:
            restoreFactoryContents(memory);
            return done();
        case lib_command::kReadDataBlock:
            return readDataBlock(memory, request);
        case lib_command::kEnterBootLoader:
            return enterBootLoader(request);
        default:
            return failed();
    }
}

}  // namespace orvane::emulator
