#include "pages/support/CSupportDlg.h"

#include "controls/CKivButton.h"
#include "controls/CKivStatic.h"
#include "controls/CPopDlg.h"
#include "device/DeviceLink.h"
#include "platform/AppPaths.h"
#include "platform/Shell.h"
#include "platform/UpdateFolder.h"
#include "skins/SkinCache.h"
#include "skins/SkinFaces.h"
#include "skins/SkinLayout.h"
#include "version/Version.h"

namespace orvane {

namespace {

namespace sp = layout::supportpage;

constexpr const char* kNoMouseText = "-.--";

QImage piece(int part, const layout::Rect& rect) {
    return skinPart(part, layout::kStateNormal, toQRect(rect)).toImage();
}

}  // namespace

CSupportDlg::CSupportDlg(const PageServices& services, QWidget* parent)
    : SettingsPage(PageKind::Support, services, parent),
      popupRunner([](CPopDlg& popup) { return popup.exec(); }) {
    buildControls();
}

void CSupportDlg::buildControls() {
    const auto makeText = [this](int id, int part, const layout::Rect& rect) {
        auto* text = new CKivStatic(this, id);
        text->setGeometry(toQRect(rect));
        text->setBackground(piece(part, rect));
        return text;
    };
    softVersion = makeText(kSoftVersionId, sp::kPartSoftVersionText, sp::kSoftVersionText);
    softVersion->setText(QString::fromLatin1(kSoftwareVersionText));
    firmVersion = makeText(kFirmVersionId, sp::kPartFirmVersionText, sp::kFirmVersionText);
    firmVersion->setText(QString::fromLatin1(kNoMouseText));

    const auto makeButton = [this](int id, int part, const layout::Rect& rect) {
        auto* button = new CKivButton(this, id);
        button->setGeometry(toQRect(rect));
        const SkinFaces faces = skinFaces(part, rect);
        button->setImages(faces.normal, faces.over, faces.down, faces.disabled);
        return button;
    };
    onlineSupport =
        makeButton(kOnlineSupportId, sp::kPartOnlineSupportButton, sp::kOnlineSupportButton);
    checkUpdates =
        makeButton(kCheckUpdatesId, sp::kPartCheckUpdatesButton, sp::kCheckUpdatesButton);
    faq = makeButton(kFaqId, sp::kPartFaqButton, sp::kFaqButton);
    checkFirmwareBox =
        makeButton(kCheckFirmwareId, sp::kPartCheckFirmwareButton, sp::kCheckFirmwareButton);
}

// ----- versions and the update program -----

void CSupportDlg::setFirmwareVersionText(const QString& text) {
    firmVersion->setText(text);
}

bool CSupportDlg::reachMouse() {
    DeviceLink* link = services().link;
    return link != nullptr && link->openDeviceIfClosed() == 1;
}

std::filesystem::path CSupportDlg::updateFolder() const {
    const AppPaths* paths = services().paths;
    return updateFolderFor(paths != nullptr ? paths->programFolder() : std::filesystem::path());
}

std::filesystem::path CSupportDlg::updateProgram() const {
    return updateFolder() / kUpdaterProgramName;
}

std::filesystem::path CSupportDlg::updateConfig() const {
    return updateFolder() / kUpdateConfigName;
}

bool CSupportDlg::updateDue() const {
    return firmwareUpdateDue(services().link->firmwareVersionValue(),
                             readConfiguredFirmwareVersion(updateConfig()));
}

void CSupportDlg::startUpdateProgram(bool due) {
    // A program that cannot be started gives no message: the update
    // program itself is where the user learns about updates.
    if (Shell* shell = services().shell) {
        shell->startProgram(updateProgram(), {due ? kUpdateDueArgument : kUpToDateArgument});
    }
}

void CSupportDlg::initSupportPage(std::function<void()> exitApplication) {
    if (!reachMouse()) {
        setFirmwareVersionText(QString::fromLatin1(kNoMouseText));
        return;
    }
    setFirmwareVersionText(QString::fromStdString(firmwareVersionText(*services().link)));
    if (!updateDue()) {
        return;
    }
    CPopDlg question(layout::popup::kUpdateWarn, window());
    if (popupRunner(question) == CPopDlg::kResultOk) {
        startUpdateProgram(true);
    } else if (exitApplication) {
        // Declining the update ends the application, but the normal way:
        // the tray icon goes and the files are saved as on "Exit".
        exitApplication();
    }
}

void CSupportDlg::checkFirmware() {
    if (!reachMouse()) {
        return;
    }
    startUpdateProgram(updateDue());
}

// ----- the support site -----

std::string CSupportDlg::onlineSupportUrl() {
    return std::string(ORVANE_SUPPORT_SITE) + "/home";
}

std::string CSupportDlg::checkUpdatesUrl() {
    return std::string(ORVANE_SUPPORT_SITE) +
           "/hc/en-us/categories/201849106-Software-Manual-downloads";
}

std::string CSupportDlg::faqUrl() {
    return std::string(ORVANE_SUPPORT_SITE) + "/categories/20013662-frequently-asked-questions";
}

void CSupportDlg::openSupportUrl(const std::string& url) {
    // The shell only hands the address over; the browser starts on its own,
    // so the page never waits for it.
    if (Shell* shell = services().shell) {
        shell->openWebPage(url);
    }
}

void CSupportDlg::controlClicked(int id) {
    switch (id) {
        case kOnlineSupportId:
            openSupportUrl(onlineSupportUrl());
            break;
        case kCheckUpdatesId:
            openSupportUrl(checkUpdatesUrl());
            break;
        case kFaqId:
            openSupportUrl(faqUrl());
            break;
        case kCheckFirmwareId:
            checkFirmware();
            break;
        default:
            break;
    }
}

}  // namespace orvane
