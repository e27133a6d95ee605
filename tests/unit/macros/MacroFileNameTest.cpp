#include "macros/MacroFileName.h"

#include <gtest/gtest.h>

#include <set>

#include "profile/TextCodec.h"
#include "support/CaseName.h"

namespace orvane {
namespace {

class CollidingName : public ::testing::TestWithParam<std::u16string> {};

// Saving appends ones until the file name is free; if an appended one could
// leave the name unchanged, the save would never end.
TEST_P(CollidingName, EveryAppendedOneGivesANewFileNameWithinTheLimit) {
    std::set<std::string> seen;
    for (std::size_t ones = 0; ones <= 100; ++ones) {
        const std::optional<std::string> fileName = macroFileName(GetParam(), ones);
        ASSERT_TRUE(fileName.has_value()) << ones;
        EXPECT_LE(fileName->size(), kMaxMacroFileNameBytes);
        EXPECT_TRUE(fileName->ends_with(".macro") && fileName->size() > 6 && (*fileName)[0] != '.');
        EXPECT_EQ(toUtf8(fromUtf8(*fileName)), *fileName) << "cut inside a character";
        EXPECT_TRUE(seen.insert(*fileName).second) << "repeated with " << ones << " ones";
    }
}

INSTANTIATE_TEST_SUITE_P(Names, CollidingName,
                         ::testing::Values(std::u16string(300, u'\u00e9'),
                                           std::u16string(300, u'\u65e5') + u"1",
                                           u"x" + std::u16string(300, u'1'),
                                           std::u16string(300, u'1') + u"x", u"Macro1", u""),
                         [](const ::testing::TestParamInfo<std::u16string>& info) {
                             const std::u16string& name = info.param;
                             return name.size() > 8
                                        ? test::caseName(name.size(), "Characters", "From",
                                                         static_cast<int>(name.front()), "To",
                                                         static_cast<int>(name.back()))
                                        : test::spelled(name);
                         });

}  // namespace
}  // namespace orvane
