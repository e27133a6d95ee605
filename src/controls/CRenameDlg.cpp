#include "controls/CRenameDlg.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "controls/CKivButton.h"
#include "controls/CKivEdit.h"
#include "controls/CPopDlg.h"
#include "skins/SkinCache.h"
#include "skins/SkinFaces.h"

namespace orvane {

namespace rename = layout::rename;

namespace {

void placeButton(CKivButton* button, int part, const layout::Rect& rect) {
    const SkinFaces faces = skinFaces(part, rect);
    button->setImages(faces.normal, faces.over, faces.down, faces.disabled);
    button->setGeometry(toQRect(rect));
}

}  // namespace

CRenameDlg::CRenameDlg(int slot, QWidget* parent, const QString& initialName)
    : CKivImageDialog(parent),
      close(new CKivButton(this, kCloseId)),
      ok(new CKivButton(this, kOkId)),
      cancel(new CKivButton(this, kCancelId)),
      nameEdit(new CKivEdit(this, kNameFieldId)),
      slotNumber(slot) {
    setModal(true);
    setBackground(skinPart(rename::kPartBackground, layout::kStateNormal, QRect()).toImage());
    placeButton(close, rename::kPartCloseButton, rename::kCloseButton);
    placeButton(ok, rename::kPartOkButton, rename::kOkButton);
    placeButton(cancel, rename::kPartCancelButton, rename::kCancelButton);

    const QRect field = toQRect(rename::kNameField);
    nameEdit->setGeometry(field);
    nameEdit->setBackground(
        skinPart(rename::kPartNameField, layout::kStateNormal, field).toImage());
    nameEdit->setText(initialName);
    // Clicks on the background take the focus; the field gets it back on a
    // click of its own.
    setFocusPolicy(Qt::ClickFocus);

    trimTimer.setInterval(kTrimIntervalMs);
    connect(&trimTimer, &QTimer::timeout, this, &CRenameDlg::trimTypedText);
    trimTimer.start();
}

CRenameDlg::~CRenameDlg() = default;

void CRenameDlg::showEvent(QShowEvent* event) {
    CKivImageDialog::showEvent(event);
    CPopDlg::centreOnParent(*this);
    nameEdit->setFocus(Qt::OtherFocusReason);
}

void CRenameDlg::trimTypedText() {
    if (!nameEdit->isEnabled()) {
        return;
    }
    const QString text = nameEdit->text();
    if (text.size() <= kTypedLength) {
        return;
    }
    nameEdit->setText(text.left(kTypedLength));
    nameEdit->lineEdit()->setCursorPosition(kTypedLength);
}

void CRenameDlg::controlClicked(int id) {
    switch (id) {
        case kOkId:
            accept();
            break;
        case kCancelId:
        case kCloseId:
            reject();
            break;
        default:
            break;
    }
}

void CRenameDlg::accept() {
    confirmedName = nameEdit->text().left(kNameLength);
    trimTimer.stop();
    done(kResultOk);
}

void CRenameDlg::reject() {
    trimTimer.stop();
    done(kResultCancel);
}

void CRenameDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            accept();
            return;
        case Qt::Key_Escape:
            event->accept();
            reject();
            return;
        default:
            CKivImageDialog::keyPressEvent(event);
    }
}

void CRenameDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !nameEdit->geometry().contains(event->pos())) {
        setFocus(Qt::MouseFocusReason);
    }
    CKivImageDialog::mousePressEvent(event);
}

}  // namespace orvane
