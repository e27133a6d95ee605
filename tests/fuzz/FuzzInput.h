#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orvane::fuzz {

// The fuzzer's bytes taken from the front as the target needs them. Past the
// end every value reads as zero, so a target never has to check before it
// takes; it asks empty() to know when the input has run out.
class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : rest(data, size) {}

    bool empty() const { return rest.empty(); }
    std::size_t remaining() const { return rest.size(); }

    std::uint8_t byte() {
        if (rest.empty()) {
            return 0;
        }
        const std::uint8_t value = rest.front();
        rest = rest.subspan(1);
        return value;
    }
    std::uint16_t u16() { return static_cast<std::uint16_t>(byte() | (byte() << 8)); }
    std::uint32_t u32() { return std::uint32_t{u16()} | (std::uint32_t{u16()} << 16); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }

    // Mostly values a caller would pass, now and then anything at all: a
    // fuzzer finds the small ones far sooner when they are this likely.
    std::int32_t smallOrAny(std::int32_t limit) {
        const std::uint8_t pick = byte();
        return pick < 0xF0 ? static_cast<std::int32_t>(pick % limit) : i32();
    }

    // Up to `count` bytes (fewer when the input ends first).
    std::span<const std::uint8_t> take(std::size_t count) {
        const std::span<const std::uint8_t> taken = rest.first(std::min(count, rest.size()));
        rest = rest.subspan(taken.size());
        return taken;
    }
    std::vector<std::uint8_t> bytes(std::size_t count) {
        const auto taken = take(count);
        return {taken.begin(), taken.end()};
    }

  private:
    std::span<const std::uint8_t> rest;
};

}  // namespace orvane::fuzz
