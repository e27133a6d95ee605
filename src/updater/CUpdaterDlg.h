#pragma once

#include <QString>
#include <filesystem>

#include "controls/CKivImageDialog.h"

class QLabel;

namespace orvane {
class CKivButton;
class CKivProgressCtrl;
}  // namespace orvane

namespace orvane::updater {

class UpdateSession;

// The update program's window, in the application's look: what the update
// will do, one button to do it, and then every step of it as a bar and a
// sentence. It will not close while the mouse is being written.
class CUpdaterDlg : public CKivImageDialog {
    Q_OBJECT
  public:
    // How the application started the program.
    enum class Start { UpdateDue, UpToDate };

    static constexpr int kActionId = 1;
    static constexpr int kCloseId = 2;
    static constexpr int kCloseBoxId = 3;

    // `image` is the firmware file the update writes; `newVersion` the
    // version its Config.ini states ("1.05"), `mouseVersion` the mouse's
    // now, either empty when unknown.
    CUpdaterDlg(UpdateSession& session, std::filesystem::path image, QWidget* parent = nullptr);

    void showStart(Start start, const QString& mouseVersion, const QString& newVersion);
    // Reads the image and hands it to the session; a refusal is shown as a
    // failure with its reason.
    void startUpdate();
    // One report of the update.
    void showReport(int status, int value);
    // Nothing was sent: `reason` says why.
    void showRefusal(const QString& reason);

    bool running() const;
    QString headline() const;
    QString explanation() const;
    QString warning() const;
    CKivButton* actionButton() const { return action; }
    CKivButton* closeButton() const { return closeNow; }
    CKivProgressCtrl* progressBar() const { return bar; }

    void controlClicked(int id) override;
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void buildControls();
    void setAction(const QString& caption);
    void setRunning(bool running);

    UpdateSession& session;
    std::filesystem::path imageFile;
    QLabel* title = nullptr;
    QLabel* head = nullptr;
    QLabel* body = nullptr;
    QLabel* note = nullptr;
    CKivProgressCtrl* bar = nullptr;
    CKivButton* action = nullptr;
    CKivButton* closeNow = nullptr;
    CKivButton* closeBox = nullptr;
};

}  // namespace orvane::updater
