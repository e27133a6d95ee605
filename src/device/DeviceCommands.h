#pragma once

#include <cstdint>

#include "device/DeviceLink.h"
#include "protocol/image/DeviceImage.h"

namespace orvane {

// Results of the application's device commands.
inline constexpr int kCommandDone = 1;
inline constexpr int kCommandFailed = 4;
inline constexpr int kReplyUnreadable = 2;  // the upload only

// The commands of the configuration application. None opens the device: the
// callers do that first. Each holds the link's lock for its whole exchange,
// pauses included, because the mouse needs the pause before it answers.

// The slot (0..4) the mouse is using; `slot` changes only on success.
int readCurrentProfile(DeviceLink& link, std::uint8_t& slot);
// Makes slot 0..4 the active one.
int selectProfile(DeviceLink& link, std::uint8_t slot);
// Writes half 0 (image bytes 0..1023) or half 1 of a device image into the
// image's own slot (its byte 0). 1, 4 when the send failed, 2 when the reply
// could not be read; the reply's status is not the device's verdict here.
int writeImageHalf(DeviceLink& link, const DeviceImage& image, std::uint8_t half);
int startSurfaceAnalysis(DeviceLink& link);
// The quality value of the running analysis, whatever the reply's status;
// `quality` is left alone when the request could not be sent (result 4).
int readSurfaceQuality(DeviceLink& link, std::uint8_t& quality);

// Writes both halves of the image under one hold of the link: 1, or the
// first half's failure (4 or 2); when the second half fails, the first has
// already been written.
int uploadImage(DeviceLink& link, const DeviceImage& image);
// buildDeviceImage(profile), then uploadImage.
int uploadProfile(DeviceLink& link, const MouseProfile& profile);

}  // namespace orvane
