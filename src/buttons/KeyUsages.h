#pragma once

#include <cstdint>
#include <span>

namespace orvane {

// Consecutive key codes whose keyboard usages (HID page 0x07) are consecutive
// too; a single key is a run of one.
struct KeyUsageRun {
    std::uint8_t firstCode;
    std::uint8_t lastCode;
    std::uint8_t firstUsage;
    // False for a key that sends another key's usage: reading that usage back
    // must give the other key.
    bool reversible = true;
};

// The one table both directions are derived from; the device-control library
// links it as well, so it depends on nothing but the standard library.
std::span<const KeyUsageRun> keyUsageRuns();

// The usage the mouse sends for a key code. Codes the table lacks, including
// every code above 255, are sent as they are.
std::uint16_t keyToHidUsage(std::uint16_t code);

// The key code behind a usage the mouse reports or holds; usage 0x48 gives
// the Pause key (19). Usages the table lacks come back as they are.
std::uint16_t hidUsageToKey(std::uint16_t usage);

}  // namespace orvane
