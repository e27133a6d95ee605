#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <memory>
#include <vector>

#include "controls/CKivImageDialog.h"
#include "skins/SkinFaces.h"
#include "skins/SkinLayout.h"

class QWidget;

namespace orvane::gallery {

// A small window showing the piece of a page (or window) background around
// one control, with controls placed at their own layout rectangles, so that
// each control is seen on the picture it sits on in the application.
class Stage {
  public:
    static constexpr int kDefaultMargin = 12;

    // `focus` is in the background sheet's pixels; the crop is `focus` grown
    // by `margin` and kept inside the sheet.
    Stage(int backgroundPart, const layout::Rect& focus, int margin = kDefaultMargin);
    ~Stage();

    QWidget* host() const { return window.get(); }
    // A layout rectangle in the host's pixels.
    QRect local(const layout::Rect& rect) const;

    template <typename Control, typename... Args>
    Control* place(const layout::Rect& rect, Args&&... args) {
        auto* control = new Control(window.get(), std::forward<Args>(args)...);
        control->setGeometry(local(rect));
        control->show();
        return control;
    }

    // The host and any pop-ups shown over it, composed as on the screen.
    QImage grab(const std::vector<QWidget*>& popups = {}) const;

  private:
    std::unique_ptr<CKivImageDialog> window;
    QPoint origin;
};

// What the pointer does, delivered straight to the widget.
void hover(QWidget& widget);
void pressLeft(QWidget& widget);
void releaseLeft(QWidget& widget);
void clickLeft(QWidget& widget);
void moveTo(QWidget& widget, QPoint local);

// Lets queued work, layout and painting happen.
void settle();

// A window grab with the pop-ups painted where they are on the screen; the
// picture covers all of them.
QImage composeOnScreen(QWidget& window, const std::vector<QWidget*>& popups);

}  // namespace orvane::gallery
