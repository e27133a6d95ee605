#include "buttons/ButtonFunction.h"

#include <array>

namespace orvane {

std::string_view buttonFunctionCaption(std::uint8_t function) {
    static constexpr std::array<std::string_view, 16> kCaptions = {"Left click",
                                                                   "Right click",
                                                                   "Scroll click",
                                                                   "Forward",
                                                                   "Back",
                                                                   "Dpi up",
                                                                   "Dpi down",
                                                                   "Dpi roll",
                                                                   "Profile switch roll",
                                                                   "Profile switch up",
                                                                   "Profile switch down",
                                                                   "Scroll up",
                                                                   "Scroll down",
                                                                   "",
                                                                   "",
                                                                   "Disable button"};
    return function < kCaptions.size() ? kCaptions[function] : std::string_view();
}

}  // namespace orvane
