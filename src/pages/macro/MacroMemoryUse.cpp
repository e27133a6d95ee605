#include "pages/macro/MacroMemoryUse.h"

#include "buttons/ButtonFunction.h"
#include "macros/MacroCollection.h"
#include "protocol/image/DeviceImage.h"

namespace orvane {

MacroMemoryUse macroMemoryUse(const MouseProfile& record, const MacroCollection& macros) {
    constexpr auto kMacro = static_cast<std::uint8_t>(ButtonFunction::Macro);
    MouseProfile next = record;
    for (ButtonAssignment& assignment : next.buttons) {
        if (assignment.function == kMacro) {
            assignMacro(next, assignment, macros.copyMacroForButton(assignment.parameter));
        }
    }
    const DeviceImage image = buildDeviceImage(next);

    MacroMemoryUse use;
    use.totalSlots = kMacroAreaSize / kMacroEventSize;
    for (std::size_t b = 0; b < kButtonCount; ++b) {
        const ButtonAssignment& assignment = next.buttons[b];
        if (assignment.function != kMacro) {
            continue;
        }
        const std::size_t entry = kButtonTableOffset + kButtonEntryOfButton[b] * kButtonEntrySize;
        const std::size_t offset = image.bytes[entry + 2] | (image.bytes[entry + 3] << 8);
        const std::size_t count = image.bytes[entry + 4] | (image.bytes[entry + 5] << 8);
        // A macro the area could not place at all has neither steps nor a
        // terminator there.
        if (offset != 0) {
            use.usedSlots += count + 1;
        }
        if (const ButtonMacro* macro = buttonMacroFor(next, assignment);
            macro != nullptr && macro->id == assignment.parameter &&
            macro->events.size() > kMaxMacroEventsPerButton) {
            use.overLongButtons.push_back(static_cast<int>(b));
        }
    }
    for (std::uint8_t button : image.shortenedMacroButtons) {
        use.shortenedButtons.push_back(button);
    }
    return use;
}

}  // namespace orvane
