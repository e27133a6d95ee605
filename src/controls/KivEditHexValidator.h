#pragma once

#include <QValidator>

namespace orvane {

// Drops the letters G to Z and g to z from whatever reaches the field, typed or
// pasted, and lets everything else through. Dropping (rather than refusing the
// whole change) keeps the hexadecimal digits of a pasted "#ff80zz" text.
class KivEditHexValidator : public QValidator {
  public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override;

    static bool isRefused(QChar c);
};

}  // namespace orvane
