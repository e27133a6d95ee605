#include <QPainterPath>

#include "Paint.h"
#include "SheetSet.h"

namespace orvane::skingen {

namespace {

namespace pp = layout::popup;
using layout::Rect;

enum class Sign { None, Warning, Question, Info, Key };

struct PopupText {
    QString title;
    QString message;
    Sign sign;
};

constexpr int kHeader = 28;

void drawSign(QPainter& p, const QRectF& r, Sign sign) {
    p.save();
    smooth(p);
    const QColor c = sign == Sign::Warning ? color(palette::kWarning) : color(palette::kAccent);
    p.setPen(QPen(c, 2));
    p.setBrush(QColor(c.red(), c.green(), c.blue(), 30));
    if (sign == Sign::Key) {
        p.drawRoundedRect(r.adjusted(2, 1, -2, -1), 5, 5);
        p.setPen(QPen(c.darker(140), 1));
        p.drawLine(QPointF(r.left() + 6, r.bottom() - 6), QPointF(r.right() - 6, r.bottom() - 6));
        drawText(p, r.toRect().adjusted(0, -3, 0, -3), QStringLiteral("A"), 13, c, Qt::AlignCenter,
                 true);
        p.restore();
        return;
    }
    if (sign == Sign::Warning) {
        QPainterPath t;
        t.moveTo(r.center().x(), r.top() + 1);
        t.lineTo(r.right() - 1, r.bottom() - 2);
        t.lineTo(r.left() + 1, r.bottom() - 2);
        t.closeSubpath();
        p.drawPath(t);
    } else {
        p.drawEllipse(r.adjusted(1, 1, -1, -1));
    }
    const QString glyph = sign == Sign::Warning    ? QStringLiteral("!")
                          : sign == Sign::Question ? QStringLiteral("?")
                                                   : QStringLiteral("i");
    drawText(p, r.toRect().adjusted(0, sign == Sign::Warning ? 3 : 0, 0, 0), glyph, 14, c,
             Qt::AlignCenter, true);
    p.restore();
}

// The common frame of every small dialog: a titled header band and a body.
void drawDialogFrame(QPainter& p, const QString& title) {
    const QRect all(0, 0, pp::kSize.w, pp::kSize.h);
    fillWindow(p, all);
    fillBand(p, QRect(0, 0, pp::kSize.w, kHeader), false);
    p.fillRect(QRect(0, 0, 3, kHeader), color(palette::kAccent));
    drawText(p, QRect(14, 0, 300, kHeader), title, 12, color(palette::kCaptionHover),
             Qt::AlignLeft | Qt::AlignVCenter, true);
    // A hairline frame keeps the dark dialog apart from the dark window behind.
    p.setPen(color(palette::kPanelEdge));
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0, 0, -1, -1));
}

void drawMessage(QPainter& p, const QRect& area, const QString& text) {
    drawText(p, area, text, 12, color(palette::kLabel),
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
}

SheetSet popupSet(const QString& name, const PopupText& text, int variant, QString okText,
                  std::function<void(QPainter&)> extra = {}) {
    const pp::PopupButtons b = pp::popupButtons(variant);
    auto background = [text, extra](QPainter& p) {
        drawDialogFrame(p, text.title);
        if (text.sign != Sign::None) {
            drawSign(p, QRectF(18, 46, 30, 28), text.sign);
        }
        if (extra) {
            extra(p);
        } else {
            drawMessage(p, QRect(62, 44, 330, 100), text.message);
        }
    };
    SheetSet set{name, pp::kSize, background, {}};
    set.suffixes = {"Normal", "Over", "Down"};
    set.controls.push_back({b.ok, Face::Button, okText});
    if (b.hasCancel) {
        set.controls.push_back({b.cancel, Face::Button, QStringLiteral("Cancel")});
    }
    set.controls.push_back({b.close, Face::Close});
    return set;
}

}  // namespace

std::vector<SheetSet> popupSheets() {
    std::vector<SheetSet> sets;
    sets.push_back(popupSet(
        QStringLiteral("LeftClickWarn"),
        {QStringLiteral("Left Click"),
         QStringLiteral("This is the only button with the Left click function. At least one "
                        "button must keep it, so this button stays on Left click.\n\nGive "
                        "another button Left click first."),
         Sign::Warning},
        pp::kLeftClickWarn, QStringLiteral("OK")));
    sets.push_back(popupSet(
        QStringLiteral("DeleteMacro"),
        {QStringLiteral("Delete Macro"),
         QStringLiteral("Delete the selected macro?\n\nButtons that use it go back to their "
                        "default function. This cannot be undone."),
         Sign::Question},
        pp::kDeleteMacro, QStringLiteral("OK")));
    sets.push_back(popupSet(
        QStringLiteral("SensorSQAT1"),
        {QStringLiteral("Surface Analysis  -  Step 1 of 3"),
         QStringLiteral("Place the mouse on the surface you want to analyze.\n\nPress Start, "
                        "then keep moving the mouse over the surface for ten seconds."),
         Sign::Info},
        pp::kSurfaceAnalysisStart, QStringLiteral("Start")));
    sets.push_back(popupSet(
        QStringLiteral("SensorSQAT2"),
        {QStringLiteral("Surface Analysis  -  Step 2 of 3"), {}, Sign::None},
        pp::kSurfaceAnalysisRun, QStringLiteral("Next"), [](QPainter& p) {
            drawWell(p, toRectF(pp::kImageField).adjusted(-1, -1, 1, 1), 3,
                     color(palette::kPanelEdge));
            drawMessage(p, QRect(226, 44, 170, 80),
                        QStringLiteral("Keep moving the mouse in circles over the surface "
                                       "until the time runs out."));
            const Rect t = pp::kAnalysisTimeField;
            drawText(p, QRect(216, t.y - 2, t.x - 220, t.h + 4), QStringLiteral("Time left"), 11,
                     color(palette::kCaptionDisabled), Qt::AlignRight | Qt::AlignVCenter);
            drawText(p, QRect(t.right() + 2, t.y - 2, 20, t.h + 4), QStringLiteral("s"), 11,
                     color(palette::kCaptionDisabled), Qt::AlignLeft | Qt::AlignVCenter);
        }));
    sets.push_back(popupSet(
        QStringLiteral("SensorSQAT3"),
        {QStringLiteral("Surface Analysis  -  Step 3 of 3"),
         QStringLiteral("The analysis is complete.\n\nPress Show Result to read the surface "
                        "quality from the mouse."),
         Sign::Info},
        pp::kSurfaceAnalysisDone, QStringLiteral("Show Result")));
    sets.push_back(popupSet(
        QStringLiteral("ResetWarn"),
        {QStringLiteral("Reset to Default"),
         QStringLiteral("All five profiles go back to their default settings and the first "
                        "profile is written to the mouse.\n\nReset all profiles?"),
         Sign::Warning},
        pp::kResetWarn, QStringLiteral("OK")));
    sets.push_back(popupSet(
        QStringLiteral("UpdateWarn"),
        {QStringLiteral("Firmware Update"),
         QStringLiteral("A newer firmware is available for the mouse. Update it now?\n\nDo not "
                        "unplug the mouse during the update. Cancel closes the software."),
         Sign::Warning},
        pp::kUpdateWarn, QStringLiteral("OK")));

    SheetSet assign = popupSet(
        QStringLiteral("AssignKey"), {QStringLiteral("Single Key Assign"), {}, Sign::Key},
        pp::kAssignKey, QStringLiteral("OK"), [](QPainter& p) {
            drawText(p, QRect(62, 44, 330, 20), QStringLiteral("Press a key to assign"), 14,
                     color(palette::kCaptionHover), Qt::AlignLeft | Qt::AlignVCenter, true);
            drawMessage(p, QRect(62, 66, 330, 30),
                        QStringLiteral("The last key you press is taken; OK assigns it."));
            const Rect f = pp::kAssignKeyTimeField;
            drawLabel(p, QRect(62, f.y, f.x - 68, f.h), QStringLiteral("Key"),
                      Qt::AlignRight | Qt::AlignVCenter);
            drawWell(p, toRectF(f).adjusted(-4, -2, 4, 2), 3, color(palette::kAccent, 140));
        });
    assign.suffixes = {"Normal", "Over", "Down", "Disable"};
    sets.push_back(assign);

    namespace rn = layout::rename;
    SheetSet rename{QStringLiteral("ReName"),
                    rn::kSize,
                    [](QPainter& p) {
                        drawDialogFrame(p, QStringLiteral("Rename profile"));
                        drawLabel(
                            p, QRect(20, rn::kNameField.y, rn::kNameField.x - 28, rn::kNameField.h),
                            QStringLiteral("Name"), Qt::AlignRight | Qt::AlignVCenter);
                        drawHint(p, QRect(rn::kNameField.x, rn::kNameField.bottom() + 8, 280, 14),
                                 QStringLiteral("Up to 7 characters"));
                        // Only a save writes it: the dialog must not promise more.
                        drawMessage(p, QRect(20, 96, 370, 40),
                                    QStringLiteral("The button shows the new name at once; "
                                                   "\"Apply\" or \"Save current settings\" "
                                                   "keeps it in the profile's file."));
                    },
                    {}};
    rename.controls.push_back({rn::kCloseButton, Face::Close});
    rename.controls.push_back({rn::kOkButton, Face::Button, QStringLiteral("OK")});
    rename.controls.push_back({rn::kCancelButton, Face::Button, QStringLiteral("Cancel")});
    rename.controls.push_back({rn::kNameField, Face::Edit});
    sets.push_back(rename);
    return sets;
}

}  // namespace orvane::skingen
