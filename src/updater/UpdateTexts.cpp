#include "updater/UpdateTexts.h"

#include "Orvane_pro_dll.h"

namespace orvane::updater {

namespace {

QString versionText(int value) {
    return QString::fromStdString(firmwareVersionText(static_cast<unsigned>(value)));
}

QString orUnknown(const QString& version) {
    return version.isEmpty() ? QStringLiteral("an unknown version") : version;
}

}  // namespace

QString dueHeadline() {
    return QStringLiteral("A firmware update is ready for your mouse");
}

QString dueExplanation(const QString& mouseVersion, const QString& newVersion) {
    return QStringLiteral(
               "Your ORVANE PRO mouse runs firmware %1; this program brings firmware %2. "
               "The update takes less than a minute. The mouse does not work as a mouse "
               "while it is being written, and must stay plugged in until the update has "
               "finished.")
        .arg(orUnknown(mouseVersion), orUnknown(newVersion));
}

QString upToDateHeadline() {
    return QStringLiteral("Your mouse is up to date");
}

QString upToDateExplanation(const QString& mouseVersion, const QString& newVersion) {
    return QStringLiteral(
               "Your ORVANE PRO mouse runs firmware %1; this program brings firmware %2. "
               "There is nothing to update. If the mouse misbehaves, you can write firmware "
               "%2 into it again; keep it plugged in while it is being written.")
        .arg(orUnknown(mouseVersion), orUnknown(newVersion));
}

bool isFinalStatus(int status) {
    return status == ORVANE_FW_DONE ||
           (status >= ORVANE_FW_NO_IMAGE && status <= ORVANE_FW_NOT_BACK);
}

QString statusHeadline(int status, int value) {
    (void)value;
    if (status == ORVANE_FW_DONE) {
        return QStringLiteral("The update has finished");
    }
    if (isFinalStatus(status)) {
        return QStringLiteral("The update did not succeed");
    }
    return QStringLiteral("Updating the firmware");
}

QString statusText(int status, int value) {
    switch (status) {
        case ORVANE_FW_PROGRESS:
            if (value <= 1) {
                return QStringLiteral("Looking for the mouse and switching it to its update mode…");
            }
            if (value == 3) {
                return QStringLiteral("The mouse is in its update mode.");
            }
            if (value >= 100) {
                return QStringLiteral(
                    "The mouse has checked the new firmware and is restarting with it…");
            }
            if (value == 4) {
                return QStringLiteral("Writing the new firmware into the mouse…");
            }
            return QStringLiteral("Writing the new firmware into the mouse: %1 %.").arg(value);
        case ORVANE_FW_DONE:
            return QStringLiteral(
                       "Your mouse now runs firmware %1 and works as before. You can close "
                       "this window.")
                .arg(versionText(value));
        case ORVANE_FW_NO_IMAGE:
            return QStringLiteral(
                "There was no firmware to write: the firmware file is empty or too large. "
                "Nothing was sent to the mouse. Reinstall the ORVANE PRO software to get a "
                "sound firmware file.");
        case ORVANE_FW_SWITCH_REFUSED:
            return QStringLiteral(
                "The mouse refused to switch to its update mode; its firmware is unchanged "
                "and it still works. Unplug it, plug it back in, wait a few seconds and press "
                "\"Try again\".");
        case ORVANE_FW_NO_BOOT_LOADER:
            return QStringLiteral(
                "The mouse did not show up in its update mode. Unplug it, plug it back in "
                "and press \"Try again\": the update picks up the mouse in whichever mode it "
                "is.");
        case ORVANE_FW_INFO_REFUSED:
            return QStringLiteral(
                "The mouse's update mode did not accept the firmware's description. The "
                "mouse stays in its update mode: press \"Try again\". If that fails too, "
                "unplug the mouse, plug it back in and try once more.");
        case ORVANE_FW_BLOCK_FAILED:
            return QStringLiteral(
                       "Writing stopped at %1 %. The mouse stays in its update mode and does "
                       "not work as a mouse until an update succeeds. Make sure it is "
                       "plugged in (plug it back in if it was pulled) and press \"Try "
                       "again\".")
                .arg(value);
        case ORVANE_FW_IMAGE_REJECTED:
            return QStringLiteral(
                "The mouse received the firmware but found it damaged, and did not take it. "
                "It stays in its update mode: press \"Try again\". If it fails again, "
                "reinstall the ORVANE PRO software to get a sound firmware file.");
        case ORVANE_FW_NO_MOUSE:
            return QStringLiteral(
                "No ORVANE PRO mouse was found, neither as a mouse nor in its update mode. "
                "Plug the mouse in, wait a few seconds and press \"Try again\".");
        case ORVANE_FW_NOT_BACK:
            return QStringLiteral(
                "The mouse took the new firmware but has not come back within 30 seconds. "
                "Unplug it and plug it back in. If it then works and the Support page shows "
                "the new version, all is well; if not, press \"Try again\".");
        default:
            return QStringLiteral("The update reported status %1 (%2).").arg(status).arg(value);
    }
}

QString imageRefusedText(FirmwareImageCheck check, const QString& file, qint64 size) {
    switch (check) {
        case FirmwareImageCheck::Empty:
            return QStringLiteral(
                       "The firmware file \"%1\" is empty. Nothing was sent to the mouse. "
                       "Reinstall the ORVANE PRO software to get a sound firmware file.")
                .arg(file);
        case FirmwareImageCheck::TooLarge:
            return QStringLiteral(
                       "The firmware file \"%1\" holds %2 bytes, but the mouse takes at most "
                       "%3 bytes (%4 blocks of %5). It is not a firmware for this mouse; "
                       "nothing was sent to it.")
                .arg(file)
                .arg(size)
                .arg(kFirmwareBlockBytes * kFirmwareMaxBlocks)
                .arg(kFirmwareMaxBlocks)
                .arg(kFirmwareBlockBytes);
        case FirmwareImageCheck::NotForThisMouse:
            return QStringLiteral(
                       "The file \"%1\" is not a firmware for the ORVANE PRO mouse: it lacks "
                       "the mark every firmware of this mouse starts with. Nothing was sent "
                       "to the mouse.")
                .arg(file);
        case FirmwareImageCheck::Fits:
            break;
    }
    return {};
}

QString imageUnreadableText(const QString& file, const QString& reason) {
    return QStringLiteral(
               "The firmware file \"%1\" cannot be read (%2). Nothing was sent to "
               "the mouse. Reinstall the ORVANE PRO software.")
        .arg(file, reason);
}

QString libraryMissingText(const QString& reason) {
    return QStringLiteral("%1 Nothing was sent to the mouse. Reinstall the ORVANE PRO software.")
        .arg(reason);
}

QString anotherUpdateText(const QString& reason) {
    return QStringLiteral(
               "The update cannot start: %1. Wait until it has finished, then try "
               "again.")
        .arg(reason);
}

}  // namespace orvane::updater
