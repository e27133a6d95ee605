#include <QLinearGradient>
#include <QPainterPath>

#include "Paint.h"
#include "SheetSet.h"

namespace orvane::skingen {

namespace {

namespace mw = layout::mainwindow;

void drawLogo(QPainter& p) {
    // A stylised mark: two accent blades, then the product name.
    p.save();
    smooth(p);
    QPainterPath mark;
    mark.moveTo(24, 22);
    mark.lineTo(36, 22);
    mark.lineTo(44, 44);
    mark.lineTo(38, 52);
    mark.closeSubpath();
    mark.moveTo(64, 22);
    mark.lineTo(52, 22);
    mark.lineTo(46, 38);
    mark.lineTo(51, 45);
    mark.closeSubpath();
    QLinearGradient g(24, 22, 64, 52);
    g.setColorAt(0, color(palette::kAccent));
    g.setColorAt(1, color(palette::kAccent).darker(150));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(mark);
    p.restore();
    drawText(p, QRect(72, 18, 120, 22), QStringLiteral("ORVANE"), 20, color(palette::kCaptionHover),
             Qt::AlignLeft | Qt::AlignVCenter, true);
    drawText(p, QRect(72, 40, 120, 14), QStringLiteral("PRO  GAMING MOUSE"), 9,
             color(palette::kAccent), Qt::AlignLeft | Qt::AlignVCenter, true);
}

void drawBackground(QPainter& p) {
    fillWindow(p, QRect(0, 0, mw::kSize.w, mw::kSize.h));
    fillBand(p, QRect(0, 0, mw::kSize.w, mw::kPageArea.y), false);
    fillBand(p, QRect(0, mw::kBottomBand.y, mw::kBottomBand.w, mw::kBottomBand.h), true);
    // A faint accent glow under the header line ties the bands to the accent.
    QLinearGradient glow(0, 0, mw::kSize.w, 0);
    glow.setColorAt(0, color(palette::kAccent, 0));
    glow.setColorAt(0.5, color(palette::kAccent, 150));
    glow.setColorAt(1, color(palette::kAccent, 0));
    p.fillRect(QRect(160, mw::kPageArea.y - 1, 704, 1), glow);

    drawLogo(p);

    // The profile bar: a label, then one slot per profile behind its buttons.
    drawText(p, QRect(200, 65, 84, 16), QStringLiteral("PROFILES"), 11,
             color(palette::kCaptionDisabled), Qt::AlignRight | Qt::AlignVCenter, true);
    p.fillRect(QRect(176, 57, 676, 1), color(palette::kPanelEdge));

    drawText(p, QRect(455, 553, 116, 15), QStringLiteral("Software Version"), 11,
             color(palette::kCaptionDisabled), Qt::AlignRight | Qt::AlignVCenter);
}

}  // namespace

std::vector<SheetSet> mainWindowSheets() {
    SheetSet set{QStringLiteral("Main"), mw::kSize, drawBackground, {}};
    const char* pages[5] = {"Mouse Settings", "Sensor Performance", "Color Settings",
                            "Macro Settings", "Support"};
    for (int i = 0; i < 5; ++i) {
        set.controls.push_back({mw::kPageButtons[i], Face::Tab, QString::fromLatin1(pages[i])});
    }
    for (int i = 0; i < 5; ++i) {
        set.controls.push_back({mw::kProfileButtons[i], Face::Pill});
        set.controls.push_back({mw::kMenuButtons[i], Face::MenuChevron});
    }
    set.controls.push_back({mw::kResetButton, Face::Button, QStringLiteral("Reset to Default")});
    set.controls.push_back({mw::kOkButton, Face::Button, QStringLiteral("OK")});
    set.controls.push_back({mw::kApplyButton, Face::Button, QStringLiteral("Apply")});
    set.controls.push_back({mw::kCloseButton, Face::Close});
    return {set};
}

}  // namespace orvane::skingen
