#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "pages/PageKind.h"
#include "pages/PageServices.h"

namespace orvane {

// Everything the main window asks of the world outside it that a test wants
// to answer itself: the pages, the modal questions and the message boxes.
// Empty members take the real thing (CreateMainWindowDefaults fills them).
struct MainWindowServices {
    // Creates one page as a child of `parent`.
    std::function<QWidget*(PageKind kind, const PageServices& services, QWidget* parent)>
        createPage;
    // A warning message box owned by the main window.
    std::function<void(QWidget* owner, const QString& text)> warn;
    // A pop-up of the given variant; 1 for OK, 2 otherwise.
    std::function<int(QWidget* owner, int variant)> popup;
    // The rename dialog for slot 1..5: the accepted name, or none.
    std::function<std::optional<QString>(QWidget* owner, int slotNumber)> rename;
    // File dialogs: the chosen path, or empty.
    std::function<QString(QWidget* owner, const QString& folder, const QString& proposedName)>
        chooseExportFile;
    std::function<QString(QWidget* owner, const QString& folder)> chooseImportFile;
    // Whether an existing file may be replaced; true to replace it.
    std::function<bool(QWidget* owner, const QString& path)> confirmOverwrite;
    // Whether the desktop shows notification-area icons right now.
    std::function<bool()> trayAvailable;
};

// The production services: the settings pages of the page factory, QMessageBox, the
// skinned pop-ups and rename dialog, QFileDialog, QSystemTrayIcon. Members
// already set are kept.
MainWindowServices withDefaultServices(MainWindowServices services);

}  // namespace orvane
