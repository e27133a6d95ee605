#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvane {

// Byte 1 of a request is the command; the operands follow at fixed places,
// and values start where the payload does (byte 16, see ReportLayout.h).
namespace operand {
inline constexpr std::size_t kSubCommand = 2;
inline constexpr std::size_t kProfile = 5;  // the application's slot, the library's profile
inline constexpr std::size_t kSecond = 6;   // the application's image half
inline constexpr std::size_t kThird = 7;    // a data block's sum
}  // namespace operand

// The configuration application's command set.
namespace app_command {
inline constexpr std::uint8_t kReadCurrentProfile = 0x03;
inline constexpr std::uint8_t kSelectProfile = 0x04;
inline constexpr std::uint8_t kSurfaceAnalysis = 0x05;
inline constexpr std::uint8_t kWriteImageHalf = 0x08;  // a data report

// Sub-commands of kSurfaceAnalysis.
inline constexpr std::uint8_t kSurfaceStart = 0x01;
inline constexpr std::uint8_t kSurfaceQuality = 0x02;
}  // namespace app_command

// The device-control library's command set.
namespace lib_command {
inline constexpr std::uint8_t kVersions = 0x02;
inline constexpr std::uint8_t kButton = 0x0A;
inline constexpr std::uint8_t kProfile = 0x0B;
inline constexpr std::uint8_t kLighting = 0x0C;
inline constexpr std::uint8_t kSensor = 0x0D;
inline constexpr std::uint8_t kFactoryReset = 0x0E;
inline constexpr std::uint8_t kWriteDataBlock = 0x21;  // a data report
inline constexpr std::uint8_t kReadDataBlock = 0x25;
inline constexpr std::uint8_t kEnterBootLoader = 0x3A;

// Sub-commands of kSensor.
namespace sensor {
inline constexpr std::uint8_t kPollingRate = 0x01;
inline constexpr std::uint8_t kResponseTime = 0x02;
inline constexpr std::uint8_t kAngleSnapping = 0x03;
inline constexpr std::uint8_t kLiftOff = 0x04;
inline constexpr std::uint8_t kDpi = 0x0A;
inline constexpr std::uint8_t kResetAll = 0x0F;
}  // namespace sensor

// Sub-commands of kProfile.
namespace profile {
inline constexpr std::uint8_t kResetDefault = 0x01;
inline constexpr std::uint8_t kSync = 0x02;
inline constexpr std::uint8_t kCurrent = 0x03;
inline constexpr std::uint8_t kSelect = 0x04;
inline constexpr std::uint8_t kAdd = 0x05;
inline constexpr std::uint8_t kDelete = 0x06;
inline constexpr std::uint8_t kRead = 0x07;
inline constexpr std::uint8_t kCount = 0x09;
inline constexpr std::uint8_t kCopy = 0x0A;

// Profile number 6 of a sync stands for every profile at once.
inline constexpr std::uint8_t kSyncAllProfiles = 6;
}  // namespace profile

// What enters the boot loader only when it follows kEnterBootLoader from
// the profile operand on.
inline constexpr std::array<std::uint8_t, 3> kBootLoaderUnlock = {0x3C, 0xC3, 0x71};

}  // namespace lib_command

// A button's 7-byte entry, in a slot image and in the library's profile
// block alike: what the button does first, the trailer last.
namespace button_entry {
inline constexpr std::uint8_t kKey = 0x02;
inline constexpr std::uint8_t kMacro = 0x03;
inline constexpr std::uint8_t kSystem = 0x18;
inline constexpr std::uint8_t kRunProgram = 0x23;
inline constexpr std::uint8_t kOpenWebPage = 0x24;
inline constexpr std::uint8_t kTrailer = 0x0F;
}  // namespace button_entry

// The boot loader's command set (under its own product id).
namespace boot_command {
inline constexpr std::uint8_t kImageInformation = 0x03;
inline constexpr std::uint8_t kImageBlock = 0x06;
inline constexpr std::uint8_t kFinish = 0x09;

// Where the operands of the boot loader's requests stand.
inline constexpr std::size_t kBlockNumberByte = 2;
inline constexpr std::size_t kBlockSumByte = 3;
inline constexpr std::size_t kBlockCountByte = 16;
inline constexpr std::size_t kImageSumByte = 17;
}  // namespace boot_command

}  // namespace orvane
