#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include "controls/CKivWidget.h"
#include "skins/SkinCache.h"

namespace orvane {

// Text and picture field. It holds several pictures and several texts and
// shows the current one of each, over an optional background picture and fill.
class CKivStatic : public CKivWidget {
    Q_OBJECT
  public:
    explicit CKivStatic(QWidget* parent = nullptr, int controlId = 0);

    void addPicture(const SkinImage& picture);
    void setPictures(const QList<SkinImage>& pictures);
    const QList<SkinImage>& pictures() const { return pictureList; }
    // An index outside the list shows no picture.
    void setCurrentPicture(int index);
    int currentPicture() const { return pictureIndex; }

    // Replaces the first text (adds it to an empty list) and shows it.
    void setText(const QString& text);
    void addText(const QString& text);
    void setTexts(const QStringList& texts);
    const QStringList& texts() const { return textList; }
    void setCurrentText(int index);
    int currentTextIndex() const { return textIndex; }
    // The text shown now; empty when the index is outside the list.
    QString text() const;

    void setBackground(const QImage& picture);
    const QImage& background() const { return backgroundPicture; }
    void setBackgroundFill(const QColor& color);
    QColor backgroundFill() const { return fill; }

    void setTextColor(const QColor& color);
    QColor textColor() const { return textColour; }
    void setTextFont(const QFont& font);
    const QFont& textFont() const { return font; }
    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const { return textAlignment; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QList<SkinImage> pictureList;
    int pictureIndex = 0;
    QStringList textList;
    int textIndex = 0;
    QImage backgroundPicture;
    QColor fill = Qt::transparent;
    QColor textColour = Qt::white;
    QFont font;
    Qt::Alignment textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
};

}  // namespace orvane
