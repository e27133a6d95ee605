#include "pages/lighting/CColorSettingsDlg.h"

#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <algorithm>

#include "controls/CKivButton.h"
#include "controls/CKivCheckBox.h"
#include "controls/CKivEdit.h"
#include "controls/CKivSliderCtrl3D.h"
#include "controls/CKivStatic.h"
#include "controls/HxColorSelectorWnd.h"
#include "controls/HxColorSliderWnd.h"
#include "controls/HxColorWellWnd.h"
#include "controls/KivSliderImages.h"
#include "pages/lighting/CKivMouseStatic.h"
#include "pages/lighting/ColorEntryText.h"
#include "skins/SkinCache.h"
#include "skins/SkinFaces.h"
#include "skins/SkinLayout.h"

namespace orvane {

namespace {

namespace lp = layout::lightingpage;

// Record bits of lightingZoneFlags.
constexpr std::uint32_t kWheelZone = 0x01;
constexpr std::uint32_t kLogoZone = 0x08;
constexpr std::uint32_t kAllZones = 0x0F;
constexpr std::uint32_t kColorShiftFlag = 0x10;
constexpr std::uint32_t kSelectFlag = 0x20;
// lightingEffect in colour-shift mode carries this besides the effect.
constexpr std::uint32_t kColorShiftEffect = 0x10;
constexpr std::uint32_t kShiftZones = kWheelZone | kLogoZone | kColorShiftFlag;

constexpr int kBrightnessSteps = 5;
constexpr int kFullAlpha = 255;

// The effects in button order, with the names a screen reader says.
constexpr PreviewEffect kEffects[4] = {PreviewEffect::Solid, PreviewEffect::Blinking,
                                       PreviewEffect::Pulsating, PreviewEffect::Breathing};
const char* const kEffectNames[4] = {"Solid", "Blinking", "Pulsating", "Breathing"};
const char* const kChannelNames[3] = {"Red", "Green", "Blue"};
constexpr layout::Rect kChannelRects[3] = {lp::kRedEdit, lp::kGreenEdit, lp::kBlueEdit};
constexpr int kChannelParts[3] = {lp::kPartRedEdit, lp::kPartGreenEdit, lp::kPartBlueEdit};

// Where the hidden colour well sits; it is never shown, only its colour counts.
constexpr QRect kWellRect{0, 0, 1, 1};

QRgb previewColor(ColorRef colour, int alpha) {
    return qRgba(redOf(colour), greenOf(colour), blueOf(colour), alpha);
}

ColorRef recordColor(QRgb colour) {
    return makeColorRef(qRed(colour), qGreen(colour), qBlue(colour));
}

QImage piece(int part, const layout::Rect& rect, int state = layout::kStateNormal) {
    return skinPart(part, state, toQRect(rect)).toImage();
}

CKivButton* makeButton(QWidget* parent, int id, int part, const layout::Rect& rect,
                       const QString& name) {
    auto* button = new CKivButton(parent, id);
    button->setGeometry(toQRect(rect));
    const SkinFaces faces = skinFaces(part, rect);
    button->setImages(faces.normal, faces.over, faces.down, faces.disabled);
    button->setFocusPolicy(Qt::TabFocus);
    button->setAccessibleName(name);
    return button;
}

CKivCheckBox* makeBox(QWidget* parent, int id, int part, const layout::Rect& rect,
                      const QString& name) {
    auto* box = new CKivCheckBox(parent, id);
    box->setGeometry(toQRect(rect));
    const SkinFaces faces = skinFaces(part, rect);
    box->setImages(faces.normal, faces.over, faces.down, faces.disabled);
    box->setFocusPolicy(Qt::TabFocus);
    box->setAccessibleName(name);
    return box;
}

}  // namespace

CColorSettingsDlg::CColorSettingsDlg(const PageServices& services, QWidget* parent)
    : SettingsPage(PageKind::ColorSettings, services, parent),
      pointerMover([](QPoint global) { QCursor::setPos(global); }) {
    buildControls();
    buildEdits();
    buildPicker();
    showSelectControls(false);

    // Tab goes from the effects through the modes to the colour entry.
    QWidget* previous = nullptr;
    for (QWidget* next : std::initializer_list<QWidget*>{
             effectButtons[0], effectButtons[1], effectButtons[2], effectButtons[3], solidColor,
             colorShift, select, wheelTarget, scrollWheel, logoTarget, logoType, channelEdits[0],
             channelEdits[1], channelEdits[2], hex, selector, slider}) {
        if (previous != nullptr) {
            setTabOrder(previous, next);
        }
        previous = next;
    }

    setPickerColor(makeColorRef(255, 0, 0));
    showInFields(pickedColor);
}

CColorSettingsDlg::~CColorSettingsDlg() {
    // The well reports to the page; the page's members go before its children.
    well->link(selector, nullptr);
}

void CColorSettingsDlg::buildControls() {
    // First, as the brightness slider reports to it.
    mousePreview = new CKivMouseStatic(this, kPreviewId);
    mousePreview->setGeometry(toQRect(lp::kPreview));
    mousePreview->setPicture(skinPicture(lp::kPartPreviewPicture));
    mousePreview->setZoneRects(toQRect(lp::kPreviewWheelZone), toQRect(lp::kPreviewLogoZone));
    mousePreview->setAccessibleName(QStringLiteral("Lighting preview"));
    brightness = new CKivSliderCtrl3D(this, kBrightnessId);
    brightness->setGeometry(toQRect(lp::kBrightnessSlider));
    brightness->setImages(skinSliderImages(lp::kPartBrightnessSlider, lp::kBrightnessSlider));
    brightness->setRange(1, kBrightnessSteps);
    brightness->setStep(1);
    brightness->setValue(kBrightnessSteps);
    brightness->setAccessibleName(QStringLiteral("Brightness"));

    for (int i = 0; i < 4; ++i) {
        effectButtons[static_cast<std::size_t>(i)] =
            makeButton(this, kEffectButtonId + i, lp::kPartEffectButtons + i, lp::kEffectButtons[i],
                       QString::fromLatin1(kEffectNames[i]));
    }
    solidColor = makeButton(this, kSolidColorId, lp::kPartSolidColorButton, lp::kSolidColorButton,
                            QStringLiteral("Solid Color"));
    colorShift = makeButton(this, kColorShiftId, lp::kPartColorShiftButton, lp::kColorShiftButton,
                            QStringLiteral("Color Shift"));
    select = makeButton(this, kSelectId, lp::kPartSelectButton, lp::kSelectButton,
                        QStringLiteral("Select"));
    scrollWheel = makeBox(this, kScrollWheelBoxId, lp::kPartScrollWheelBox, lp::kScrollWheelBox,
                          QStringLiteral("Scroll Wheel"));
    logoType = makeBox(this, kLogoTypeBoxId, lp::kPartLogoTypeBox, lp::kLogoTypeBox,
                       QStringLiteral("LogoType"));
    wheelTarget = makeButton(this, kWheelTargetId, lp::kPartWheelTargetButton,
                             lp::kWheelTargetButton, QStringLiteral("1"));
    logoTarget = makeButton(this, kLogoTargetId, lp::kPartLogoTargetButton, lp::kLogoTargetButton,
                            QStringLiteral("4"));

    for (int i = 0; i < 2; ++i) {
        auto* label = new CKivStatic(this, kZoneLabelId + i);
        label->setGeometry(toQRect(lp::kZoneLabels[i]));
        label->setPictures(
            {piece(lp::kPartZoneLabels + i, lp::kZoneLabels[i]),
             piece(lp::kPartZoneLabels + i, lp::kZoneLabels[i], layout::kStateDisable)});
        zoneLabels[static_cast<std::size_t>(i)] = label;
    }
}

void CColorSettingsDlg::buildEdits() {
    // Digits only: a sign would make a channel negative.
    const QRegularExpression digits(QStringLiteral("[0-9]*"));
    for (int i = 0; i < 3; ++i) {
        auto* edit = new CKivEdit(this, kRedEditId + i);
        edit->setGeometry(toQRect(kChannelRects[i]));
        edit->setBackground(piece(kChannelParts[i], kChannelRects[i]));
        QLineEdit* line = edit->lineEdit();
        line->setMaxLength(kDecimalDigits);
        line->setValidator(new QRegularExpressionValidator(digits, line));
        line->setAlignment(Qt::AlignCenter);
        const QString name = QString::fromLatin1(kChannelNames[i]);
        edit->setAccessibleName(name);
        line->setAccessibleName(name);
        line->installEventFilter(this);
        channelEdits[static_cast<std::size_t>(i)] = edit;
    }

    hash = new CKivStatic(this, kHashId);
    hash->setGeometry(toQRect(lp::kHashText));
    hash->setBackground(piece(lp::kPartHashText, lp::kHashText));

    hex = new CKivEdit(this, kHexEditId);
    hex->setGeometry(toQRect(lp::kHexEdit));
    hex->setBackground(piece(lp::kPartHexEdit, lp::kHexEdit));
    hex->setHexFilter(true);
    QLineEdit* line = hex->lineEdit();
    line->setMaxLength(kHexDigits);
    line->setAlignment(Qt::AlignCenter);
    hex->setAccessibleName(QStringLiteral("Hex colour"));
    line->setAccessibleName(QStringLiteral("Hex colour"));
    line->installEventFilter(this);
}

void CColorSettingsDlg::buildPicker() {
    selector = new HxColorSelectorWnd(this, toQRect(lp::kColorSelector), kSelectorId);
    slider = new HxColorSliderWnd(this, toQRect(lp::kHueSlider), kHueSliderId);
    well = new HxColorWellWnd(this, kWellRect, kWellId);
    well->hide();
    selector->link(slider, well);
    slider->link(selector);
    well->link(selector, this);
    selector->setHueMode();
    slider->setHueMode();
    selector->setAccessibleName(QStringLiteral("Shade"));
    slider->setAccessibleName(QStringLiteral("Hue"));
}

CKivButton* CColorSettingsDlg::effectButton(int index) const {
    return effectButtons.at(static_cast<std::size_t>(index));
}

CKivStatic* CColorSettingsDlg::zoneLabel(int index) const {
    return zoneLabels.at(static_cast<std::size_t>(index));
}

CKivEdit* CColorSettingsDlg::channelEdit(int channel) const {
    return channelEdits.at(static_cast<std::size_t>(channel));
}

void CColorSettingsDlg::setCurrentRecord(std::function<MouseProfile&()> current) {
    currentRecord = std::move(current);
}

// ----- zone modes, targets and effects -----

void CColorSettingsDlg::latchZoneMode(ZoneMode zoneMode) {
    mode = zoneMode;
    select->setLatched(zoneMode == ZoneMode::Select);
    solidColor->setLatched(zoneMode == ZoneMode::SolidColor);
    colorShift->setLatched(zoneMode == ZoneMode::ColorShift);
}

void CColorSettingsDlg::showSelectControls(bool shown) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{scrollWheel, logoType, wheelTarget, logoTarget}) {
        control->setVisible(shown);
    }
    for (CKivStatic* label : zoneLabels) {
        label->setCurrentPicture(shown ? 0 : 1);
    }
}

void CColorSettingsDlg::chooseSelectMode() {
    latchZoneMode(ZoneMode::Select);
    scrollWheel->setTicked(false);
    logoType->setTicked(false);
    showSelectControls(true);
    mousePreview->setWheelLit(false);
    mousePreview->setLogoLit(false);
}

void CColorSettingsDlg::chooseSolidColorMode() {
    latchZoneMode(ZoneMode::SolidColor);
    showSelectControls(false);
    mousePreview->setWheelLit(true);
    mousePreview->setLogoLit(true);
    mousePreview->stopColorShift();
}

void CColorSettingsDlg::chooseColorShiftMode() {
    latchZoneMode(ZoneMode::ColorShift);
    showSelectControls(false);
    mousePreview->setWheelLit(true);
    mousePreview->setLogoLit(true);
    mousePreview->startColorShift();
}

void CColorSettingsDlg::zoneBoxClicked(bool wheelBox) {
    mousePreview->stopColorShift();
    if (wheelBox) {
        mousePreview->setWheelLit(scrollWheel->isTicked());
    } else {
        mousePreview->setLogoLit(logoType->isTicked());
    }
}

void CColorSettingsDlg::chooseTarget(Target chosen) {
    colourTarget = chosen;
    wheelTarget->setLatched(chosen == Target::Wheel);
    logoTarget->setLatched(chosen == Target::Logo);
    const QPoint global = channelEdits[1]->mapToGlobal(QPoint(0, 0)) - QPoint(0, kPointerLift);
    pointerMover(global);
}

void CColorSettingsDlg::chooseEffect(int index) {
    chosenEffect = index;
    for (int i = 0; i < 4; ++i) {
        effectButtons[static_cast<std::size_t>(i)]->setLatched(i == index);
    }
    mousePreview->setEffect(index >= 0 ? kEffects[index] : PreviewEffect::Solid);
}

void CColorSettingsDlg::releaseEffects() {
    chosenEffect = -1;
    for (CKivButton* button : effectButtons) {
        button->setLatched(false);
    }
}

// ----- colour entry -----

QStringList CColorSettingsDlg::decimalTexts() const {
    return {channelEdits[0]->text(), channelEdits[1]->text(), channelEdits[2]->text()};
}

void CColorSettingsDlg::setFieldText(CKivEdit& field, const QString& text) {
    if (field.text() != text) {
        field.setText(text);
    }
}

void CColorSettingsDlg::syncFromDecimal() {
    writingFields = true;
    std::array<int, 3> values{};
    for (std::size_t i = 0; i < 3; ++i) {
        CKivEdit& field = *channelEdits[i];
        const QString text = field.text().left(kDecimalDigits);
        setFieldText(field, text);
        values[i] = decimalChannel(text);
        if (values[i] > 255) {
            values[i] = 255;
            setFieldText(field, QStringLiteral("255"));
        }
    }
    const ColorRef colour = makeColorRef(values[0], values[1], values[2]);
    setFieldText(*hex, hexText(colour));
    writingFields = false;
    takeOverIfNew(colour);
}

void CColorSettingsDlg::syncFromHex() {
    writingFields = true;
    setFieldText(*hex, hex->text().left(kHexDigits));
    const std::array<int, 3> values = hexChannels(hex->text());
    for (std::size_t i = 0; i < 3; ++i) {
        setFieldText(*channelEdits[i], QString::number(values[i]));
    }
    writingFields = false;
    takeOverIfNew(makeColorRef(values[0], values[1], values[2]));
}

void CColorSettingsDlg::takeOverIfNew(ColorRef colour) {
    const QStringList texts = decimalTexts();
    if (texts == lastSeen) {
        return;
    }
    lastSeen = texts;
    pickedColor = colour;
    applyColorToPreview(colour);
    setPickerColor(colour);
}

void CColorSettingsDlg::showInFields(ColorRef colour) {
    writingFields = true;
    setFieldText(*channelEdits[0], QString::number(redOf(colour)));
    setFieldText(*channelEdits[1], QString::number(greenOf(colour)));
    setFieldText(*channelEdits[2], QString::number(blueOf(colour)));
    setFieldText(*hex, hexText(colour));
    writingFields = false;
    lastSeen = decimalTexts();
}

void CColorSettingsDlg::setPickerColor(ColorRef colour) {
    pickedColor = colour;
    settingPicker = true;
    selector->setColor(colour);
    settingPicker = false;
}

long CColorSettingsDlg::colorChanged(const HxColorChange& change) {
    // The selector reports to its parent too; the well's report is the one
    // that stands for the picked colour.
    if (change.controlId != kWellId || settingPicker) {
        return 0;
    }
    const ColorRef colour = change.value & 0xFFFFFF;
    pickedColor = colour;
    showInFields(colour);
    applyColorToPreview(colour);
    return 0;
}

void CColorSettingsDlg::applyColorToPreview(ColorRef colour) {
    const QRgb shown = previewColor(colour, mousePreview->brightnessAlphaNow());
    switch (mode) {
        case ZoneMode::SolidColor:
            mousePreview->setWheelColor(shown);
            mousePreview->setLogoColor(shown);
            break;
        case ZoneMode::Select:
            if (scrollWheel->isTicked() && colourTarget == Target::Wheel) {
                mousePreview->setWheelColor(shown);
            }
            if (logoType->isTicked() && colourTarget == Target::Logo) {
                mousePreview->setLogoColor(shown);
            }
            break;
        case ZoneMode::ColorShift:
        case ZoneMode::None:
            break;
    }
}

// ----- records -----

void CColorSettingsDlg::loadFromProfile(const MouseProfile& profile) {
    latchZoneMode(ZoneMode::None);
    releaseEffects();
    showSelectControls(false);
    scrollWheel->setTicked(false);
    logoType->setTicked(false);
    mousePreview->stopColorShift();
    // A zone is lit only by the mode the record names.
    mousePreview->setWheelLit(false);
    mousePreview->setLogoLit(false);

    // The record keeps its value; storeToProfile writes the corrected step.
    const int level = std::clamp(
        static_cast<int>(std::min<std::uint32_t>(profile.lightingBrightness, kBrightnessSteps)), 1,
        kBrightnessSteps);
    brightness->setValue(level);
    mousePreview->setBrightness(level);

    const std::uint32_t flags = profile.lightingZoneFlags;
    if ((flags & kAllZones) == kAllZones) {
        chooseSolidColorMode();
    } else if ((flags & kColorShiftFlag) != 0) {
        chooseColorShiftMode();
    } else if ((flags & kSelectFlag) != 0) {
        if ((flags & (kWheelZone | kLogoZone)) != 0) {
            chooseSelectMode();
            scrollWheel->setTicked((flags & kWheelZone) != 0);
            logoType->setTicked((flags & kLogoZone) != 0);
            mousePreview->setWheelLit(scrollWheel->isTicked());
            mousePreview->setLogoLit(logoType->isTicked());
        }
    }

    const std::uint32_t effect = profile.lightingEffect;
    if ((effect & 0x03) == 0x03) {
        chooseEffect(2);
    } else if ((effect & 0x01) != 0) {
        chooseEffect(0);
    } else if ((effect & 0x02) != 0) {
        chooseEffect(1);
    } else if ((effect & 0x04) != 0) {
        chooseEffect(3);
    } else {
        // No effect chosen: the preview holds still rather than go on with
        // the effect of the record shown before.
        chooseEffect(-1);
    }

    // The colours come at the alpha the preview draws now, so a dim record
    // is not shown at full brightness until the next change.
    const int alpha = qAlpha(mousePreview->wheelColor());
    mousePreview->setWheelColor(previewColor(profile.zoneColor1, alpha));
    mousePreview->setLogoColor(previewColor(profile.zoneColor4, alpha));
    mousePreview->setSavedColors(previewColor(profile.zoneColor1, kFullAlpha),
                                 previewColor(profile.zoneColor4, kFullAlpha));

    // The picker and the fields show the record's picked colour exactly, and
    // the preview takes it as a pick (in solid-colour mode both zones).
    const ColorRef picked = profile.pickerColor & 0xFFFFFF;
    setPickerColor(picked);
    showInFields(picked);
    applyColorToPreview(picked);
}

void CColorSettingsDlg::storeToProfile(MouseProfile& profile) {
    std::uint32_t flags = 0;
    std::uint32_t effect = 0;
    switch (mode) {
        case ZoneMode::Select:
            flags = kSelectFlag | (scrollWheel->isTicked() ? kWheelZone : 0) |
                    (logoType->isTicked() ? kLogoZone : 0);
            break;
        case ZoneMode::SolidColor:
            flags = kAllZones;
            break;
        case ZoneMode::ColorShift:
            flags = kShiftZones;
            effect = kColorShiftEffect;
            break;
        case ZoneMode::None:
            break;
    }
    if (chosenEffect >= 0) {
        effect += static_cast<std::uint32_t>(chosenEffect + 1);
    }
    profile.lightingZoneFlags = flags;
    profile.lightingEffect = effect;
    const bool shifting = mousePreview->isColorShiftRunning();
    profile.zoneColor1 =
        recordColor(shifting ? mousePreview->savedWheelColor() : mousePreview->wheelColor());
    profile.zoneColor4 =
        recordColor(shifting ? mousePreview->savedLogoColor() : mousePreview->logoColor());
    profile.lightingBrightness = static_cast<std::uint32_t>(brightness->value());
    profile.pickerColor = pickedColor;
}

// ----- notifications and input -----

void CColorSettingsDlg::controlNotified(int id, int value) {
    if (id == kBrightnessId) {
        mousePreview->setBrightness(value & 0xFFFF);
        return;
    }
    if (value == CKivEdit::kTextChanged && !writingFields) {
        if (id == kHexEditId) {
            syncFromHex();
            return;
        }
        if (id >= kRedEditId && id < kRedEditId + 3) {
            syncFromDecimal();
            return;
        }
    }
    SettingsPage::controlNotified(id, value);
}

void CColorSettingsDlg::controlClicked(int id) {
    if (id >= kEffectButtonId && id < kEffectButtonId + 4) {
        chooseEffect(id - kEffectButtonId);
        return;
    }
    switch (id) {
        case kSelectId:
            chooseSelectMode();
            break;
        case kSolidColorId:
            chooseSolidColorMode();
            break;
        case kColorShiftId:
            chooseColorShiftMode();
            break;
        case kScrollWheelBoxId:
            zoneBoxClicked(true);
            break;
        case kLogoTypeBoxId:
            zoneBoxClicked(false);
            break;
        case kWheelTargetId:
            chooseTarget(Target::Wheel);
            break;
        case kLogoTargetId:
            chooseTarget(Target::Logo);
            break;
        default:
            break;
    }
}

bool CColorSettingsDlg::eventFilter(QObject* watched, QEvent* event) {
    // The field that takes the focus is the one the others follow from now
    // on, as they would by the next look at the focus.
    if (event->type() == QEvent::FocusIn) {
        if (watched == hex->lineEdit()) {
            syncFromHex();
        } else {
            syncFromDecimal();
        }
    }
    return SettingsPage::eventFilter(watched, event);
}

void CColorSettingsDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // The blue field ends up with the focus, so that typing goes on in
        // decimal.
        for (CKivEdit* field : channelEdits) {
            field->setFocus(Qt::MouseFocusReason);
        }
        event->accept();
        return;
    }
    SettingsPage::mousePressEvent(event);
}

void CColorSettingsDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (currentRecord) {
            storeToProfile(currentRecord());
        }
        event->accept();
        return;
    }
    SettingsPage::keyPressEvent(event);
}

}  // namespace orvane
