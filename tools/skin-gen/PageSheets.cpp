#include <QRadialGradient>

#include "MousePicture.h"
#include "Paint.h"
#include "SheetSet.h"

namespace orvane::skingen {

namespace {

using layout::Rect;
const QRect kPage(0, 0, layout::kPageSize.w, layout::kPageSize.h);

QRect below(Rect r, int gap, int height) {
    return QRect(r.x, r.bottom() + gap, r.w, height);
}
QRect leftOf(Rect r, int width, int gap = 6) {
    return QRect(r.x - gap - width, r.y, width, r.h);
}
QRect rightOf(Rect r, int width, int gap = 6) {
    return QRect(r.right() + gap, r.y, width, r.h);
}

// Scale ends under a slider: the low end left, the high end right.
void drawScale(QPainter& p, Rect slider, const QString& low, const QString& high) {
    const QRect row = below(slider, 2, 14);
    drawHint(p, row, low, Qt::AlignLeft | Qt::AlignVCenter);
    drawHint(p, row, high, Qt::AlignRight | Qt::AlignVCenter);
}

// ---- Mouse Settings --------------------------------------------------------

namespace mp = layout::mousepage;

void drawMouseBackground(QPainter& p) {
    fillWindow(p, kPage);
    drawPanel(p, QRect(20, 22, 316, 334), QStringLiteral("Button Assignment"));
    drawHint(p, QRect(36, 50, 280, 16), QStringLiteral("Choose a function for each button"));
    for (int i = 0; i < mp::kFunctionButtonCount; ++i) {
        const Rect r = mp::functionButton(i);
        // The number badge ties the row to the numbered button on the picture.
        p.save();
        smooth(p);
        p.setPen(Qt::NoPen);
        p.setBrush(color(palette::kTrack));
        p.drawEllipse(QRectF(36, r.y + 3, 16, 16));
        p.restore();
        drawText(p, QRect(36, r.y + 3, 16, 16), QString::number(i + 1), 10,
                 color(palette::kCaptionHover), Qt::AlignCenter, true);
        drawLabel(p, QRect(58, r.y, 44, r.h), QStringLiteral("Button"));
    }

    drawPanel(p, QRect(348, 22, 330, 328), QStringLiteral("Buttons"));
    drawMouseDiagram(p, QRectF(404, 48, 218, 298));

    drawPanel(p, QRect(348, 362, 330, 60), QStringLiteral("Report Rate"));
    const char* rates[4] = {"125 Hz", "250 Hz", "500 Hz", "1000 Hz"};
    for (int i = 0; i < 4; ++i) {
        drawLabel(p, rightOf(mp::kReportRateBoxes[i], 46, 5), QString::fromLatin1(rates[i]));
    }

    drawPanel(p, QRect(690, 22, 314, 104), QStringLiteral("Double Click Speed"));
    drawHint(p, QRect(706, 50, 284, 16),
             QStringLiteral("How quickly two clicks make a double click"));
    drawScale(p, mp::kDoubleClickSlider, QStringLiteral("Slow"), QStringLiteral("Fast"));
    drawPanel(p, QRect(690, 136, 314, 80), QStringLiteral("Scroll Speed"));
    drawScale(p, mp::kScrollSpeedSlider, QStringLiteral("1 line"), QStringLiteral("6 lines"));
    drawPanel(p, QRect(690, 226, 314, 86), QStringLiteral("Pointer Acceleration"));
    drawLabel(p, QRect(mp::kAccelerationEnableBox.right() + 6, 260, 46, 24),
              QStringLiteral("Enable"));
    drawScale(p, mp::kAccelerationSlider, QStringLiteral("Low"), QStringLiteral("High"));

    drawPanel(p, QRect(690, 322, 314, 100), QStringLiteral("Tip"));
    drawText(p, QRect(706, 352, 284, 62),
             QStringLiteral("Changes take effect on the mouse after Apply. "
                            "At least one button always keeps the Left click."),
             11, color(palette::kCaptionDisabled), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
}

SheetSet mouseSheets() {
    SheetSet set{QStringLiteral("Mouse_Settings"), layout::kPageSize, drawMouseBackground, {}};
    for (int i = 0; i < mp::kFunctionButtonCount; ++i) {
        set.controls.push_back({mp::functionButton(i), Face::Combo});
    }
    for (const Rect& r : mp::kReportRateBoxes) {
        set.controls.push_back({r, Face::CheckBox});
    }
    set.controls.push_back({mp::kDoubleClickSlider, Face::Slider});
    set.controls.push_back({mp::kScrollSpeedSlider, Face::Slider});
    set.controls.push_back({mp::kAccelerationSlider, Face::Slider});
    set.controls.push_back({mp::kAccelerationEnableBox, Face::Toggle});
    return set;
}

// ---- Sensor Performance ----------------------------------------------------

namespace sp = layout::sensorpage;

void drawSensorBackground(QPainter& p) {
    fillWindow(p, kPage);
    drawPanel(p, QRect(20, 22, 984, 172), QStringLiteral("DPI Settings"));
    drawHint(p, QRect(84, 66, 708, 18),
             QStringLiteral("Drag the handles to set the resolution of each level"));
    drawScale(p, sp::kResolutionSlider, QStringLiteral("50"), QStringLiteral("19000"));
    drawLabel(p, QRect(30, sp::kDpiStepsSelector.y, 56, sp::kDpiStepsSelector.h),
              QStringLiteral("Levels"), Qt::AlignRight | Qt::AlignVCenter);
    drawLabel(p, QRect(120, 151, 168, 20), QStringLiteral("Active level and DPI"),
              Qt::AlignRight | Qt::AlignVCenter);
    drawText(p, QRect(812, 92, 176, 60),
             QStringLiteral("50 to 19000 DPI in steps of 50. "
                            "Click a level to make it active."),
             11, color(palette::kCaptionDisabled), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);

    drawPanel(p, QRect(20, 206, 592, 216), QStringLiteral("Pointer Speed"));
    drawHint(p, QRect(104, 232, 501, 16), QStringLiteral("Speed of the pointer on the desktop"));
    drawScale(p, sp::kPointSpeedSlider, QStringLiteral("Slow"), QStringLiteral("Fast"));
    p.fillRect(QRect(36, 306, 560, 1), color(palette::kPanelEdge));
    drawText(p, QRect(36, 314, 200, 16), QStringLiteral("SENSOR"), 11,
             color(palette::kCaptionHover), Qt::AlignLeft | Qt::AlignVCenter, true);
    const struct {
        Rect toggle;
        const char* text;
    } toggles[3] = {{sp::kLodToggle, "Lift-Off Distance"},
                    {sp::kAngleSnapToggle, "Angle Snapping"},
                    {sp::kRippleControlToggle, "Ripple Control"}};
    for (const auto& t : toggles) {
        const int centre = t.toggle.x + t.toggle.w / 2;
        drawLabel(p, QRect(centre - 60, 364, 120, 16), QString::fromLatin1(t.text),
                  Qt::AlignCenter);
    }

    drawPanel(p, QRect(622, 206, 382, 216), QStringLiteral("Surface Analysis"));
    drawLabel(p, QRect(sp::kSurfacePicture.x, 262, 140, 16), QStringLiteral("Surface"));
    drawLabel(p, QRect(sp::kQualityBar.x + 4, 236, 140, 16), QStringLiteral("Quality Analyzer"));
    p.save();
    drawWell(p, toRectF(sp::kSurfacePicture).adjusted(-1, -1, 1, 1), 3, color(palette::kPanelEdge));
    p.restore();
}

SheetSet sensorSheets() {
    SheetSet set{QStringLiteral("Sensor_Performance"), layout::kPageSize, drawSensorBackground, {}};
    // The name of the fourth file really is spelt this way.
    set.suffixes = {"Normal", "Over", "Down", "Disabel"};
    set.controls.push_back({sp::kDpiStepsSelector, Face::Combo});
    for (int i = 0; i < 5; ++i) {
        set.controls.push_back(
            {sp::kLevelButtons[i], Face::SmallButton, QStringLiteral("DPI %1").arg(i + 1)});
        set.controls.push_back({sp::kLevelFields[i], Face::Edit});
    }
    set.controls.push_back({sp::kResolutionSlider, Face::Slider});
    set.controls.push_back({sp::kPointSpeedSlider, Face::Slider});
    set.controls.push_back({sp::kLodToggle, Face::Toggle});
    set.controls.push_back({sp::kAngleSnapToggle, Face::Toggle});
    set.controls.push_back({sp::kRippleControlToggle, Face::Toggle});
    set.controls.push_back({sp::kQualityBar, Face::QualityBars});
    set.controls.push_back(
        {sp::kAnalyzeSurfaceButton, Face::Button, QStringLiteral("Analyze Surface")});
    return set;
}

// ---- Color Settings --------------------------------------------------------

namespace lp = layout::lightingpage;

void drawLightingBackground(QPainter& p) {
    fillWindow(p, kPage);
    drawPanel(p, QRect(20, 22, 340, 118), QStringLiteral("Brightness"));
    drawHint(p, QRect(36, 50, 300, 16), QStringLiteral("Five steps, from dim to full"));
    const qreal thumbHalf = layout::singles::kSliderThumb.w / 2.0;
    for (int step = 1; step <= 5; ++step) {
        const qreal x = lp::kBrightnessSlider.x + thumbHalf +
                        (lp::kBrightnessSlider.w - 2 * thumbHalf) * (step - 1) / 4.0;
        drawHint(p, QRect(int(x) - 10, lp::kBrightnessSlider.y - 18, 20, 14), QString::number(step),
                 Qt::AlignCenter);
    }
    drawLabel(p, leftOf(lp::kBrightnessSlider, 44), QStringLiteral("Low"),
              Qt::AlignRight | Qt::AlignVCenter);
    drawLabel(p, rightOf(lp::kBrightnessSlider, 44), QStringLiteral("High"));

    drawPanel(p, QRect(20, 150, 340, 88), QStringLiteral("Lighting Effect"));
    const char* effects[4] = {"Solid", "Blinking", "Pulsating", "Breathing"};
    for (int i = 0; i < 4; ++i) {
        drawLabel(p, rightOf(lp::kEffectButtons[i], 64), QString::fromLatin1(effects[i]));
    }

    drawPanel(p, QRect(20, 248, 340, 148), QStringLiteral("Lighting Mode"));
    drawLabel(p, rightOf(lp::kSolidColorButton, 80), QStringLiteral("Solid Color"));
    drawLabel(p, rightOf(lp::kColorShiftButton, 80), QStringLiteral("Color Shift"));
    drawLabel(p, rightOf(lp::kSelectButton, 64), QStringLiteral("Select"));

    // A soft spotlight under the preview; the mouse picture is transparent
    // around its body, so this is what shows there.
    QRadialGradient spot(0.5, 0.5, 0.5);
    spot.setCoordinateMode(QGradient::ObjectBoundingMode);
    spot.setColorAt(0, lighter(color(palette::kGraphite), 10));
    spot.setColorAt(1, color(palette::kGraphite, 0));
    p.save();
    smooth(p);
    p.setPen(Qt::NoPen);
    p.setBrush(spot);
    p.drawEllipse(toRectF(lp::kPreview).adjusted(-10, 20, 10, -10));
    p.restore();
    drawHint(p, QRect(lp::kPreview.x, lp::kPreview.bottom() + 6, lp::kPreview.w, 16),
             QStringLiteral("Preview"), Qt::AlignCenter);

    drawPanel(p, QRect(730, 22, 274, 370), QStringLiteral("Color"));
    drawHint(p, QRect(749, 50, 240, 16), QStringLiteral("Pick a hue, then a shade"));
    drawWell(p, toRectF(lp::kColorSelector).adjusted(-2, -2, 2, 2), 3, color(palette::kPanelEdge));
    drawLabel(p, leftOf(lp::kRedEdit, 10, 3), QStringLiteral("R"),
              Qt::AlignRight | Qt::AlignVCenter);
    drawLabel(p, leftOf(lp::kGreenEdit, 10, 3), QStringLiteral("G"),
              Qt::AlignRight | Qt::AlignVCenter);
    drawLabel(p, leftOf(lp::kBlueEdit, 10, 3), QStringLiteral("B"),
              Qt::AlignRight | Qt::AlignVCenter);
    drawHint(p, QRect(749, 268, 240, 16), QStringLiteral("RGB"));
    drawLabel(p, QRect(749, 322, 60, 15), QStringLiteral("Hex"));
    drawLabel(p, toRect(lp::kHashText), QStringLiteral("#"), Qt::AlignCenter);
}

SheetSet lightingSheets() {
    SheetSet set{QStringLiteral("Color_Settings"), layout::kPageSize, drawLightingBackground, {}};
    set.backgroundFile = QStringLiteral("Color_Settings_BK.png");
    set.controls.push_back({lp::kBrightnessSlider, Face::Slider});
    for (const Rect& r : lp::kEffectButtons) {
        set.controls.push_back({r, Face::Radio});
    }
    set.controls.push_back({lp::kSolidColorButton, Face::Radio});
    set.controls.push_back({lp::kColorShiftButton, Face::Radio});
    set.controls.push_back({lp::kSelectButton, Face::Radio});
    set.controls.push_back({lp::kScrollWheelBox, Face::CheckBox, {}, false});
    set.controls.push_back({lp::kWheelTargetButton, Face::SmallButton, QStringLiteral("1"), false});
    set.controls.push_back({lp::kLogoTypeBox, Face::CheckBox, {}, false});
    set.controls.push_back({lp::kLogoTargetButton, Face::SmallButton, QStringLiteral("4"), false});
    set.controls.push_back(
        {lp::kZoneLabels[0], Face::Label, QStringLiteral("Target      Zone"), false});
    set.controls.push_back(
        {lp::kZoneLabels[1], Face::Label, QStringLiteral("Scroll Wheel\nLogoType"), false});
    set.controls.push_back({lp::kRedEdit, Face::Edit});
    set.controls.push_back({lp::kGreenEdit, Face::Edit});
    set.controls.push_back({lp::kBlueEdit, Face::Edit});
    set.controls.push_back({lp::kHexEdit, Face::Edit});
    set.controls.push_back({lp::kColorButtons[0], Face::Button, QStringLiteral("Wheel"), false});
    set.controls.push_back({lp::kColorButtons[1], Face::Button, QStringLiteral("Logo"), false});
    return set;
}

// ---- Macro Settings --------------------------------------------------------

namespace mc = layout::macropage;

void drawMacroBackground(QPainter& p) {
    fillWindow(p, kPage);
    drawText(p, QRect(80, 20, 700, 24), QStringLiteral("Keyboard Macros"), 18,
             color(palette::kCaptionHover), Qt::AlignLeft | Qt::AlignVCenter, true);
    drawHint(p, QRect(80, 44, 700, 16),
             QStringLiteral("Record key sequences here, then assign them to a button on the "
                            "Mouse Settings page."));
    drawPanel(p, QRect(80, 70, 238, 312), QStringLiteral("Macro List"));
    drawHint(p, QRect(mc::kMacroList.x, 108, 200, 16), QStringLiteral("Macro"));
    drawPanel(p, QRect(350, 70, 236, 312), QStringLiteral("Events"));
    drawHint(p, QRect(mc::kEventEditor.x, 108, 199, 16), QStringLiteral("Steps of the macro"));
    drawPanel(p, QRect(598, 70, 346, 312), QStringLiteral("Recording"));
    drawLabel(p, rightOf(mc::kRecordDelayBox, 200, 8), QStringLiteral("Record Delay"));
    drawLabel(p, rightOf(mc::kRecordHoldBox, 200, 8), QStringLiteral("Record Hold"));
    drawText(p, QRect(614, 256, 314, 110),
             QStringLiteral("Start a recording and type the keys of the macro; stop it when "
                            "done.\n\nRight-click the event list to insert mouse steps, edit a "
                            "delay or delete a step."),
             11, color(palette::kCaptionDisabled), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
}

SheetSet macroSheets() {
    SheetSet set{QStringLiteral("Macro_Settings"), layout::kPageSize, drawMacroBackground, {}};
    set.backgroundFile = QStringLiteral("Macro_Settings_BK.bmp");
    set.controls.push_back({mc::kMacroList, Face::Edit});
    set.controls.push_back({mc::kEventEditor, Face::Edit});
    set.controls.push_back({mc::kNewMacroButton, Face::Button, QStringLiteral("New Macro")});
    set.controls.push_back({mc::kDeleteButton, Face::Button, QStringLiteral("Delete")});
    set.controls.push_back({mc::kRecordDelayBox, Face::CheckBox});
    set.controls.push_back({mc::kRecordHoldBox, Face::CheckBox});
    set.controls.push_back({mc::kRecordButton, Face::Button, QStringLiteral("Start Record")});
    set.controls.push_back(
        {mc::kStopRecordFace, Face::Button, QStringLiteral("Stop Record"), false});
    return set;
}

// ---- Support ---------------------------------------------------------------

namespace su = layout::supportpage;

void drawSupportBackground(QPainter& p) {
    fillWindow(p, kPage);
    drawPanel(p, QRect(160, 70, 340, 200), QStringLiteral("Versions"));
    drawLabel(p, QRect(184, su::kSoftVersionText.y, 160, su::kSoftVersionText.h),
              QStringLiteral("Software Version"));
    drawLabel(p, QRect(184, su::kFirmVersionText.y, 160, su::kFirmVersionText.h),
              QStringLiteral("Firmware Version"));
    p.fillRect(QRect(184, 186, 292, 1), color(palette::kPanelEdge));
    drawHint(p, QRect(352, su::kCheckFirmwareButton.y, 130, su::kCheckFirmwareButton.h),
             QStringLiteral("Update the mouse"));
    drawPanel(p, QRect(524, 70, 340, 200), QStringLiteral("Support"));
    drawHint(p, QRect(548, 232, 292, 28), QStringLiteral("Opens in your web browser"),
             Qt::AlignLeft | Qt::AlignVCenter);
    drawSmallMouse(p, QPointF(412, 346), 104);
    drawText(p, QRect(452, 318, 400, 30), QStringLiteral("ORVANE PRO"), 24,
             color(palette::kCaptionHover), Qt::AlignLeft | Qt::AlignVCenter, true);
    drawHint(p, QRect(454, 348, 400, 18), QStringLiteral("Gaming mouse configuration software"));
}

SheetSet supportSheets() {
    SheetSet set{QStringLiteral("Support"), layout::kPageSize, drawSupportBackground, {}};
    set.controls.push_back(
        {su::kOnlineSupportButton, Face::Button, QStringLiteral("Online Support")});
    set.controls.push_back(
        {su::kCheckUpdatesButton, Face::Button, QStringLiteral("Check Updates")});
    set.controls.push_back({su::kFaqButton, Face::Button, QStringLiteral("FQA")});
    set.controls.push_back(
        {su::kCheckFirmwareButton, Face::Button, QStringLiteral("Check Firmware")});
    return set;
}

}  // namespace

std::vector<SheetSet> pageSheets() {
    return {mouseSheets(), sensorSheets(), lightingSheets(), macroSheets(), supportSheets()};
}

}  // namespace orvane::skingen
