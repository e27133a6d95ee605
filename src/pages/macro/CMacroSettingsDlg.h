#pragma once

#include <QImage>
#include <QString>
#include <filesystem>
#include <functional>

#include "pages/PageInterfaces.h"
#include "pages/SettingsPage.h"
#include "pages/macro/MacroRecorder.h"
#include "skins/SkinCache.h"

namespace orvane {

class CKivButton;
class CKivCheckBox;
class CKivListBox;
class CKivMacroCtrl;
class CKivStatic;
class CPopDlg;
class MacroMemoryGauge;

// The "Macro Settings" page: the list of macro names, the step editor that
// owns the user's macros, the recorder that turns keys typed anywhere on the
// desktop into steps, and a gauge of the mouse's macro memory.
class CMacroSettingsDlg final : public SettingsPage,
                                public MacroStore,
                                public RecordWatcher,
                                public RecordingState {
  public:
    // Control identifiers; the list and the editor report under the
    // notification numbers of their own classes.
    static constexpr int kListId = 300;
    static constexpr int kEditorId = 301;
    static constexpr int kNewMacroId = 310;
    static constexpr int kDeleteId = 311;
    static constexpr int kRecordDelayId = 312;
    static constexpr int kRecordHoldId = 313;
    static constexpr int kStartRecordId = 314;
    static constexpr int kStopRecordId = 315;
    static constexpr int kNoteId = 316;
    static constexpr int kGaugeId = 317;

    // Runs a pop-up modally and answers its result; tests answer for the user.
    using PopupRunner = std::function<int(CPopDlg& popup)>;
    // Shows a failure to the user; tests count them.
    using MessageBox = std::function<void(QWidget* parent, const QString& text)>;

    CMacroSettingsDlg(const PageServices& services, QWidget* parent);
    ~CMacroSettingsDlg() override;

    MacroCollection& macroCollection() override;
    void loadMacros(const std::filesystem::path& folder) override;
    bool saveMacros() override;
    void setMacroRemovedHandler(std::function<void()> handler) override;

    void setRecordSource(std::function<const MouseProfile&()> current) override;
    void recordChanged() override;

    bool isRecording() const override;

    // ----- what the user does, also the tests' entry points -----
    void newMacro();
    void deleteMacro();
    // From "Start Record" (the macro is recorded anew, the boxes are locked)
    // or from the step editor's menu (steps go in at the selected one).
    void startRecording(bool fromButton);
    void stopRecording();

    void setPopupRunner(PopupRunner runner) { popupRunner = std::move(runner); }
    void setMessageBox(MessageBox box) { messageBox = std::move(box); }

    static const QString& startHookFailedText();

    CKivListBox* macroList() const { return list; }
    CKivMacroCtrl* stepEditor() const { return editor; }
    CKivButton* newMacroButton() const { return newButton; }
    CKivButton* deleteButton() const { return removeButton; }
    CKivCheckBox* recordDelayBox() const { return delayBox; }
    CKivCheckBox* recordHoldBox() const { return holdBox; }
    CKivButton* startRecordButton() const { return startButton; }
    CKivButton* stopRecordButton() const { return stopButton; }
    MacroMemoryGauge* memoryGauge() const { return gauge; }
    // The line under the recording buttons: why recording is unavailable or
    // stopped, and macro files that could not be read.
    QString noteText() const;

    void controlNotified(int id, int value) override;
    void controlClicked(int id) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void macroSelected();
    void recordKey(const RecordedKey& key);
    void recordingLost();
    void refreshGauge();
    void updateNote();
    void updateBoxFaces();
    void explainMissingHook();

    CKivListBox* list = nullptr;
    CKivMacroCtrl* editor = nullptr;
    CKivButton* newButton = nullptr;
    CKivButton* removeButton = nullptr;
    CKivCheckBox* delayBox = nullptr;
    CKivCheckBox* holdBox = nullptr;
    CKivButton* startButton = nullptr;
    CKivButton* stopButton = nullptr;
    CKivStatic* note = nullptr;
    MacroMemoryGauge* gauge = nullptr;

    // A box's looks, with one for being locked while ticked.
    struct BoxFaces {
        SkinImage unticked, over, ticked, locked, lockedTicked;
    };
    BoxFaces delayFaces;
    BoxFaces holdFaces;

    MacroRecorder recorder;
    PopupRunner popupRunner;
    MessageBox messageBox;
    std::function<void()> macroRemoved;
    std::function<const MouseProfile&()> currentRecord;
    bool loaded = false;
    QString recordingProblem;
    QString loadProblem;
};

}  // namespace orvane
