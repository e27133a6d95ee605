#include <algorithm>
#include <cstring>

#include "devlib/ButtonEncoding.h"
#include "devlib/Commands.h"
#include "devlib/Transport.h"
#include "protocol/CommandCodes.h"

namespace orvane::devlib {
namespace {

namespace pb = profile_block;

constexpr Clock::Duration kProfilePause{50};
constexpr Clock::Duration kQueryPause{60};
constexpr Clock::Duration kSelectPause{100};
constexpr Clock::Duration kReadPause{80};

constexpr std::size_t kValueByte = kPayloadOffset;

std::uint8_t lowByte(std::int32_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

bool reachable(LibraryCore& core) {
    std::int16_t status = 0;
    return getDeviceStatus(core, &status) == kOk && status == 1;
}

Reply profileExchange(LibraryCore& core, std::uint8_t sub, std::uint8_t profile,
                      Clock::Duration pause, std::uint8_t second = 0) {
    return exchange(core, commandReport(lib_command::kProfile, sub, profile, second), {pause});
}

std::uint8_t simpleProfileCommand(LibraryCore& core, std::int32_t profile, std::uint8_t sub,
                                  Clock::Duration pause) {
    CCriticalSectionAutoLock guard(core.lock());
    if (!isProfile(profile)) {
        return kBadArgument;
    }
    if (!core.ensureDeviceOpen()) {
        return kDeviceError;
    }
    return profileResult(profileExchange(core, sub, lowByte(profile), pause));
}

std::int32_t oneOf(std::uint8_t value, std::initializer_list<std::uint8_t> kept,
                   std::int32_t otherwise) {
    return std::find(kept.begin(), kept.end(), value) != kept.end() ? value : otherwise;
}

std::int32_t pollingRate(std::uint8_t code) {
    switch (code) {
        case 2:
            return 500;
        case 4:
            return 250;
        case 8:
            return 125;
        default:
            return 1000;
    }
}

void decodeSettings(std::span<const std::uint8_t> block, ProfileData& data) {
    data.profileByte = oneOf(block[pb::kProfileNumber], {2, 3, 4, 5, 6}, 1);
    data.pollingRate = pollingRate(block[pb::kPollingCode]);
    data.responseTime = block[pb::kResponseTime];
    data.angleSnapping = block[pb::kAngleSnapping] == 1 ? 1 : 0;
    data.liftOff = block[pb::kLiftOff] == 1 ? 1 : 0;
    data.dpi.first = block[pb::kDpi];
    data.dpi.second = block[pb::kDpi + 1];
    for (std::size_t i = 0; i < std::size(data.dpi.values); ++i) {
        data.dpi.values[i] = u16At(block, pb::kDpi + 2 + 2 * i);
    }
    data.lightingMode = oneOf(block[pb::kLightingMode], {0, 2, 4, 5, 6, 7, 8, 15}, 1);
    std::copy_n(block.begin() + pb::kLighting, pb::kLightingSize, data.lighting);
    data.brightness = oneOf(block[pb::kBrightness], {0, 25, 50, 75}, 100);
    data.lightingFlag = block[pb::kLightingFlag] == 1 ? 1 : 0;
    data.lightingOption = oneOf(block[pb::kLightingOption], {0, 2}, 1);
}

}  // namespace

std::uint8_t resetProfileDefault(LibraryCore& core, std::int32_t profile) {
    return simpleProfileCommand(core, profile, lib_command::profile::kResetDefault, kProfilePause);
}

std::uint8_t syncProfile(LibraryCore& core, std::int32_t profile) {
    CCriticalSectionAutoLock guard(core.lock());
    if (!isProfile(profile) && profile != lib_command::profile::kSyncAllProfiles) {
        return kBadArgument;
    }
    if (!reachable(core)) {
        return kDeviceError;
    }
    return profileResult(
        profileExchange(core, lib_command::profile::kSync, lowByte(profile), kProfilePause));
}

std::uint8_t getCurrentProfileId(LibraryCore& core, std::uint8_t* profile) {
    if (profile == nullptr) {
        return kDeviceError;
    }
    CCriticalSectionAutoLock guard(core.lock());
    if (!core.ensureDeviceOpen()) {
        return kDeviceError;
    }
    const Reply reply = profileExchange(core, lib_command::profile::kCurrent, 0, kQueryPause);
    if (!reply.readAndDone()) {
        return kDeviceError;
    }
    *profile = reply.bytes[kValueByte];
    return kOk;
}

std::uint8_t setCurrentProfileId(LibraryCore& core, std::int32_t profile) {
    return simpleProfileCommand(core, profile, lib_command::profile::kSelect, kSelectPause);
}

std::uint8_t addProfile(LibraryCore& core, std::int32_t profile) {
    return simpleProfileCommand(core, profile, lib_command::profile::kAdd, kProfilePause);
}

std::uint8_t deleteProfile(LibraryCore& core, std::int32_t profile) {
    return simpleProfileCommand(core, profile, lib_command::profile::kDelete, kProfilePause);
}

std::uint8_t copyProfileData(LibraryCore& core, std::int32_t source, std::int32_t target) {
    CCriticalSectionAutoLock guard(core.lock());
    if (!isProfile(source) || !isProfile(target)) {
        return kBadArgument;
    }
    if (!reachable(core)) {
        return kDeviceError;
    }
    return profileResult(profileExchange(core, lib_command::profile::kCopy, lowByte(source),
                                         kProfilePause, lowByte(target)));
}

std::uint8_t getNumberOfProfiles(LibraryCore& core, std::uint8_t* count) {
    if (count == nullptr) {
        return kDeviceError;
    }
    CCriticalSectionAutoLock guard(core.lock());
    if (!core.ensureDeviceOpen()) {
        return kDeviceError;
    }
    const Reply reply = profileExchange(core, lib_command::profile::kCount, 0, kQueryPause);
    if (!reply.readAndDone()) {
        return kDeviceError;
    }
    // Written even when it is out of range, so the caller sees what the
    // mouse said.
    *count = reply.bytes[kValueByte];
    return isProfile(*count) ? kOk : kDeviceError;
}

std::uint8_t resetFactoryDefault(LibraryCore& core) {
    CCriticalSectionAutoLock guard(core.lock());
    if (!core.ensureDeviceOpen()) {
        return kDeviceError;
    }
    return profileResult(
        exchange(core, commandReport(lib_command::kFactoryReset), {kProfilePause}));
}

std::uint8_t readProfileData(LibraryCore& core, std::int32_t profile, ProfileData* data,
                             ProgramTexts* texts) {
    CCriticalSectionAutoLock guard(core.lock());
    if (!isProfile(profile)) {
        return kBadArgument;
    }
    if (data == nullptr) {
        return kDeviceError;
    }
    if (!core.ensureDeviceOpen()) {
        return kDeviceError;
    }
    const Reply reply = exchange(
        core, commandReport(lib_command::kProfile, lib_command::profile::kRead, lowByte(profile)),
        {kReadPause, SendSpeed::Fast, kDataReportId, kDataReportSize});
    if (!reply.readAndDone()) {
        return kDeviceError;
    }
    const std::span<const std::uint8_t> block =
        std::span<const std::uint8_t>(reply.bytes).subspan(kPayloadOffset, kPayloadSize);

    // Whatever the caller left in the records must not pass for the mouse's.
    std::memset(data, 0, sizeof *data);
    if (texts != nullptr) {
        std::memset(texts, 0, sizeof *texts);
    }
    decodeSettings(block, *data);

    std::array<std::uint8_t, kPayloadSize> dataBlock{};
    for (std::uint8_t button = 1; button <= kButtonCount; ++button) {
        ButtonSetting& setting = data->buttons[button - 1];
        decodeButton(DeviceEntry::fromBytes(block.subspan(pb::buttonEntry(button))), button,
                     setting);
        const bool hasText = setting.type == kSystemType &&
                             (setting.sub == kOpenWebPageSub || setting.sub == kRunProgramSub);
        if (hasText) {
            // A length past the block would send the host reading beyond it.
            setting.value = std::min<std::uint16_t>(setting.value, kPayloadSize);
            if (texts != nullptr) {
                readDataBlock(core, lowByte(profile), button, dataBlock);
                std::copy(dataBlock.begin(), dataBlock.end(), texts->texts[button - 1]);
                texts->lengths[button - 1] = setting.value;
            }
        } else if (setting.type == kMacroType) {
            readDataBlock(core, lowByte(profile), button, dataBlock);
            const std::vector<ButtonEvent> events = decodeEvents(dataBlock, setting.count);
            std::copy(events.begin(), events.end(), setting.events);
        }
    }
    return kOk;
}

}  // namespace orvane::devlib
