#include "controls/KivSliderImages.h"

#include "skins/SkinFaces.h"

namespace orvane {

KivSliderImages skinSliderImages(int part, const layout::Rect& rect) {
    const SkinFaces faces = skinFaces(part, rect);
    const SkinImage thumb =
        skinPart(layout::singles::kPartSliderNormal, layout::kStateNormal, QRect());
    return {faces.normal,
            thumb,
            thumb,
            thumb,
            faces.disabled,
            skinPart(layout::singles::kPartSliderDisable, layout::kStateNormal, QRect())};
}

}  // namespace orvane
