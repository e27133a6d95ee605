#pragma once

#include "controls/MessageTexts.h"

// Every text the application shell shows, in one place.
namespace orvane::texts {

inline constexpr const char* kWindowTitle = "ORVANE PRO Software";
inline constexpr const char* kTrayTooltip = "ORVANE Pro Gaming Mouse";
inline constexpr const char* kTrayConfigMouse = "Config Mouse";
inline constexpr const char* kTrayExit = "Exit";
// The tick is U+221A, which the fonts the menu falls back to all carry.
inline constexpr const char* kTrayAutostartOn = "\u221A Start with the desktop";
inline constexpr const char* kTrayAutostartOff = "Start with the desktop";
inline constexpr const char* kAutostartFailed =
    "The program could not be set to start with the desktop: %1";
inline constexpr const char* kNotificationsFailed = "RegisterDeviceNotification Failed!";
inline constexpr const char* kNoFirmwareVersion = "-.--";

inline constexpr const char* kMenuRename = "Rename";
inline constexpr const char* kMenuSave = "Save current settings";
inline constexpr const char* kMenuExport = "Export Profile";
inline constexpr const char* kMenuImport = "Import Profile";
inline constexpr const char* kMenuDisable = "Disable/Enable";
inline constexpr const char* kProfileFilter = "Mouse Profile(*.profile)";

// Texts of our own, for failures that used to pass in silence.
inline constexpr const char* kNotAProfile =
    "\"%1\" is not a profile file or is damaged; nothing was imported.";
inline constexpr const char* kProfileNotSaved =
    "The profile could not be written to \"%1\". The file there was left as it was.";
inline constexpr const char* kMacrosNotSaved =
    "The macros could not all be written to \"%1\". The files there were left as they were.";
inline constexpr const char* kMacroShortened =
    "The macro of button %1 did not fit into the mouse's memory; only its first steps were "
    "written.";
inline constexpr const char* kReplaceFile = "\"%1\" already exists. Do you want to replace it?";
inline constexpr const char* kMacroDelayCut =
    "Step %2 of the macro of button %1 waits %3 ms, longer than the mouse can hold (%4 ms); "
    "the mouse waits %5 ms there instead.";
inline constexpr const char* kNoDeviceEvents =
    "Resolution changes made on the mouse will not be shown: %1";

}  // namespace orvane::texts
