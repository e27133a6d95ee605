#pragma once

// Where every control of every window sits, and which skin part it takes.
//
// The skin generator draws each control's faces at these rectangles and the
// windows place their controls at the same rectangles, so a control always
// sits on its own picture. Everything here is in the client pixels of the
// window (or sheet) the namespace names.
//
// Captions: text that never changes is drawn into the sheets (page buttons,
// "Reset to Default", "OK", "Apply", pop-up buttons, every page button and
// label), so those buttons get no caption. Text that changes at run time is
// drawn by the control: the profile buttons (profile names, set with
// setCaption), the function buttons and the "DPI Steps" selector (the chosen
// item), the edits and the text fields. The profile menu buttons are 6 to 12
// pixels wide: their sheet face shows a small chevron and their caption must
// stay empty, or it would be drawn over the chevron. The lighting page's "#"
// is in the sheet as well, so its text field stays empty.

namespace orvane::layout {

struct Rect {
    int x, y, w, h;
    constexpr int right() const { return x + w; }
    constexpr int bottom() const { return y + h; }
    constexpr bool contains(int px, int py) const {
        return px >= x && px < x + w && py >= y && py < y + h;
    }
};

struct Size {
    int w, h;
};

// The four states of a skin part.
inline constexpr int kStateNormal = 0;
inline constexpr int kStateOver = 1;
inline constexpr int kStateDown = 2;
inline constexpr int kStateDisable = 3;

namespace mainwindow {

inline constexpr Size kSize{1024, 576};

// "Mouse Settings", "Sensor Performance", "Color Settings", "Macro Settings",
// "Support"; the text is in the sheet.
inline constexpr Rect kPageButtons[5] = {{176, 29, 126, 18},
                                         {316, 29, 171, 18},
                                         {500, 29, 126, 18},
                                         {641, 29, 128, 18},
                                         {781, 29, 71, 18}};
// Captioned with the profile names by the main window.
inline constexpr Rect kProfileButtons[5] = {
    {310, 65, 55, 16}, {400, 65, 56, 16}, {492, 65, 56, 16}, {583, 65, 56, 16}, {674, 65, 56, 16}};
// The third really is 6 pixels wide.
inline constexpr Rect kMenuButtons[5] = {
    {293, 65, 12, 16}, {383, 65, 12, 16}, {475, 65, 6, 16}, {566, 65, 12, 16}, {657, 65, 12, 16}};
inline constexpr Rect kResetButton{19, 533, 119, 27};
inline constexpr Rect kOkButton{872, 531, 60, 27};
inline constexpr Rect kApplyButton{948, 533, 58, 25};
inline constexpr Rect kCloseButton{1003, 5, 17, 17};
// Shows "1.00"; the sheet carries the label to its left.
inline constexpr Rect kVersionText{575, 555, 23, 11};
inline constexpr Rect kPageArea{0, 88, 1024, 427};
// A press here does not move the window.
inline constexpr Rect kBottomBand{0, 516, 1024, 60};

inline constexpr int kPartBackground = 0;
inline constexpr int kPartPageButtons = 1;     // 1..5
inline constexpr int kPartProfileButtons = 6;  // 6..10
inline constexpr int kPartMenuButtons = 11;    // 11..15
inline constexpr int kPartResetButton = 16;
inline constexpr int kPartOkButton = 17;
inline constexpr int kPartApplyButton = 18;
inline constexpr int kPartCloseButton = 19;
inline constexpr int kPartVersionText = 20;

}  // namespace mainwindow

// Every page sheet is the size of the main window's page area.
inline constexpr Size kPageSize{1024, 427};

namespace mousepage {

inline constexpr int kFunctionButtonCount = 9;
// Function button i of mouse button i; its menu is 200 pixels wide.
constexpr Rect functionButton(int i) {
    return {104, 77 + 30 * i, 202, 22};
}
inline constexpr int kFunctionMenuWidth = 200;
// "125", "250", "500", "1000"
inline constexpr Rect kReportRateBoxes[4] = {
    {376, 399, 18, 18}, {447, 399, 18, 18}, {518, 399, 18, 18}, {589, 399, 18, 18}};
inline constexpr Rect kDoubleClickSlider{708, 78, 202, 21};
inline constexpr Rect kScrollSpeedSlider{708, 168, 202, 21};
inline constexpr Rect kAccelerationSlider{801, 261, 136, 21};
inline constexpr Rect kAccelerationEnableBox{705, 260, 44, 24};

inline constexpr int kPartBackground = 22;
inline constexpr int kPartFunctionButtons = 24;  // 24..32
inline constexpr int kPartReportRateBoxes = 33;  // 33..36
inline constexpr int kPartDoubleClickSlider = 37;
inline constexpr int kPartScrollSpeedSlider = 38;
inline constexpr int kPartAccelerationSlider = 39;
inline constexpr int kPartAccelerationEnableBox = 40;

}  // namespace mousepage

namespace sensorpage {

// Shows the count as its caption.
inline constexpr Rect kDpiStepsSelector{90, 151, 18, 17};
inline constexpr int kDpiStepsMenuWidth = 30;
// "DPI 1" .. "DPI 5"; latched marks the active level.
inline constexpr Rect kLevelButtons[5] = {{297, 153, 37, 16},
                                          {389, 153, 36, 16},
                                          {482, 153, 37, 16},
                                          {574, 153, 37, 16},
                                          {666, 153, 36, 16}};
inline constexpr Rect kLevelFields[5] = {{337, 150, 45, 21},
                                         {427, 149, 46, 22},
                                         {520, 149, 46, 22},
                                         {612, 149, 46, 22},
                                         {704, 149, 46, 22}};
inline constexpr Rect kResolutionSlider{84, 91, 708, 23};
inline constexpr Rect kPointSpeedSlider{104, 254, 501, 21};
inline constexpr Rect kLodToggle{117, 335, 40, 23};
inline constexpr Rect kAngleSnapToggle{278, 335, 39, 23};
inline constexpr Rect kRippleControlToggle{437, 337, 41, 21};
// Horizontal: ten rising bars, the fill picture is the Down piece.
inline constexpr Rect kQualityBar{771, 254, 142, 104};
// Holds "0.bmp" .. "100.bmp".
inline constexpr Rect kSurfacePicture{632, 282, 140, 85};
inline constexpr Rect kAnalyzeSurfaceButton{780, 364, 120, 27};
// Controls the page creates but never shows; the sheets have no faces for them.
inline constexpr Rect kSeparateXyBox{860, 96, 18, 18};
inline constexpr Rect kDefinedModeBox{860, 122, 18, 18};
inline constexpr Rect kTestButton{860, 150, 60, 22};
inline constexpr Rect kSaveButton{930, 150, 60, 22};
inline constexpr Rect kAxisLabels[3] = {{884, 96, 30, 14}, {884, 122, 30, 14}, {920, 96, 30, 14}};

inline constexpr int kPartBackground = 50;
inline constexpr int kPartDpiStepsSelector = 51;
inline constexpr int kPartLevelButtons = 52;  // 52..56
inline constexpr int kPartLevelFields = 57;   // 57..61
inline constexpr int kPartResolutionSlider = 63;
inline constexpr int kPartPointSpeedSlider = 64;
inline constexpr int kPartLodToggle = 65;
inline constexpr int kPartAngleSnapToggle = 66;
inline constexpr int kPartRippleControlToggle = 67;
// State 0 is the bar's background, state 2 its fill.
inline constexpr int kPartQualityBar = 68;
inline constexpr int kPartSurfacePicture = 69;
inline constexpr int kPartAnalyzeSurfaceButton = 70;
inline constexpr int kPartSeparateXyBox = 71;
inline constexpr int kPartDefinedModeBox = 72;
inline constexpr int kPartTestButton = 73;
inline constexpr int kPartSaveButton = 74;
inline constexpr int kPartAxisLabels = 75;  // 75..77

// "0.bmp" .. "100.bmp", one per quality level.
inline constexpr Size kSurfacePictureSize{140, 85};

}  // namespace sensorpage

namespace lightingpage {

inline constexpr Rect kBrightnessSlider{86, 108, 134, 21};
// "Solid", "Blinking", "Pulsating", "Breathing"
inline constexpr Rect kEffectButtons[4] = {
    {95, 183, 17, 18}, {95, 202, 18, 20}, {184, 181, 18, 20}, {185, 203, 17, 19}};
// "Solid Color", "Color Shift", "Select"
inline constexpr Rect kSolidColorButton{94, 279, 19, 18};
inline constexpr Rect kColorShiftButton{94, 299, 19, 18};
inline constexpr Rect kSelectButton{94, 319, 19, 19};
// Shown in select mode only, so the background picture leaves them out.
inline constexpr Rect kScrollWheelBox{250, 337, 19, 20};
inline constexpr Rect kWheelTargetButton{202, 338, 19, 19};
inline constexpr Rect kLogoTypeBox{251, 358, 19, 19};
inline constexpr Rect kLogoTargetButton{203, 358, 18, 19};
// Normal pictures in select mode, Disable pictures otherwise.
inline constexpr Rect kZoneLabels[2] = {{200, 318, 129, 17}, {271, 341, 63, 38}};
inline constexpr Rect kPreview{389, 23, 270, 369};
// Inside the preview's client area; the mouse picture is transparent there.
inline constexpr Rect kPreviewWheelZone{115, 86, 31, 50};
inline constexpr Rect kPreviewLogoZone{113, 279, 32, 35};
inline constexpr Rect kColorSelector{749, 107, 143, 140};
inline constexpr Rect kHueSlider{897, 103, 40, 149};
inline constexpr Rect kRedEdit{773, 291, 29, 17};
inline constexpr Rect kGreenEdit{825, 291, 29, 17};
inline constexpr Rect kBlueEdit{877, 291, 29, 17};
// The sheet draws the "#", so the text field stays empty.
inline constexpr Rect kHashText{818, 322, 7, 15};
inline constexpr Rect kHexEdit{826, 322, 54, 15};
// The wheel and logo colour buttons with their "ColorPanel.bmp" drop-down;
// drawn only in the state sheets, so they appear only where a page creates them.
inline constexpr Rect kColorButtons[2] = {{757, 352, 62, 22}, {833, 352, 62, 22}};

inline constexpr int kPartBrightnessSlider = 82;
inline constexpr int kPartEffectButtons = 83;  // 83..86
inline constexpr int kPartBackground = 87;
inline constexpr int kPartSolidColorButton = 88;
inline constexpr int kPartColorShiftButton = 89;
inline constexpr int kPartSelectButton = 90;
inline constexpr int kPartScrollWheelBox = 91;
inline constexpr int kPartWheelTargetButton = 92;
inline constexpr int kPartLogoTypeBox = 93;
inline constexpr int kPartLogoTargetButton = 94;
inline constexpr int kPartZoneLabels = 95;  // 95, 96
inline constexpr int kPartRedEdit = 97;
inline constexpr int kPartGreenEdit = 98;
inline constexpr int kPartBlueEdit = 99;
inline constexpr int kPartHashText = 100;
inline constexpr int kPartHexEdit = 101;
inline constexpr int kPartColorButtons = 102;  // 102, 103
inline constexpr int kPartPreviewPicture = 129;
// The background under the preview (state 0 only).
inline constexpr int kPartPreviewBackground = 130;
inline constexpr int kPartColorSelectorFrame = 131;
inline constexpr int kPartColorPalette = 132;

}  // namespace lightingpage

namespace macropage {

inline constexpr Rect kMacroList{98, 129, 200, 198};
inline constexpr Rect kEventEditor{368, 129, 199, 197};
inline constexpr Rect kNewMacroButton{91, 341, 83, 26};
inline constexpr Rect kDeleteButton{218, 341, 83, 26};
inline constexpr Rect kRecordDelayBox{614, 124, 19, 21};
inline constexpr Rect kRecordHoldBox{614, 155, 19, 19};
// "Start Record" and "Stop Record" share the place; "Stop Record" takes its
// pictures from kStopRecordFace, a spot of the state sheets that the page's
// own background covers.
inline constexpr Rect kRecordButton{614, 204, 84, 33};
inline constexpr Rect kStopRecordFace{614, 370, 84, 33};
// The scroll bars, in the client pixels of the list and of the editor.
inline constexpr Rect kListScrollBar{184, 3, 14, 192};
inline constexpr Rect kEditorScrollBar{183, 2, 14, 192};

inline constexpr int kPartBackground = 133;
inline constexpr int kPartMacroList = 134;
inline constexpr int kPartEventEditor = 135;
inline constexpr int kPartNewMacroButton = 136;
inline constexpr int kPartDeleteButton = 137;
inline constexpr int kPartRecordDelayBox = 138;
inline constexpr int kPartRecordHoldBox = 139;
inline constexpr int kPartStartRecordButton = 140;
inline constexpr int kPartStopRecordButton = 141;

}  // namespace macropage

namespace supportpage {

// Value fields; the labels are in the sheet.
inline constexpr Rect kSoftVersionText{360, 118, 80, 18};
inline constexpr Rect kFirmVersionText{360, 148, 80, 18};
inline constexpr Rect kCheckFirmwareButton{184, 214, 160, 30};
inline constexpr Rect kOnlineSupportButton{548, 110, 292, 30};
inline constexpr Rect kCheckUpdatesButton{548, 150, 292, 30};
inline constexpr Rect kFaqButton{548, 190, 292, 30};

inline constexpr int kPartBackground = 142;
inline constexpr int kPartSoftVersionText = 143;
inline constexpr int kPartFirmVersionText = 144;
inline constexpr int kPartOnlineSupportButton = 145;
inline constexpr int kPartCheckUpdatesButton = 146;
inline constexpr int kPartFaqButton = 147;
inline constexpr int kPartCheckFirmwareButton = 148;

}  // namespace supportpage

// The single pictures.
namespace singles {

// "Slider_Normal.png", "Slider_Disable.png", "Slider1_Over.png" .. "Slider5_Over.png":
// the thumbs of the horizontal sliders, stretched to the slider's height;
// thumb k of the resolution slider shows "Slider<k>_Over.png" under the pointer.
inline constexpr Size kSliderThumb{12, 21};
// "Color_slider.png": the thumb of the vertical colour slider.
inline constexpr Size kColorSliderThumb{24, 8};
// "ColorPalete.png": the vertical colour slider's hue palette.
inline constexpr Size kColorPalette{20, 149};
// "ColorPanel.bmp": the colour buttons' drop-down, a grid of swatches.
inline constexpr Size kColorPanel{144, 96};
inline constexpr int kColorPanelColumns = 6;
inline constexpr int kColorPanelRows = 4;
// "Orvane.png": the lighting preview's mouse, the size of the preview.
inline constexpr Size kMousePicture{270, 369};
// "TQA2-1.bmp" .. "TQA2-3.bmp": the surface analysis' "move the mouse" frames.
inline constexpr Size kMoveMouseFrame{200, 110};

inline constexpr int kPartColorSliderThumb = 149;
inline constexpr int kPartSliderNormal = 150;
inline constexpr int kPartSliderDisable = 151;
inline constexpr int kPartSliderOver = 152;  // 152..156
inline constexpr int kPartColorPanel = 161;

}  // namespace singles

// "Scroll_Normal.bmp" is the track; "Scroll_Over.bmp" and "Scroll_Down.bmp"
// hold the arrows and the thumb at the rectangles below.
namespace scrollbar {

inline constexpr Size kSheet{14, 192};
inline constexpr Rect kUpArrow{0, 0, 14, 14};
inline constexpr Rect kDownArrow{0, 178, 14, 14};
inline constexpr Rect kThumb{0, 14, 14, 30};

inline constexpr int kPartTrack = 157;
inline constexpr int kPartUpArrow = 158;
inline constexpr int kPartDownArrow = 159;
inline constexpr int kPartThumb = 160;

}  // namespace scrollbar

namespace popup {

inline constexpr Size kSize{410, 190};

inline constexpr int kLeftClickWarn = 167;
inline constexpr int kDeleteMacro = 171;
inline constexpr int kSurfaceAnalysisStart = 175;
inline constexpr int kSurfaceAnalysisRun = 179;
inline constexpr int kSurfaceAnalysisDone = 185;
inline constexpr int kResetWarn = 188;
inline constexpr int kUpdateWarn = 192;
inline constexpr int kAssignKey = 196;

struct PopupButtons {
    Rect ok, cancel, close;
    bool hasCancel;
};

inline constexpr PopupButtons kQuestionButtons{
    {269, 156, 58, 26}, {334, 155, 58, 27}, {381, 4, 18, 17}, true};
inline constexpr PopupButtons kAnalysisStartButtons{
    {209, 155, 118, 27}, {333, 155, 65, 27}, {379, 3, 19, 18}, true};
inline constexpr PopupButtons kAnalysisRunButtons{
    {208, 155, 119, 27}, {333, 155, 59, 27}, {379, 3, 19, 18}, true};
inline constexpr PopupButtons kAnalysisDoneButtons{
    {270, 155, 119, 27}, {0, 0, 0, 0}, {379, 3, 19, 18}, false};
inline constexpr PopupButtons kAssignKeyButtons{
    {269, 156, 58, 25}, {333, 155, 59, 26}, {381, 4, 18, 17}, true};

constexpr PopupButtons popupButtons(int variant) {
    switch (variant) {
        case kSurfaceAnalysisStart:
            return kAnalysisStartButtons;
        case kSurfaceAnalysisRun:
            return kAnalysisRunButtons;
        case kSurfaceAnalysisDone:
            return kAnalysisDoneButtons;
        case kAssignKey:
            return kAssignKeyButtons;
        default:
            return kQuestionButtons;
    }
}

// The countdown of the running analysis, and the captured key's name.
inline constexpr Rect kAnalysisTimeField{290, 133, 14, 12};
inline constexpr Rect kAssignKeyTimeField{139, 99, 46, 17};
// Shows "TQA2-1.bmp" .. "TQA2-3.bmp".
inline constexpr Rect kImageField{13, 50, 200, 110};

// The pieces of each pop-up follow its background part: OK, Cancel (where
// there is one), Close, then the fields it shows.
constexpr int okPart(int variant) {
    return variant + 1;
}
constexpr int cancelPart(int variant) {
    return variant + 2;
}
constexpr int closePart(int variant) {
    return variant == kSurfaceAnalysisDone ? variant + 2 : variant + 3;
}
inline constexpr int kPartAnalysisTimeField = 183;
inline constexpr int kPartImageField = 184;
inline constexpr int kPartAssignKeyTimeField = 200;

}  // namespace popup

namespace rename {

inline constexpr Size kSize{410, 190};
inline constexpr Rect kOkButton{269, 156, 58, 26};
inline constexpr Rect kCancelButton{334, 155, 58, 27};
inline constexpr Rect kCloseButton{381, 4, 18, 17};
// Its background picture is the piece of the sheet under it.
inline constexpr Rect kNameField{114, 43, 198, 16};

inline constexpr int kPartBackground = 162;
inline constexpr int kPartCloseButton = 163;
inline constexpr int kPartOkButton = 164;
inline constexpr int kPartCancelButton = 165;
inline constexpr int kPartNameField = 166;

}  // namespace rename

}  // namespace orvane::layout
