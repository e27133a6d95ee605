#pragma once

#include <cstdint>
#include <ostream>
#include <span>

namespace orvanectl {

// Sixteen bytes a line, each line led by its offset: "0010: 00 08 00 00 ...".
void writeHexDump(std::span<const std::uint8_t> bytes, std::ostream& out);

}  // namespace orvanectl
