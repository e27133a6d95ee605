#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "controls/CKivWidget.h"
#include "controls/ControlSink.h"
#include "pages/macro/CBoxItem.h"
#include "skins/SkinCache.h"

namespace orvane {

class CKivEdit;
class CKivScrollCtrl;

// The macro-name list: one row per macro, new names typed in place. It tells
// its owner (kSelected, id) when a row is chosen, 0 when none is left, and
// (kDeleting, id) just before a row goes.
class CKivListBox : public CKivWidget, public ControlSink {
    Q_OBJECT
  public:
    static constexpr int kScrollBarId = 100;
    static constexpr int kNameEditorId = 101;
    static constexpr int kSelected = 103;
    static constexpr int kDeleting = 104;
    static constexpr int kRowHeight = 18;
    static constexpr int kFirstRowTop = 5;
    // New ids start above the numbers of the built-in button functions.
    static constexpr int kFirstMacroId = 16;

    explicit CKivListBox(QWidget* parent = nullptr, int controlId = 0);

    void setBackground(const SkinImage& picture);
    CKivScrollCtrl* scrollBar() const { return scroll; }

    // Opens the name editor on a new row below the last; when it is open
    // already, finishes it instead.
    void beginNewMacroName();
    // Finishes the name editor: a typed name becomes a new selected row (made
    // unique), an empty one creates nothing. False when it was not open.
    bool commitNewMacroName();
    bool isNamingOpen() const;
    // Null until the first new name.
    CKivEdit* nameEditor() const { return editor; }

    // A row for a macro that already exists; selected and announced.
    void addListEntry(const QString& name, int id);
    // Removes the selected row, announcing it first, and selects a neighbour.
    void deleteSelectedEntry();
    // Shows the names the rows' macros carry now.
    void renameEntry(int id, const QString& name);

    const std::vector<CBoxItem>& rows() const { return items; }
    // The first selected row, or null.
    const CBoxItem* selectedRow() const;
    int nextId() const;

    // Index of the topmost row shown.
    int topRow() const { return top; }
    // Rows that fit whole into the list.
    int visibleRows() const;
    // The row under a point of the list, or -1.
    int rowAt(const QPoint& point) const;
    // Where row `index` is drawn now.
    QRect rowGeometry(int index) const;

    void controlNotified(int id, int value) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void layoutRows();
    void selectOnly(int index);
    void scrollTo(int row);
    void updateScrollBar(int rowCount);
    void placeNameEditor();
    QString uniqueName(QString name) const;

    SkinImage background;
    CKivEdit* editor = nullptr;
    CKivScrollCtrl* scroll;
    std::vector<CBoxItem> items;
    int top = 0;
};

}  // namespace orvane
