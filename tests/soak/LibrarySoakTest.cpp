// The built library, loaded as a host program loads it, under eight threads
// of exports while its capture runs, faults are injected into the simulated
// mouse and the mouse is unplugged and plugged in again. Every return code
// must be one the library promises and agree with the mouse: no success
// while the mouse is out, no value read back that nobody wrote, and at the
// end each profile holds the last setting reported written or one attempted
// after it.
//
// ORVANE_SOAK_LIBRARY_SECONDS sets the length of the run (600 without it);
// ORVANE_SOAK_SEED repeats a run.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <set>
#include <thread>

#include "Orvane_pro_dll.h"
#include "SimulatedMouse.h"

namespace orvane::soak {
namespace {

using namespace std::chrono_literals;
using emulator::Fault;

// The exports the soak calls, from the loaded library.
struct Exports {
    explicit Exports(void* library) : library(library) {}

    template <typename Function>
    Function* find(const char* name) {
        return reinterpret_cast<Function*>(::dlsym(library, name));
    }

    void* library;
    decltype(&::Set_polling_rate) setPollingRate =
        find<decltype(::Set_polling_rate)>("Set_polling_rate");
    decltype(&::Set_lod) setLod = find<decltype(::Set_lod)>("Set_lod");
    decltype(&::Get_fw_version) getFwVersion = find<decltype(::Get_fw_version)>("Get_fw_version");
    decltype(&::Get_current_profile_id) getCurrentProfile =
        find<decltype(::Get_current_profile_id)>("Get_current_profile_id");
    decltype(&::Get_number_of_profiles_in_mouse) getProfileCount =
        find<decltype(::Get_number_of_profiles_in_mouse)>("Get_number_of_profiles_in_mouse");
    decltype(&::Read_profile_data) readProfile =
        find<decltype(::Read_profile_data)>("Read_profile_data");
    decltype(&::Get_device_status) getStatus =
        find<decltype(::Get_device_status)>("Get_device_status");
    decltype(&::Capture_cb_data) capture = find<decltype(::Capture_cb_data)>("Capture_cb_data");
    decltype(&::Close_device) closeDevice = find<decltype(::Close_device)>("Close_device");
    decltype(&::Set_current_profile_id) setCurrentProfile =
        find<decltype(::Set_current_profile_id)>("Set_current_profile_id");
    decltype(&::Device_change_message) onDeviceChange =
        find<decltype(::Device_change_message)>("Device_change_message");
    decltype(&::Start_device_listener) startListener =
        find<decltype(::Start_device_listener)>("Start_device_listener");

    bool complete() const {
        return setPollingRate && setLod && getFwVersion && getCurrentProfile && getProfileCount &&
               readProfile && getStatus && capture && closeDevice && setCurrentProfile &&
               onDeviceChange && startListener;
    }
};

std::atomic<int> capturedEvents{0};
void ORVANE_STDCALL countEvent(std::uint8_t*, std::uint8_t*, std::int32_t*) {
    ++capturedEvents;
}
std::atomic<int> deviceChanges{0};
void ORVANE_STDCALL countDeviceChange(std::uint8_t*) {
    ++deviceChanges;
}

constexpr std::array<std::int32_t, 4> kRates = {125, 250, 500, 1000};

// The mouse's state as the threads see it: whether it is out, whether the
// host has also closed the library's handle since (Get_device_status trusts
// an open handle without asking the mouse, as documented), and a count that
// changes with every plug and unplug, so that a call knows whether the mouse
// stayed out for all of it.
struct MouseState {
    std::atomic<bool> out{false};
    std::atomic<bool> outAndClosed{false};
    std::atomic<std::uint64_t> changes{0};
};

// What one writer thread sent to its own profile, in order, and which of
// those the library reported written.
struct WriterLog {
    std::mutex mutex;
    std::vector<std::int32_t> rates;  // the first: what the mouse held at the start
    std::size_t lastAccepted = 0;
    std::set<std::int32_t> everSent;
};

class LibrarySoak {
  public:
    LibrarySoak(Exports& library, SimulatedMouse& mouse, std::uint32_t seed)
        : library(library), mouse(mouse), seed(seed) {}

    // A call that reaches the mouse: its result checked against the mouse's state.
    template <typename Call>
    std::uint8_t call(const char* name, Call&& run, bool trustsAnOpenHandle = false) {
        const std::atomic<bool>& gone = trustsAnOpenHandle ? state.outAndClosed : state.out;
        const bool outBefore = gone;
        const std::uint64_t changesBefore = state.changes;
        const auto started = std::chrono::steady_clock::now();
        const std::uint8_t result = run();
        const auto took = std::chrono::steady_clock::now() - started;
        ++calls;
        results.add(std::string(name) + " -> " + std::to_string(result));
        {
            std::lock_guard lock(longestMutex);
            longest = std::max(longest, took);
        }
        if (result != ORVANE_OK && result != ORVANE_DEVICE_ERROR) {
            violation(std::string(name) + " returned " + std::to_string(result));
        }
        if (result == ORVANE_OK && outBefore && gone && state.changes == changesBefore) {
            violation(std::string(name) + " succeeded while the mouse was unplugged");
        }
        if (result != ORVANE_OK) {
            std::this_thread::sleep_for(5ms);  // no mouse: a host would not spin either
        }
        return result;
    }

    void writer(int profile) {
        std::mt19937 random(seed + static_cast<std::uint32_t>(profile));
        WriterLog& log = logs[static_cast<std::size_t>(profile - 1)];
        while (!stop) {
            const std::int32_t rate = kRates[random() % kRates.size()];
            {
                std::lock_guard lock(log.mutex);
                log.rates.push_back(rate);
                log.everSent.insert(rate);
            }
            if (call("Set_polling_rate", [&] { return library.setPollingRate(profile, rate); }) ==
                ORVANE_OK) {
                std::lock_guard lock(log.mutex);
                log.lastAccepted = log.rates.size() - 1;
            }
            if (random() % 4 == 0) {
                call("Set_lod", [&] {
                    return library.setLod(profile, static_cast<std::int32_t>(random() % 2));
                });
            }
        }
    }

    void reader(int which) {
        std::mt19937 random(seed + 100 + static_cast<std::uint32_t>(which));
        auto data = std::make_unique<ProfileData>();
        while (!stop) {
            switch (random() % 6) {
                case 4: {
                    std::int16_t status = 0;
                    const std::uint8_t result = call(
                        "Get_device_status", [&] { return library.getStatus(&status); }, true);
                    if ((result == ORVANE_OK) != (status == 1)) {
                        violation("Get_device_status returned " + std::to_string(result) +
                                  " with status " + std::to_string(status));
                    }
                    break;
                }
                case 5: {
                    const auto profile = static_cast<std::int32_t>(1 + random() % 5);
                    call("Set_current_profile_id",
                         [&] { return library.setCurrentProfile(profile); });
                    break;
                }
                case 0: {
                    std::uint16_t version = 0;
                    if (call("Get_fw_version", [&] { return library.getFwVersion(&version); }) ==
                            ORVANE_OK &&
                        version != firmwareVersion) {
                        violation("Get_fw_version read " + std::to_string(version));
                    }
                    break;
                }
                case 1: {
                    std::uint8_t profile = 0;
                    if (call("Get_current_profile_id",
                             [&] { return library.getCurrentProfile(&profile); }) == ORVANE_OK &&
                        (profile < 1 || profile > 5)) {
                        violation("Get_current_profile_id read " + std::to_string(profile));
                    }
                    break;
                }
                case 2: {
                    std::uint8_t count = 0;
                    if (call("Get_number_of_profiles_in_mouse",
                             [&] { return library.getProfileCount(&count); }) == ORVANE_OK &&
                        (count < 1 || count > 5)) {
                        violation("Get_number_of_profiles_in_mouse read " + std::to_string(count));
                    }
                    break;
                }
                default: {
                    const int profile = 1 + static_cast<int>(random() % 5);
                    if (call("Read_profile_data", [&] {
                            return library.readProfile(profile, data.get(), nullptr);
                        }) == ORVANE_OK) {
                        WriterLog& log = logs[static_cast<std::size_t>(profile - 1)];
                        std::lock_guard lock(log.mutex);
                        if (!log.everSent.contains(data->pollingRate)) {
                            violation("Read_profile_data read a rate nobody sent: " +
                                      std::to_string(data->pollingRate));
                        }
                    }
                    break;
                }
            }
        }
    }

    // Faults while the mouse is in, then out for a while, then back, as a
    // user and a flaky cable would; Close_device on the removal and a new
    // capture on the arrival, as a host program does.
    void controller(std::chrono::steady_clock::time_point end) {
        std::mt19937 random(seed + 1000);
        while (std::chrono::steady_clock::now() < end) {
            for (int n = static_cast<int>(random() % 4); n > 0; --n) {
                injectFault(random);
                std::this_thread::sleep_for(std::chrono::milliseconds(20 + random() % 200));
            }
            mouse.pressDpiButton(static_cast<std::uint8_t>(1 + random() % 5));
            std::this_thread::sleep_for(std::chrono::milliseconds(random() % 200));
            mouse.unplug();
            ++state.changes;
            state.out = true;
            faults.add("unplug");
            library.closeDevice();
            state.outAndClosed = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20 + random() % 200));
            ++state.changes;
            state.out = false;
            state.outAndClosed = false;
            mouse.plug();
            faults.add("replug");
            library.capture(countEvent);
            std::this_thread::sleep_for(std::chrono::milliseconds(50 + random() % 300));
        }
    }

    void injectFault(std::mt19937& random) {
        constexpr std::array<HidError, 5> kRetried = {
            HidError::DeviceNotReady, HidError::Crc, HidError::WriteFault,
            HidError::InvalidParameter, HidError::FunctionFailed};
        const unsigned count = 1 + static_cast<unsigned>(random() % 5);
        switch (random() % 9) {
            case 0:
                faults.add("set fails, retried error");
                mouse.addFault(Fault::Kind::FailSets, count, kRetried[random() % 5]);
                break;
            case 1:
                faults.add("set fails, final error");
                mouse.addFault(Fault::Kind::FailSets, 1, HidError::GeneralFailure);
                break;
            case 2:
                faults.add("get fails, retried error");
                mouse.addFault(Fault::Kind::FailGets, count, kRetried[random() % 5]);
                break;
            case 3:
                faults.add("get fails, final error");
                mouse.addFault(Fault::Kind::FailGets, 1, HidError::Timeout);
                break;
            case 4:
                faults.add("busy replies");
                mouse.addFault(Fault::Kind::BusyReplies, count * 2, HidError::None,
                               static_cast<std::uint8_t>(3 + random() % 2));
                break;
            case 5:
                faults.add("status zero replies");
                mouse.addFault(Fault::Kind::StatusZeroReplies, count * 2);
                break;
            case 6:
                if (random() % 6 == 0) {
                    faults.add("reply never completes");
                    mouse.addFault(Fault::Kind::NeverReply, 1);
                }
                break;
            default:
                faults.add("unplug on the n-th transfer");
                mouse.addFault(Fault::Kind::UnplugOnTransfer, count);
                // The mouse may go at any moment now: no claim on results
                // until the controller's own unplug.
                break;
        }
    }

    void violation(const std::string& what) {
        violationKinds.add(what.substr(0, what.find_first_of("0123456789")));
        if (++violations <= 10) {
            std::lock_guard lock(longestMutex);
            ADD_FAILURE() << what;
        }
    }

    Exports& library;
    SimulatedMouse& mouse;
    std::uint32_t seed;
    std::uint16_t firmwareVersion = 0;
    MouseState state;
    std::array<WriterLog, 5> logs;
    std::atomic<bool> stop{false};
    std::atomic<std::size_t> calls{0};
    std::atomic<std::size_t> violations{0};
    std::mutex longestMutex;
    std::chrono::steady_clock::duration longest{};
    Tally results;
    Tally faults;
    Tally violationKinds;
};

TEST(LibrarySoak, EightThreadsOfExportsAgreeWithTheMouseUnderFaultsAndReplugs) {
    const auto seconds = roundsFrom("ORVANE_SOAK_LIBRARY_SECONDS", 600);
    const auto seed =
        static_cast<std::uint32_t>(roundsFrom("ORVANE_SOAK_SEED", std::random_device{}()));
    SimulatedMouse mouse;
    ASSERT_TRUE(mouse.serving());
    const nlohmann::json initial = mouse.dump();
    ASSERT_TRUE(initial.is_object());
    ::setenv("ORVANE_HID", ("emulator:" + mouse.socketPath()).c_str(), 1);

    const ProcessResources before = baselineResources();
    void* handle = ::dlopen(ORVANE_PRO_DLL_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << ::dlerror();
    Exports library(handle);
    ASSERT_TRUE(library.complete());
    LibrarySoak soak(library, mouse, seed);
    // The version as the library reports it, read while nothing disturbs the mouse.
    ASSERT_EQ(library.getFwVersion(&soak.firmwareVersion), ORVANE_OK);
    for (std::size_t p = 0; p < 5; ++p) {
        const int code = std::max(1, initial["profiles"][p]["pollingCode"].get<int>());
        soak.logs[p].rates = {1000 / code};
        soak.logs[p].everSent = {1000 / code};
    }

    ASSERT_EQ(library.capture(countEvent), ORVANE_CAPTURE_STARTED);
    ASSERT_EQ(library.onDeviceChange(countDeviceChange), ORVANE_OK);
    ASSERT_EQ(library.startListener(), ORVANE_OK);
    std::vector<std::thread> hosts;
    for (int profile = 1; profile <= 5; ++profile) {
        hosts.emplace_back([&soak, profile] { soak.writer(profile); });
    }
    for (int which = 0; which < 3; ++which) {
        hosts.emplace_back([&soak, which] { soak.reader(which); });
    }
    soak.controller(std::chrono::steady_clock::now() + std::chrono::seconds(seconds));
    soak.stop = true;
    for (std::thread& host : hosts) {
        host.join();
    }
    mouse.clearFaults();
    mouse.plug();
    library.closeDevice();

    // Every profile holds the last rate reported written, or one sent after it.
    const nlohmann::json end = mouse.dump();
    for (std::size_t p = 0; p < 5; ++p) {
        const int code = end["profiles"][p]["pollingCode"].get<int>();
        WriterLog& log = soak.logs[p];
        std::set<int> allowed;
        for (std::size_t i = log.lastAccepted; i < log.rates.size(); ++i) {
            allowed.insert(1000 / log.rates[i]);
        }
        EXPECT_TRUE(allowed.contains(code))
            << "profile " << p + 1 << " holds polling code " << code << ", last accepted rate "
            << log.rates[log.lastAccepted];
    }
    const int afterClose = capturedEvents;
    mouse.pressDpiButton(4);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(capturedEvents.load(), afterClose) << "a callback after Close_device";

    ::dlclose(handle);
    const ProcessResources after = settledResources(before);
    std::printf(
        "Library soak: %zu calls in %llu s from 8 threads, seed %u, %d events captured, "
        "%d device changes heard, longest call %lld ms\n",
        soak.calls.load(), static_cast<unsigned long long>(seconds), seed, capturedEvents.load(),
        deviceChanges.load(),
        static_cast<long long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(soak.longest).count()));
    soak.faults.print("Faults injected (" + std::to_string(soak.faults.total()) + "):");
    soak.results.print("Calls by export and result:");
    std::printf("Descriptors %zu -> %zu, threads %zu -> %zu, violations %zu\n", before.descriptors,
                after.descriptors, before.threads, after.threads, soak.violations.load());
    if (soak.violations > 0) {
        soak.violationKinds.print("Violations:");
    }
    EXPECT_EQ(soak.violations.load(), 0U);
    EXPECT_GT(deviceChanges.load(), 0);
    EXPECT_EQ(after.descriptors, before.descriptors);
    EXPECT_EQ(after.threads, before.threads);
    ::unsetenv("ORVANE_HID");
}

}  // namespace
}  // namespace orvane::soak
