#include "emulator/LibraryCommands.h"

#include <algorithm>

namespace orvane::emulator {
namespace {

namespace pb = profile_block;

constexpr std::uint8_t kVersions = 0x02;
constexpr std::uint8_t kButton = 0x0A;
constexpr std::uint8_t kProfileCommand = 0x0B;
constexpr std::uint8_t kLightingCommand = 0x0C;
constexpr std::uint8_t kSensorCommand = 0x0D;
constexpr std::uint8_t kFactoryReset = 0x0E;
constexpr std::uint8_t kReadDataBlock = 0x25;
constexpr std::uint8_t kEnterBootLoader = 0x3A;
constexpr std::uint8_t kWriteDataBlock = 0x21;

constexpr std::size_t kSubOperand = 2;
constexpr std::size_t kProfileOperand = 5;
constexpr std::size_t kSecondOperand = 6;
constexpr std::size_t kThirdOperand = 7;
constexpr std::size_t kValueByte = 16;

// Profile 6 of a sync names every profile at once.
constexpr std::uint8_t kSyncAllProfiles = 6;
constexpr std::array<std::uint8_t, 3> kBootLoaderUnlock = {0x3C, 0xC3, 0x71};

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
    reply.putU16(kValueByte, memory.firmwareVersion);
    reply.putU16(kValueByte + 2, memory.bootLoaderVersion);
    return reply;
}

CommandReply setButton(MouseMemory& memory, const Request& request) {
    LibraryProfile* profile = memory.profile(request.at(kProfileOperand));
    const std::uint8_t button = request.at(kSecondOperand);
    if (profile == nullptr || button < 1 || button > kProfileButtonCount) {
        return failed();
    }
    store(profile->block, pb::buttonEntry(button), request.range(kValueByte, pb::kButtonEntrySize));
    return done();
}

bool isPollingCode(std::uint8_t code) {
    return code == 1 || code == 2 || code == 4 || code == 8;
}

bool isResponseTime(std::uint8_t time) {
    return time >= 2 && time <= 12 && time % 2 == 0;
}

CommandReply sensorSetting(MouseMemory& memory, const Request& request) {
    LibraryProfile* profile = memory.profile(request.at(kProfileOperand));
    if (profile == nullptr) {
        return failed();
    }
    Block& block = profile->block;
    const std::uint8_t value = request.at(kSecondOperand);
    switch (request.at(kSubOperand)) {
        case 0x01:
            if (!isPollingCode(value)) {
                return failed();
            }
            block[pb::kPollingCode] = value;
            return done();
        case 0x02:
            if (!isResponseTime(value)) {
                return failed();
            }
            block[pb::kResponseTime] = value;
            return done();
        case 0x03:
        case 0x04:
            if (value > 1) {
                return failed();
            }
            block[request.at(kSubOperand) == 0x03 ? pb::kAngleSnapping : pb::kLiftOff] = value;
            return done();
        case 0x0A:
            block[pb::kDpi] = value;
            block[pb::kDpi + 1] = request.at(kThirdOperand);
            store(block, pb::kDpi + 2, request.range(kValueByte, pb::kDpiSize - 2));
            return done();
        case 0x0F:
            // Passed through as the library sends them: their meaning is the
            // sensor's, not something the firmware can judge.
            store(block, pb::kSensorSettings, request.range(kValueByte, pb::kSensorSettingsSize));
            store(block, pb::kDpi,
                  request.range(kValueByte + pb::kSensorSettingsSize, pb::kDpiSize));
            return done();
        default:
            return failed();
    }
}

CommandReply lighting(MouseMemory& memory, const Request& request) {
    LibraryProfile* profile = memory.profile(request.at(kProfileOperand));
    if (profile == nullptr) {
        return failed();
    }
    // Mode, block, brightness, flag and option arrive in the order the
    // profile block holds them.
    store(profile->block, pb::kLightingMode,
          request.range(kValueByte, pb::kLightingOption - pb::kLightingMode + 1));
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
    const std::uint8_t number = request.at(kProfileOperand);
    LibraryProfile* profile = memory.profile(number);
    switch (request.at(kSubOperand)) {
        case 0x01:
            if (profile == nullptr) {
                return failed();
            }
            resetProfile(*profile, number);
            return done();
        case 0x02:
            return profile != nullptr || number == kSyncAllProfiles ? done() : failed();
        case 0x03: {
            CommandReply reply = done();
            reply.put(kValueByte, static_cast<std::uint8_t>(memory.activeSlot + 1));
            return reply;
        }
        case 0x04:
            if (profile == nullptr || !profile->present) {
                return failed();
            }
            memory.activeSlot = static_cast<std::uint8_t>(number - 1);
            return done();
        case 0x05:
            if (profile == nullptr) {
                return failed();
            }
            profile->present = true;
            return done();
        case 0x06:
            return deleteProfile(memory, number);
        case 0x07: {
            if (profile == nullptr) {
                return dataReply(kStatusFailed);
            }
            CommandReply reply = dataReply(kStatusDone);
            reply.putBytes(kPayloadOffset, profile->block);
            return reply;
        }
        case 0x09: {
            CommandReply reply = done();
            reply.put(kValueByte, static_cast<std::uint8_t>(memory.presentProfileCount()));
            return reply;
        }
        case 0x0A:
            return copyProfile(memory, number, request.at(kSecondOperand));
        default:
            return failed();
    }
}

CommandReply readDataBlock(MouseMemory& memory, const Request& request) {
    const Block* block = dataBlock(memory, request.at(kProfileOperand), request.at(kSubOperand));
    if (block == nullptr) {
        return dataReply(kStatusFailed);
    }
    CommandReply reply = dataReply(kStatusDone);
    reply.putBytes(kPayloadOffset, *block);
    return reply;
}

CommandReply writeDataBlock(MouseMemory& memory, const Request& request) {
    Block* block = dataBlock(memory, request.at(kProfileOperand), request.at(kSubOperand));
    if (block == nullptr || sum16(request.payload()) != request.u16(kThirdOperand)) {
        return failed();
    }
    store(*block, 0, request.payload());
    return done();
}

CommandReply enterBootLoader(const Request& request) {
    const auto unlock = request.range(kProfileOperand, kBootLoaderUnlock.size());
    if (!std::equal(unlock.begin(), unlock.end(), kBootLoaderUnlock.begin(),
                    kBootLoaderUnlock.end())) {
        return failed();
    }
    CommandReply reply = done();
    reply.change = ModeChange::EnterBootLoader;
    return reply;
}

}  // namespace

CommandReply handleLibraryCommand(MouseMemory& memory, const Request& request) {
    if (request.reportId() == kDataReportId) {
        return request.command() == kWriteDataBlock ? writeDataBlock(memory, request) : failed();
    }
    switch (request.command()) {
        case kVersions:
            return versions(memory);
        case kButton:
            return setButton(memory, request);
        case kProfileCommand:
            return profileCommand(memory, request);
        case kLightingCommand:
            return lighting(memory, request);
        case kSensorCommand:
            return sensorSetting(memory, request);
        case kFactoryReset:
            restoreFactoryContents(memory);
            return done();
        case kReadDataBlock:
            return readDataBlock(memory, request);
        case kEnterBootLoader:
            return enterBootLoader(request);
        default:
            return failed();
    }
}

}  // namespace orvane::emulator
