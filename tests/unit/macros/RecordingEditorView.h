#pragma once

#include <string>
#include <vector>

#include "macros/MacroEditorView.h"

namespace orvane::test {

// Stands in for the event editor and writes down every request in order:
// "row 2" (scrollToRow), "end 5" (scrollToEnd), "repaint".
class RecordingEditorView : public MacroEditorView {
  public:
    void scrollToRow(int index) override { requests.push_back("row " + std::to_string(index)); }
    void scrollToEnd(int lastIndex) override {
        requests.push_back("end " + std::to_string(lastIndex));
    }
    void repaint() override { requests.push_back("repaint"); }
    MacroRect clientRect() const override { return client; }

    MacroRect client{0, 0, 199, 197};
    std::vector<std::string> requests;
};

}  // namespace orvane::test
