#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace orvane::test {

// A piece of the X server's screen, one RGB triple a pixel, row by row.
struct ScreenShot {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    // A binary PPM, for a person to look at.
    bool save(const std::filesystem::path& path) const;
};

// The rectangle of the screen of $DISPLAY; nothing when it cannot be read.
std::optional<ScreenShot> grabScreen(int left, int top, int width, int height);

}  // namespace orvane::test
