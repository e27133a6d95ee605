#pragma once

#include <cstdint>
#include <span>

#include "Orvane_pro_dll.h"
#include "devlib/LibraryCore.h"

// The library's exports as functions of a LibraryCore, so that tests run them
// against any bus and clock; Exports.cpp hands each one the library's
// instance.
namespace orvane::devlib {

// Opening, closing, status and versions.
int openApplicationDevice(LibraryCore& core);
int openBootLoaderDevice(LibraryCore& core);
int openCompliantDevice(LibraryCore& core);
std::uint8_t closeCommandDevice(LibraryCore& core);
std::uint8_t getDeviceStatus(LibraryCore& core, std::int16_t* status);
std::uint8_t getFirmwareVersion(LibraryCore& core, std::uint16_t* version);
std::uint8_t getBootLoaderVersion(LibraryCore& core, std::uint16_t* version);
std::uint8_t getLibraryVersion(std::uint16_t* version);
// 0x0102 gives 102: the hexadecimal digits read back as a decimal number.
std::uint16_t versionAsDecimal(std::uint16_t version);

// Sensor and lighting settings.
std::uint8_t setPollingRate(LibraryCore& core, std::int32_t profile, std::int32_t rate);
std::uint8_t setResponseTime(LibraryCore& core, std::int32_t profile, std::int32_t time);
std::uint8_t setLiftOff(LibraryCore& core, std::int32_t profile, std::int32_t lod);
std::uint8_t setAngleSnapping(LibraryCore& core, std::int32_t profile, std::int32_t on);
std::uint8_t setDpiSettings(LibraryCore& core, std::int32_t profile, const DpiBlock& dpi);
std::uint8_t resetSensorSettings(LibraryCore& core, std::int32_t profile, std::int32_t polling,
                                 std::int32_t responseTime, std::int32_t angleSnapping,
                                 std::int32_t liftOff, const DpiBlock& dpi);
std::uint8_t updateLightingSettings(LibraryCore& core, std::int32_t profile, std::int32_t mode,
                                    const LightingBlock& lighting, std::int32_t brightness,
                                    std::int32_t flag, std::int32_t option);

// Profiles.
std::uint8_t resetProfileDefault(LibraryCore& core, std::int32_t profile);
std::uint8_t syncProfile(LibraryCore& core, std::int32_t profile);
std::uint8_t getCurrentProfileId(LibraryCore& core, std::uint8_t* profile);
std::uint8_t setCurrentProfileId(LibraryCore& core, std::int32_t profile);
std::uint8_t addProfile(LibraryCore& core, std::int32_t profile);
std::uint8_t deleteProfile(LibraryCore& core, std::int32_t profile);
std::uint8_t copyProfileData(LibraryCore& core, std::int32_t source, std::int32_t target);
std::uint8_t getNumberOfProfiles(LibraryCore& core, std::uint8_t* count);
std::uint8_t resetFactoryDefault(LibraryCore& core);
std::uint8_t readProfileData(LibraryCore& core, std::int32_t profile, ProfileData* data,
                             ProgramTexts* texts);

// Buttons.
std::uint8_t setButtonSettings(LibraryCore& core, std::int32_t profile,
                               const ButtonSetting* setting);
std::uint8_t setButtonRunProgram(LibraryCore& core, const RunProgramRequest* request);
std::uint8_t setButtonRunBrowser(LibraryCore& core, const RunProgramRequest* request);
// One data block of a button; 1 written, 2 not sent, 20 refused.
std::uint8_t writeDataBlock(LibraryCore& core, std::uint8_t profile, std::uint8_t button,
                            std::span<const std::uint8_t> block);
// Reads one data block into `block` (1024 bytes, cleared first); true when
// the read worked with status 1.
bool readDataBlock(LibraryCore& core, std::uint8_t profile, std::uint8_t button,
                   std::span<std::uint8_t> block);

}  // namespace orvane::devlib
