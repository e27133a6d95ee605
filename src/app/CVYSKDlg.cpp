#include "app/CVYSKDlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>
#include <utility>

#include "app/AppTexts.h"
#include "app/DeviceLibrary.h"
#include "app/MouseConnection.h"
#include "app/TrayIcon.h"
#include "controls/CKivButton.h"
#include "controls/CKivComboButton.h"
#include "controls/CKivStatic.h"
#include "controls/CPopDlg.h"
#include "controls/KivFont.h"
#include "pages/PageInterfaces.h"
#include "profile/ProfileFile.h"
#include "profile/TextCodec.h"
#include "skins/SkinCache.h"
#include "skins/SkinFaces.h"
#include "version/Version.h"

namespace orvane {

namespace layoutmw = layout::mainwindow;

namespace {

QString toQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string toU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

QString pathText(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

void applyFaces(CKivButton& button, const SkinFaces& faces) {
    button.setImages(faces.normal, faces.over, faces.down, faces.disabled);
}

constexpr int kProfileCaptionPixels = 12;
constexpr int kVersionTextPixels = 11;
// Wide enough for "Save current settings" in the menu font.
constexpr int kProfileMenuWidth = 180;

// The pages that edit a record, in the order they are collected and shown.
constexpr PageKind kRecordPages[] = {PageKind::MouseSettings, PageKind::SensorPerformance,
                                     PageKind::ColorSettings};

}  // namespace

CVYSKDlg::CVYSKDlg(MainWindowSetup windowSetup, MainWindowServices windowServices, QWidget* parent)
    : CKivImageDialog(parent, Qt::Window | Qt::FramelessWindowHint),
      setup(std::move(windowSetup)),
      services(withDefaultServices(std::move(windowServices))),
      profiles(setup.profilesFolder) {
    setWindowTitle(QString::fromLatin1(texts::kWindowTitle));
    setWindowIcon(applicationIcon());
    standInMacros.macroFolder = setup.macroFolder;
    runner = std::make_unique<ApplyRunner>(*setup.link);
}

CVYSKDlg::~CVYSKDlg() {
    runner->waitForAll();
    connection.reset();
    tray.reset();
    if (initialised) {
        saveMacros();
    }
}

void CVYSKDlg::initialise(ServiceStart start) {
    buildControls();
    createStartPages();
    // The macros are in the collection before anything can save it, so a save
    // never removes a macro file nobody has read. The Macro Settings page
    // read them as it came into being.
    if (macroStore == nullptr) {
        standInMacros.loadMacroFiles();
    }
    initialised = true;
    if (start == ServiceStart::Now) {
        startServices();
        return;
    }
    servicesDue = true;
    // A window the desktop never lets us draw (mapped minimised, say) must
    // still follow the mouse.
    QTimer::singleShot(kLatestServiceStart, this, &CVYSKDlg::startDueServices);
}

void CVYSKDlg::paintEvent(QPaintEvent* event) {
    CKivImageDialog::paintEvent(event);
    if (servicesDue) {
        // Queued, so that the picture reaches the screen first.
        QTimer::singleShot(0, this, &CVYSKDlg::startDueServices);
    }
}

void CVYSKDlg::startDueServices() {
    if (servicesDue) {
        servicesDue = false;
        startServices();
    }
}

void CVYSKDlg::startServices() {
    if (setup.library != nullptr) {
        if (setup.library->isLoaded()) {
            connect(setup.library, &DeviceLibrary::deviceEvent, this, &CVYSKDlg::deviceEvent);
            setup.library->startCapture();
        } else {
            warnWhenShown(
                QString::fromLatin1(texts::kNoDeviceEvents).arg(setup.library->loadError()));
        }
    }

    if (setup.withTrayIcon) {
        tray = std::make_unique<TrayIcon>(windowIcon());
        connect(tray.get(), &TrayIcon::showRequested, this, &CVYSKDlg::showMainWindow);
        connect(tray.get(), &TrayIcon::exitRequested, this, &CVYSKDlg::exitRequested);
        connect(tray.get(), &TrayIcon::failed, this, [this](const QString& text) { warn(text); });
        tray->setAutostartEntry(setup.autostart);
        tray->show();
    }

    connection =
        std::make_unique<MouseConnection>(*setup.link, *setup.bus, *setup.clock, setup.library);
    connection->setUpdateLock(setup.updateLock);
    connect(connection.get(), &MouseConnection::followed, this, &CVYSKDlg::followed);
    // While the mouse is being read its slot may become the current profile:
    // an Apply or a profile switch then would race it.
    connect(connection.get(), &MouseConnection::readingStarted, this, [this] {
        readingInFlight = true;
        updateBusyState();
    });
    connect(connection.get(), &MouseConnection::firmwareVersionChanged, this,
            &CVYSKDlg::setFirmwareVersionText);
    if (!connection->startMonitoring()) {
        warnWhenShown(QString::fromLatin1(texts::kNotificationsFailed));
    }
    connection->followMouse();
}

void CVYSKDlg::buildControls() {
    setBackground(skinPart(layoutmw::kPartBackground, layout::kStateNormal, QRect()).toImage());
    resize(layoutmw::kSize.w, layoutmw::kSize.h);

    for (int i = 0; i < kPageCount; ++i) {
        auto* button = new CKivButton(this, kPageButtonId + i);
        button->setGeometry(toQRect(layoutmw::kPageButtons[i]));
        applyFaces(*button, skinFaces(layoutmw::kPartPageButtons + i, layoutmw::kPageButtons[i]));
        pageButtons[static_cast<std::size_t>(i)] = button;
    }
    for (std::size_t slot = 0; slot < ProfileSet::kSlotCount; ++slot) {
        const int i = static_cast<int>(slot);
        auto* button = new CKivButton(this, kProfileButtonId + i);
        button->setGeometry(toQRect(layoutmw::kProfileButtons[i]));
        applyFaces(*button,
                   skinFaces(layoutmw::kPartProfileButtons + i, layoutmw::kProfileButtons[i]));
        // The buttons are 16 pixels high: a 15-pixel caption would fill them
        // edge to edge and a seven-letter name would run out of the button.
        button->setCaptionFont(kivFont(kProfileCaptionPixels));
        profileButtons[slot] = button;

        auto* menu = new CKivComboButton(this, kMenuButtonId + i);
        menu->setGeometry(toQRect(layoutmw::kMenuButtons[i]));
        applyFaces(*menu, skinFaces(layoutmw::kPartMenuButtons + i, layoutmw::kMenuButtons[i]));
        menu->setMenuWidth(kProfileMenuWidth);
        menu->addItem(kRename, QString::fromLatin1(texts::kMenuRename));
        menu->addItem(kSaveCurrent, QString::fromLatin1(texts::kMenuSave));
        menu->addItem(kExport, QString::fromLatin1(texts::kMenuExport));
        menu->addItem(kImport, QString::fromLatin1(texts::kMenuImport));
        menu->addItem(kDisableEnable, QString::fromLatin1(texts::kMenuDisable));
        menuButtons[slot] = menu;
        refreshProfileButton(slot);
    }

    auto makeButton = [this](int id, const layout::Rect& rect, int part) {
        auto* button = new CKivButton(this, id);
        button->setGeometry(toQRect(rect));
        applyFaces(*button, skinFaces(part, rect));
        return button;
    };
    reset = makeButton(kResetId, layoutmw::kResetButton, layoutmw::kPartResetButton);
    ok = makeButton(kOkId, layoutmw::kOkButton, layoutmw::kPartOkButton);
    apply = makeButton(kApplyId, layoutmw::kApplyButton, layoutmw::kPartApplyButton);
    closeBox = makeButton(kCloseId, layoutmw::kCloseButton, layoutmw::kPartCloseButton);

    versionText = new CKivStatic(this, kVersionTextId);
    versionText->setGeometry(toQRect(layoutmw::kVersionText));
    versionText->setTextFont(kivFont(kVersionTextPixels));
    versionText->setText(QString::fromLatin1(kSoftwareVersionText));

    pageButtons[0]->setLatched(true);
    pressProfileButton(0);
}

void CVYSKDlg::createStartPages() {
    pageServices = setup.pageServices;
    pageServices.link = setup.link;
    pageServices.clock = setup.clock;
    pageServices.macros = macros;
    // The Macro Settings page first: it holds the macros the Mouse Settings
    // page offers. The rest wait until they are first needed, which keeps
    // their cost (the Sensor Performance page's fields load fonts) off the
    // way to a visible window.
    buildPage(PageKind::MacroSettings);
    buildPage(PageKind::MouseSettings)->show();
    currentPage = PageKind::MouseSettings;
}

QWidget* CVYSKDlg::page(PageKind kind) {
    QWidget* built = builtPage(kind);
    return built != nullptr ? built : buildPage(kind);
}

QWidget* CVYSKDlg::buildPage(PageKind kind) {
    QWidget* created = services.createPage(kind, pageServices, this);
    created->setGeometry(toQRect(layoutmw::kPageArea));
    created->hide();
    pages[static_cast<std::size_t>(kind)] = created;
    if (auto* storing = dynamic_cast<CurrentRecordStore*>(created)) {
        storing->setCurrentRecord([this]() -> MouseProfile& { return profiles.currentRecord(); });
    }
    if (auto* store = dynamic_cast<MacroStore*>(created); store != nullptr && !macroStore) {
        macroStore = store;
        macros = &store->macroCollection();
        pageServices.macros = macros;
        store->loadMacros(setup.macroFolder);
        store->setMacroRemovedHandler([this] { macroRemoved(); });
    }
    // A page built late catches up with what the window has shown the others.
    if (auto* editor = dynamic_cast<ProfilePage*>(created)) {
        editor->loadFromProfile(profiles.currentRecord());
    }
    if (auto* watcher = dynamic_cast<RecordWatcher*>(created)) {
        watcher->setRecordSource(
            [this]() -> const MouseProfile& { return profiles.currentRecord(); });
        watcher->recordChanged();
    }
    if (auto* view = dynamic_cast<FirmwareVersionView*>(created);
        view && !firmwareVersion.isNull()) {
        view->setFirmwareVersionText(firmwareVersion);
    }
    return created;
}

CKivButton* CVYSKDlg::pageButton(PageKind kind) const {
    return pageButtons[static_cast<std::size_t>(kind)];
}

void CVYSKDlg::showMainWindow() {
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

void CVYSKDlg::warnWhenShown(const QString& text) {
    startupWarnings << text;
    if (isVisible()) {
        scheduleStartupWarnings();
    }
}

void CVYSKDlg::showEvent(QShowEvent* event) {
    CKivImageDialog::showEvent(event);
    scheduleStartupWarnings();
}

void CVYSKDlg::scheduleStartupWarnings() {
    if (startupWarnings.isEmpty() || startupWarningsScheduled) {
        return;
    }
    startupWarningsScheduled = true;
    // From the event loop, once the window has been mapped: a box shown
    // before it would stand alone on the desktop, owned by nothing visible.
    QTimer::singleShot(0, this, [this] {
        startupWarningsScheduled = false;
        const QStringList texts = std::exchange(startupWarnings, {});
        for (const QString& text : texts) {
            warn(text);
        }
    });
}

bool CVYSKDlg::hasNotificationArea() const {
    return services.trayAvailable();
}

void CVYSKDlg::putAway() {
    // Asked each time: a panel may come and go while the program runs, and
    // a hidden window with nowhere to call it back from is lost to the user.
    if (hasNotificationArea()) {
        hide();
    } else {
        showMinimized();
    }
}

// ----- pages and records -----

void CVYSKDlg::collectPages() {
    for (PageKind kind : kRecordPages) {
        if (auto* editor = dynamic_cast<ProfilePage*>(builtPage(kind))) {
            editor->storeToProfile(profiles.currentRecord());
        }
    }
}

void CVYSKDlg::showRecord(const MouseProfile& profile) {
    for (PageKind kind : kRecordPages) {
        if (auto* editor = dynamic_cast<ProfilePage*>(builtPage(kind))) {
            editor->loadFromProfile(profile);
        }
    }
    if (auto* watcher = dynamic_cast<RecordWatcher*>(builtPage(PageKind::MacroSettings))) {
        watcher->recordChanged();
    }
}

void CVYSKDlg::macroRemoved() {
    // The buttons that played the deleted macro fall back to their own
    // functions, on the page and in the record alike.
    if (auto* mousePage = dynamic_cast<ProfilePage*>(builtPage(PageKind::MouseSettings))) {
        mousePage->storeToProfile(profiles.currentRecord());
        mousePage->loadFromProfile(profiles.currentRecord());
    }
}

bool CVYSKDlg::saveMacros() {
    return macroStore != nullptr ? macroStore->saveMacros() : standInMacros.saveMacroFiles();
}

void CVYSKDlg::switchPage(PageKind kind) {
    QWidget* shownBefore = builtPage(currentPage);
    if (kind == currentPage && shownBefore != nullptr && shownBefore->isVisible()) {
        return;
    }
    for (CKivButton* button : pageButtons) {
        button->setLatched(false);
    }
    pageButton(kind)->setLatched(true);
    for (QWidget* shown : pages) {
        if (shown != nullptr) {
            shown->hide();
        }
    }
    collectPages();
    page(kind)->show();
    currentPage = kind;
    if (auto* mousePage = dynamic_cast<MousePageOperations*>(page(kind))) {
        mousePage->refreshMacroMenus();
    }
}

void CVYSKDlg::switchProfile(std::size_t slot) {
    if (slot >= ProfileSet::kSlotCount || isBusy()) {
        return;
    }
    collectPages();
    pressProfileButton(slot);
    profiles.setCurrentSlot(slot);
    showRecord(profiles.currentRecord());
}

void CVYSKDlg::pressProfileButton(std::size_t slot) {
    for (std::size_t i = 0; i < profileButtons.size(); ++i) {
        profileButtons[i]->setLatched(i == slot);
    }
}

void CVYSKDlg::refreshProfileButton(std::size_t slot) {
    const MouseProfile& profile = profiles.record(slot);
    profileButtons[slot]->setCaption(toQString(profile.name));
    // While a run is in flight the bar is out of use, but the current
    // profile's button keeps its pressed look so the user still sees which
    // profile is being written (a click on it changes nothing).
    const bool usable = !isBusy() || slot == profiles.currentSlot();
    profileButtons[slot]->setEnabled(profile.enabled == 1 && usable);
}

void CVYSKDlg::profileMenu(std::size_t slot, int item) {
    if (slot >= ProfileSet::kSlotCount || isBusy()) {
        return;
    }
    MouseProfile& profile = profiles.record(slot);
    switch (item) {
        case kRename: {
            if (const auto name = services.rename(this, static_cast<int>(slot) + 1)) {
                profile.name = toU16(*name);
                refreshProfileButton(slot);
            }
            break;
        }
        case kSaveCurrent:
            if (!saveProfile(profile.filePath, profile)) {
                warn(QString::fromLatin1(texts::kProfileNotSaved).arg(pathText(profile.filePath)));
            }
            break;
        case kExport: {
            const QString chosen = services.chooseExportFile(
                this, pathText(setup.exchangeFolder), toQString(proposedExportName(profile)));
            if (chosen.isEmpty()) {
                break;
            }
            const std::filesystem::path target = exportPathFor(chosen.toStdString());
            // The dialog asked about the name as typed; when the extension is
            // added here, the file really written has not been asked about.
            std::error_code error;
            if (target != std::filesystem::path(chosen.toStdString()) &&
                std::filesystem::exists(target, error) &&
                !services.confirmOverwrite(this, pathText(target))) {
                break;
            }
            if (!saveProfile(target, profile)) {
                warn(QString::fromLatin1(texts::kProfileNotSaved).arg(pathText(target)));
            }
            break;
        }
        case kImport: {
            const QString chosen = services.chooseImportFile(this, pathText(setup.exchangeFolder));
            if (chosen.isEmpty()) {
                break;
            }
            if (!profiles.importFile(slot, chosen.toStdString())) {
                warn(QString::fromLatin1(texts::kNotAProfile).arg(chosen));
                break;
            }
            if (slot == profiles.currentSlot()) {
                showRecord(profile);
            }
            refreshProfileButton(slot);
            break;
        }
        case kDisableEnable:
            if (slot != 0) {
                profiles.toggleEnabled(slot);
                refreshProfileButton(slot);
            }
            break;
        default:
            break;
    }
}

void CVYSKDlg::resetToDefault() {
    if (isBusy() || services.popup(this, layout::popup::kResetWarn) != 1) {
        return;
    }
    profiles.resetAll();
    for (std::size_t slot = 0; slot < ProfileSet::kSlotCount; ++slot) {
        refreshProfileButton(slot);
    }
    pressProfileButton(0);
    showRecord(profiles.currentRecord());
    startApply();
}

void CVYSKDlg::showAppliedProfile() {
    showRecord(profiles.appliedRecord());
}

// ----- Apply -----

void CVYSKDlg::startApply() {
    if (isBusy()) {
        return;
    }
    // Widgets are read here, on their own thread; the worker gets copies.
    collectPages();
    // The desktop's pointer settings go before the files and the mouse; a
    // desktop that lacks one never stops an Apply.
    if (auto* mousePage = dynamic_cast<MousePageOperations*>(page(PageKind::MouseSettings))) {
        mousePage->applyPointerSettings(profiles.currentRecord());
    }
    ApplyRequest request;
    for (std::size_t slot = 0; slot < ProfileSet::kSlotCount; ++slot) {
        request.records[slot] = profiles.record(slot);
    }
    request.slot = profiles.applySlot();
    const std::size_t requestedFrom = profiles.currentSlot();
    const bool macrosSaved = saveMacros();

    applyInFlight = true;
    updateBusyState();
    runner->start(std::move(request),
                  [this, requestedFrom, macrosSaved](const ApplyOutcome& outcome) {
                      QMetaObject::invokeMethod(
                          this,
                          [this, outcome, requestedFrom, macrosSaved] {
                              applyDone(outcome, requestedFrom, macrosSaved);
                          },
                          Qt::QueuedConnection);
                  });
}

void CVYSKDlg::applyDone(const ApplyOutcome& outcome, std::size_t requestedFrom, bool macrosSaved) {
    if (outcome.mouseFound) {
        profiles.setAppliedSlot(requestedFrom);
    }
    applyInFlight = false;
    updateBusyState();

    for (std::size_t slot : outcome.unsavedSlots) {
        warn(QString::fromLatin1(texts::kProfileNotSaved)
                 .arg(pathText(profiles.record(slot).filePath)));
    }
    if (!macrosSaved) {
        warn(QString::fromLatin1(texts::kMacrosNotSaved).arg(pathText(macros->macroFolder)));
    }
    if (!outcome.reachedMouse()) {
        warn(CPopDlg::mouseMissingText(outcome.unreadablePath));
    } else {
        for (std::uint8_t button : outcome.shortenedMacroButtons) {
            warn(QString::fromLatin1(texts::kMacroShortened).arg(int(button) + 1));
        }
        for (const CutMacroDelay& cut : outcome.cutMacroDelays) {
            warn(QString::fromLatin1(texts::kMacroDelayCut)
                     .arg(int(cut.button) + 1)
                     .arg(cut.step + 1)
                     .arg(cut.delay)
                     .arg(kLongestMacroDelayMs)
                     .arg(cut.delay & kLongestMacroDelayMs));
        }
    }
    emit applyFinished();
}

void CVYSKDlg::waitForApplies() {
    runner->waitForAll();
    QCoreApplication::sendPostedEvents(this);
}

void CVYSKDlg::updateBusyState() {
    const bool busy = isBusy();
    apply->setEnabled(!busy);
    reset->setEnabled(!busy);
    for (std::size_t slot = 0; slot < ProfileSet::kSlotCount; ++slot) {
        refreshProfileButton(slot);
        menuButtons[slot]->setEnabled(!busy);
    }
}

// ----- the mouse -----

void CVYSKDlg::followed(bool opened, int slot) {
    readingInFlight = false;
    if (opened) {
        // Edits not yet collected stay with the record they were made on.
        collectPages();
        profiles.setCurrentSlot(static_cast<std::size_t>(slot));
        pressProfileButton(profiles.currentSlot());
        showRecord(profiles.currentRecord());
    }
    updateBusyState();
    emit mouseFollowed();
    if (!supportPageStarted) {
        supportPageStarted = true;
        // After this slot has returned: the update offer is a modal question.
        QMetaObject::invokeMethod(this, &CVYSKDlg::startSupportPage, Qt::QueuedConnection);
    }
}

void CVYSKDlg::startSupportPage() {
    // Once the first reading is done, so that the page finds the mouse open
    // rather than opening it beside the reading.
    if (auto* support = dynamic_cast<SupportPageStart*>(page(PageKind::Support))) {
        support->initSupportPage([this] { emit exitRequested(); });
    }
}

void CVYSKDlg::deviceEvent(int kind, int value) {
    constexpr int kResolutionEvent = 2;
    if (kind != kResolutionEvent) {
        return;
    }
    MouseProfile& profile = profiles.currentRecord();
    if (value >= 0 && value <= 4) {
        profile.activeDpiLevel = static_cast<std::uint8_t>(value + 1);
        if (auto* view = dynamic_cast<ActiveLevelView*>(builtPage(PageKind::SensorPerformance))) {
            view->showActiveDpiLevel(value + 1);
        }
    } else {
        profile.activeDpiLevel = 2;
    }
}

void CVYSKDlg::setFirmwareVersionText(const QString& text) {
    firmwareVersion = text;
    if (auto* view = dynamic_cast<FirmwareVersionView*>(builtPage(PageKind::Support))) {
        view->setFirmwareVersionText(text);
    }
}

// ----- notifications and window events -----

void CVYSKDlg::controlClicked(int id) {
    if (id >= kPageButtonId && id < kPageButtonId + kPageCount) {
        switchPage(static_cast<PageKind>(id - kPageButtonId));
    } else if (id >= kProfileButtonId && id < kProfileButtonId + 5) {
        switchProfile(static_cast<std::size_t>(id - kProfileButtonId));
    } else if (id == kResetId) {
        resetToDefault();
    } else if (id == kOkId) {
        showAppliedProfile();
    } else if (id == kApplyId) {
        startApply();
    } else if (id == kCloseId) {
        putAway();
    }
}

void CVYSKDlg::controlNotified(int id, int value) {
    if (id >= kMenuButtonId && id < kMenuButtonId + 5) {
        const auto slot = static_cast<std::size_t>(id - kMenuButtonId);
        // The profile menus are commands, not choices: the button keeps its
        // own face instead of taking the picked item's text as its caption.
        menuButtons[slot]->clearAcceptance();
        profileMenu(slot, value);
    }
    // The menus' visibility reports end here: Qt keeps pop-up menus above
    // their window, so the window need not become topmost around them.
}

void CVYSKDlg::warn(const QString& text) {
    services.warn(this, text);
}

bool CVYSKDlg::isRecordingMacro() const {
    const auto* recording = dynamic_cast<const RecordingState*>(builtPage(PageKind::MacroSettings));
    return recording != nullptr && recording->isRecording();
}

void CVYSKDlg::closeEvent(QCloseEvent* event) {
    // Closing only hides the window: the program lives on in the tray.
    // Without a tray the desktop's own close (its task bar, Alt+F4) is the
    // way out, as "Exit" would be.
    event->ignore();
    if (isRecordingMacro()) {
        return;
    }
    if (hasNotificationArea()) {
        hide();
    } else {
        emit exitRequested();
    }
}

void CVYSKDlg::keyPressEvent(QKeyEvent* event) {
    // Ctrl+Q whatever the platform's own bindings say: some have no quit key.
    const bool quitKey = event->matches(QKeySequence::Quit) ||
                         (event->key() == Qt::Key_Q && event->modifiers() == Qt::ControlModifier);
    if (quitKey && !hasNotificationArea() && !isRecordingMacro()) {
        event->accept();
        emit exitRequested();
        return;
    }
    // Enter and Escape do nothing here.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    CKivImageDialog::keyPressEvent(event);
}

void CVYSKDlg::reject() {}

void CVYSKDlg::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && !toQRect(layoutmw::kBottomBand).contains(at) &&
        windowHandle() != nullptr) {
        windowHandle()->startSystemMove();
        return;
    }
    CKivImageDialog::mousePressEvent(event);
}

}  // namespace orvane
