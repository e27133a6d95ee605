#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <string>

#include "pages/PageInterfaces.h"
#include "pages/SettingsPage.h"

namespace orvane {

class CKivButton;
class CKivStatic;
class CPopDlg;

// The "Support" page: software and firmware versions, the support site's
// pages, and the firmware-update program in the update folder.
class CSupportDlg final : public SettingsPage, public FirmwareVersionView, public SupportPageStart {
  public:
    // Control identifiers.
    static constexpr int kSoftVersionId = 500;
    static constexpr int kFirmVersionId = 501;
    static constexpr int kOnlineSupportId = 502;
    static constexpr int kCheckUpdatesId = 503;
    static constexpr int kFaqId = 504;
    static constexpr int kCheckFirmwareId = 505;

    // The update program's argument: an update is due, or the mouse is up
    // to date.
    static constexpr const char* kUpdateDueArgument = "1";
    static constexpr const char* kUpToDateArgument = "2";

    // Runs the update question modally and answers its result; tests answer
    // for the user.
    using PopupRunner = std::function<int(CPopDlg& popup)>;

    CSupportDlg(const PageServices& services, QWidget* parent);

    // Shows the mouse's firmware version and, when the mouse needs an update,
    // asks whether to start the update program now.
    void initSupportPage(std::function<void()> exitApplication) override;
    void setFirmwareVersionText(const QString& text) override;

    // "Check Firmware": starts the update program, saying whether an update
    // is due; does nothing without a mouse.
    void checkFirmware();
    // The web buttons: hands the address to the desktop's browser.
    void openSupportUrl(const std::string& url);

    // The support site's pages.
    static std::string onlineSupportUrl();
    static std::string checkUpdatesUrl();
    static std::string faqUrl();

    // The update folder and its two files, for the application's folder.
    std::filesystem::path updateFolder() const;
    std::filesystem::path updateProgram() const;
    std::filesystem::path updateConfig() const;

    void setPopupRunner(PopupRunner runner) { popupRunner = std::move(runner); }

    CKivStatic* softVersionText() const { return softVersion; }
    CKivStatic* firmVersionText() const { return firmVersion; }
    CKivButton* onlineSupportButton() const { return onlineSupport; }
    CKivButton* checkUpdatesButton() const { return checkUpdates; }
    CKivButton* faqButton() const { return faq; }
    CKivButton* checkFirmwareButton() const { return checkFirmwareBox; }

    void controlClicked(int id) override;

  private:
    void buildControls();
    // Opens the mouse when it is not open yet; false when there is none.
    bool reachMouse();
    bool updateDue() const;
    void startUpdateProgram(bool due);

    CKivStatic* softVersion = nullptr;
    CKivStatic* firmVersion = nullptr;
    CKivButton* onlineSupport = nullptr;
    CKivButton* checkUpdates = nullptr;
    CKivButton* faq = nullptr;
    CKivButton* checkFirmwareBox = nullptr;
    PopupRunner popupRunner;
};

}  // namespace orvane
