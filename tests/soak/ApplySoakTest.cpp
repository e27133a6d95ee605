// Applies of random profiles through the application's own Apply path (the
// files, the device link, the upload and the selection) against orvane-emud,
// with faults injected before and while each Apply runs. After every Apply
// what the user would be told must match what the mouse holds.
//
// ORVANE_SOAK_APPLIES sets the number of Applies (10 000 without it);
// ORVANE_SOAK_PAUSE_SCALE scales the protocol's pauses (the simulated mouse
// does not need them; the retry and polling counts stay as they are);
// ORVANE_SOAK_SEED repeats a run.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <future>
#include <random>
#include <thread>

#include "RandomProfile.h"
#include "SimulatedMouse.h"
#include "app/ApplyRunner.h"
#include "emulator/MouseStateJson.h"
#include "platform/virtual/EmulatorHidBus.h"
#include "protocol/image/DeviceImage.h"

namespace orvane::soak {
namespace {

using namespace std::chrono_literals;
using emulator::Fault;
using Milliseconds = std::chrono::milliseconds;

// The real pauses, shortened by a factor: the protocol's order of pauses
// and retries is kept, only the waiting is less.
class ScaledClock final : public Clock {
  public:
    explicit ScaledClock(double factor) : factor(factor) {}
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
    void sleepFor(Duration duration) override {
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::llround(1000.0 * factor * double(duration.count()))));
    }

  private:
    double factor;
};

// The longest an Apply may take by the protocol's own rules: three exchanges
// (two image halves, the selection), each a send of at most four attempts
// with three 50 ms pauses and a read that polls six times with 500 ms of
// pauses, plus the fixed 200, 200 and 1500 ms. A read that never completes
// costs the daemon's time-out once per injected fault. Transfers themselves
// and the saving of five files get a generous allowance on a loaded machine.
Milliseconds worstApply(double pauseScale, unsigned neverReplies) {
    const Milliseconds pauses = 3 * (3 * 50ms + 500ms) + 200ms + 200ms + 1500ms;
    const auto scaled = Milliseconds(std::llround(pauseScale * double(pauses.count())));
    return scaled + neverReplies * SimulatedMouse::kNeverReplyTimeout + 10s;
}

enum class Injected {
    SetRetried,
    SetNotRetried,
    GetRetried,
    GetNotRetried,
    Busy,
    StatusZero,
    NeverReply,
    UnplugMidUpload,
    UnplugBefore,
    UnplugDuring,
};
constexpr int kInjectedKinds = 10;

const char* nameOf(Injected kind) {
    switch (kind) {
        case Injected::SetRetried:
            return "set fails, retried error (21/23/29/87/1627)";
        case Injected::SetNotRetried:
            return "set fails, final error (31/121/1167)";
        case Injected::GetRetried:
            return "get fails, retried error";
        case Injected::GetNotRetried:
            return "get fails, final error";
        case Injected::Busy:
            return "busy replies (status 3/4)";
        case Injected::StatusZero:
            return "status zero replies";
        case Injected::NeverReply:
            return "reply never completes";
        case Injected::UnplugMidUpload:
            return "unplug on the n-th transfer";
        case Injected::UnplugBefore:
            return "unplugged before the Apply";
        case Injected::UnplugDuring:
            return "unplugged while the Apply runs";
    }
    return "?";
}

constexpr std::array<HidError, 5> kRetried = {HidError::DeviceNotReady, HidError::Crc,
                                              HidError::WriteFault, HidError::InvalidParameter,
                                              HidError::FunctionFailed};
constexpr std::array<HidError, 3> kFinal = {HidError::GeneralFailure, HidError::Timeout,
                                            HidError::DeviceNotConnected};

// What the slot holds after the Apply, against the images before and after.
enum class Held { NewActive, NewInactive, Old, Mixed, Other };

const char* nameOf(Held held) {
    switch (held) {
        case Held::NewActive:
            return "new image, active";
        case Held::NewInactive:
            return "new image, not active";
        case Held::Old:
            return "old image";
        case Held::Mixed:
            return "half new, half old";
        case Held::Other:
            return "anything else";
    }
    return "?";
}

// The slot image as the simulated mouse's state shows it.
std::string hex(const DeviceImage& image) {
    return emulator::toHex(image.bytes);
}

Held classify(const std::string& now, const std::string& before, const std::string& wanted,
              bool active) {
    if (now == wanted) {
        return active ? Held::NewActive : Held::NewInactive;
    }
    if (now == before) {
        return Held::Old;
    }
    const std::size_t half = wanted.size() / 2;
    const bool firstNew = now.compare(0, half, wanted, 0, half) == 0;
    const bool secondOld = now.compare(half, half, before, half, half) == 0;
    return firstNew && secondOld ? Held::Mixed : Held::Other;
}

class ApplySoak {
  public:
    ApplySoak(SimulatedMouse& mouse, std::uint32_t seed, double pauseScale)
        : mouse(mouse), random(seed), pauseScale(pauseScale), clock(pauseScale) {}

    // Injects one fault of the kind; the number of never-completing reads it adds.
    unsigned inject(Injected kind) {
        std::uniform_int_distribution<unsigned> few(1, 5);
        auto any = [this](const auto& list) {
            return list[std::uniform_int_distribution<std::size_t>(0, list.size() - 1)(random)];
        };
        faults.add(nameOf(kind));
        switch (kind) {
            case Injected::SetRetried:
                mouse.addFault(Fault::Kind::FailSets, few(random), any(kRetried));
                break;
            case Injected::SetNotRetried:
                mouse.addFault(Fault::Kind::FailSets, 1, any(kFinal));
                break;
            case Injected::GetRetried:
                mouse.addFault(Fault::Kind::FailGets, few(random), any(kRetried));
                break;
            case Injected::GetNotRetried:
                mouse.addFault(Fault::Kind::FailGets, 1, any(kFinal));
                break;
            case Injected::Busy:
                mouse.addFault(Fault::Kind::BusyReplies, few(random) + few(random), HidError::None,
                               static_cast<std::uint8_t>(3 + random() % 2));
                break;
            case Injected::StatusZero:
                mouse.addFault(Fault::Kind::StatusZeroReplies, few(random) + few(random));
                break;
            case Injected::NeverReply:
                mouse.addFault(Fault::Kind::NeverReply, 1);
                return 1;
            case Injected::UnplugMidUpload:
                mouse.addFault(Fault::Kind::UnplugOnTransfer, few(random) - 1);
                break;
            case Injected::UnplugBefore:
            case Injected::UnplugDuring:
                mouse.unplug();
                break;
        }
        return 0;
    }

    Injected randomKind(bool beforeRun) {
        for (;;) {
            const auto kind = static_cast<Injected>(random() % kInjectedKinds);
            // Time-outs are kept rare: each holds the daemon for its full wait.
            const bool rare = kind == Injected::NeverReply && random() % 8 != 0;
            const bool wrongTime = (kind == Injected::UnplugBefore && !beforeRun) ||
                                   (kind == Injected::UnplugDuring && beforeRun);
            if (!rare && !wrongTime) {
                return kind;
            }
        }
    }

    void run(std::size_t applies, const std::filesystem::path& folder) {
        EmulatorHidBus bus(mouse.socketPath());
        DeviceLink link(bus, clock);
        std::atomic<int> removals{0};
        // What the main window does on the mouse's removal.
        auto watcher = bus.watch([&](const HidHotplugEvent& event) {
            if (event.kind == HidHotplugEvent::Kind::Removal) {
                link.closeDevice();
                ++removals;
            }
        });
        ApplyRunner runner(link);

        std::array<MouseProfile, 5> records;
        for (std::size_t i = 0; i < applies; ++i) {
            const auto slot = static_cast<std::uint8_t>(random() % 5);
            ApplyRequest request;
            for (std::uint8_t s = 0; s < 5; ++s) {
                request.records[s] = randomProfile(random, s);
                request.records[s].filePath =
                    folder / ("Default" + std::to_string(s + 1) + ".profile");
            }
            request.slot = slot;
            DeviceImage wantedImage = buildDeviceImage(request.records[slot]);
            const std::string wanted = hex(wantedImage);
            const std::string before = mouse.dump(slot)["slots"][0]["image"];

            // The first rounds take each kind in turn, so that a short run sees them all.
            unsigned neverReplies = 0;
            const int removalsBefore = removals;
            bool unpluggedBefore = false;
            std::optional<Injected> during;
            if (i < kInjectedKinds) {
                const auto kind = static_cast<Injected>(i);
                if (kind == Injected::UnplugDuring) {
                    during = kind;
                } else {
                    neverReplies += inject(kind);
                    unpluggedBefore = kind == Injected::UnplugBefore;
                }
            } else {
                for (int n = static_cast<int>(random() % 3); n > 0; --n) {
                    const Injected kind = randomKind(true);
                    neverReplies += inject(kind);
                    unpluggedBefore = unpluggedBefore || kind == Injected::UnplugBefore;
                }
                if (random() % 4 == 0) {
                    during = randomKind(false);
                }
            }
            if (unpluggedBefore) {
                waitForRemoval(removals, removalsBefore);
            }
            if (during == Injected::NeverReply) {
                ++neverReplies;
            }

            const auto started = std::chrono::steady_clock::now();
            auto promise = std::make_shared<std::promise<ApplyOutcome>>();
            std::future<ApplyOutcome> told = promise->get_future();
            runner.start(request,
                         [promise](const ApplyOutcome& outcome) { promise->set_value(outcome); });
            std::thread injector;
            if (during) {
                const auto delay = std::chrono::microseconds(
                    random() % std::max<long long>(1, std::llround(1.9e6 * pauseScale) + 20000));
                injector = std::thread([this, delay, kind = *during] {
                    std::this_thread::sleep_for(delay);
                    inject(kind);
                });
            }
            const Milliseconds bound = worstApply(pauseScale, neverReplies);
            if (told.wait_for(bound) != std::future_status::ready) {
                ADD_FAILURE() << "Apply " << i << " still running after " << bound.count()
                              << " ms, the protocol's worst case";
                std::fflush(stdout);
                std::_Exit(1);  // a hung worker cannot be joined
            }
            const auto took = std::chrono::duration_cast<Milliseconds>(
                std::chrono::steady_clock::now() - started);
            longest = std::max(longest, took);
            const ApplyOutcome outcome = told.get();
            if (injector.joinable()) {
                injector.join();
            }
            mouse.clearFaults();

            const nlohmann::json state = mouse.dump(slot);
            const bool active = state["activeSlot"] == slot;
            const Held held = classify(state["slots"][0]["image"], before, wanted, active);
            const bool toldSuccess = outcome.reachedMouse();
            outcomes.add(std::string(toldSuccess ? "told success" : "told failure") + " | " +
                         nameOf(held));
            check(i, toldSuccess, held, outcome);

            if (!state["plugged"].get<bool>()) {
                waitForRemoval(removals, removalsBefore);
                mouse.plug();
                faults.add("replug");
            }
            // A long run shows its figures as it goes, so that one stopped
            // early still tells what it saw.
            if ((i + 1) % 1000 == 0 && i + 1 < applies) {
                printFigures("after " + std::to_string(i + 1) + " Applies");
            }
        }
        runner.waitForAll();
    }

    void printFigures(const std::string& when) const {
        faults.print("Faults injected " + when + " (" + std::to_string(faults.total()) + "):");
        outcomes.print("Outcomes " + when + " (what the user is told | what the slot holds):");
    }

    void check(std::size_t i, bool toldSuccess, Held held, const ApplyOutcome& outcome) {
        std::string fault;
        if (toldSuccess && held != Held::NewActive) {
            fault = "told success, but the mouse holds: ";
        } else if (!toldSuccess && held == Held::Other) {
            fault = "told failure, and the slot holds neither image: ";
        } else if (held == Held::Mixed && outcome.uploadResult == 1) {
            fault = "both halves reported written, but the slot is mixed: ";
        } else if (!outcome.mouseFound && held != Held::Old) {
            fault = "no mouse found, yet the slot changed: ";
        }
        if (!fault.empty()) {
            ++violations;
            if (violations <= 10) {
                ADD_FAILURE() << "Apply " << i << ": " << fault << nameOf(held) << " (upload "
                              << outcome.uploadResult << ", select " << outcome.selectResult << ")";
            }
        }
    }

    static void waitForRemoval(const std::atomic<int>& removals, int before) {
        for (int wait = 0; wait < 200 && removals <= before; ++wait) {
            std::this_thread::sleep_for(10ms);
        }
    }

    SimulatedMouse& mouse;
    std::mt19937 random;
    double pauseScale;
    ScaledClock clock;
    Tally faults;
    Tally outcomes;
    std::size_t violations = 0;
    Milliseconds longest{0};
};

TEST(ApplySoak, WhatTheUserIsToldMatchesWhatTheMouseHoldsUnderFaults) {
    const std::size_t applies = roundsFrom("ORVANE_SOAK_APPLIES", 10000);
    const double pauseScale = numberFrom("ORVANE_SOAK_PAUSE_SCALE", 0.05);
    const auto seed =
        static_cast<std::uint32_t>(roundsFrom("ORVANE_SOAK_SEED", std::random_device{}()));
    SimulatedMouse mouse;
    ASSERT_TRUE(mouse.serving());
    ASSERT_TRUE(mouse.dump().is_object());  // the control connection is part of the baseline
    test::TempDir folder;

    const ProcessResources before = baselineResources();
    ApplySoak soak(mouse, seed, pauseScale);
    const auto started = std::chrono::steady_clock::now();
    soak.run(applies, folder.path());
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started);
    const ProcessResources after = settledResources(before);

    std::printf(
        "Apply soak: %zu Applies, seed %u, pause scale %.3f, %.1f s, longest Apply %lld ms\n",
        applies, seed, pauseScale, seconds.count(), static_cast<long long>(soak.longest.count()));
    soak.printFigures("in all");
    std::printf("Descriptors %zu -> %zu, threads %zu -> %zu, violations %zu\n", before.descriptors,
                after.descriptors, before.threads, after.threads, soak.violations);

    EXPECT_EQ(soak.violations, 0U);
    EXPECT_EQ(after.descriptors, before.descriptors);
    EXPECT_EQ(after.threads, before.threads);
}

}  // namespace
}  // namespace orvane::soak
