#pragma once

#include <QString>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "pages/PageInterfaces.h"
#include "pages/SettingsPage.h"
#include "pages/mouse/PointerSettingsMapping.h"

namespace orvane {

class CKivCheckBox;
class CKivComboButton;
class CKivSliderCtrl3D;
class CKivStatic;
class CPopDlg;

// The "Mouse Settings" page: a function for each of the nine buttons, the
// report rate and the desktop pointer settings of the selected profile. It
// edits a record only in storeToProfile; the desktop's settings change only
// when the main window runs applyPointerSettings on Apply.
class CMouseSettingsDlg final : public SettingsPage,
                                public ProfilePage,
                                public MousePageOperations {
  public:
    static constexpr int kButtonCount = 9;
    // Control identifiers.
    static constexpr int kFunctionButtonId = 100;  // + button 0..8
    static constexpr int kReportRateBoxId = 120;   // + 0..3: 125, 250, 500, 1000
    static constexpr int kDoubleClickId = 130;
    static constexpr int kScrollSpeedId = 131;
    static constexpr int kAccelerationId = 132;
    static constexpr int kEnableId = 133;
    static constexpr int kNoteId = 134;
    // Menu items that open a submenu.
    static constexpr int kDefaultCommandsItem = 255;
    static constexpr int kProfileItem = 254;
    static constexpr int kDpiItem = 253;
    static constexpr int kSingleKeyItem = 13;
    static constexpr int kMacroItem = 14;
    static constexpr int kDisableItem = 15;

    // Runs a pop-up modally and answers its result; tests answer for the user.
    using PopupRunner = std::function<int(CPopDlg& popup)>;

    CMouseSettingsDlg(const PageServices& services, QWidget* parent);

    void loadFromProfile(const MouseProfile& profile) override;
    void storeToProfile(MouseProfile& profile) override;
    // Rebuilds every "Assign record macro" submenu from the macro collection;
    // captions and selections stay. Also tells the user which buttons lost
    // their macro since the page was last shown.
    void refreshMacroMenus() override;
    // Sets the desktop's pointer settings from the record and shows on the
    // page what this desktop could not take.
    void applyPointerSettings(const MouseProfile& profile) override;

    void setPopupRunner(PopupRunner runner) { popupRunner = std::move(runner); }

    CKivComboButton* functionButton(int button) const;
    CKivCheckBox* reportRateBox(int index) const;
    CKivSliderCtrl3D* doubleClickSlider() const { return doubleClick; }
    CKivSliderCtrl3D* scrollSpeedSlider() const { return scrollSpeed; }
    CKivSliderCtrl3D* accelerationSlider() const { return acceleration; }
    CKivCheckBox* enableBox() const { return enable; }
    // The quiet line that tells what the last Apply could not set and which
    // buttons lost their macro.
    QString noteText() const;

    void controlNotified(int id, int value) override;
    void controlClicked(int id) override;

  private:
    void buildControls();
    void buildMenu(CKivComboButton& button, int index);
    void showDefaultFunction(int index);
    void onFunctionPicked(int index, int itemId);
    bool isLastLeftClick(int index) const;
    void pickReportRate(int index);
    void enableToggled();
    void updateNote();

    std::array<CKivComboButton*, kButtonCount> functionButtons{};
    std::array<CKivCheckBox*, 4> reportRateBoxes{};
    CKivSliderCtrl3D* doubleClick = nullptr;
    CKivSliderCtrl3D* scrollSpeed = nullptr;
    CKivSliderCtrl3D* acceleration = nullptr;
    CKivCheckBox* enable = nullptr;
    CKivStatic* note = nullptr;
    PopupRunner popupRunner;

    PointerSettingsOutcome pointerNotSet;
    bool pointerSettingsUnavailable = false;
    // Which buttons found their macro gone at a store, until the user is
    // told; then what the note tells.
    QString lostMacros;
    QString toldLostMacros;
};

}  // namespace orvane
