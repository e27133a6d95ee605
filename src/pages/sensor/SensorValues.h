#pragma once

namespace orvane {

inline constexpr int kResolutionMinimum = 50;
inline constexpr int kResolutionMaximum = 19000;
inline constexpr int kResolutionStep = 50;

// A resolution as the mouse takes it: the nearest multiple of 50 (a remainder
// of 25 or more rounds up), never below 50 and never above 19000, so that a
// level in use can never reach the mouse as 0 or beyond the sensor's range.
int roundResolution(long long value);

inline constexpr int kSurfaceLevelCount = 11;  // levels 0..10

// The quality level 0..10 for a quality value the mouse reports; values past
// the table's end (above 100) give 0.
int surfaceQualityLevel(int value);

}  // namespace orvane
