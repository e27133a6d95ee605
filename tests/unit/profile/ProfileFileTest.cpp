#include "profile/ProfileFile.h"

#include <gtest/gtest.h>

#include <random>

#include "profile/FileIO.h"
#include "support/CaseName.h"
#include "support/TempDir.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

std::vector<std::uint8_t> fileBytes(const MouseProfile& profile) {
    DataStream stream = DataStream::forWriting();
    writeProfile(profile, stream);
    return stream.bytes();
}

// Every persisted field set to something other than its default.
MouseProfile randomProfile(std::uint32_t seed) {
    std::mt19937 random(seed);
    auto any = [&random]() { return static_cast<std::uint32_t>(random()); };
    MouseProfile p;
    p.name = u"R\u00E9\U0001F5B1" + std::u16string(any() % 20, u'x');
    p.enabled = any();
    p.reservedWord = static_cast<std::uint16_t>(any());
    p.pollingInterval = static_cast<std::uint16_t>(any());
    p.doubleClickSetting = static_cast<std::int16_t>(any());
    p.scrollLines = static_cast<std::int16_t>(any());
    p.scrollByLines = any();
    p.scrollByPage = any();
    p.accelerationEnabled = any();
    p.dpiLevelAttribute = any();
    p.sensorAttribute = any();
    p.dpiLevelCount = static_cast<std::uint8_t>(any());
    p.activeDpiLevel = static_cast<std::uint8_t>(any());
    for (DpiLevel& level : p.dpiLevels) {
        level = {static_cast<std::uint16_t>(any()), static_cast<std::uint16_t>(any())};
    }
    p.pointerSpeed = static_cast<std::uint8_t>(any());
    p.liftOffDistance = any();
    p.surfaceQualityLevel = static_cast<std::uint16_t>(any());
    p.reserved1 = any();
    p.reserved2 = any();
    p.reserved3 = static_cast<std::uint8_t>(any());
    p.angleSnapping = any();
    p.rippleControl = any();
    p.lightingBrightness = any();
    p.lightingZoneFlags = any();
    p.lightingEffect = any();
    p.zoneColor1 = any();
    p.zoneColor2 = 0xFFFFFFFF;
    p.zoneColor3 = 0x80000000;
    p.zoneColor4 = any();
    p.pickerColor = any();
    for (ButtonAssignment& button : p.buttons) {
        button.buttonIndex = static_cast<std::uint8_t>(any());
        button.function = static_cast<std::uint8_t>(any());
        button.parameter = static_cast<std::uint16_t>(any());
    }
    for (ButtonMacro& macro : p.buttonMacros) {
        macro.id = any();
        macro.name = std::u16string(any() % 4, u'm');
        macro.events.resize(any() % 5);
        for (CMacroEvent& event : macro.events) {
            event = {static_cast<std::uint8_t>(any()), static_cast<std::uint16_t>(any()),
                     static_cast<std::uint8_t>(any()), any()};
        }
    }
    return p;
}

TEST(ProfileFile, NewRecordNamedProfile1IsThe348ByteLayout) {
    MouseProfile profile;
    profile.name = u"Profile1";
    const auto bytes = fileBytes(profile);
    ASSERT_EQ(bytes.size(), 348U);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8),
              (std::vector<std::uint8_t>{0x11, 0x64, 0x34, 0x01, 8, 0, 0, 0}));
    // 4 tag + 4 + 16 name + 69 fixed bytes, then zoneColor1 as the text "16776960".
    const std::size_t colour = 4 + 4 + 16 + 69;
    EXPECT_EQ(bytes[colour], 8);
    EXPECT_EQ(bytes[colour + 4], '1');
    EXPECT_EQ(bytes[colour + 4 + 14], '0');
    // reservedWord 179 right after enabled; dpi level 5 = 19000 at its place.
    EXPECT_EQ(bytes[28], 179);
    EXPECT_EQ(bytes[4 + 4 + 16 + 34 + 16], 0x38);
    EXPECT_EQ(bytes[4 + 4 + 16 + 34 + 17], 0x4A);
    // Nine empty macros of 12 bytes close the file.
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - 12, bytes.end()),
              std::vector<std::uint8_t>(12, 0));
}

TEST(ProfileFile, EmptyNameAndEmptyMacroTakeOnlyTheirCounts) {
    MouseProfile profile;
    profile.name.clear();
    profile.buttonMacros[0] = {u"ab", 17, {}};
    const auto bytes = fileBytes(profile);
    EXPECT_EQ(bytes.size(), 348U - 16 + 4);  // "Profile1" gone, macro 0 has 2 name characters
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 4, bytes.begin() + 8),
              std::vector<std::uint8_t>(4, 0));
}

TEST(ProfileFile, RoundTripGivesBackEveryPersistedField) {
    for (std::uint32_t seed = 1; seed <= 50; ++seed) {
        const MouseProfile written = randomProfile(seed);
        DataStream stream = DataStream::fromBytes(fileBytes(written));

        MouseProfile read;
        read.slotIndex = 3;
        read.filePath = "/somewhere/Default4.profile";
        read.accelerationLevel = 9;
        ASSERT_TRUE(readProfile(stream, read)) << "seed " << seed;

        MouseProfile expected = written;
        expected.slotIndex = 3;
        expected.filePath = "/somewhere/Default4.profile";
        expected.accelerationLevel = 9;
        for (std::size_t i = 0; i < kButtonCount; ++i) {
            expected.buttons[i].defaultFunction = read.buttons[i].defaultFunction;
        }
        EXPECT_EQ(read, expected) << "seed " << seed;
        EXPECT_EQ(read.buttons[7].defaultFunction, 3);
        EXPECT_EQ(fileBytes(read), fileBytes(written));
    }
}

TEST(ProfileFile, FileCutShortAtAnyOffsetLeavesTheRecordAsItWas) {
    const auto bytes = fileBytes(randomProfile(7));
    const MouseProfile before = randomProfile(8);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        DataStream stream =
            DataStream::fromBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + cut));
        MouseProfile profile = before;
        EXPECT_FALSE(readProfile(stream, profile)) << "cut at " << cut;
        EXPECT_EQ(profile, before) << "cut at " << cut;
    }
}

TEST(ProfileFile, CountsRunningPastTheEndRejectTheFile) {
    MouseProfile profile;
    profile.name = u"n";
    auto bytes = fileBytes(profile);
    const MouseProfile before;

    auto nameCount = bytes;
    nameCount[4] = 0xFF, nameCount[5] = 0xFF, nameCount[6] = 0xFF, nameCount[7] = 0x7F;
    DataStream first = DataStream::fromBytes(nameCount);
    MouseProfile target;
    EXPECT_FALSE(readProfile(first, target));
    EXPECT_EQ(target, before);

    auto eventCount = bytes;  // last macro's event count is the file's last four bytes
    eventCount[eventCount.size() - 4] = 0x00;
    eventCount[eventCount.size() - 1] = 0x10;
    DataStream second = DataStream::fromBytes(eventCount);
    EXPECT_FALSE(readProfile(second, target));
    EXPECT_EQ(target, before);
}

TEST(ProfileFile, CountsWithTheTopBitSetReadAsEmpty) {
    MouseProfile profile;
    profile.buttonMacros[8] = {u"", 5, {}};
    auto bytes = fileBytes(profile);
    bytes[bytes.size() - 1] = 0x80;  // event count 0x80000000: no events
    DataStream stream = DataStream::fromBytes(bytes);
    MouseProfile read;
    read.buttonMacros[8].events = {{1, 2, 3, 4}};
    ASSERT_TRUE(readProfile(stream, read));
    EXPECT_TRUE(read.buttonMacros[8].events.empty());
    EXPECT_EQ(read.buttonMacros[8].id, 5U);
}

TEST(ProfileFile, ColourWrittenAsMinusOneReadsBackAsAllOnes) {
    MouseProfile profile;
    profile.pickerColor = 0xFFFFFFFF;
    const auto bytes = fileBytes(profile);
    DataStream stream = DataStream::fromBytes(bytes);
    MouseProfile read;
    ASSERT_TRUE(readProfile(stream, read));
    EXPECT_EQ(read.pickerColor, 0xFFFFFFFFU);
}

TEST(ProfileFile, WrongTagIsIgnored) {
    auto bytes = fileBytes(randomProfile(3));
    bytes[3] = 0x02;
    DataStream stream = DataStream::fromBytes(bytes);
    MouseProfile profile;
    EXPECT_FALSE(readProfile(stream, profile));
    EXPECT_EQ(profile, MouseProfile{});
}

TEST(ProfileFile, SaveAndLoadGoThroughTheFile) {
    TempDir dir;
    const fs::path path = dir / "new" / "Profiles" / "Default2.profile";
    const MouseProfile written = randomProfile(11);
    ASSERT_TRUE(saveProfile(path, written));
    EXPECT_EQ(readBytes(path), fileBytes(written));

    MouseProfile read;
    ASSERT_TRUE(loadProfile(path, read));
    EXPECT_EQ(fileBytes(read), fileBytes(written));

    MouseProfile untouched;
    EXPECT_FALSE(loadProfile(dir / "missing.profile", untouched));
    EXPECT_EQ(untouched, MouseProfile{});
}

TEST(ProfileFile, SaveThatCannotWriteSaysSoAndKeepsTheOldFile) {
    TempDir dir;
    writeBytes(dir / "blocker", {1});
    EXPECT_FALSE(saveProfile(dir / "blocker" / "Default1.profile", MouseProfile{}));
    EXPECT_EQ(readBytes(dir / "blocker"), (std::vector<std::uint8_t>{1}));
}

struct ExportCase {
    const char* chosen;
    const char* written;
};

void PrintTo(const ExportCase& c, std::ostream* out) {
    *out << c.chosen;
}

class ExportPath : public ::testing::TestWithParam<ExportCase> {};

TEST_P(ExportPath, AppendsTheExtensionUnlessItIsExactlyProfile) {
    EXPECT_EQ(exportPathFor(GetParam().chosen), fs::path(GetParam().written));
}

INSTANTIATE_TEST_SUITE_P(Names, ExportPath,
                         ::testing::Values(ExportCase{"/p/mine.txt", "/p/mine.txt.profile"},
                                           ExportCase{"/p/mine.PROFILE", "/p/mine.PROFILE.profile"},
                                           ExportCase{"/p/mine.profile", "/p/mine.profile"},
                                           ExportCase{"/p/mine", "/p/mine.profile"},
                                           ExportCase{"/p.profile/mine", "/p.profile/mine.profile"},
                                           ExportCase{"/p/.profile", "/p/.profile"}),
                         [](const ::testing::TestParamInfo<ExportCase>& info) {
                             return test::spelled(info.param.chosen);
                         });

TEST(ProfileFile, SlotFilesAndProposedNames) {
    EXPECT_EQ(slotFileName(0), fs::path("Default1.profile"));
    EXPECT_EQ(slotFileName(4), fs::path("Default5.profile"));
    MouseProfile profile;
    profile.name = u"Work";
    EXPECT_EQ(proposedExportName(profile), u"Work.profile");
}

}  // namespace
}  // namespace orvane
