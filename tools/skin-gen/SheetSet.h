#pragma once

#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "skins/SkinLayout.h"

namespace orvane::skingen {

// How a control looks; each kind draws its four states in its own rectangle.
enum class Face {
    Tab,          // page buttons: text only, underlined in the accent when down
    Pill,         // profile buttons: a face; the control draws the caption
    MenuChevron,  // profile menu buttons: a chevron only
    Button,       // push button with its text in the sheet
    SmallButton,  // the same in a small font (level buttons, zone targets)
    Combo,        // a field with a chevron; the control draws the caption
    CheckBox,     // square box, ticked when down
    Toggle,       // switch, on when down
    Radio,        // round latching button of the lighting page
    Slider,       // the track under a slider
    Edit,         // a sunken field the control writes into
    Label,        // text that is bright when normal and grey when disabled
    Close,        // an "x"
    QualityBars,  // rising bars; the down picture is the fill
};

struct Control {
    layout::Rect rect;
    Face face;
    QString text = {};
    // False for controls that are only sometimes shown: the page's own
    // background picture leaves them out.
    bool inBackground = true;
};

// One set of sheets: the same background with its controls drawn in each state.
struct SheetSet {
    QString name;  // file names are name + "_" + state suffix + ".bmp"
    layout::Size size;
    std::function<void(QPainter&)> background;
    std::vector<Control> controls;
    QStringList suffixes = {"Normal", "Over", "Down", "Disable"};
    // The page's own background picture, when it has one ("Color_Settings_BK.png").
    QString backgroundFile = {};
};

void drawControl(QPainter& p, const Control& control, int state);

// state is one of layout::kState*; -1 gives the background picture.
QImage renderSheet(const SheetSet& set, int state);

// The families of sheets, in the order of the skin folder.
std::vector<SheetSet> mainWindowSheets();
std::vector<SheetSet> pageSheets();
std::vector<SheetSet> popupSheets();

}  // namespace orvane::skingen
