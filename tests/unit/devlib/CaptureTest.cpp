#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>

#include "EventTestSupport.h"
#include "devlib/Capture.h"
#include "devlib/Commands.h"
#include "protocol/DeviceIds.h"

namespace orvane::devlib::testing {
namespace {

using std::chrono::milliseconds;

struct CaptureEvent {
    std::uint8_t kind = 0;
    Bytes data;
    std::int32_t value = 0;
    std::thread::id thread;
};

Recorder<CaptureEvent> captured;
// What a callback may do besides recording: call the library back.
std::function<void()> duringCallback;
std::atomic<bool> closeReturned{false};
std::atomic<int> callsAfterClose{0};

void ORVANE_STDCALL recordEvent(std::uint8_t* kind, std::uint8_t* data, std::int32_t* value) {
    if (closeReturned.load()) {
        ++callsAfterClose;
    }
    const bool block = *kind == 0x23 || *kind == 0x24;
    captured.add({*kind, Bytes(data, data + (block ? kPayloadSize : 1)), *value,
                  std::this_thread::get_id()});
    if (duringCallback) {
        duringCallback();
    }
}

class Capture : public LibraryOnTappedMouse {
  protected:
    Capture() {
        captured.clear();
        duringCallback = nullptr;
        closeReturned = false;
        callsAfterClose = 0;
    }
    ~Capture() override {
        capture.stop();
        duringCallback = nullptr;
    }

    void close() {
        closeDevice(*core, capture, [this] { ++hidShutdowns; });
    }

    EventCapture capture{*core};
    int hidShutdowns = 0;
};

TEST_F(Capture, ResolutionReportCallsBackWithKindValueAndOne) {
    ASSERT_EQ(capture.start(recordEvent), ORVANE_CAPTURE_STARTED);
    ASSERT_TRUE(bus->waitForReader());
    bus->inject(filled({0x03, 0x02, 0x01}, 9));

    ASSERT_TRUE(captured.waitForCount(1));
    const CaptureEvent event = captured.all().front();
    EXPECT_EQ(event.kind, 2);
    EXPECT_EQ(event.data, Bytes{1});
    EXPECT_EQ(event.value, 1);
    EXPECT_NE(event.thread, std::this_thread::get_id());
    EXPECT_TRUE(bus->sets().empty());
}

TEST_F(Capture, TheMouseResolutionButtonReachesTheCallback) {
    ASSERT_EQ(capture.start(recordEvent), ORVANE_CAPTURE_STARTED);
    bus->withMouse([](emulator::VirtualMouse& mouse) { mouse.pressDpiButton(4); });

    ASSERT_TRUE(captured.waitForCount(1));
    EXPECT_EQ(captured.all().front().kind, 2);
    EXPECT_EQ(captured.all().front().data, Bytes{3});
}

TEST_F(Capture, ProgramButtonReadsItsDataBlockWithoutTheLibraryLock) {
    Bytes block(kPayloadSize);
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<std::uint8_t>(i * 7);
    }
    Bytes write = filled({kDataReportId, 0x21, 0x02, 0x00, 0x00, 0x03}, kDataReportSize);
    std::uint16_t sum = 0;
    for (std::uint8_t byte : block) {
        sum = static_cast<std::uint16_t>(sum + byte);
    }
    write[7] = static_cast<std::uint8_t>(sum);
    write[8] = static_cast<std::uint8_t>(sum >> 8);
    std::copy(block.begin(), block.end(), write.begin() + kPayloadOffset);
    sendToMouse(write);
    bus->clearSets();

    ASSERT_EQ(capture.start(recordEvent), ORVANE_CAPTURE_STARTED);
    ASSERT_TRUE(bus->waitForReader());
    {
        // A command export holding the lock in one of its pauses must not
        // hold the event up.
        CCriticalSectionAutoLock busyExport(core->lock());
        bus->inject(filled({0x03, 0x23, 0x34, 0x03, 0x02, 0x03}, 9));
        ASSERT_TRUE(captured.waitForCount(1));
    }

    const CaptureEvent event = captured.all().front();
    EXPECT_EQ(event.kind, 0x23);
    EXPECT_EQ(event.data, block);
    EXPECT_EQ(event.value, 0x0334);
    ASSERT_EQ(bus->sets().size(), 1U);
    EXPECT_EQ(bus->sets().front(), filled({kCommandReportId, 0x25, 0x02, 0x00, 0x00, 0x03}, 64));
    const auto pauses = clock.sleeps();
    EXPECT_NE(std::find(pauses.begin(), pauses.end(), milliseconds(10)), pauses.end());
}

TEST_F(Capture, WebPageButtonWithUnreadableBlockGetsAClearedBlock) {
    bus->withMouse([](emulator::VirtualMouse& mouse) {
        mouse.addFault({emulator::Fault::Kind::FailGets, 20, HidError::DeviceNotConnected});
    });
    ASSERT_EQ(capture.start(recordEvent), ORVANE_CAPTURE_STARTED);
    ASSERT_TRUE(bus->waitForReader());
    bus->inject(filled({0x03, 0x24, 0x05, 0x00, 0x01, 0x01}, 9));

    ASSERT_TRUE(captured.waitForCount(1));
    EXPECT_EQ(captured.all().front().kind, 0x24);
    EXPECT_EQ(captured.all().front().data, Bytes(kPayloadSize, 0));
    EXPECT_EQ(captured.all().front().value, 5);
}

// The host takes the text's length from the third argument and reads that
// much of the block; a mouse whose entry claims more than the block holds
// (written past the library) must not send it reading beyond.
TEST_F(Capture, TextLengthBeyondTheBlockIsCutToTheBlock) {
    // Button 3 of profile 1: a web page, its text 65535 bytes long.
    Bytes entry = filled({kCommandReportId, 0x0A, 0x00, 0x00, 0x00, 0x01, 0x03}, 64);
    entry[16] = 0x24;
    entry[18] = 0xFF;
    entry[19] = 0xFF;
    sendToMouse(entry);
    ASSERT_EQ(capture.start(recordEvent), ORVANE_CAPTURE_STARTED);
    ASSERT_TRUE(bus->withMouse([](emulator::VirtualMouse& mouse) { return mouse.pressButton(3); }));

    ASSERT_TRUE(captured.waitForCount(1));
    EXPECT_EQ(captured.all().front().kind, 0x24);
    EXPECT_EQ(captured.all().front().value, static_cast<std::int32_t>(kPayloadSize));
}

TEST_F(Capture, OtherKindsCallNothingButStillPause) {
    ASSERT_EQ(capture.start(recordEvent), ORVANE_CAPTURE_STARTED);
    ASSERT_TRUE(bus->waitForReader());
    bus->inject(filled({0x03, 0x06, 0x01}, 9));
    bus->inject(filled({0x03, 0x00, 0x01}, 9));
    bus->inject(filled({0x03, 0x05, 0x09}, 9));

    ASSERT_TRUE(captured.waitForCount(1));
    capture.stop();
    ASSERT_EQ(captured.all().size(), 1U);
    EXPECT_EQ(captured.all().front().kind, 5);
    EXPECT_EQ(clock.sleeps(), (std::vector<Clock::Duration>(3, milliseconds(80))));
}

TEST_F(Capture, NullCallbackIsRefusedAndOpensNothing) {
    EXPECT_EQ(capture.start(nullptr), ORVANE_DEVICE_ERROR);
    EXPECT_FALSE(capture.running());
    EXPECT_EQ(bus->openHandles(), 0);
}

TEST_F(Capture, MissingMouseGives255AndNoThread) {
    bus->withMouse([](emulator::VirtualMouse& mouse) { mouse.unplug(); });
    EXPECT_EQ(capture.start(recordEvent), ORVANE_CAPTURE_FAILED);
    EXPECT_FALSE(capture.running());
}

TEST_F(Capture, CloseDeviceDuringABlockedReadJoinsTheThreadFirst) {
    ASSERT_TRUE(core->ensureDeviceOpen());
    ASSERT_EQ(capture.start(recordEvent), ORVANE_CAPTURE_STARTED);
    ASSERT_TRUE(bus->waitForReader());

    close();
    closeReturned = true;
    bus->inject(filled({0x03, 0x02, 0x01}, 9));

    EXPECT_FALSE(capture.running());
    EXPECT_FALSE(bus->releasedDuringRead());
    EXPECT_EQ(bus->openHandles(), 0);  // capture device and command handle
    EXPECT_FALSE(core->deviceOpen());
    EXPECT_EQ(hidShutdowns, 1);
    EXPECT_EQ(callsAfterClose.load(), 0);
}

TEST_F(Capture, CloseDeviceWithoutCaptureStillClosesTheCommandHandle) {
    ASSERT_TRUE(core->ensureDeviceOpen());
    EXPECT_EQ(closeDevice(*core, capture, nullptr), ORVANE_OK);
    EXPECT_FALSE(core->deviceOpen());
}

TEST_F(Capture, StartingAgainReplacesTheRunningCapture) {
    ASSERT_EQ(capture.start(recordEvent), ORVANE_CAPTURE_STARTED);
    ASSERT_TRUE(bus->waitForReader());
    bus->inject(filled({0x03, 0x01, 0x01}, 9));
    ASSERT_TRUE(captured.waitForCount(1));

    ASSERT_EQ(capture.start(recordEvent), ORVANE_CAPTURE_STARTED);
    EXPECT_EQ(bus->openHandles(), 1);
    bus->inject(filled({0x03, 0x01, 0x02}, 9));
    bus->inject(filled({0x03, 0x01, 0x03}, 9));
    ASSERT_TRUE(captured.waitForCount(3));

    // The first capture's device went before the second was opened: its
    // thread had ended.
    EXPECT_EQ(bus->peakOpenHandles(), 1);
    EXPECT_EQ(bus->openHandles(), 1);
}

TEST_F(Capture, CallbackMayCloseTheDeviceItself) {
    duringCallback = [this] { close(); };
    ASSERT_EQ(capture.start(recordEvent), ORVANE_CAPTURE_STARTED);
    ASSERT_TRUE(bus->waitForReader());
    bus->inject(filled({0x03, 0x03, 0x01}, 9));
    ASSERT_TRUE(captured.waitForCount(1));

    capture.stop();  // joins the thread that stopped itself
    EXPECT_FALSE(capture.running());
    EXPECT_EQ(bus->openHandles(), 0);
}

TEST_F(Capture, CallbackMayStartTheCaptureAgain) {
    std::atomic<bool> restarted{false};
    duringCallback = [this, &restarted] {
        if (!restarted.exchange(true)) {
            EXPECT_EQ(capture.start(recordEvent), ORVANE_CAPTURE_STARTED);
        }
    };
    ASSERT_EQ(capture.start(recordEvent), ORVANE_CAPTURE_STARTED);
    ASSERT_TRUE(bus->waitForReader());
    bus->inject(filled({0x03, 0x04, 0x01}, 9));
    ASSERT_TRUE(captured.waitForCount(1));
    bus->inject(filled({0x03, 0x04, 0x02}, 9));
    ASSERT_TRUE(captured.waitForCount(2));

    const auto events = captured.all();
    EXPECT_NE(events[1].thread, events[0].thread);
    capture.stop();
    EXPECT_EQ(bus->openHandles(), 0);
}

// The capture's block read and a command export on another thread both talk
// to the mouse, which answers the last request it took: neither may read the
// other's reply and pass it off as its own. The mouse's own button, pressed
// over and over, on the plain in-process mouse.
class CaptureBesideCommands : public ::testing::Test {
  protected:
    CaptureBesideCommands() {
        captured.clear();
        duringCallback = nullptr;
        auto owned = std::make_unique<emulator::VirtualHidBus>(clock);
        bus = owned.get();
        core = std::make_unique<LibraryCore>(std::move(owned), clock);
        capture = std::make_unique<EventCapture>(*core);
    }
    ~CaptureBesideCommands() override { capture->stop(); }

    FakeClock clock;
    emulator::VirtualHidBus* bus = nullptr;
    std::unique_ptr<LibraryCore> core;
    std::unique_ptr<EventCapture> capture;
};

TEST_F(CaptureBesideCommands, WebPageButtonPressesAndCommandsKeepTheirOwnReplies) {
    const std::string address = "https://orvane.test/support";
    const RunProgramRequest request{1, 4, reinterpret_cast<const std::uint8_t*>(address.data()),
                                    static_cast<std::uint16_t>(address.size())};
    ASSERT_EQ(setButtonRunBrowser(*core, &request), ORVANE_OK);
    Bytes expectedBlock(kPayloadSize, 0);
    std::copy(address.begin(), address.end(), expectedBlock.begin());
    ASSERT_EQ(capture->start(recordEvent), ORVANE_CAPTURE_STARTED);

    constexpr std::size_t kPresses = 400;
    std::atomic<bool> pressing{true};
    std::atomic<int> commands{0};
    std::atomic<int> wrongProfiles{0};
    std::thread host([&] {
        while (pressing.load()) {
            std::uint8_t profile = 0;
            if (getCurrentProfileId(*core, &profile) == ORVANE_OK) {
                ++commands;
                wrongProfiles += profile != 1 ? 1 : 0;
            }
        }
    });
    for (std::size_t press = 1; press <= kPresses; ++press) {
        ASSERT_TRUE(
            bus->withMouse([](emulator::VirtualMouse& mouse) { return mouse.pressButton(4); }));
        ASSERT_TRUE(captured.waitForCount(press));
    }
    pressing = false;
    host.join();

    const std::vector<CaptureEvent> events = captured.all();
    ASSERT_EQ(events.size(), kPresses);
    const auto wrongBlocks =
        std::count_if(events.begin(), events.end(), [&](const CaptureEvent& e) {
            return e.kind != 0x24 || e.data != expectedBlock ||
                   e.value != static_cast<std::int32_t>(address.size());
        });
    EXPECT_EQ(wrongBlocks, 0);
    EXPECT_EQ(wrongProfiles.load(), 0) << "of " << commands.load() << " answers";
    EXPECT_GT(commands.load(), 0);
}

}  // namespace
}  // namespace orvane::devlib::testing
