#pragma once

#include <QTest>
#include <QWidget>
#include <functional>
#include <vector>

#include "controls/ControlSink.h"

namespace orvane::test {

// What an owner heard, in order: (id, value) notifications and clicks
// (recorded with value kClick).
struct Heard {
    int id;
    int value;
    bool operator==(const Heard&) const = default;
};

inline constexpr int kClick = -9999;

// Moves the pointer onto a point of the widget by way of a neighbouring point,
// so that a move event arrives even when the pointer rests there already.
inline void moveOnto(QWidget* widget, QPoint point) {
    QTest::mouseMove(widget, point + QPoint(1, 1));
    QTest::mouseMove(widget, point);
}

// A page stand-in: a widget that owns skinned controls and records what they
// report. The hooks run while the control waits for the owner to return.
class RecordingSink : public QWidget, public ControlSink {
  public:
    explicit RecordingSink(QWidget* parent = nullptr) : QWidget(parent) { resize(400, 300); }

    void controlNotified(int id, int value) override {
        heard.push_back({id, value});
        if (onNotified) {
            onNotified(id, value);
        }
    }
    void controlClicked(int id) override {
        heard.push_back({id, kClick});
        if (onClicked) {
            onClicked(id);
        }
    }

    int count(const Heard& what) const {
        int n = 0;
        for (const Heard& h : heard) {
            n += h == what ? 1 : 0;
        }
        return n;
    }

    std::vector<Heard> heard;
    std::function<void(int, int)> onNotified;
    std::function<void(int)> onClicked;
};

}  // namespace orvane::test
