#include "app/ProfileSet.h"

#include <gtest/gtest.h>

#include <fstream>

#include "profile/ProfileFile.h"
#include "support/TempDir.h"

namespace orvane {
namespace {

using test::TempDir;

TEST(ProfileSet, CreatesFiveNamedSlotsAndLoadsTheFilesThatExist) {
    TempDir folder;
    MouseProfile stored;
    stored.name = u"Sniper";
    stored.slotIndex = 2;
    stored.pointerSpeed = 9;
    ASSERT_TRUE(saveProfile(folder.path() / "Default3.profile", stored));
    std::ofstream(folder.path() / "Default4.profile") << "not a profile";

    ProfileSet set(folder.path());

    EXPECT_EQ(set.record(0).name, u"Profile1");
    EXPECT_EQ(set.record(0).filePath, folder.path() / "Default1.profile");
    EXPECT_EQ(set.record(2).name, u"Sniper");
    EXPECT_EQ(set.record(2).pointerSpeed, 9);
    EXPECT_EQ(set.record(3).name, u"Profile4");  // damaged file: defaults
    EXPECT_EQ(set.record(4).slotIndex, 4);
    EXPECT_EQ(set.currentSlot(), 0u);
    EXPECT_EQ(set.appliedSlot(), 0u);
}

TEST(ProfileSet, ProfileOneCannotBeDisabledOthersToggle) {
    TempDir folder;
    ProfileSet set(folder.path());
    EXPECT_TRUE(set.toggleEnabled(0));
    EXPECT_EQ(set.record(0).enabled, 1u);
    EXPECT_FALSE(set.toggleEnabled(1));
    EXPECT_EQ(set.record(1).enabled, 0u);
    EXPECT_TRUE(set.toggleEnabled(1));
    EXPECT_EQ(set.record(1).enabled, 1u);
}

TEST(ProfileSet, ResetRestoresDefaultsSlotsNamesAndEnablesAll) {
    TempDir folder;
    ProfileSet set(folder.path());
    for (std::size_t slot = 0; slot < ProfileSet::kSlotCount; ++slot) {
        set.record(slot).name = u"x";
        set.record(slot).pointerSpeed = 11;
        set.record(slot).slotIndex = 0;
    }
    set.toggleEnabled(3);
    set.setCurrentSlot(3);

    set.resetAll();

    for (std::size_t slot = 0; slot < ProfileSet::kSlotCount; ++slot) {
        EXPECT_EQ(set.record(slot).name, ProfileSet::defaultName(slot));
        EXPECT_EQ(set.record(slot).slotIndex, slot);
        EXPECT_EQ(set.record(slot).enabled, 1u);
        EXPECT_EQ(set.record(slot).pointerSpeed, MouseProfile{}.pointerSpeed);
        EXPECT_EQ(set.record(slot).filePath, folder.path() / slotFileName(slot));
    }
    EXPECT_EQ(set.currentSlot(), 0u);
}

TEST(ProfileSet, ApplySlotFallsBackToSlotZeroForAnIndexPastTheLast) {
    TempDir folder;
    ProfileSet set(folder.path());
    set.setCurrentSlot(3);
    EXPECT_EQ(set.applySlot(), 3u);
    set.currentRecord().slotIndex = 9;
    EXPECT_EQ(set.applySlot(), 0u);
}

TEST(ProfileSet, SaveAllNamesTheSlotsThatCouldNotBeWritten) {
    TempDir folder;
    ProfileSet set(folder.path());
    // A folder where slot 2's file belongs cannot be replaced by a file.
    std::filesystem::create_directories(set.record(2).filePath / "keep");
    EXPECT_EQ(set.saveAll(), std::vector<std::size_t>{2});
    EXPECT_TRUE(std::filesystem::is_regular_file(set.record(0).filePath));
    EXPECT_TRUE(std::filesystem::is_regular_file(set.record(4).filePath));
}

}  // namespace
}  // namespace orvane
