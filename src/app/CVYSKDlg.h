#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <chrono>
#include <filesystem>
#include <memory>

#include "app/ApplyRunner.h"
#include "app/MainWindowServices.h"
#include "app/ProfileSet.h"
#include "controls/CKivImageDialog.h"
#include "macros/MacroCollection.h"
#include "pages/PageServices.h"

namespace orvane {

class AutostartEntry;
class CKivButton;
class CKivComboButton;
class CKivStatic;
class Clock;
class DeviceLibrary;
class DeviceLink;
class HidBus;
class MacroStore;
class MouseConnection;
class ProfilePage;
class TrayIcon;
class UpdateLock;

// Where the main window keeps its files and reaches the mouse.
struct MainWindowSetup {
    std::filesystem::path profilesFolder;
    std::filesystem::path macroFolder;
    // Where export and import dialogs start.
    std::filesystem::path exchangeFolder;
    DeviceLink* link = nullptr;
    HidBus* bus = nullptr;
    Clock* clock = nullptr;
    DeviceLibrary* library = nullptr;  // may be null: no device events then
    // The firmware update's claim on the mouse; null: nothing ever updates it.
    const UpdateLock* updateLock = nullptr;
    // What the pages reach besides the link, the clock and the window's own
    // macro collection, which the window adds.
    PageServices pageServices;
    bool withTrayIcon = true;
    // The user's autostart entry, switched from the tray menu; null: no such item.
    const AutostartEntry* autostart = nullptr;
};

// The application's only top-level window: page buttons, the profile bar,
// the page area, "Reset to Default", "OK" and "Apply". It owns the five
// records and moves them between the pages, the files and the mouse.
class CVYSKDlg : public CKivImageDialog {
    Q_OBJECT
  public:
    // Control identifiers of the window's own controls.
    enum ControlId {
        kPageButtonId = 1001,     // + page index
        kProfileButtonId = 1011,  // + slot
        kMenuButtonId = 1021,     // + slot
        kResetId = 1031,
        kOkId,
        kApplyId,
        kCloseId,
        kVersionTextId,
    };
    enum MenuItemId { kRename = 1, kSaveCurrent, kExport, kImport, kDisableEnable };

    // Creates the five records and loads their slot files.
    CVYSKDlg(MainWindowSetup setup, MainWindowServices services, QWidget* parent = nullptr);
    ~CVYSKDlg() override;

    // When the mouse, its events and the tray icon are taken up: at once, or
    // once the window has been drawn the first time, so that a user who
    // starts the program sees its window before the device work begins.
    enum class ServiceStart { Now, AfterFirstPaint };

    // Builds the controls and pages and starts following the mouse and its
    // events. The window can be shown at once; profile switching and Apply
    // wait for the first reading of the mouse.
    void initialise(ServiceStart start = ServiceStart::Now);

    // Makes the window visible without moving it or changing the page.
    void showMainWindow();

    // A warning of the start-up, shown over the window once it is on the
    // screen (at once when it already is).
    void warnWhenShown(const QString& text);

    // Whether the desktop shows our icon now: the window may then hide into
    // it. Without one, closing minimises and the desktop's close quits.
    bool hasNotificationArea() const;

    // ----- what the user does, also the tests' entry points -----
    void switchPage(PageKind page);
    void switchProfile(std::size_t slot);
    void profileMenu(std::size_t slot, int item);
    void resetToDefault();
    void showAppliedProfile();
    void startApply();
    // A device event of the mouse as the library reports it.
    void deviceEvent(int kind, int value);

    // ----- state -----
    ProfileSet& profileSet() { return profiles; }
    MacroCollection& macroCollection() { return *macros; }
    PageKind shownPage() const { return currentPage; }
    // The page of this kind, built when first asked for: the window comes up
    // with the pages it shows and the one holding the macros; the others
    // follow when the user opens them or the window needs them.
    QWidget* page(PageKind kind);
    CKivButton* pageButton(PageKind kind) const;
    CKivButton* profileButton(std::size_t slot) const { return profileButtons.at(slot); }
    CKivComboButton* menuButton(std::size_t slot) const { return menuButtons.at(slot); }
    CKivButton* applyButton() const { return apply; }
    CKivButton* resetButton() const { return reset; }
    // An Apply, a reset or the first reading of the mouse is in flight.
    bool isBusy() const { return applyInFlight || readingInFlight; }
    // Waits for every Apply started so far and delivers its outcome.
    void waitForApplies();

    void controlNotified(int id, int value) override;
    void controlClicked(int id) override;

  signals:
    // An Apply run has finished and its messages were shown.
    void applyFinished();
    // The first reading of the mouse (or one after an arrival) is done.
    void mouseFollowed();
    // "Exit" in the tray menu, or a declined firmware update.
    void exitRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void reject() override;

  private:
    void buildControls();
    // The library's event capture, the tray icon and the device connection.
    void startServices();
    void startDueServices();
    void createStartPages();
    QWidget* buildPage(PageKind kind);
    QWidget* builtPage(PageKind kind) const { return pages[static_cast<std::size_t>(kind)]; }
    void collectPages();
    void showRecord(const MouseProfile& profile);
    void macroRemoved();
    bool saveMacros();
    void pressProfileButton(std::size_t slot);
    void refreshProfileButton(std::size_t slot);
    void updateBusyState();
    void followed(bool opened, int slot);
    void startSupportPage();
    void applyDone(const ApplyOutcome& outcome, std::size_t requestedFrom, bool macrosSaved);
    void setFirmwareVersionText(const QString& text);
    void warn(const QString& text);
    bool isRecordingMacro() const;
    void putAway();
    void scheduleStartupWarnings();

    MainWindowSetup setup;
    MainWindowServices services;
    ProfileSet profiles;
    // The user's macros are the Macro Settings page's; the window's own
    // collection stands in only for a page set without that page.
    MacroCollection standInMacros;
    MacroCollection* macros = &standInMacros;
    MacroStore* macroStore = nullptr;

    std::array<CKivButton*, kPageCount> pageButtons{};
    std::array<CKivButton*, ProfileSet::kSlotCount> profileButtons{};
    std::array<CKivComboButton*, ProfileSet::kSlotCount> menuButtons{};
    CKivButton* reset = nullptr;
    CKivButton* ok = nullptr;
    CKivButton* apply = nullptr;
    CKivButton* closeBox = nullptr;
    CKivStatic* versionText = nullptr;
    // Handed to every page as it is built.
    PageServices pageServices;
    std::array<QWidget*, kPageCount> pages{};  // null until built
    // The last version the mouse reported, for a Support page built later.
    QString firmwareVersion;
    PageKind currentPage = PageKind::MouseSettings;

    bool applyInFlight = false;
    bool readingInFlight = false;
    bool initialised = false;
    bool servicesDue = false;  // started after the first paint
    static constexpr std::chrono::milliseconds kLatestServiceStart{1000};
    QStringList startupWarnings;
    bool startupWarningsScheduled = false;
    bool supportPageStarted = false;

    std::unique_ptr<TrayIcon> tray;
    std::unique_ptr<MouseConnection> connection;
    std::unique_ptr<ApplyRunner> runner;  // last: its workers end first
};

}  // namespace orvane
