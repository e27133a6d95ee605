#include "app/ProfileSet.h"

#include <string>

#include "profile/ProfileFile.h"

namespace orvane {

namespace {

// Profile 1 is the slot the mouse falls back to; a file saved from a disabled
// profile must not switch it off, however the file arrives.
void keepProfileOneEnabled(MouseProfile& profile, std::size_t slot) {
    if (slot == 0) {
        profile.enabled = 1;
    }
}

}  // namespace

ProfileSet::ProfileSet(const std::filesystem::path& profilesFolder) {
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        MouseProfile& profile = records[slot];
        profile.slotIndex = static_cast<std::uint8_t>(slot);
        profile.name = defaultName(slot);
        profile.filePath = profilesFolder / slotFileName(slot);
        // A missing or damaged file leaves the defaults.
        loadProfile(profile.filePath, profile);
        keepProfileOneEnabled(profile, slot);
    }
}

void ProfileSet::setCurrentSlot(std::size_t slot) {
    current = slot < kSlotCount ? slot : 0;
}

void ProfileSet::setAppliedSlot(std::size_t slot) {
    applied = slot < kSlotCount ? slot : 0;
}

std::size_t ProfileSet::applySlot() const {
    const std::size_t slot = records[current].slotIndex;
    return slot < kSlotCount ? slot : 0;
}

bool ProfileSet::toggleEnabled(std::size_t slot) {
    MouseProfile& profile = records.at(slot);
    if (slot == 0) {
        return true;
    }
    profile.enabled = profile.enabled == 1 ? 0 : 1;
    return profile.enabled == 1;
}

bool ProfileSet::importFile(std::size_t slot, const std::filesystem::path& file) {
    MouseProfile& profile = records.at(slot);
    if (!loadProfile(file, profile)) {
        return false;
    }
    // The file may come from another slot; the record stays this slot's, or
    // the next Apply would write it over another profile.
    profile.slotIndex = static_cast<std::uint8_t>(slot);
    keepProfileOneEnabled(profile, slot);
    return true;
}

void ProfileSet::resetAll() {
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        MouseProfile& profile = records[slot];
        resetToDefaults(profile);
        profile.slotIndex = static_cast<std::uint8_t>(slot);
        profile.name = defaultName(slot);
        profile.enabled = 1;
    }
    current = 0;
}

std::u16string ProfileSet::defaultName(std::size_t slot) {
    return u"Profile" + std::u16string(1, static_cast<char16_t>(u'1' + slot));
}

std::vector<std::size_t> ProfileSet::saveAll() const {
    std::vector<std::size_t> failed;
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        if (!saveProfile(records[slot].filePath, records[slot])) {
            failed.push_back(slot);
        }
    }
    return failed;
}

}  // namespace orvane
