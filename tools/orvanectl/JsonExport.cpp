#include "JsonExport.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>

#include "profile/TextCodec.h"

namespace orvanectl {

using nlohmann::ordered_json;
using orvane::toUtf8;

namespace {

ordered_json rectToJson(const orvane::MacroRect& rect) {
    return {{"left", rect.left}, {"top", rect.top}, {"right", rect.right}, {"bottom", rect.bottom}};
}

}  // namespace

ordered_json profileToJson(const orvane::MouseProfile& p) {
    ordered_json levels = ordered_json::array();
    for (const orvane::DpiLevel& level : p.dpiLevels) {
        levels.push_back({{"x", level.x}, {"y", level.y}});
    }
    ordered_json buttons = ordered_json::array();
    for (const orvane::ButtonAssignment& button : p.buttons) {
        buttons.push_back({{"buttonIndex", button.buttonIndex},
                           {"function", button.function},
                           {"parameter", button.parameter}});
    }
    ordered_json macros = ordered_json::array();
    for (const orvane::ButtonMacro& macro : p.buttonMacros) {
        ordered_json events = ordered_json::array();
        for (const orvane::CMacroEvent& event : macro.events) {
            events.push_back({{"type", event.type},
                              {"code", event.code},
                              {"state", event.state},
                              {"delay", event.delay}});
        }
        macros.push_back({{"id", macro.id}, {"name", toUtf8(macro.name)}, {"events", events}});
    }
    return {
        {"name", toUtf8(p.name)},
        {"enabled", p.enabled},
        {"reservedWord", p.reservedWord},
        {"pollingInterval", p.pollingInterval},
        {"doubleClickSetting", p.doubleClickSetting},
        {"scrollLines", p.scrollLines},
        {"scrollByLines", p.scrollByLines},
        {"scrollByPage", p.scrollByPage},
        {"accelerationEnabled", p.accelerationEnabled},
        {"dpiLevelAttribute", p.dpiLevelAttribute},
        {"sensorAttribute", p.sensorAttribute},
        {"dpiLevelCount", p.dpiLevelCount},
        {"activeDpiLevel", p.activeDpiLevel},
        {"dpiLevels", levels},
        {"pointerSpeed", p.pointerSpeed},
        {"rippleControl", p.rippleControl},
        {"angleSnapping", p.angleSnapping},
        {"liftOffDistance", p.liftOffDistance},
        {"surfaceQualityLevel", p.surfaceQualityLevel},
        {"zoneColor1", p.zoneColor1},
        {"zoneColor2", p.zoneColor2},
        {"lightingBrightness", p.lightingBrightness},
        {"zoneColor3", p.zoneColor3},
        {"zoneColor4", p.zoneColor4},
        {"lightingZoneFlags", p.lightingZoneFlags},
        {"lightingEffect", p.lightingEffect},
        {"reserved1", p.reserved1},
        {"reserved2", p.reserved2},
        {"reserved3", p.reserved3},
        {"pickerColor", p.pickerColor},
        {"buttons", buttons},
        {"buttonMacros", macros},
    };
}

namespace {

ordered_json eventToJson(const orvane::CEventItem& event) {
    return {{"type", event.type},
            {"code", event.code},
            {"state", event.state},
            {"delay", event.delay},
            {"rowRect", rectToJson(event.rowRect)},
            {"selected", event.selected},
            {"id", event.id}};
}

ordered_json macroWithSteps(const orvane::CMacro& macro, ordered_json events) {
    return {{"name", toUtf8(macro.name)},
            {"id", macro.id},
            {"layoutRect", rectToJson(macro.layoutRect)},
            {"events", std::move(events)}};
}

// Writes `text` with every line after the first moved right by `indent`.
void writeIndented(const std::string& text, std::string_view indent, std::ostream& out) {
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         end = text.find('\n', start)) {
        out.write(text.data() + start, static_cast<std::streamsize>(end + 1 - start));
        out << indent;
        start = end + 1;
    }
    out.write(text.data() + start, static_cast<std::streamsize>(text.size() - start));
}

}  // namespace

ordered_json macroToJson(const orvane::CMacro& macro) {
    ordered_json events = ordered_json::array();
    for (const orvane::CEventItem& event : macro.events) {
        events.push_back(eventToJson(event));
    }
    return macroWithSteps(macro, std::move(events));
}

void writeMacroJson(const orvane::CMacro& macro, std::ostream& out) {
    // The macro with an empty step list, printed as the whole tree would be;
    // the steps go into that list one at a time, each at the depth the tree
    // would have given it.
    const std::string frame = macroWithSteps(macro, ordered_json::array()).dump(2);
    const std::size_t emptyList = frame.rfind("[]");
    if (macro.events.empty() || emptyList == std::string::npos) {
        out << frame;
        return;
    }
    constexpr std::string_view kStepIndent = "    ";
    out.write(frame.data(), static_cast<std::streamsize>(emptyList + 1));
    bool first = true;
    for (const orvane::CEventItem& event : macro.events) {
        out << (first ? "\n" : ",\n") << kStepIndent;
        writeIndented(eventToJson(event).dump(2), kStepIndent, out);
        first = false;
    }
    out << "\n  ]" << std::string_view(frame).substr(emptyList + 2);
}

ordered_json profileDataToJson(const ProfileData& data, const ProgramTexts& texts) {
    ordered_json values = ordered_json::array();
    for (std::size_t i = 0; i < std::size(data.dpi.values); ++i) {
        values.push_back(static_cast<std::uint16_t>(data.dpi.values[i]));  // packed: by value
    }
    ordered_json buttons = ordered_json::array();
    for (std::size_t i = 0; i < std::size(data.buttons); ++i) {
        const ButtonSetting& button = data.buttons[i];
        ordered_json entry = {
            {"button", button.button}, {"type", button.type},           {"sub", button.sub},
            {"value", button.value},   {"parameter", button.parameter}, {"count", button.count}};
        if (button.type == 19) {
            ordered_json events = ordered_json::array();
            const std::size_t count = std::min<std::size_t>(button.count, std::size(button.events));
            for (std::size_t e = 0; e < count; ++e) {
                const ButtonEvent& event = button.events[e];
                events.push_back({{"type", event.type},
                                  {"code", event.code},
                                  {"state", event.state},
                                  {"delay", event.delay}});
            }
            entry["events"] = events;
        }
        if (button.type == 25 && (button.sub == 1 || button.sub == 6)) {
            const std::size_t length = std::min<std::size_t>(texts.lengths[i], 1024);
            const std::string text(reinterpret_cast<const char*>(texts.texts[i]), length);
            entry["text"] = toUtf8(orvane::fromUtf8(text));  // invalid bytes become U+FFFD
        }
        buttons.push_back(entry);
    }
    ordered_json lighting = ordered_json::array();
    for (std::uint8_t byte : data.lighting) {
        lighting.push_back(byte);
    }
    return {{"profileByte", data.profileByte},
            {"pollingRate", data.pollingRate},
            {"responseTime", data.responseTime},
            {"angleSnapping", data.angleSnapping},
            {"liftOff", data.liftOff},
            {"dpi", {{"first", data.dpi.first}, {"second", data.dpi.second}, {"values", values}}},
            {"lightingMode", data.lightingMode},
            {"lighting", lighting},
            {"brightness", data.brightness},
            {"lightingFlag", data.lightingFlag},
            {"lightingOption", data.lightingOption},
            {"buttons", buttons}};
}

}  // namespace orvanectl
