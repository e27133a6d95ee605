#include "app/ApplyRunner.h"

#include "device/DeviceCommands.h"
#include "profile/ProfileFile.h"
#include "protocol/image/DeviceImage.h"

namespace orvane {

ApplyRunner::ApplyRunner(DeviceLink& deviceLink) : link(deviceLink) {}

void ApplyRunner::start(ApplyRequest request, Done done) {
    workers.start([this, request = std::move(request), done = std::move(done)] {
        const ApplyOutcome outcome = run(request);
        if (done) {
            done(outcome);
        }
    });
}

ApplyOutcome ApplyRunner::run(const ApplyRequest& request) {
    std::lock_guard guard(applyLock);
    ApplyOutcome outcome;
    outcome.slot = request.slot < request.records.size() ? request.slot : 0;

    // The files first: they are saved even when no mouse is there.
    for (std::size_t slot = 0; slot < request.records.size(); ++slot) {
        const MouseProfile& profile = request.records[slot];
        if (!saveProfile(profile.filePath, profile)) {
            outcome.unsavedSlots.push_back(slot);
        }
    }

    if (link.openDeviceIfClosed() != 1) {
        outcome.unreadablePath = link.unreadablePath();
        link.closeDevice();
        return outcome;
    }
    outcome.mouseFound = true;

    DeviceImage image = buildDeviceImage(request.records[outcome.slot]);
    outcome.shortenedMacroButtons = image.shortenedMacroButtons;
    outcome.cutMacroDelays = image.cutMacroDelays;
    // The image names its slot in byte 0 and the mouse files it there; a
    // record whose slot index is out of range is written to the slot it is
    // selected in, never to one the mouse does not have.
    image.bytes[kSlotIndexOffset] = static_cast<std::uint8_t>(outcome.slot);
    outcome.uploadResult = uploadImage(link, image);
    outcome.selectResult = selectProfile(link, static_cast<std::uint8_t>(outcome.slot));
    return outcome;
}

}  // namespace orvane
