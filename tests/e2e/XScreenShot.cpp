#include "e2e/XScreenShot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fstream>

namespace orvane::test {

bool ScreenShot::save(const std::filesystem::path& path) const {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << width << ' ' << height << "\n255\n";
    out.write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
    return static_cast<bool>(out);
}

std::optional<ScreenShot> grabScreen(int left, int top, int width, int height) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return std::nullopt;
    }
    XImage* image =
        XGetImage(display, DefaultRootWindow(display), left, top, static_cast<unsigned>(width),
                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
    std::optional<ScreenShot> shot;
    if (image != nullptr) {
        shot.emplace();
        shot->width = width;
        shot->height = height;
        shot->rgb.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                shot->rgb.push_back(static_cast<std::uint8_t>((pixel >> 16) & 0xFF));
                shot->rgb.push_back(static_cast<std::uint8_t>((pixel >> 8) & 0xFF));
                shot->rgb.push_back(static_cast<std::uint8_t>(pixel & 0xFF));
            }
        }
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return shot;
}

}  // namespace orvane::test
