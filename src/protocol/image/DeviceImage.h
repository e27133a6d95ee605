#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "profile/MouseProfile.h"
#include "protocol/image/ButtonEncoding.h"

namespace orvane {

inline constexpr std::size_t kDeviceImageSize = 2048;

// Header fields.
inline constexpr std::size_t kSlotIndexOffset = 0;
inline constexpr std::size_t kNameOffset = 1;
inline constexpr std::size_t kNameFieldSize = 16;
inline constexpr std::size_t kImageSizeOffset = 17;
inline constexpr std::size_t kPollingIntervalOffset = 21;
inline constexpr std::size_t kEnabledOffset = 22;
inline constexpr std::size_t kBrightnessOffset = 32;
inline constexpr std::size_t kActiveDpiLevelOffset = 50;
inline constexpr std::size_t kLiftOffDistanceOffset = 70;
inline constexpr std::size_t kAngleSnappingOffset = 71;
inline constexpr std::size_t kDpiLevelCountOffset = 86;
inline constexpr std::size_t kSensorAttributeOffset = 87;
inline constexpr std::size_t kRippleControlOffset = 88;

// Each lighting zone is three colour bytes followed by the effect byte. Zone D
// (the second resolution zone) fills the last three slots alike.
inline constexpr std::size_t kZoneAOffset = 23;
inline constexpr std::size_t kZoneBOffset = 27;
inline constexpr std::size_t kZoneCOffset = 33;
inline constexpr std::array<std::size_t, 3> kZoneDOffsets = {37, 41, 45};

// Each resolution level is its attribute byte, then X twice (the mouse gets
// the X resolution for both axes).
inline constexpr std::array<std::size_t, kDpiLevelCount> kDpiLevelOffsets = {51, 60, 81, 91, 96};

inline constexpr std::size_t kButtonTableOffset = 101;
inline constexpr std::size_t kButtonEntryCount = 12;
// Entries 7 to 9 belong to no button and stay 0.
inline constexpr std::array<std::size_t, kButtonCount> kButtonEntryOfButton = {0, 1, 2,  3, 4,
                                                                               5, 6, 10, 11};

inline constexpr std::size_t kMacroAreaOffset = 800;
inline constexpr std::size_t kMacroAreaSize = kDeviceImageSize - kMacroAreaOffset;

static_assert(kButtonTableOffset + kButtonEntryCount * kButtonEntrySize <= kMacroAreaOffset);

// A macro step written with a delay longer than the mouse can hold: the
// mouse keeps only the low 24 bits.
struct CutMacroDelay {
    std::uint8_t button = 0;  // buttonIndex
    std::size_t step = 0;     // counted from 0
    std::uint32_t delay = 0;  // milliseconds, as the record holds it

    friend bool operator==(const CutMacroDelay&, const CutMacroDelay&) = default;
};

// A profile as the mouse stores it in one of its slots.
struct DeviceImage {
    std::array<std::uint8_t, kDeviceImageSize> bytes{};
    // Buttons (by buttonIndex) whose macro lost events because the macro area
    // was full; Apply names them to the user.
    std::vector<std::uint8_t> shortenedMacroButtons;
    // Steps among those written whose delay lost its top bits; Apply names
    // them too.
    std::vector<CutMacroDelay> cutMacroDelays;
};

DeviceImage buildDeviceImage(const MouseProfile& profile);

}  // namespace orvane
