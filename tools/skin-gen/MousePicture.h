#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>

namespace orvane::skingen {

// "Orvane.png": the mouse seen from above at the preview's size, transparent
// around the body and in the two lit zones.
QImage mousePicture();

// The same mouse scaled into an area, with numbered badges at its nine
// buttons, for the button page.
void drawMouseDiagram(QPainter& p, const QRectF& area);

// A small mouse for the "move the mouse" frames.
void drawSmallMouse(QPainter& p, const QPointF& centre, qreal height);

}  // namespace orvane::skingen
