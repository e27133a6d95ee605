#include <cstring>
#include <optional>

#include "devlib/Commands.h"
#include "devlib/Transport.h"
#include "protocol/CommandCodes.h"

namespace orvane::devlib {
namespace {

constexpr Clock::Duration kSensorPause{50};
constexpr Clock::Duration kAngleSnappingPause{30};
constexpr Clock::Duration kLightingPause{100};

constexpr std::size_t kValues = kPayloadOffset;

std::uint8_t lowByte(std::int32_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::optional<std::uint8_t> pollingCode(std::int32_t rate) {
    switch (rate) {
        case 1000:
            return 1;
        case 500:
            return 2;
        case 250:
            return 4;
        case 125:
            return 8;
        default:
            return std::nullopt;
    }
}

bool reachable(LibraryCore& core) {
    std::int16_t status = 0;
    return getDeviceStatus(core, &status) == kOk && status == 1;
}

void putDpiValues(CommandReport& report, std::size_t offset, const DpiBlock& dpi) {
    for (std::size_t i = 0; i < std::size(dpi.values); ++i) {
        putU16(report, offset + 2 * i, dpi.values[i]);
    }
}

std::uint8_t sendSensor(LibraryCore& core, const CommandReport& report,
                        Clock::Duration pause = kSensorPause) {
    return statusResult(exchange(core, report, {pause}));
}

std::uint8_t setOnOff(LibraryCore& core, std::int32_t profile, std::int32_t value, std::uint8_t sub,
                      Clock::Duration pause) {
    CCriticalSectionAutoLock guard(core.lock());
    if (!isProfile(profile) || (value != 0 && value != 1)) {
        return kBadArgument;
    }
    if (!reachable(core)) {
        return kDeviceError;
    }
    return sendSensor(
        core, commandReport(lib_command::kSensor, sub, lowByte(profile), lowByte(value)), pause);
}

}  // namespace

std::uint8_t setPollingRate(LibraryCore& core, std::int32_t profile, std::int32_t rate) {
    CCriticalSectionAutoLock guard(core.lock());
    if (!isProfile(profile)) {
        return kBadArgument;
    }
    if (!core.ensureDeviceOpen()) {
        return kDeviceError;
    }
    const std::optional<std::uint8_t> code = pollingCode(rate);
    if (!code) {
        return kBadArgument;
    }
    return sendSensor(core, commandReport(lib_command::kSensor, lib_command::sensor::kPollingRate,
                                          lowByte(profile), *code));
}

std::uint8_t setResponseTime(LibraryCore& core, std::int32_t profile, std::int32_t time) {
    CCriticalSectionAutoLock guard(core.lock());
    if (!isProfile(profile) || time < 2 || time > 12 || time % 2 != 0) {
        return kBadArgument;
    }
    if (!reachable(core)) {
        return kDeviceError;
    }
    return sendSensor(core, commandReport(lib_command::kSensor, lib_command::sensor::kResponseTime,
                                          lowByte(profile), lowByte(time)));
}

std::uint8_t setLiftOff(LibraryCore& core, std::int32_t profile, std::int32_t lod) {
    return setOnOff(core, profile, lod, lib_command::sensor::kLiftOff, kSensorPause);
}

std::uint8_t setAngleSnapping(LibraryCore& core, std::int32_t profile, std::int32_t on) {
    return setOnOff(core, profile, on, lib_command::sensor::kAngleSnapping, kAngleSnappingPause);
}

std::uint8_t setDpiSettings(LibraryCore& core, std::int32_t profile, const DpiBlock& dpi) {
    CCriticalSectionAutoLock guard(core.lock());
    if (!isProfile(profile)) {
        return kBadArgument;
    }
    if (!core.ensureDeviceOpen()) {
        return kDeviceError;
    }
    CommandReport report = commandReport(lib_command::kSensor, lib_command::sensor::kDpi,
                                         lowByte(profile), dpi.first, dpi.second);
    putDpiValues(report, kValues, dpi);
    return sendSensor(core, report);
}

std::uint8_t resetSensorSettings(LibraryCore& core, std::int32_t profile, std::int32_t polling,
                                 std::int32_t responseTime, std::int32_t angleSnapping,
                                 std::int32_t liftOff, const DpiBlock& dpi) {
    CCriticalSectionAutoLock guard(core.lock());
    if (!isProfile(profile)) {
        return kBadArgument;
    }
    if (!core.ensureDeviceOpen()) {
        return kDeviceError;
    }
    CommandReport report =
        commandReport(lib_command::kSensor, lib_command::sensor::kResetAll, lowByte(profile));
    report[kValues] = lowByte(polling);
    report[kValues + 1] = lowByte(responseTime);
    report[kValues + 2] = lowByte(angleSnapping);
    report[kValues + 3] = lowByte(liftOff);
    report[kValues + 4] = dpi.first;
    report[kValues + 5] = dpi.second;
    putDpiValues(report, kValues + 6, dpi);
    return sendSensor(core, report);
}

std::uint8_t updateLightingSettings(LibraryCore& core, std::int32_t profile, std::int32_t mode,
                                    const LightingBlock& lighting, std::int32_t brightness,
                                    std::int32_t flag, std::int32_t option) {
    CCriticalSectionAutoLock guard(core.lock());
    if (!isProfile(profile)) {
        return kBadArgument;
    }
    if (!core.ensureDeviceOpen()) {
        return kDeviceError;
    }
    CommandReport report = commandReport(lib_command::kLighting, 0, lowByte(profile));
    report[kValues] = lowByte(mode);
    std::memcpy(&report[kValues + 1], lighting.bytes, sizeof lighting.bytes);
    const std::size_t after = kValues + 1 + sizeof lighting.bytes;
    report[after] = lowByte(brightness);
    report[after + 1] = lowByte(flag);
    report[after + 2] = lowByte(option);
    return sendSensor(core, report, kLightingPause);
}

}  // namespace orvane::devlib
