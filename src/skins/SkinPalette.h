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

// The skin generator's own shades: bands, control faces, fields and tracks.
inline constexpr Rgb kBand{16, 17, 20};          // title and bottom bands of the windows
inline constexpr Rgb kFace{46, 50, 56};          // button faces
inline constexpr Rgb kFaceHover{62, 67, 75};     // button faces under the pointer
inline constexpr Rgb kField{14, 15, 18};         // edit fields, lists
inline constexpr Rgb kTrack{58, 63, 70};         // slider tracks, unticked boxes
inline constexpr Rgb kDisabledFace{36, 38, 42};  // faces of disabled controls
inline constexpr Rgb kWarning{236, 170, 60};     // warning signs of the pop-ups

}  // namespace orvane::palette
