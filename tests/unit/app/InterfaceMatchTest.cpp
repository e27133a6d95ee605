#include "app/InterfaceMatch.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

struct NameCase {
    const char* name;
    bool matches;
};

class InterfaceMatch : public testing::TestWithParam<NameCase> {};

TEST_P(InterfaceMatch, NeedsVendorProductAndFirstInterfaceAfterTheFirstCharacter) {
    EXPECT_EQ(namesMouseInterface(GetParam().name, 0x1209, 0x0001), GetParam().matches)
        << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, InterfaceMatch,
    testing::Values(NameCase{"HID#VID_1209&PID_0001&MI_00#hidraw3", true},
                    NameCase{"\\\\?\\HID#VID_1209&PID_0001&MI_00#7&1a2b", true},
                    NameCase{"HID#VID_1209&PID_0001&MI_01#hidraw4", false},  // another interface
                    NameCase{"HID#VID_1209&PID_0002&MI_00#hidraw4", false},  // the boot loader
                    NameCase{"HID#VID_1208&PID_0001&MI_00#hidraw4", false},
                    NameCase{"hid#vid_1209&pid_0001&mi_00#hidraw3", false},  // letter case counts
                    NameCase{"1209&PID_0001&MI_00", false},  // the vendor id only at the start
                    NameCase{"", false}),
    [](const testing::TestParamInfo<NameCase>& info) { return test::spelled(info.param.name); });

TEST(InterfaceMatchHex, ComparesUpperCaseDigits) {
    EXPECT_TRUE(namesMouseInterface("HID#VID_ABCD&PID_00EF&MI_00#x", 0xABCD, 0x00EF));
    EXPECT_FALSE(namesMouseInterface("HID#VID_abcd&PID_00ef&MI_00#x", 0xABCD, 0x00EF));
}

}  // namespace
}  // namespace orvane
