#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "profile/MouseProfile.h"

namespace orvane {

inline constexpr std::size_t kButtonEntrySize = 7;
inline constexpr std::size_t kMacroEventSize = 7;
// The mouse plays no more than this many steps of one button's macro.
inline constexpr std::size_t kMaxMacroEventsPerButton = 128;
// A step's delay travels in 24 bits: the longest wait the mouse can hold.
inline constexpr std::uint32_t kLongestMacroDelayMs = 0xFFFFFF;

// Where one button's macro landed in the image.
struct MacroPlacement {
    std::uint16_t offset = 0;      // counted from the image start
    std::uint16_t eventCount = 0;  // events actually written
};

// Packs the macros of the macro buttons one after another into the macro area
// of an image, which runs from `areaOffset` to the image's end. The image
// builder owns one writer for the whole image and announces how many macros
// it will place: their terminators are held back from the start, so a long
// macro early in button order shortens the later ones but can never push a
// later macro button out of a terminated place of its own.
class MacroAreaWriter {
  public:
    MacroAreaWriter(std::span<std::uint8_t> image, std::size_t areaOffset,
                    std::size_t announcedMacros);

    // Offset from the image start at which the next macro begins.
    std::size_t position() const { return position_; }

    // Whole events that still fit once every announced terminator is kept.
    std::size_t eventRoom() const;

    // Writes as many of `events` as fit, then the macro's terminator. None when
    // not even the terminator fits: more macros than announced, or an area too
    // small for the announced terminators.
    std::optional<MacroPlacement> place(std::span<const CMacroEvent> events);

  private:
    std::span<std::uint8_t> image_;
    std::size_t end_;
    std::size_t position_;
    std::size_t heldTerminators_;
};

// What became of a button's macro.
enum class MacroFill : std::uint8_t {
    NotMacro,   // the button has another function
    Whole,      // every selected event reached the image
    Shortened,  // the macro area was full before the macro's end
};

// Writes one button's entry of the device image and, for a macro button,
// places its macro through `macroArea`. `macro` is the record's copy at the
// button's index (see buttonMacroFor), or none. The entry is written in full:
// bytes the function does not use are 0. A macro the area cannot place at all
// is sent with offset 0 and no events, and counts as shortened.
MacroFill encodeButtonFunction(const ButtonAssignment& assignment, const ButtonMacro* macro,
                               std::span<std::uint8_t, kButtonEntrySize> entry,
                               MacroAreaWriter& macroArea);

}  // namespace orvane
