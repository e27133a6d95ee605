#pragma once

#include <filesystem>

#include "platform/UpdateFolderNames.h"

namespace orvane {

// The version a missing Config.ini or a missing key stands for: newer than
// any firmware, so every mouse below 1.01 is offered the update.
inline constexpr int kUpdateVersionWhenUnknown = 1000;

// The update folder for an application in `programFolder`: beside it (a build
// tree, a portable install) when there, else below ../lib/orvane/ (a packaged
// install); the one beside it when neither exists, so that what is built
// from it names a place the user can be told about.
std::filesystem::path updateFolderFor(const std::filesystem::path& programFolder);

// The "Version" key of the "Firmware" section, read as a decimal number the
// way the update program writes it (101 for firmware 1.01). Section and key
// names ignore letter case; a value that does not start with digits reads as
// 0. kUpdateVersionWhenUnknown when the file, the section or the key is missing.
int readConfiguredFirmwareVersion(const std::filesystem::path& configFile);

// Whether a mouse with `mouseValue` (firmwareVersionValue) is to be updated:
// below 1.01 and below the configured version. Firmware 1.01 and later is
// never offered an update, whatever the configuration says.
inline bool firmwareUpdateDue(int mouseValue, int configuredVersion) {
    constexpr int kNeverBelow = 101;
    return mouseValue < kNeverBelow && mouseValue < configuredVersion;
}

}  // namespace orvane
