#pragma once

#include <QWidget>
#include <utility>
#include <vector>

#include "controls/ControlSink.h"

namespace orvane::test {

// A page stand-in that remembers every (identifier, value) it hears.
class RecordingSink : public QWidget, public ControlSink {
  public:
    RecordingSink() { resize(1400, 400); }

    void controlNotified(int id, int value) override { heard.emplace_back(id, value); }

    std::vector<std::pair<int, int>> heard;
};

}  // namespace orvane::test
