#include "emulator/Reports.h"

#include <algorithm>
#include <numeric>

namespace orvane::emulator {

Request::Request(std::span<const std::uint8_t> report) {
    std::copy_n(report.begin(), std::min(report.size(), bytes.size()), bytes.begin());
}

std::uint16_t Request::u16(std::size_t offset) const {
    return static_cast<std::uint16_t>(at(offset) | (at(offset + 1) << 8));
}

std::uint32_t Request::u32(std::size_t offset) const {
    return static_cast<std::uint32_t>(u16(offset)) |
           (static_cast<std::uint32_t>(u16(offset + 2)) << 16);
}

std::span<const std::uint8_t> Request::range(std::size_t offset, std::size_t count) const {
    const std::size_t from = std::min(offset, bytes.size());
    return std::span<const std::uint8_t>(bytes).subspan(from, std::min(count, bytes.size() - from));
}

CommandReply CommandReply::make(std::uint8_t reportId, std::size_t size, std::uint8_t status) {
    CommandReply reply;
    reply.report.assign(std::max<std::size_t>(size, 2), 0);
    reply.report[0] = reportId;
    reply.report[1] = status;
    return reply;
}

void CommandReply::put(std::size_t offset, std::uint8_t value) {
    if (offset < report.size()) {
        report[offset] = value;
    }
}

void CommandReply::putU16(std::size_t offset, std::uint16_t value) {
    put(offset, static_cast<std::uint8_t>(value & 0xFF));
    put(offset + 1, static_cast<std::uint8_t>(value >> 8));
}

void CommandReply::putBytes(std::size_t offset, std::span<const std::uint8_t> bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        put(offset + i, bytes[i]);
    }
}

std::uint16_t sum16(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint16_t>(sum32(bytes));
}

std::uint32_t sum32(std::span<const std::uint8_t> bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), std::uint32_t{0});
}

}  // namespace orvane::emulator
