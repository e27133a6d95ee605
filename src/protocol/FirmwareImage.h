#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "protocol/FirmwareRelease.h"

namespace orvane {

// Firmware images for the mouse carry their version behind a tag at the very
// start: the bytes "OVFW", then the version as a little-endian u16 in the
// device's own form (0x0105 for 1.05). The boot loader takes its new version
// from there; an update program checks the tag before it sends anything.
inline constexpr std::array<std::uint8_t, 4> kFirmwareTag = {'O', 'V', 'F', 'W'};
inline constexpr std::size_t kFirmwareVersionOffset = 4;
// What the boot loader's flash holds.
inline constexpr std::size_t kFirmwareBlockBytes = 1024;
inline constexpr std::size_t kFirmwareMaxBlocks = 100;

inline std::optional<std::uint16_t> firmwareVersionOfImage(std::span<const std::uint8_t> image) {
    if (image.size() < kFirmwareVersionOffset + 2 ||
        !std::equal(kFirmwareTag.begin(), kFirmwareTag.end(), image.begin())) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(image[kFirmwareVersionOffset] |
                                      (image[kFirmwareVersionOffset + 1] << 8));
}

// Why an image cannot go to the mouse, or Fits.
enum class FirmwareImageCheck { Fits, Empty, TooLarge, NotForThisMouse };

inline FirmwareImageCheck checkFirmwareImage(std::span<const std::uint8_t> image) {
    if (image.empty()) {
        return FirmwareImageCheck::Empty;
    }
    if (image.size() > kFirmwareBlockBytes * kFirmwareMaxBlocks) {
        return FirmwareImageCheck::TooLarge;
    }
    if (!firmwareVersionOfImage(image)) {
        return FirmwareImageCheck::NotForThisMouse;
    }
    return FirmwareImageCheck::Fits;
}

// The device's version number as the applications compare it: its
// hexadecimal digits read as a decimal number (0x0105 gives 105), letters
// ending the number (0x01A0 gives 1).
inline std::uint16_t firmwareVersionValueOf(std::uint16_t versionNumber) {
    unsigned value = 0;
    bool any = false;
    for (int shift = 12; shift >= 0; shift -= 4) {
        const unsigned digit = (versionNumber >> shift) & 0xFU;
        if (!any && digit == 0 && shift > 0) {
            continue;  // no leading zeros, as "%x" writes it
        }
        any = true;
        if (digit > 9) {
            break;
        }
        value = value * 10 + digit;
    }
    return static_cast<std::uint16_t>(value);
}

// A version value as the user reads it: value / 100 with two decimals and a
// point whatever the desktop's language (105 gives "1.05").
inline std::string firmwareVersionText(unsigned value) {
    const unsigned cents = value % 100;
    return std::to_string(value / 100) + '.' + static_cast<char>('0' + cents / 10) +
           static_cast<char>('0' + cents % 10);
}

}  // namespace orvane
