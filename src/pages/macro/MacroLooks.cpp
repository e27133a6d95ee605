#include "pages/macro/MacroLooks.h"

#include "controls/KivFont.h"
#include "skins/SkinCache.h"
#include "skins/SkinFaces.h"

namespace orvane {

namespace sb = layout::scrollbar;

CKivScrollCtrl::Images macroScrollBarImages() {
    const auto look = [](int part, const layout::Rect& rect, int state) {
        return skinPart(part, state, toQRect(rect)).toImage();
    };
    return {skinPicture(sb::kPartTrack),
            look(sb::kPartUpArrow, sb::kUpArrow, layout::kStateNormal),
            look(sb::kPartUpArrow, sb::kUpArrow, layout::kStateOver),
            look(sb::kPartDownArrow, sb::kDownArrow, layout::kStateNormal),
            look(sb::kPartDownArrow, sb::kDownArrow, layout::kStateOver),
            look(sb::kPartThumb, sb::kThumb, layout::kStateNormal),
            look(sb::kPartThumb, sb::kThumb, layout::kStateOver)};
}

QFont macroRowFont() {
    return kivFont(13);
}

QColor macroRowColor() {
    return QColor(190, 190, 190);
}

QColor macroSelectedRowColor() {
    return toQColor(palette::kAccent);
}

}  // namespace orvane
