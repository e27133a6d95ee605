#pragma once

#include <QString>
#include <QTimer>

#include "controls/CKivImageDialog.h"

namespace orvane {

class CKivButton;
class CKivEdit;

// Asks for a new name for one profile slot. The dialog only answers: on OK
// (result 1) name() holds the new name, and storing it in the record and on
// the profile button is the caller's work; Cancel, Close and Escape give 2.
class CRenameDlg : public CKivImageDialog {
    Q_OBJECT
  public:
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;

    static constexpr int kCloseId = 1;
    static constexpr int kOkId = 2;
    static constexpr int kCancelId = 3;
    static constexpr int kNameFieldId = 4;

    // What the field keeps while the user types, and what OK keeps at most
    // (a paste confirmed before the field was cut back).
    static constexpr int kTypedLength = 7;
    static constexpr int kNameLength = 15;
    static constexpr int kTrimIntervalMs = 50;

    // `slot` is the profile slot as the user counts it, 1 to 5.
    CRenameDlg(int slot, QWidget* parent = nullptr, const QString& initialName = QString());
    ~CRenameDlg() override;

    int slot() const { return slotNumber; }
    // The confirmed name; empty until OK (an empty name is a valid answer).
    const QString& name() const { return confirmedName; }

    CKivButton* okButton() const { return ok; }
    CKivButton* cancelButton() const { return cancel; }
    CKivButton* closeButton() const { return close; }
    CKivEdit* nameField() const { return nameEdit; }

    void controlClicked(int id) override;
    void accept() override;
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void trimTypedText();

    CKivButton* close;
    CKivButton* ok;
    CKivButton* cancel;
    CKivEdit* nameEdit;
    const int slotNumber;
    QString confirmedName;
    QTimer trimTimer;
};

}  // namespace orvane
