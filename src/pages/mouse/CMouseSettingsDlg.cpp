#include "pages/mouse/CMouseSettingsDlg.h"

#include <QPointer>
#include <algorithm>

#include "buttons/ButtonFunction.h"
#include "buttons/KeyNames.h"
#include "controls/CKivCheckBox.h"
#include "controls/CKivComboButton.h"
#include "controls/CKivMenu.h"
#include "controls/CKivSliderCtrl3D.h"
#include "controls/CKivStatic.h"
#include "controls/CPopDlg.h"
#include "controls/KivFont.h"
#include "controls/KivSliderImages.h"
#include "macros/MacroCollection.h"
#include "platform/PointerSettings.h"
#include "skins/SkinFaces.h"
#include "skins/SkinLayout.h"
#include "skins/SkinPalette.h"

namespace orvane {

namespace {

namespace mp = layout::mousepage;

constexpr int kMenuItemHeight = 20;
constexpr int kCaptionPixels = 13;
// Submenu widths; a submenu is widened further when its longest text needs it.
constexpr int kDefaultCommandsWidth = 100;
constexpr int kProfileWidth = 145;
constexpr int kDpiWidth = 100;
constexpr int kMacroWidth = 120;
// The button whose "Default commands" offer resolution steps instead of the
// wheel.
constexpr int kResolutionWheelButton = 7;

// The report-rate boxes from left to right and the polling interval each
// stands for.
constexpr std::array<std::uint16_t, 4> kPollingIntervals = {8, 4, 2, 1};
constexpr int kFastestRateBox = 3;

// Where the quiet note sits: inside the "Tip" panel, below its text.
constexpr layout::Rect kNoteRect{706, 382, 290, 30};
constexpr int kNotePixels = 11;

QString caption(ButtonFunction function) {
    return QString::fromLatin1(buttonFunctionCaption(static_cast<std::uint8_t>(function)).data());
}

QString keyCaption(std::uint16_t code) {
    return QString::fromStdString(GetKeyName(static_cast<std::uint8_t>(code & 0xFF)));
}

QString joined(const std::vector<std::string>& parts) {
    QString text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            text += i + 1 == parts.size() ? QStringLiteral(" and ") : QStringLiteral(", ");
        }
        text += QString::fromStdString(parts[i]);
    }
    return text;
}

// Makes a submenu at least `width` wide and wide enough for its texts.
void fitSubmenu(CKivMenu& menu, int parentId, int width) {
    if (CKivMenu* submenu = menu.submenu(parentId)) {
        submenu->fitToItems(width);
        submenu->setItemHeight(kMenuItemHeight);
    }
}

}  // namespace

CMouseSettingsDlg::CMouseSettingsDlg(const PageServices& services, QWidget* parent)
    : SettingsPage(PageKind::MouseSettings, services, parent),
      popupRunner([](CPopDlg& popup) { return popup.exec(); }) {
    buildControls();
    refreshMacroMenus();
}

void CMouseSettingsDlg::buildControls() {
    for (int i = 0; i < kButtonCount; ++i) {
        const layout::Rect rect = mp::functionButton(i);
        auto* button = new CKivComboButton(this, kFunctionButtonId + i);
        button->setGeometry(toQRect(rect));
        const SkinFaces faces = skinFaces(mp::kPartFunctionButtons + i, rect);
        button->setImages(faces.normal, faces.over, faces.down, faces.disabled);
        // The sheet's labels beside the buttons are small; a 15-pixel caption
        // would outshout them.
        button->setCaptionFont(kivFont(kCaptionPixels));
        buildMenu(*button, i);
        functionButtons[static_cast<std::size_t>(i)] = button;
        showDefaultFunction(i);
    }
    for (int k = 0; k < 4; ++k) {
        auto* box = new CKivCheckBox(this, kReportRateBoxId + k);
        box->setGeometry(toQRect(mp::kReportRateBoxes[k]));
        const SkinFaces faces = skinFaces(mp::kPartReportRateBoxes + k, mp::kReportRateBoxes[k]);
        box->setImages(faces.normal, faces.over, faces.down, faces.disabled);
        reportRateBoxes[static_cast<std::size_t>(k)] = box;
    }
    reportRateBoxes[kFastestRateBox]->setTicked(true);

    auto makeSlider = [this](int id, const layout::Rect& rect, int part, int minimum, int maximum,
                             int step, int start) {
        auto* slider = new CKivSliderCtrl3D(this, id);
        slider->setGeometry(toQRect(rect));
        slider->setImages(skinSliderImages(part, rect));
        slider->setRange(minimum, maximum);
        slider->setStep(step);
        slider->setValue(start);
        return slider;
    };
    doubleClick = makeSlider(kDoubleClickId, mp::kDoubleClickSlider, mp::kPartDoubleClickSlider,
                             200, 1400, 200, 800);
    scrollSpeed =
        makeSlider(kScrollSpeedId, mp::kScrollSpeedSlider, mp::kPartScrollSpeedSlider, 1, 6, 1, 1);
    acceleration = makeSlider(kAccelerationId, mp::kAccelerationSlider, mp::kPartAccelerationSlider,
                              1, 3, 1, 1);
    acceleration->setEnabled(false);

    enable = new CKivCheckBox(this, kEnableId);
    enable->setGeometry(toQRect(mp::kAccelerationEnableBox));
    const SkinFaces faces = skinFaces(mp::kPartAccelerationEnableBox, mp::kAccelerationEnableBox);
    enable->setImages(faces.normal, faces.over, faces.down, faces.disabled);

    note = new CKivStatic(this, kNoteId);
    note->setGeometry(toQRect(kNoteRect));
    note->setTextFont(kivFont(kNotePixels));
    note->setTextColor(toQColor(palette::kWarning));
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    note->setText(QString());
}

void CMouseSettingsDlg::buildMenu(CKivComboButton& button, int index) {
    button.setMenuWidth(layout::mousepage::kFunctionMenuWidth);
    CKivMenu& menu = *button.menu();
    menu.setItemHeight(kMenuItemHeight);
    auto add = [&button](int parent, ButtonFunction function) {
        button.addItem(parent, static_cast<int>(function), caption(function));
    };
    button.addItem(kDefaultCommandsItem, QStringLiteral("Default commands"));
    for (ButtonFunction function :
         {ButtonFunction::LeftClick, ButtonFunction::RightClick, ButtonFunction::ScrollClick,
          ButtonFunction::Forward, ButtonFunction::Back}) {
        add(kDefaultCommandsItem, function);
    }
    if (index == kResolutionWheelButton) {
        add(kDefaultCommandsItem, ButtonFunction::DpiUp);
        add(kDefaultCommandsItem, ButtonFunction::DpiDown);
    } else {
        add(kDefaultCommandsItem, ButtonFunction::ScrollUp);
        add(kDefaultCommandsItem, ButtonFunction::ScrollDown);
    }
    button.addItem(kProfileItem, QStringLiteral("Profile"));
    add(kProfileItem, ButtonFunction::ProfileUp);
    add(kProfileItem, ButtonFunction::ProfileDown);
    add(kProfileItem, ButtonFunction::ProfileRoll);
    button.addItem(kDpiItem, QStringLiteral("DPI"));
    add(kDpiItem, ButtonFunction::DpiUp);
    add(kDpiItem, ButtonFunction::DpiDown);
    add(kDpiItem, ButtonFunction::DpiRoll);
    button.addItem(kSingleKeyItem, QStringLiteral("Single key assign..."));
    button.addItem(kMacroItem, QStringLiteral("Assign record macro"));
    button.addItem(kDisableItem, caption(ButtonFunction::Disabled));

    fitSubmenu(menu, kDefaultCommandsItem, kDefaultCommandsWidth);
    fitSubmenu(menu, kProfileItem, kProfileWidth);
    fitSubmenu(menu, kDpiItem, kDpiWidth);
}

void CMouseSettingsDlg::showDefaultFunction(int index) {
    const MouseProfile defaults;
    const std::uint8_t function = defaults.buttons[static_cast<std::size_t>(index)].function;
    CKivComboButton& button = *functionButtons[static_cast<std::size_t>(index)];
    button.set(caption(static_cast<ButtonFunction>(function)), function, button.value());
}

CKivComboButton* CMouseSettingsDlg::functionButton(int button) const {
    return functionButtons.at(static_cast<std::size_t>(button));
}

CKivCheckBox* CMouseSettingsDlg::reportRateBox(int index) const {
    return reportRateBoxes.at(static_cast<std::size_t>(index));
}

void CMouseSettingsDlg::refreshMacroMenus() {
    const MacroCollection* macros = services().macros;
    for (CKivComboButton* button : functionButtons) {
        CKivMenu& menu = *button->menu();
        if (CKivMenu* submenu = menu.submenu(kMacroItem)) {
            submenu->clearItems();
        }
        if (macros == nullptr) {
            continue;
        }
        for (const auto& macro : macros->macros()) {
            button->addItem(kMacroItem, macro->id,
                            QString::fromStdU16String(std::u16string(macro->name)));
        }
        fitSubmenu(menu, kMacroItem, kMacroWidth);
    }
    // The user hears of buttons that lost their macro once: the next time
    // the menus are rebuilt (the page shown, a record loaded) after it
    // happened.
    toldLostMacros = std::move(lostMacros);
    lostMacros.clear();
    updateNote();
}

void CMouseSettingsDlg::loadFromProfile(const MouseProfile& profile) {
    refreshMacroMenus();
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonAssignment& assignment = profile.buttons[static_cast<std::size_t>(i)];
        CKivComboButton& button = *functionButtons[static_cast<std::size_t>(i)];
        switch (static_cast<ButtonFunction>(assignment.function)) {
            case ButtonFunction::SingleKey:
                button.set(keyCaption(assignment.parameter), kSingleKeyItem, assignment.parameter);
                break;
            case ButtonFunction::Macro:
                button.set(QString::fromStdU16String(buttonMacroName(profile, assignment)),
                           kMacroItem, assignment.parameter);
                break;
            default:
                // Only a function the button's menu offers is shown; anything
                // else (11 on button 7, 32, a number that names a submenu or a
                // macro) keeps what the button showed, and the next store
                // writes that back.
                if (const MenuItem* item = button.menu()->findItem(assignment.function);
                    item != nullptr && assignment.function <= kDisableItem) {
                    button.set(item->text, assignment.function, button.value());
                }
                break;
        }
    }
    for (std::size_t k = 0; k < reportRateBoxes.size(); ++k) {
        reportRateBoxes[k]->setTicked(kPollingIntervals[k] == profile.pollingInterval);
    }
    doubleClick->setValue(profile.doubleClickSetting);
    scrollSpeed->setValue(profile.scrollLines);
    enable->setTicked(profile.accelerationEnabled != 0);
    acceleration->setEnabled(profile.accelerationEnabled != 0);
    acceleration->setValue(profile.accelerationLevel);
}

void CMouseSettingsDlg::storeToProfile(MouseProfile& profile) {
    std::vector<std::string> lostHere;
    for (int i = 0; i < kButtonCount; ++i) {
        ButtonAssignment& assignment = profile.buttons[static_cast<std::size_t>(i)];
        const CKivComboButton& button = *functionButtons[static_cast<std::size_t>(i)];
        assignment.function = static_cast<std::uint8_t>(button.selectedItem() & 0xFF);
        if (assignment.function == kSingleKeyItem) {
            assignment.parameter = static_cast<std::uint16_t>(button.value());
        } else if (assignment.function == kMacroItem) {
            assignment.parameter = static_cast<std::uint16_t>(button.value());
            const MacroCollection* macros = services().macros;
            std::optional<ButtonMacro> copy;
            if (macros != nullptr) {
                copy = macros->copyMacroForButton(button.value());
            }
            if (!copy) {
                lostHere.push_back(std::to_string(i + 1));
            }
            assignMacro(profile, assignment, std::move(copy));
        }
    }
    for (std::size_t k = 0; k < reportRateBoxes.size(); ++k) {
        if (reportRateBoxes[k]->isTicked()) {
            profile.pollingInterval = kPollingIntervals[k];
            break;
        }
    }
    profile.doubleClickSetting = static_cast<std::int16_t>(doubleClick->value());
    profile.scrollLines = static_cast<std::int16_t>(scrollSpeed->value());
    profile.accelerationEnabled = enable->isTicked() ? 1 : 0;
    profile.accelerationLevel = static_cast<std::int16_t>(acceleration->value());
    if (!lostHere.empty()) {
        const QString name = QString::fromStdU16String(profile.name);
        lostMacros = lostHere.size() == 1
                         ? QStringLiteral(
                               "%1: button %2 lost its macro and is back to its default "
                               "function.")
                               .arg(name, joined(lostHere))
                         : QStringLiteral(
                               "%1: buttons %2 lost their macros and are back to their "
                               "default functions.")
                               .arg(name, joined(lostHere));
    }
}

void CMouseSettingsDlg::applyPointerSettings(const MouseProfile& profile) {
    PointerSettings* desktop = services().pointerSettings;
    pointerSettingsUnavailable = desktop == nullptr;
    pointerNotSet = desktop != nullptr ? orvane::applyPointerSettings(profile, *desktop)
                                       : PointerSettingsOutcome{};
    updateNote();
}

QString CMouseSettingsDlg::noteText() const {
    return note->text();
}

void CMouseSettingsDlg::updateNote() {
    QStringList lines;
    if (pointerSettingsUnavailable) {
        lines << QStringLiteral("This desktop's pointer settings cannot be set from here.");
    } else if (!pointerNotSet.empty()) {
        lines << QStringLiteral("This desktop has no place for the %1.").arg(joined(pointerNotSet));
    }
    if (!toldLostMacros.isEmpty()) {
        lines << toldLostMacros;
    }
    note->setText(lines.join(QLatin1Char('\n')));
}

bool CMouseSettingsDlg::isLastLeftClick(int index) const {
    if (functionButtons[static_cast<std::size_t>(index)]->selectedItem() !=
        static_cast<int>(ButtonFunction::LeftClick)) {
        return false;
    }
    for (int i = 0; i < kButtonCount; ++i) {
        if (i != index && functionButtons[static_cast<std::size_t>(i)]->selectedItem() ==
                              static_cast<int>(ButtonFunction::LeftClick)) {
            return false;
        }
    }
    return true;
}

void CMouseSettingsDlg::onFunctionPicked(int index, int itemId) {
    CKivComboButton& button = *functionButtons[static_cast<std::size_t>(index)];
    if (itemId != static_cast<int>(ButtonFunction::LeftClick) && isLastLeftClick(index)) {
        button.clearAcceptance();
        CPopDlg warning(layout::popup::kLeftClickWarn, this);
        popupRunner(warning);
        return;
    }
    if (itemId == kSingleKeyItem) {
        // The pop-up refuses the pick itself and, on OK, gives the button
        // the captured key.
        CPopDlg capture(layout::popup::kAssignKey, this);
        capture.setTarget(&button);
        capture.setKeyboardHook(services().keyboardHook);
        popupRunner(capture);
        return;
    }
    if (itemId == kMacroItem) {
        // The header of an empty macro list is no function of its own.
        button.clearAcceptance();
        return;
    }
    if (itemId > kDisableItem) {
        button.clearAcceptance();
        const MenuItem* item = button.menu()->findItem(itemId);
        button.set(item != nullptr ? item->text : QString(), kMacroItem, itemId);
    }
}

void CMouseSettingsDlg::pickReportRate(int index) {
    for (std::size_t k = 0; k < reportRateBoxes.size(); ++k) {
        reportRateBoxes[k]->setTicked(static_cast<int>(k) == index);
    }
}

void CMouseSettingsDlg::enableToggled() {
    if (enable->isTicked()) {
        acceleration->setEnabled(true);
    } else {
        acceleration->setValue(1);
        acceleration->setEnabled(false);
    }
}

void CMouseSettingsDlg::controlNotified(int id, int value) {
    if (id == kMenuVisibilityId) {
        // The menus' visibility reports go on to the main window unchanged.
        SettingsPage::controlNotified(id, value);
        return;
    }
    if (id >= kFunctionButtonId && id < kFunctionButtonId + kButtonCount) {
        onFunctionPicked(id - kFunctionButtonId, value);
    }
    // Slider moves are read in storeToProfile.
}

void CMouseSettingsDlg::controlClicked(int id) {
    if (id >= kReportRateBoxId && id < kReportRateBoxId + 4) {
        pickReportRate(id - kReportRateBoxId);
    } else if (id == kEnableId) {
        enableToggled();
    }
}

}  // namespace orvane
