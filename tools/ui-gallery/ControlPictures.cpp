#include <QLineEdit>

#include "Gallery.h"
#include "Looks.h"
#include "Pictures.h"
#include "controls/CKivButton.h"
#include "controls/CKivCheckBox.h"
#include "controls/CKivEdit.h"
#include "controls/CKivProgressCtrl.h"
#include "controls/CKivScrollCtrl.h"
#include "controls/CKivSliderCtrl3D.h"
#include "controls/CKivSliderCtrlVer.h"
#include "controls/CKivStatic.h"
#include "controls/CQOREdit.h"
#include "controls/CQorColorStatic.h"
#include "controls/HsvColor.h"
#include "controls/HxColorSelectorWnd.h"
#include "controls/HxColorSliderWnd.h"
#include "controls/KivFont.h"
#include "controls/KivSliderImages.h"
#include "skins/SkinCache.h"

namespace orvane::gallery {

namespace {

namespace mw = layout::mainwindow;
namespace mp = layout::mousepage;
namespace sp = layout::sensorpage;
namespace lp = layout::lightingpage;
namespace mcp = layout::macropage;
namespace up = layout::supportpage;
namespace sg = layout::singles;
namespace sb = layout::scrollbar;

QImage whole(int part) {
    return skinPicture(part);
}

QImage piece(int part, int state, const QRect& rect) {
    return skinPart(part, state, rect).toImage();
}

// ----- push buttons and check boxes -----

void pushButtons(Gallery& gallery) {
    const Scene scene{QStringLiteral("button"), mw::kPartBackground, mw::kProfileButtons[1]};
    const Build<CKivButton> build = [](CKivButton& button) {
        const SkinFaces faces = skinFaces(mw::kPartProfileButtons + 1, mw::kProfileButtons[1]);
        button.setImages(faces.normal, faces.over, faces.down, faces.disabled);
        button.setCaption(QStringLiteral("Profile2"));
    };
    shootLooks<CKivButton>(
        gallery, scene, build,
        {{QStringLiteral("normal"), QStringLiteral("Profile button, normal"), {}},
         {QStringLiteral("hover"), QStringLiteral("Profile button under the pointer"),
          [](CKivButton& b) { hover(b); }},
         {QStringLiteral("pressed"), QStringLiteral("Profile button, left button held"),
          [](CKivButton& b) { pressLeft(b); }},
         {QStringLiteral("latched"), QStringLiteral("Profile button, latched (current profile)"),
          [](CKivButton& b) { b.setLatched(true); }},
         {QStringLiteral("latched-hover"),
          QStringLiteral("Latched profile button under the pointer"),
          [](CKivButton& b) {
              b.setLatched(true);
              hover(b);
          }},
         {QStringLiteral("disabled"), QStringLiteral("Profile button, disabled"),
          [](CKivButton& b) { b.setEnabled(false); }},
         {QStringLiteral("latched-disabled"),
          QStringLiteral("Profile button, latched and disabled"), [](CKivButton& b) {
              b.setLatched(true);
              b.setEnabled(false);
          }}});
}

void checkBoxes(Gallery& gallery) {
    struct Box {
        Scene scene;
        int part;
    };
    const Box boxes[] = {
        {{QStringLiteral("checkbox-report-rate"), mp::kPartBackground, mp::kReportRateBoxes[0]},
         mp::kPartReportRateBoxes},
        {{QStringLiteral("checkbox-acceleration"), mp::kPartBackground, mp::kAccelerationEnableBox},
         mp::kPartAccelerationEnableBox},
        {{QStringLiteral("checkbox-lod-toggle"), sp::kPartBackground, sp::kLodToggle},
         sp::kPartLodToggle},
    };
    for (const Box& box : boxes) {
        const Build<CKivCheckBox> build = [&box](CKivCheckBox& check) {
            const SkinFaces faces = skinFaces(box.part, box.scene.rect);
            check.setImages(faces.normal, faces.over, faces.down, faces.disabled);
        };
        shootLooks<CKivCheckBox>(
            gallery, box.scene, build,
            {{QStringLiteral("unticked"), QStringLiteral("Check box, unticked"), {}},
             {QStringLiteral("hover"), QStringLiteral("Check box under the pointer"),
              [](CKivCheckBox& c) { hover(c); }},
             {QStringLiteral("ticked"), QStringLiteral("Check box, ticked"),
              [](CKivCheckBox& c) { c.setTicked(true); }},
             {QStringLiteral("disabled"), QStringLiteral("Check box, disabled"),
              [](CKivCheckBox& c) { c.setEnabled(false); }},
             {QStringLiteral("ticked-disabled"), QStringLiteral("Check box, ticked and disabled"),
              [](CKivCheckBox& c) {
                  c.setTicked(true);
                  c.setEnabled(false);
              }}});
    }
}

// ----- sliders -----

void resolutionSlider(Gallery& gallery) {
    const Scene scene{QStringLiteral("slider-resolution"), sp::kPartBackground,
                      sp::kResolutionSlider};
    const Build<CKivSliderCtrl3D> build = [](CKivSliderCtrl3D& slider) {
        slider.setImages(skinSliderImages(sp::kPartResolutionSlider, sp::kResolutionSlider));
        for (int thumb = 1; thumb <= CKivSliderCtrl3D::kMaxThumbs; ++thumb) {
            slider.setThumbOverImage(thumb, whole(sg::kPartSliderOver + thumb - 1));
        }
        slider.setRange(50, 19000);
        slider.setStep(50);
        slider.setThumbCount(CKivSliderCtrl3D::kMaxThumbs);
        const int levels[] = {400, 800, 1600, 3200, 19000};
        for (int thumb = 1; thumb <= CKivSliderCtrl3D::kMaxThumbs; ++thumb) {
            slider.setThumbValue(thumb, levels[thumb - 1]);
        }
    };
    shootLooks<CKivSliderCtrl3D>(
        gallery, scene, build,
        {{QStringLiteral("levels"),
          QStringLiteral("Resolution slider, 50..19000, thumbs 400 800 1600 3200 19000"),
          {}},
         {QStringLiteral("hover-thumb2"), QStringLiteral("Resolution slider, pointer on thumb 2"),
          [](CKivSliderCtrl3D& s) {
              hover(s);
              moveTo(s, s.thumbRect(2).center());
          }},
         {QStringLiteral("disabled"), QStringLiteral("Resolution slider, disabled"),
          [](CKivSliderCtrl3D& s) { s.setEnabled(false); }}});
}

void oneThumbSliders(Gallery& gallery) {
    const Scene scene{QStringLiteral("slider-double-click"), mp::kPartBackground,
                      mp::kDoubleClickSlider};
    const Build<CKivSliderCtrl3D> build = [](CKivSliderCtrl3D& slider) {
        slider.setImages(skinSliderImages(mp::kPartDoubleClickSlider, mp::kDoubleClickSlider));
        slider.setRange(0, 10);
    };
    shootLooks<CKivSliderCtrl3D>(
        gallery, scene, build,
        {{QStringLiteral("min"), QStringLiteral("Double-click slider at 0 of 0..10"),
          [](CKivSliderCtrl3D& s) { s.setValue(0); }},
         {QStringLiteral("middle"), QStringLiteral("Double-click slider at 5 of 0..10"),
          [](CKivSliderCtrl3D& s) { s.setValue(5); }},
         {QStringLiteral("max"), QStringLiteral("Double-click slider at 10 of 0..10"),
          [](CKivSliderCtrl3D& s) { s.setValue(10); }},
         {QStringLiteral("hover"), QStringLiteral("Double-click slider under the pointer"),
          [](CKivSliderCtrl3D& s) {
              s.setValue(5);
              hover(s);
              moveTo(s, s.thumbRect(1).center());
          }},
         {QStringLiteral("disabled"), QStringLiteral("Double-click slider at 5, disabled"),
          [](CKivSliderCtrl3D& s) {
              s.setValue(5);
              s.setEnabled(false);
          }}});
}

void verticalSlider(Gallery& gallery) {
    const Scene scene{QStringLiteral("slider-vertical"), lp::kPartBackground, lp::kHueSlider};
    const Build<CKivSliderCtrlVer> build = [](CKivSliderCtrlVer& slider) {
        const QImage palette = whole(lp::kPartColorPalette);
        const QImage thumb = whole(sg::kPartColorSliderThumb);
        slider.setImages({palette, thumb, thumb, thumb, palette, thumb});
        slider.setRange(0, 100);
    };
    shootLooks<CKivSliderCtrlVer>(
        gallery, scene, build,
        {{QStringLiteral("top"), QStringLiteral("Vertical colour slider at 0 of 0..100"),
          [](CKivSliderCtrlVer& s) { s.setValue(0); }},
         {QStringLiteral("middle"), QStringLiteral("Vertical colour slider at 50"),
          [](CKivSliderCtrlVer& s) { s.setValue(50); }},
         {QStringLiteral("bottom"), QStringLiteral("Vertical colour slider at 100"),
          [](CKivSliderCtrlVer& s) { s.setValue(100); }},
         {QStringLiteral("disabled"), QStringLiteral("Vertical colour slider at 50, disabled"),
          [](CKivSliderCtrlVer& s) {
              s.setValue(50);
              s.setEnabled(false);
          }}});
}

// ----- edits -----

template <typename Edit>
void editLooks(Gallery& gallery, const Scene& scene, int part, bool hex,
               const std::vector<Look<Edit>>& looks) {
    const Build<Edit> build = [&scene, part, hex](Edit& edit) {
        if (part >= 0) {
            edit.setBackground(piece(part, layout::kStateNormal, toQRect(scene.rect)));
        }
        edit.setHexFilter(hex);
    };
    shootLooks<Edit>(gallery, scene, build, looks);
}

void typeInto(CKivEdit& edit, const QString& text) {
    edit.lineEdit()->setFocus();
    edit.lineEdit()->insert(text);
}

void edits(Gallery& gallery) {
    editLooks<CKivEdit>(gallery, {QStringLiteral("edit-red"), lp::kPartBackground, lp::kRedEdit},
                        lp::kPartRedEdit, false,
                        {{QStringLiteral("empty"), QStringLiteral("Red value field, empty"), {}},
                         {QStringLiteral("text"), QStringLiteral("Red value field showing 255"),
                          [](CKivEdit& e) { e.setText(QStringLiteral("255")); }}});
    editLooks<CKivEdit>(gallery, {QStringLiteral("edit-hex"), lp::kPartBackground, lp::kHexEdit},
                        lp::kPartHexEdit, true,
                        {{QStringLiteral("value"), QStringLiteral("Hex field showing FF8000"),
                          [](CKivEdit& e) { e.setText(QStringLiteral("FF8000")); }},
                         {QStringLiteral("typed-refused"),
                          QStringLiteral("Hex field after typing \"1zG2\" (letters G..Z refused)"),
                          [](CKivEdit& e) { typeInto(e, QStringLiteral("1zG2")); }}});
    editLooks<CKivEdit>(
        gallery, {QStringLiteral("edit-plain"), lp::kPartBackground, lp::kRedEdit}, -1, false,
        {{QStringLiteral("text"), QStringLiteral("Edit without a picture (plain look), \"12\""),
          [](CKivEdit& e) { e.setText(QStringLiteral("12")); }}});
    editLooks<CQOREdit>(
        gallery, {QStringLiteral("qoredit-level"), sp::kPartBackground, sp::kLevelFields[0]},
        sp::kPartLevelFields, false,
        {{QStringLiteral("number"), QStringLiteral("Sensor level field showing 800"),
          [](CQOREdit& e) { e.setText(QStringLiteral("800")); }},
         {QStringLiteral("hidden"), QStringLiteral("Sensor level field, text hidden"),
          [](CQOREdit& e) {
              e.setText(QStringLiteral("800"));
              e.setTextHidden(true);
          }}});
    editLooks<CQOREdit>(
        gallery, {QStringLiteral("qoredit-plain"), sp::kPartBackground, sp::kLevelFields[1]}, -1,
        false,
        {{QStringLiteral("number"), QStringLiteral("Number field without a picture, 1600"),
          [](CQOREdit& e) { e.setText(QStringLiteral("1600")); }}});
}

// ----- bars -----

void progressBar(Gallery& gallery) {
    const Scene scene{QStringLiteral("progress-quality"), sp::kPartBackground, sp::kQualityBar};
    const Build<CKivProgressCtrl> build = [&scene](CKivProgressCtrl& bar) {
        const QRect rect = toQRect(scene.rect);
        bar.setImages(piece(sp::kPartQualityBar, layout::kStateNormal, rect),
                      piece(sp::kPartQualityBar, layout::kStateDown, rect));
        bar.setRange(0, 10);
    };
    std::vector<Look<CKivProgressCtrl>> looks;
    for (int position : {0, 5, 10}) {
        looks.push_back({QStringLiteral("%1-of-10").arg(position),
                         QStringLiteral("Surface quality bar at %1 of 10").arg(position),
                         [position](CKivProgressCtrl& bar) { bar.setPosition(position); }});
    }
    shootLooks<CKivProgressCtrl>(gallery, scene, build, looks);
}

void scrollBar(Gallery& gallery) {
    const layout::Rect inList = mcp::kListScrollBar;
    const layout::Rect onPage{mcp::kMacroList.x + inList.x, mcp::kMacroList.y + inList.y, inList.w,
                              inList.h};
    const Scene scene{QStringLiteral("scrollbar"), mcp::kPartBackground, onPage};
    const Build<CKivScrollCtrl> build = [](CKivScrollCtrl& bar) {
        const auto look = [](int part, const layout::Rect& rect, int state) {
            return piece(part, state, toQRect(rect));
        };
        bar.setImages({whole(sb::kPartTrack), look(sb::kPartUpArrow, sb::kUpArrow, 0),
                       look(sb::kPartUpArrow, sb::kUpArrow, 1),
                       look(sb::kPartDownArrow, sb::kDownArrow, 0),
                       look(sb::kPartDownArrow, sb::kDownArrow, 1),
                       look(sb::kPartThumb, sb::kThumb, 0), look(sb::kPartThumb, sb::kThumb, 1)});
        bar.setRange(0, 100);
    };
    std::vector<Look<CKivScrollCtrl>> looks;
    for (int position : {0, 50, 100}) {
        looks.push_back({QStringLiteral("at-%1").arg(position),
                         QStringLiteral("Macro list scroll bar at %1 of 0..100").arg(position),
                         [position](CKivScrollCtrl& bar) { bar.setPosition(position); }});
    }
    looks.push_back({QStringLiteral("thumb-hover"),
                     QStringLiteral("Macro list scroll bar at 50, pointer on the thumb"),
                     [](CKivScrollCtrl& bar) {
                         bar.setPosition(50);
                         moveTo(bar, bar.thumbRect().center());
                     }});
    shootLooks<CKivScrollCtrl>(gallery, scene, build, looks);
}

// ----- colour -----

void colourField(Gallery& gallery) {
    const Scene scene{QStringLiteral("colorfield"), lp::kPartBackground, lp::kColorSelector};
    const Build<CQorColorStatic> build = [](CQorColorStatic&) {};
    shootLooks<CQorColorStatic>(
        gallery, scene, build,
        {{QStringLiteral("initial"),
          QStringLiteral("Colour field as created: cyan, pick (138, 1)"),
          {}},
         {QStringLiteral("red-centre"), QStringLiteral("Colour field, base red, pick at (70, 70)"),
          [](CQorColorStatic& f) {
              f.setBaseColor(QColor(255, 0, 0));
              f.setPickPoint(QPoint(70, 70));
          }},
         {QStringLiteral("framed"),
          QStringLiteral("Colour field with the selector frame picture over it"),
          [&scene](CQorColorStatic& f) {
              f.setPicture(
                  piece(lp::kPartColorSelectorFrame, layout::kStateNormal, toQRect(scene.rect)));
          }}});
}

void colourPicker(Gallery& gallery) {
    struct Sample {
        const char* name;
        int r, g, b;
    };
    const Sample samples[] = {{"red", 255, 0, 0},       {"orange", 255, 128, 0},
                              {"green", 0, 255, 0},     {"blue", 0, 0, 255},
                              {"white", 255, 255, 255}, {"dark-blue", 0, 0, 96}};
    const layout::Rect area = spanning(lp::kColorSelector, lp::kHueSlider);
    for (const Sample& sample : samples) {
        Stage stage(lp::kPartBackground, area);
        auto* selector = new HxColorSelectorWnd(stage.host(), stage.local(lp::kColorSelector), 1);
        auto* slider = new HxColorSliderWnd(stage.host(), stage.local(lp::kHueSlider), 2);
        selector->setHueMode();
        slider->setHueMode();
        selector->link(slider, nullptr);
        slider->link(selector);
        selector->setColor(makeColorRef(sample.r, sample.g, sample.b));
        selector->show();
        slider->show();
        gallery.save(QStringLiteral("controls/colorpicker-%1.png").arg(QLatin1String(sample.name)),
                     stage.grab(),
                     QStringLiteral("Colour selector and hue slider at (%1, %2, %3)")
                         .arg(sample.r)
                         .arg(sample.g)
                         .arg(sample.b));
    }
}

// ----- text fields -----

void textFields(Gallery& gallery) {
    struct Field {
        Scene scene;
        int part;
        int fontPixels;
        QString text;
    };
    const Field fields[] = {
        {{QStringLiteral("static-version"), mw::kPartBackground, mw::kVersionText},
         mw::kPartVersionText,
         11,
         QStringLiteral("1.00")},
        {{QStringLiteral("static-soft-version"), up::kPartBackground, up::kSoftVersionText},
         up::kPartSoftVersionText,
         15,
         QStringLiteral("1.0.0.3")},
        {{QStringLiteral("static-firm-version"), up::kPartBackground, up::kFirmVersionText},
         up::kPartFirmVersionText,
         15,
         QStringLiteral("V2.18")},
    };
    for (const Field& field : fields) {
        const Build<CKivStatic> build = [&field](CKivStatic& text) {
            text.setBackground(piece(field.part, layout::kStateNormal, toQRect(field.scene.rect)));
            text.setTextFont(kivFont(field.fontPixels));
        };
        shootLooks<CKivStatic>(
            gallery, field.scene, build,
            {{QStringLiteral("text"),
              QStringLiteral("Text field \"%1\", font %2 px").arg(field.text).arg(field.fontPixels),
              [&field](CKivStatic& s) { s.setText(field.text); }}});
    }
}

}  // namespace

void controlPictures(Gallery& gallery) {
    pushButtons(gallery);
    checkBoxes(gallery);
    resolutionSlider(gallery);
    oneThumbSliders(gallery);
    verticalSlider(gallery);
    edits(gallery);
    progressBar(gallery);
    scrollBar(gallery);
    colourField(gallery);
    colourPicker(gallery);
    textFields(gallery);
}

}  // namespace orvane::gallery
