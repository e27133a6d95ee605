#include "buttons/KeyUsages.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <utility>

namespace orvane {
namespace {

class KeyUsage : public ::testing::TestWithParam<std::pair<std::uint16_t, std::uint16_t>> {};

TEST_P(KeyUsage, MapsCodeToUsage) {
    EXPECT_EQ(keyToHidUsage(GetParam().first), GetParam().second);
}

// Named keys without a usage, and codes past a byte, reach the mouse as they are.
INSTANTIATE_TEST_SUITE_P(
    Samples, KeyUsage,
    ::testing::Values(std::pair{3, 0x48}, std::pair{19, 0x48}, std::pair{49, 0x1E},
                      std::pair{97, 0x59}, std::pair{48, 0x27}, std::pair{96, 0x62},
                      std::pair{90, 0x1D}, std::pair{123, 0x45}, std::pair{175, 0x80},
                      std::pair{1, 1}, std::pair{124, 124}, std::pair{166, 166},
                      std::pair{255, 255}, std::pair{256, 256}, std::pair{0xFFFF, 0xFFFF}),
    [](const auto& info) { return test::caseName("Code", info.param.first); });

TEST(KeyUsage, EveryTableKeyReadsBackAsItselfExceptCancelWhichReadsAsPause) {
    int keys = 0;
    for (const KeyUsageRun& run : keyUsageRuns()) {
        for (int code = run.firstCode; code <= run.lastCode; ++code, ++keys) {
            const auto key = static_cast<std::uint16_t>(code);
            EXPECT_EQ(hidUsageToKey(keyToHidUsage(key)), key == 3 ? 19 : key) << "key " << code;
        }
    }
    EXPECT_EQ(keys, 106);  // 26 letters, 20 digits, 12 function keys, 48 single keys
}

TEST(KeyUsage, UsagesOutsideTheTableReadBackUnchanged) {
    for (std::uint16_t usage : {0x01, 0x32, 0x58, 0x100}) {
        EXPECT_EQ(hidUsageToKey(usage), usage);
    }
}

}  // namespace
}  // namespace orvane
