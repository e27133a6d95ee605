#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <numeric>
#include <span>
#include <string>
#include <vector>

#include "emulator/VirtualMouse.h"

namespace orvane::emulator::testing {

using Bytes = std::vector<std::uint8_t>;

// A report of `size` bytes that starts with `head` and is zero after it.
inline Bytes report(std::initializer_list<std::uint8_t> head, std::size_t size = 64) {
    Bytes bytes(size, 0);
    std::copy(head.begin(), head.end(), bytes.begin());
    return bytes;
}

// `bytes` with `more` written over it from `offset` on.
inline Bytes with(Bytes bytes, std::size_t offset, std::span<const std::uint8_t> more) {
    std::copy(more.begin(), more.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return bytes;
}

inline Bytes dataReport(std::initializer_list<std::uint8_t> head,
                        std::span<const std::uint8_t> payload) {
    return with(report(head, 1041), 16, payload);
}

inline Bytes operator+(Bytes head, const Bytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

inline Bytes slice(std::span<const std::uint8_t> bytes, std::size_t from, std::size_t count) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(from),
            bytes.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

inline Bytes pattern(std::size_t size, unsigned seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 31 + seed * 7 + (i >> 8)) & 0xFF);
    }
    return bytes;
}

inline std::uint32_t sumOf(std::span<const std::uint8_t> bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), std::uint32_t{0});
}

// The library's data-block write, its sum in bytes 7 and 8.
inline Bytes dataBlockWrite(std::uint8_t block, std::uint8_t profile, const Bytes& payload) {
    const std::uint32_t sum = sumOf(payload);
    return dataReport({0xA0, 0x21, block, 0, 0, profile, 0, static_cast<std::uint8_t>(sum),
                       static_cast<std::uint8_t>(sum >> 8)},
                      payload);
}

// A plugged-in mouse whose arrival notices have been taken, with the
// exchange the hosts make: one set, one get of the reply's size.
class MouseTest : public ::testing::Test {
  protected:
    MouseTest() { mouse.takeNotices(); }

    std::string config() const { return mouse.interfaces().at(0).path; }

    Bytes exchange(const Bytes& request, std::size_t replySize = 64) {
        EXPECT_EQ(mouse.setFeature(config(), request).error, HidError::None);
        Bytes reply(replySize, 0);
        reply[0] = 0xA1;
        EXPECT_EQ(mouse.getFeature(config(), reply).error, HidError::None);
        return reply;
    }

    std::uint8_t status(const Bytes& request) { return exchange(request, request.size())[1]; }

    Bytes block(std::size_t profile) const {
        const auto bytes = mouse.profileBlock(profile);
        return {bytes.begin(), bytes.end()};
    }

    VirtualMouse mouse;
};

}  // namespace orvane::emulator::testing
