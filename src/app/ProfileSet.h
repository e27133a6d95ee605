#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <vector>

#include "profile/MouseProfile.h"

namespace orvane {

// The five on-board profiles as the main window holds them: one record per
// slot with its own file, the record the pages edit (current) and the record
// last written to the mouse (applied). No widgets, no device.
class ProfileSet {
  public:
    static constexpr std::size_t kSlotCount = 5;

    // Each slot starts from the defaults, named "Profile1".."Profile5", bound
    // to "Default1.profile".."Default5.profile" in `profilesFolder`, then
    // loaded from that file when it holds a complete profile.
    explicit ProfileSet(const std::filesystem::path& profilesFolder);

    MouseProfile& record(std::size_t slot) { return records.at(slot); }
    const MouseProfile& record(std::size_t slot) const { return records.at(slot); }

    std::size_t currentSlot() const { return current; }
    void setCurrentSlot(std::size_t slot);
    MouseProfile& currentRecord() { return records[current]; }

    std::size_t appliedSlot() const { return applied; }
    void setAppliedSlot(std::size_t slot);
    const MouseProfile& appliedRecord() const { return records[applied]; }

    // The slot an Apply writes: the current record's own slot index, slot 0
    // for an index past the last slot (a damaged file may carry one).
    std::size_t applySlot() const;

    // Profile 1 is always enabled; for the others the flag flips. Returns the
    // record's new state, or nothing changed (slot 0) as true.
    bool toggleEnabled(std::size_t slot);

    // Loads a profile file into a slot's record ("Import Profile"). The record
    // stays the slot's own whatever the file says: its slot index, and for
    // Profile 1 the enabled flag. False, and the record untouched, when the
    // file is not a complete profile.
    bool importFile(std::size_t slot, const std::filesystem::path& file);

    // Every record back to the defaults with its slot, its default name and
    // enabled; slot 0 becomes current.
    void resetAll();

    // The default name of a slot: "Profile1" for slot 0.
    static std::u16string defaultName(std::size_t slot);

    // Saves every record to its own file, slot 0 first; the slots whose file
    // could not be written (their old file is intact).
    std::vector<std::size_t> saveAll() const;

  private:
    std::array<MouseProfile, kSlotCount> records;
    std::size_t current = 0;
    std::size_t applied = 0;
};

}  // namespace orvane
