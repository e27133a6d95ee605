#include "app/MainWindowServices.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QSystemTrayIcon>

#include "app/AppTexts.h"
#include "app/PageFactory.h"
#include "controls/CPopDlg.h"
#include "controls/CRenameDlg.h"

namespace orvane {

namespace {

void showWarning(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(texts::kMessageCaption), text,
                    QMessageBox::Ok, owner);
    box.exec();
}

int runPopup(QWidget* owner, int variant) {
    CPopDlg dialog(variant, owner);
    return dialog.exec();
}

std::optional<QString> runRename(QWidget* owner, int slotNumber) {
    CRenameDlg dialog(slotNumber, owner);
    if (dialog.exec() != 1) {
        return std::nullopt;
    }
    return dialog.name();
}

QString chooseExport(QWidget* owner, const QString& folder, const QString& proposedName) {
    return QFileDialog::getSaveFileName(owner, QString::fromLatin1(texts::kMenuExport),
                                        folder + QLatin1Char('/') + proposedName,
                                        QString::fromLatin1(texts::kProfileFilter));
}

QString chooseImport(QWidget* owner, const QString& folder) {
    return QFileDialog::getOpenFileName(owner, QString::fromLatin1(texts::kMenuImport), folder,
                                        QString::fromLatin1(texts::kProfileFilter));
}

bool askOverwrite(QWidget* owner, const QString& path) {
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(texts::kMessageCaption),
                    QString::fromLatin1(texts::kReplaceFile).arg(path),
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace

MainWindowServices withDefaultServices(MainWindowServices services) {
    if (!services.createPage) {
        services.createPage = createSettingsPage;
    }
    if (!services.warn) {
        services.warn = showWarning;
    }
    if (!services.popup) {
        services.popup = runPopup;
    }
    if (!services.rename) {
        services.rename = runRename;
    }
    if (!services.chooseExportFile) {
        services.chooseExportFile = chooseExport;
    }
    if (!services.chooseImportFile) {
        services.chooseImportFile = chooseImport;
    }
    if (!services.confirmOverwrite) {
        services.confirmOverwrite = askOverwrite;
    }
    if (!services.trayAvailable) {
        services.trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    }
    return services;
}

}  // namespace orvane
