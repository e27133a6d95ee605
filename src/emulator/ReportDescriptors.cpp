#include "emulator/ReportDescriptors.h"

#include "emulator/Reports.h"
#include "protocol/DeviceIds.h"
#include "protocol/ReportLayout.h"

namespace orvane::emulator {

namespace {

// Short items of the HID report descriptor language: a prefix byte (tag,
// type, size code) and 0, 1, 2 or 4 data bytes, little-endian.
class DescriptorWriter {
  public:
    enum Item : std::uint8_t {
        kInput = 0x80,
        kOutput = 0x90,
        kFeature = 0xB0,
        kCollection = 0xA0,
        kEndCollection = 0xC0,
        kUsagePage = 0x04,
        kLogicalMinimum = 0x14,
        kLogicalMaximum = 0x24,
        kReportSize = 0x74,
        kReportId = 0x84,
        kReportCount = 0x94,
        kUsage = 0x08,
        kUsageMinimum = 0x18,
        kUsageMaximum = 0x28,
    };
    static constexpr std::uint32_t kData = 0x00;
    static constexpr std::uint32_t kConstant = 0x01;
    static constexpr std::uint32_t kVariable = 0x02;
    static constexpr std::uint32_t kRelative = 0x04;
    static constexpr std::uint32_t kApplication = 0x01;
    static constexpr std::uint32_t kPhysical = 0x00;

    // A value in the fewest bytes that hold it. The logical limits are
    // signed: 255 in one byte would read back as -1.
    DescriptorWriter& put(Item item, std::uint32_t value) {
        const bool isSigned = item == kLogicalMinimum || item == kLogicalMaximum;
        const std::uint32_t oneByte = isSigned ? 0x80 : 0x100;
        const std::uint32_t twoBytes = isSigned ? 0x8000 : 0x10000;
        if (item == kEndCollection) {
            bytes.push_back(item);
        } else if (value < oneByte) {
            emit(item, value, 1);
        } else if (value < twoBytes) {
            emit(item, value, 2);
        } else {
            emit(item, value, 4);
        }
        return *this;
    }
    // A signed value in one byte.
    DescriptorWriter& putSigned(Item item, std::int8_t value) {
        emit(item, static_cast<std::uint8_t>(value), 1);
        return *this;
    }
    DescriptorWriter& end() { return put(kEndCollection, 0); }

    // One report of `count` bytes (report id not counted) of vendor data.
    DescriptorWriter& byteReport(Item kind, std::uint8_t reportId, std::uint32_t usage,
                                 std::size_t count) {
        if (reportId != 0) {
            put(kReportId, reportId);
        }
        return put(kUsage, usage)
            .put(kReportSize, 8)
            .put(kReportCount, static_cast<std::uint32_t>(count))
            .put(kind, kData | kVariable);
    }

    std::vector<std::uint8_t> bytes;

  private:
    void emit(Item item, std::uint32_t value, int size) {
        const std::uint8_t sizeCode = size == 4 ? 3 : static_cast<std::uint8_t>(size);
        bytes.push_back(static_cast<std::uint8_t>(item | sizeCode));
        for (int at = 0; at < size; ++at) {
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * at)));
        }
    }
};

using W = DescriptorWriter;

constexpr std::uint16_t kGenericDesktop = 0x0001;
constexpr std::uint16_t kButtonPage = 0x0009;
constexpr std::uint16_t kMouse = 0x0002;
constexpr std::uint16_t kPointer = 0x0001;
constexpr std::size_t kCompliantReportSize = 64;

std::vector<std::uint8_t> configDescriptor(bool bootLoader) {
    W writer;
    writer.put(W::kUsagePage, kConfigUsagePage)
        .put(W::kUsage, kConfigUsage)
        .put(W::kCollection, W::kApplication)
        .put(W::kLogicalMinimum, 0)
        .put(W::kLogicalMaximum, 0xFF)
        .byteReport(W::kFeature, kDataReportId, 1, kDataReportSize - 1)
        .byteReport(W::kFeature, kCommandReportId, 2,
                    *featureReportSize(kCommandReportId, bootLoader) - 1)
        .byteReport(W::kInput, kInputReportId, 3, kInputReportSize - 1)
        .end();
    return writer.bytes;
}

std::vector<std::uint8_t> compliantDescriptor() {
    W writer;
    writer.put(W::kUsagePage, kCompliantUsagePage)
        .put(W::kUsage, kCompliantUsage)
        .put(W::kCollection, W::kApplication)
        .put(W::kLogicalMinimum, 0)
        .put(W::kLogicalMaximum, 0xFF)
        .byteReport(W::kInput, 0, 1, kCompliantReportSize)
        .end();
    return writer.bytes;
}

std::vector<std::uint8_t> pointerDescriptor() {
    W writer;
    writer.put(W::kUsagePage, kGenericDesktop)
        .put(W::kUsage, kMouse)
        .put(W::kCollection, W::kApplication)
        .put(W::kUsage, kPointer)
        .put(W::kCollection, W::kPhysical)
        // five buttons and three bits of padding
        .put(W::kUsagePage, kButtonPage)
        .put(W::kUsageMinimum, 1)
        .put(W::kUsageMaximum, 5)
        .put(W::kLogicalMinimum, 0)
        .put(W::kLogicalMaximum, 1)
        .put(W::kReportSize, 1)
        .put(W::kReportCount, 5)
        .put(W::kInput, W::kData | W::kVariable)
        .put(W::kReportSize, 3)
        .put(W::kReportCount, 1)
        .put(W::kInput, W::kConstant)
        // x, y and wheel, relative
        .put(W::kUsagePage, kGenericDesktop)
        .put(W::kUsage, 0x30)
        .put(W::kUsage, 0x31)
        .put(W::kUsage, 0x38)
        .putSigned(W::kLogicalMinimum, -127)
        .putSigned(W::kLogicalMaximum, 127)
        .put(W::kReportSize, 8)
        .put(W::kReportCount, 3)
        .put(W::kInput, W::kData | W::kVariable | W::kRelative)
        .end()
        .end();
    return writer.bytes;
}

}  // namespace

std::vector<std::uint8_t> reportDescriptor(const HidDeviceInfo& interface, bool bootLoader) {
    if (interface.usagePage == kConfigUsagePage && interface.usage == kConfigUsage) {
        return configDescriptor(bootLoader);
    }
    if (interface.usagePage == kCompliantUsagePage && interface.usage == kCompliantUsage) {
        return compliantDescriptor();
    }
    if (interface.usagePage == kGenericDesktop && interface.usage == kMouse) {
        return pointerDescriptor();
    }
    return {};
}

std::optional<std::size_t> featureReportSize(std::uint8_t reportId, bool bootLoader) {
    if (reportId == kDataReportId) {
        return kDataReportSize;
    }
    if (reportId == kCommandReportId) {
        return bootLoader ? kDataReportSize : kCommandReportSize;
    }
    return std::nullopt;
}

}  // namespace orvane::emulator
