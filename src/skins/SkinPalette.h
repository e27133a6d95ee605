#pragma once

#include <cstdint>

namespace orvane::palette {

// The colours of the look, shared by the skin generator (which draws the
// pictures) and the controls (which draw captions and menus over them), so
// that a caption and the picture under it always agree.
struct Rgb {
    std::uint8_t r, g, b;
};

inline constexpr Rgb kAccent{50, 235, 165};         // pressed, latched, selected
inline constexpr Rgb kCaption{210, 210, 210};       // button captions
inline constexpr Rgb kCaptionHover{255, 255, 255};  // caption under the pointer
inline constexpr Rgb kCaptionDisabled{120, 120, 120};
inline constexpr Rgb kMenuText{170, 170, 170};
inline constexpr Rgb kMenuBackground{0, 0, 0};
inline constexpr Rgb kEditFrame{150, 150, 150};
inline constexpr Rgb kGraphite{24, 26, 29};  // window background
inline constexpr Rgb kPanel{33, 36, 40};     // section panels
inline constexpr Rgb kPanelEdge{52, 57, 63};
inline constexpr Rgb kLabel{190, 194, 199};  // labels drawn into the sheets

}  // namespace orvane::palette
