#include <memory>

#include "Gallery.h"
#include "Pictures.h"
#include "Stage.h"
#include "controls/CKivButton.h"
#include "controls/CKivCheckBox.h"
#include "controls/CKivEdit.h"
#include "controls/CKivSliderCtrl3D.h"
#include "pages/lighting/CColorSettingsDlg.h"
#include "pages/lighting/CKivMouseStatic.h"

namespace orvane::gallery {

namespace {

using Page = CColorSettingsDlg;

// A fresh page on its own, so that every series starts its animation from
// the first tick; the pointer stays where it is.
std::unique_ptr<Page> freshPage() {
    auto page = std::make_unique<Page>(PageServices{}, nullptr);
    page->setPointerMover([](QPoint) {});
    page->move(0, 0);
    page->show();
    settle();
    return page;
}

void typeHex(Page& page, const QString& text) {
    // A whole text at once, as a paste puts it there.
    page.hexEdit()->setText(text);
}

void save(Gallery& gallery, Page& page, const QString& name, const QString& caption) {
    gallery.save(QStringLiteral("lighting/%1.png").arg(name), composeOnScreen(page, {}),
                 QStringLiteral("Color Settings page, %1").arg(caption));
}

void zoneModes(Gallery& gallery) {
    {
        auto page = freshPage();
        save(gallery, *page, QStringLiteral("mode-none"), QStringLiteral("as created"));
    }
    {
        auto page = freshPage();
        clickLeft(*page->solidColorButton());
        clickLeft(*page->effectButton(0));
        typeHex(*page, QStringLiteral("00C0FF"));
        save(gallery, *page, QStringLiteral("mode-solid-color"),
             QStringLiteral("\"Solid Color\", \"Solid\", colour 00C0FF"));
    }
    {
        auto page = freshPage();
        clickLeft(*page->selectButton());
        clickLeft(*page->scrollWheelBox());
        clickLeft(*page->wheelTargetButton());
        typeHex(*page, QStringLiteral("FF8000"));
        clickLeft(*page->logoTypeBox());
        clickLeft(*page->logoTargetButton());
        typeHex(*page, QStringLiteral("7F00FF"));
        clickLeft(*page->effectButton(0));
        save(gallery, *page, QStringLiteral("mode-select"),
             QStringLiteral("\"Select\": wheel FF8000, logo 7F00FF, target \"4\""));
    }
    {
        auto page = freshPage();
        clickLeft(*page->colorShiftButton());
        clickLeft(*page->effectButton(0));
        CKivMouseStatic& preview = *page->preview();
        for (int tick = 0; tick <= 20; ++tick) {
            if (tick == 0 || tick == 5 || tick == 10 || tick == 20) {
                save(gallery, *page, QStringLiteral("color-shift-tick-%1").arg(tick),
                     QStringLiteral("\"Color Shift\" after %1 ticks").arg(tick));
            }
            preview.colorShiftTick();
        }
    }
}

void effects(Gallery& gallery) {
    struct Series {
        int button;
        const char* name;
        int brightness;
        std::initializer_list<int> ticks;
    };
    const Series series[] = {
        {1, "blinking", 5, {1, 2}},
        {2, "pulsating", 4, {1, 3, 4}},
        {3, "breathing", 5, {1, 10, 25, 40}},
    };
    for (const Series& one : series) {
        auto page = freshPage();
        clickLeft(*page->solidColorButton());
        typeHex(*page, QStringLiteral("00FF66"));
        page->brightnessSlider()->setValue(one.brightness);
        clickLeft(*page->effectButton(one.button));
        CKivMouseStatic& preview = *page->preview();
        int done = 0;
        for (int tick : one.ticks) {
            for (; done < tick; ++done) {
                preview.effectTick();
            }
            save(gallery, *page,
                 QStringLiteral("effect-%1-tick-%2").arg(QLatin1String(one.name)).arg(tick),
                 QStringLiteral("\"%1\" at brightness %2 after %3 ticks")
                     .arg(QLatin1String(one.name))
                     .arg(one.brightness)
                     .arg(tick));
        }
    }
    for (int level = 1; level <= 5; level += 2) {
        auto page = freshPage();
        clickLeft(*page->solidColorButton());
        clickLeft(*page->effectButton(0));
        typeHex(*page, QStringLiteral("00FF66"));
        page->brightnessSlider()->setValue(level);
        save(gallery, *page, QStringLiteral("brightness-%1").arg(level),
             QStringLiteral("\"Solid\" at brightness %1").arg(level));
    }
}

void picker(Gallery& gallery) {
    auto page = freshPage();
    clickLeft(*page->solidColorButton());
    clickLeft(*page->effectButton(0));
    for (const char* colour :
         {"FF0000", "FF8000", "FFFF00", "00C0FF", "7F00FF", "336633", "FFFFFF", "000000"}) {
        typeHex(*page, QLatin1String(colour));
        save(gallery, *page, QStringLiteral("picker-%1").arg(QLatin1String(colour)),
             QStringLiteral("the picker at %1").arg(QLatin1String(colour)));
    }
}

}  // namespace

void lightingPictures(Gallery& gallery) {
    zoneModes(gallery);
    effects(gallery);
    picker(gallery);
}

}  // namespace orvane::gallery
