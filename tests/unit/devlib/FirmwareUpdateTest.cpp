#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "EventTestSupport.h"
#include "devlib/Capture.h"
#include "devlib/Commands.h"
#include "devlib/DeviceListener.h"
#include "devlib/FirmwareUpdate.h"
#include "emulator/MouseMemory.h"
#include "protocol/DeviceIds.h"
#include "support/CaseName.h"

namespace orvane::devlib::testing {
namespace {

using Progress = std::pair<int, int>;
using std::chrono::milliseconds;

struct BlockCase {
    std::int32_t size;
    std::size_t blocks;
};

class FirmwareBlocks : public ::testing::TestWithParam<BlockCase> {};

TEST_P(FirmwareBlocks, RoundsUpToWholeZeroPaddedBlocks) {
    const Bytes image(static_cast<std::size_t>(GetParam().size), 0xAB);
    const auto blocks = firmwareBlocks(GetParam().size, image.data());
    ASSERT_TRUE(blocks.has_value());
    ASSERT_EQ(blocks->size(), GetParam().blocks * kFirmwareBlockSize);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), blocks->begin()));
    EXPECT_TRUE(std::all_of(blocks->begin() + GetParam().size, blocks->end(),
                            [](std::uint8_t byte) { return byte == 0; }));
}

INSTANTIATE_TEST_SUITE_P(Sizes, FirmwareBlocks,
                         ::testing::Values(BlockCase{2048, 2}, BlockCase{2049, 3},
                                           BlockCase{1280, 2}, BlockCase{1, 1},
                                           BlockCase{102400, 100}),
                         [](const ::testing::TestParamInfo<BlockCase>& info) {
                             return test::caseName(info.param.size, "Bytes");
                         });

TEST(FirmwareImage, RefusesWhatTheBootLoaderCannotTake) {
    const Bytes large(102401, 1);
    EXPECT_FALSE(firmwareBlocks(102401, large.data()).has_value());
    EXPECT_FALSE(firmwareBlocks(0, large.data()).has_value());
    EXPECT_FALSE(firmwareBlocks(-5, large.data()).has_value());
    EXPECT_FALSE(firmwareBlocks(100, nullptr).has_value());
}

Recorder<Progress> progress;
// Runs on the worker thread at each report, to change the mouse mid-update.
std::function<void(int, int)> onProgress;

void ORVANE_STDCALL recordProgress(std::uint8_t* status, std::int32_t* value) {
    progress.add({*status, *value});
    if (onProgress) {
        onProgress(*status, *value);
    }
}

bool finished(const std::vector<Progress>& seen) {
    return !seen.empty() && seen.back().first != ORVANE_FW_PROGRESS;
}

// An image the simulated mouse takes as firmware of version 2.10.
Bytes firmwareImage(std::size_t size) {
    Bytes image(size);
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<std::uint8_t>(i % 251);
    }
    std::copy(emulator::kFirmwareTag.begin(), emulator::kFirmwareTag.end(), image.begin());
    image[emulator::kFirmwareVersionOffset] = 0x10;
    image[emulator::kFirmwareVersionOffset + 1] = 0x02;
    return image;
}

class FirmwareUpdate : public LibraryOnTappedMouse {
  protected:
    FirmwareUpdate() {
        progress.clear();
        onProgress = nullptr;
        EXPECT_EQ(updater->setProgressCallback(recordProgress), ORVANE_OK);
    }
    ~FirmwareUpdate() override {
        updater.reset();
        onProgress = nullptr;
    }

    std::vector<Progress> run(const Bytes& image) {
        EXPECT_EQ(updater->update(static_cast<std::int32_t>(image.size()), image.data()), 1);
        EXPECT_TRUE(progress.waitFor(finished));
        updater.reset();  // joins the worker
        return progress.all();
    }

    void enterBootLoader() {
        sendToMouse(filled({kCommandReportId, 0x3A, 0, 0, 0, 0x3C, 0xC3, 0x71}, 64));
        bus->clearSets();
    }

    std::unique_ptr<FirmwareUpdater> updater = std::make_unique<FirmwareUpdater>(*core);
};

TEST_F(FirmwareUpdate, RefusesANullCallback) {
    EXPECT_EQ(updater->setProgressCallback(nullptr), ORVANE_DEVICE_ERROR);
}

TEST_F(FirmwareUpdate, FromApplicationModeReportsEveryStepAndTheNewVersion) {
    const Bytes image = firmwareImage(4 * 1024 - 100);

    const std::vector<Progress> expected = {{1, 1},  {1, 3},  {1, 4},   {1, 4},   {1, 29},
                                            {1, 54}, {1, 79}, {1, 100}, {96, 210}};
    EXPECT_EQ(run(image), expected);
    EXPECT_EQ(bus->withMouse([](emulator::VirtualMouse& mouse) { return mouse.firmwareVersion(); }),
              0x0210);
    EXPECT_TRUE(core->deviceOpen());

    const auto sets = bus->sets();
    ASSERT_GE(sets.size(), 7U);
    EXPECT_EQ(sets[0], filled({0xA1, 0x3A, 0, 0, 0, 0x3C, 0xC3, 0x71}, 64));
    EXPECT_EQ(sets[1].size(), kDataReportSize);
    EXPECT_EQ(sets[1][1], 0x03);
    EXPECT_EQ(sets[1][16], 4);
    const auto blocks = firmwareBlocks(static_cast<std::int32_t>(image.size()), image.data());
    std::uint32_t sum = 0;
    for (std::uint8_t byte : *blocks) {
        sum += byte;
    }
    EXPECT_EQ(sets[1][17] | sets[1][18] << 8 | sets[1][19] << 16 | sets[1][20] << 24,
              static_cast<int>(sum));
    for (std::size_t block = 0; block < 4; ++block) {
        EXPECT_EQ(sets[2 + block][0], kDataReportId);
        EXPECT_EQ(sets[2 + block][1], 0x06);
        EXPECT_EQ(sets[2 + block][2], 12 + block);
    }
    EXPECT_EQ(sets[6], filled({0xA1, 0x09}, kDataReportSize));
}

TEST_F(FirmwareUpdate, MouseAlreadyInTheBootLoaderSkipsTheSwitch) {
    enterBootLoader();
    const std::vector<Progress> expected = {{1, 1}, {1, 4}, {1, 4}, {1, 54}, {1, 100}, {96, 210}};
    EXPECT_EQ(run(firmwareImage(2048)), expected);
    EXPECT_EQ(bus->sets().front()[1], 0x03);
}

TEST_F(FirmwareUpdate, RefusedSwitchEndsWith81AndSendsNothingMore) {
    bus->withMouse([](emulator::VirtualMouse& mouse) {
        mouse.addFault({emulator::Fault::Kind::StatusZeroReplies, 1});
    });
    EXPECT_EQ(run(firmwareImage(1024)), (std::vector<Progress>{{1, 1}, {81, 1}}));
    ASSERT_EQ(bus->sets().size(), 1U);
    EXPECT_EQ(bus->sets().front()[1], 0x3A);
}

TEST_F(FirmwareUpdate, RejectedBlockEndsWith84AndTheLastProgress) {
    onProgress = [this](int status, int value) {
        if (status == 1 && value == 29) {
            bus->withMouse([](emulator::VirtualMouse& mouse) {
                mouse.addFault({emulator::Fault::Kind::StatusZeroReplies, 3});
            });
        }
    };
    const std::vector<Progress> expected = {{1, 1}, {1, 3}, {1, 4}, {1, 4}, {1, 29}, {84, 29}};
    EXPECT_EQ(run(firmwareImage(4096)), expected);
    // Three tries of the third block, with their pauses after each.
    const std::vector<Clock::Duration> retries = {milliseconds(20), milliseconds(0),
                                                  milliseconds(20), milliseconds(100),
                                                  milliseconds(20), milliseconds(200)};
    const auto pauses = clock.sleeps();
    EXPECT_NE(std::search(pauses.begin(), pauses.end(), retries.begin(), retries.end()),
              pauses.end());
}

TEST_F(FirmwareUpdate, ImageOver100BlocksIsRefusedWith80) {
    const Bytes image(101 * 1024, 1);
    EXPECT_EQ(updater->update(static_cast<std::int32_t>(image.size()), image.data()), 1);
    EXPECT_EQ(progress.all(), (std::vector<Progress>{{80, 0}}));
    EXPECT_EQ(updater->update(0, nullptr), 1);
    EXPECT_EQ(progress.all(), (std::vector<Progress>{{80, 0}, {80, 0}}));
    EXPECT_TRUE(bus->sets().empty());
}

TEST_F(FirmwareUpdate, NoMouseInEitherModeEndsWith86) {
    bus->withMouse([](emulator::VirtualMouse& mouse) { mouse.unplug(); });
    EXPECT_EQ(run(firmwareImage(1024)), (std::vector<Progress>{{1, 1}, {86, 2}}));
    EXPECT_EQ(clock.totalSlept(), milliseconds(3 * 500 + 31 * 1500));
}

TEST_F(FirmwareUpdate, MouseNotBackWithin30SecondsEndsWith87) {
    Clock::TimePoint accepted;
    onProgress = [this, &accepted](int status, int value) {
        if (status == 1 && value == 100) {
            accepted = clock.now();
            bus->withMouse([](emulator::VirtualMouse& mouse) { mouse.unplug(); });
        }
    };
    const auto seen = run(firmwareImage(1024));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), (Progress{87, 100}));
    EXPECT_GE(clock.now() - accepted, kReturnTimeout);
    EXPECT_LT(clock.now() - accepted, kReturnTimeout + milliseconds(1000));
}

TEST_F(FirmwareUpdate, MouseBackButSilentEndsWith87InsteadOfNothing) {
    onProgress = [this](int status, int value) {
        if (status == 1 && value == 100) {
            // The mouse returns to application mode but answers nothing.
            bus->withMouse([](emulator::VirtualMouse& mouse) {
                mouse.addFault({emulator::Fault::Kind::FailGets, 1000});
            });
        }
    };
    const auto seen = run(firmwareImage(1024));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), (Progress{87, 100}));
}

Recorder<std::uint8_t> changes;
Recorder<int> removalsHandled;

void ORVANE_STDCALL recordChange(std::uint8_t* code) {
    changes.add(*code);
}
void ORVANE_STDCALL ignoreEvent(std::uint8_t*, std::uint8_t*, std::int32_t*) {}

// A host that follows the mouse with the library's listener and updates its
// firmware in the same process, the listener wired as the library wires it.
class FirmwareUpdateBesideTheListener : public FirmwareUpdate {
  protected:
    FirmwareUpdateBesideTheListener() {
        changes.clear();
        removalsHandled.clear();
        EXPECT_EQ(listener->setCallback(recordChange), ORVANE_OK);
        EXPECT_EQ(listener->start(), ORVANE_OK);
    }
    ~FirmwareUpdateBesideTheListener() override {
        listener.reset();
        capture.stop();
    }

    EventCapture capture{*core};
    std::unique_ptr<DeviceListener> listener = std::make_unique<DeviceListener>(*core, [this] {
        closeDeviceAfterRemoval(*core, capture, nullptr);
        removalsHandled.add(1);
    });
};

TEST_F(FirmwareUpdateBesideTheListener, EndsWith96WithTheMouseBackInApplicationMode) {
    ASSERT_EQ(capture.start(ignoreEvent), ORVANE_CAPTURE_STARTED);
    // The worker goes on only once the listener has handled the mouse's
    // departure for its boot loader, after the worker opened the boot loader.
    onProgress = [](int status, int value) {
        if (status == 1 && value == 3) {
            EXPECT_TRUE(removalsHandled.waitForCount(1));
        }
    };

    const std::vector<Progress> seen = run(firmwareImage(2048));

    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), (Progress{96, 210}));
    EXPECT_FALSE(
        bus->withMouse([](emulator::VirtualMouse& mouse) { return mouse.inBootLoader(); }));
    EXPECT_EQ(bus->withMouse([](emulator::VirtualMouse& mouse) { return mouse.firmwareVersion(); }),
              0x0210);
    // The listener still told the host every step of the way.
    EXPECT_TRUE(changes.waitFor([](const std::vector<std::uint8_t>& seenCodes) {
        return seenCodes == std::vector<std::uint8_t>{255, 2, 255, 1};
    })) << ::testing::PrintToString(changes.all());
    // The capture read from the mouse that went; it is stopped, as on any removal.
    EXPECT_FALSE(capture.running());
    // Whether or not the boot loader's removal came after the update had
    // ended (and closed the handle then), the host's next command reaches
    // the mouse.
    std::uint16_t version = 0;
    EXPECT_EQ(getFirmwareVersion(*core, &version), ORVANE_OK);
    EXPECT_EQ(version, 210);
}

}  // namespace
}  // namespace orvane::devlib::testing
