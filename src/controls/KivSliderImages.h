#pragma once

#include <QImage>

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

}  // namespace orvane
