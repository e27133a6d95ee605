#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QSystemTrayIcon>
#include <memory>

#include "controls/ControlSink.h"

namespace orvane {

class AutostartEntry;
class CKivMenu;

// The icon in the notification area: a left click asks for the main window, a
// right click opens the skinned menu with its bottom-right corner at
// the cursor, or on whichever side of the cursor the screen has room for it
// (a panel along the top or the left edge).
class TrayIcon : public QObject, public ControlSink {
    Q_OBJECT
  public:
    static constexpr int kTrayMenuId = 0x7EB;
    static constexpr int kConfigMouseItem = 100;
    static constexpr int kExitItem = 101;
    static constexpr int kAutostartItem = 102;

    explicit TrayIcon(const QIcon& icon, QObject* parent = nullptr);
    // Offers "Start with the desktop" in the menu, switching this entry;
    // without one the menu has no such item.
    void setAutostartEntry(const AutostartEntry* entry) { autostart = entry; }
    ~TrayIcon() override;

    void show();
    bool isVisible() const { return icon.isVisible(); }
    QString toolTip() const { return icon.toolTip(); }

    // Opens the menu (created on first use) beside `cursor`, in global
    // coordinates: above and to the left of it where the screen allows.
    void openMenu(const QPoint& cursor);
    // Null until the menu was first opened.
    CKivMenu* menu() const { return trayMenu.get(); }

    void controlNotified(int id, int value) override;

  signals:
    void showRequested();
    void exitRequested();
    // Switching the autostart entry failed; `text` says why.
    void failed(const QString& text);

  private:
    void activated(QSystemTrayIcon::ActivationReason reason);

    void toggleAutostart();

    QSystemTrayIcon icon;
    std::unique_ptr<CKivMenu> trayMenu;
    const AutostartEntry* autostart = nullptr;
};

// The application's icon, drawn rather than shipped, so that window, tray and
// desktop file show the same picture at every size.
QIcon applicationIcon();

}  // namespace orvane
