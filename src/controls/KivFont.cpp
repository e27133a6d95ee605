#include "controls/KivFont.h"

namespace orvane {

QFont kivFont(int pixelHeight) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    return font;
}

}  // namespace orvane
