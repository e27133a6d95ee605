#pragma once

#include "macros/MacroRect.h"

namespace orvane {

// What the macro model needs from the event editor that shows it. The model
// keeps only a plain pointer: the editor owns the collection, so it outlives
// every macro in it.
class MacroEditorView {
  public:
    virtual ~MacroEditorView() = default;

    // Bring the row at this index into view.
    virtual void scrollToRow(int index) = 0;
    // The rows have grown past the bottom of the editor: extend the scroll
    // range to this last index and show it.
    virtual void scrollToEnd(int lastIndex) = 0;
    virtual void repaint() = 0;
    // The editor's client rectangle, which a new macro takes as its layout.
    virtual MacroRect clientRect() const = 0;

  protected:
    MacroEditorView() = default;
    MacroEditorView(const MacroEditorView&) = default;
    MacroEditorView& operator=(const MacroEditorView&) = default;
};

}  // namespace orvane
