#include "updater/CUpdaterDlg.h"

#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

#include "Orvane_pro_dll.h"
#include "controls/CKivButton.h"
#include "controls/CKivProgressCtrl.h"
#include "controls/KivFont.h"
#include "skins/SkinFaces.h"
#include "skins/SkinPalette.h"
#include "updater/UpdateSession.h"
#include "updater/UpdateTexts.h"

namespace orvane::updater {

namespace {

constexpr QSize kWindowSize{540, 310};
constexpr int kTitleBand = 36;
constexpr int kMargin = 24;
constexpr QRect kHeadline{kMargin, 52, 540 - 2 * kMargin, 28};
constexpr QRect kBody{kMargin, 84, 540 - 2 * kMargin, 96};
constexpr QRect kBar{kMargin, 190, 540 - 2 * kMargin, 12};
constexpr QRect kNote{kMargin, 210, 540 - 2 * kMargin, 40};
constexpr QRect kActionButton{300, 262, 124, 30};
constexpr QRect kCloseButton{432, 262, 84, 30};
constexpr QRect kCloseBox{540 - 28, 9, 18, 18};
constexpr int kBarSteps = 100;

QColor colour(palette::Rgb rgb) {
    return toQColor(rgb);
}

QImage windowBackground() {
    QImage picture(kWindowSize, QImage::Format_ARGB32_Premultiplied);
    picture.fill(colour(palette::kGraphite));
    QPainter painter(&picture);
    painter.fillRect(QRect(0, 0, kWindowSize.width(), kTitleBand), colour(palette::kBand));
    painter.fillRect(QRect(0, kTitleBand, kWindowSize.width(), 2), colour(palette::kAccent));
    painter.setPen(colour(palette::kPanelEdge));
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return picture;
}

QImage face(QSize size, palette::Rgb fill, palette::Rgb edge) {
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(colour(edge));
    painter.setBrush(colour(fill));
    painter.drawRoundedRect(QRectF(picture.rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    return picture;
}

void giveFaces(CKivButton& button, QSize size) {
    button.setImages(face(size, palette::kFace, palette::kPanelEdge),
                     face(size, palette::kFaceHover, palette::kAccent),
                     face(size, palette::kBand, palette::kAccent),
                     face(size, palette::kDisabledFace, palette::kPanelEdge));
}

QImage closeBoxFace(palette::Rgb cross) {
    QImage picture(kCloseBox.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour(cross), 2));
    painter.drawLine(QPointF(4, 4), QPointF(14, 14));
    painter.drawLine(QPointF(14, 4), QPointF(4, 14));
    return picture;
}

QImage barPicture(palette::Rgb fill) {
    QImage picture(kBar.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(colour(fill));
    return picture;
}

QLabel* makeLabel(QWidget* parent, const QRect& rect, int pixels, palette::Rgb text) {
    auto* label = new QLabel(parent);
    label->setGeometry(rect);
    label->setFont(kivFont(pixels));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour(text));
    label->setPalette(colours);
    return label;
}

}  // namespace

CUpdaterDlg::CUpdaterDlg(UpdateSession& updateSession, std::filesystem::path image, QWidget* parent)
    : CKivImageDialog(parent, Qt::Window | Qt::FramelessWindowHint),
      session(updateSession),
      imageFile(std::move(image)) {
    setWindowTitle(QString::fromLatin1(texts::kTitle));
    buildControls();
    connect(&session, &UpdateSession::reported, this, &CUpdaterDlg::showReport);
}

void CUpdaterDlg::buildControls() {
    setBackground(windowBackground());
    resize(kWindowSize);

    title = makeLabel(this, QRect(14, 0, 400, kTitleBand), 15, palette::kLabel);
    title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    title->setText(QString::fromLatin1(texts::kTitle));
    head = makeLabel(this, kHeadline, 19, palette::kCaptionHover);
    body = makeLabel(this, kBody, 14, palette::kLabel);
    note = makeLabel(this, kNote, 14, palette::kWarning);

    bar = new CKivProgressCtrl(this);
    bar->setGeometry(kBar);
    bar->setImages(barPicture(palette::kTrack), barPicture(palette::kAccent));
    bar->setOrientation(Qt::Horizontal);
    bar->setRange(0, kBarSteps);
    bar->setPosition(0);
    bar->hide();

    action = new CKivButton(this, kActionId);
    action->setGeometry(kActionButton);
    giveFaces(*action, kActionButton.size());
    closeNow = new CKivButton(this, kCloseId);
    closeNow->setGeometry(kCloseButton);
    giveFaces(*closeNow, kCloseButton.size());
    closeNow->setCaption(QString::fromLatin1(texts::kClose));
    closeBox = new CKivButton(this, kCloseBoxId);
    closeBox->setGeometry(kCloseBox);
    closeBox->setImages(closeBoxFace(palette::kCaption), closeBoxFace(palette::kCaptionHover),
                        closeBoxFace(palette::kAccent), closeBoxFace(palette::kCaptionDisabled));
}

void CUpdaterDlg::setAction(const QString& caption) {
    action->setCaption(caption);
    action->setVisible(!caption.isEmpty());
}

void CUpdaterDlg::setRunning(bool running) {
    closeNow->setEnabled(!running);
    closeBox->setEnabled(!running);
    action->setEnabled(!running);
    if (running) {
        setAction({});
        note->setText(QString::fromLatin1(texts::kDoNotUnplug));
    }
}

bool CUpdaterDlg::running() const {
    return session.phase() == UpdateSession::Phase::Running;
}

QString CUpdaterDlg::headline() const {
    return head->text();
}

QString CUpdaterDlg::explanation() const {
    return body->text();
}

QString CUpdaterDlg::warning() const {
    return note->text();
}

void CUpdaterDlg::showStart(Start start, const QString& mouseVersion, const QString& newVersion) {
    const bool due = start == Start::UpdateDue;
    head->setText(due ? dueHeadline() : upToDateHeadline());
    body->setText(due ? dueExplanation(mouseVersion, newVersion)
                      : upToDateExplanation(mouseVersion, newVersion));
    note->setText(due ? QString::fromLatin1(texts::kDoNotUnplug) : QString());
    bar->hide();
    setAction(QString::fromLatin1(due ? texts::kUpdateNow : texts::kReflash));
    setRunning(false);
}

void CUpdaterDlg::startUpdate() {
    if (running()) {
        return;
    }
    const QString name = QString::fromStdString(imageFile.string());
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        showRefusal(imageUnreadableText(name, file.errorString()));
        return;
    }
    // Larger than any image the mouse can hold by one byte is enough to
    // tell the user the file does not fit.
    const qint64 limit = static_cast<qint64>(kFirmwareBlockBytes * kFirmwareMaxBlocks) + 1;
    const QByteArray image = file.read(limit);
    QString why;
    if (!session.start(image, name, why)) {
        showRefusal(image.size() >= limit
                        ? imageRefusedText(FirmwareImageCheck::TooLarge, name, file.size())
                        : why);
        return;
    }
    head->setText(statusHeadline(ORVANE_FW_PROGRESS, 0));
    body->setText(statusText(ORVANE_FW_PROGRESS, 1));
    bar->setPosition(0);
    bar->show();
    setRunning(true);
}

void CUpdaterDlg::showRefusal(const QString& reason) {
    head->setText(QStringLiteral("The update cannot start"));
    body->setText(reason);
    note->clear();
    bar->hide();
    setAction(QString::fromLatin1(texts::kTryAgain));
    setRunning(false);
}

void CUpdaterDlg::showReport(int status, int value) {
    head->setText(statusHeadline(status, value));
    body->setText(statusText(status, value));
    bar->show();
    if (status == ORVANE_FW_PROGRESS) {
        bar->setPosition(value);
        setRunning(true);
        return;
    }
    if (status == ORVANE_FW_DONE) {
        bar->setPosition(kBarSteps);
        note->clear();
        setAction({});
    } else {
        // Only a failure while writing has got somewhere; the bar shows
        // where it stopped, and is of no use after the others.
        const bool whileWriting =
            status == ORVANE_FW_BLOCK_FAILED || status == ORVANE_FW_IMAGE_REJECTED;
        bar->setPosition(whileWriting ? value : 0);
        bar->setVisible(whileWriting);
        note->clear();
        setAction(QString::fromLatin1(texts::kTryAgain));
    }
    closeNow->setEnabled(true);
    closeBox->setEnabled(true);
    action->setEnabled(true);
}

void CUpdaterDlg::controlClicked(int id) {
    switch (id) {
        case kActionId:
            startUpdate();
            break;
        case kCloseId:
        case kCloseBoxId:
            close();
            break;
        default:
            break;
    }
}

void CUpdaterDlg::closeEvent(QCloseEvent* event) {
    // Closing while the boot loader takes the image would end the program,
    // and with it the library's worker, half-way: the mouse would be left
    // without firmware.
    if (running()) {
        note->setText(QString::fromLatin1(texts::kCannotCloseNow));
        event->ignore();
        return;
    }
    event->accept();
}

void CUpdaterDlg::reject() {
    if (!running()) {
        CKivImageDialog::reject();
    }
}

void CUpdaterDlg::keyPressEvent(QKeyEvent* event) {
    // Escape closes the window like the close box, through the same refusal.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        close();
        return;
    }
    CKivImageDialog::keyPressEvent(event);
}

void CUpdaterDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && event->position().y() < kTitleBand &&
        windowHandle() != nullptr) {
        windowHandle()->startSystemMove();
        return;
    }
    CKivImageDialog::mousePressEvent(event);
}

}  // namespace orvane::updater
