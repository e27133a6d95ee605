#include "pages/macro/CKivListBox.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "controls/CKivEdit.h"
#include "controls/CKivScrollCtrl.h"
#include "controls/KivFont.h"
#include "pages/macro/MacroLooks.h"
#include "skins/SkinFaces.h"

namespace orvane {

namespace {

constexpr int kNameEditorPixels = 16;
constexpr int kNameEditorLeft = 3;
// Room kept on the right of the name editor when the scroll bar is hidden.
constexpr int kNameEditorRightMargin = 26;
constexpr int kWheelRows = 3;

// The number written after a name's first "(" up to its last character, as
// far as it reads as a number; 0 for anything else. Big enough for any name
// a user types, small enough that adding one never overflows.
qint64 numberInBrackets(const QString& name, qsizetype open) {
    const QStringView inside = QStringView(name).mid(open + 1, name.size() - open - 2);
    qsizetype i = 0;
    while (i < inside.size() && inside[i].isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < inside.size() && (inside[i] == u'-' || inside[i] == u'+')) {
        negative = inside[i] == u'-';
        ++i;
    }
    constexpr qint64 kLargest = 1'000'000'000'000'000;
    qint64 value = 0;
    for (; i < inside.size() && inside[i] >= u'0' && inside[i] <= u'9'; ++i) {
        value = std::min(kLargest, value * 10 + (inside[i].unicode() - u'0'));
    }
    return negative ? -value : value;
}

}  // namespace

CKivListBox::CKivListBox(QWidget* parent, int controlId)
    : CKivWidget(parent, controlId), scroll(new CKivScrollCtrl(this, kScrollBarId)) {
    scroll->setImages(macroScrollBarImages());
    scroll->setGeometry(toQRect(layout::macropage::kListScrollBar));
    scroll->hide();
    setFont(macroRowFont());
}

void CKivListBox::setBackground(const SkinImage& picture) {
    background = picture;
    update();
}

int CKivListBox::visibleRows() const {
    return std::max(1, (height() - kFirstRowTop) / kRowHeight);
}

QRect CKivListBox::rowGeometry(int index) const {
    const int y = kFirstRowTop + (index - top) * kRowHeight;
    return QRect(4, y, std::max(0, width() - 2 - 4), kRowHeight);
}

int CKivListBox::rowAt(const QPoint& point) const {
    if (point.x() < 0 || point.x() >= width() || point.y() < kFirstRowTop) {
        return -1;
    }
    const int index = top + (point.y() - kFirstRowTop) / kRowHeight;
    return index < static_cast<int>(items.size()) && rowGeometry(index).contains(point) ? index
                                                                                        : -1;
}

const CBoxItem* CKivListBox::selectedRow() const {
    const auto found = std::find_if(items.begin(), items.end(),
                                    [](const CBoxItem& item) { return item.selected != 0; });
    return found == items.end() ? nullptr : &*found;
}

int CKivListBox::nextId() const {
    int largest = kFirstMacroId - 1;
    for (const CBoxItem& item : items) {
        largest = std::max(largest, item.id);
    }
    return largest + 1;
}

bool CKivListBox::isNamingOpen() const {
    return editor != nullptr && !editor->isHidden();
}

void CKivListBox::selectOnly(int index) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i].selected = static_cast<int>(i) == index ? 1 : 0;
    }
    update();
}

void CKivListBox::updateScrollBar(int rowCount) {
    const int shown = visibleRows();
    if (rowCount <= shown) {
        top = 0;
        scroll->hide();
        return;
    }
    scroll->setRange(0, rowCount - shown);
    top = std::clamp(top, 0, rowCount - shown);
    scroll->show();
}

void CKivListBox::scrollTo(int row) {
    const int shown = visibleRows();
    int wanted = top;
    if (row < top) {
        wanted = row;
    } else if (row >= top + shown) {
        wanted = row - shown + 1;
    }
    if (!scroll->isHidden()) {
        scroll->setPosition(wanted);  // reports back through kScrollBarId
    }
}

void CKivListBox::layoutRows() {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int y = kFirstRowTop + static_cast<int>(i) * kRowHeight;
        items[i].rowRect = {4, y, width() - 2, y + kRowHeight};
    }
    const int count = static_cast<int>(items.size()) + (isNamingOpen() ? 1 : 0);
    updateScrollBar(count);
    const auto selected = std::find_if(items.begin(), items.end(),
                                       [](const CBoxItem& item) { return item.selected != 0; });
    if (isNamingOpen()) {
        scrollTo(count - 1);
    } else if (selected != items.end()) {
        scrollTo(static_cast<int>(selected - items.begin()));
    }
    placeNameEditor();
    update();
}

void CKivListBox::placeNameEditor() {
    if (!isNamingOpen()) {
        return;
    }
    const QRect row = rowGeometry(static_cast<int>(items.size()));
    const int right = scroll->isHidden() ? width() - kNameEditorRightMargin : scroll->x() - 1;
    editor->setGeometry(kNameEditorLeft, row.top(), std::max(0, right - kNameEditorLeft),
                        kRowHeight);
}

void CKivListBox::beginNewMacroName() {
    if (isNamingOpen()) {
        commitNewMacroName();
        return;
    }
    if (editor == nullptr) {
        editor = new CKivEdit(this, kNameEditorId);
        editor->setFont(kivFont(kNameEditorPixels));
    }
    editor->show();
    layoutRows();
    editor->setFocus(Qt::OtherFocusReason);
}

bool CKivListBox::commitNewMacroName() {
    if (!isNamingOpen()) {
        return false;
    }
    const QString typed = editor->text();
    editor->setText(QString());
    editor->hide();
    if (!typed.isEmpty()) {
        CBoxItem item;
        item.name = uniqueName(typed);
        item.id = nextId();
        item.selected = 1;
        for (CBoxItem& other : items) {
            other.selected = 0;
        }
        items.push_back(item);
        layoutRows();
        notifyOwner(kSelected, item.id);
    } else {
        layoutRows();
    }
    return true;
}

QString CKivListBox::uniqueName(QString name) const {
    const auto taken = [this](const QString& candidate) {
        return std::any_of(items.begin(), items.end(),
                           [&](const CBoxItem& item) { return item.name == candidate; });
    };
    while (taken(name)) {
        const qsizetype open = name.indexOf(u'(');
        const qint64 number = open < 0 ? 0 : numberInBrackets(name, open);
        name = (open < 0 ? name : name.left(open)) + u'(' + QString::number(number + 1) + u')';
    }
    return name;
}

void CKivListBox::addListEntry(const QString& name, int id) {
    for (CBoxItem& item : items) {
        item.selected = 0;
    }
    CBoxItem item;
    item.name = name;
    item.id = id;
    item.selected = 1;
    items.push_back(item);
    layoutRows();
    notifyOwner(kSelected, id);
}

void CKivListBox::deleteSelectedEntry() {
    const auto found = std::find_if(items.begin(), items.end(),
                                    [](const CBoxItem& item) { return item.selected != 0; });
    if (found == items.end()) {
        return;
    }
    const auto index = static_cast<std::size_t>(found - items.begin());
    notifyOwner(kDeleting, found->id);
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
    int chosen = 0;
    if (index < items.size()) {
        items[index].selected = 1;
        chosen = items[index].id;
    } else if (!items.empty()) {
        items[index - 1].selected = 1;
        chosen = items[index - 1].id;
    }
    layoutRows();
    notifyOwner(kSelected, chosen);
}

void CKivListBox::renameEntry(int id, const QString& name) {
    for (CBoxItem& item : items) {
        if (item.id == id && item.name != name) {
            item.name = name;
            update();
        }
    }
}

void CKivListBox::controlNotified(int id, int value) {
    if (id == kScrollBarId) {
        top = value;
        placeNameEditor();
        update();
    }
    // The name editor's text changes matter only when it is finished.
}

void CKivListBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (commitNewMacroName()) {
        return;
    }
    if (const int index = rowAt(event->position().toPoint()); index >= 0) {
        selectOnly(index);
    }
}

void CKivListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (const int index = rowAt(event->position().toPoint()); index >= 0) {
        selectOnly(index);
        notifyOwner(kSelected, items[static_cast<std::size_t>(index)].id);
    }
}

void CKivListBox::wheelEvent(QWheelEvent* event) {
    event->accept();
    if (scroll->isHidden()) {
        return;
    }
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0) {
        scroll->setPosition(top - notches * kWheelRows);
    }
}

void CKivListBox::resizeEvent(QResizeEvent* event) {
    CKivWidget::resizeEvent(event);
    layoutRows();
}

void CKivListBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!background.isNull()) {
        painter.drawImage(rect(), background.image());
    }
    const int textRight = scroll->isHidden() ? width() - 2 : scroll->x() - 2;
    painter.setClipRect(QRect(0, 0, textRight, height()));
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int last = std::min<int>(static_cast<int>(items.size()) - 1, top + visibleRows());
    for (int i = top; i <= last; ++i) {
        const CBoxItem& item = items[static_cast<std::size_t>(i)];
        QRect row = rowGeometry(i);
        row.setRight(std::min(row.right(), textRight - 1));
        painter.setPen(item.selected != 0 ? macroSelectedRowColor() : macroRowColor());
        painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(item.name, Qt::ElideRight, row.width()));
    }
}

}  // namespace orvane
