#pragma once

#include <QDialog>
#include <QImage>

#include "controls/ControlSink.h"
#include "skins/SkinCache.h"

namespace orvane {

// Base of the main window, the pages and the pop-ups: a window whose look is
// one background picture and whose size follows that picture. Top-level by
// default (frameless, usable modally through exec()); pass Qt::Widget to use
// it as a page inside another window.
class CKivImageDialog : public QDialog, public ControlSink {
    Q_OBJECT
  public:
    static constexpr Qt::WindowFlags kTopLevelFlags = Qt::Dialog | Qt::FramelessWindowHint;

    explicit CKivImageDialog(QWidget* parent = nullptr, Qt::WindowFlags flags = kTopLevelFlags);

    // Takes the picture's size and keeps the top-left corner where it is. A
    // null picture leaves the size alone and draws nothing.
    void setBackground(const QImage& picture);
    // The same for a skin answer; a cache sheet is decoded when the window is
    // first painted, so windows that are built but not shown cost nothing.
    void setBackground(const SkinImage& picture);
    const QImage& background() const { return backgroundPicture.image(); }

    // The menu visibility reports go on upwards to the nearest owner above;
    // subclasses that dispatch other notifications call this for the rest.
    void controlNotified(int id, int value) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    SkinImage backgroundPicture;
};

}  // namespace orvane
