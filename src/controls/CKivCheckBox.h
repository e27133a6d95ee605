#pragma once

#include <QImage>

#include "controls/KivButtonBase.h"
#include "skins/SkinCache.h"

namespace orvane {

// Skinned check box: pictures only, no caption. The ticked flag changes before
// the owner hears the click, so a click handler reads the new state.
class CKivCheckBox : public KivButtonBase {
    Q_OBJECT
  public:
    explicit CKivCheckBox(QWidget* parent = nullptr, int controlId = 0);

    void setImages(const SkinImage& unticked, const SkinImage& over, const SkinImage& ticked,
                   const SkinImage& disabled);

    void setTicked(bool ticked);
    bool isTicked() const { return ticked; }

    const QImage* currentImage() const;

  protected:
    void clicked() override;
    void paintEvent(QPaintEvent* event) override;

  private:
    SkinImage unticked;
    SkinImage over;
    SkinImage tickedImage;
    SkinImage disabled;
    bool ticked = false;
};

}  // namespace orvane
