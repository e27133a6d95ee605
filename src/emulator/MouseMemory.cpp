#include "emulator/MouseMemory.h"

#include <algorithm>
#include <string>

#include "protocol/image/DeviceImage.h"

namespace orvane::emulator {
namespace {

void putU16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

constexpr std::array<std::uint16_t, 5> kFactoryResolutions = {400, 800, 1600, 3200, 19000};

// Kind and argument of the library's default button functions: left, right,
// middle, forward, back, resolution up.
struct EntryHead {
    std::uint8_t kind;
    std::uint8_t argument;
};
constexpr EntryHead kLeft{0x00, 0x01};
constexpr EntryHead kRight{0x00, 0x02};
constexpr EntryHead kMiddle{0x00, 0x04};
constexpr EntryHead kForward{0x00, 0x10};
constexpr EntryHead kBack{0x00, 0x08};
constexpr EntryHead kResolutionUp{0x09, 0xF0};

void putEntry(std::span<std::uint8_t> bytes, std::size_t offset, EntryHead head) {
    bytes[offset] = head.kind;
    bytes[offset + 1] = head.argument;
    bytes[offset + 6] = button_entry::kTrailer;
}

}  // namespace

LibraryProfile* MouseMemory::profile(std::size_t number) {
    return number >= 1 && number <= kProfileCount ? &profiles[number - 1] : nullptr;
}

const LibraryProfile* MouseMemory::profile(std::size_t number) const {
    return number >= 1 && number <= kProfileCount ? &profiles[number - 1] : nullptr;
}

std::size_t MouseMemory::presentProfileCount() const {
    return static_cast<std::size_t>(std::count_if(
        profiles.begin(), profiles.end(), [](const LibraryProfile& p) { return p.present; }));
}

// A slot holds, from the factory, what the application writes for a new
// record: the same encoder makes both, so they can never drift apart.
SlotImage factorySlotImage(std::size_t slot) {
    MouseProfile profile;
    profile.slotIndex = static_cast<std::uint8_t>(slot);
    const std::string name = "Profile" + std::to_string(slot + 1);
    profile.name.assign(name.begin(), name.end());
    return buildDeviceImage(profile).bytes;
}

Block factoryProfileBlock(std::size_t profileNumber) {
    namespace pb = profile_block;
    Block block{};
    block[pb::kProfileNumber] = static_cast<std::uint8_t>(profileNumber);
    block[pb::kPollingCode] = 1;
    block[pb::kResponseTime] = 4;
    block[pb::kDpi] = 5;
    block[pb::kDpi + 1] = 2;
    for (std::size_t level = 0; level < kFactoryResolutions.size(); ++level) {
        putU16(block, pb::kDpi + 2 + 4 * level, kFactoryResolutions[level]);
        putU16(block, pb::kDpi + 4 + 4 * level, kFactoryResolutions[level]);
    }
    block[pb::kLightingMode] = 1;
    for (std::size_t colour = 0; colour < pb::kLightingSize / 3; ++colour) {
        block[pb::kLighting + 3 * colour + 1] = 0xFF;
        block[pb::kLighting + 3 * colour + 2] = 0xFF;
    }
    block[pb::kBrightness] = 100;
    block[pb::kLightingFlag] = 1;
    block[pb::kLightingOption] = 1;
    constexpr std::array<EntryHead, kProfileButtonCount> functions = {
        kLeft, kRight, kMiddle, kForward, kBack, kResolutionUp};
    for (std::size_t button = 1; button <= kProfileButtonCount; ++button) {
        putEntry(block, pb::buttonEntry(button), functions[button - 1]);
    }
    return block;
}

void restoreFactoryContents(MouseMemory& memory) {
    for (std::size_t slot = 0; slot < kProfileCount; ++slot) {
        memory.slotImages[slot] = factorySlotImage(slot);
        memory.profiles[slot] = LibraryProfile{factoryProfileBlock(slot + 1), {}, true};
    }
    memory.activeSlot = 0;
}

MouseMemory factoryMemory(std::uint16_t firmwareVersion, std::uint16_t bootLoaderVersion,
                          std::uint16_t releaseNumber) {
    MouseMemory memory;
    restoreFactoryContents(memory);
    memory.firmwareVersion = firmwareVersion;
    memory.bootLoaderVersion = bootLoaderVersion;
    memory.releaseNumber = releaseNumber;
    return memory;
}

}  // namespace orvane::emulator
