#include "profile/MouseProfile.h"

#include <utility>

#include "buttons/ButtonFunction.h"

namespace orvane {

void resetToDefaults(MouseProfile& profile) {
    MouseProfile fresh;
    fresh.filePath = std::move(profile.filePath);
    fresh.buttonMacros = std::move(profile.buttonMacros);
    fresh.reserved1 = profile.reserved1;
    fresh.reserved2 = profile.reserved2;
    fresh.reserved3 = profile.reserved3;
    profile = std::move(fresh);
}

void assignMacro(MouseProfile& profile, ButtonAssignment& assignment,
                 std::optional<ButtonMacro> macro) {
    if (!macro) {
        assignment.function = assignment.defaultFunction;
        assignment.parameter = 0;
        return;
    }
    if (assignment.function != static_cast<std::uint8_t>(ButtonFunction::Macro) ||
        assignment.buttonIndex >= kButtonCount) {
        return;
    }
    profile.buttonMacros[assignment.buttonIndex] = std::move(*macro);
}

const ButtonMacro* buttonMacroFor(const MouseProfile& profile, const ButtonAssignment& assignment) {
    if (assignment.buttonIndex >= kButtonCount) {
        return nullptr;
    }
    return &profile.buttonMacros[assignment.buttonIndex];
}

std::u16string buttonMacroName(const MouseProfile& profile, const ButtonAssignment& assignment) {
    const ButtonMacro* macro = buttonMacroFor(profile, assignment);
    return macro != nullptr ? macro->name : std::u16string();
}

}  // namespace orvane
