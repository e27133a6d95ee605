#include "skins/SkinFaces.h"

#include "skins/SkinCache.h"

namespace orvane {

SkinFaces skinFaces(int part, const layout::Rect& rect, bool withDisabled) {
    const QRect area = toQRect(rect);
    SkinFaces faces;
    faces.normal = skinPartWhenDrawn(part, layout::kStateNormal, area);
    faces.over = skinPartWhenDrawn(part, layout::kStateOver, area);
    faces.down = skinPartWhenDrawn(part, layout::kStateDown, area);
    if (withDisabled) {
        faces.disabled = skinPartWhenDrawn(part, layout::kStateDisable, area);
    }
    return faces;
}

QImage skinPicture(int part) {
    return skinPart(part, layout::kStateNormal, QRect()).toImage();
}

}  // namespace orvane
