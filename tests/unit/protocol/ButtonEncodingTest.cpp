#include "protocol/image/ButtonEncoding.h"
#include "support/CaseName.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace orvane {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using Entry = std::array<std::uint8_t, kButtonEntrySize>;

constexpr std::size_t kAreaStart = 800;

// An image sized exactly to its macro area, so that a write past its end is an
// out-of-bounds write the sanitizers see.
struct Encoder {
    explicit Encoder(std::size_t announcedMacros = 1, std::size_t areaSize = 1248)
        : image(kAreaStart + areaSize, 0), area(image, kAreaStart, announcedMacros) {
        entry.fill(0xAA);
    }

    MacroFill encode(const ButtonAssignment& assignment, const ButtonMacro* macro) {
        return encodeButtonFunction(assignment, macro, entry, area);
    }

    std::vector<std::uint8_t> areaBytes(std::size_t from, std::size_t count) const {
        return {image.begin() + static_cast<std::ptrdiff_t>(from),
                image.begin() + static_cast<std::ptrdiff_t>(from + count)};
    }

    std::vector<std::uint8_t> image;
    MacroAreaWriter area;
    Entry entry{};
};

ButtonAssignment macroButton(std::uint16_t id) {
    return {0, 14, id, 0};
}

std::vector<CMacroEvent> presses(std::size_t count) {
    return std::vector<CMacroEvent>(count, CMacroEvent{1, 65, 0, 10});
}

struct FunctionCase {
    std::uint8_t function;
    std::uint8_t kind;
    std::uint8_t argument;
};

class ButtonFunctionBytes : public ::testing::TestWithParam<FunctionCase> {};

// The whole entry is written, whatever it held before. Every row carries the
// key A as parameter, which the Macro row's empty copy (id 0) does not match.
TEST_P(ButtonFunctionBytes, EncodesTheCatalogueBytes) {
    Encoder encoder;
    const ButtonMacro empty{};
    encoder.encode({0, GetParam().function, 65, 0}, &empty);
    const bool macro = GetParam().function == 14;
    EXPECT_THAT(encoder.entry, ElementsAre(GetParam().kind, GetParam().argument, macro ? 0x20 : 0,
                                           macro ? 0x03 : 0, 0, 0, 0x0F));
}

std::string functionName(const ::testing::TestParamInfo<FunctionCase>& info) {
    return test::caseName("Function", info.param.function);
}

constexpr FunctionCase kCatalogue[] = {
    {0, 0x00, 0x01},  {1, 0x00, 0x02},  {2, 0x00, 0x04},  {3, 0x00, 0x10},  {4, 0x00, 0x08},
    {5, 0x09, 0xF0},  {6, 0x09, 0xF2},  {7, 0x09, 0xF1},  {8, 0x08, 0xF1},  {9, 0x08, 0xF0},
    {10, 0x08, 0xF2}, {11, 0x01, 0x01}, {12, 0x01, 0xFF}, {13, 0x02, 0x04}, {14, 0x03, 0xFE},
    {15, 0xFF, 0x00}, {32, 0x09, 0xF3}};
INSTANTIATE_TEST_SUITE_P(Catalogue, ButtonFunctionBytes, ::testing::ValuesIn(kCatalogue),
                         functionName);

// Numbers no function owns, such as a file may carry, leave only the tail.
constexpr FunctionCase kNoFunction[] = {
    {16, 0, 0}, {20, 0, 0}, {31, 0, 0}, {33, 0, 0}, {255, 0, 0}};
INSTANTIATE_TEST_SUITE_P(NoFunction, ButtonFunctionBytes, ::testing::ValuesIn(kNoFunction),
                         functionName);

TEST(ButtonEncoding, SingleKeySendsTheLowByteOfItsUsage) {
    for (const auto& [key, usage] : std::array<std::pair<std::uint16_t, std::uint8_t>, 4>{
             {{3, 0x48}, {19, 0x48}, {124, 124}, {0x141, 0x41}}}) {
        Encoder encoder;
        EXPECT_EQ(encoder.encode({0, 13, key, 0}, nullptr), MacroFill::NotMacro);
        EXPECT_THAT(encoder.entry, ElementsAre(0x02, usage, 0, 0, 0, 0, 0x0F)) << "key " << key;
    }
}

TEST(ButtonEncoding, MacroEventCarriesUsageStateAndLow24BitsOfDelay) {
    Encoder encoder;
    const ButtonMacro macro{u"m", 42, {{1, 65, 0, 0x12345678}, {16, 1, 1, 5}}};
    EXPECT_EQ(encoder.encode(macroButton(42), &macro), MacroFill::Whole);
    // A release among the events: not a hold macro, byte 1 stays 0.
    EXPECT_THAT(encoder.entry, ElementsAre(0x03, 0x00, 0x20, 0x03, 0x02, 0x00, 0x0F));
    EXPECT_THAT(encoder.areaBytes(800, 21),
                ElementsAre(0x01, 0x04, 0x00, 0x00, 0x78, 0x56, 0x34,  //
                            0x10, 0x01, 0x00, 0x01, 0x05, 0x00, 0x00,  //
                            0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(encoder.area.position(), 821U);
}

TEST(ButtonEncoding, StaleMacroCopyGivesAnEmptyHoldMacro) {
    Encoder encoder;
    const ButtonMacro stale{u"m", 20, presses(4)};
    EXPECT_EQ(encoder.encode(macroButton(21), &stale), MacroFill::Whole);
    EXPECT_THAT(encoder.entry, ElementsAre(0x03, 0xFE, 0x20, 0x03, 0x00, 0x00, 0x0F));
    EXPECT_EQ(encoder.area.position(), 807U);
    EXPECT_THAT(encoder.image, Each(0));
}

TEST(ButtonEncoding, TakesAtMostTheFirst128EventsWithoutCallingItShortened) {
    Encoder encoder;
    ButtonMacro macro{u"m", 42, presses(130)};
    macro.events[128].state = 1;
    EXPECT_EQ(encoder.encode(macroButton(42), &macro), MacroFill::Whole);
    EXPECT_EQ(encoder.entry[4], 128);
    EXPECT_EQ(encoder.entry[5], 0);
    // The release at 128 was not taken, so the mouse holds.
    EXPECT_EQ(encoder.entry[1], 0xFE);
    EXPECT_EQ(encoder.area.position(), 800U + 7 * 129);
}

TEST(ButtonEncoding, FullAreaShortensTheMacroAndJudgesHoldOnlyOnThePressesWritten) {
    Encoder encoder(1, 4 * kMacroEventSize);
    std::vector<CMacroEvent> events = presses(4);
    events[3].state = 1;
    const ButtonMacro macro{u"m", 42, events};
    EXPECT_EQ(encoder.encode(macroButton(42), &macro), MacroFill::Shortened);
    EXPECT_THAT(encoder.entry, ElementsAre(0x03, 0xFE, 0x20, 0x03, 0x03, 0x00, 0x0F));
    EXPECT_THAT(encoder.areaBytes(821, 7), Each(0));
    EXPECT_EQ(encoder.area.eventRoom(), 0U);
}

TEST(ButtonEncoding, MacroWithNoRoomForItsTerminatorIsNotWritten) {
    Encoder encoder(0, 6);
    const ButtonMacro macro{u"m", 42, presses(1)};
    EXPECT_EQ(encoder.encode(macroButton(42), &macro), MacroFill::Shortened);
    EXPECT_THAT(encoder.entry, ElementsAre(0x03, 0xFE, 0, 0, 0, 0, 0x0F));
    EXPECT_THAT(encoder.image, Each(0));
}

}  // namespace
}  // namespace orvane
