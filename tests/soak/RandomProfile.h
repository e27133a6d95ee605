#pragma once

// Profiles as a user could make them on the pages: every value one the
// pages offer, drawn at random, so that consecutive Applies write images
// that differ in both halves.

#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "profile/MouseProfile.h"

namespace orvane::soak {

inline std::u16string randomName(std::mt19937& random) {
    static constexpr char16_t kLetters[] = u"abcdefghijklmnopqrstuvwxyz ABCXYZ0123456789";
    std::uniform_int_distribution<std::size_t> length(1, 15);
    std::uniform_int_distribution<std::size_t> letter(0, std::size(kLetters) - 2);
    std::u16string name;
    for (std::size_t n = length(random); n > 0; --n) {
        name += kLetters[letter(random)];
    }
    return name;
}

inline MouseProfile randomProfile(std::mt19937& random, std::uint8_t slot) {
    auto pick = [&random](auto low, auto high) {
        return static_cast<decltype(low)>(
            std::uniform_int_distribution<long long>(low, high)(random));
    };
    static constexpr std::array<std::uint16_t, 4> kIntervals = {1, 2, 4, 8};
    MouseProfile profile;
    profile.slotIndex = slot;
    profile.name = randomName(random);
    profile.pollingInterval = kIntervals[pick(0U, 3U)];
    profile.dpiLevelCount = pick(std::uint8_t{1}, std::uint8_t{5});
    profile.activeDpiLevel = pick(std::uint8_t{1}, profile.dpiLevelCount);
    for (DpiLevel& level : profile.dpiLevels) {
        level.x = level.y = static_cast<std::uint16_t>(pick(2, 380) * 50);
    }
    profile.liftOffDistance = pick(1U, 2U);
    profile.angleSnapping = pick(0U, 1U);
    profile.rippleControl = pick(0U, 1U);
    profile.lightingBrightness = pick(1U, 5U);
    profile.lightingZoneFlags = pick(0U, 0x1FU);
    profile.lightingEffect = pick(0U, 4U);
    profile.zoneColor1 = pick(0U, 0xFFFFFFU);
    profile.zoneColor2 = pick(0U, 0xFFFFFFU);
    profile.zoneColor3 = pick(0U, 0xFFFFFFU);
    profile.zoneColor4 = pick(0U, 0xFFFFFFU);
    for (std::size_t b = 2; b < kButtonCount; ++b) {
        ButtonAssignment& button = profile.buttons[b];
        switch (pick(0, 3)) {
            case 0:  // a key
                button.function = 13;
                button.parameter = pick(std::uint16_t{0x41}, std::uint16_t{0x5A});
                break;
            case 1: {  // a macro of a few steps
                const auto id = static_cast<std::uint32_t>(100 + b);
                button.function = 14;
                button.parameter = static_cast<std::uint16_t>(id);
                ButtonMacro macro{randomName(random), id, {}};
                for (int step = pick(0, 12); step > 0; --step) {
                    const auto key = pick(std::uint16_t{0x41}, std::uint16_t{0x5A});
                    macro.events.push_back({1, key, 0, pick(0U, 5000U)});
                    macro.events.push_back({1, key, 1, pick(0U, 5000U)});
                }
                profile.buttonMacros[b] = macro;
                break;
            }
            case 2:
                button.function = pick(std::uint8_t{5}, std::uint8_t{12});
                break;
            default:
                break;  // keeps its own function
        }
    }
    return profile;
}

}  // namespace orvane::soak
