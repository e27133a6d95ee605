#pragma once

#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <deque>
#include <optional>

#include "app/CVYSKDlg.h"
#include "controls/CKivImageDialog.h"
#include "device/DeviceLink.h"
#include "emulator/VirtualHidBus.h"
#include "emulator/VirtualMouse.h"
#include "pages/PageInterfaces.h"
#include "platform/FakeClock.h"
#include "skins/SkinCache.h"
#include "support/TempDir.h"

namespace orvane::test {

// Stands in for a settings page: one "control" (a field of the record that
// belongs to this page alone) that a test edits like a user would, and the
// calls the window made.
class FakePage : public CKivImageDialog,
                 public ProfilePage,
                 public ActiveLevelView,
                 public FirmwareVersionView,
                 public SupportPageStart {
  public:
    FakePage(QWidget* parent, std::uint32_t MouseProfile::*edits)
        : CKivImageDialog(parent, Qt::Widget), field(edits) {}

    void loadFromProfile(const MouseProfile& profile) override {
        ++loads;
        value = profile.*field;
    }
    void storeToProfile(MouseProfile& profile) override {
        ++stores;
        profile.*field = value;
    }
    void showActiveDpiLevel(int level) override { shownLevel = level; }
    void setFirmwareVersionText(const QString& text) override { firmwareText = text; }
    void initSupportPage(std::function<void()> exitApplication) override {
        ++supportStarts;
        if (declineUpdate) {
            exitApplication();
        }
    }

    std::uint32_t MouseProfile::*field;
    std::uint32_t value = 0;
    int loads = 0;
    int stores = 0;
    int shownLevel = 0;
    QString firmwareText;
    int supportStarts = 0;
    bool declineUpdate = false;
};

// A main window on a temporary data folder and the in-process simulated
// mouse, with every question answered by the test.
class MainWindowHarness {
  public:
    MainWindowHarness() {
        loadSkinSheetsFrom(QStringLiteral(ORVANE_TEST_SKIN_FOLDER));
        setup.profilesFolder = folder.path() / "Profiles";
        setup.macroFolder = folder.path() / "Macros";
        setup.exchangeFolder = folder.path();
        setup.link = &link;
        setup.bus = &bus;
        setup.clock = &clock;
        setup.withTrayIcon = false;

        services.createPage = [this](PageKind kind, const PageServices& handed, QWidget* parent) {
            pageServices[static_cast<std::size_t>(kind)] = handed;
            static constexpr std::uint32_t MouseProfile::*kFields[kPageCount] = {
                &MouseProfile::scrollByLines, &MouseProfile::liftOffDistance,
                &MouseProfile::lightingBrightness, &MouseProfile::reserved1,
                &MouseProfile::reserved2};
            auto* page = new FakePage(parent, kFields[static_cast<std::size_t>(kind)]);
            page->declineUpdate = declineUpdateOffer;
            fakePages[static_cast<std::size_t>(kind)] = page;
            return page;
        };
        services.warn = [this](QWidget* owner, const QString& text) {
            messages << text;
            warnedOverAVisibleWindow.push_back(owner != nullptr && owner == window.get() &&
                                               owner->isVisible());
        };
        services.popup = [this](QWidget*, int variant) {
            popups.push_back(variant);
            return popupAnswer;
        };
        services.rename = [this](QWidget*, int) { return renameAnswer; };
        services.chooseExportFile = [this](QWidget*, const QString&, const QString& proposed) {
            proposedExport = proposed;
            return chosenFile;
        };
        services.chooseImportFile = [this](QWidget*, const QString&) { return chosenFile; };
        services.confirmOverwrite = [this](QWidget*, const QString& path) {
            overwriteQuestions << path;
            return overwriteAnswer;
        };
        // A desktop with a notification area, unless a test takes the
        // platform's own answer.
        services.trayAvailable = [] { return true; };
    }

    // Creates and initialises the window and waits for its first reading.
    CVYSKDlg& open() {
        window = std::make_unique<CVYSKDlg>(setup, services);
        QSignalSpy followed(window.get(), &CVYSKDlg::mouseFollowed);
        window->initialise();
        window->show();
        followed.wait(5000);
        return *window;
    }

    void apply() {
        QSignalSpy finished(window.get(), &CVYSKDlg::applyFinished);
        window->startApply();
        finished.wait(5000);
    }

    // The Support page's user declines the update offer.
    bool declineUpdateOffer = false;
    // Built on demand, as the window builds its pages.
    FakePage& page(PageKind kind) { return dynamic_cast<FakePage&>(*window->page(kind)); }

    template <typename Action>
    auto onMouse(Action&& action) {
        return bus.withMouse(std::forward<Action>(action));
    }

    TempDir folder;
    FakeClock clock;
    emulator::VirtualHidBus bus{clock};
    DeviceLink link{bus, clock};
    MainWindowSetup setup;
    MainWindowServices services;
    std::array<FakePage*, kPageCount> fakePages{};
    std::array<PageServices, kPageCount> pageServices{};

    QStringList messages;
    // For each message: whether it was shown over the main window, visible.
    std::vector<bool> warnedOverAVisibleWindow;
    QStringList overwriteQuestions;
    bool overwriteAnswer = false;
    std::vector<int> popups;
    int popupAnswer = 1;
    std::optional<QString> renameAnswer;
    QString chosenFile;
    QString proposedExport;

    std::unique_ptr<CVYSKDlg> window;
};

}  // namespace orvane::test
