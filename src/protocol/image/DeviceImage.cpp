#include "protocol/image/DeviceImage.h"

#include <algorithm>
#include <span>
#include <string>

#include "buttons/ButtonFunction.h"
#include "profile/TextCodec.h"

namespace orvane {

namespace {

using ImageBytes = std::array<std::uint8_t, kDeviceImageSize>;

constexpr std::uint32_t kZoneABit = 1U << 0;
constexpr std::uint32_t kZoneCBit = 1U << 1;
constexpr std::uint32_t kZoneDBit = 1U << 2;
constexpr std::uint32_t kZoneBBit = 1U << 3;

std::uint8_t lowByte(std::uint32_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

void putLittleEndian(ImageBytes& bytes, std::size_t offset, std::size_t width,
                     std::uint32_t value) {
    for (std::size_t i = 0; i < width; ++i) {
        bytes[offset + i] = lowByte(value >> (8 * i));
    }
}

// Brightness steps 1 to 4 dim the light; anything else, 5 included, is full.
std::uint32_t brightnessPercent(std::uint32_t step) {
    switch (step) {
        case 1:
            return 0;
        case 2:
            return 25;
        case 3:
            return 50;
        case 4:
            return 75;
        default:
            return 100;
    }
}

// Integer arithmetic so that the truncation is exact: 255 at 25 % is 63.
void writeZone(ImageBytes& bytes, std::size_t offset, std::uint32_t colour, bool lit,
               std::uint32_t percent, std::uint32_t effect) {
    for (std::size_t channel = 0; channel < 3; ++channel) {
        const std::uint32_t value = lit ? lowByte(colour >> (8 * channel)) : 0;
        bytes[offset + channel] = static_cast<std::uint8_t>(value * percent / 100);
    }
    bytes[offset + 3] = lowByte(effect);
}

// The field holds 15 bytes of name and always its terminator; the code page
// has one byte per character, so any cut falls between characters.
void writeName(ImageBytes& bytes, const std::u16string& name) {
    const std::string ansi = toWindows1252(name);
    const std::size_t length = std::min(ansi.size(), kNameFieldSize - 1);
    std::copy_n(ansi.begin(), length, bytes.begin() + kNameOffset);
}

void writeLighting(ImageBytes& bytes, const MouseProfile& profile) {
    const std::uint32_t percent = brightnessPercent(profile.lightingBrightness);
    const std::uint32_t flags = profile.lightingZoneFlags;
    const std::uint32_t effect = profile.lightingEffect;
    bytes[kBrightnessOffset] = static_cast<std::uint8_t>(percent);
    // Only the wheel and logo zones follow the brightness step.
    writeZone(bytes, kZoneAOffset, profile.zoneColor1, (flags & kZoneABit) != 0, percent, effect);
    writeZone(bytes, kZoneBOffset, profile.zoneColor4, (flags & kZoneBBit) != 0, percent, effect);
    writeZone(bytes, kZoneCOffset, profile.zoneColor2, (flags & kZoneCBit) != 0, 100, effect);
    for (const std::size_t offset : kZoneDOffsets) {
        writeZone(bytes, offset, profile.zoneColor3, (flags & kZoneDBit) != 0, 100, effect);
    }
}

void writeDpiLevels(ImageBytes& bytes, const MouseProfile& profile) {
    for (std::size_t level = 0; level < kDpiLevelCount; ++level) {
        const std::size_t offset = kDpiLevelOffsets[level];
        bytes[offset] = lowByte(profile.dpiLevelAttribute);
        putLittleEndian(bytes, offset + 1, 2, profile.dpiLevels[level].x);
        putLittleEndian(bytes, offset + 3, 2, profile.dpiLevels[level].x);
    }
}

void writeButtons(DeviceImage& image, const MouseProfile& profile) {
    const auto macroButtons = std::count_if(
        profile.buttons.begin(), profile.buttons.end(), [](const ButtonAssignment& button) {
            return button.function == static_cast<std::uint8_t>(ButtonFunction::Macro);
        });
    MacroAreaWriter macroArea(image.bytes, kMacroAreaOffset,
                              static_cast<std::size_t>(macroButtons));
    for (std::size_t b = 0; b < kButtonCount; ++b) {
        const ButtonAssignment& button = profile.buttons[b];
        const std::size_t offset = kButtonTableOffset + kButtonEntryOfButton[b] * kButtonEntrySize;
        const std::span<std::uint8_t, kButtonEntrySize> entry(image.bytes.data() + offset,
                                                              kButtonEntrySize);
        const ButtonMacro* macro = buttonMacroFor(profile, button);
        const MacroFill fill = encodeButtonFunction(button, macro, entry, macroArea);
        if (fill == MacroFill::Shortened) {
            image.shortenedMacroButtons.push_back(button.buttonIndex);
        }
        if (fill != MacroFill::NotMacro && macro != nullptr) {
            // Entry bytes 4-5: the steps that really went into the image.
            const std::size_t written = std::min<std::size_t>(
                static_cast<std::size_t>(entry[4] | (entry[5] << 8)), macro->events.size());
            for (std::size_t step = 0; step < written; ++step) {
                if (macro->events[step].delay > kLongestMacroDelayMs) {
                    image.cutMacroDelays.push_back(
                        {button.buttonIndex, step, macro->events[step].delay});
                }
            }
        }
    }
}

}  // namespace

DeviceImage buildDeviceImage(const MouseProfile& profile) {
    DeviceImage image;
    ImageBytes& bytes = image.bytes;
    bytes[kSlotIndexOffset] = profile.slotIndex;
    writeName(bytes, profile.name);
    putLittleEndian(bytes, kImageSizeOffset, 4, kDeviceImageSize);
    bytes[kPollingIntervalOffset] = lowByte(profile.pollingInterval);
    bytes[kEnabledOffset] = lowByte(profile.enabled);
    writeLighting(bytes, profile);
    bytes[kActiveDpiLevelOffset] = profile.activeDpiLevel;
    writeDpiLevels(bytes, profile);
    bytes[kLiftOffDistanceOffset] = lowByte(profile.liftOffDistance);
    bytes[kAngleSnappingOffset] = lowByte(profile.angleSnapping);
    bytes[kDpiLevelCountOffset] = profile.dpiLevelCount;
    bytes[kSensorAttributeOffset] = lowByte(profile.sensorAttribute);
    bytes[kRippleControlOffset] = lowByte(profile.rippleControl);
    writeButtons(image, profile);
    return image;
}

}  // namespace orvane
