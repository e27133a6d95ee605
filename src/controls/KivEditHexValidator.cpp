#include "controls/KivEditHexValidator.h"

namespace orvane {

bool KivEditHexValidator::isRefused(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'G' && u <= u'Z') || (u >= u'g' && u <= u'z');
}

QValidator::State KivEditHexValidator::validate(QString& input, int& pos) const {
    QString kept;
    kept.reserve(input.size());
    int newPos = pos;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (isRefused(input[i])) {
            if (i < pos) {
                --newPos;
            }
            continue;
        }
        kept.append(input[i]);
    }
    input = kept;
    pos = newPos;
    return Acceptable;
}

}  // namespace orvane
