#include "devlib/ButtonEncoding.h"

#include <algorithm>

#include "buttons/KeyUsages.h"

namespace orvane::devlib {
namespace {

constexpr std::uint8_t kKeyEvent = 18;
constexpr std::uint8_t kPressed = 0;
constexpr std::uint8_t kReleased = 1;

constexpr std::uint16_t kLeftControl = 162;
constexpr std::uint16_t kLeftShift = 160;
constexpr std::uint16_t kEscape = 27;
constexpr std::uint16_t kLeftWindowKey = 91;
constexpr std::uint16_t kKeyH = 'H';
constexpr std::uint16_t kKeyL = 'L';
constexpr std::uint16_t kKeyS = 'S';
constexpr std::uint16_t kKeyU = 'U';
constexpr std::uint16_t kKeyX = 'X';

constexpr ButtonEvent down(std::uint16_t code, std::uint32_t delay) {
    return {kKeyEvent, code, kPressed, delay};
}
constexpr ButtonEvent up(std::uint16_t code, std::uint32_t delay) {
    return {kKeyEvent, code, kReleased, delay};
}

constexpr ButtonEvent kTaskManager[] = {
    down(kLeftControl, 5), down(kLeftShift, 5), down(kEscape, 150),
    up(kLeftControl, 5),   up(kLeftShift, 5),   up(kEscape, 150),
};
constexpr ButtonEvent kLockWorkstation[] = {
    down(kLeftWindowKey, 5),
    down(kKeyL, 150),
    up(kLeftWindowKey, 5),
    up(kKeyL, 5),
};
// The quick-link menu, then its shut-down submenu, then the final letter.
constexpr ButtonEvent kShutDown[] = {
    down(kLeftWindowKey, 0), down(kKeyX, 150), up(kLeftWindowKey, 0), up(kKeyX, 150),
    down(kKeyU, 150),        up(kKeyU, 150),   down(kKeyU, 150),      up(kKeyU, 0),
};
constexpr ButtonEvent kSleep[] = {
    down(kLeftWindowKey, 0), down(kKeyX, 150), up(kLeftWindowKey, 0), up(kKeyX, 150),
    down(kKeyU, 150),        up(kKeyU, 150),   down(kKeyS, 150),      up(kKeyS, 0),
};
constexpr ButtonEvent kHibernate[] = {
    down(kLeftWindowKey, 0), down(kKeyX, 150), up(kLeftWindowKey, 0), up(kKeyX, 150),
    down(kKeyU, 150),        up(kKeyU, 150),   down(kKeyH, 150),      up(kKeyH, 0),
};

struct MediaCode {
    std::uint8_t sub;
    std::uint8_t usage;  // consumer page
};
constexpr MediaCode kMedia[] = {
    {0, 0xCD}, {1, 0xB7}, {2, 0xB6}, {3, 0xB5}, {4, 0xE9}, {5, 0xEA}, {6, 0xE2},
};
constexpr std::uint8_t kMediaConfigSub = 7;
constexpr std::uint16_t kMediaConfigUsage = 0x0183;

std::uint8_t switchSub(std::uint8_t sub) {
    return sub == 0 ? 0xF1 : sub == 1 ? 0xF3 : 0x01;
}

std::uint8_t switchSubBack(std::uint8_t sub) {
    return sub == 0xF1 ? 0 : sub == 0xF3 ? 1 : sub;
}

std::uint8_t macroSub(std::uint8_t sub) {
    switch (sub) {
        case 0:
            return 0x01;
        case 1:
            return 0xF1;
        case 2:
            return 0xF2;
        default:
            return sub;
    }
}

std::uint8_t macroSubBack(std::uint8_t sub) {
    switch (sub) {
        case 0x01:
            return 0;
        case 0xF1:
            return 1;
        case 0xF2:
            return 2;
        default:
            return sub;
    }
}

std::uint8_t deviceEventType(std::uint8_t type) {
    switch (type) {
        case 16:
            return 0x10;
        case 17:
            return 0x11;
        case 18:
            return 0x01;
        default:
            return 0x00;
    }
}

std::uint8_t eventTypeBack(std::uint8_t type) {
    switch (type) {
        case 0x01:
            return 18;
        case 0x10:
            return 16;
        case 0x11:
            return 17;
        default:
            return 0;
    }
}

}  // namespace

bool isKnownFunction(const ButtonSetting& setting) {
    constexpr std::int32_t kFirstType = 16;
    constexpr std::int32_t kDisabledType = 255;
    const bool knownType = (setting.type >= kFirstType && setting.type <= kSystemType) ||
                           setting.type == kDisabledType;
    if (!knownType) {
        return false;
    }
    if (setting.type != kMacroType) {
        return true;
    }
    const std::size_t count = std::min<std::size_t>(setting.count, kMaxEvents);
    return std::all_of(setting.events, setting.events + count, [](const ButtonEvent& event) {
        return deviceEventType(event.type) != 0x00 &&
               (event.state == kPressed || event.state == kReleased);
    });
}

std::array<std::uint8_t, 7> DeviceEntry::bytes() const {
    return {kind,
            sub,
            static_cast<std::uint8_t>(first & 0xFF),
            static_cast<std::uint8_t>(first >> 8),
            static_cast<std::uint8_t>(second & 0xFF),
            static_cast<std::uint8_t>(second >> 8),
            trailing};
}

DeviceEntry DeviceEntry::fromBytes(std::span<const std::uint8_t> bytes) {
    DeviceEntry entry;
    entry.kind = bytes[0];
    entry.sub = bytes[1];
    entry.first = static_cast<std::uint16_t>(bytes[2] | (bytes[3] << 8));
    entry.second = static_cast<std::uint16_t>(bytes[4] | (bytes[5] << 8));
    entry.trailing = bytes[6];
    return entry;
}

DeviceEntry encodeButton(const ButtonSetting& setting) {
    DeviceEntry entry;
    switch (setting.type) {
        case 16:
            entry.kind = 0x00;
            entry.sub = setting.sub;
            break;
        case 17:
            entry.kind = 0x01;
            entry.sub = setting.sub;
            break;
        case 18:
            entry.kind = 0x02;
            entry.sub = setting.sub;
            entry.first = keyToHidUsage(setting.value);
            break;
        case kMacroType:
            entry.kind = button_entry::kMacro;
            entry.sub = macroSub(setting.sub);
            entry.first = setting.parameter;
            entry.second = setting.count;
            break;
        case 20:
            entry.kind = 0x08;
            entry.sub = switchSub(setting.sub);
            break;
        case 21:
            if (setting.sub == 2) {
                entry.kind = 0x0C;
                entry.first = setting.value;
                entry.second = setting.value;
            } else {
                entry.kind = 0x09;
                entry.sub = switchSub(setting.sub);
            }
            break;
        case 22:
            entry.kind = 0x21;
            break;
        case 23:
            entry.kind = 0x22;
            break;
        case 24: {
            entry.kind = 0x20;
            const auto* media =
                std::find_if(std::begin(kMedia), std::end(kMedia),
                             [&](const MediaCode& m) { return m.sub == setting.sub; });
            if (media != std::end(kMedia)) {
                entry.sub = media->usage;
            } else if (setting.sub == kMediaConfigSub) {
                entry.first = kMediaConfigUsage;
            }
            break;
        }
        case kSystemType:
            entry.kind = button_entry::kSystem;
            entry.first = setting.sub;
            entry.second = static_cast<std::uint16_t>(systemSequence(setting.sub).size());
            break;
        case 255:
            entry.kind = 0xFF;
            break;
        default:
            break;
    }
    return entry;
}

bool hasDataBlock(std::uint8_t kind) {
    return kind == button_entry::kMacro || kind == button_entry::kSystem;
}

std::span<const ButtonEvent> systemSequence(std::uint8_t sub) {
    switch (sub) {
        case 0:
            return kTaskManager;
        case 2:
            return kLockWorkstation;
        case 3:
            return kShutDown;
        case 4:
            return kSleep;
        case 5:
            return kHibernate;
        default:
            return {};
    }
}

void encodeEvents(std::span<const ButtonEvent> events, std::span<std::uint8_t> block) {
    std::size_t at = 0;
    for (const ButtonEvent& event : events) {
        const std::uint16_t usage = keyToHidUsage(event.code);
        block[at] = deviceEventType(event.type);
        block[at + 1] = static_cast<std::uint8_t>(usage & 0xFF);
        block[at + 2] = static_cast<std::uint8_t>(usage >> 8);
        block[at + 3] = event.state;
        block[at + 4] = static_cast<std::uint8_t>(event.delay & 0xFF);
        block[at + 5] = static_cast<std::uint8_t>((event.delay >> 8) & 0xFF);
        block[at + 6] = static_cast<std::uint8_t>((event.delay >> 16) & 0xFF);
        at += kDeviceEventSize;
    }
    std::fill_n(block.begin() + static_cast<std::ptrdiff_t>(at), kDeviceEventSize, 0);
}

std::vector<ButtonEvent> decodeEvents(std::span<const std::uint8_t> block, std::size_t count) {
    const std::size_t fitting = std::min({count, kMaxEvents, block.size() / kDeviceEventSize});
    std::vector<ButtonEvent> events;
    events.reserve(fitting);
    for (std::size_t i = 0; i < fitting; ++i) {
        const std::span<const std::uint8_t> bytes = block.subspan(i * kDeviceEventSize);
        ButtonEvent event{};
        event.type = eventTypeBack(bytes[0]);
        event.code = hidUsageToKey(static_cast<std::uint16_t>(bytes[1] | (bytes[2] << 8)));
        event.state = bytes[3];
        event.delay = static_cast<std::uint32_t>(bytes[4] | (bytes[5] << 8) | (bytes[6] << 16));
        events.push_back(event);
    }
    return events;
}

void decodeButton(const DeviceEntry& entry, std::uint8_t button, ButtonSetting& setting) {
    setting.button = button;
    // A host loops over events[0..count) for any kind of button; the record
    // holds no more events than this, whatever the mouse claims.
    setting.count = static_cast<std::uint16_t>(std::min<std::size_t>(entry.second, kMaxEvents));
    switch (entry.kind) {
        case 0x00:
            setting.type = 16;
            setting.sub = entry.sub;
            break;
        case 0x01:
            setting.type = 17;
            setting.sub = entry.sub;
            break;
        case 0x02:
            setting.type = 18;
            setting.sub = entry.sub;
            setting.value = hidUsageToKey(entry.first);
            break;
        case button_entry::kMacro:
            setting.type = kMacroType;
            setting.sub = macroSubBack(entry.sub);
            setting.parameter = static_cast<std::uint8_t>(entry.first & 0xFF);
            setting.readSub = setting.sub;
            break;
        case 0x08:
            setting.type = 20;
            setting.sub = switchSubBack(entry.sub);
            break;
        case 0x09:
            setting.type = 21;
            setting.sub = switchSubBack(entry.sub);
            break;
        case 0x0C:
            setting.type = 21;
            setting.sub = 2;
            setting.value = entry.first;
            break;
        case button_entry::kSystem:
            setting.type = kSystemType;
            setting.sub = static_cast<std::uint8_t>(entry.first & 0xFF);
            break;
        case 0x20: {
            setting.type = 24;
            const auto* media =
                std::find_if(std::begin(kMedia), std::end(kMedia),
                             [&](const MediaCode& m) { return m.usage == entry.sub; });
            if (media != std::end(kMedia)) {
                setting.sub = media->sub;
            } else if (entry.first == kMediaConfigUsage) {
                // Otherwise the configuration key would read back as Stop.
                setting.sub = kMediaConfigSub;
            } else {
                setting.sub = 0x01;
            }
            break;
        }
        case 0x21:
            setting.type = 22;
            break;
        case 0x22:
            setting.type = 23;
            break;
        case button_entry::kRunProgram:
            setting.type = kSystemType;
            setting.sub = kRunProgramSub;
            setting.value = entry.first;
            break;
        case button_entry::kOpenWebPage:
            setting.type = kSystemType;
            setting.sub = kOpenWebPageSub;
            setting.value = entry.first;
            break;
        case 0xFF:
            setting.type = 255;
            break;
        default:
            setting.type = 16;
            setting.sub = 1;
            break;
    }
}

}  // namespace orvane::devlib
