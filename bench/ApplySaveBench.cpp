// What an Apply's saving costs now that every file reaches the disk: the
// five profile files and a macro collection saved through the real writers,
// beside the same bytes written and renamed without waiting for the disk
// (the floor). The difference is what the syncs add to each Apply. Prints
// "ROW" lines for bench/bench.py, and a summary.
//
// Usage: orvane-bench-save [--folder DIR] [--rounds N] [--socket IGNORED]
// The folder defaults to one made inside the user's data folder, on the file
// system where the profiles live; it is removed afterwards.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "macros/MacroCollection.h"
#include "macros/MacroFile.h"
#include "profile/FileIO.h"
#include "profile/ProfileFile.h"
#include "profile/TextCodec.h"

namespace {

using namespace orvane;
namespace fs = std::filesystem;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr std::size_t kProfiles = 5;
constexpr std::size_t kMacros = 8;
constexpr std::size_t kStepsPerMacro = 50;

fs::path defaultFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    fs::path base = data != nullptr && *data != '\0' ? fs::path(data)
                    : home != nullptr                ? fs::path(home) / ".local" / "share"
                                                     : fs::temp_directory_path();
    return base / ("orvane-bench-save-" + std::to_string(std::random_device{}()));
}

std::vector<MouseProfile> profilesIn(const fs::path& folder, std::size_t round) {
    std::vector<MouseProfile> profiles(kProfiles);
    for (std::size_t slot = 0; slot < kProfiles; ++slot) {
        profiles[slot].slotIndex = static_cast<std::uint8_t>(slot);
        profiles[slot].name = u"Round " + fromUtf8(std::to_string(round));
        profiles[slot].filePath = folder / "Profiles" / slotFileName(slot);
    }
    return profiles;
}

void fillMacros(MacroCollection& macros, const fs::path& folder) {
    macros.macroFolder = folder / "Macros";
    for (std::size_t m = 0; m < kMacros; ++m) {
        CMacro& macro =
            macros.addMacro(static_cast<std::int32_t>(m), u"Macro " + fromUtf8(std::to_string(m)));
        for (std::size_t step = 0; step < kStepsPerMacro; ++step) {
            macro.addEvent(1, static_cast<std::uint16_t>(0x41 + step % 26),
                           static_cast<std::uint8_t>(step % 2), 20, 0);
        }
    }
}

// Every step's delay becomes the round number, so that each round's macros
// differ from the last round's and are written, not left alone.
void changeMacros(MacroCollection& macros, int round) {
    for (const auto& macro : macros.macros()) {
        for (CEventItem& event : macro->events) {
            event.delay = static_cast<std::uint32_t>(round);
        }
    }
}

// The same files without the syncs: write, flush, rename.
void writeWithoutSync(const fs::path& path, const DataStream& stream) {
    const fs::path temporary = fs::path(path) += ".floor";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(stream.data()), stream.length());
    }
    fs::rename(temporary, path);
}

void saveWithoutSync(const std::vector<MouseProfile>& profiles, const MacroCollection& macros) {
    for (const MouseProfile& profile : profiles) {
        DataStream stream = DataStream::forWriting();
        writeProfile(profile, stream);
        writeWithoutSync(profile.filePath, stream);
    }
    std::vector<std::u16string> listed;
    for (const auto& macro : macros.macros()) {
        DataStream stream = DataStream::forWriting();
        writeMacro(*macro, stream);
        const fs::path path = macros.macroFolder / (toUtf8(macro->name) + ".macro");
        writeWithoutSync(path, stream);
        listed.push_back(fromUtf8(path.string()));
    }
    DataStream list = DataStream::forWriting();
    writeMacroList(listed, list);
    writeWithoutSync(macros.macroFolder / std::string(kMacroListFileName), list);
}

}  // namespace

int main(int argc, char** argv) {
    fs::path folder = defaultFolder();
    int rounds = 40;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--folder") {
            folder = fs::path(argv[i + 1]) / "orvane-bench-save";
        } else if (option == "--rounds") {
            rounds = std::max(1, std::atoi(argv[i + 1]));
        }
    }
    fs::create_directories(folder / "Profiles");
    fs::create_directories(folder / "Macros");
    MacroCollection macros;
    fillMacros(macros, folder);

    Milliseconds synced{0};
    Milliseconds unchanged{0};
    Milliseconds floor{0};
    auto saveAll = [&macros](const std::vector<MouseProfile>& profiles) {
        const auto started = std::chrono::steady_clock::now();
        for (const MouseProfile& profile : profiles) {
            saveProfile(profile.filePath, profile);
        }
        macros.saveMacroFiles();
        return Milliseconds(std::chrono::steady_clock::now() - started);
    };
    for (int round = 0; round < rounds; ++round) {
        const std::vector<MouseProfile> profiles =
            profilesIn(folder, static_cast<std::size_t>(round));
        changeMacros(macros, round);
        synced += saveAll(profiles);
        unchanged += saveAll(profiles);  // an Apply that changed nothing

        auto started = std::chrono::steady_clock::now();
        saveWithoutSync(profiles, macros);
        floor += std::chrono::steady_clock::now() - started;
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);

    const double perApply = synced.count() / rounds;
    const double floorPerApply = floor.count() / rounds;
    std::printf(
        "ROW\tApply's files saved to disk (%zu profiles, %zu macros)\t%.1f\t%.1f\tms\t"
        "mean of %d; floor: the same bytes written and renamed without syncs\n",
        kProfiles, kMacros, perApply, floorPerApply, rounds);
    std::printf(
        "ROW\tApply's files saved, none changed\t%.1f\t%.1f\tms\t"
        "mean of %d; files that hold the bytes already are left alone\n",
        unchanged.count() / rounds, floorPerApply, rounds);
    std::printf(
        "fsync cost per Apply: %.1f ms when all %zu files changed (%.1f ms saved with syncs, "
        "%.1f ms without; each file synced, and its folder after the rename); %.1f ms for an "
        "Apply that changed no file\n",
        perApply - floorPerApply, kProfiles + kMacros + 1, perApply, floorPerApply,
        unchanged.count() / rounds);
    return 0;
}
