#pragma once

#include <QTimer>
#include <array>
#include <functional>

#include "pages/PageInterfaces.h"
#include "pages/SettingsPage.h"

namespace orvane {

class CKivButton;
class CKivCheckBox;
class CKivComboButton;
class CKivProgressCtrl;
class CKivSliderCtrl3D;
class CKivStatic;
class CPopDlg;
class CQOREdit;

// The "Sensor Performance" page: up to five resolution levels and the active
// one, the sensor options, the pointer speed and the surface analysis. It
// sends nothing by itself; its values reach the mouse with the next Apply.
// Each level's resolution is shown twice, by a thumb of the resolution slider
// and by a number field, and the page keeps the two in step.
class CSensorDlg final : public SettingsPage, public ProfilePage, public ActiveLevelView {
  public:
    static constexpr int kLevelCount = 5;
    // Control identifiers.
    static constexpr int kDpiStepsId = 200;
    static constexpr int kLevelButtonId = 210;  // + level 0..4
    static constexpr int kLevelFieldId = 220;   // + level 0..4
    static constexpr int kResolutionSliderId = 230;
    static constexpr int kPointSpeedId = 231;
    static constexpr int kLodId = 232;
    static constexpr int kAngleSnapId = 233;
    static constexpr int kRippleControlId = 234;
    static constexpr int kQualityBarId = 235;
    static constexpr int kSurfacePictureId = 236;
    static constexpr int kAnalyzeSurfaceId = 237;
    static constexpr int kSeparateXyId = 240;
    static constexpr int kDefinedModeId = 241;
    static constexpr int kTestId = 242;
    static constexpr int kSaveId = 243;
    static constexpr int kAxisLabelId = 244;  // + 0..2

    // How often the focused number field is looked at.
    static constexpr int kFieldCheckMs = 50;
    // Where a level marked by nobody is stored.
    static constexpr int kDefaultActiveLevel = 2;

    // Runs the analysis question modally and answers its result; tests
    // answer for the user.
    using PopupRunner = std::function<int(CPopDlg& popup)>;

    CSensorDlg(const PageServices& services, QWidget* parent);

    void loadFromProfile(const MouseProfile& profile) override;
    void storeToProfile(MouseProfile& profile) override;
    // The mouse switched to level 1..5 by itself; marked at once, whether
    // the page is shown or not.
    void showActiveDpiLevel(int level) override;

    // The "Analyze Surface" button: question, countdown and result pop-ups,
    // then the quality the mouse measured.
    void analyzeSurface();

    void setPopupRunner(PopupRunner runner) { popupRunner = std::move(runner); }

    CKivComboButton* dpiStepsSelector() const { return dpiSteps; }
    CKivButton* levelButton(int level) const;
    CQOREdit* levelField(int level) const;
    CKivSliderCtrl3D* resolutionSlider() const { return resolution; }
    CKivSliderCtrl3D* pointSpeedSlider() const { return pointSpeed; }
    CKivCheckBox* lodToggle() const { return lod; }
    CKivCheckBox* angleSnapToggle() const { return angleSnap; }
    CKivCheckBox* rippleControlToggle() const { return rippleControl; }
    CKivProgressCtrl* qualityBar() const { return quality; }
    CKivStatic* surfacePicture() const { return surface; }
    CKivButton* analyzeSurfaceButton() const { return analyze; }
    // The controls the page carries without showing them.
    QList<QWidget*> unusedControls() const { return unused; }

    // The count chosen in "DPI Steps" and the level marked active (0: none).
    int levelCount() const { return count; }
    int markedLevel() const;
    // Whether the number-field check is running now.
    bool fieldCheckRunning() const { return fieldCheck.isActive(); }

    void controlNotified(int id, int value) override;
    void controlClicked(int id) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildHiddenControls();
    void chooseCount(int levels);
    void markLevel(int level);
    void showSurfaceLevel(int level);
    // The field of level 0..4 that has the keyboard focus, or -1.
    int focusedField() const;
    int fieldAt(QObject* watched) const;
    void updateFieldCheck();
    void checkFocusedField();
    // Moves level `index`'s thumb to its typed value; a value above the range
    // is replaced by the maximum, one below it is left for the user to finish.
    void followTypedValue(int index);
    // The typed value of level `index` through roundResolution, into its
    // field and thumb; an empty or unreadable field keeps its thumb's value.
    void takeTypedValue(int index);
    void writeField(int index, int value);
    void moveThumb(int index, int value);
    void stepFocus(int from, bool forward);

    CKivComboButton* dpiSteps = nullptr;
    std::array<CKivButton*, kLevelCount> levelButtons{};
    std::array<CQOREdit*, kLevelCount> levelFields{};
    CKivSliderCtrl3D* resolution = nullptr;
    CKivSliderCtrl3D* pointSpeed = nullptr;
    CKivCheckBox* lod = nullptr;
    CKivCheckBox* angleSnap = nullptr;
    CKivCheckBox* rippleControl = nullptr;
    CKivProgressCtrl* quality = nullptr;
    CKivStatic* surface = nullptr;
    CKivButton* analyze = nullptr;
    QList<QWidget*> unused;
    PopupRunner popupRunner;

    QTimer fieldCheck;
    int count = 0;
    // Set while the page itself writes a field or moves a thumb, so that the
    // echo of its own change is not taken for the user's.
    bool writing = false;
    bool analysing = false;
};

}  // namespace orvane
