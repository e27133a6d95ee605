// Read_profile_data: the profile block decoded into the record, and the data
// blocks that program, web-page and macro buttons pull in.
#include <functional>
#include <numeric>

#include "LibraryTestSupport.h"
#include "devlib/Commands.h"

namespace orvane::devlib::testing {
namespace {

const Bytes kReadRequest = bytes({0xA1, 0x0B, 0x07, 0, 0, 2});

// A 1041-byte data reply with status 1 and `block` as its payload.
Bytes dataReply(const Bytes& block, std::uint8_t status = 1) {
    Bytes reply = bytes({0xA0, status}, 1041);
    std::copy(block.begin(), block.end(), reply.begin() + 16);
    return reply;
}

class ReadProfile : public ScriptedLibrary {
  protected:
    ReadProfile() { block.assign(1024, 0); }

    void expectProfile() {
        device->expectSet(kReadRequest);
        device->expectGet(1041, dataReply(block));
    }

    Bytes block;
    ProfileData data{};
    ProgramTexts texts{};
};

struct FieldCase {
    std::size_t offset;
    std::uint8_t value;
    std::int32_t ProfileData::*field;
    std::int32_t expected;
};

void PrintTo(const FieldCase& c, std::ostream* os) {
    *os << "byte " << c.offset << " = " << int{c.value};
}

class DecodesSetting : public ReadProfile, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(DecodesSetting, ByTheFieldsMap) {
    const FieldCase& c = GetParam();
    block[c.offset] = c.value;
    expectProfile();
    ASSERT_EQ(readProfileData(*core, 2, &data, nullptr), 1);
    EXPECT_EQ(data.*(c.field), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Fields, DecodesSetting,
                         ::testing::Values(FieldCase{0, 4, &ProfileData::profileByte, 4},
                                           FieldCase{0, 7, &ProfileData::profileByte, 1},
                                           FieldCase{1, 2, &ProfileData::pollingRate, 500},
                                           FieldCase{1, 4, &ProfileData::pollingRate, 250},
                                           FieldCase{1, 8, &ProfileData::pollingRate, 125},
                                           FieldCase{1, 3, &ProfileData::pollingRate, 1000},
                                           FieldCase{2, 9, &ProfileData::responseTime, 9},
                                           FieldCase{3, 1, &ProfileData::angleSnapping, 1},
                                           FieldCase{3, 2, &ProfileData::angleSnapping, 0},
                                           FieldCase{4, 1, &ProfileData::liftOff, 1},
                                           FieldCase{31, 15, &ProfileData::lightingMode, 15},
                                           FieldCase{31, 3, &ProfileData::lightingMode, 1},
                                           FieldCase{56, 75, &ProfileData::brightness, 75},
                                           FieldCase{56, 60, &ProfileData::brightness, 100},
                                           FieldCase{57, 3, &ProfileData::lightingFlag, 0},
                                           FieldCase{58, 2, &ProfileData::lightingOption, 2},
                                           FieldCase{58, 3, &ProfileData::lightingOption, 1}),
                         [](const auto& info) {
                             return "Byte" + std::to_string(info.param.offset) + "Is" +
                                    std::to_string(info.param.value);
                         });

TEST_F(ReadProfile, CopiesResolutionAndLightingBlocks) {
    block[5] = 3;
    block[6] = 1;
    block[7] = 0x90;
    block[8] = 0x01;
    block[32] = 0xAB;
    block[55] = 0xCD;
    expectProfile();
    ASSERT_EQ(readProfileData(*core, 2, &data, &texts), 1);
    EXPECT_EQ(data.dpi.first, 3);
    EXPECT_EQ(data.dpi.second, 1);
    EXPECT_EQ(data.dpi.values[0], 400);
    EXPECT_EQ(data.lighting[0], 0xAB);
    EXPECT_EQ(data.lighting[23], 0xCD);
    EXPECT_EQ(data.buttons[5].button, 6);
    EXPECT_EQ(clock.sleeps(), Pauses{milliseconds(80)});
}

TEST_F(ReadProfile, RefusedReadLeavesTheRecord) {
    device->expectSet(kReadRequest);
    device->expectGet(1041, dataReply(block, 2));
    data.pollingRate = 77;
    EXPECT_EQ(readProfileData(*core, 2, &data, &texts), 20);
    EXPECT_EQ(data.pollingRate, 77);
}

TEST_F(ReadProfile, WebPageButtonPullsItsTextBlock) {
    block = put(block, 65 + 7 * 3, {0x24, 0x00, 20, 0x00});
    expectProfile();
    Bytes text(1024, 0);
    std::iota(text.begin(), text.begin() + 20, std::uint8_t{'a'});
    device->expectSet(bytes({0xA1, 0x25, 4, 0, 0, 2}));
    device->expectGet(1041, dataReply(text));
    ASSERT_EQ(readProfileData(*core, 2, &data, &texts), 1);
    EXPECT_EQ(data.buttons[3].type, 25);
    EXPECT_EQ(data.buttons[3].sub, 1);
    EXPECT_EQ(data.buttons[3].value, 20);
    EXPECT_EQ(texts.lengths[3], 20);
    EXPECT_EQ(Bytes(texts.texts[3], texts.texts[3] + 1024), text);
    EXPECT_EQ(clock.sleeps(), (Pauses{milliseconds(80), milliseconds(10)}));
}

TEST_F(ReadProfile, FailedBlockReadGivesZerosAndStillSucceeds) {
    block = put(block, 65, {0x23, 0x00, 0xFF, 0xFF});
    expectProfile();
    device->expectSet(bytes({0xA1, 0x25, 1, 0, 0, 2}));
    device->expectGet(1041, dataReply(Bytes(1024, 0x55), 2));
    std::fill(&texts.texts[0][0], &texts.texts[0][0] + 1024, std::uint8_t{0x77});
    ASSERT_EQ(readProfileData(*core, 2, &data, &texts), 1);
    EXPECT_EQ(data.buttons[0].sub, 6);
    EXPECT_EQ(texts.texts[0][0], 0);
    // A length past the block would have the host read beyond it.
    EXPECT_EQ(texts.lengths[0], 1024);
}

TEST_F(ReadProfile, MacroButtonDecodesItsEvents) {
    block = put(block, 65 + 7, {0x03, 0xF1, 0x05, 0x00, 0x02, 0x00, 0x0F});
    expectProfile();
    Bytes events(1024, 0);
    events = put(events, 0, {0x01, 0x04, 0x00, 0x00, 0x10, 0x27, 0x00});
    events = put(events, 7, {0x10, 0x01, 0x00, 0x01, 0x00, 0x00, 0x01});
    device->expectSet(bytes({0xA1, 0x25, 2, 0, 0, 2}));
    device->expectGet(1041, dataReply(events));
    ASSERT_EQ(readProfileData(*core, 2, &data, nullptr), 1);
    const ButtonSetting& macro = data.buttons[1];
    EXPECT_EQ(macro.type, 19);
    EXPECT_EQ(macro.sub, 1);
    EXPECT_EQ(macro.readSub, 1);
    EXPECT_EQ(macro.parameter, 5);
    EXPECT_EQ(macro.count, 2);
    EXPECT_EQ(macro.events[0].type, 18);
    EXPECT_EQ(macro.events[0].code, 'A');
    EXPECT_EQ(macro.events[0].delay, 10000U);
    EXPECT_EQ(macro.events[1].type, 16);
    EXPECT_EQ(macro.events[1].state, 1);
    EXPECT_EQ(macro.events[1].delay, 0x10000U);
}

TEST_F(ReadProfile, MacroCountBeyondTheRecordIsCut) {
    block = put(block, 65, {0x03, 0x01, 0x00, 0x00, 0xFF, 0xFF});
    expectProfile();
    device->expectSet(bytes({0xA1, 0x25, 1, 0, 0, 2}));
    device->expectGet(1041, dataReply(Bytes(1024, 0x01)));
    ASSERT_EQ(readProfileData(*core, 2, &data, nullptr), 1);
    EXPECT_EQ(data.buttons[0].count, 140);
}

struct CountCase {
    const char* name;
    Bytes entry;
    std::uint16_t count;
};

void PrintTo(const CountCase& c, std::ostream* os) {
    *os << c.name;
}

class EntryCount : public ReadProfile, public ::testing::WithParamInterface<CountCase> {};

// A host loops over events[0..count): whatever the entry says, the count
// stays inside the record's 140 events.
TEST_P(EntryCount, NeverRunsPastTheEvents) {
    std::copy(GetParam().entry.begin(), GetParam().entry.end(), block.begin() + 65 + 7 * 4);
    expectProfile();
    ASSERT_EQ(readProfileData(*core, 2, &data, nullptr), 1);
    EXPECT_EQ(data.buttons[4].count, GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EntryCount,
    ::testing::Values(CountCase{"UnknownKind", {0x55, 0x07, 0x01, 0x02, 0x03, 0x04, 0x0F}, 140},
                      CountCase{"Resolution800", {0x0C, 0x01, 0x20, 0x03, 0x20, 0x03, 0x0F}, 140},
                      CountCase{"KeyWithLargeOperand", {0x02, 0x01, 0x04, 0x00, 0xFF, 0xFF}, 140},
                      CountCase{"SystemLock", {0x18, 0x01, 0x02, 0x00, 0x04, 0x00, 0x0F}, 4},
                      CountCase{"WebPage", {0x24, 0x00, 0x14, 0x00, 0x00, 0x01}, 140}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LibraryOnMouse, ReadsBackWhatWasSet) {
    ASSERT_EQ(setPollingRate(*core, 4, 125), 1);
    ButtonSetting key{};
    key.button = 2;
    key.type = 18;
    key.value = 'Q';
    ASSERT_EQ(setButtonSettings(*core, 4, &key), 1);
    ProfileData data{};
    ASSERT_EQ(readProfileData(*core, 4, &data, nullptr), 1);
    EXPECT_EQ(data.pollingRate, 125);
    EXPECT_EQ(data.buttons[1].type, 18);
    EXPECT_EQ(data.buttons[1].value, 'Q');
    EXPECT_EQ(data.buttons[0].type, 16);
}

}  // namespace
}  // namespace orvane::devlib::testing
