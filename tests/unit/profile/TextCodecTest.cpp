#include "profile/TextCodec.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(TextCodec, Utf8RoundTripsEveryPlane) {
    const std::u16string text = u"Profile \u00E9\u20AC\U0001F5B1";
    EXPECT_EQ(toUtf8(text), "Profile \xC3\xA9\xE2\x82\xAC\xF0\x9F\x96\xB1");
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
}

TEST(TextCodec, BrokenSequencesBecomeReplacementCharacters) {
    EXPECT_EQ(toUtf8(std::u16string{u'a', char16_t(0xD800), u'b'}),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(fromUtf8("a\xFF"
                       "b"),
              u"a\uFFFDb");
    EXPECT_EQ(fromUtf8("\xC0\x80"), u"\uFFFD");  // overlong NUL
    EXPECT_EQ(fromUtf8("\xE2\x82"), u"\uFFFD");  // cut short
}

TEST(TextCodec, Windows1252KeepsItsOwnCharactersAndMarksTheRest) {
    EXPECT_EQ(toWindows1252(u"A\u00FF\u20AC\u0178"), "A\xFF\x80\x9F");
    EXPECT_EQ(toWindows1252(u"\u4E2D\U0001F5B1x"), "??x");  // a pair is one character
    EXPECT_EQ(toWindows1252(u"\u0081"), "?");               // one of the code page's holes
}

}  // namespace
}  // namespace orvane
