// A hostile mouse: whatever it lists, answers, fails or reports, every export
// of the device-control library and every command of the application's
// device link comes back (no crash, no hang, nothing read or written outside
// the caller's buffers), and a capture hands its callback no more bytes than
// it has.
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

#include "FuzzInput.h"
#include "HostileHid.h"
#include "device/DeviceCommands.h"
#include "device/DeviceLink.h"
#include "devlib/Capture.h"
#include "devlib/Commands.h"
#include "devlib/FirmwareUpdate.h"
#include "devlib/Transport.h"
#include "platform/FakeClock.h"
#include "profile/MouseProfile.h"
#include "protocol/CommandCodes.h"

namespace {

using namespace orvane;
using fuzz::FuzzInput;

// The callbacks are plain C functions, so what they see is kept here.
volatile std::uint8_t gSink = 0;
std::mutex gProgressMutex;
std::condition_variable gProgressChanged;
bool gUpdateFinished = false;

// Reads every byte the library says it handed over: an address sanitizer
// stops at the first one past the buffer.
void ORVANE_STDCALL onCapture(std::uint8_t* kind, std::uint8_t* data, std::int32_t* value) {
    std::uint8_t sum = *kind;
    if (*kind == button_entry::kRunProgram || *kind == button_entry::kOpenWebPage) {
        for (std::int32_t i = 0; i < *value; ++i) {
            sum = static_cast<std::uint8_t>(sum + data[i]);
        }
    } else {
        sum = static_cast<std::uint8_t>(sum + *data);
    }
    gSink = sum;
}

void ORVANE_STDCALL onProgress(std::uint8_t* status, std::int32_t*) {
    if (*status != ORVANE_FW_PROGRESS) {
        std::lock_guard guard(gProgressMutex);
        gUpdateFinished = true;
        gProgressChanged.notify_all();
    }
}

template <typename Record>
Record recordFrom(FuzzInput& input) {
    Record record{};
    const auto bytes = input.take(std::min<std::size_t>(input.byte(), sizeof record));
    std::memcpy(&record, bytes.data(), bytes.size());
    return record;
}

void runLibraryCommand(std::uint8_t which, devlib::LibraryCore& core, FuzzInput& input) {
    using namespace orvane::devlib;
    const std::int32_t profile = input.smallOrAny(7);
    std::int16_t status = 0;
    std::uint16_t version = 0;
    std::uint8_t value = 0;
    switch (which % 24) {
        case 0:
            openApplicationDevice(core);
            break;
        case 1:
            openBootLoaderDevice(core);
            break;
        case 2:
            openCompliantDevice(core);
            break;
        case 3:
            closeCommandDevice(core);
            break;
        case 4:
            getDeviceStatus(core, &status);
            break;
        case 5:
            getFirmwareVersion(core, &version);
            break;
        case 6:
            getBootLoaderVersion(core, &version);
            break;
        case 7:
            setPollingRate(core, profile, input.smallOrAny(9));
            break;
        case 8:
            setResponseTime(core, profile, input.smallOrAny(40));
            break;
        case 9:
            setLiftOff(core, profile, input.smallOrAny(4));
            break;
        case 10:
            setAngleSnapping(core, profile, input.smallOrAny(3));
            break;
        case 11:
            setDpiSettings(core, profile, recordFrom<DpiBlock>(input));
            break;
        case 12: {
            const std::int32_t polling = input.smallOrAny(9);
            const std::int32_t response = input.smallOrAny(40);
            const std::int32_t snapping = input.smallOrAny(3);
            const std::int32_t liftOff = input.smallOrAny(4);
            resetSensorSettings(core, profile, polling, response, snapping, liftOff,
                                recordFrom<DpiBlock>(input));
            break;
        }
        case 13: {
            const std::int32_t mode = input.smallOrAny(12);
            const std::int32_t brightness = input.smallOrAny(101);
            const std::int32_t flag = input.smallOrAny(3);
            const std::int32_t option = input.smallOrAny(4);
            updateLightingSettings(core, profile, mode, recordFrom<LightingBlock>(input),
                                   brightness, flag, option);
            break;
        }
        case 14:
            resetProfileDefault(core, profile);
            break;
        case 15:
            syncProfile(core, profile);
            break;
        case 16:
            getCurrentProfileId(core, &value);
            break;
        case 17:
            setCurrentProfileId(core, profile);
            break;
        case 18:
            addProfile(core, profile);
            break;
        case 19:
            deleteProfile(core, profile);
            break;
        case 20:
            copyProfileData(core, profile, input.smallOrAny(7));
            break;
        case 21:
            getNumberOfProfiles(core, &value);
            break;
        case 22: {
            // Heap records, so that a write past either is caught.
            auto data = std::make_unique<ProfileData>();
            auto texts = std::make_unique<ProgramTexts>();
            readProfileData(core, profile, data.get(), texts.get());
            break;
        }
        default: {
            auto setting = std::make_unique<ButtonSetting>(recordFrom<ButtonSetting>(input));
            setButtonSettings(core, profile, setting.get());
            const std::vector<std::uint8_t> text = input.bytes(input.byte());
            const RunProgramRequest request{profile, input.smallOrAny(8), text.data(),
                                            static_cast<std::uint16_t>(text.size())};
            setButtonRunProgram(core, &request);
            setButtonRunBrowser(core, &request);
            break;
        }
    }
}

void runLinkCommand(std::uint8_t which, DeviceLink& link, FuzzInput& input) {
    std::uint8_t slot = 0;
    switch (which % 9) {
        case 0:
            link.openDevice();
            break;
        case 1:
            link.openDeviceIfClosed();
            break;
        case 2:
            link.closeDevice();
            break;
        case 3:
            readCurrentProfile(link, slot);
            break;
        case 4:
            selectProfile(link, static_cast<std::uint8_t>(input.smallOrAny(6)));
            break;
        case 5:
            startSurfaceAnalysis(link);
            break;
        case 6:
            readSurfaceQuality(link, slot);
            break;
        case 7:
            (void)firmwareVersionText(link);
            break;
        default: {
            MouseProfile profile;
            profile.name = u"hostile";
            uploadProfile(link, profile);
            break;
        }
    }
}

void runCapture(devlib::LibraryCore& core, fuzz::HostileHidBus& bus, FuzzInput& input) {
    devlib::EventCapture capture(core);
    bus.allowInputReports(1 + input.byte() % 4);
    if (capture.start(onCapture) == ORVANE_CAPTURE_STARTED) {
        bus.waitForInputReader();
    }
    capture.stop();
}

void runFirmwareUpdate(devlib::LibraryCore& core, FuzzInput& input) {
    // A few blocks at most: the point is the mouse's answers, not the image.
    const std::vector<std::uint8_t> image = input.bytes(1 + input.u16() % 3000);
    {
        std::lock_guard guard(gProgressMutex);
        gUpdateFinished = false;
    }
    devlib::FirmwareUpdater updater(core);
    updater.setProgressCallback(onProgress);
    if (updater.update(static_cast<std::int32_t>(image.size()), image.data()) != devlib::kOk) {
        return;
    }
    std::unique_lock guard(gProgressMutex);
    gProgressChanged.wait(guard, [] { return gUpdateFinished; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    FakeClock clock;
    auto owned = std::make_unique<fuzz::HostileHidBus>(input);
    fuzz::HostileHidBus& bus = *owned;
    devlib::LibraryCore core(std::move(owned), clock);
    DeviceLink link(bus, clock);
    while (!input.empty()) {
        const std::uint8_t action = input.byte();
        if (action < 0xA0) {
            runLibraryCommand(action, core, input);
        } else if (action < 0xF0) {
            runLinkCommand(action, link, input);
        } else if (action < 0xFC) {
            runCapture(core, bus, input);
        } else {
            runFirmwareUpdate(core, input);
        }
    }
    return 0;
}
