#include "profile/ProfileFile.h"

#include <string>

#include "profile/FileIO.h"

namespace orvane {

namespace {

void putColour(DataStream& stream, std::uint32_t colour) {
    stream.putDecimal(static_cast<std::int32_t>(colour));
}

std::uint32_t getColour(DataStream& stream) {
    return static_cast<std::uint32_t>(stream.getDecimal());
}

void putMacro(DataStream& stream, const ButtonMacro& macro) {
    stream.putU32(macro.id);
    stream.putText(macro.name);
    stream.putU32(static_cast<std::uint32_t>(macro.events.size()));
    for (const CMacroEvent& event : macro.events) {
        stream.putU8(event.type);
        stream.putU16(event.code);
        stream.putU8(event.state);
        stream.putU32(event.delay);
    }
}

constexpr std::uint32_t kEventBytes = 8;

void getMacro(DataStream& stream, ButtonMacro& macro) {
    macro.events.clear();
    macro.id = stream.getU32();
    macro.name = stream.getText();
    const std::uint32_t count = stream.getU32();
    if (count == 0 || (count & 0x80000000U) != 0) {
        return;
    }
    // A count that runs past the end is a damaged file, not a long macro.
    if (!stream.require(std::uint64_t{count} * kEventBytes)) {
        return;
    }
    macro.events.resize(count);
    for (CMacroEvent& event : macro.events) {
        event.type = stream.getU8();
        event.code = stream.getU16();
        event.state = stream.getU8();
        event.delay = stream.getU32();
    }
}

}  // namespace

void writeProfile(const MouseProfile& profile, DataStream& stream) {
    for (std::uint8_t byte : kProfileFileTag) {
        stream.putU8(byte);
    }
    stream.putText(profile.name);
    stream.putU32(profile.enabled);
    stream.putU16(profile.reservedWord);
    stream.putU16(profile.pollingInterval);
    stream.putU16(static_cast<std::uint16_t>(profile.doubleClickSetting));
    stream.putU16(static_cast<std::uint16_t>(profile.scrollLines));
    stream.putU32(profile.scrollByLines);
    stream.putU32(profile.scrollByPage);
    stream.putU32(profile.accelerationEnabled);
    stream.putU32(profile.dpiLevelAttribute);
    stream.putU32(profile.sensorAttribute);
    stream.putU8(profile.dpiLevelCount);
    stream.putU8(profile.activeDpiLevel);
    for (const DpiLevel& level : profile.dpiLevels) {
        stream.putU16(level.x);
        stream.putU16(level.y);
    }
    stream.putU8(profile.pointerSpeed);
    stream.putU32(profile.rippleControl);
    stream.putU32(profile.angleSnapping);
    stream.putU32(profile.liftOffDistance);
    stream.putU16(profile.surfaceQualityLevel);
    putColour(stream, profile.zoneColor1);
    putColour(stream, profile.zoneColor2);
    stream.putU32(profile.lightingBrightness);
    putColour(stream, profile.zoneColor3);
    putColour(stream, profile.zoneColor4);
    stream.putU32(profile.lightingZoneFlags);
    stream.putU32(profile.lightingEffect);
    stream.putU32(profile.reserved1);
    stream.putU32(profile.reserved2);
    stream.putU8(profile.reserved3);
    putColour(stream, profile.pickerColor);
    for (const ButtonAssignment& button : profile.buttons) {
        stream.putU8(button.buttonIndex);
        stream.putU8(button.function);
        stream.putU16(button.parameter);
    }
    for (const ButtonMacro& macro : profile.buttonMacros) {
        putMacro(stream, macro);
    }
}

bool readProfile(DataStream& stream, MouseProfile& profile) {
    for (std::uint8_t byte : kProfileFileTag) {
        if (stream.getU8() != byte || stream.failed()) {
            return false;
        }
    }
    // Parse into a copy so that a damaged file leaves the record as it was;
    // the copy also carries the fields the file does not hold.
    MouseProfile read = profile;
    read.name = stream.getText();
    read.enabled = stream.getU32();
    read.reservedWord = stream.getU16();
    read.pollingInterval = stream.getU16();
    read.doubleClickSetting = static_cast<std::int16_t>(stream.getU16());
    read.scrollLines = static_cast<std::int16_t>(stream.getU16());
    read.scrollByLines = stream.getU32();
    read.scrollByPage = stream.getU32();
    read.accelerationEnabled = stream.getU32();
    read.dpiLevelAttribute = stream.getU32();
    read.sensorAttribute = stream.getU32();
    read.dpiLevelCount = stream.getU8();
    read.activeDpiLevel = stream.getU8();
    for (DpiLevel& level : read.dpiLevels) {
        level.x = stream.getU16();
        level.y = stream.getU16();
    }
    read.pointerSpeed = stream.getU8();
    read.rippleControl = stream.getU32();
    read.angleSnapping = stream.getU32();
    read.liftOffDistance = stream.getU32();
    read.surfaceQualityLevel = stream.getU16();
    read.zoneColor1 = getColour(stream);
    read.zoneColor2 = getColour(stream);
    read.lightingBrightness = stream.getU32();
    read.zoneColor3 = getColour(stream);
    read.zoneColor4 = getColour(stream);
    read.lightingZoneFlags = stream.getU32();
    read.lightingEffect = stream.getU32();
    read.reserved1 = stream.getU32();
    read.reserved2 = stream.getU32();
    read.reserved3 = stream.getU8();
    read.pickerColor = getColour(stream);
    for (ButtonAssignment& button : read.buttons) {
        button.buttonIndex = stream.getU8();
        button.function = stream.getU8();
        button.parameter = stream.getU16();
    }
    for (ButtonMacro& macro : read.buttonMacros) {
        getMacro(stream, macro);
    }
    if (stream.failed()) {
        return false;
    }
    profile = std::move(read);
    return true;
}

bool saveProfile(const std::filesystem::path& path, const MouseProfile& profile) {
    DataStream stream = DataStream::forWriting();
    writeProfile(profile, stream);
    return writeWholeFile(path, stream);
}

bool loadProfile(const std::filesystem::path& path, MouseProfile& profile) {
    DataStream stream;
    return readWholeFile(path, stream) && readProfile(stream, profile);
}

std::filesystem::path slotFileName(std::size_t slot) {
    return "Default" + std::to_string(slot + 1) + ".profile";
}

std::u16string proposedExportName(const MouseProfile& profile) {
    return profile.name + u".profile";
}

std::filesystem::path exportPathFor(const std::filesystem::path& chosen) {
    // The extension is what follows the last "." of the file name, so that
    // ".profile" itself counts as having one.
    const std::string fileName = chosen.filename().string();
    const std::size_t dot = fileName.rfind('.');
    if (dot != std::string::npos && fileName.compare(dot + 1, std::string::npos, "profile") == 0) {
        return chosen;
    }
    std::filesystem::path withExtension = chosen;
    withExtension += ".profile";
    return withExtension;
}

}  // namespace orvane
