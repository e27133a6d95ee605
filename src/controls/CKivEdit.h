#pragma once

#include <QColor>
#include <QImage>

#include "controls/CKivWidget.h"

class QLineEdit;

namespace orvane {

class KivEditHexValidator;

// Single-line text field of the skinned pages. The typing itself is a
// QLineEdit without a frame or a background of its own; the field paints its
// skin picture (or a plain fill with a frame) underneath. Every change of the
// text notifies the owner with (identifier, kTextChanged).
class CKivEdit : public CKivWidget {
    Q_OBJECT
  public:
    static constexpr int kTextChanged = 102;

    explicit CKivEdit(QWidget* parent = nullptr, int controlId = 0);
    ~CKivEdit() override;

    QString text() const;
    void setText(const QString& text);

    // A null picture brings back the plain look.
    void setBackground(const QImage& picture);
    const QImage& background() const { return backgroundPicture; }

    // The filter applies to every text that reaches the field, including
    // setText, so that the field never holds a refused letter.
    void setHexFilter(bool on);
    bool hexFilter() const { return hexValidator != nullptr; }

    // The line editor inside, for the caret, the selection and the focus.
    QLineEdit* lineEdit() const { return editor; }

  protected:
    // For the derived fields that use another plain look.
    CKivEdit(QWidget* parent, int controlId, int fontPixelHeight, QColor plainFill,
             QColor plainFrame);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void followText(const QString& text);

    QLineEdit* editor = nullptr;
    KivEditHexValidator* hexValidator = nullptr;
    QImage backgroundPicture;
    QColor fill;
    QColor frame;
    // The line editor may report a change that a filter took back at once; the
    // owner hears only of real changes.
    QString lastText;
};

}  // namespace orvane
