#pragma once

#include <QColor>
#include <QPalette>
#include <QPoint>
#include <QRect>

class QPainter;

namespace orvane {

// Sunken frames and triangular markers of the colour windows. The "system"
// colours come from a palette: Dark is the button shadow, Light the button
// highlight, Button the face, Window and WindowText the marker colours.
//
// The application is dark-skinned, so the colour windows do not take the
// desktop's palette but defaultPalette(), which sits the windows on the
// lighting page's graphite panels.
class HxDrawHelper {
  public:
    // Style bits of a frame.
    static constexpr int kSunken = 0x2;      // shadow top and left, highlight bottom and right
    static constexpr int kInnerBlack = 0x4;  // a black rectangle one pixel inside
    static constexpr int kSunkenBlack = kSunken | kInnerBlack;

    // Marker directions: where the tip points.
    enum Direction {
        kLeft = 1,
        kUp = 2,
        kRight = 3,
        kDown = 4,
        kUpLeft = 5,
        kUpRight = 6,
        kDownRight = 7,
        kDownLeft = 8,
    };

    explicit HxDrawHelper(const QPalette& palette = defaultPalette());
    virtual ~HxDrawHelper();

    // The frame on the outermost pixels of rect.
    virtual void drawFrameAround(QPainter& painter, const QRect& rect, int style) const;

    // The frame on the outermost pixels of the area from (left, top) up to but
    // not including (right, bottom).
    virtual void drawFrame(QPainter& painter, int left, int top, int right, int bottom,
                           int style) const;

    // A triangle whose tip is at the pixel tip; size s gives a base of 2(s - 1)
    // pixels at s - 1 pixels behind the tip. Diagonal markers are the same
    // triangle turned by 45 degrees. Unknown directions draw nothing.
    virtual void drawTriangle(QPainter& painter, QPoint tip, int direction, int size,
                              QColor outline, QColor fill) const;

    const QPalette& palette() const { return colours; }

    // Button face = the page's panel colour, shadow darker than the graphite
    // background, highlight the panels' edge colour lifted a little so that
    // a sunken frame still reads on the dark page; Window is the graphite
    // background and WindowText the caption grey, so markers are light
    // outlines over a dark body.
    static QPalette defaultPalette();

  private:
    QPalette colours;
};

}  // namespace orvane
