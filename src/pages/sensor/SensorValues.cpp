#include "pages/sensor/SensorValues.h"

namespace orvane {

int roundResolution(long long value) {
    if (value <= 0) {
        return kResolutionMinimum;
    }
    if (value >= kResolutionMaximum) {
        return kResolutionMaximum;
    }
    long long rounded = value / kResolutionStep * kResolutionStep;
    if (value % kResolutionStep >= kResolutionStep / 2) {
        rounded += kResolutionStep;
    }
    if (rounded < kResolutionMinimum) {
        return kResolutionMinimum;
    }
    return rounded > kResolutionMaximum ? kResolutionMaximum : static_cast<int>(rounded);
}

int surfaceQualityLevel(int value) {
    if (value <= 1 || value > 100) {
        return 0;
    }
    if (value <= 10) {
        return 1;
    }
    if (value <= 70) {
        // 11-20 gives 2, 21-30 gives 3, ... 61-70 gives 7.
        return (value + 9) / 10;
    }
    if (value <= 90) {
        return 8;
    }
    return value <= 95 ? 9 : 10;
}

}  // namespace orvane
