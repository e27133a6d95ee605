#pragma once

// The failure texts that the dialogs and the application shell share; the
// shell's own texts live beside it.
namespace orvane::texts {

inline constexpr const char* kMessageCaption = "VELTRAC";
inline constexpr const char* kMouseNotFound = "ORVANE Pro mouse not found !";
inline constexpr const char* kHookFailed = "set hook failed.";

// Ours: a mouse that is plugged in but that the user may not open. The fix
// goes with it, because "not found" would send the user hunting for a cable.
inline constexpr const char* kMouseNotReadable =
    "The ORVANE Pro mouse is plugged in, but you are not allowed to open it (%1).\n\n"
    "Install the orvane-config package, whose udev rule lets the user at the desk use the "
    "mouse. If it is installed, reload the rules and plug the mouse in again:\n\n"
    "sudo udevadm control --reload-rules && sudo udevadm trigger\n\n"
    "\"orvanectl doctor\" checks the whole setup.";

}  // namespace orvane::texts
