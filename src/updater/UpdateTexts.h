#pragma once

#include <QString>

#include "protocol/FirmwareImage.h"

namespace orvane::updater {

// Every text the update program shows, in one place.
namespace texts {

inline constexpr const char* kTitle = "ORVANE PRO firmware updater";
inline constexpr const char* kUpdateNow = "Update now";
inline constexpr const char* kReflash = "Write again";
inline constexpr const char* kTryAgain = "Try again";
inline constexpr const char* kClose = "Close";
inline constexpr const char* kDoNotUnplug =
    "Do not unplug the mouse or close this window until the update has finished.";
inline constexpr const char* kCannotCloseNow =
    "Please wait: the mouse is being written. Closing now could leave it without firmware.";

}  // namespace texts

// The headline and explanation of a window started with "1" (an update is
// due) or "2" (the mouse is up to date); versions as "1.05", or empty when
// unknown.
QString dueHeadline();
QString dueExplanation(const QString& mouseVersion, const QString& newVersion);
QString upToDateHeadline();
QString upToDateExplanation(const QString& mouseVersion, const QString& newVersion);

// What the user reads for one report of the update (a status of the
// library's progress callback and its value), in plain language; for a
// failure, with what to do next.
QString statusHeadline(int status, int value);
QString statusText(int status, int value);
bool isFinalStatus(int status);

// Why an image is not sent to the mouse at all.
QString imageRefusedText(FirmwareImageCheck check, const QString& file, qint64 size);
QString imageUnreadableText(const QString& file, const QString& reason);
QString libraryMissingText(const QString& reason);
QString anotherUpdateText(const QString& reason);

}  // namespace orvane::updater
