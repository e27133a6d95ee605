#include "controls/CKivStatic.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/KivFont.h"

namespace orvane {

CKivStatic::CKivStatic(QWidget* parent, int controlId)
    : CKivWidget(parent, controlId), font(kivFont(15)) {}

void CKivStatic::addPicture(const SkinImage& picture) {
    pictureList.append(picture);
    update();
}

void CKivStatic::setPictures(const QList<SkinImage>& pictures) {
    pictureList = pictures;
    update();
}

void CKivStatic::setCurrentPicture(int index) {
    pictureIndex = index;
    update();
}

void CKivStatic::setText(const QString& newText) {
    if (textList.isEmpty()) {
        textList.append(newText);
    } else {
        textList[0] = newText;
    }
    textIndex = 0;
    update();
}

void CKivStatic::addText(const QString& newText) {
    textList.append(newText);
    update();
}

void CKivStatic::setTexts(const QStringList& newTexts) {
    textList = newTexts;
    update();
}

void CKivStatic::setCurrentText(int index) {
    textIndex = index;
    update();
}

QString CKivStatic::text() const {
    if (textIndex < 0 || textIndex >= textList.size()) {
        return {};
    }
    return textList[textIndex];
}

void CKivStatic::setBackground(const QImage& picture) {
    backgroundPicture = picture;
    update();
}

void CKivStatic::setBackgroundFill(const QColor& color) {
    fill = color;
    update();
}

void CKivStatic::setTextColor(const QColor& color) {
    textColour = color;
    update();
}

void CKivStatic::setTextFont(const QFont& textFont) {
    font = textFont;
    update();
}

void CKivStatic::setAlignment(Qt::Alignment alignment) {
    textAlignment = alignment;
    update();
}

void CKivStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                           QPainter::TextAntialiasing);
    if (fill.alpha() != 0) {
        painter.fillRect(rect(), fill);
    }
    if (!backgroundPicture.isNull()) {
        painter.drawImage(rect(), backgroundPicture);
    }
    if (pictureIndex >= 0 && pictureIndex < pictureList.size() &&
        !pictureList[pictureIndex].isNull()) {
        painter.drawImage(rect(), pictureList[pictureIndex].image());
    }
    const QString shown = text();
    if (!shown.isEmpty()) {
        painter.setFont(font);
        painter.setPen(textColour);
        painter.drawText(rect(), textAlignment, shown);
    }
}

void CKivStatic::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        event->accept();
        notifyOwner(1);
        return;
    }
    CKivWidget::mouseDoubleClickEvent(event);
}

}  // namespace orvane
