#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane {

// The feature reports of the mouse, shared by the application's link, the
// device-control library and the simulated mouse: byte 0 is the report id,
// byte 1 the command (in a reply: the status), bytes 16 on the payload.
inline constexpr std::uint8_t kCommandReportId = 0xA1;
inline constexpr std::uint8_t kDataReportId = 0xA0;
inline constexpr std::size_t kCommandReportSize = 64;
inline constexpr std::size_t kDataReportSize = 1041;
inline constexpr std::size_t kStatusByte = 1;
inline constexpr std::uint8_t kStatusDone = 1;
inline constexpr std::size_t kPayloadOffset = 16;
inline constexpr std::size_t kPayloadSize = 1024;

// Where the library's settings live in its 1024-byte profile block.
namespace profile_block {
inline constexpr std::size_t kProfileNumber = 0;
inline constexpr std::size_t kPollingCode = 1;
inline constexpr std::size_t kResponseTime = 2;
inline constexpr std::size_t kAngleSnapping = 3;
inline constexpr std::size_t kLiftOff = 4;
inline constexpr std::size_t kDpi = 5;  // first, second, ten u16 values
inline constexpr std::size_t kDpiSize = 22;
inline constexpr std::size_t kSensorSettings = 1;  // polling code to lift-off
inline constexpr std::size_t kSensorSettingsSize = 4;
inline constexpr std::size_t kLightingMode = 31;
inline constexpr std::size_t kLighting = 32;
inline constexpr std::size_t kLightingSize = 24;
inline constexpr std::size_t kBrightness = 56;
inline constexpr std::size_t kLightingFlag = 57;
inline constexpr std::size_t kLightingOption = 58;
inline constexpr std::size_t kButtons = 65;
inline constexpr std::size_t kButtonEntrySize = 7;

constexpr std::size_t buttonEntry(std::size_t button) {
    return kButtons + kButtonEntrySize * (button - 1);
}
}  // namespace profile_block

}  // namespace orvane
