#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "protocol/CommandCodes.h"
#include "protocol/FirmwareImage.h"
#include "protocol/ReportLayout.h"
#include "protocol/image/DeviceImage.h"

namespace orvane::emulator {

inline constexpr std::size_t kProfileCount = 5;
inline constexpr std::size_t kProfileButtonCount = 6;
inline constexpr std::size_t kProfileBlockSize = 1024;

using SlotImage = std::array<std::uint8_t, kDeviceImageSize>;
using Block = std::array<std::uint8_t, kProfileBlockSize>;

// Function kinds of a button entry that make the host start a program or open
// a web page; their first operand is the length of the stored text.

// One profile of the library: its settings block and the data block of each
// button (macro events, canned key sequences, program or web-page texts).
// An absent profile (deleted through the library) keeps factory contents.
struct LibraryProfile {
    Block block{};
    std::array<Block, kProfileButtonCount> dataBlocks{};
    bool present = true;

    friend bool operator==(const LibraryProfile&, const LibraryProfile&) = default;
};

// Everything the mouse keeps in its flash memory: what survives an unplug, a
// mode change and a saved state file.
struct MouseMemory {
    std::array<SlotImage, kProfileCount> slotImages{};
    std::array<LibraryProfile, kProfileCount> profiles{};
    // The one active profile: slot 0..4 for the application, profile
    // activeSlot + 1 for the library.
    std::uint8_t activeSlot = 0;
    std::uint8_t surfaceQuality = 0;
    std::uint16_t firmwareVersion = 0;
    std::uint16_t bootLoaderVersion = 0;
    // The device release number of the application-mode interfaces; a
    // firmware update sets it to the new version.
    std::uint16_t releaseNumber = 0;
    bool bootLoader = false;

    friend bool operator==(const MouseMemory&, const MouseMemory&) = default;

    // profile 1..5; null outside.
    LibraryProfile* profile(std::size_t number);
    const LibraryProfile* profile(std::size_t number) const;
    std::size_t presentProfileCount() const;
};

// Factory contents. A slot image is what the application writes for its
// default record in that slot; a profile block holds 1000 Hz, a 4 ms
// response time, angle snapping and lift-off off, five resolution levels
// (400, 800, 1600, 3200 and 19000 counts per inch, X and Y) with level
// count 5 and level 2 in the two setting bytes, lighting mode 1 with cyan in
// all eight colours of the lighting block, 100 % brightness, flag 1, option 1,
// and buttons 1 to 6 as left, right, middle, forward, back and resolution up.
SlotImage factorySlotImage(std::size_t slot);
Block factoryProfileBlock(std::size_t profileNumber);
// Factory reset: every slot, profile and data block, all five profiles
// present, slot 0 active. Versions, mode and the surface value stay.
void restoreFactoryContents(MouseMemory& memory);
MouseMemory factoryMemory(std::uint16_t firmwareVersion, std::uint16_t bootLoaderVersion,
                          std::uint16_t releaseNumber);

// Firmware images carry their version behind a tag (protocol/FirmwareImage.h);
// an image without the tag has no version of its own.
using orvane::firmwareVersionOfImage;
using orvane::kFirmwareTag;
using orvane::kFirmwareVersionOffset;

}  // namespace orvane::emulator
