#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "Orvane_pro_dll.h"
#include "protocol/CommandCodes.h"

namespace orvane::devlib {

inline constexpr std::size_t kMaxEvents = 140;
inline constexpr std::size_t kDeviceEventSize = 7;

inline constexpr std::int32_t kMacroType = 19;
inline constexpr std::int32_t kSystemType = 25;
inline constexpr std::uint8_t kOpenWebPageSub = 1;
inline constexpr std::uint8_t kRunProgramSub = 6;

// A button's function as the mouse holds it: the 7 bytes of the button
// command and of the profile block's button entry.
struct DeviceEntry {
    std::uint8_t kind = 0;
    std::uint8_t sub = 0x01;
    std::uint16_t first = 0;
    std::uint16_t second = 0;
    std::uint8_t trailing = button_entry::kTrailer;

    std::array<std::uint8_t, 7> bytes() const;
    static DeviceEntry fromBytes(std::span<const std::uint8_t> bytes);
    friend bool operator==(const DeviceEntry&, const DeviceEntry&) = default;
};

// Whether the record names a function the mouse knows: the types 16 to 25
// and 255, and for a macro, steps of the types 16, 17 and 18 that are pressed
// (0) or released (1). Anything else would reach the mouse as a left click,
// or as a step of no kind that it cannot play.
bool isKnownFunction(const ButtonSetting& setting);

// The entry for a record; a macro's `count` must already be at most 140.
DeviceEntry encodeButton(const ButtonSetting& setting);
// Kinds whose button command is followed by a data block.
bool hasDataBlock(std::uint8_t kind);

// The key sequence a system function (type 25) stands for; empty for those
// that have none.
std::span<const ButtonEvent> systemSequence(std::uint8_t sub);

// Writes the events as 7-byte device events, then 7 zero bytes, from the
// start of `block` (at least 7 * (events + 1) bytes).
void encodeEvents(std::span<const ButtonEvent> events, std::span<std::uint8_t> block);
std::vector<ButtonEvent> decodeEvents(std::span<const std::uint8_t> block, std::size_t count);

// The record for an entry read back from the mouse; `events` untouched,
// `count` the second operand cut to the 140 events the record holds.
void decodeButton(const DeviceEntry& entry, std::uint8_t button, ButtonSetting& setting);

}  // namespace orvane::devlib
