#include "controls/HxColorWellWnd.h"

#include <QPainter>

#include "controls/HxColorSelectorWnd.h"
#include "controls/HxDrawHelper.h"

namespace orvane {

HxColorWellWnd::HxColorWellWnd(QWidget* parent, const QRect& rect, int controlId)
    : QWidget(parent), id(controlId) {
    setObjectName(QStringLiteral("HxColorWellWnd"));
    setPalette(HxDrawHelper::defaultPalette());
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(rect);
}

HxColorWellWnd::~HxColorWellWnd() = default;

void HxColorWellWnd::link(HxColorSelectorWnd* newSelector, HxColorListener* newPage) {
    selector = newSelector;
    page = newPage;
}

ColorRef HxColorWellWnd::takePendingColor() {
    pending = false;
    return colour;
}

long HxColorWellWnd::colorChanged(const HxColorChange& change) {
    colour = change.value & 0xFFFFFF;
    pending = true;
    update();
    if (page != nullptr && id != 0) {
        return page->colorChanged(HxColorChange{this, id, colour});
    }
    return 0;
}

void HxColorWellWnd::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(2, 2), QPoint(width() - 3, height() - 3)),
                     QColor(redOf(colour), greenOf(colour), blueOf(colour)));
    HxDrawHelper(palette()).drawFrameAround(painter, rect(), HxDrawHelper::kSunkenBlack);
}

}  // namespace orvane
