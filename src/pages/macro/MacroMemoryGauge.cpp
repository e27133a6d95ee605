#include "pages/macro/MacroMemoryGauge.h"

#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <iterator>

#include "controls/KivFont.h"
#include "protocol/image/ButtonEncoding.h"
#include "skins/SkinFaces.h"

namespace orvane {

namespace {

constexpr int kTextPixels = 11;
constexpr int kTextHeight = 14;
constexpr int kBarHeight = 4;

// "Button 4", "Buttons 4 and 6", "Buttons 1, 2 and 9".
QString buttonsText(const std::vector<int>& buttons) {
    QStringList numbers;
    for (int button : buttons) {
        numbers << QString::number(button + 1);
    }
    if (numbers.size() == 1) {
        return QStringLiteral("Button %1").arg(numbers.front());
    }
    const QString last = numbers.takeLast();
    return QStringLiteral("Buttons %1 and %2").arg(numbers.join(QStringLiteral(", ")), last);
}

}  // namespace

MacroMemoryGauge::MacroMemoryGauge(QWidget* parent, int controlId) : CKivWidget(parent, controlId) {
    setFont(kivFont(kTextPixels));
}

void MacroMemoryGauge::setUse(const MacroMemoryUse& use) {
    shown = use;
    update();
}

QString MacroMemoryGauge::slotsText() const {
    return QStringLiteral("%1 of %2 slots").arg(shown.usedSlots).arg(shown.totalSlots);
}

QString MacroMemoryGauge::warningText() const {
    QStringList lines;
    if (!shown.shortenedButtons.empty()) {
        lines << QStringLiteral("%1: the memory is full, the macro will be cut short.")
                     .arg(buttonsText(shown.shortenedButtons));
    }
    // A button cut short by the full memory is named once.
    std::vector<int> overLong;
    std::copy_if(shown.overLongButtons.begin(), shown.overLongButtons.end(),
                 std::back_inserter(overLong), [this](int button) {
                     return std::find(shown.shortenedButtons.begin(), shown.shortenedButtons.end(),
                                      button) == shown.shortenedButtons.end();
                 });
    if (!overLong.empty()) {
        lines << QStringLiteral("%1: only the first %2 steps will be played.")
                     .arg(buttonsText(overLong))
                     .arg(kMaxMacroEventsPerButton);
    }
    return lines.join(QLatin1Char('\n'));
}

QRect MacroMemoryGauge::barRect() const {
    return QRect(0, kTextHeight + 2, width(), kBarHeight);
}

void MacroMemoryGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    const QColor warning = toQColor(palette::kWarning);
    const bool warn = warns();

    const QRect caption(0, 0, width(), kTextHeight);
    painter.setPen(toQColor(palette::kLabel));
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Macro memory of this profile"));
    painter.setPen(warn ? warning : toQColor(palette::kLabel));
    painter.drawText(caption, Qt::AlignRight | Qt::AlignVCenter, slotsText());

    const QRect bar = barRect();
    painter.fillRect(bar, toQColor(palette::kTrack));
    if (shown.totalSlots > 0 && shown.usedSlots > 0) {
        const std::size_t used = std::min(shown.usedSlots, shown.totalSlots);
        const int filled = std::max(
            1, static_cast<int>(used * static_cast<std::size_t>(bar.width()) / shown.totalSlots));
        painter.fillRect(QRect(bar.left(), bar.top(), filled, bar.height()),
                         warn ? warning : toQColor(palette::kAccent));
    }

    if (warn) {
        painter.setPen(warning);
        painter.drawText(QRect(0, bar.bottom() + 4, width(), height() - bar.bottom() - 4),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, warningText());
    }
}

}  // namespace orvane
