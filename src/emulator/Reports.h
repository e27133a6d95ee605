#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "protocol/ReportLayout.h"

namespace orvane::emulator {

// Statuses of the mouse's replies besides done (see device/ReportLayout.h).
inline constexpr std::uint8_t kStatusNone = 0;
inline constexpr std::uint8_t kStatusFailed = 2;

// Input reports of the configuration interface.
inline constexpr std::uint8_t kInputReportId = 0x03;
inline constexpr std::size_t kInputReportSize = 9;

// A request as the firmware sees it. The bytes live in a buffer as large as
// the largest report, zero beyond what the host sent, so no handler can read
// outside it whatever it indexes.
class Request {
  public:
    explicit Request(std::span<const std::uint8_t> report);

    std::uint8_t reportId() const { return bytes[0]; }
    std::uint8_t command() const { return bytes[1]; }
    std::uint8_t at(std::size_t offset) const {
        return offset < bytes.size() ? bytes[offset] : std::uint8_t{0};
    }
    std::uint16_t u16(std::size_t offset) const;
    std::uint32_t u32(std::size_t offset) const;
    std::span<const std::uint8_t> range(std::size_t offset, std::size_t count) const;
    std::span<const std::uint8_t> payload() const { return range(kPayloadOffset, kPayloadSize); }

  private:
    std::array<std::uint8_t, kDataReportSize> bytes{};
};

// What a handled request leaves behind for the next get, and what the mouse
// does once that reply has been read.
enum class ModeChange { None, EnterBootLoader, LeaveBootLoader };

struct CommandReply {
    std::vector<std::uint8_t> report;
    ModeChange change = ModeChange::None;

    static CommandReply make(std::uint8_t reportId, std::size_t size, std::uint8_t status);
    std::uint8_t status() const { return report.size() > 1 ? report[1] : kStatusNone; }
    void put(std::size_t offset, std::uint8_t value);
    void putU16(std::size_t offset, std::uint16_t value);
    void putBytes(std::size_t offset, std::span<const std::uint8_t> bytes);
};

// The 16-bit sum of the data reports and the 32-bit sum of a firmware image:
// plain byte sums, truncated.
std::uint16_t sum16(std::span<const std::uint8_t> bytes);
std::uint32_t sum32(std::span<const std::uint8_t> bytes);

}  // namespace orvane::emulator
