// Many host threads on the library's exports at once, while its capture runs
// and the simulated mouse is pulled out and plugged in again: nothing may
// race, crash or hang, and every result stays one the library promises. The
// tsan and asan presets run it with the library and the daemon instrumented.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "Orvane_pro_dll.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace {

using namespace std::chrono_literals;
using orvane::test::Program;
using orvane::test::TempDir;

std::atomic<int> capturedEvents{0};

void ORVANE_STDCALL countEvent(std::uint8_t*, std::uint8_t*, std::int32_t*) {
    ++capturedEvents;
}

bool isPromised(std::uint8_t result) {
    return result == ORVANE_OK || result == ORVANE_DEVICE_ERROR;
}

TEST(LibraryStress, EightThreadsOfExportsWhileCapturingAndReplugging) {
    TempDir dir;
    const std::string socket = (dir / "emu.sock").string();
    Program daemon({ORVANE_EMUD_PATH, "--foreground", "--socket", socket});
    ASSERT_TRUE(daemon.outputShows("serving on")) << daemon.err;
    // The library picks its backend on first use.
    ::setenv("ORVANE_HID", ("emulator:" + socket).c_str(), 1);
    auto emu = [&socket](const char* command, const char* argument = nullptr) {
        std::vector<std::string> words = {ORVANE_EMU_PATH, "--socket", socket, command};
        if (argument != nullptr) {
            words.emplace_back(argument);
        }
        Program tool(words);
        return tool.exitStatus();
    };

    capturedEvents = 0;
    ASSERT_EQ(Capture_cb_data(countEvent), ORVANE_CAPTURE_STARTED);

    std::atomic<bool> stop{false};
    std::atomic<int> accepted{0};
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
                        result = Set_polling_rate(profile, 500);
                        break;
                    case 1: {
                        std::uint16_t version = 0;
                        result = Get_fw_version(&version);
                        break;
                    }
                    case 2: {
                        DpiBlock dpi{};
                        dpi.values[0] = static_cast<std::uint16_t>(400 + 100 * t);
                        result = Set_dpi_settings(profile, dpi);
                        break;
                    }
                    case 3:
                        result = Read_profile_data(profile, data.get(), nullptr);
                        break;
                    default: {
                        std::uint8_t current = 0;
                        result = Get_current_profile_id(&current);
                        break;
                    }
                }
                if (result == ORVANE_OK) {
                    ++accepted;
                } else {
                    std::this_thread::sleep_for(5ms);  // no mouse: do not spin
                }
                if (!isPromised(result)) {
                    ++broken;
                }
            }
        });
    }

    const auto end = std::chrono::steady_clock::now() + 3s;
    while (std::chrono::steady_clock::now() < end) {
        EXPECT_EQ(emu("press-dpi-button", "3"), 0);
        EXPECT_EQ(emu("unplug"), 0);
        // What a host does on the removal: the library keeps its handles
        // until it is told to close them.
        Close_device();
        std::this_thread::sleep_for(50ms);
        EXPECT_EQ(emu("plug"), 0);
        Capture_cb_data(countEvent);
        std::this_thread::sleep_for(150ms);
    }
    stop = true;
    for (std::thread& host : hosts) {
        host.join();
    }
    Close_device();

    EXPECT_EQ(broken.load(), 0);
    EXPECT_GT(accepted.load(), 8);
    EXPECT_GT(capturedEvents.load(), 0);
    const int afterClose = capturedEvents.load();
    EXPECT_EQ(emu("press-dpi-button", "4"), 0);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(capturedEvents.load(), afterClose);  // no callback once closed
    ::unsetenv("ORVANE_HID");
}

}  // namespace
