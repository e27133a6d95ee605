#pragma once

namespace orvane {

// Pointer-to-value arithmetic shared by the sliders. All of it is integer
// arithmetic in 64 bits, so that wide ranges (the resolution slider spans
// 50..19000 over a few hundred pixels) neither overflow nor drift.
namespace kivslider {

// The raw value under a pointer coordinate: the thumb's centre follows the
// pointer over the free length (client length minus thumb length), rounded
// half up and clamped to the range. With no free length every position means
// the minimum.
int rawValueAt(int pointer, int thumbLength, int clientLength, int minimum, int maximum);

// Snaps to the nearest multiple of the step counted from 0 (a remainder of
// more than half the step goes up). The result is kept inside the range: a
// multiple that lies outside it would report a value the owner never allowed.
// A step below 1 leaves the value alone.
int snapToStep(int value, int step, int minimum, int maximum);

// Offset of the thumb's leading edge for a value, along the free length.
int thumbOffset(int value, int thumbLength, int clientLength, int minimum, int maximum);

int clampValue(int value, int minimum, int maximum);

}  // namespace kivslider
}  // namespace orvane
