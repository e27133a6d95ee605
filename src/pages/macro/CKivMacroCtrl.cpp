#include "pages/macro/CKivMacroCtrl.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QValidator>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <iterator>

#include "buttons/KeyNames.h"
#include "controls/CKivEdit.h"
#include "controls/CKivMenu.h"
#include "controls/CKivScrollCtrl.h"
#include "controls/KivFont.h"
#include "macros/CEventItem.h"
#include "pages/macro/MacroLooks.h"
#include "protocol/image/ButtonEncoding.h"
#include "skins/SkinFaces.h"

namespace orvane {

namespace {

constexpr int kMenuWidth = 170;
constexpr int kMouseSubmenuWidth = 120;
constexpr int kWheelRows = 3;
constexpr int kDelayRight = 168;  // from the row's left edge
constexpr int kLabelLeft = 17;
constexpr int kDelayEditorLeft = 112;
constexpr int kDelayEditorWidth = 58;

// Only digits, and no number the mouse cannot wait: it keeps 24 bits of
// delay, so anything longer would reach it as a much shorter wait.
class DelayValidator final : public QValidator {
  public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override {
        std::uint64_t value = 0;
        for (const QChar c : input) {
            if (c < u'0' || c > u'9') {
                return Invalid;
            }
            value = value * 10 + static_cast<std::uint64_t>(c.unicode() - u'0');
            if (value > kLongestMacroDelayMs) {
                return Invalid;
            }
        }
        return Acceptable;
    }
};

struct MouseItem {
    int id;
    const char* text;
    std::uint16_t code;
};

constexpr MouseItem kMouseItems[] = {
    {CKivMacroCtrl::kLeftButton, "Left button", kLeftButtonCode},
    {CKivMacroCtrl::kRightButton, "Right button", kRightButtonCode},
    {CKivMacroCtrl::kMiddleButton, "Middle button", kMiddleButtonCode},
    {CKivMacroCtrl::kForwardButton, "Forward button", kForwardButtonCode},
    {CKivMacroCtrl::kBackButton, "Back button", kBackButtonCode},
};

// Makes a submenu at least `width` wide and wide enough for its texts.
void fitSubmenu(CKivMenu& menu, int parentId, int width) {
    if (CKivMenu* submenu = menu.submenu(parentId)) {
        submenu->fitToItems(width);
    }
}

}  // namespace

CKivMacroCtrl::CKivMacroCtrl(QWidget* parent, int controlId)
    : CKivWidget(parent, controlId), macros(this), scroll(new CKivScrollCtrl(this, kScrollBarId)) {
    scroll->setImages(macroScrollBarImages());
    scroll->setGeometry(toQRect(layout::macropage::kEditorScrollBar));
    scroll->hide();
    setFont(macroRowFont());
    buildMenu();
}

CKivMacroCtrl::~CKivMacroCtrl() = default;

void CKivMacroCtrl::buildMenu() {
    menu = new CKivMenu(kMenuId, this, kMenuWidth, this);
    menu->addItem(kRecordBefore, QStringLiteral("Start record before event"));
    menu->addItem(kRecordAfter, QStringLiteral("Start record after event"));
    menu->addItem(kInsertMouseEvent, QStringLiteral("Insert mouse event"));
    menu->addItem(kInsertDelay, QStringLiteral("Insert delay"));
    menu->addItem(kEditDelay, QStringLiteral("Edit delay"));
    menu->addItem(kDeleteStep, QStringLiteral("Delete"));
    for (const MouseItem& item : kMouseItems) {
        menu->addItem(kInsertMouseEvent, item.id, QString::fromLatin1(item.text));
    }
    menu->addItem(kInsertMouseEvent, kScrollWheel, QStringLiteral("Scroll wheel"));
    CKivMenu& mouse = *menu->submenu(kInsertMouseEvent);
    for (const MouseItem& item : kMouseItems) {
        mouse.addItem(item.id, item.id + kDownOffset, QStringLiteral("Down"));
        mouse.addItem(item.id, item.id + kUpOffset, QStringLiteral("Up"));
        mouse.addItem(item.id, item.id + kClickOffset, QStringLiteral("Click"));
        fitSubmenu(mouse, item.id, CKivMenu::kSubmenuWidth);
    }
    mouse.addItem(kScrollWheel, kWheelDown, QStringLiteral("Down"));
    mouse.addItem(kScrollWheel, kWheelUp, QStringLiteral("Up"));
    fitSubmenu(mouse, kScrollWheel, CKivMenu::kSubmenuWidth);
    fitSubmenu(*menu, kInsertMouseEvent, kMouseSubmenuWidth);
    int width = kMenuWidth;
    for (const MenuItem& item : menu->items()) {
        width = std::max(width, menu->widthToShow(item.text));
    }
    menu->setMenuWidth(width);
}

void CKivMacroCtrl::setBackground(const SkinImage& picture) {
    background = picture;
    update();
}

int CKivMacroCtrl::stepCount() const {
    const CMacro* macro = macros.currentMacro;
    return macro == nullptr ? 0
                            : static_cast<int>(std::min<std::size_t>(macro->events.size(),
                                                                     INT_MAX / kRowHeight));
}

int CKivMacroCtrl::visibleRows() const {
    return std::max(1, (height() - kFirstRowTop) / kRowHeight);
}

QRect CKivMacroCtrl::rowGeometry(int index) const {
    const int y = kFirstRowTop + (index - top) * kRowHeight;
    return QRect(4, y, std::max(0, width() - 2 - 4), kRowHeight);
}

int CKivMacroCtrl::stepAt(const QPoint& point) const {
    if (point.x() < 4 || point.x() >= width() - 2 || point.y() < kFirstRowTop) {
        return -1;
    }
    const int index = top + (point.y() - kFirstRowTop) / kRowHeight;
    return index < stepCount() ? index : -1;
}

void CKivMacroCtrl::selectMacro(const QString& name, int id) {
    CMacro* macro = macros.findMacro(id);
    if (macro == nullptr) {
        macro = &macros.addMacro(id, name.toStdU16String());
    }
    if (macro != macros.currentMacro && isDelayEditOpen()) {
        // The typed delay belongs to a step of the macro that goes away.
        delayEdit->setText(QString());
        delayEdit->hide();
    }
    macros.currentMacro = macro;
    top = 0;
    updateScrollBar();
    update();
}

void CKivMacroCtrl::showNoMacro() {
    macros.currentMacro = nullptr;
    top = 0;
    updateScrollBar();
    update();
}

void CKivMacroCtrl::stepsReplaced() {
    top = 0;
    updateScrollBar();
    update();
}

void CKivMacroCtrl::updateScrollBar() {
    const int count = stepCount();
    const int shown = visibleRows();
    if (count <= shown) {
        top = 0;
        scroll->hide();
    } else {
        scroll->setRange(0, count - shown);
        top = std::clamp(top, 0, count - shown);
        scroll->setPosition(top);
        scroll->show();
    }
    placeDelayEditor();
}

void CKivMacroCtrl::setTop(int row) {
    if (!scroll->isHidden()) {
        scroll->setPosition(row);  // reports back through kScrollBarId
    }
}

void CKivMacroCtrl::scrollToRow(int index) {
    updateScrollBar();
    const int shown = visibleRows();
    if (index < top) {
        setTop(index);
    } else if (index >= top + shown) {
        setTop(index - shown + 1);
    }
}

void CKivMacroCtrl::scrollToEnd(int lastIndex) {
    updateScrollBar();
    setTop(lastIndex - visibleRows() + 1);
}

void CKivMacroCtrl::repaint() {
    update();
}

MacroRect CKivMacroCtrl::clientRect() const {
    return {0, 0, width(), height()};
}

void CKivMacroCtrl::selectStep(int index) {
    CMacro* macro = macros.currentMacro;
    if (macro == nullptr || index < 0 || index >= stepCount()) {
        return;
    }
    for (std::size_t i = 0; i < macro->events.size(); ++i) {
        macro->events[i].selected = static_cast<int>(i) == index ? 1 : 0;
    }
    update();
}

bool CKivMacroCtrl::isDelayEditOpen() const {
    return delayEdit != nullptr && !delayEdit->isHidden();
}

void CKivMacroCtrl::placeDelayEditor() {
    if (!isDelayEditOpen() || macros.currentMacro == nullptr) {
        return;
    }
    const auto& events = macros.currentMacro->events;
    const auto selected = std::find_if(events.begin(), events.end(),
                                       [](const CEventItem& event) { return event.selected != 0; });
    if (selected == events.end()) {
        return;
    }
    const QRect row = rowGeometry(static_cast<int>(selected - events.begin()));
    delayEdit->setGeometry(row.left() + kDelayEditorLeft, row.top() + 1, kDelayEditorWidth,
                           row.height() - 1);
}

void CKivMacroCtrl::openDelayEditor() {
    const CMacro* macro = macros.currentMacro;
    if (macro == nullptr || std::none_of(macro->events.begin(), macro->events.end(),
                                         [](const CEventItem& e) { return e.selected != 0; })) {
        return;
    }
    if (delayEdit == nullptr) {
        delayEdit = new CKivEdit(this, kDelayEditorId);
        delayEdit->setFont(kivFont(13));
        delayEdit->lineEdit()->setValidator(new DelayValidator(delayEdit));
    }
    delayEdit->setText(QString());
    delayEdit->show();
    placeDelayEditor();
    delayEdit->setFocus(Qt::OtherFocusReason);
}

bool CKivMacroCtrl::commitDelayEdit() {
    if (!isDelayEditOpen()) {
        return false;
    }
    const QString typed = delayEdit->text();
    delayEdit->setText(QString());
    delayEdit->hide();
    bool valid = false;
    const qulonglong value = typed.toULongLong(&valid);
    CMacro* macro = macros.currentMacro;
    if (!typed.isEmpty() && valid && value <= kLongestMacroDelayMs && macro != nullptr) {
        const auto selected =
            std::find_if(macro->events.begin(), macro->events.end(),
                         [](const CEventItem& event) { return event.selected != 0; });
        if (selected != macro->events.end()) {
            selected->delay = static_cast<std::uint32_t>(value);
            stepsChanged();
        }
    }
    update();
    return true;
}

void CKivMacroCtrl::insertMouseStep(std::uint8_t type, std::uint16_t code, std::uint8_t state) {
    macros.currentMacro->addEvent(type, code, state, 0, kInsertAfterSelected);
}

void CKivMacroCtrl::menuItemPicked(int item) {
    CMacro* macro = macros.currentMacro;
    switch (item) {
        case kRecordBefore:
            mode = kInsertAfterSelected;
            if (macro != nullptr) {
                // New steps go after the selected one; moving the selection
                // up one puts them before the step the user chose.
                const auto selected =
                    std::find_if(macro->events.begin(), macro->events.end(),
                                 [](const CEventItem& event) { return event.selected != 0; });
                if (selected != macro->events.end()) {
                    selected->selected = 0;
                    if (selected != macro->events.begin()) {
                        std::prev(selected)->selected = 1;
                    }
                }
            }
            update();
            notifyOwner(kStartRecording, kRecordBefore);
            return;
        case kRecordAfter:
            mode = kInsertAfterSelected;
            update();
            notifyOwner(kStartRecording, kRecordAfter);
            return;
        case kInsertDelay:
        case kEditDelay:
            openDelayEditor();
            return;
        default:
            break;
    }
    if (macro == nullptr) {
        return;
    }
    if (item == kDeleteStep) {
        macro->deleteSelectedEvent();
        updateScrollBar();
        stepsChanged();
        return;
    }
    if (item == kWheelDown || item == kWheelUp) {
        insertMouseStep(kWheelEvent, item == kWheelDown ? kWheelDownCode : kWheelUpCode, kPressed);
        stepsChanged();
        return;
    }
    for (const MouseItem& button : kMouseItems) {
        const int offset = item - button.id;
        if (offset == kDownOffset || offset == kClickOffset) {
            insertMouseStep(kMouseButtonEvent, button.code, kPressed);
        }
        if (offset == kUpOffset || offset == kClickOffset) {
            insertMouseStep(kMouseButtonEvent, button.code, kReleased);
        }
        if (offset >= kDownOffset && offset <= kClickOffset) {
            stepsChanged();
            return;
        }
    }
}

void CKivMacroCtrl::stepsChanged() {
    placeDelayEditor();
    update();
    notifyOwner(kStepsChanged, 0);
}

void CKivMacroCtrl::controlNotified(int id, int value) {
    if (id == kScrollBarId) {
        top = value;
        placeDelayEditor();
        update();
        return;
    }
    if (id == kMenuVisibilityId) {
        notifyOwner(kMenuVisibilityId, value);
        return;
    }
    if (id == kMenuId || menu->submenu(id) != nullptr ||
        (menu->submenu(kInsertMouseEvent) != nullptr &&
         menu->submenu(kInsertMouseEvent)->submenu(id) != nullptr)) {
        menuItemPicked(value);
    }
    // The delay editor's text changes matter only when it is finished.
}

void CKivMacroCtrl::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        if (commitDelayEdit()) {
            return;
        }
        selectStep(stepAt(point));
        return;
    }
    if (event->button() == Qt::RightButton && !recording) {
        if (menu->isVisible()) {
            menu->closeMenu();
        }
        menu->popup(event->globalPosition().toPoint());
    }
}

void CKivMacroCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        selectStep(stepAt(event->position().toPoint()));
    }
}

void CKivMacroCtrl::wheelEvent(QWheelEvent* event) {
    event->accept();
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0) {
        setTop(top - notches * kWheelRows);
    }
}

void CKivMacroCtrl::resizeEvent(QResizeEvent* event) {
    CKivWidget::resizeEvent(event);
    updateScrollBar();
}

void CKivMacroCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!background.isNull()) {
        painter.drawImage(rect(), background.image());
    }
    lastPainted = 0;
    const CMacro* macro = macros.currentMacro;
    if (macro == nullptr) {
        return;
    }
    painter.setClipRect(QRect(0, 0, std::max(0, width() - kScrollBarBand), height()));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const QPen linePen(macroRowColor(), 1);

    // Only the rows on the screen: a macro may hold thousands of steps.
    const int last = std::min(stepCount() - 1, top + visibleRows());
    for (int i = top; i <= last; ++i) {
        const CEventItem& step = macro->events[static_cast<std::size_t>(i)];
        const QRect row = rowGeometry(i);
        const int x = row.left();
        const int y = row.top();
        const int b = row.bottom() + 1;
        const int middle = y + row.height() / 2;

        const QString delay = QStringLiteral("%1 ms").arg(step.delay);
        const int delayWidth = metrics.horizontalAdvance(delay);
        const QRect delaySpan(x + kLabelLeft, y, kDelayRight - kLabelLeft, row.height());
        const QRect labelSpan(x + kLabelLeft, y,
                              std::max(0, kDelayRight - kLabelLeft - delayWidth - 6), row.height());

        QString label = QString::fromStdString(eventLabel(step.code, step.state));
        painter.setPen(linePen);
        if (!label.isEmpty()) {
            painter.drawLine(QPointF(x + 2, middle + 0.5), QPointF(x + 12, middle + 0.5));
        } else if (step.code <= 0xFF) {
            label = QString::fromStdString(GetKeyName(static_cast<std::uint8_t>(step.code)));
            if (!label.isEmpty() && step.state == kPressed) {
                const QPointF arrow[] = {
                    {x + 2.0, y + 6.0}, {x + 7.0, b - 6.0}, {x + 12.0, y + 6.0}};
                painter.drawPolyline(arrow, 3);
            } else if (!label.isEmpty() && step.state == kReleased) {
                const QPointF arrow[] = {
                    {x + 2.0, b - 6.0}, {x + 7.0, y + 6.0}, {x + 12.0, b - 6.0}};
                painter.drawPolyline(arrow, 3);
            }
        }
        painter.setPen(step.selected != 0 ? macroSelectedRowColor() : macroRowColor());
        if (!label.isEmpty()) {
            painter.drawText(labelSpan, Qt::AlignLeft | Qt::AlignVCenter,
                             metrics.elidedText(label, Qt::ElideRight, labelSpan.width()));
        }
        painter.drawText(delaySpan, Qt::AlignRight | Qt::AlignVCenter, delay);
        ++lastPainted;
    }
}

}  // namespace orvane
