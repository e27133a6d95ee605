// Many host threads on the library at once, while its capture runs and the
// mouse is pulled out and plugged in again: nothing may race, crash or leak.
// Run it under the tsan and asan presets; in the plain build it is one more
// check that the results stay within what the library promises.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "devlib/Capture.h"
#include "devlib/Commands.h"
#include "devlib/LibraryCore.h"
#include "emulator/VirtualHidBus.h"

namespace orvane::devlib {
namespace {

using namespace std::chrono_literals;

std::atomic<int> capturedEvents{0};

void ORVANE_STDCALL countEvent(std::uint8_t*, std::uint8_t*, std::int32_t*) {
    ++capturedEvents;
}

bool isPromised(std::uint8_t result) {
    return result == ORVANE_OK || result == ORVANE_DEVICE_ERROR;
}

TEST(LibraryStress, EightThreadsOfCommandsWhileCapturingAndReplugging) {
    auto owned = std::make_unique<emulator::VirtualHidBus>(systemClock(), 20ms);
    emulator::VirtualHidBus& bus = *owned;
    LibraryCore core(std::move(owned), systemClock());
    EventCapture capture(core);
    capturedEvents = 0;
    ASSERT_EQ(capture.start(countEvent), ORVANE_CAPTURE_STARTED);

    std::atomic<bool> stop{false};
    std::atomic<int> done{0};  // commands the mouse accepted
    std::atomic<int> broken{0};
    std::vector<std::thread> hosts;
    for (int t = 0; t < 8; ++t) {
        hosts.emplace_back([&, t] {
            auto data = std::make_unique<ProfileData>();
            for (int round = 0; !stop; ++round) {
                const std::int32_t profile = 1 + (t + round) % 5;
                std::uint8_t result = 0;
                switch ((t + round) % 5) {
                    case 0:
                        result = setPollingRate(core, profile, 500);
                        break;
                    case 1: {
                        std::uint16_t version = 0;
                        result = getFirmwareVersion(core, &version);
                        break;
                    }
                    case 2: {
                        DpiBlock dpi{};
                        dpi.values[0] = static_cast<std::uint16_t>(400 + 100 * t);
                        result = setDpiSettings(core, profile, dpi);
                        break;
                    }
                    case 3:
                        result = readProfileData(core, profile, data.get(), nullptr);
                        break;
                    default: {
                        std::uint8_t current = 0;
                        result = getCurrentProfileId(core, &current);
                        break;
                    }
                }
                if (result == ORVANE_OK) {
                    ++done;
                }
                if (!isPromised(result)) {
                    ++broken;
                }
            }
        });
    }
    std::thread plugger([&] {
        for (int round = 0; !stop; ++round) {
            bus.withMouse([](emulator::VirtualMouse& mouse) { mouse.unplug(); });
            // What a host does on the removal (the listener does the same):
            // the library keeps a handle until it is told to close it.
            closeDevice(core, capture, [] {});
            std::this_thread::sleep_for(30ms);
            bus.withMouse([](emulator::VirtualMouse& mouse) {
                mouse.plug();
                mouse.pressDpiButton(3);
            });
            // The host re-registers after an arrival, as the application does.
            capture.start(countEvent);
            bus.withMouse([](emulator::VirtualMouse& mouse) { mouse.pressDpiButton(2); });
            std::this_thread::sleep_for(60ms);
        }
    });

    std::this_thread::sleep_for(3s);
    stop = true;
    for (std::thread& host : hosts) {
        host.join();
    }
    plugger.join();
    capture.stop();

    EXPECT_EQ(broken.load(), 0);
    EXPECT_GT(done.load(), 8);
    EXPECT_FALSE(capture.running());
    const int afterStop = capturedEvents.load();
    bus.withMouse([](emulator::VirtualMouse& mouse) { mouse.pressDpiButton(4); });
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(capturedEvents.load(), afterStop);  // no callback once stopped
}

}  // namespace
}  // namespace orvane::devlib
