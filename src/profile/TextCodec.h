#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// Texts of the record and of the files are UTF-16 code units, kept exactly as
// read so that a file round-trips byte for byte. These conversions are for the
// edges: file names, terminal output, the device.

// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);

// UTF-8 to UTF-16. A malformed sequence becomes U+FFFD.
std::u16string fromUtf8(std::string_view text);

// UTF-16 to Windows-1252, one byte per character; a character the code page
// lacks (a surrogate pair counts as one) becomes '?'.
std::string toWindows1252(std::u16string_view text);

}  // namespace orvane
