#include "controls/KivSliderImages.h"

#include "skins/SkinFaces.h"

namespace orvane {

KivSliderImages skinSliderImages(int part, const layout::Rect& rect) {
    const SkinFaces faces = skinFaces(part, rect);
    const QImage thumb = skinPicture(layout::singles::kPartSliderNormal);
    return {faces.normal.image(),
            thumb,
            thumb,
            thumb,
            faces.disabled.image(),
            skinPicture(layout::singles::kPartSliderDisable)};
}

}  // namespace orvane
