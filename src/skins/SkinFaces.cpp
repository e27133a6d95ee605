#include "skins/SkinFaces.h"

#include "skins/SkinCache.h"

namespace orvane {

SkinFaces skinFaces(int part, const layout::Rect& rect, bool withDisabled) {
    const QRect area = toQRect(rect);
    SkinFaces faces;
    faces.normal = skinPart(part, layout::kStateNormal, area).toImage();
    faces.over = skinPart(part, layout::kStateOver, area).toImage();
    faces.down = skinPart(part, layout::kStateDown, area).toImage();
    if (withDisabled) {
        faces.disabled = skinPart(part, layout::kStateDisable, area).toImage();
    }
    return faces;
}

QImage skinPicture(int part) {
    return skinPart(part, layout::kStateNormal, QRect()).toImage();
}

}  // namespace orvane
