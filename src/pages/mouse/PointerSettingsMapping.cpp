#include "pages/mouse/PointerSettingsMapping.h"

#include <algorithm>

#include "platform/PointerSettings.h"

namespace orvane {

namespace {

// The "Double Click" slider runs 200..1400 and means "faster" to the right:
// the time the desktop waits is what is left of 1600 ms.
constexpr int kDoubleClickBase = 1600;

}  // namespace

std::array<int, 3> accelerationValues(bool enabled, int level) {
    if (!enabled) {
        return {0, 0, 0};
    }
    // Threshold 1 (device units per report) from which a move counts double,
    // threshold 2 from which it counts four times, and how many of the two
    // thresholds are in force. A lower first threshold doubles more of the
    // user's moves; level 3 adds the second step for flicks.
    static constexpr std::array<std::array<int, 3>, 3> kLevels = {
        {{12, 0, 1}, {6, 0, 1}, {4, 10, 2}}};
    return kLevels[static_cast<std::size_t>(std::clamp(level, 1, 3) - 1)];
}

PointerRequest pointerRequestFor(const MouseProfile& profile) {
    PointerRequest request;
    request.doubleClickMs = kDoubleClickBase - profile.doubleClickSetting;
    // The sensor page's "Point Speed" runs 1..11 (6 in the middle); the
    // desktop scale runs 1..20 with 10 in the middle.
    // 0 would be below the desktop scale and a value from a damaged file
    // past it: both are kept on the scale.
    const int speed = profile.pointerSpeed;
    request.speed = std::clamp(speed <= 1 ? 2 * speed : 2 * speed - 2, 1, 20);
    if (profile.scrollByLines != 0) {
        request.wheelLines = profile.scrollLines;
    } else if (profile.scrollByPage != 0) {
        request.wheelLines = PointerSettings::kWheelPageScroll;
    }
    request.acceleration =
        accelerationValues(profile.accelerationEnabled != 0, profile.accelerationLevel);
    return request;
}

PointerSettingsOutcome applyPointerSettings(const MouseProfile& profile, PointerSettings& desktop) {
    const PointerRequest request = pointerRequestFor(profile);
    PointerSettingsOutcome notSet;
    if (!desktop.setDoubleClickTime(request.doubleClickMs)) {
        notSet.emplace_back("double-click time");
    }
    if (!desktop.setPointerSpeed(request.speed)) {
        notSet.emplace_back("pointer speed");
    }
    if (request.wheelLines && !desktop.setWheelScrollLines(*request.wheelLines)) {
        notSet.emplace_back("wheel scroll lines");
    }
    if (!desktop.setAcceleration(request.acceleration)) {
        notSet.emplace_back("pointer acceleration");
    }
    return notSet;
}

}  // namespace orvane
