#pragma once

#include <QImage>
#include <QRect>

#include "skins/SkinLayout.h"

namespace orvane {

// The looks of one control, cut from its window's state sheets under the
// control's rectangle.
struct SkinFaces {
    QImage normal;
    QImage over;
    QImage down;
    QImage disabled;  // null for the sets without a Disable sheet
};

inline QRect toQRect(const layout::Rect& rect) {
    return QRect(rect.x, rect.y, rect.w, rect.h);
}

// Normal, Over, Down and, when `withDisabled`, Disable pieces of `part`.
SkinFaces skinFaces(int part, const layout::Rect& rect, bool withDisabled = true);

}  // namespace orvane
