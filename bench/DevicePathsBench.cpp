// Wall time of every device operation beside the protocol's own pauses,
// through the real code (the application's Apply, the library's command
// functions, the firmware update) over the simulated mouse's socket bus.
// The clock is the real one; it only also adds up the pauses it was asked
// for, which makes each row's floor. Prints "ROW" lines for bench/bench.py.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/ApplyRunner.h"
#include "device/DeviceLink.h"
#include "devlib/Commands.h"
#include "devlib/FirmwareUpdate.h"
#include "devlib/LibraryCore.h"
#include "platform/virtual/EmulatorHidBus.h"
#include "profile/MouseProfile.h"

namespace {

using namespace orvane;
using Milliseconds = std::chrono::duration<double, std::milli>;

// The real clock that also keeps the sum of the pauses it slept.
class PauseCountingClock final : public Clock {
  public:
    TimePoint now() const override { return real.now(); }
    void sleepFor(Duration duration) override {
        {
            std::lock_guard guard(mutex);
            paused += duration;
        }
        real.sleepFor(duration);
    }
    Duration takePauses() {
        std::lock_guard guard(mutex);
        return std::exchange(paused, Duration{0});
    }

  private:
    SteadyClock real;
    std::mutex mutex;
    Duration paused{0};
};

PauseCountingClock pauses;

void printRow(const std::string& name, Milliseconds took, Clock::Duration floor,
              const std::string& how) {
    std::printf("ROW\t%s\t%.1f\t%lld\tms\t%s\n", name.c_str(), took.count(),
                static_cast<long long>(floor.count()), how.c_str());
    std::fflush(stdout);
}

// Runs `operation` `times` times; the row is the median wall time beside the
// pauses of that same run.
void measure(const std::string& name, int times, const std::function<bool()>& operation,
             const std::string& how) {
    std::vector<std::pair<Milliseconds, Clock::Duration>> runs;
    for (int i = 0; i < times; ++i) {
        pauses.takePauses();
        const auto started = std::chrono::steady_clock::now();
        const bool ok = operation();
        const Milliseconds took = std::chrono::steady_clock::now() - started;
        if (!ok) {
            std::fprintf(stderr, "%s failed; its row is left out\n", name.c_str());
            return;
        }
        runs.emplace_back(took, pauses.takePauses());
    }
    std::sort(runs.begin(), runs.end());
    const auto& [took, floor] = runs[runs.size() / 2];
    printRow(name, took, floor, how);
}

void applyRow(const std::string& socket, const std::filesystem::path& folder) {
    EmulatorHidBus bus(socket);
    DeviceLink link(bus, pauses);
    ApplyRunner runner(link);
    ApplyRequest request;
    for (std::size_t slot = 0; slot < request.records.size(); ++slot) {
        request.records[slot].filePath =
            folder / ("Default" + std::to_string(slot + 1) + ".profile");
    }
    link.openDeviceIfClosed();
    measure(
        "Apply: files, upload and selection", 5,
        [&] {
            const ApplyOutcome outcome = runner.run(request);
            return outcome.mouseFound && outcome.uploadResult == 1 && outcome.selectResult == 1;
        },
        "ApplyRunner::run, median of 5; floor: the protocol's pauses it slept");
}

void libraryRows(devlib::LibraryCore& core) {
    using namespace orvane::devlib;
    const std::string how = "the export's code on the socket bus, median of 5; floor: its pauses";
    DpiBlock dpi{};
    dpi.first = 5;
    dpi.second = 1;
    for (int i = 0; i < 10; ++i) {
        dpi.values[i] = static_cast<std::uint16_t>(8 * (i + 1));
    }
    LightingBlock lighting{};
    std::uint16_t version = 0;
    std::uint8_t byte = 0;
    std::int16_t status = 0;
    auto data = std::make_unique<ProfileData>();
    auto texts = std::make_unique<ProgramTexts>();
    ButtonSetting button{};
    button.button = 6;
    button.type = 21;
    button.sub = 2;
    button.value = 800;
    const std::vector<std::pair<std::string, std::function<std::uint8_t()>>> exports = {
        {"Get_device_status", [&] { return getDeviceStatus(core, &status); }},
        {"Get_fw_version", [&] { return getFirmwareVersion(core, &version); }},
        {"Get_bl_version", [&] { return getBootLoaderVersion(core, &version); }},
        {"Set_polling_rate", [&] { return setPollingRate(core, 1, 1000); }},
        {"Set_button_response_time", [&] { return setResponseTime(core, 1, 4); }},
        {"Set_lod", [&] { return setLiftOff(core, 1, 1); }},
        {"Set_angle_snapping", [&] { return setAngleSnapping(core, 1, 1); }},
        {"Set_dpi_settings", [&] { return setDpiSettings(core, 1, dpi); }},
        {"Update_lighting_settings",
         [&] { return updateLightingSettings(core, 1, 2, lighting, 75, 0, 0); }},
        {"Sync_profile", [&] { return syncProfile(core, 1); }},
        {"Get_current_profile_id", [&] { return getCurrentProfileId(core, &byte); }},
        {"Set_current_profile_id", [&] { return setCurrentProfileId(core, 1); }},
        {"Get_number_of_profiles_in_mouse", [&] { return getNumberOfProfiles(core, &byte); }},
        {"Copy_profile_data", [&] { return copyProfileData(core, 1, 2); }},
        {"Set_button_settings", [&] { return setButtonSettings(core, 1, &button); }},
        {"Read_profile_data", [&] { return readProfileData(core, 1, data.get(), texts.get()); }},
    };
    for (const auto& [name, call] : exports) {
        measure(
            "library: " + name, 5, [&] { return call() == 1; }, how);
    }
}

std::atomic<int> lastStatus{0};
std::mutex doneMutex;
std::condition_variable doneSignal;

void ORVANE_STDCALL onProgress(std::uint8_t* status, std::int32_t*) {
    if (*status != 1) {
        std::lock_guard guard(doneMutex);
        lastStatus = *status;
        doneSignal.notify_all();
    }
}

void firmwareRow(devlib::LibraryCore& core, std::size_t blocks) {
    std::vector<std::uint8_t> image(blocks * devlib::kFirmwareBlockSize, 0x5A);
    // Tagged with the version the simulated mouse has by default, so the
    // benchmark leaves it as it found it.
    const std::uint8_t tag[] = {'O', 'V', 'F', 'W', 0x05, 0x01};
    std::copy(std::begin(tag), std::end(tag), image.begin());
    devlib::FirmwareUpdater updater(core);
    updater.setProgressCallback(onProgress);
    measure(
        "firmware update, " + std::to_string(blocks) + " blocks", 1,
        [&] {
            lastStatus = 0;
            updater.update(static_cast<std::int32_t>(image.size()), image.data());
            std::unique_lock lock(doneMutex);
            doneSignal.wait(lock, [] { return lastStatus != 0; });
            return lastStatus == 96;
        },
        "Update_firmware to its final report, once; floor: its pauses");
}

}  // namespace

int main(int argc, char** argv) {
    std::string socket = defaultEmulatorSocket();
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--socket") == 0) {
            socket = argv[i + 1];
        }
    }
    if (!emulatorAnswers(socket)) {
        std::fprintf(stderr, "no simulated mouse answers on %s\n", socket.c_str());
        return 1;
    }
    const auto folder = std::filesystem::temp_directory_path() / "orvane-bench-profiles";
    std::filesystem::create_directories(folder);
    applyRow(socket, folder);
    std::filesystem::remove_all(folder);

    devlib::LibraryCore core(std::make_unique<EmulatorHidBus>(socket), pauses);
    libraryRows(core);
    firmwareRow(core, 4);
    firmwareRow(core, 100);
    return 0;
}
