#include "HexDump.h"

#include <array>
#include <cstdio>

namespace orvanectl {

void writeHexDump(std::span<const std::uint8_t> bytes, std::ostream& out) {
    constexpr std::size_t kPerLine = 16;
    for (std::size_t offset = 0; offset < bytes.size(); offset += kPerLine) {
        std::array<char, 8 + 3 * kPerLine + 2> line{};
        int used = std::snprintf(line.data(), line.size(), "%04zx:", offset);
        for (std::size_t i = offset; i < bytes.size() && i < offset + kPerLine; ++i) {
            used += std::snprintf(line.data() + used, line.size() - static_cast<std::size_t>(used),
                                  " %02x", bytes[i]);
        }
        out << line.data() << '\n';
    }
}

}  // namespace orvanectl
