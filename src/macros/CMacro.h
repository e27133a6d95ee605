#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "macros/CEventItem.h"
#include "macros/MacroEditorView.h"
#include "macros/MacroRect.h"

namespace orvane {

// Modes of CMacro::addEvent.
inline constexpr int kAppendEvent = 0;
inline constexpr int kInsertAfterSelected = 1;

// Height of one step row in the event editor; rows follow without a gap.
inline constexpr std::int32_t kEventRowHeight = 18;

// One user macro: a name and an ordered list of steps, laid out as rows of
// the event editor that shows it.
class CMacro {
  public:
    // The editor's client rectangle when the macro was created; its right
    // edge sets the row width, its bottom edge when the editor must scroll.
    MacroRect layoutRect;
    std::int32_t id = 0;
    // Exactly as typed and as the files hold it, unpaired surrogates and all.
    std::u16string name;
    std::vector<CEventItem> events;
    // The editor showing this macro, or none; it receives the scroll requests.
    MacroEditorView* editor = nullptr;

    // Adds a step and selects it. kInsertAfterSelected puts it after the
    // selected step, or in front of all steps when none is selected; any
    // other mode appends.
    void addEvent(std::uint8_t type, std::uint16_t code, std::uint8_t state, std::uint32_t delay,
                  int mode);
    // Removes the first selected step and selects its successor, or the first
    // step when it was the last one. Nothing happens without a selection.
    void deleteSelectedEvent();
    void clearEvents();
    // Puts every step on the row of its list position, and asks the editor
    // to scroll when the last row ends below the layout rectangle.
    void layoutEvents();
    // Makes the first step whose row contains the point the only selected
    // one; false (and nothing changed) when no row contains it.
    bool selectEventAt(std::int32_t x, std::int32_t y);
};

// True for a macro with steps none of which releases anything: the mouse
// then holds the keys for as long as the button is held. False for no macro.
bool isHoldMacro(const CMacro* macro);

}  // namespace orvane
