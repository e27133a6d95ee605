#include "protocol/image/ButtonEncoding.h"

#include <algorithm>
#include <array>

#include "buttons/ButtonFunction.h"
#include "buttons/KeyUsages.h"
#include "protocol/CommandCodes.h"

namespace orvane {

namespace {

constexpr std::uint8_t kHoldMacro = 0xFE;
constexpr std::uint8_t kReleased = 1;

// Entry offsets give 16 bits of room, so nothing past 64 KiB can be addressed.
constexpr std::size_t kAddressableEnd = 0x10000;

struct FixedBytes {
    std::uint8_t kind;
    std::uint8_t argument;
};

// The functions whose two bytes never depend on the button's parameter.
std::optional<FixedBytes> fixedBytes(std::uint8_t function) {
    static constexpr std::array<FixedBytes, 13> kFirstFunctions = {{
        {0x00, 0x01},  // left click
        {0x00, 0x02},  // right click
        {0x00, 0x04},  // scroll click
        {0x00, 0x10},  // forward
        {0x00, 0x08},  // back
        {0x09, 0xF0},  // dpi up
        {0x09, 0xF2},  // dpi down
        {0x09, 0xF1},  // dpi roll
        {0x08, 0xF1},  // profile roll
        {0x08, 0xF0},  // profile up
        {0x08, 0xF2},  // profile down
        {0x01, 0x01},  // scroll up
        {0x01, 0xFF},  // scroll down
    }};
    if (function < kFirstFunctions.size()) {
        return kFirstFunctions[function];
    }
    switch (static_cast<ButtonFunction>(function)) {
        case ButtonFunction::Disabled:
            return FixedBytes{0xFF, 0x00};
        case ButtonFunction::DpiF3:
            return FixedBytes{0x09, 0xF3};
        default:
            return std::nullopt;
    }
}

void putLittleEndian(std::span<std::uint8_t> bytes, std::uint32_t value) {
    for (std::uint8_t& byte : bytes) {
        byte = static_cast<std::uint8_t>(value & 0xFF);
        value >>= 8;
    }
}

void writeEvent(std::span<std::uint8_t, kMacroEventSize> out, const CMacroEvent& event) {
    out[0] = event.type;
    putLittleEndian(out.subspan<1, 2>(), keyToHidUsage(event.code));
    out[3] = event.state;
    // The device keeps 24 bits of delay; a longer one loses its top byte.
    putLittleEndian(out.subspan<4, 3>(), event.delay);
}

MacroFill encodeMacro(const ButtonAssignment& assignment, const ButtonMacro* macro,
                      std::span<std::uint8_t, kButtonEntrySize> entry, MacroAreaWriter& macroArea) {
    // A copy whose id no longer matches the button is a stale one from an
    // earlier assignment; the mouse gets an empty macro rather than the wrong one.
    std::span<const CMacroEvent> selected;
    if (macro != nullptr && macro->id == assignment.parameter) {
        selected = macro->events;
        selected = selected.first(std::min(selected.size(), kMaxMacroEventsPerButton));
    }
    const std::optional<MacroPlacement> placement = macroArea.place(selected);
    const MacroPlacement where = placement.value_or(MacroPlacement{});

    entry[0] = button_entry::kMacro;
    putLittleEndian(entry.subspan<2, 2>(), where.offset);
    putLittleEndian(entry.subspan<4, 2>(), where.eventCount);

    // Judged on what the mouse will play, not on what the user recorded.
    const auto written = selected.first(where.eventCount);
    if (std::none_of(written.begin(), written.end(),
                     [](const CMacroEvent& event) { return event.state == kReleased; })) {
        entry[1] = kHoldMacro;
    }
    return placement && where.eventCount == selected.size() ? MacroFill::Whole
                                                            : MacroFill::Shortened;
}

}  // namespace

MacroAreaWriter::MacroAreaWriter(std::span<std::uint8_t> image, std::size_t areaOffset,
                                 std::size_t announcedMacros)
    : image_(image),
      end_(std::min(image.size(), kAddressableEnd)),
      position_(std::min(areaOffset, end_)),
      heldTerminators_(announcedMacros) {}

std::size_t MacroAreaWriter::eventRoom() const {
    const std::size_t held = heldTerminators_ * kMacroEventSize;
    const std::size_t free = end_ - position_;
    return free > held ? (free - held) / kMacroEventSize : 0;
}

std::optional<MacroPlacement> MacroAreaWriter::place(std::span<const CMacroEvent> events) {
    // An announced macro releases the terminator held back for it; one beyond
    // the announced macros has to find its terminator in the free room.
    if (heldTerminators_ > 0) {
        --heldTerminators_;
    }
    const std::size_t slots = eventRoom();
    if (slots == 0) {
        return std::nullopt;
    }
    const std::size_t count = std::min(events.size(), slots - 1);
    const MacroPlacement placement{static_cast<std::uint16_t>(position_),
                                   static_cast<std::uint16_t>(count)};
    for (std::size_t i = 0; i < count; ++i) {
        writeEvent(
            std::span<std::uint8_t, kMacroEventSize>(image_.data() + position_, kMacroEventSize),
            events[i]);
        position_ += kMacroEventSize;
    }
    std::fill_n(image_.begin() + static_cast<std::ptrdiff_t>(position_), kMacroEventSize,
                std::uint8_t{0});
    position_ += kMacroEventSize;
    return placement;
}

MacroFill encodeButtonFunction(const ButtonAssignment& assignment, const ButtonMacro* macro,
                               std::span<std::uint8_t, kButtonEntrySize> entry,
                               MacroAreaWriter& macroArea) {
    std::fill(entry.begin(), entry.end(), std::uint8_t{0});
    entry[6] = button_entry::kTrailer;

    if (const auto bytes = fixedBytes(assignment.function)) {
        entry[0] = bytes->kind;
        entry[1] = bytes->argument;
        return MacroFill::NotMacro;
    }
    switch (static_cast<ButtonFunction>(assignment.function)) {
        case ButtonFunction::SingleKey:
            entry[0] = button_entry::kKey;
            entry[1] = static_cast<std::uint8_t>(keyToHidUsage(assignment.parameter) & 0xFF);
            return MacroFill::NotMacro;
        case ButtonFunction::Macro:
            return encodeMacro(assignment, macro, entry, macroArea);
        default:
            // Not a function the mouse knows: the entry stays without one.
            return MacroFill::NotMacro;
    }
}

}  // namespace orvane
