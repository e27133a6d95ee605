#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/HidDeviceInfo.h"

namespace orvane::emulator {

// The HID report descriptors of the simulated mouse's interfaces, for hosts
// that put it in front of a real HID stack (the kernel's, through uhid),
// which learns the reports from them alone.
//
// The configuration interface (usage page 0xFF01, usage 0x0002) declares
// feature report 0xA0 of 1041 bytes, 0xA1 of 64 bytes (1041 in the boot
// loader) and input report 0x03 of 9 bytes, report id included; the
// compliant interface (0xFF02/0x0001) a vendor input report; the pointer
// interface a five-button mouse with wheel. Empty for any other interface.
std::vector<std::uint8_t> reportDescriptor(const HidDeviceInfo& interface, bool bootLoader);

// The length, report id included, of a feature report of the configuration
// interface; nothing for a report id it does not declare.
std::optional<std::size_t> featureReportSize(std::uint8_t reportId, bool bootLoader);

}  // namespace orvane::emulator
