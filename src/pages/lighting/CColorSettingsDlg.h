#pragma once

#include <QPoint>
#include <QStringList>
#include <array>
#include <functional>

#include "controls/HsvColor.h"
#include "controls/HxColorListener.h"
#include "pages/PageInterfaces.h"
#include "pages/SettingsPage.h"
#include "pages/lighting/LightingAnimation.h"

namespace orvane {

class CKivButton;
class CKivCheckBox;
class CKivEdit;
class CKivMouseStatic;
class CKivSliderCtrl3D;
class CKivStatic;
class HxColorSelectorWnd;
class HxColorSliderWnd;
class HxColorWellWnd;

// The "Color Settings" page: which zones light, the effect, the brightness
// and the colour, shown live on the preview. It edits a record only in
// storeToProfile; the mouse hears of it only through Apply.
//
// The colour fields, the picker and the preview follow each other on the
// controls' own change reports, so the page needs no timer of its own; only
// the preview animates, and only while it is on the screen.
class CColorSettingsDlg final : public SettingsPage,
                                public ProfilePage,
                                public CurrentRecordStore,
                                public HxColorListener {
    Q_OBJECT
  public:
    // Control identifiers.
    static constexpr int kBrightnessId = 200;
    static constexpr int kEffectButtonId = 210;  // + 0..3: Solid, Blinking, Pulsating, Breathing
    static constexpr int kSolidColorId = 220;
    static constexpr int kColorShiftId = 221;
    static constexpr int kSelectId = 222;
    static constexpr int kScrollWheelBoxId = 223;
    static constexpr int kWheelTargetId = 224;
    static constexpr int kLogoTypeBoxId = 225;
    static constexpr int kLogoTargetId = 226;
    static constexpr int kZoneLabelId = 227;  // + 0, 1
    static constexpr int kPreviewId = 230;
    static constexpr int kSelectorId = 240;
    static constexpr int kHueSliderId = 241;
    static constexpr int kWellId = 242;
    static constexpr int kRedEditId = 250;  // + 0..2: red, green, blue
    static constexpr int kHashId = 253;
    static constexpr int kHexEditId = 254;

    // Where "1" and "4" send the pointer: this far above the green field,
    // inside the colour field, so the user picks the target's colour next.
    static constexpr int kPointerLift = 115;

    enum class ZoneMode { None, Select, SolidColor, ColorShift };
    enum class Target { None, Wheel, Logo };

    // Moves the pointer to a point on the screen; tests watch it.
    using PointerMover = std::function<void(QPoint global)>;

    CColorSettingsDlg(const PageServices& services, QWidget* parent);
    ~CColorSettingsDlg() override;

    void loadFromProfile(const MouseProfile& profile) override;
    void storeToProfile(MouseProfile& profile) override;
    void setCurrentRecord(std::function<MouseProfile&()> current) override;

    void setPointerMover(PointerMover mover) { pointerMover = std::move(mover); }

    ZoneMode zoneMode() const { return mode; }
    Target target() const { return colourTarget; }
    // -1 while no effect is chosen.
    int effectIndex() const { return chosenEffect; }

    CKivButton* effectButton(int index) const;
    CKivButton* solidColorButton() const { return solidColor; }
    CKivButton* colorShiftButton() const { return colorShift; }
    CKivButton* selectButton() const { return select; }
    CKivCheckBox* scrollWheelBox() const { return scrollWheel; }
    CKivCheckBox* logoTypeBox() const { return logoType; }
    CKivButton* wheelTargetButton() const { return wheelTarget; }
    CKivButton* logoTargetButton() const { return logoTarget; }
    CKivStatic* zoneLabel(int index) const;
    CKivSliderCtrl3D* brightnessSlider() const { return brightness; }
    CKivEdit* channelEdit(int channel) const;
    CKivEdit* hexEdit() const { return hex; }
    CKivMouseStatic* preview() const { return mousePreview; }
    HxColorSelectorWnd* colorSelector() const { return selector; }
    HxColorSliderWnd* hueSlider() const { return slider; }
    HxColorWellWnd* colorWell() const { return well; }

    void controlNotified(int id, int value) override;
    void controlClicked(int id) override;
    long colorChanged(const HxColorChange& change) override;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildPicker();
    void buildEdits();

    void chooseSelectMode();
    void chooseSolidColorMode();
    void chooseColorShiftMode();
    void latchZoneMode(ZoneMode zoneMode);
    void showSelectControls(bool shown);
    void zoneBoxClicked(bool wheelBox);
    void chooseTarget(Target chosen);
    void chooseEffect(int index);
    void releaseEffects();

    // The entry fields' way to the others, from the field the user works in.
    void syncFromDecimal();
    void syncFromHex();
    void takeOverIfNew(ColorRef colour);
    // Writes a colour into all four fields without hearing it back.
    void showInFields(ColorRef colour);
    void setFieldText(CKivEdit& field, const QString& text);
    QStringList decimalTexts() const;

    void applyColorToPreview(ColorRef colour);
    // The picker set from the page; its own report of it is not heard back,
    // so the fields keep the colour as given.
    void setPickerColor(ColorRef colour);

    std::array<CKivButton*, 4> effectButtons{};
    CKivButton* solidColor = nullptr;
    CKivButton* colorShift = nullptr;
    CKivButton* select = nullptr;
    CKivCheckBox* scrollWheel = nullptr;
    CKivCheckBox* logoType = nullptr;
    CKivButton* wheelTarget = nullptr;
    CKivButton* logoTarget = nullptr;
    std::array<CKivStatic*, 2> zoneLabels{};
    CKivSliderCtrl3D* brightness = nullptr;
    std::array<CKivEdit*, 3> channelEdits{};
    CKivStatic* hash = nullptr;
    CKivEdit* hex = nullptr;
    CKivMouseStatic* mousePreview = nullptr;
    HxColorSelectorWnd* selector = nullptr;
    HxColorSliderWnd* slider = nullptr;
    HxColorWellWnd* well = nullptr;

    ZoneMode mode = ZoneMode::None;
    Target colourTarget = Target::None;
    int chosenEffect = -1;
    // The decimal texts last taken over into the preview and the picker.
    QStringList lastSeen{QString(), QString(), QString()};
    // The colour last picked or entered, exactly as given: the picker keeps
    // its colour in hue steps, which can miss a typed colour by one unit.
    ColorRef pickedColor = 0;
    bool writingFields = false;
    bool settingPicker = false;
    PointerMover pointerMover;
    std::function<MouseProfile&()> currentRecord;
};

}  // namespace orvane
