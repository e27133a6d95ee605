#include "controls/KivSliderMath.h"

#include <algorithm>
#include <cstdint>

namespace orvane::kivslider {

namespace {

// Floor division for a positive divisor.
std::int64_t floorDiv(std::int64_t num, std::int64_t den) {
    std::int64_t q = num / den;
    if ((num % den != 0) && (num < 0)) {
        --q;
    }
    return q;
}

}  // namespace

int clampValue(int value, int minimum, int maximum) {
    return std::clamp(value, minimum, std::max(minimum, maximum));
}

int rawValueAt(int pointer, int thumbLength, int clientLength, int minimum, int maximum) {
    const std::int64_t freeLength = std::int64_t{clientLength} - thumbLength;
    if (freeLength <= 0 || maximum <= minimum) {
        return minimum;
    }
    const std::int64_t span = std::int64_t{maximum} - minimum;
    const std::int64_t num = (std::int64_t{pointer} - thumbLength / 2) * span;
    // Half up: floor(num / free + 1/2).
    const std::int64_t raw = minimum + floorDiv(2 * num + freeLength, 2 * freeLength);
    return static_cast<int>(std::clamp<std::int64_t>(raw, minimum, maximum));
}

int snapToStep(int value, int step, int minimum, int maximum) {
    if (step < 1) {
        return clampValue(value, minimum, maximum);
    }
    const std::int64_t v = value;
    std::int64_t remainder = v % step;
    if (remainder < 0) {
        remainder += step;
    }
    std::int64_t snapped = v - remainder;
    if (2 * remainder > step) {
        snapped += step;
    }
    return static_cast<int>(std::clamp<std::int64_t>(snapped, minimum, std::max(minimum, maximum)));
}

int thumbOffset(int value, int thumbLength, int clientLength, int minimum, int maximum) {
    const std::int64_t freeLength = std::int64_t{clientLength} - thumbLength;
    if (freeLength <= 0 || maximum <= minimum) {
        return 0;
    }
    const std::int64_t span = std::int64_t{maximum} - minimum;
    const std::int64_t along = std::clamp<std::int64_t>(std::int64_t{value} - minimum, 0, span);
    return static_cast<int>(along * freeLength / span);
}

}  // namespace orvane::kivslider
