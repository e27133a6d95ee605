#include "pages/lighting/ColorEntryText.h"

namespace orvane {

namespace {

int hexDigit(QChar c) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
        return c.unicode() - '0';
    }
    if (c >= QLatin1Char('A') && c <= QLatin1Char('F')) {
        return c.unicode() - 'A' + 10;
    }
    if (c >= QLatin1Char('a') && c <= QLatin1Char('f')) {
        return c.unicode() - 'a' + 10;
    }
    return -1;
}

}  // namespace

int decimalChannel(const QString& text) {
    int value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            break;
        }
        value = value * 10 + (c.unicode() - '0');
        if (value > 99999) {
            break;
        }
    }
    return value;
}

std::array<int, 3> hexChannels(const QString& text) {
    std::array<int, 3> channels{};
    qsizetype at = 0;
    for (int& channel : channels) {
        int digits = 0;
        while (digits < 2 && at < text.size() && hexDigit(text[at]) >= 0) {
            channel = channel * 16 + hexDigit(text[at]);
            ++digits;
            ++at;
        }
        if (digits == 0) {
            break;
        }
    }
    return channels;
}

QString hexText(ColorRef colour) {
    return QStringLiteral("%1%2%3")
        .arg(redOf(colour), 2, 16, QLatin1Char('0'))
        .arg(greenOf(colour), 2, 16, QLatin1Char('0'))
        .arg(blueOf(colour), 2, 16, QLatin1Char('0'))
        .toUpper();
}

}  // namespace orvane
