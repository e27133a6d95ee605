#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "devlib/LibraryCore.h"
#include "protocol/ReportLayout.h"

namespace orvane::devlib {

// The library's result bytes.
inline constexpr std::uint8_t kOk = 1;
inline constexpr std::uint8_t kBadArgument = 2;
inline constexpr std::uint8_t kDeviceError = 20;
inline constexpr std::uint8_t kNotConnectedStatus = 255;

inline constexpr std::uint8_t kButtonCount = 6;
inline constexpr std::uint8_t kProfileCount = 5;

inline bool isProfile(std::int32_t profile) {
    return profile >= 1 && profile <= kProfileCount;
}

inline bool isButton(std::int32_t button) {
    return button >= 1 && button <= kButtonCount;
}

using CommandReport = std::array<std::uint8_t, kCommandReportSize>;

// A 64-byte command report: command code, sub-command (byte 2), profile
// (byte 5) and the two operands after it (bytes 6 and 7).
CommandReport commandReport(std::uint8_t command, std::uint8_t sub = 0, std::uint8_t profile = 0,
                            std::uint8_t second = 0, std::uint8_t third = 0);

void putU16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value);
std::uint16_t u16At(std::span<const std::uint8_t> bytes, std::size_t offset);

// What came back from one exchange. `sent` false: the request never left,
// no reply was read.
struct Reply {
    bool sent = false;
    bool readOk = false;
    std::vector<std::uint8_t> bytes;

    bool statusDone() const {
        return sent && bytes.size() > kStatusByte && bytes[kStatusByte] == 1;
    }
    // The profile commands also insist that the read itself worked.
    bool readAndDone() const { return readOk && statusDone(); }
};

enum class SendSpeed { Normal, Fast };

struct Exchange {
    Clock::Duration pause;
    SendSpeed speed = SendSpeed::Normal;
    std::uint8_t replyId = kCommandReportId;
    std::size_t replyLength = kCommandReportSize;
};

// Sends the request, pauses and reads the reply as `exchange` says, all
// under the core's exchange lock.
Reply exchange(LibraryCore& core, std::span<const std::uint8_t> request, const Exchange& exchange);

// 1 when the reply's status is 1 (sensor, lighting, button commands), else 20.
inline std::uint8_t statusResult(const Reply& reply) {
    return reply.statusDone() ? kOk : kDeviceError;
}

// 1 only when the read worked and its status is 1 (profile commands).
inline std::uint8_t profileResult(const Reply& reply) {
    return reply.readAndDone() ? kOk : kDeviceError;
}

}  // namespace orvane::devlib
