#include <cstdio>

#include "devlib/Commands.h"
#include "devlib/Transport.h"
#include "protocol/CommandCodes.h"
#include "protocol/DeviceIds.h"
#include "version/Version.h"

namespace orvane::devlib {
namespace {

constexpr Clock::Duration kVersionPause{50};
constexpr std::size_t kFirmwareVersionByte = 16;
constexpr std::size_t kBootLoaderVersionByte = 18;

std::uint8_t readVersion(LibraryCore& core, std::size_t offset, std::uint16_t* version) {
    if (version == nullptr) {
        return kDeviceError;
    }
    CCriticalSectionAutoLock guard(core.lock());
    if (!core.ensureDeviceOpen()) {
        return kDeviceError;
    }
    const Reply reply = exchange(core, commandReport(lib_command::kVersions), {kVersionPause});
    if (!reply.statusDone()) {
        return kDeviceError;
    }
    *version = versionAsDecimal(u16At(reply.bytes, offset));
    return kOk;
}

}  // namespace

std::uint16_t versionAsDecimal(std::uint16_t version) {
    // Hexadecimal digits a to f end the decimal reading, as a decimal parse
    // of the digit string would.
    std::uint16_t decimal = 0;
    char digits[8];
    const int length = std::snprintf(digits, sizeof digits, "%x", static_cast<unsigned>(version));
    for (int i = 0; i < length && digits[i] >= '0' && digits[i] <= '9'; ++i) {
        decimal = static_cast<std::uint16_t>(decimal * 10 + (digits[i] - '0'));
    }
    return decimal;
}

int openApplicationDevice(LibraryCore& core) {
    return core.openDeviceByProductId(kProductId) ? 1 : 0;
}

int openBootLoaderDevice(LibraryCore& core) {
    return core.openDeviceByProductId(kBootLoaderProductId) ? 1 : 0;
}

int openCompliantDevice(LibraryCore& core) {
    return core.openCompliantDevice() ? 1 : 0;
}

std::uint8_t closeCommandDevice(LibraryCore& core) {
    core.closeDeviceHandle();
    return kOk;
}

std::uint8_t getDeviceStatus(LibraryCore& core, std::int16_t* status) {
    if (status == nullptr) {
        return kDeviceError;
    }
    if (core.ensureDeviceOpen()) {
        *status = 1;
        return kOk;
    }
    *status = kNotConnectedStatus;
    return kDeviceError;
}

std::uint8_t getFirmwareVersion(LibraryCore& core, std::uint16_t* version) {
    return readVersion(core, kFirmwareVersionByte, version);
}

std::uint8_t getBootLoaderVersion(LibraryCore& core, std::uint16_t* version) {
    return readVersion(core, kBootLoaderVersionByte, version);
}

std::uint8_t getLibraryVersion(std::uint16_t* version) {
    if (version == nullptr) {
        return kDeviceError;
    }
    *version = kLibraryVersionNumber;
    return kOk;
}

}  // namespace orvane::devlib
