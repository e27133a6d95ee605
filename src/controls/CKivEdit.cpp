#include "controls/CKivEdit.h"

#include <QLineEdit>
#include <QPainter>
#include <QPalette>

#include "controls/KivEditHexValidator.h"
#include "controls/KivFont.h"
#include "skins/SkinPalette.h"

namespace orvane {

namespace {

QColor editFrameColour() {
    return QColor(palette::kEditFrame.r, palette::kEditFrame.g, palette::kEditFrame.b);
}

}  // namespace

CKivEdit::CKivEdit(QWidget* parent, int controlId)
    : CKivEdit(parent, controlId, 14, Qt::black, editFrameColour()) {}

CKivEdit::CKivEdit(QWidget* parent, int controlId, int fontPixelHeight, QColor plainFill,
                   QColor plainFrame)
    : CKivWidget(parent, controlId), fill(plainFill), frame(plainFrame) {
    setFont(kivFont(fontPixelHeight));

    editor = new QLineEdit(this);
    editor->setFrame(false);
    editor->setAutoFillBackground(false);
    editor->setAttribute(Qt::WA_TranslucentBackground);
    QPalette colours = editor->palette();
    colours.setBrush(QPalette::Base, Qt::transparent);
    colours.setColor(QPalette::Text, Qt::white);
    // The selection stays visible when the field loses the focus (the pages
    // move the focus around while they rewrite the fields).
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    editor->setPalette(colours);

    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(editor);
    connect(editor, &QLineEdit::textChanged, this, &CKivEdit::followText);
}

CKivEdit::~CKivEdit() = default;

QString CKivEdit::text() const {
    return editor->text();
}

void CKivEdit::setText(const QString& text) {
    editor->setText(text);
}

void CKivEdit::setBackground(const QImage& picture) {
    backgroundPicture = picture;
    update();
}

void CKivEdit::setHexFilter(bool on) {
    if (on == hexFilter()) {
        return;
    }
    if (on) {
        hexValidator = new KivEditHexValidator(this);
        editor->setValidator(hexValidator);
    } else {
        editor->setValidator(nullptr);
        delete hexValidator;
        hexValidator = nullptr;
    }
}

void CKivEdit::followText(const QString& text) {
    if (text == lastText) {
        return;
    }
    lastText = text;
    update();
    notifyOwner(kTextChanged);
}

void CKivEdit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!backgroundPicture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), backgroundPicture);
        return;
    }
    painter.fillRect(rect(), fill);
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CKivEdit::resizeEvent(QResizeEvent* event) {
    CKivWidget::resizeEvent(event);
    // One pixel in from each edge, so that the plain frame stays visible.
    editor->setGeometry(rect().adjusted(1, 1, -1, -1));
}

}  // namespace orvane
