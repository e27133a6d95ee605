#pragma once

#include "skins/SkinCache.h"
#include "skins/SkinLayout.h"

namespace orvane {

// The six pictures of a skinned slider, horizontal or vertical: the track and
// the thumb in their normal, over, down and disabled looks. Skin pictures are
// cut and decoded when first drawn, so a page's sliders cost nothing until
// the page is shown.
struct KivSliderImages {
    SkinImage track;
    SkinImage thumb;
    SkinImage thumbOver;
    SkinImage thumbDown;
    SkinImage trackDisabled;
    SkinImage thumbDisabled;
};

// A one-track slider of a page: its track pieces cut from `part`'s sheets
// under `rect`, and the skin's common thumb pictures.
KivSliderImages skinSliderImages(int part, const layout::Rect& rect);

}  // namespace orvane
