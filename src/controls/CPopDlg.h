#pragma once

#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <string>

#include "controls/CKivImageDialog.h"
#include "platform/KeyboardHook.h"
#include "skins/SkinLayout.h"

namespace orvane {

class CKivButton;
class CKivComboButton;
class CKivStatic;

// The small modal questions of the application, each drawn entirely from its
// skin: the question is part of the background, so the dialog carries no text
// of its own. The variant number names the pop-up and its background part
// (see layout::popup). Results: 1 for OK, 2 for Cancel, Close and Escape; the
// surface-analysis pop-ups pass the result of the one they open on.
class CPopDlg : public CKivImageDialog {
    Q_OBJECT
  public:
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;

    static constexpr int kOkId = 1;
    static constexpr int kCancelId = 2;
    static constexpr int kCloseId = 3;

    static constexpr int kCountdownStart = 10;
    static constexpr std::chrono::milliseconds kCountdownTick{1000};
    static constexpr std::chrono::milliseconds kCountdownFinalPause{500};

    // Shows a failure to the user (text only; the caption and icon are the
    // application's). Tests replace it to count the messages.
    using MessageBox = std::function<void(QWidget* parent, const QString& text)>;
    // Opens the mouse and starts its surface analysis; false when no mouse
    // could be opened.
    using AnalysisStarter = std::function<bool()>;
    // Runs a nested pop-up modally and answers its result. Handed on to every
    // pop-up this one opens, so a test sees the whole chain.
    using ChildRunner = std::function<int(CPopDlg& child)>;

    CPopDlg(int variant, QWidget* parent = nullptr);
    ~CPopDlg() override;

    int variant() const { return popupVariant; }

    // The function button that receives the captured key (key capture only).
    void setTarget(CKivComboButton* button) { target = button; }
    // Where the key capture listens; without one the capture cannot start.
    void setKeyboardHook(KeyboardHook* hook) { keyboardHook = hook; }
    void setAnalysisStarter(AnalysisStarter starter) { analysisStarter = std::move(starter); }
    // What to say when the starter found no mouse it could open; by default
    // the mouse is missing.
    void setMissingMouseText(std::function<QString()> text) { missingMouseText = std::move(text); }

    void setMessageBox(MessageBox box) { messageBox = std::move(box); }
    void setChildRunner(ChildRunner runner) { childRunner = std::move(runner); }
    // The folder of the countdown pictures; empty means the skin folder.
    void setPictureFolder(const QString& folder) { pictureFolder = folder; }
    void setCountdownTiming(std::chrono::milliseconds tick, std::chrono::milliseconds finalPause);

    static const QString& hookFailedText();
    static const QString& mouseNotFoundText();
    // "Not found", or, when a mouse is plugged in at `unreadablePath` but may
    // not be opened, the message that says so and how to fix it.
    static QString mouseMissingText(const std::string& unreadablePath);
    // The application's way of showing a failure: caption "VELTRAC", exclamation.
    static void showWarning(QWidget* parent, const QString& text);
    // Puts a dialog over the middle of its parent's window, kept on the
    // parent's screen. Shared with the rename dialog.
    static void centreOnParent(QWidget& dialog);

    // The key last reported while capturing, or -1 before the first one.
    int capturedKey() const { return captured; }
    bool isCapturing() const { return subscription.active(); }

    CKivButton* okButton() const { return ok; }
    CKivButton* cancelButton() const { return cancel; }
    CKivButton* closeButton() const { return close; }
    CKivStatic* timeField() const { return time; }
    CKivStatic* imageField() const { return image; }

    void controlClicked(int id) override;
    void done(int result) override;
    void accept() override;
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void placeButton(CKivButton* button, int part, const layout::Rect& rect);
    void setUpCountdown();
    void setUpKeyCapture();
    void startKeyCapture();
    void keyReported(const KeyEvent& event);
    void countdownTick();
    void pressOk();
    void pressCancel();
    int runChild(int childVariant);
    void warn(const QString& text);

    CKivButton* ok;
    CKivButton* cancel;
    CKivButton* close;
    CKivStatic* time;
    CKivStatic* image;
    const int popupVariant;
    int captured = -1;
    CKivComboButton* target = nullptr;

    KeyboardHook* keyboardHook = nullptr;
    KeyboardSubscription subscription;
    bool captureTried = false;
    AnalysisStarter analysisStarter;
    std::function<QString()> missingMouseText;
    MessageBox messageBox;
    ChildRunner childRunner;
    QString pictureFolder;

    QTimer countdown;
    QTimer finalPause;
    int remaining = kCountdownStart;
    // Set once OK has started its work, so that a second press (a click in
    // the final pause, the pause itself) does not open a second pop-up.
    bool okRunning = false;
    bool finished = false;
};

}  // namespace orvane
