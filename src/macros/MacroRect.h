#pragma once

#include <cstdint>

namespace orvane {

// A rectangle in the event editor's client coordinates. Right and bottom lie
// just outside it, so rows 18 units apart touch without overlapping.
struct MacroRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool contains(std::int32_t x, std::int32_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }

    friend bool operator==(const MacroRect&, const MacroRect&) = default;
};

}  // namespace orvane
