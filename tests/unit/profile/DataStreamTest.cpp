#include "profile/DataStream.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace orvane {
namespace {

std::vector<std::uint8_t> writtenBy(void (*write)(DataStream&)) {
    DataStream stream = DataStream::forWriting();
    write(stream);
    return stream.bytes();
}

TEST(DataStream, IntegersAndTextAreLittleEndianWithAUnitCount) {
    const auto bytes = writtenBy([](DataStream& s) {
        s.putU8(0xAB);
        s.putU16(0x1234);
        s.putU32(0xDEADBEEF);
        s.putText(u"Hi\u20AC");
    });
    const std::vector<std::uint8_t> expected = {0xAB, 0x34, 0x12, 0xEF, 0xBE, 0xAD, 0xDE, 3,   0,
                                                0,    0,    'H',  0,    'i',  0,    0xAC, 0x20};
    EXPECT_EQ(bytes, expected);
}

TEST(DataStream, DecimalTextHasNoLeadingZerosAndASignOnlyWhenNegative) {
    const auto bytes = writtenBy([](DataStream& s) {
        s.putDecimal(0);
        s.putDecimal(-1);
    });
    const std::vector<std::uint8_t> expected = {1, 0, 0, 0, '0', 0, 2, 0, 0, 0, '-', 0, '1', 0};
    EXPECT_EQ(bytes, expected);
}

TEST(DataStream, GrowsByTwiceTheRequestOrAtLeast1024Bytes) {
    DataStream stream = DataStream::forWriting();
    EXPECT_EQ(stream.capacity(), 1024U);
    for (int i = 0; i < 1024; ++i) {
        stream.putU8(1);
    }
    EXPECT_EQ(stream.capacity(), 1024U);  // exactly full, no growth yet
    stream.putU8(2);
    EXPECT_EQ(stream.capacity(), 2048U);
    ASSERT_TRUE(stream.ensureSpace(5000));
    EXPECT_EQ(stream.capacity(), 2048U + 10000U);
    EXPECT_EQ(stream.length(), 1025U);
    EXPECT_EQ(stream.data()[1024], 2);
    EXPECT_EQ(stream.data()[1025], 0);  // new room is zeroed
}

TEST(DataStream, ReadsBackWhatWasWritten) {
    DataStream stream = DataStream::forWriting();
    stream.putU8(7);
    stream.putU16(65535);
    stream.putU32(0x80000001);
    stream.putText(u"na\u00EFve");
    stream.putDecimal(std::numeric_limits<std::int32_t>::min());
    for (std::uint32_t v : {1U, 2U, 3U, 4U}) {
        stream.putU32(v);
    }
    EXPECT_EQ(stream.getU8(), 7);
    EXPECT_EQ(stream.getU16(), 65535);
    EXPECT_EQ(stream.getU32(), 0x80000001U);
    EXPECT_EQ(stream.getText(), u"na\u00EFve");
    EXPECT_EQ(stream.getDecimal(), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(stream.getFourU32(), (std::array<std::uint32_t, 4>{1, 2, 3, 4}));
    EXPECT_FALSE(stream.failed());
    EXPECT_EQ(stream.remaining(), 0U);
}

TEST(DataStream, TextCountWithTopBitSetReadsAsEmptyAndConsumesOnlyTheCount) {
    DataStream stream = DataStream::fromBytes({0x02, 0x00, 0x00, 0x80, 'A', 0});
    EXPECT_EQ(stream.getText(), u"");
    EXPECT_FALSE(stream.failed());
    EXPECT_EQ(stream.getU16(), 'A');
}

TEST(DataStream, ReadingPastTheEndFailsStickilyAndYieldsZero) {
    DataStream stream = DataStream::fromBytes({1, 2, 3});
    EXPECT_EQ(stream.getU32(), 0U);
    EXPECT_TRUE(stream.failed());
    EXPECT_EQ(stream.readPosition(), 0U);
    EXPECT_EQ(stream.getU8(), 0);  // even though a byte is there: the stream is spoilt
}

TEST(DataStream, TextCountRunningPastTheEndIsRejectedWithoutAllocating) {
    DataStream stream = DataStream::fromBytes({0xFF, 0xFF, 0xFF, 0x7F, 'A', 0});
    EXPECT_EQ(stream.getText(), u"");
    EXPECT_TRUE(stream.failed());
}

struct DecimalCase {
    std::u16string text;
    std::int32_t value;
};

void PrintTo(const DecimalCase& c, std::ostream* out) {
    *out << '"' << std::string(c.text.begin(), c.text.end()) << '"';
}

class ParseDecimal : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(ParseDecimal, TakesTheLeadingInteger) {
    EXPECT_EQ(parseDecimal(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseDecimal,
    ::testing::Values(DecimalCase{u"16776960", 16776960}, DecimalCase{u"-1", -1},
                      DecimalCase{u"  \t\n+42", 42}, DecimalCase{u"12abc", 12},
                      DecimalCase{u"abc", 0}, DecimalCase{u"", 0}, DecimalCase{u"-", 0},
                      DecimalCase{u"- 5", 0}, DecimalCase{u"007", 7},
                      DecimalCase{u"2147483647", 2147483647},
                      DecimalCase{u"-2147483648", std::numeric_limits<std::int32_t>::min()},
                      DecimalCase{u"99999999999999999999", 2147483647},
                      DecimalCase{u"-99999999999999999999",
                                  std::numeric_limits<std::int32_t>::min()},
                      DecimalCase{u"\u0661", 0}),
    [](const ::testing::TestParamInfo<DecimalCase>& info) {
        return "Text_" + test::spelled(info.param.text);
    });  // only ASCII digits count

}  // namespace
}  // namespace orvane
