// The built library loaded the way a host program loads it, talking to the
// simulated mouse of orvane-emud in another process; the mouse's state is
// read back with orvane-emu.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Orvane_pro_dll.h"
#include "platform/virtual/EmulatorHidBus.h"
#include "support/ChildProcess.h"
#include "support/KernelMouse.h"
#include "support/TempDir.h"

namespace {

using orvane::test::Program;
using orvane::test::TempDir;

// What a callback of the library saw, in order, from whatever thread.
template <typename Event>
class Seen {
  public:
    void add(Event event) {
        {
            std::lock_guard lock(mutex);
            events.push_back(std::move(event));
        }
        changed.notify_all();
    }
    template <typename Done>
    bool waitFor(Done done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(60), [&] { return done(events); });
    }
    std::vector<Event> all() {
        std::lock_guard lock(mutex);
        return events;
    }

  private:
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Event> events;
};

Seen<std::pair<int, int>> updateProgress;
Seen<int> deviceChanges;

struct WebPageEvent {
    int kind;
    std::vector<std::uint8_t> block;
    int length;
};
Seen<WebPageEvent> webPageEvents;

void ORVANE_STDCALL recordWebPage(std::uint8_t* kind, std::uint8_t* data, std::int32_t* value) {
    if (*kind == 0x24) {
        webPageEvents.add({*kind, std::vector<std::uint8_t>(data, data + 1024), *value});
    }
}

void ORVANE_STDCALL recordProgress(std::uint8_t* status, std::int32_t* value) {
    updateProgress.add({*status, *value});
}
void ORVANE_STDCALL recordDeviceChange(std::uint8_t* code) {
    deviceChanges.add(*code);
}

// One daemon and one load for the whole program: the library binds to the
// bus ORVANE_HID names on its first call and keeps it.
class LoadedLibrary : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir = new TempDir;
        socket = new std::string((*dir / "emu.sock").string());
        daemon = new Program(orvane::test::daemonCommand(ORVANE_EMUD_PATH, *socket));
        ASSERT_TRUE(daemon->outputShows("serving on")) << daemon->err;
        if (orvane::test::mouseInKernel()) {
            ::unsetenv("ORVANE_HID");
        } else {
            const std::string selection = "emulator:" + *socket;
            ::setenv("ORVANE_HID", selection.c_str(), 1);
        }
        handle = ::dlopen(ORVANE_PRO_DLL_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << ::dlerror();
        ASSERT_TRUE(orvane::test::waitUntil([] {
            std::int16_t status = 0;
            return symbol<decltype(Get_device_status)>("Get_device_status")(&status) == 1;
        }));
    }

    static void TearDownTestSuite() {
        if (handle != nullptr) {
            ::dlclose(handle);
        }
        delete daemon;
        delete socket;
        delete dir;
    }

    template <typename Function>
    static Function* symbol(const char* name) {
        void* found = ::dlsym(handle, name);
        EXPECT_NE(found, nullptr) << name;
        return reinterpret_cast<Function*>(found);
    }

    static nlohmann::json profile(int number) {
        Program tool({ORVANE_EMU_PATH, "--socket", *socket, "dump"});
        EXPECT_EQ(tool.exitStatus(), 0) << tool.err;
        return nlohmann::json::parse(tool.out)["profiles"][number - 1];
    }

    // What the mouse took in, oldest first, in hex.
    static std::vector<std::string> recentRequests() {
        Program tool({ORVANE_EMU_PATH, "--socket", *socket, "dump", "--slot", "0"});
        EXPECT_EQ(tool.exitStatus(), 0) << tool.err;
        return nlohmann::json::parse(tool.out)["recentRequests"].get<std::vector<std::string>>();
    }

    // A button entry as some other program may have left it in the mouse,
    // written past the library.
    static void writeRawEntry(std::uint8_t profile, std::uint8_t button,
                              const std::vector<std::uint8_t>& entry) {
        orvane::EmulatorHidBus bus(*socket);
        std::unique_ptr<orvane::HidDevice> config;
        for (const orvane::HidDeviceInfo& info : bus.enumerate()) {
            if (info.interfaceNumber == 0 && config == nullptr) {
                orvane::HidError error = orvane::HidError::None;
                config = bus.open(info.path, error);
            }
        }
        ASSERT_NE(config, nullptr);
        std::vector<std::uint8_t> request(64, 0);
        request[0] = 0xA1;
        request[1] = 0x0A;
        request[5] = profile;
        request[6] = button;
        std::copy(entry.begin(), entry.end(), request.begin() + 16);
        ASSERT_EQ(config->sendFeatureReport(request), orvane::HidError::None);
        std::vector<std::uint8_t> reply(64, 0);
        reply[0] = 0xA1;
        ASSERT_EQ(config->getFeatureReport(reply), orvane::HidError::None);
        ASSERT_EQ(reply[1], 1);
    }

    static inline TempDir* dir = nullptr;
    static inline std::string* socket = nullptr;
    static inline Program* daemon = nullptr;
    static inline void* handle = nullptr;
};

TEST_F(LoadedLibrary, ReportsVersionsAndStatus) {
    std::uint16_t version = 0;
    EXPECT_EQ(symbol<decltype(Get_dll_version)>("Get_dll_version")(&version), 1);
    EXPECT_EQ(version, 10);
    std::int16_t status = 0;
    EXPECT_EQ(symbol<decltype(Get_device_status)>("Get_device_status")(&status), 1);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(symbol<decltype(Get_fw_version)>("Get_fw_version")(&version), 1);
    EXPECT_EQ(version, 105);
}

TEST_F(LoadedLibrary, SettingsLandInTheMouseAndReadBack) {
    auto setPollingRate = symbol<decltype(Set_polling_rate)>("Set_polling_rate");
    EXPECT_EQ(setPollingRate(2, 250), 1);
    EXPECT_EQ(setPollingRate(2, 300), 2);

    DpiBlock dpi{3, 1, {}};
    for (std::uint16_t i = 0; i < 10; ++i) {
        dpi.values[i] = static_cast<std::uint16_t>(400 * (i + 1));
    }
    EXPECT_EQ(symbol<decltype(Set_dpi_settings)>("Set_dpi_settings")(2, dpi), 1);

    const nlohmann::json state = profile(2);
    EXPECT_EQ(state["pollingCode"], 4);
    EXPECT_EQ(state["dpi"]["first"], 3);
    EXPECT_EQ(state["dpi"]["values"][1], 800);

    auto data = std::make_unique<ProfileData>();
    EXPECT_EQ(symbol<decltype(Read_profile_data)>("Read_profile_data")(2, data.get(), nullptr), 1);
    EXPECT_EQ(data->pollingRate, 250);
    EXPECT_EQ(data->dpi.values[9], 4000);
}

TEST_F(LoadedLibrary, BrowserButtonKeepsItsAddressInTheMouse) {
    const std::string address = "https://orvane.test/";
    const RunProgramRequest request{3, 4, reinterpret_cast<const std::uint8_t*>(address.data()),
                                    static_cast<std::uint16_t>(address.size())};
    EXPECT_EQ(symbol<decltype(Set_button_run_browser)>("Set_button_run_browser")(&request), 1);

    const nlohmann::json state = profile(3);
    EXPECT_EQ(state["buttons"][3]["kind"], 0x24);
    EXPECT_EQ(state["buttons"][3]["first"], 20);
    const std::string block = state["dataBlocks"][3];
    EXPECT_EQ(block.substr(0, 10), "6874747073");  // "https"

    auto data = std::make_unique<ProfileData>();
    auto texts = std::make_unique<ProgramTexts>();
    EXPECT_EQ(symbol<decltype(Read_profile_data)>("Read_profile_data")(3, data.get(), texts.get()),
              1);
    EXPECT_EQ(texts->lengths[3], 20);
    EXPECT_EQ(std::memcmp(texts->texts[3], address.data(), address.size()), 0);
}

TEST_F(LoadedLibrary, TheMouseReceivesExactlyTheRequestBytesAndNothingForABadArgument) {
    auto setResponseTime = symbol<decltype(Set_button_response_time)>("Set_button_response_time");
    ASSERT_EQ(setResponseTime(1, 12), 1);
    const std::vector<std::string> before = recentRequests();
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(before.back(), "a10d020000010c" + std::string(2 * (64 - 7), '0'));

    EXPECT_EQ(setResponseTime(1, 7), 2);
    EXPECT_EQ(setResponseTime(1, 14), 2);
    EXPECT_EQ(recentRequests(), before);
}

TEST_F(LoadedLibrary, AnEntryOfUnknownKindReadsBackWithACountInsideTheRecord) {
    writeRawEntry(5, 6, {0x55, 0x07, 0x01, 0x02, 0x03, 0x04, 0x0F});
    auto data = std::make_unique<ProfileData>();
    ASSERT_EQ(symbol<decltype(Read_profile_data)>("Read_profile_data")(5, data.get(), nullptr), 1);
    EXPECT_LE(data->buttons[5].count, std::size(data->buttons[5].events));
}

TEST_F(LoadedLibrary, NullPointersAreRefusedNotFollowed) {
    EXPECT_EQ(symbol<decltype(Get_device_status)>("Get_device_status")(nullptr), 20);
    EXPECT_EQ(symbol<decltype(Read_profile_data)>("Read_profile_data")(1, nullptr, nullptr), 20);
    EXPECT_EQ(symbol<decltype(Set_button_run_browser)>("Set_button_run_browser")(nullptr), 20);
}

// A host thread asking the mouse while the capture reads the address of a
// web-page button, pressed again and again: the mouse answers the last
// request it took, so neither may get the other's answer.
TEST_F(LoadedLibrary, WebPageButtonPressesBesideCommandsGiveEveryoneTheirOwnAnswer) {
    auto currentProfile = symbol<decltype(Get_current_profile_id)>("Get_current_profile_id");
    std::uint8_t active = 0;
    ASSERT_EQ(currentProfile(&active), 1);
    const std::string address = "https://orvane.test/downloads";
    const RunProgramRequest request{active, 5,
                                    reinterpret_cast<const std::uint8_t*>(address.data()),
                                    static_cast<std::uint16_t>(address.size())};
    ASSERT_EQ(symbol<decltype(Set_button_run_browser)>("Set_button_run_browser")(&request), 1);
    std::vector<std::uint8_t> expectedBlock(1024, 0);
    std::copy(address.begin(), address.end(), expectedBlock.begin());
    ASSERT_EQ(symbol<decltype(Capture_cb_data)>("Capture_cb_data")(recordWebPage), 5);

    std::atomic<bool> pressing{true};
    std::atomic<int> answers{0};
    std::atomic<int> wrongAnswers{0};
    std::thread host([&] {
        while (pressing.load()) {
            std::uint8_t profile = 0;
            if (currentProfile(&profile) == 1) {
                ++answers;
                wrongAnswers += profile != active ? 1 : 0;
            }
        }
    });
    constexpr std::size_t kPresses = 40;
    for (std::size_t press = 1; press <= kPresses; ++press) {
        Program tool({ORVANE_EMU_PATH, "--socket", *socket, "press-button", "5"});
        ASSERT_EQ(tool.exitStatus(), 0) << tool.err;
        ASSERT_TRUE(webPageEvents.waitFor(
            [press](const std::vector<WebPageEvent>& seen) { return seen.size() >= press; }));
    }
    pressing = false;
    host.join();
    symbol<decltype(Close_device)>("Close_device")();

    int wrongBlocks = 0;
    for (const WebPageEvent& event : webPageEvents.all()) {
        wrongBlocks +=
            event.block != expectedBlock || event.length != static_cast<int>(address.size()) ? 1
                                                                                             : 0;
    }
    EXPECT_EQ(wrongBlocks, 0) << "of " << kPresses << " presses";
    EXPECT_EQ(wrongAnswers.load(), 0) << "of " << answers.load() << " answers";
    EXPECT_GT(answers.load(), 0);
}

TEST_F(LoadedLibrary, WebPageButtonWhoseEntryClaimsTooLongATextReportsTheBlockLength) {
    std::uint8_t active = 0;
    ASSERT_EQ(symbol<decltype(Get_current_profile_id)>("Get_current_profile_id")(&active), 1);
    writeRawEntry(active, 6, {0x24, 0x00, 0xFF, 0xFF});
    const std::size_t before = webPageEvents.all().size();
    ASSERT_EQ(symbol<decltype(Capture_cb_data)>("Capture_cb_data")(recordWebPage), 5);

    Program tool({ORVANE_EMU_PATH, "--socket", *socket, "press-button", "6"});
    ASSERT_EQ(tool.exitStatus(), 0) << tool.err;
    ASSERT_TRUE(webPageEvents.waitFor(
        [before](const std::vector<WebPageEvent>& seen) { return seen.size() > before; }));
    symbol<decltype(Close_device)>("Close_device")();
    EXPECT_EQ(webPageEvents.all()[before].length, 1024);
}

// Last: the listener runs until the library is unloaded, and the mouse
// keeps its new firmware.
TEST_F(LoadedLibrary, FirmwareUpdateBesideTheListenerEndsWith96InApplicationMode) {
    ASSERT_EQ(symbol<decltype(Device_change_message)>("Device_change_message")(recordDeviceChange),
              1);
    ASSERT_EQ(symbol<decltype(Start_device_listener)>("Start_device_listener")(), 1);
    ASSERT_EQ(
        symbol<decltype(Firmware_update_progress)>("Firmware_update_progress")(recordProgress), 1);
    std::vector<std::uint8_t> image(3000, 0x5A);
    const std::uint8_t tag[] = {'O', 'V', 'F', 'W', 0x10, 0x02};  // version 0x0210
    std::copy(std::begin(tag), std::end(tag), image.begin());

    ASSERT_EQ(symbol<decltype(Update_firmware)>("Update_firmware")(
                  static_cast<std::int32_t>(image.size()), image.data()),
              1);

    ASSERT_TRUE(updateProgress.waitFor([](const std::vector<std::pair<int, int>>& seen) {
        return !seen.empty() && seen.back().first != ORVANE_FW_PROGRESS;
    }));
    EXPECT_EQ(updateProgress.all().back(), (std::pair<int, int>{96, 210}));
    Program tool({ORVANE_EMU_PATH, "--socket", *socket, "dump"});
    ASSERT_EQ(tool.exitStatus(), 0) << tool.err;
    const nlohmann::json state = nlohmann::json::parse(tool.out);
    EXPECT_EQ(state["mode"].get<std::string>(), "application");
    EXPECT_EQ(state["firmwareVersion"], 0x0210);
    // The listener reported the mouse's way there and back.
    EXPECT_TRUE(deviceChanges.waitFor([](const std::vector<int>& codes) {
        return codes == std::vector<int>{255, 2, 255, 1};
    })) << ::testing::PrintToString(deviceChanges.all());
}

std::atomic<int> levelsHeard{0};
void ORVANE_STDCALL countLevel(std::uint8_t* kind, std::uint8_t*, std::int32_t*) {
    if (*kind == 2) {
        ++levelsHeard;
    }
}

// The capture thread blocks in its read while the mouse is quiet (nothing
// wakes it periodically); Close_device still ends it at once, and it hears
// nothing afterwards.
TEST_F(LoadedLibrary, CloseDeviceEndsACaptureBlockedInItsReadAtOnce) {
    levelsHeard = 0;
    ASSERT_EQ(symbol<decltype(Capture_cb_data)>("Capture_cb_data")(countLevel), 5);
    Program press({ORVANE_EMU_PATH, "--socket", *socket, "press-dpi-button", "2"});
    ASSERT_EQ(press.exitStatus(), 0);
    const auto patience = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (levelsHeard == 0 && std::chrono::steady_clock::now() < patience) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(levelsHeard.load(), 1);
    // Quiet long enough for the thread to be back in its read.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(symbol<decltype(Close_device)>("Close_device")(), 1);
    const std::chrono::duration<double, std::milli> took =
        std::chrono::steady_clock::now() - started;
    RecordProperty("close_device_ms", std::to_string(took.count()));
    std::cout << "Close_device with the capture blocked took " << took.count() << " ms\n";
    Program later({ORVANE_EMU_PATH, "--socket", *socket, "press-dpi-button", "3"});
    ASSERT_EQ(later.exitStatus(), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(levelsHeard.load(), 1);
}

}  // namespace
