#pragma once

#include <QString>
#include <array>

#include "controls/HsvColor.h"

namespace orvane {

// The texts of the colour entry fields: three decimal fields of at most three
// digits and one field of six hexadecimal digits, two for each channel.

inline constexpr int kDecimalDigits = 3;
inline constexpr int kHexDigits = 6;

// The leading digits of a decimal field as a number; text without leading
// digits counts as 0. Never negative.
int decimalChannel(const QString& text);

// Up to three two-digit hexadecimal numbers read from the start of the text;
// reading stops at the first character that is no hexadecimal digit, and the
// numbers not reached count as 0 ("FF8" gives 255, 8, 0).
std::array<int, 3> hexChannels(const QString& text);

// Six capital hexadecimal digits, red first.
QString hexText(ColorRef colour);

}  // namespace orvane
