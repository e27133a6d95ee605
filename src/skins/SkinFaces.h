#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include "skins/SkinCache.h"
#include "skins/SkinLayout.h"
#include "skins/SkinPalette.h"

namespace orvane {

// The looks of one control, cut from its window's state sheets under the
// control's rectangle when each is first drawn.
struct SkinFaces {
    SkinImage normal;
    SkinImage over;
    SkinImage down;
    SkinImage disabled;  // null for the sets without a Disable sheet
};

inline QRect toQRect(const layout::Rect& rect) {
    return QRect(rect.x, rect.y, rect.w, rect.h);
}

inline QColor toQColor(palette::Rgb rgb) {
    return QColor(rgb.r, rgb.g, rgb.b);
}

// A single picture of the skin (a whole sheet or file), as it is.
QImage skinPicture(int part);

// Normal, Over, Down and, when `withDisabled`, Disable pieces of `part`.
SkinFaces skinFaces(int part, const layout::Rect& rect, bool withDisabled = true);

}  // namespace orvane
