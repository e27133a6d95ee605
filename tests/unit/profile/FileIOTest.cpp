#include "profile/FileIO.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

DataStream streamOf(const std::vector<std::uint8_t>& bytes) {
    DataStream stream = DataStream::forWriting();
    for (std::uint8_t byte : bytes) {
        stream.putU8(byte);
    }
    return stream;
}

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(FileIO, WriteCreatesEveryMissingFolderAndWritesExactlyTheLength) {
    TempDir dir;
    const fs::path target = dir / "a" / "b.c" / "Profiles" / "Default1.profile";
    ASSERT_TRUE(writeWholeFile(target, streamOf({1, 2, 3})));
    EXPECT_EQ(readBytes(target), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(entriesIn(target.parent_path()), 1U);  // no temporary left behind
}

TEST(FileIO, WriteTakesATargetWithoutADotForAFileToo) {
    TempDir dir;
    ASSERT_TRUE(writeWholeFile(dir / "state" / "mouse", streamOf({4})));
    EXPECT_EQ(readBytes(dir / "state" / "mouse"), (std::vector<std::uint8_t>{4}));
}

TEST(FileIO, WriteReplacesAnExistingFile) {
    TempDir dir;
    const fs::path target = dir / "x.profile";
    writeBytes(target, std::vector<std::uint8_t>(5000, 7));
    ASSERT_TRUE(writeWholeFile(target, streamOf({9})));
    EXPECT_EQ(readBytes(target), (std::vector<std::uint8_t>{9}));
}

TEST(FileIO, FailedWriteIsReportedAndLeavesTheOldFileIntact) {
    TempDir dir;
    // A folder in place of the file, and a file in place of a folder: both
    // refuse the write whoever runs the test.
    fs::create_directory(dir / "taken.profile");
    EXPECT_FALSE(writeWholeFile(dir / "taken.profile", streamOf({1})));
    EXPECT_TRUE(fs::is_directory(dir / "taken.profile"));

    writeBytes(dir / "plain", {5});
    EXPECT_FALSE(writeWholeFile(dir / "plain" / "x.profile", streamOf({1})));
    EXPECT_EQ(readBytes(dir / "plain"), (std::vector<std::uint8_t>{5}));
    EXPECT_EQ(entriesIn(dir.path()), 2U);
}

TEST(FileIO, WriteClearsTheTemporariesThatKilledWritesOfTheSameFileLeftBehind) {
    TempDir dir;
    // What a save killed before its rename leaves: one temporary per kill.
    writeBytes(dir / "Default1.profile.tmp7", {1});
    writeBytes(dir / "Default1.profile.tmp4012345678", {2});
    // Not leftovers of this file: another profile's, and files of the user's.
    writeBytes(dir / "Default2.profile.tmp3", {3});
    writeBytes(dir / "Default1.profile.tmp-notes", {4});
    writeBytes(dir / "Default1.profile.tmp", {5});

    ASSERT_TRUE(writeWholeFile(dir / "Default1.profile", streamOf({9})));
    EXPECT_FALSE(fs::exists(dir / "Default1.profile.tmp7"));
    EXPECT_FALSE(fs::exists(dir / "Default1.profile.tmp4012345678"));
    EXPECT_TRUE(fs::exists(dir / "Default2.profile.tmp3"));
    EXPECT_TRUE(fs::exists(dir / "Default1.profile.tmp-notes"));
    EXPECT_TRUE(fs::exists(dir / "Default1.profile.tmp"));
    EXPECT_EQ(entriesIn(dir.path()), 4U);
}

TEST(FileIO, WriteOfTheBytesTheFileHoldsLeavesTheFileAsItIs) {
    TempDir dir;
    const fs::path target = dir / "Default1.profile";
    ASSERT_TRUE(writeWholeFile(target, streamOf({1, 2, 3})));
    fs::create_hard_link(target, dir / "same-file");

    ASSERT_TRUE(writeWholeFile(target, streamOf({1, 2, 3})));
    EXPECT_TRUE(fs::equivalent(target, dir / "same-file"));  // not replaced

    // A longer file that starts with the same bytes is not the same.
    ASSERT_TRUE(writeWholeFile(target, streamOf({1, 2})));
    EXPECT_FALSE(fs::equivalent(target, dir / "same-file"));
    EXPECT_EQ(readBytes(target), (std::vector<std::uint8_t>{1, 2}));
}

TEST(FileIO, ReadFillsTheStreamFromOffsetZero) {
    TempDir dir;
    writeBytes(dir / "f", {4, 0, 0, 0});
    DataStream stream = streamOf({99, 99});
    ASSERT_TRUE(readWholeFile(dir / "f", stream));
    EXPECT_EQ(stream.length(), 4U);
    EXPECT_EQ(stream.capacity(), 4U);
    EXPECT_EQ(stream.getU32(), 4U);
}

TEST(FileIO, ReadRefusesMissingFilesFoldersAndOversizedFiles) {
    TempDir dir;
    DataStream stream = streamOf({1});
    EXPECT_FALSE(readWholeFile(dir / "missing", stream));
    EXPECT_EQ(stream.length(), 0U);
    EXPECT_FALSE(readWholeFile(dir.path(), stream));

    writeBytes(dir / "huge", {});
    fs::resize_file(dir / "huge", kMaxFileSize + 1);
    EXPECT_FALSE(readWholeFile(dir / "huge", stream));
    fs::resize_file(dir / "huge", kMaxFileSize);
    EXPECT_TRUE(readWholeFile(dir / "huge", stream));
}

TEST(FileIO, EnsureFolderTakesADottedLastComponentForAFileName) {
    TempDir dir;
    ensureFolderFor(dir / "one" / "file.txt");
    EXPECT_TRUE(fs::is_directory(dir / "one"));
    EXPECT_FALSE(fs::exists(dir / "one" / "file.txt"));
    ensureFolderFor(dir / "two" / "Macros");
    EXPECT_TRUE(fs::is_directory(dir / "two" / "Macros"));
}

TEST(FileIO, EmptyFolderRemovesFilesAndTreesButNeverFollowsLinks) {
    TempDir dir;
    const fs::path folder = dir / "Macros";
    const fs::path outside = dir / "outside";
    fs::create_directories(folder / "sub" / "deeper");
    fs::create_directories(outside);
    writeBytes(folder / "a.macro", {1});
    writeBytes(folder / "sub" / "deeper" / "b", {1});
    writeBytes(outside / "keep", {1});
    fs::create_directory_symlink(outside, folder / "link");

    emptyFolder(folder);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(entriesIn(folder), 0U);
    EXPECT_TRUE(fs::exists(outside / "keep"));

    removeFolderTree(folder);
    EXPECT_FALSE(fs::exists(folder));
}

}  // namespace
}  // namespace orvane
