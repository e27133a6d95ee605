// The report descriptors are all the kernel learns of the mouse's reports:
// walked here item by item as a HID parser reads them.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "emulator/ReportDescriptors.h"
#include "protocol/DeviceIds.h"

namespace orvane::emulator {
namespace {

struct Layout {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    // (main item, report id) -> bits, report id not counted
    std::map<std::pair<std::uint8_t, std::uint8_t>, std::uint32_t> bits;
    std::int64_t logicalMaximum = 0;
    int depth = 0;
};

Layout walk(const std::vector<std::uint8_t>& bytes) {
    Layout layout;
    std::uint8_t reportId = 0;
    std::uint32_t size = 0;
    std::uint32_t count = 0;
    bool first = true;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::uint8_t prefix = bytes[at];
        const std::size_t length = (prefix & 3) == 3 ? 4 : (prefix & 3);
        EXPECT_LE(at + 1 + length, bytes.size()) << "item runs past the end at " << at;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < length && at + 1 + i < bytes.size(); ++i) {
            value |= std::uint32_t{bytes[at + 1 + i]} << (8 * i);
        }
        std::int64_t signedValue = value;
        if (length == 1)
            signedValue = static_cast<std::int8_t>(value);
        if (length == 2)
            signedValue = static_cast<std::int16_t>(value);
        switch (prefix & 0xFC) {
            case 0x04:
                if (first)
                    layout.usagePage = static_cast<std::uint16_t>(value);
                break;
            case 0x08:
                if (first)
                    layout.usage = static_cast<std::uint16_t>(value);
                break;
            case 0xA0:
                first = false;
                ++layout.depth;
                break;
            case 0xC0:
                --layout.depth;
                break;
            case 0x24:
                layout.logicalMaximum = signedValue;
                break;
            case 0x74:
                size = value;
                break;
            case 0x84:
                reportId = static_cast<std::uint8_t>(value);
                break;
            case 0x94:
                count = value;
                break;
            case 0x80:
            case 0xB0:
                layout.bits[{static_cast<std::uint8_t>(prefix & 0xFC), reportId}] += size * count;
                break;
            default:
                break;
        }
        at += 1 + length;
    }
    return layout;
}

HidDeviceInfo interfaceWith(std::uint16_t usagePage, std::uint16_t usage) {
    HidDeviceInfo info;
    info.usagePage = usagePage;
    info.usage = usage;
    return info;
}

constexpr std::uint8_t kInput = 0x80;
constexpr std::uint8_t kFeature = 0xB0;

TEST(ReportDescriptors, ConfigurationInterfaceDeclaresTheMousesReportsAndLengths) {
    for (const bool bootLoader : {false, true}) {
        const Layout layout =
            walk(reportDescriptor(interfaceWith(kConfigUsagePage, kConfigUsage), bootLoader));
        EXPECT_EQ(layout.usagePage, kConfigUsagePage);
        EXPECT_EQ(layout.usage, kConfigUsage);
        EXPECT_EQ(layout.depth, 0);
        // A byte's logical maximum of 255 must not read back as -1.
        EXPECT_EQ(layout.logicalMaximum, 255);
        const std::uint32_t commandBytes = bootLoader ? 1040 : 63;
        const std::map<std::pair<std::uint8_t, std::uint8_t>, std::uint32_t> expected = {
            {{kFeature, 0xA0}, 1040 * 8},
            {{kFeature, 0xA1}, commandBytes * 8},
            {{kInput, 0x03}, 8 * 8}};
        EXPECT_EQ(layout.bits, expected) << (bootLoader ? "boot loader" : "application");
        EXPECT_EQ(featureReportSize(0xA1, bootLoader), commandBytes + 1);
    }
    EXPECT_EQ(featureReportSize(0xA0, false), 1041U);
    EXPECT_EQ(featureReportSize(0x42, false), std::nullopt);
}

TEST(ReportDescriptors, OtherInterfacesCarryNoFeatureReportsAndUnknownOnesNothing) {
    const Layout compliant =
        walk(reportDescriptor(interfaceWith(kCompliantUsagePage, kCompliantUsage), false));
    EXPECT_EQ(compliant.usagePage, kCompliantUsagePage);
    EXPECT_EQ(compliant.usage, kCompliantUsage);
    const Layout pointer = walk(reportDescriptor(interfaceWith(0x0001, 0x0002), false));
    EXPECT_EQ(pointer.usagePage, 0x0001);
    EXPECT_EQ(pointer.usage, 0x0002);
    EXPECT_EQ(pointer.depth, 0);
    // three buttons' worth of padding make whole bytes: buttons, x, y, wheel
    EXPECT_EQ((pointer.bits.at({kInput, 0})), 4U * 8U);
    for (const Layout& layout : {compliant, pointer}) {
        for (const auto& [item, bits] : layout.bits) {
            EXPECT_NE(item.first, kFeature);
        }
    }
    EXPECT_TRUE(reportDescriptor(interfaceWith(0xFF00, 0x0001), false).empty());
}

}  // namespace
}  // namespace orvane::emulator
