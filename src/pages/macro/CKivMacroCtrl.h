#pragma once

#include <QImage>
#include <QString>

#include "controls/CKivWidget.h"
#include "controls/ControlSink.h"
#include "macros/MacroCollection.h"
#include "macros/MacroEditorView.h"
#include "skins/SkinCache.h"

namespace orvane {

class CKivEdit;
class CKivMenu;
class CKivScrollCtrl;

// The step editor: the steps of the macro chosen in the list, one row each,
// with a context menu to insert mouse steps and delays, edit a delay and
// delete a step. It owns the user's macro collection. It tells its owner
// (kStartRecording, 1 or 2) when a start-record item is picked and
// (kStepsChanged, 0) after it changed the shown macro's steps.
class CKivMacroCtrl : public CKivWidget, public ControlSink, public MacroEditorView {
    Q_OBJECT
  public:
    static constexpr int kScrollBarId = 100;
    static constexpr int kDelayEditorId = 101;
    static constexpr int kStartRecording = 116;
    static constexpr int kStepsChanged = 117;
    static constexpr int kMenuId = 120;
    static constexpr int kRowHeight = 18;
    static constexpr int kFirstRowTop = 5;
    // Units on the right that the scroll bar covers; rows are not drawn there.
    static constexpr int kScrollBarBand = 24;

    // Context menu items.
    enum MenuItemId {
        kRecordBefore = 1,
        kRecordAfter = 2,
        kInsertMouseEvent = 3,
        kInsertDelay = 4,
        kEditDelay = 5,
        kDeleteStep = 6,
        kLeftButton = 7,
        kRightButton = 11,
        kMiddleButton = 15,
        kForwardButton = 19,
        kBackButton = 23,
        kScrollWheel = 27,
        kWheelDown = 28,
        kWheelUp = 29,
    };
    // Below each button item: Down, Up, Click at the item id + 1, 2, 3.
    static constexpr int kDownOffset = 1;
    static constexpr int kUpOffset = 2;
    static constexpr int kClickOffset = 3;

    explicit CKivMacroCtrl(QWidget* parent = nullptr, int controlId = 0);
    ~CKivMacroCtrl() override;

    void setBackground(const SkinImage& picture);

    MacroCollection& collection() { return macros; }
    const MacroCollection& collection() const { return macros; }
    CMacro* currentMacro() const { return macros.currentMacro; }

    // Shows the macro with this id, creating it under this name first when
    // the collection has none.
    void selectMacro(const QString& name, int id);
    void showNoMacro();
    // The shown macro's steps were replaced behind the editor's back.
    void stepsReplaced();

    // Opens the delay editor over the selected step.
    void openDelayEditor();
    // Takes the typed delay into the selected step; an empty field changes
    // nothing. False when the editor was not open.
    bool commitDelayEdit();
    bool isDelayEditOpen() const;
    CKivEdit* delayEditor() const { return delayEdit; }

    void setRecording(bool on) { recording = on; }
    bool isRecording() const { return recording; }
    // 0: recordings append; 1: they go after the selected step.
    int insertMode() const { return mode; }

    // Carries out a context-menu item as if it had been picked.
    void menuItemPicked(int item);
    CKivMenu* contextMenu() const { return menu; }
    CKivScrollCtrl* scrollBar() const { return scroll; }

    int topRow() const { return top; }
    int visibleRows() const;
    // Where step `index` is drawn now, in the editor's pixels.
    QRect rowGeometry(int index) const;
    // The step under a point, or -1.
    int stepAt(const QPoint& point) const;
    // Rows painted by the last paint, for checking that only visible rows are.
    int rowsPaintedLastTime() const { return lastPainted; }

    // MacroEditorView
    void scrollToRow(int index) override;
    void scrollToEnd(int lastIndex) override;
    void repaint() override;
    MacroRect clientRect() const override;

    void controlNotified(int id, int value) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void buildMenu();
    void selectStep(int index);
    int stepCount() const;
    void updateScrollBar();
    void setTop(int row);
    void placeDelayEditor();
    void insertMouseStep(std::uint8_t type, std::uint16_t code, std::uint8_t state);
    void stepsChanged();

    SkinImage background;
    MacroCollection macros;
    CKivMenu* menu = nullptr;
    CKivEdit* delayEdit = nullptr;
    CKivScrollCtrl* scroll;
    int mode = 0;
    bool recording = false;
    int top = 0;
    int lastPainted = 0;
};

}  // namespace orvane
