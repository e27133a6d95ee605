#pragma once

namespace orvane {

struct AppPaths;
class Clock;
class DeviceLink;
class KeyboardHook;
class MacroCollection;
class PointerSettings;
class Shell;

// What a page may reach outside itself, handed to every page by the
// composition root (CVYSKApp) through the main window. A page never picks a
// backend or opens a device of its own, so that tests hand it doubles. Every
// member outlives the pages; a null member is a service this desktop lacks
// (no key hook on a Wayland session without X11, no pointer settings where
// no backend fits), and the pages say so rather than fail.
struct PageServices {
    DeviceLink* link = nullptr;
    KeyboardHook* keyboardHook = nullptr;
    PointerSettings* pointerSettings = nullptr;
    Shell* shell = nullptr;
    Clock* clock = nullptr;
    const AppPaths* paths = nullptr;
    // The user's macros, which the Macro Settings page holds: the mouse page
    // offers them to the buttons.
    MacroCollection* macros = nullptr;
};

}  // namespace orvane
