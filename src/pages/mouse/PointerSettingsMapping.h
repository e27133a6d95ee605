#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "profile/MouseProfile.h"

namespace orvane {

class PointerSettings;

// The desktop pointer settings a profile asks for, in the units the profile
// files were made with (see PointerSettings).
struct PointerRequest {
    int doubleClickMs = 0;
    int speed = 0;
    // Lines per notch, PointerSettings::kWheelPageScroll, or none: the profile
    // leaves the wheel as it is.
    std::optional<int> wheelLines;
    std::array<int, 3> acceleration{};
};

PointerRequest pointerRequestFor(const MouseProfile& profile);

// The three acceleration values of level 1..3 (clamped): each level doubles
// the pointer's movement sooner than the one before, and level 3 doubles it
// again on fast moves. {0, 0, 0} when acceleration is off.
std::array<int, 3> accelerationValues(bool enabled, int level);

// The names of the settings the desktop did not take ("double-click time",
// "pointer speed", "wheel scroll lines", "pointer acceleration").
using PointerSettingsOutcome = std::vector<std::string>;

// Sets the desktop's pointer settings from the profile; never fails as a
// whole, it answers what the desktop could not take.
PointerSettingsOutcome applyPointerSettings(const MouseProfile& profile, PointerSettings& desktop);

}  // namespace orvane
