#include "pages/macro/CMacroSettingsDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <utility>

#include "controls/CKivButton.h"
#include "controls/CKivCheckBox.h"
#include "controls/CKivStatic.h"
#include "controls/CPopDlg.h"
#include "controls/KivFont.h"
#include "macros/MacroCollection.h"
#include "pages/macro/CKivListBox.h"
#include "pages/macro/CKivMacroCtrl.h"
#include "pages/macro/MacroMemoryGauge.h"
#include "platform/Clock.h"
#include "skins/SkinFaces.h"

namespace orvane {

namespace {

namespace mp = layout::macropage;

// Under "Start Record", above the sheet's own hint.
constexpr layout::Rect kNoteRect{614, 241, 320, 13};
// Below the sheet's hint, inside the recording panel.
constexpr layout::Rect kGaugeRect{614, 330, 314, 50};
constexpr int kNotePixels = 11;

QString fromU16(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

bool isEnter(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

// The sheet's disabled box is an unticked one; a box locked while ticked
// must still say that it is.
QImage dimmed(QImage picture) {
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(picture.rect(), QColor(20, 22, 25, 150));
    return picture;
}

}  // namespace

CMacroSettingsDlg::CMacroSettingsDlg(const PageServices& services, QWidget* parent)
    : SettingsPage(PageKind::MacroSettings, services, parent),
      recorder(services.keyboardHook, services.clock != nullptr ? *services.clock : systemClock()),
      popupRunner([](CPopDlg& popup) { return popup.exec(); }),
      messageBox(&CPopDlg::showWarning) {
    buildControls();
    if (services.keyboardHook == nullptr || !services.keyboardHook->available()) {
        explainMissingHook();
    }
    updateNote();
    // Every key meant for the page's own windows passes here first, whichever
    // of them has the focus.
    qApp->installEventFilter(this);
}

CMacroSettingsDlg::~CMacroSettingsDlg() {
    qApp->removeEventFilter(this);
    recorder.stop();
}

void CMacroSettingsDlg::explainMissingHook() {
    const KeyboardHook* hook = services().keyboardHook;
    const QString why = hook != nullptr ? QString::fromStdString(hook->startError()) : QString();
    recordingProblem =
        why.isEmpty()
            ? QStringLiteral("Recording is not available: this session offers no keyboard hook.")
            : QStringLiteral("Recording is not available: %1.").arg(why);
}

const QString& CMacroSettingsDlg::startHookFailedText() {
    static const QString text = QStringLiteral("start hook failed!");
    return text;
}

void CMacroSettingsDlg::buildControls() {
    list = new CKivListBox(this, kListId);
    list->setGeometry(toQRect(mp::kMacroList));
    list->setBackground(skinFaces(mp::kPartMacroList, mp::kMacroList, false).normal);

    editor = new CKivMacroCtrl(this, kEditorId);
    editor->setGeometry(toQRect(mp::kEventEditor));
    editor->setBackground(skinFaces(mp::kPartEventEditor, mp::kEventEditor, false).normal);

    const auto makeButton = [this](int id, int part, const layout::Rect& face,
                                   const layout::Rect& place) {
        auto* button = new CKivButton(this, id);
        button->setGeometry(toQRect(place));
        const SkinFaces faces = skinFaces(part, face);
        button->setImages(faces.normal, faces.over, faces.down, faces.disabled);
        return button;
    };
    newButton =
        makeButton(kNewMacroId, mp::kPartNewMacroButton, mp::kNewMacroButton, mp::kNewMacroButton);
    removeButton =
        makeButton(kDeleteId, mp::kPartDeleteButton, mp::kDeleteButton, mp::kDeleteButton);
    startButton = makeButton(kStartRecordId, mp::kPartStartRecordButton, mp::kRecordButton,
                             mp::kRecordButton);
    stopButton = makeButton(kStopRecordId, mp::kPartStopRecordButton, mp::kStopRecordFace,
                            mp::kRecordButton);
    stopButton->hide();

    const auto makeBox = [this](int id, int part, const layout::Rect& rect, BoxFaces& faces) {
        auto* box = new CKivCheckBox(this, id);
        box->setGeometry(toQRect(rect));
        const SkinFaces sheet = skinFaces(part, rect);
        faces = {sheet.normal, sheet.over, sheet.down, sheet.disabled, dimmed(sheet.down.image())};
        return box;
    };
    delayBox = makeBox(kRecordDelayId, mp::kPartRecordDelayBox, mp::kRecordDelayBox, delayFaces);
    holdBox = makeBox(kRecordHoldId, mp::kPartRecordHoldBox, mp::kRecordHoldBox, holdFaces);
    updateBoxFaces();

    note = new CKivStatic(this, kNoteId);
    note->setGeometry(toQRect(kNoteRect));
    note->setTextFont(kivFont(kNotePixels));
    note->setTextColor(toQColor(palette::kWarning));

    gauge = new MacroMemoryGauge(this, kGaugeId);
    gauge->setGeometry(toQRect(kGaugeRect));
    gauge->hide();
}

// ----- the collection -----

MacroCollection& CMacroSettingsDlg::macroCollection() {
    return editor->collection();
}

void CMacroSettingsDlg::loadMacros(const std::filesystem::path& folder) {
    // Loading again would list every macro twice, and the loader first
    // empties the macro on show.
    if (loaded) {
        return;
    }
    loaded = true;
    MacroCollection& macros = editor->collection();
    macros.macroFolder = folder;
    const MacroLoadReport report = macros.loadMacroFiles();
    for (const auto& macro : macros.macros()) {
        list->addListEntry(fromU16(macro->name), macro->id);
    }
    if (report.skipped == 1) {
        loadProblem = QStringLiteral("1 macro file could not be read.");
    } else if (report.skipped > 1) {
        loadProblem = QStringLiteral("%1 macro files could not be read.").arg(report.skipped);
    } else if (report.listDamaged) {
        loadProblem = QStringLiteral("The list of macro files is damaged.");
    }
    updateNote();
    refreshGauge();
}

bool CMacroSettingsDlg::saveMacros() {
    MacroCollection& macros = editor->collection();
    const bool saved = macros.saveMacroFiles();
    // A name the save had to extend for its file shows as it is now kept.
    for (const auto& macro : macros.macros()) {
        list->renameEntry(macro->id, fromU16(macro->name));
    }
    return saved;
}

void CMacroSettingsDlg::setMacroRemovedHandler(std::function<void()> handler) {
    macroRemoved = std::move(handler);
}

void CMacroSettingsDlg::setRecordSource(std::function<const MouseProfile&()> current) {
    currentRecord = std::move(current);
    refreshGauge();
}

void CMacroSettingsDlg::recordChanged() {
    refreshGauge();
}

void CMacroSettingsDlg::refreshGauge() {
    if (!currentRecord) {
        gauge->hide();
        return;
    }
    gauge->setUse(macroMemoryUse(currentRecord(), editor->collection()));
    gauge->show();
}

void CMacroSettingsDlg::showEvent(QShowEvent* event) {
    SettingsPage::showEvent(event);
    // The record may have changed on the other pages.
    refreshGauge();
}

// ----- list and editor -----

void CMacroSettingsDlg::newMacro() {
    if (isRecording()) {
        return;
    }
    const bool opening = !list->isNamingOpen();
    list->beginNewMacroName();
    if (opening) {
        holdBox->setTicked(false);
    }
}

void CMacroSettingsDlg::deleteMacro() {
    if (isRecording()) {
        return;
    }
    CPopDlg question(layout::popup::kDeleteMacro, this);
    if (popupRunner(question) != CPopDlg::kResultOk || list->selectedRow() == nullptr) {
        return;
    }
    list->deleteSelectedEntry();
    refreshGauge();
    if (macroRemoved) {
        macroRemoved();
    }
}

void CMacroSettingsDlg::macroSelected() {
    const CBoxItem* row = list->selectedRow();
    if (row == nullptr) {
        return;
    }
    editor->selectMacro(row->name, row->id);
    if (isHoldMacro(editor->currentMacro())) {
        delayBox->setTicked(false);
        holdBox->setTicked(true);
    } else {
        holdBox->setTicked(false);
    }
    updateBoxFaces();
    refreshGauge();
}

// ----- recording -----

bool CMacroSettingsDlg::isRecording() const {
    return editor->isRecording();
}

void CMacroSettingsDlg::startRecording(bool fromButton) {
    startButton->hide();
    stopButton->show();
    // A name still being typed becomes the macro that is recorded into.
    list->commitNewMacroName();
    editor->setRecording(true);
    const bool listening = recorder.start(
        [this] {
            return MacroRecorder::Options{delayBox->isTicked(), holdBox->isTicked()};
        },
        [this](const RecordedKey& key) { recordKey(key); }, [this] { recordingLost(); });
    if (listening) {
        recordingProblem.clear();
    } else {
        explainMissingHook();
    }
    updateNote();
    if (!listening) {
        messageBox(this, startHookFailedText());
    }
    if (fromButton) {
        if (CMacro* macro = editor->currentMacro()) {
            macro->clearEvents();
        }
        editor->stepsReplaced();
        delayBox->setEnabled(false);
        holdBox->setEnabled(false);
        updateBoxFaces();
    }
    refreshGauge();
}

void CMacroSettingsDlg::stopRecording() {
    startButton->show();
    stopButton->hide();
    delayBox->setEnabled(true);
    holdBox->setEnabled(true);
    editor->setRecording(false);
    recorder.stop();
}

void CMacroSettingsDlg::updateBoxFaces() {
    for (auto [box, faces] : {std::pair{delayBox, &delayFaces}, std::pair{holdBox, &holdFaces}}) {
        box->setImages(faces->unticked, faces->over, faces->ticked,
                       box->isTicked() ? faces->lockedTicked : faces->locked);
    }
}

void CMacroSettingsDlg::recordKey(const RecordedKey& key) {
    if (!isRecording()) {
        return;
    }
    CMacro* macro = editor->currentMacro();
    if (macro == nullptr) {
        return;
    }
    macro->addEvent(kKeyEvent, key.code, key.state, key.delay, editor->insertMode());
    editor->update();
    refreshGauge();
}

void CMacroSettingsDlg::recordingLost() {
    if (!isRecording()) {
        return;
    }
    stopRecording();
    const KeyboardHook* hook = services().keyboardHook;
    const QString why = hook != nullptr ? QString::fromStdString(hook->startError()) : QString();
    recordingProblem = why.isEmpty() ? QStringLiteral("Recording stopped: the keyboard hook ended.")
                                     : QStringLiteral("Recording stopped: %1.").arg(why);
    updateNote();
}

void CMacroSettingsDlg::updateNote() {
    note->setText(recordingProblem);
    if (!loadProblem.isEmpty() && recordingProblem.isEmpty()) {
        note->setText(loadProblem);
    } else if (!loadProblem.isEmpty()) {
        note->setText(recordingProblem + QLatin1Char(' ') + loadProblem);
    }
}

QString CMacroSettingsDlg::noteText() const {
    return note->text();
}

// ----- notifications -----

void CMacroSettingsDlg::controlNotified(int id, int value) {
    switch (id) {
        case CKivListBox::kSelected:
            macroSelected();
            return;
        case CKivListBox::kDeleting:
            editor->collection().removeMacro(value);
            editor->update();
            return;
        case CKivMacroCtrl::kStartRecording:
            startRecording(false);
            return;
        case CKivMacroCtrl::kStepsChanged:
            refreshGauge();
            return;
        default:
            // The menus' visibility reports go on to the main window.
            SettingsPage::controlNotified(id, value);
            return;
    }
}

void CMacroSettingsDlg::controlClicked(int id) {
    switch (id) {
        case kNewMacroId:
            newMacro();
            break;
        case kDeleteId:
            deleteMacro();
            break;
        case kRecordDelayId:
            holdBox->setTicked(false);
            break;
        case kRecordHoldId:
            delayBox->setTicked(false);
            break;
        case kStartRecordId:
            startRecording(true);
            break;
        case kStopRecordId:
            stopRecording();
            break;
        default:
            break;
    }
}

bool CMacroSettingsDlg::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease &&
        type != QEvent::ShortcutOverride) {
        return SettingsPage::eventFilter(watched, event);
    }
    auto* target = qobject_cast<QWidget*>(watched);
    if (target == nullptr || (target != this && !isAncestorOf(target))) {
        return SettingsPage::eventFilter(watched, event);
    }
    bool finished = false;
    if (type != QEvent::ShortcutOverride && isEnter(static_cast<QKeyEvent&>(*event))) {
        finished = list->commitNewMacroName();
        finished = editor->commitDelayEdit() || finished;
    }
    // While recording, the keys typed are the macro's, not commands.
    return finished || isRecording();
}

}  // namespace orvane
