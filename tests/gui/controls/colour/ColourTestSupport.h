#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <string>
#include <vector>

#include "controls/HxColorListener.h"

namespace orvane::test {

// One received notification, with the name of whoever received it, so that
// tests can check the order in which receivers hear a change.
struct Heard {
    std::string receiver;
    QWidget* sender;
    int controlId;
    std::uint32_t value;
};

using Journal = std::vector<Heard>;

// A page stand-in: the parent of the colour windows, listening to them.
class ListeningPage : public QWidget, public HxColorListener {
  public:
    explicit ListeningPage(Journal* journal = nullptr, long answer = 0)
        : journal(journal != nullptr ? journal : &own), answer(answer) {
        resize(400, 300);
    }

    long colorChanged(const HxColorChange& change) override {
        journal->push_back({"page", change.sender, change.controlId, change.value});
        return answer;
    }

    const Journal& heard() const { return *journal; }
    void forget() { journal->clear(); }

  private:
    Journal own;
    Journal* journal;
    long answer;
};

inline QImage grabbed(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QColor pixel(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

}  // namespace orvane::test
