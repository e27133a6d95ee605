#include "emulator/MouseStateJson.h"

#include <stdexcept>

#include <nlohmann/json.hpp>

namespace orvane::emulator {

std::string toHex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * bytes.size());
    for (std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

namespace {

using nlohmann::json;
namespace pb = profile_block;

constexpr const char* kFormat = "orvane-emu-state";
constexpr unsigned kFormatVersion = 1;
constexpr const char* kApplicationMode = "application";
constexpr const char* kBootLoaderMode = "boot-loader";

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

[[noreturn]] void fail(const std::string& what) {
    throw std::invalid_argument(what);
}

const json& field(const json& object, const char* name) {
    if (!object.is_object() || !object.contains(name)) {
        fail(std::string("missing \"") + name + "\"");
    }
    return object.at(name);
}

unsigned number(const json& object, const char* name, unsigned max) {
    const json& value = field(object, name);
    if (!value.is_number_unsigned() || value.get<std::uint64_t>() > max) {
        fail(std::string("\"") + name + "\" is not a number from 0 to " + std::to_string(max));
    }
    return value.get<unsigned>();
}

bool flag(const json& object, const char* name) {
    const json& value = field(object, name);
    if (!value.is_boolean()) {
        fail(std::string("\"") + name + "\" is not true or false");
    }
    return value.get<bool>();
}

template <std::size_t N>
std::array<std::uint8_t, N> bytesFromHex(const json& value, const char* name) {
    if (!value.is_string() || value.get_ref<const std::string&>().size() != 2 * N) {
        fail(std::string("\"") + name + "\" is not " + std::to_string(N) + " bytes of hex");
    }
    const auto& text = value.get_ref<const std::string&>();
    std::array<std::uint8_t, N> bytes{};
    for (std::size_t i = 0; i < N; ++i) {
        const int high = hexDigit(text[2 * i]);
        const int low = hexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            fail(std::string("\"") + name + "\" holds a character that is not hex");
        }
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return bytes;
}

const json& list(const json& object, const char* name, std::size_t size) {
    const json& value = field(object, name);
    if (!value.is_array() || value.size() != size) {
        fail(std::string("\"") + name + "\" is not a list of " + std::to_string(size));
    }
    return value;
}

unsigned u16At(const Block& block, std::size_t offset) {
    return block[offset] | (block[offset + 1] << 8);
}

// Printable ASCII only: the name field is the application's code page, and
// JSON text must stay valid UTF-8.
std::string nameOf(const SlotImage& image) {
    std::string name;
    for (std::size_t i = 0; i < kNameFieldSize; ++i) {
        const std::uint8_t c = image[kNameOffset + i];
        if (c == 0) {
            break;
        }
        name += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    return name;
}

json describeSlot(const MouseMemory& memory, std::size_t slot) {
    const SlotImage& image = memory.slotImages[slot];
    return {{"slot", slot},
            {"name", nameOf(image)},
            {"activeDpiLevel", image[kActiveDpiLevelOffset]},
            {"image", toHex(image)}};
}

json describeProfile(const MouseMemory& memory, std::size_t number) {
    const LibraryProfile& profile = memory.profiles[number - 1];
    const Block& block = profile.block;
    json values = json::array();
    for (std::size_t i = 0; i < 10; ++i) {
        values.push_back(u16At(block, pb::kDpi + 2 + 2 * i));
    }
    json buttons = json::array();
    for (std::size_t button = 1; button <= kProfileButtonCount; ++button) {
        const std::size_t entry = pb::buttonEntry(button);
        buttons.push_back({{"button", button},
                           {"kind", block[entry]},
                           {"sub", block[entry + 1]},
                           {"first", u16At(block, entry + 2)},
                           {"second", u16At(block, entry + 4)},
                           {"trailing", block[entry + 6]}});
    }
    json dataBlocks = json::array();
    for (const Block& data : profile.dataBlocks) {
        dataBlocks.push_back(toHex(data));
    }
    return {
        {"profile", number},
        {"present", profile.present},
        {"pollingCode", block[pb::kPollingCode]},
        {"responseTime", block[pb::kResponseTime]},
        {"angleSnapping", block[pb::kAngleSnapping]},
        {"liftOff", block[pb::kLiftOff]},
        {"dpi", {{"first", block[pb::kDpi]}, {"second", block[pb::kDpi + 1]}, {"values", values}}},
        {"lightingMode", block[pb::kLightingMode]},
        {"lighting",
         toHex(std::span<const std::uint8_t>(block).subspan(pb::kLighting, pb::kLightingSize))},
        {"brightness", block[pb::kBrightness]},
        {"lightingFlag", block[pb::kLightingFlag]},
        {"lightingOption", block[pb::kLightingOption]},
        {"buttons", buttons},
        {"block", toHex(block)},
        {"dataBlocks", dataBlocks}};
}

json memoryToJson(const MouseMemory& memory) {
    json slots = json::array();
    for (const SlotImage& image : memory.slotImages) {
        slots.push_back(toHex(image));
    }
    json profiles = json::array();
    for (const LibraryProfile& profile : memory.profiles) {
        json dataBlocks = json::array();
        for (const Block& data : profile.dataBlocks) {
            dataBlocks.push_back(toHex(data));
        }
        profiles.push_back({{"present", profile.present},
                            {"block", toHex(profile.block)},
                            {"dataBlocks", dataBlocks}});
    }
    return {{"mode", memory.bootLoader ? kBootLoaderMode : kApplicationMode},
            {"firmwareVersion", memory.firmwareVersion},
            {"bootLoaderVersion", memory.bootLoaderVersion},
            {"releaseNumber", memory.releaseNumber},
            {"activeSlot", memory.activeSlot},
            {"surfaceQuality", memory.surfaceQuality},
            {"slots", slots},
            {"profiles", profiles}};
}

MouseMemory memoryFromJson(const json& object) {
    MouseMemory memory;
    const json& mode = field(object, "mode");
    if (mode == kApplicationMode) {
        memory.bootLoader = false;
    } else if (mode == kBootLoaderMode) {
        memory.bootLoader = true;
    } else {
        fail("\"mode\" is neither \"application\" nor \"boot-loader\"");
    }
    memory.firmwareVersion = static_cast<std::uint16_t>(number(object, "firmwareVersion", 0xFFFF));
    memory.bootLoaderVersion =
        static_cast<std::uint16_t>(number(object, "bootLoaderVersion", 0xFFFF));
    memory.releaseNumber = static_cast<std::uint16_t>(number(object, "releaseNumber", 0xFFFF));
    memory.activeSlot = static_cast<std::uint8_t>(number(object, "activeSlot", kProfileCount - 1));
    memory.surfaceQuality = static_cast<std::uint8_t>(number(object, "surfaceQuality", 0xFF));
    const json& slots = list(object, "slots", kProfileCount);
    for (std::size_t slot = 0; slot < kProfileCount; ++slot) {
        memory.slotImages[slot] = bytesFromHex<kDeviceImageSize>(slots[slot], "slots");
    }
    const json& profiles = list(object, "profiles", kProfileCount);
    for (std::size_t i = 0; i < kProfileCount; ++i) {
        LibraryProfile& profile = memory.profiles[i];
        profile.present = flag(profiles[i], "present");
        profile.block = bytesFromHex<kProfileBlockSize>(field(profiles[i], "block"), "block");
        const json& dataBlocks = list(profiles[i], "dataBlocks", kProfileButtonCount);
        for (std::size_t button = 0; button < kProfileButtonCount; ++button) {
            profile.dataBlocks[button] =
                bytesFromHex<kProfileBlockSize>(dataBlocks[button], "dataBlocks");
        }
    }
    if (!memory.profiles[memory.activeSlot].present) {
        fail("the active profile is not present");
    }
    return memory;
}

}  // namespace

std::string writeSavedState(const SavedState& state) {
    json object = memoryToJson(state.memory);
    object["format"] = kFormat;
    object["version"] = kFormatVersion;
    object["plugged"] = state.plugged;
    return object.dump(2);
}

std::optional<SavedState> readSavedState(std::string_view text, std::string& error) {
    try {
        const json object = json::parse(text);
        if (field(object, "format") != kFormat ||
            number(object, "version", 0xFFFF) != kFormatVersion) {
            fail("not a state of this mouse in a format it knows");
        }
        SavedState state;
        state.plugged = flag(object, "plugged");
        state.memory = memoryFromJson(object);
        return state;
    } catch (const std::exception& e) {
        error = e.what();
        return std::nullopt;
    }
}

std::string describeState(const SavedState& state, std::optional<std::size_t> slot,
                          const std::vector<std::vector<std::uint8_t>>& recentRequests) {
    if (slot && *slot >= kProfileCount) {
        return json{{"error", "there is no slot " + std::to_string(*slot)}}.dump(2);
    }
    const MouseMemory& memory = state.memory;
    json slots = json::array();
    json profiles = json::array();
    for (std::size_t i = 0; i < kProfileCount; ++i) {
        if (!slot || *slot == i) {
            slots.push_back(describeSlot(memory, i));
            profiles.push_back(describeProfile(memory, i + 1));
        }
    }
    json description = {{"plugged", state.plugged},
                        {"mode", memory.bootLoader ? kBootLoaderMode : kApplicationMode},
                        {"firmwareVersion", memory.firmwareVersion},
                        {"bootLoaderVersion", memory.bootLoaderVersion},
                        {"releaseNumber", memory.releaseNumber},
                        {"activeSlot", memory.activeSlot},
                        {"activeProfile", memory.activeSlot + 1},
                        {"profileCount", memory.presentProfileCount()},
                        {"surfaceQuality", memory.surfaceQuality},
                        {"slots", slots},
                        {"profiles", profiles}};
    json requests = json::array();
    for (const std::vector<std::uint8_t>& request : recentRequests) {
        requests.push_back(toHex(request));
    }
    description["recentRequests"] = requests;
    return description.dump(2);
}

}  // namespace orvane::emulator
