#pragma once

#include <QImage>

#include "skins/SkinLayout.h"

namespace orvane {

// The six pictures of a skinned slider, horizontal or vertical: the track and
// the thumb in their normal, over, down and disabled looks.
struct KivSliderImages {
    QImage track;
    QImage thumb;
    QImage thumbOver;
    QImage thumbDown;
    QImage trackDisabled;
    QImage thumbDisabled;
};

// A one-track slider of a page: its track pieces cut from `part`'s sheets
// under `rect`, and the skin's common thumb pictures.
KivSliderImages skinSliderImages(int part, const layout::Rect& rect);

}  // namespace orvane
