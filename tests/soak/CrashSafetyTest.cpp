// A child process saves the five profiles and the macro collection, as an
// Apply does, and is killed with SIGKILL at a random moment. After every
// kill each profile file and each listed macro file must load and be, byte
// for byte, the old version or the new one, and the macro list must name
// only files that are there.
//
// ORVANE_SOAK_KILLS sets the number of kills (1 000 without it);
// ORVANE_SOAK_SEED repeats a run.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <random>
#include <thread>

#include "RandomProfile.h"
#include "SoakFigures.h"
#include "app/ProfileSet.h"
#include "macros/MacroCollection.h"
#include "macros/MacroFile.h"
#include "profile/FileIO.h"
#include "profile/ProfileFile.h"
#include "profile/TextCodec.h"
#include "support/TempDir.h"

namespace orvane::soak {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::vector<std::uint8_t>>;

// Names drawn from a small pool, so that from one save to the next some
// macros stay, some are renamed and some go: the list and the sweep of
// stale files both have work to do.
constexpr std::array<const char16_t*, 8> kMacroNames = {u"Reload",      u"Build order", u"Sprint",
                                                        u"Crouch.jump", u"Greeting",    u"Emote 1",
                                                        u"Emote 2",     u"Buy menu"};

// Generation g of the user's data, the same every time it is made.
void saveGeneration(const fs::path& profiles, const fs::path& macros, std::uint32_t seed,
                    std::size_t generation) {
    std::mt19937 random(seed + static_cast<std::uint32_t>(generation));
    ProfileSet set(profiles);
    for (std::uint8_t slot = 0; slot < ProfileSet::kSlotCount; ++slot) {
        const fs::path file = set.record(slot).filePath;
        set.record(slot) = randomProfile(random, slot);
        set.record(slot).filePath = file;
    }
    MacroCollection collection;
    collection.macroFolder = macros;
    for (std::size_t n = 1 + random() % 5; n > 0; --n) {
        const std::int32_t id = static_cast<std::int32_t>(random() % kMacroNames.size());
        if (collection.findMacro(id) != nullptr) {
            continue;
        }
        CMacro& macro = collection.addMacro(id, kMacroNames[static_cast<std::size_t>(id)]);
        for (std::size_t step = random() % 200; step > 0; --step) {
            macro.addEvent(1, static_cast<std::uint16_t>(0x41 + random() % 26),
                           static_cast<std::uint8_t>(step % 2), random() % 3000, 0);
        }
    }
    set.saveAll();
    collection.saveMacroFiles();
}

Files filesIn(const fs::path& folder) {
    Files files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        DataStream stream;
        readWholeFile(entry.path(), stream);
        files[entry.path().filename().string()] =
            std::vector<std::uint8_t>(stream.data(), stream.data() + stream.length());
    }
    return files;
}

class CrashSoak {
  public:
    CrashSoak(const fs::path& root, std::uint32_t seed)
        : profiles(root / "Profiles"), macros(root / "Macros"), seed(seed) {}

    void firstSave() { saveGeneration(profiles, macros, seed, 0); }

    // How long a child takes from its start to the end of its save, which
    // is the window the kills are spread over. A forked child is slower
    // than its parent (its pages are copied as it writes them, the more so
    // under a sanitizer), so it is measured on children. Each writes the
    // generation the folders already hold: the same bytes again.
    void measureTheChildsSave(std::size_t generation) {
        std::vector<std::chrono::steady_clock::duration> runs;
        for (int run = 0; run < 3; ++run) {
            const auto started = std::chrono::steady_clock::now();
            const pid_t child = ::fork();
            if (child == 0) {
                saveGeneration(profiles, macros, seed, generation);
                ::_exit(0);
            }
            ::waitpid(child, nullptr, 0);
            runs.push_back(std::chrono::steady_clock::now() - started);
        }
        std::sort(runs.begin(), runs.end());
        saveTime = runs[1];
    }

    void round(std::size_t generation, std::mt19937& random) {
        if (generation % 100 == 1) {
            measureTheChildsSave(generation - 1);
        }
        const Files oldProfiles = filesIn(profiles);
        const Files oldMacros = filesIn(macros);

        const pid_t child = ::fork();
        if (child == 0) {
            saveGeneration(profiles, macros, seed, generation);
            ::_exit(0);
        }
        ASSERT_GT(child, 0);
        const auto window = std::chrono::duration_cast<std::chrono::microseconds>(saveTime * 5 / 4);
        std::this_thread::sleep_for(
            std::chrono::microseconds(random() % std::max<long long>(1, window.count())));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        tally.add(WIFSIGNALED(status) ? "killed while saving" : "finished before the kill");
        const Files midProfiles = filesIn(profiles);
        const Files midMacros = filesIn(macros);
        checkTheApplicationLoadsEverything(generation);

        // The same save carried through, for the new version of every file.
        saveGeneration(profiles, macros, seed, generation);
        const Files newProfiles = filesIn(profiles);
        const Files newMacros = filesIn(macros);

        checkProfiles(generation, oldProfiles, midProfiles, newProfiles);
        checkMacros(generation, oldMacros, midMacros, newMacros);
    }

    // What the application finds when it starts after the crash.
    void checkTheApplicationLoadsEverything(std::size_t generation) {
        for (std::size_t slot = 0; slot < ProfileSet::kSlotCount; ++slot) {
            MouseProfile loaded;
            if (!loadProfile(profiles / slotFileName(slot), loaded)) {
                fail(generation, slotFileName(slot).string() + " is missing or does not load");
            }
        }
        MacroCollection collection;
        collection.macroFolder = macros;
        const MacroLoadReport report = collection.loadMacroFiles();
        if (report.listDamaged || report.skipped != 0) {
            fail(generation, "loading the macros skipped " + std::to_string(report.skipped) +
                                 (report.listDamaged ? ", the list is damaged" : ""));
        }
    }

    void checkProfiles(std::size_t generation, const Files& before, const Files& mid,
                       const Files& after) {
        for (std::size_t slot = 0; slot < ProfileSet::kSlotCount; ++slot) {
            const std::string name = slotFileName(slot).string();
            const auto found = mid.find(name);
            if (found == mid.end()) {
                continue;  // reported by the load
            }
            tally.add(classify(generation, found->second, before, after, name, "profile"));
        }
        for (const auto& [name, bytes] : mid) {
            if (name.find(".tmp") != std::string::npos) {
                tally.add("profile folder: temporary left by the kill");
            }
        }
        // The next save clears them, or the folder collects one per crash.
        for (const auto& [name, bytes] : after) {
            if (name.find(".tmp") != std::string::npos) {
                fail(generation, name + " is still there after the next save");
            }
        }
    }

    void checkMacros(std::size_t generation, const Files& before, const Files& mid,
                     const Files& after) {
        const auto listBytes = mid.find(std::string(kMacroListFileName));
        if (listBytes == mid.end()) {
            fail(generation, "the macro list is missing");
            return;
        }
        DataStream list = DataStream::fromBytes(listBytes->second);
        std::vector<std::string> listed;
        const bool complete = readMacroList(list, [&](std::u16string path) {
            listed.push_back(fs::path(toUtf8(path)).filename().string());
        });
        if (!complete) {
            fail(generation, "the macro list is damaged");
        }
        tally.add(classify(generation, listBytes->second, before, after,
                           std::string(kMacroListFileName), "macro list"));
        for (const std::string& name : listed) {
            const auto found = mid.find(name);
            if (found == mid.end()) {
                fail(generation, "the macro list names " + name + ", which is missing");
                continue;
            }
            DataStream stream = DataStream::fromBytes(found->second);
            CMacro macro;
            if (!readMacro(stream, macro)) {
                fail(generation, "listed macro " + name + " does not load");
                continue;
            }
            tally.add(classify(generation, found->second, before, after, name, "listed macro"));
        }
    }

    std::string classify(std::size_t generation, const std::vector<std::uint8_t>& bytes,
                         const Files& before, const Files& after, const std::string& name,
                         const std::string& what) {
        const auto old = before.find(name);
        const auto fresh = after.find(name);
        if (fresh != after.end() && bytes == fresh->second) {
            return what + ": new version";
        }
        if (old != before.end() && bytes == old->second) {
            return what + ": old version";
        }
        fail(generation, name + " is neither its old nor its new version");
        return what + ": NEITHER";
    }

    void fail(std::size_t generation, const std::string& what) {
        ++faults;
        if (faults <= 10) {
            ADD_FAILURE() << "after kill " << generation << ": " << what;
        }
    }

    fs::path profiles;
    fs::path macros;
    std::uint32_t seed;
    std::chrono::steady_clock::duration saveTime{};
    Tally tally;
    std::size_t faults = 0;
};

TEST(CrashSoak, EveryFileIsItsOldOrItsNewVersionAfterAKillDuringTheSave) {
    const std::size_t kills = roundsFrom("ORVANE_SOAK_KILLS", 1000);
    const auto seed =
        static_cast<std::uint32_t>(roundsFrom("ORVANE_SOAK_SEED", std::random_device{}()));
    test::TempDir root;
    CrashSoak soak(root.path(), seed);
    soak.firstSave();
    std::mt19937 random(seed);
    for (std::size_t generation = 1; generation <= kills; ++generation) {
        soak.round(generation, random);
    }
    std::printf(
        "Crash soak: %zu children, seed %u, a child saving five profiles and the macros takes "
        "%.1f ms\n",
        kills, seed, std::chrono::duration<double, std::milli>(soak.saveTime).count());
    soak.tally.print("What each file was after the kill:");
    EXPECT_EQ(soak.faults, 0U);
}

}  // namespace
}  // namespace orvane::soak
