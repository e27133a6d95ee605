#include "pages/sensor/CSensorDlg.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <algorithm>

#include "controls/CKivButton.h"
#include "controls/CKivCheckBox.h"
#include "controls/CKivComboButton.h"
#include "controls/CKivMenu.h"
#include "controls/CKivProgressCtrl.h"
#include "controls/CKivSliderCtrl3D.h"
#include "controls/CKivStatic.h"
#include "controls/CPopDlg.h"
#include "controls/CQOREdit.h"
#include "controls/KivSliderImages.h"
#include "device/DeviceLink.h"
#include "pages/sensor/SensorValues.h"
#include "pages/sensor/SurfaceAnalysisStarter.h"
#include "skins/SkinCache.h"
#include "skins/SkinFaces.h"
#include "skins/SkinFolder.h"
#include "skins/SkinLayout.h"

namespace orvane {

namespace {

namespace sp = layout::sensorpage;

constexpr int kThumbShift = 65536;
constexpr int kMenuItemHeight = 20;
constexpr std::array<int, CSensorDlg::kLevelCount> kStartResolutions = {400, 800, 1600, 3200,
                                                                        19000};
constexpr int kPointSpeedMinimum = 1;
constexpr int kPointSpeedMaximum = 11;
constexpr int kPointSpeedStart = 6;
// The level whose field starts hidden.
constexpr int kFieldHiddenAtFirst = 4;
// Room for any number a user may mean, and one digit more so that a value
// beyond the range can be typed and then brought back to its maximum.
constexpr int kFieldDigits = 6;

void setFaces(CKivButton& button, int part, const layout::Rect& rect) {
    const SkinFaces faces = skinFaces(part, rect);
    button.setImages(faces.normal, faces.over, faces.down, faces.disabled);
}

void setFaces(CKivCheckBox& box, int part, const layout::Rect& rect) {
    const SkinFaces faces = skinFaces(part, rect);
    box.setImages(faces.normal, faces.over, faces.down, faces.disabled);
}

QImage piece(int part, int state, const layout::Rect& rect) {
    return skinPart(part, state, toQRect(rect)).toImage();
}

}  // namespace

CSensorDlg::CSensorDlg(const PageServices& services, QWidget* parent)
    : SettingsPage(PageKind::SensorPerformance, services, parent),
      popupRunner([](CPopDlg& popup) { return popup.exec(); }) {
    buildControls();
    buildHiddenControls();
    fieldCheck.setInterval(kFieldCheckMs);
    connect(&fieldCheck, &QTimer::timeout, this, &CSensorDlg::checkFocusedField);
}

void CSensorDlg::buildControls() {
    dpiSteps = new CKivComboButton(this, kDpiStepsId);
    dpiSteps->setGeometry(toQRect(sp::kDpiStepsSelector));
    setFaces(*dpiSteps, sp::kPartDpiStepsSelector, sp::kDpiStepsSelector);
    int menuWidth = sp::kDpiStepsMenuWidth;
    for (int n = 1; n <= kLevelCount; ++n) {
        dpiSteps->addItem(n, QString::number(n));
        // Never narrower than its digits need: the menu's row margins alone
        // take most of the 30 pixels.
        menuWidth = std::max(menuWidth, dpiSteps->menu()->widthToShow(QString::number(n)));
    }
    dpiSteps->setMenuWidth(menuWidth);
    dpiSteps->menu()->setItemHeight(kMenuItemHeight);

    // The fields first: the slider's thumbs write into them from the start.
    auto* digits = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(kFieldDigits)), this);
    for (int i = 0; i < kLevelCount; ++i) {
        auto* button = new CKivButton(this, kLevelButtonId + i);
        button->setGeometry(toQRect(sp::kLevelButtons[i]));
        setFaces(*button, sp::kPartLevelButtons + i, sp::kLevelButtons[i]);
        button->setEnabled(false);
        levelButtons[static_cast<std::size_t>(i)] = button;

        auto* field = new CQOREdit(this, kLevelFieldId + i);
        field->setGeometry(toQRect(sp::kLevelFields[i]));
        field->setBackground(
            piece(sp::kPartLevelFields + i, layout::kStateNormal, sp::kLevelFields[i]));
        field->setRange(kResolutionMinimum, kResolutionMaximum);
        field->setWheelStep(kResolutionStep);
        field->lineEdit()->setValidator(digits);
        field->lineEdit()->setAlignment(Qt::AlignCenter);
        field->lineEdit()->installEventFilter(this);
        field->setVisible(i != kFieldHiddenAtFirst);
        levelFields[static_cast<std::size_t>(i)] = field;
        writeField(i, kStartResolutions[static_cast<std::size_t>(i)]);
    }

    resolution = new CKivSliderCtrl3D(this, kResolutionSliderId);
    resolution->setGeometry(toQRect(sp::kResolutionSlider));
    resolution->setImages(skinSliderImages(sp::kPartResolutionSlider, sp::kResolutionSlider));
    for (int k = 1; k <= kLevelCount; ++k) {
        resolution->setThumbOverImage(k, skinPicture(layout::singles::kPartSliderOver + k - 1));
    }
    resolution->setThumbCount(kLevelCount);
    resolution->setRange(kResolutionMinimum, kResolutionMaximum);
    resolution->setStep(kResolutionStep);
    for (int k = 1; k <= kLevelCount; ++k) {
        resolution->setThumbValue(k, kStartResolutions[static_cast<std::size_t>(k - 1)]);
    }

    pointSpeed = new CKivSliderCtrl3D(this, kPointSpeedId);
    pointSpeed->setGeometry(toQRect(sp::kPointSpeedSlider));
    pointSpeed->setImages(skinSliderImages(sp::kPartPointSpeedSlider, sp::kPointSpeedSlider));
    pointSpeed->setRange(kPointSpeedMinimum, kPointSpeedMaximum);
    pointSpeed->setStep(1);
    pointSpeed->setValue(kPointSpeedStart);

    const auto makeToggle = [this](int id, int part, const layout::Rect& rect) {
        auto* box = new CKivCheckBox(this, id);
        box->setGeometry(toQRect(rect));
        setFaces(*box, part, rect);
        return box;
    };
    lod = makeToggle(kLodId, sp::kPartLodToggle, sp::kLodToggle);
    angleSnap = makeToggle(kAngleSnapId, sp::kPartAngleSnapToggle, sp::kAngleSnapToggle);
    rippleControl =
        makeToggle(kRippleControlId, sp::kPartRippleControlToggle, sp::kRippleControlToggle);

    quality = new CKivProgressCtrl(this, kQualityBarId);
    quality->setGeometry(toQRect(sp::kQualityBar));
    quality->setImages(piece(sp::kPartQualityBar, layout::kStateNormal, sp::kQualityBar),
                       piece(sp::kPartQualityBar, layout::kStateDown, sp::kQualityBar));
    quality->setOrientation(Qt::Horizontal);
    quality->setRange(0, kSurfaceLevelCount - 1);
    quality->setPosition(0);

    surface = new CKivStatic(this, kSurfacePictureId);
    surface->setGeometry(toQRect(sp::kSurfacePicture));
    const QString folder = skinFolder();
    // Decoded when first shown: most users never run the analysis.
    QList<SkinImage> pictures;
    for (int level = 0; level < kSurfaceLevelCount; ++level) {
        pictures.append(
            SkinImage::fromFileWhenDrawn(folder + QStringLiteral("%1.bmp").arg(level * 10)));
    }
    surface->setPictures(pictures);
    surface->setCurrentPicture(0);

    analyze = new CKivButton(this, kAnalyzeSurfaceId);
    analyze->setGeometry(toQRect(sp::kAnalyzeSurfaceButton));
    setFaces(*analyze, sp::kPartAnalyzeSurfaceButton, sp::kAnalyzeSurfaceButton);
}

void CSensorDlg::buildHiddenControls() {
    // Separate X and Y resolutions, a defined mode and their "Test" and
    // "Save" buttons: the mouse takes one value for both axes, so these stay
    // out of sight and do nothing.
    auto* separate = new CKivCheckBox(this, kSeparateXyId);
    separate->setGeometry(toQRect(sp::kSeparateXyBox));
    setFaces(*separate, sp::kPartSeparateXyBox, sp::kSeparateXyBox);
    auto* defined = new CKivCheckBox(this, kDefinedModeId);
    defined->setGeometry(toQRect(sp::kDefinedModeBox));
    setFaces(*defined, sp::kPartDefinedModeBox, sp::kDefinedModeBox);
    auto* test = new CKivButton(this, kTestId);
    test->setGeometry(toQRect(sp::kTestButton));
    setFaces(*test, sp::kPartTestButton, sp::kTestButton);
    auto* save = new CKivButton(this, kSaveId);
    save->setGeometry(toQRect(sp::kSaveButton));
    setFaces(*save, sp::kPartSaveButton, sp::kSaveButton);
    unused = {separate, defined, test, save};
    for (int i = 0; i < 3; ++i) {
        auto* label = new CKivStatic(this, kAxisLabelId + i);
        label->setGeometry(toQRect(sp::kAxisLabels[i]));
        label->setBackground(
            piece(sp::kPartAxisLabels + i, layout::kStateNormal, sp::kAxisLabels[i]));
        unused.append(label);
    }
    for (QWidget* control : unused) {
        control->hide();
    }
}

CKivButton* CSensorDlg::levelButton(int level) const {
    return levelButtons.at(static_cast<std::size_t>(level - 1));
}

CQOREdit* CSensorDlg::levelField(int level) const {
    return levelFields.at(static_cast<std::size_t>(level - 1));
}

// ----- records -----

void CSensorDlg::loadFromProfile(const MouseProfile& profile) {
    pointSpeed->setValue(profile.pointerSpeed);
    showSurfaceLevel(profile.surfaceQualityLevel);
    rippleControl->setTicked(profile.rippleControl == 0);
    angleSnap->setTicked(profile.angleSnapping == 0);
    lod->setTicked(profile.liftOffDistance == 2);

    // A count outside 1..5 (a damaged or foreign file) is shown as the
    // nearest one the mouse has.
    const int levels = std::clamp<int>(profile.dpiLevelCount, 1, kLevelCount);
    dpiSteps->set(QString::number(levels), levels, levels);
    chooseCount(levels);
    for (int i = 0; i < levels; ++i) {
        moveThumb(i, profile.dpiLevels[static_cast<std::size_t>(i)].x);
        // The thumb keeps the value within the range; the field shows that.
        writeField(i, resolution->thumbValue(i + 1));
    }
    // The record takes the clamped level when the page is next stored.
    markLevel(std::min<int>(profile.activeDpiLevel, levels));
}

void CSensorDlg::storeToProfile(MouseProfile& profile) {
    profile.pointerSpeed = static_cast<std::uint8_t>(pointSpeed->value());
    profile.surfaceQualityLevel = static_cast<std::uint16_t>(quality->position());
    profile.rippleControl = rippleControl->isTicked() ? 0 : 1;
    profile.angleSnapping = angleSnap->isTicked() ? 0 : 1;
    profile.liftOffDistance = lod->isTicked() ? 2 : 1;

    const int marked = markedLevel();
    int active = marked != 0 ? marked : kDefaultActiveLevel;
    profile.dpiLevelCount = static_cast<std::uint8_t>(count);
    active = std::min(active, count);
    profile.activeDpiLevel = static_cast<std::uint8_t>(active);

    for (int i = 0; i < kLevelCount; ++i) {
        DpiLevel& level = profile.dpiLevels[static_cast<std::size_t>(i)];
        if (i >= count) {
            // The mouse reads a level beyond the count as 0.
            level.x = 0;
            continue;
        }
        // A value still being typed counts as much as one the check has
        // already taken: the user sees it in the field.
        takeTypedValue(i);
        const int rounded = roundResolution(resolution->thumbValue(i + 1));
        moveThumb(i, rounded);
        writeField(i, rounded);
        level.x = static_cast<std::uint16_t>(rounded);
    }
}

// ----- levels -----

void CSensorDlg::chooseCount(int levels) {
    count = std::clamp(levels, 1, kLevelCount);
    for (int i = 0; i < kLevelCount; ++i) {
        const bool inUse = i < count;
        levelButtons[static_cast<std::size_t>(i)]->setEnabled(inUse);
        CQOREdit& field = *levelFields[static_cast<std::size_t>(i)];
        field.setEnabled(inUse);
        // A level out of use keeps its value for when the count grows again,
        // but shows none, so that nobody takes it for one the mouse uses.
        field.setTextHidden(!inUse);
        // The fifth field waits hidden until a count is chosen; from then on
        // it follows the count like the other four, so that a fifth level in
        // use can be read and typed.
        field.show();
        field.setBackground(piece(sp::kPartLevelFields + i,
                                  inUse ? layout::kStateNormal : layout::kStateDisable,
                                  sp::kLevelFields[i]));
    }
    resolution->setThumbCount(count);
    // The marked level stays among the levels in use, as storing would make it.
    const int marked = markedLevel();
    if (count == 1 || marked > count) {
        markLevel(count);
    }
    updateFieldCheck();
}

void CSensorDlg::markLevel(int level) {
    for (int i = 0; i < kLevelCount; ++i) {
        levelButtons[static_cast<std::size_t>(i)]->setLatched(i + 1 == level);
    }
}

int CSensorDlg::markedLevel() const {
    for (int i = 0; i < kLevelCount; ++i) {
        if (levelButtons[static_cast<std::size_t>(i)]->isLatched()) {
            return i + 1;
        }
    }
    return 0;
}

void CSensorDlg::showActiveDpiLevel(int level) {
    if (level >= 1 && level <= kLevelCount) {
        markLevel(level);
    }
}

void CSensorDlg::writeField(int index, int value) {
    CQOREdit& field = *levelFields[static_cast<std::size_t>(index)];
    const QString text = QString::number(value);
    if (field.text() != text) {
        writing = true;
        field.setText(text);
        writing = false;
    }
}

void CSensorDlg::moveThumb(int index, int value) {
    writing = true;
    resolution->setThumbValue(index + 1, value);
    writing = false;
}

// ----- number fields -----

int CSensorDlg::focusedField() const {
    for (int i = 0; i < kLevelCount; ++i) {
        const CQOREdit* field = levelFields[static_cast<std::size_t>(i)];
        if (field != nullptr && field->lineEdit()->hasFocus()) {
            return i;
        }
    }
    return -1;
}

int CSensorDlg::fieldAt(QObject* watched) const {
    for (int i = 0; i < kLevelCount; ++i) {
        const CQOREdit* field = levelFields[static_cast<std::size_t>(i)];
        if (field != nullptr && field->lineEdit() == watched) {
            return i;
        }
    }
    return -1;
}

void CSensorDlg::updateFieldCheck() {
    // Only a field being typed into needs looking at; a hidden page or an
    // idle one costs no wake-ups.
    if (isVisible() && focusedField() >= 0) {
        if (!fieldCheck.isActive()) {
            fieldCheck.start();
        }
    } else {
        fieldCheck.stop();
    }
}

void CSensorDlg::checkFocusedField() {
    const int index = focusedField();
    if (index < 0 || !isVisible()) {
        updateFieldCheck();
        return;
    }
    followTypedValue(index);
}

void CSensorDlg::followTypedValue(int index) {
    bool ok = false;
    const qlonglong typed = levelFields[static_cast<std::size_t>(index)]->text().toLongLong(&ok);
    if (!ok) {
        return;
    }
    if (typed > kResolutionMaximum) {
        writeField(index, kResolutionMaximum);
        moveThumb(index, kResolutionMaximum);
    } else if (typed >= kResolutionMinimum) {
        moveThumb(index, static_cast<int>(typed));
    }
}

void CSensorDlg::takeTypedValue(int index) {
    bool ok = false;
    const qlonglong typed = levelFields[static_cast<std::size_t>(index)]->text().toLongLong(&ok);
    if (ok) {
        moveThumb(index, roundResolution(typed));
    }
}

void CSensorDlg::stepFocus(int from, bool forward) {
    for (int step = 1; step < kLevelCount; ++step) {
        const int next = (from + (forward ? step : kLevelCount - step)) % kLevelCount;
        CQOREdit& field = *levelFields[static_cast<std::size_t>(next)];
        if (field.isEnabled() && field.isVisible()) {
            field.lineEdit()->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            field.lineEdit()->selectAll();
            return;
        }
    }
}

bool CSensorDlg::eventFilter(QObject* watched, QEvent* event) {
    const int index = fieldAt(watched);
    if (index < 0) {
        return SettingsPage::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::FocusIn:
            updateFieldCheck();
            break;
        case QEvent::FocusOut:
            // What was typed since the last check still reaches the thumb.
            followTypedValue(index);
            updateFieldCheck();
            break;
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            switch (key->key()) {
                case Qt::Key_Tab:
                case Qt::Key_Backtab:
                    followTypedValue(index);
                    stepFocus(index,
                              key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
                    return true;
                case Qt::Key_Return:
                case Qt::Key_Enter: {
                    takeTypedValue(index);
                    const int rounded = roundResolution(resolution->thumbValue(index + 1));
                    moveThumb(index, rounded);
                    writeField(index, rounded);
                    return true;
                }
                default:
                    break;
            }
            break;
        }
        default:
            break;
    }
    return SettingsPage::eventFilter(watched, event);
}

void CSensorDlg::showEvent(QShowEvent* event) {
    SettingsPage::showEvent(event);
    updateFieldCheck();
}

void CSensorDlg::hideEvent(QHideEvent* event) {
    SettingsPage::hideEvent(event);
    updateFieldCheck();
}

// ----- surface analysis -----

void CSensorDlg::showSurfaceLevel(int level) {
    const int shown = std::clamp(level, 0, kSurfaceLevelCount - 1);
    quality->setPosition(shown);
    surface->setCurrentPicture(shown);
    quality->update();
    surface->update();
}

void CSensorDlg::analyzeSurface() {
    if (analysing) {
        return;
    }
    analysing = true;
    // The bar starts again from nothing; the picture keeps the last result
    // until there is a new one.
    quality->setPosition(0);
    quality->repaint();

    DeviceLink* link = services().link;
    CPopDlg question(layout::popup::kSurfaceAnalysisStart, this);
    question.setAnalysisStarter(link != nullptr ? surfaceAnalysisStarter(*link)
                                                : CPopDlg::AnalysisStarter([] { return false; }));
    if (link != nullptr) {
        question.setMissingMouseText(
            [link] { return CPopDlg::mouseMissingText(link->unreadablePath()); });
    }
    // The mouse measures until the result pop-up is confirmed; only then is
    // its value read.
    if (popupRunner(question) == CPopDlg::kResultOk) {
        const std::uint8_t value = link != nullptr ? readSurfaceQualityValue(*link) : 0;
        showSurfaceLevel(surfaceQualityLevel(value));
    }
    analysing = false;
}

// ----- notifications -----

void CSensorDlg::controlNotified(int id, int value) {
    if (id == kMenuVisibilityId) {
        SettingsPage::controlNotified(id, value);
        return;
    }
    if (id == kDpiStepsId) {
        if (value >= 1 && value <= kLevelCount) {
            chooseCount(value);
        }
        return;
    }
    if (id == kResolutionSliderId) {
        const int thumb = value / kThumbShift;
        if (!writing && thumb >= 1 && thumb <= kLevelCount) {
            writeField(thumb - 1, value % kThumbShift);
        }
        return;
    }
    if (id >= kLevelFieldId && id < kLevelFieldId + kLevelCount &&
        value == CKivEdit::kTextChanged) {
        const int index = id - kLevelFieldId;
        // A wheel turned over a field without the focus: no check looks at
        // that field, so its thumb follows at once.
        if (!writing && !levelFields[static_cast<std::size_t>(index)]->lineEdit()->hasFocus()) {
            followTypedValue(index);
        }
    }
}

void CSensorDlg::controlClicked(int id) {
    if (id >= kLevelButtonId && id < kLevelButtonId + kLevelCount) {
        markLevel(id - kLevelButtonId + 1);
    } else if (id == kAnalyzeSurfaceId) {
        analyzeSurface();
    }
}

}  // namespace orvane
