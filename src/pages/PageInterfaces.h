#pragma once

#include <QString>
#include <functional>

#include "profile/MouseProfile.h"

namespace orvane {

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

}  // namespace orvane
