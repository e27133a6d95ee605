#pragma once

#include <QString>
#include <filesystem>
#include <functional>

#include "profile/MouseProfile.h"

namespace orvane {

class MacroCollection;

// What the main window asks of its pages. Each page implements the parts it
// has: the Mouse Settings, Sensor Performance and Color Settings pages edit
// the current record; the Sensor Performance page marks the active level the
// mouse reports; the Support page shows the firmware version; the Macro
// Settings page says when a recording runs.

class ProfilePage {
  public:
    virtual ~ProfilePage() = default;
    // Record to controls.
    virtual void loadFromProfile(const MouseProfile& profile) = 0;
    // Controls to record.
    virtual void storeToProfile(MouseProfile& profile) = 0;
};

// A page that stores itself into the main window's current record on its
// own, when the user presses Enter on it.
class CurrentRecordStore {
  public:
    virtual ~CurrentRecordStore() = default;
    virtual void setCurrentRecord(std::function<MouseProfile&()> current) = 0;
};

class ActiveLevelView {
  public:
    virtual ~ActiveLevelView() = default;
    // Marks level 1..5 as the active one.
    virtual void showActiveDpiLevel(int level) = 0;
};

class FirmwareVersionView {
  public:
    virtual ~FirmwareVersionView() = default;
    virtual void setFirmwareVersionText(const QString& text) = 0;
};

// The Support page's start: the firmware version and, for an out-of-date
// mouse, the update offer. A user who declines it ends the application
// through `exitApplication`, the same way "Exit" in the tray does.
class SupportPageStart {
  public:
    virtual ~SupportPageStart() = default;
    virtual void initSupportPage(std::function<void()> exitApplication) = 0;
};

// The Mouse Settings page: its macro menus follow the macro collection, and
// it turns a record's pointer values into the desktop's settings on Apply.
class MousePageOperations {
  public:
    virtual ~MousePageOperations() = default;
    virtual void refreshMacroMenus() = 0;
    virtual void applyPointerSettings(const MouseProfile& profile) = 0;
};

class RecordingState {
  public:
    virtual ~RecordingState() = default;
    virtual bool isRecording() const = 0;
};

// The Macro Settings page holds the user's macros (its step editor owns
// them); the main window has them read once and saved through it.
class MacroStore {
  public:
    virtual ~MacroStore() = default;
    virtual MacroCollection& macroCollection() = 0;
    // Reads the macro files of the folder and lists them. Only the first
    // call reads: a second would add every macro again.
    virtual void loadMacros(const std::filesystem::path& folder) = 0;
    // Writes every macro file; false when one could not be written.
    virtual bool saveMacros() = 0;
    // Called after a macro was deleted, so that the buttons of the current
    // record that played it fall back to their own functions.
    virtual void setMacroRemovedHandler(std::function<void()> handler) = 0;
};

// A page that shows something of what the next Apply writes from the
// current record, without editing the record.
class RecordWatcher {
  public:
    virtual ~RecordWatcher() = default;
    virtual void setRecordSource(std::function<const MouseProfile&()> current) = 0;
    // Another record became the current one, or the current one was replaced.
    virtual void recordChanged() = 0;
};

}  // namespace orvane
