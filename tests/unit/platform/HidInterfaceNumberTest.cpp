#include <gtest/gtest.h>

#include "platform/HidBus.h"

namespace orvane {
namespace {

// The number decides whether an arrival names the configuration interface
// ("MI_00"): read wrongly, the mouse's other interfaces would pass for it.
TEST(HidInterfaceNumber, ReadFromTheKernelsPlaceNameOfTheInterface) {
    const std::pair<const char*, int> table[] = {
        {"usb-0000:00:14.0-1/input0", 0},
        {"usb-0000:00:14.0-1.4/input2", 2},
        {"orvane-emud/input1", 1},
        {"usb-0000:00:14.0-1/input12", 12},
        {"", -1},                          // Bluetooth and I2C devices name none
        {"usb-0000:00:14.0-1/input", -1},  // no digits
        {"usb-0000:00:14.0-1/input0x", -1},
        {"usb-0000:00:14.0-1/input256", -1},  // beyond what USB numbers
        {"usb-0000:00:14.0-1/input99999999999", -1},
        {"11:22:33:44:55:66", -1},
    };
    for (const auto& [phys, number] : table) {
        EXPECT_EQ(interfaceNumberFromPhys(phys), number) << phys;
    }
    HidDeviceInfo second;
    second.vendorId = 0x1209;
    second.productId = 0x0001;
    second.interfaceNumber = interfaceNumberFromPhys("orvane-emud/input1");
    EXPECT_EQ(hidInterfaceName(second, "hidraw1"), "HID#VID_1209&PID_0001&MI_01#hidraw1");
}

}  // namespace
}  // namespace orvane
