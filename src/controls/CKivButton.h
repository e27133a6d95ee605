#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include "controls/KivButtonBase.h"
#include "skins/SkinCache.h"

namespace orvane {

// Skinned push button: four pictures, an optional caption and a latched look
// for the one button of a group that stands for the shown page or profile.
class CKivButton : public KivButtonBase {
    Q_OBJECT
  public:
    explicit CKivButton(QWidget* parent = nullptr, int controlId = 0);

    // Any picture may be null; a state whose picture is missing draws none.
    void setImages(const SkinImage& normal, const SkinImage& over, const SkinImage& down,
                   const SkinImage& disabled);
    const QImage& normalImage() const { return normal.image(); }
    const QImage& overImage() const { return over.image(); }
    const QImage& downImage() const { return down.image(); }
    const QImage& disabledImage() const { return disabled.image(); }

    void setCaption(const QString& text);
    const QString& caption() const { return captionText; }

    void setLatched(bool latched);
    bool isLatched() const { return latched; }

    void setCaptionColor(const QColor& color);
    void setLatchedCaptionColor(const QColor& color);
    QColor captionColor() const { return captionColour; }
    QColor latchedCaptionColor() const { return latchedCaptionColour; }

    void setCaptionFont(const QFont& font);
    const QFont& captionFont() const { return font; }

    // The picture and caption colour the button draws right now.
    const QImage* currentImage() const;
    QColor currentCaptionColor() const;

  protected:
    void hoverEntered() override;
    void paintEvent(QPaintEvent* event) override;

  private:
    SkinImage normal;
    SkinImage over;
    SkinImage down;
    SkinImage disabled;
    QString captionText;
    QFont font;
    QColor captionColour;
    QColor latchedCaptionColour;
    bool latched = false;
};

}  // namespace orvane
