#include "macros/CMacro.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <optional>

namespace orvane {

namespace {

// Rectangles may come from a file and hold any value, so row arithmetic is
// done in 64 bits and wrapped back, never overflowed.
std::int32_t wrap(std::int64_t value) {
    return static_cast<std::int32_t>(value);
}

int rowIndex(std::size_t index) {
    return static_cast<int>(std::min<std::size_t>(index, INT_MAX));
}

std::optional<std::size_t> firstSelected(const std::vector<CEventItem>& events) {
    const auto found = std::find_if(events.begin(), events.end(),
                                    [](const CEventItem& event) { return event.selected != 0; });
    if (found == events.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(std::distance(events.begin(), found));
}

}  // namespace

void CMacro::addEvent(std::uint8_t type, std::uint16_t code, std::uint8_t state,
                      std::uint32_t delay, int mode) {
    std::uint32_t largestId = 0;
    for (const CEventItem& event : events) {
        largestId = std::max(largestId, event.id);
    }
    CEventItem item;
    item.selected = 1;
    item.id = largestId + 1;  // step ids only number new steps; wrapping harms nothing
    item.type = type;
    item.code = code;
    item.state = state;
    item.delay = delay;

    std::size_t position = events.size();
    if (mode == kInsertAfterSelected) {
        if (const auto selected = firstSelected(events)) {
            position = *selected + 1;
        } else if (!events.empty()) {
            // Without a selection the recording goes to the front: that is
            // where "start record before event" on the first step leaves it.
            position = 0;
        }
    }
    for (CEventItem& event : events) {
        event.selected = 0;
    }
    events.insert(events.begin() + static_cast<std::ptrdiff_t>(position), item);
    layoutEvents();
    if (editor != nullptr) {
        editor->scrollToRow(rowIndex(position));
    }
}

void CMacro::deleteSelectedEvent() {
    const auto selected = firstSelected(events);
    if (!selected) {
        return;
    }
    const std::size_t index = *selected;
    events.erase(events.begin() + static_cast<std::ptrdiff_t>(index));
    for (std::size_t i = index; i < events.size(); ++i) {
        MacroRect& row = events[i].rowRect;
        row.top = wrap(std::int64_t{row.top} - kEventRowHeight);
        row.bottom = wrap(std::int64_t{row.bottom} - kEventRowHeight);
    }
    if (index == events.size()) {
        if (events.empty()) {
            return;
        }
        events.front().selected = 1;
        if (editor != nullptr) {
            editor->scrollToRow(0);
        }
        return;
    }
    events[index].selected = 1;
}

void CMacro::clearEvents() {
    events.clear();
}

void CMacro::layoutEvents() {
    const std::int64_t right = std::int64_t{layoutRect.right} - 2;
    std::int64_t bottom = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const std::int64_t top = kEventRowHeight * static_cast<std::int64_t>(i) + 5;
        bottom = top + kEventRowHeight;
        events[i].rowRect = {4, wrap(top), wrap(right), wrap(bottom)};
    }
    if (!events.empty() && editor != nullptr && layoutRect.bottom - bottom < 0) {
        editor->scrollToEnd(rowIndex(events.size() - 1));
    }
}

bool CMacro::selectEventAt(std::int32_t x, std::int32_t y) {
    const auto hit = std::find_if(events.begin(), events.end(), [x, y](const CEventItem& event) {
        return event.rowRect.contains(x, y);
    });
    if (hit == events.end()) {
        return false;
    }
    for (CEventItem& event : events) {
        event.selected = 0;
    }
    hit->selected = 1;
    return true;
}

bool isHoldMacro(const CMacro* macro) {
    if (macro == nullptr || macro->events.empty()) {
        return false;
    }
    // Only non-empty releases count, but a release is never empty (its state
    // is not 0), so the state alone decides.
    return std::none_of(macro->events.begin(), macro->events.end(),
                        [](const CEventItem& event) { return event.state == kReleased; });
}

}  // namespace orvane
