#pragma once

#include <cstddef>
#include <vector>

#include "profile/MouseProfile.h"

namespace orvane {

class MacroCollection;

// How a profile's macro buttons fill the mouse's macro area, as the next
// Apply will write them. Counted in slots of one step each: every written
// step takes one, every macro button's terminator one more.
struct MacroMemoryUse {
    std::size_t usedSlots = 0;
    std::size_t totalSlots = 0;
    // Buttons (0..8) whose macro the full area cuts short, in button order.
    std::vector<int> shortenedButtons;
    // Buttons whose macro has more steps than the mouse plays for one button.
    std::vector<int> overLongButtons;

    bool full() const { return !shortenedButtons.empty(); }
};

// Builds the device image of `record` with every macro button's copy taken
// afresh from `macros`, as the Mouse Settings page takes it before an Apply,
// and reads the use off that image: the gauge and the mouse never disagree.
MacroMemoryUse macroMemoryUse(const MouseProfile& record, const MacroCollection& macros);

}  // namespace orvane
