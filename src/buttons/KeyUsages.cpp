#include "buttons/KeyUsages.h"

#include <array>
#include <cstddef>

namespace orvane {

namespace {

constexpr auto kRuns = std::to_array<KeyUsageRun>({
    {65, 90, 0x04},    // A-Z
    {49, 57, 0x1E},    // 1-9
    {48, 48, 0x27},    // 0
    {112, 123, 0x3A},  // F1-F12; F13-F24 have no usage of their own here
    {97, 105, 0x59},   // keypad 1-9
    {96, 96, 0x62},    // keypad 0
    // Cancel (Ctrl+Break) is sent as Pause, which keeps the usage for itself.
    {3, 3, 0x48, false},
    {8, 8, 0x2A},
    {9, 9, 0x2B},
    {13, 13, 0x28},
    {19, 19, 0x48},
    {20, 20, 0x39},
    {27, 27, 0x29},
    {32, 32, 0x2C},
    {33, 33, 0x4B},
    {34, 34, 0x4E},
    {35, 35, 0x4D},
    {36, 36, 0x4A},
    {37, 37, 0x50},
    {38, 38, 0x52},
    {39, 39, 0x4F},
    {40, 40, 0x51},
    {44, 44, 0x46},
    {45, 45, 0x49},
    {46, 46, 0x4C},
    {91, 91, 0xE3},
    {92, 92, 0xE7},
    {93, 93, 0x65},
    {106, 106, 0x55},
    {107, 107, 0x57},
    {109, 109, 0x56},
    {110, 110, 0x63},
    {111, 111, 0x54},
    {144, 144, 0x53},
    {145, 145, 0x47},
    {160, 160, 0xE1},
    {161, 161, 0xE5},
    {162, 162, 0xE0},
    {163, 163, 0xE4},
    {164, 164, 0xE2},
    {165, 165, 0xE6},
    {174, 174, 0x81},
    {175, 175, 0x80},
    {186, 186, 0x33},
    {187, 187, 0x2E},
    {188, 188, 0x36},
    {189, 189, 0x2D},
    {190, 190, 0x37},
    {191, 191, 0x38},
    {192, 192, 0x35},
    {219, 219, 0x2F},
    {220, 220, 0x31},
    {221, 221, 0x30},
    {222, 222, 0x34},
});

using ByteMap = std::array<std::uint8_t, 256>;

constexpr ByteMap identity() {
    ByteMap map{};
    for (std::size_t i = 0; i < map.size(); ++i) {
        map[i] = static_cast<std::uint8_t>(i);
    }
    return map;
}

constexpr bool runFits(const KeyUsageRun& run) {
    return run.firstCode <= run.lastCode && run.firstUsage + (run.lastCode - run.firstCode) <= 0xFF;
}

constexpr ByteMap buildUsageOfKey() {
    ByteMap map = identity();
    for (const KeyUsageRun& run : kRuns) {
        for (int code = run.firstCode; code <= run.lastCode; ++code) {
            map[code] = static_cast<std::uint8_t>(run.firstUsage + (code - run.firstCode));
        }
    }
    return map;
}

constexpr ByteMap buildKeyOfUsage() {
    ByteMap map = identity();
    for (const KeyUsageRun& run : kRuns) {
        if (!run.reversible) {
            continue;
        }
        for (int code = run.firstCode; code <= run.lastCode; ++code) {
            map[run.firstUsage + (code - run.firstCode)] = static_cast<std::uint8_t>(code);
        }
    }
    return map;
}

// A key listed twice, or two reversible keys sharing a usage, would make one
// direction depend on the order of the table.
constexpr bool tableIsConsistent() {
    std::array<bool, 256> codeSeen{};
    std::array<bool, 256> usageSeen{};
    for (const KeyUsageRun& run : kRuns) {
        if (!runFits(run)) {
            return false;
        }
        for (int code = run.firstCode; code <= run.lastCode; ++code) {
            const int usage = run.firstUsage + (code - run.firstCode);
            if (codeSeen[code] || (run.reversible && usageSeen[usage])) {
                return false;
            }
            codeSeen[code] = true;
            usageSeen[usage] = usageSeen[usage] || run.reversible;
        }
    }
    return true;
}
static_assert(tableIsConsistent());

constexpr ByteMap kUsageOfKey = buildUsageOfKey();
constexpr ByteMap kKeyOfUsage = buildKeyOfUsage();

}  // namespace

std::span<const KeyUsageRun> keyUsageRuns() {
    return kRuns;
}

std::uint16_t keyToHidUsage(std::uint16_t code) {
    return code < kUsageOfKey.size() ? kUsageOfKey[code] : code;
}

std::uint16_t hidUsageToKey(std::uint16_t usage) {
    return usage < kKeyOfUsage.size() ? kKeyOfUsage[usage] : usage;
}

}  // namespace orvane
