#include "controls/CPopDlg.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "buttons/ButtonFunction.h"
#include "buttons/KeyNames.h"
#include "controls/CKivButton.h"
#include "controls/CKivComboButton.h"
#include "controls/CKivStatic.h"
#include "controls/KivFont.h"
#include "controls/MessageTexts.h"
#include "skins/SkinCache.h"
#include "skins/SkinFaces.h"
#include "skins/SkinFolder.h"

namespace orvane {

namespace popup = layout::popup;

namespace {

constexpr int kAssignKeyFontHeight = 14;
// The seconds field is 12 pixels high: "10" in the 15-pixel default would
// run into the text beside it.
constexpr int kCountdownFontHeight = 11;
constexpr const char* kCountdownPictures[] = {"TQA2-1.bmp", "TQA2-2.bmp", "TQA2-3.bmp"};

// The pop-up sets have no Disable sheet, yet the countdown's OK waits
// disabled for ten seconds: it shows its resting face without colour and
// dimmed, so it reads as unavailable on any skin.
QImage greyedOut(const QImage& face) {
    if (face.isNull()) {
        return face;
    }
    QImage grey = face.convertToFormat(QImage::Format_Grayscale8)
                      .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&grey);
    painter.fillRect(grey.rect(), QColor(0, 0, 0, 110));
    return grey;
}

bool isKnownVariant(int variant) {
    switch (variant) {
        case popup::kLeftClickWarn:
        case popup::kDeleteMacro:
        case popup::kSurfaceAnalysisStart:
        case popup::kSurfaceAnalysisRun:
        case popup::kSurfaceAnalysisDone:
        case popup::kResetWarn:
        case popup::kUpdateWarn:
        case popup::kAssignKey:
            return true;
        default:
            return false;
    }
}

}  // namespace

CPopDlg::CPopDlg(int variant, QWidget* parent)
    : CKivImageDialog(parent),
      ok(new CKivButton(this, kOkId)),
      cancel(new CKivButton(this, kCancelId)),
      close(new CKivButton(this, kCloseId)),
      time(new CKivStatic(this)),
      image(new CKivStatic(this)),
      popupVariant(variant),
      messageBox(&CPopDlg::showWarning),
      childRunner([](CPopDlg& child) { return child.exec(); }) {
    setModal(true);
    time->hide();
    image->hide();
    countdown.setInterval(kCountdownTick);
    finalPause.setSingleShot(true);
    finalPause.setInterval(kCountdownFinalPause);
    connect(&countdown, &QTimer::timeout, this, &CPopDlg::countdownTick);
    connect(&finalPause, &QTimer::timeout, this, &CPopDlg::pressOk);

    if (!isKnownVariant(variant)) {
        // A number without a skin set would ask the skin for parts it does not
        // have; such a pop-up stays an empty dialog that answers Cancel.
        ok->hide();
        cancel->hide();
        close->hide();
        return;
    }

    setBackground(skinPart(variant, layout::kStateNormal, QRect()).toImage());
    const popup::PopupButtons buttons = popup::popupButtons(variant);
    placeButton(ok, popup::okPart(variant), buttons.ok);
    if (buttons.hasCancel) {
        placeButton(cancel, popup::cancelPart(variant), buttons.cancel);
    } else {
        cancel->hide();
    }
    placeButton(close, popup::closePart(variant), buttons.close);

    if (variant == popup::kSurfaceAnalysisRun) {
        setUpCountdown();
    } else if (variant == popup::kAssignKey) {
        setUpKeyCapture();
    }
}

CPopDlg::~CPopDlg() = default;

void CPopDlg::placeButton(CKivButton* button, int part, const layout::Rect& rect) {
    const SkinFaces faces = skinFaces(part, rect, false);
    button->setImages(faces.normal, faces.over, faces.down, greyedOut(faces.normal.image()));
    button->setGeometry(toQRect(rect));
}

void CPopDlg::setUpCountdown() {
    ok->setEnabled(false);
    time->setGeometry(toQRect(popup::kAnalysisTimeField));
    time->setBackground(
        skinPart(popup::kPartAnalysisTimeField, layout::kStateNormal, time->geometry()).toImage());
    time->setAlignment(Qt::AlignCenter);
    time->setTextFont(kivFont(kCountdownFontHeight));
    time->setText(QString::number(kCountdownStart));
    time->show();
    image->setGeometry(toQRect(popup::kImageField));
    image->setBackground(
        skinPart(popup::kPartImageField, layout::kStateNormal, image->geometry()).toImage());
    image->show();
}

void CPopDlg::setUpKeyCapture() {
    time->setGeometry(toQRect(popup::kAssignKeyTimeField));
    time->setBackground(
        skinPart(popup::kPartAssignKeyTimeField, layout::kStateNormal, time->geometry()).toImage());
    time->setTextFont(kivFont(kAssignKeyFontHeight));
    time->setAlignment(Qt::AlignCenter);
    time->show();
    // The captured keys must arrive here, not at a button.
    setFocusPolicy(Qt::StrongFocus);
}

void CPopDlg::setCountdownTiming(std::chrono::milliseconds tick, std::chrono::milliseconds pause) {
    countdown.setInterval(tick);
    finalPause.setInterval(pause);
}

const QString& CPopDlg::hookFailedText() {
    static const QString text = QString::fromLatin1(texts::kHookFailed);
    return text;
}

const QString& CPopDlg::mouseNotFoundText() {
    static const QString text = QString::fromLatin1(texts::kMouseNotFound);
    return text;
}

QString CPopDlg::mouseMissingText(const std::string& unreadablePath) {
    if (unreadablePath.empty()) {
        return mouseNotFoundText();
    }
    return QString::fromLatin1(texts::kMouseNotReadable)
        .arg(QString::fromStdString(unreadablePath));
}

void CPopDlg::showWarning(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(texts::kMessageCaption), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

void CPopDlg::centreOnParent(QWidget& dialog) {
    QWidget* parent = dialog.parentWidget();
    if (parent == nullptr) {
        return;
    }
    const QWidget* window = parent->window();
    QRect placed(QPoint(0, 0), dialog.size());
    placed.moveCenter(window->geometry().center());
    if (const QScreen* screen = window->screen()) {
        const QRect area = screen->availableGeometry();
        placed.moveLeft(
            std::max(area.left(), std::min(placed.left(), area.right() - placed.width() + 1)));
        placed.moveTop(
            std::max(area.top(), std::min(placed.top(), area.bottom() - placed.height() + 1)));
    }
    dialog.move(placed.topLeft());
}

void CPopDlg::showEvent(QShowEvent* event) {
    CKivImageDialog::showEvent(event);
    centreOnParent(*this);
    if (popupVariant == popup::kSurfaceAnalysisRun && !countdown.isActive() && !okRunning &&
        remaining == kCountdownStart) {
        const QString folder = pictureFolder.isEmpty() ? skinFolder() : pictureFolder;
        QList<SkinImage> pictures;
        for (const char* name : kCountdownPictures) {
            pictures.append(loadPicture(folder + QString::fromLatin1(name)));
        }
        image->setPictures(pictures);
        image->setCurrentPicture(0);
        countdown.start();
    }
    if (popupVariant == popup::kAssignKey) {
        setFocus(Qt::OtherFocusReason);
        if (!captureTried) {
            captureTried = true;
            // After the pop-up is on the screen, so that the message stands
            // in front of it rather than before it.
            QMetaObject::invokeMethod(this, &CPopDlg::startKeyCapture, Qt::QueuedConnection);
        }
    }
}

void CPopDlg::startKeyCapture() {
    if (finished) {
        return;
    }
    if (keyboardHook != nullptr) {
        subscription =
            keyboardHook->subscribe([this](const KeyEvent& event) { keyReported(event); });
    }
    if (!subscription.active()) {
        warn(hookFailedText());
    }
}

void CPopDlg::keyReported(const KeyEvent& event) {
    // Only codes the key tables can name and the mouse can send.
    if (event.virtualKey < 1 || event.virtualKey > 255) {
        return;
    }
    captured = event.virtualKey;
    time->setText(QString::fromStdString(GetKeyName(static_cast<std::uint8_t>(captured))));
}

void CPopDlg::countdownTick() {
    const int n = remaining;
    if (n < 1) {
        ok->setEnabled(true);
        countdown.stop();
        return;
    }
    remaining = n - 1;
    time->setText(QString::number(remaining));
    image->setCurrentPicture((11 - n) % 3);
    if (n == 1) {
        countdown.stop();
        ok->setEnabled(true);
        // A timer, not a sleep: the pop-up keeps painting and answering
        // while it waits.
        finalPause.start();
    }
}

void CPopDlg::controlClicked(int id) {
    switch (id) {
        case kOkId:
            pressOk();
            break;
        case kCancelId:
        case kCloseId:
            pressCancel();
            break;
        default:
            break;
    }
}

void CPopDlg::pressOk() {
    if (okRunning || finished) {
        return;
    }
    finalPause.stop();
    switch (popupVariant) {
        case popup::kSurfaceAnalysisStart: {
            if (!analysisStarter || !analysisStarter()) {
                warn(missingMouseText ? missingMouseText() : mouseNotFoundText());
                return;
            }
            okRunning = true;
            const int result = runChild(popup::kSurfaceAnalysisRun);
            done(result == kResultOk ? kResultOk : kResultCancel);
            return;
        }
        case popup::kSurfaceAnalysisRun: {
            okRunning = true;
            countdown.stop();
            const int result = runChild(popup::kSurfaceAnalysisDone);
            done(result == kResultOk ? kResultOk : kResultCancel);
            return;
        }
        case popup::kAssignKey:
            if (captured < 0) {
                // Nothing was captured: there is no key to give, so the
                // button keeps what it had, as with Cancel.
                pressCancel();
                return;
            }
            if (target != nullptr) {
                target->clearAcceptance();
                target->set(QString::fromStdString(GetKeyName(static_cast<std::uint8_t>(captured))),
                            static_cast<int>(ButtonFunction::SingleKey), captured);
            }
            done(kResultOk);
            return;
        default:
            done(isKnownVariant(popupVariant) ? kResultOk : kResultCancel);
            return;
    }
}

void CPopDlg::pressCancel() {
    if (finished) {
        return;
    }
    if (popupVariant == popup::kAssignKey && target != nullptr) {
        target->clearAcceptance();
    }
    done(kResultCancel);
}

int CPopDlg::runChild(int childVariant) {
    CPopDlg child(childVariant, this);
    child.setMessageBox(messageBox);
    child.setChildRunner(childRunner);
    child.setPictureFolder(pictureFolder);
    child.setCountdownTiming(std::chrono::milliseconds(countdown.interval()),
                             std::chrono::milliseconds(finalPause.interval()));
    return childRunner(child);
}

void CPopDlg::warn(const QString& text) {
    if (messageBox) {
        messageBox(this, text);
    }
}

void CPopDlg::done(int result) {
    finished = true;
    countdown.stop();
    finalPause.stop();
    // Only this pop-up's own hold on the hook ends; a recording keeps its own.
    subscription.reset();
    CKivImageDialog::done(result);
}

void CPopDlg::accept() {
    pressOk();
}

void CPopDlg::reject() {
    pressCancel();
}

bool CPopDlg::event(QEvent* event) {
    if (popupVariant == popup::kAssignKey) {
        switch (event->type()) {
            case QEvent::ShortcutOverride:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
                // The hook reports the key; here it must not press a button
                // or close the pop-up.
                event->accept();
                return true;
            default:
                break;
        }
    }
    return CKivImageDialog::event(event);
}

void CPopDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            // Enter is the OK button and cannot do more than it: the
            // countdown's OK stays unavailable until the analysis is done.
            if (!ok->isHidden() && ok->isEnabled()) {
                pressOk();
            }
            return;
        case Qt::Key_Escape:
            event->accept();
            pressCancel();
            return;
        default:
            CKivImageDialog::keyPressEvent(event);
    }
}

}  // namespace orvane
