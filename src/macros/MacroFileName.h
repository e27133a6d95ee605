#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

inline constexpr std::string_view kMacroFileExtension = ".macro";

// The longest file name, in UTF-8 bytes, that a macro file may get. File
// systems allow 255; the atomic write needs room beside the target for its
// temporary name (".tmp" and a counter of up to ten digits).
inline constexpr std::size_t kMaxMacroFileNameBytes = 255 - 14;

// The macro name as UTF-8 with everything that could turn it into a path or
// a hidden file replaced by '_': '/', '\', NUL and other control characters,
// and leading dots. Never empty and never cut.
std::string safeMacroFileStem(std::u16string_view name);

// The file name for a macro named `name` with `extraOnes` characters "1"
// appended to break a collision: the safe stem, cut at a character boundary
// when it is too long, then the ones, then ".macro". Different counts of
// ones always give different file names, however the stem was cut, so a
// search over counts ends. At least 100 ones always fit; none when that many
// ones no longer fit.
std::optional<std::string> macroFileName(std::u16string_view name, std::size_t extraOnes = 0);

}  // namespace orvane
