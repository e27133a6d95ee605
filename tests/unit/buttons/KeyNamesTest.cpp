#include "buttons/KeyNames.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace orvane {
namespace {

class KeyName : public ::testing::TestWithParam<std::pair<std::uint8_t, std::string>> {};

TEST_P(KeyName, ShowsTheNameOfItsCode) {
    EXPECT_EQ(GetKeyName(GetParam().first), GetParam().second);
}

// Keypad digits share the top-row names; generic modifiers (16-18) never
// reach the hook and, like the gaps between runs, have no name.
INSTANTIATE_TEST_SUITE_P(
    Samples, KeyName,
    ::testing::Values(std::pair{48, "0"}, std::pair{57, "9"}, std::pair{49, "1"},
                      std::pair{97, "1"}, std::pair{105, "9"}, std::pair{65, "A"},
                      std::pair{90, "Z"}, std::pair{112, "F1"}, std::pair{135, "F24"},
                      std::pair{38, "UP ARROW "}, std::pair{175, "Volume Up "}, std::pair{107, "+"},
                      std::pair{187, "+"}, std::pair{220, "\\"}, std::pair{166, "Browser Back"},
                      std::pair{255, "Fn"}, std::pair{0, ""}, std::pair{3, ""}, std::pair{16, ""},
                      std::pair{18, ""}, std::pair{108, ""}, std::pair{136, ""},
                      std::pair{254, ""}),
    [](const auto& info) { return test::caseName("Code", info.param.first); });

}  // namespace
}  // namespace orvane
