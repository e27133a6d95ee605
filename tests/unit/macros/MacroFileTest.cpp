#include "macros/MacroFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orvane {
namespace {

using ::testing::ElementsAre;

std::vector<std::uint8_t> twoKeyStepFile(CMacro& macro) {
    macro.name = u"Macro";
    macro.id = 16;
    macro.layoutRect = {0, 0, 199, 197};
    macro.addEvent(kKeyEvent, 'A', kPressed, 120, kAppendEvent);
    macro.addEvent(kKeyEvent, 'A', kReleased, 0x01020304, kAppendEvent);
    macro.events[0].rowRect.top = -13;  // a scroll offset at the time of saving
    DataStream stream = DataStream::forWriting();
    writeMacro(macro, stream);
    return stream.bytes();
}

void expectSameMacro(const CMacro& actual, const CMacro& expected) {
    EXPECT_EQ(actual.name, expected.name);
    EXPECT_EQ(actual.id, expected.id);
    EXPECT_EQ(actual.layoutRect, expected.layoutRect);
    EXPECT_EQ(actual.events, expected.events);
}

TEST(MacroFile, TwoKeyStepsMakeA102ByteFileThatReadsBackUnchanged) {
    CMacro saved;
    const std::vector<std::uint8_t> bytes = twoKeyStepFile(saved);
    ASSERT_EQ(bytes.size(), 102U);
    // type, code, state, delay, row, selected, id
    EXPECT_THAT(std::vector<std::uint8_t>(bytes.begin() + 70, bytes.end()),
                ElementsAre(0x01, 'A', 0, 1, 4, 3, 2, 1, 4, 0, 0, 0, 23, 0, 0, 0, 197, 0, 0, 0, 41,
                            0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0));
    DataStream stream = DataStream::fromBytes(bytes);
    CMacro loaded;
    ASSERT_TRUE(readMacro(stream, loaded));
    expectSameMacro(loaded, saved);
}

TEST(MacroFile, FileCutAtAnyOffsetIsRejectedAndLeavesTheMacroAsItWas) {
    CMacro source;
    const std::vector<std::uint8_t> bytes = twoKeyStepFile(source);
    CMacro before;
    before.name = u"kept";
    before.addEvent(kWheelEvent, kWheelUpCode, kPressed, 5, kAppendEvent);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        DataStream stream =
            DataStream::fromBytes({bytes.begin(), bytes.begin() + static_cast<long>(length)});
        CMacro macro = before;
        EXPECT_FALSE(readMacro(stream, macro)) << "cut at " << length;
        expectSameMacro(macro, before);
    }
}

TEST(MacroFile, StepCountFarPastTheEndIsRejectedWithoutAllocating) {
    CMacro source;
    std::vector<std::uint8_t> bytes = twoKeyStepFile(source);
    bytes[34] = 0xFF, bytes[35] = 0xFF, bytes[36] = 0xFF, bytes[37] = 0x7F;
    DataStream stream = DataStream::fromBytes(bytes);
    EXPECT_FALSE(readMacro(stream, source));
    EXPECT_EQ(source.events.size(), 2U);
}

TEST(MacroFile, ListCutShortStillYieldsTheCompletePathsBeforeTheCut) {
    DataStream stream = DataStream::forWriting();
    writeMacroList({u"/m/a.macro", u"/m/b.macro"}, stream);
    std::vector<std::uint8_t> bytes = stream.bytes();
    bytes.pop_back();  // the second path loses its last byte
    stream = DataStream::fromBytes(bytes);
    std::vector<std::u16string> paths;
    EXPECT_FALSE(readMacroList(stream, [&](std::u16string path) { paths.push_back(path); }));
    EXPECT_THAT(paths, ElementsAre(u"/m/a.macro"));
}

}  // namespace
}  // namespace orvane
