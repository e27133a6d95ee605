#include <filesystem>
#include <memory>
#include <string>

#include "Command.h"
#include "CommandLine.h"
#include "FileErrors.h"
#include "HexDump.h"
#include "JsonExport.h"
#include "profile/ProfileFile.h"
#include "profile/TextCodec.h"
#include "protocol/image/DeviceImage.h"

namespace orvanectl {

namespace {

namespace fs = std::filesystem;

// Longest name the profile bar and the device's 16-byte name field keep.
constexpr std::size_t kMaxProfileName = 15;

bool loadForCommand(const fs::path& path, orvane::MouseProfile& profile, std::ostream& err) {
    orvane::DataStream stream;
    std::string error;
    if (!readFileForCommand(path, stream, error)) {
        err << "orvanectl: " << error << '\n';
        return false;
    }
    if (!orvane::readProfile(stream, profile)) {
        err << "orvanectl: " << path.string()
            << " is not a profile file, or it is damaged (cut short or with a count "
               "that runs past its end)\n";
        return false;
    }
    return true;
}

struct NewOptions {
    std::string file;
    std::string name = "Profile1";
    bool force = false;
};

int newProfile(const NewOptions& options, std::ostream& out, std::ostream& err) {
    const std::u16string name = orvane::fromUtf8(options.name);
    if (name.size() > kMaxProfileName) {
        err << "orvanectl: the name \"" << options.name << "\" is longer than " << kMaxProfileName
            << " characters\n";
        return kExitUsage;
    }
    std::error_code status;
    if (!options.force && fs::exists(options.file, status)) {
        err << "orvanectl: " << options.file << " already exists; pass --force to replace it\n";
        return kExitFailure;
    }
    orvane::MouseProfile profile;
    profile.name = name;
    if (!orvane::saveProfile(options.file, profile)) {
        err << "orvanectl: cannot write " << options.file
            << " (is the folder writable, is it a folder?); nothing was changed\n";
        return kExitFailure;
    }
    out << "wrote " << options.file << '\n';
    return kExitOk;
}

int showProfile(const std::string& file, std::ostream& out, std::ostream& err) {
    orvane::MouseProfile profile;
    if (!loadForCommand(file, profile, err)) {
        return kExitFailure;
    }
    out << profileToJson(profile).dump(2) << '\n';
    return kExitOk;
}

int showImage(const std::string& file, unsigned slot, std::ostream& out, std::ostream& err) {
    orvane::MouseProfile profile;
    if (!loadForCommand(file, profile, err)) {
        return kExitFailure;
    }
    profile.slotIndex = static_cast<std::uint8_t>(slot);
    const orvane::DeviceImage image = orvane::buildDeviceImage(profile);
    writeHexDump(image.bytes, out);
    for (std::uint8_t button : image.shortenedMacroButtons) {
        err << "orvanectl: warning: the macro of button " << static_cast<unsigned>(button)
            << " does not fit the mouse's macro memory and was shortened\n";
    }
    return kExitOk;
}

}  // namespace

void addProfileCommands(CLI::App& parent, Action& chosen) {
    CLI::App* profile = parent.add_subcommand("profile", "Profile files (*.profile)");
    profile->require_subcommand(1);

    auto newOptions = std::make_shared<NewOptions>();
    CLI::App* create = profile->add_subcommand("new", "Write a profile file with the defaults");
    create->add_option("--name", newOptions->name, "Profile name, at most 15 characters")
        ->capture_default_str();
    create->add_flag("--force", newOptions->force, "Replace FILE if it exists");
    create->add_option("FILE", newOptions->file, "Profile file to write")->required();
    create->callback([newOptions, &chosen] {
        chosen = [newOptions](std::ostream& out, std::ostream& err) {
            return newProfile(*newOptions, out, err);
        };
    });

    auto showFile = std::make_shared<std::string>();
    CLI::App* show = profile->add_subcommand("show", "Print every field of a profile as JSON");
    show->add_option("FILE", *showFile, "Profile file to read")->required();
    show->callback([showFile, &chosen] {
        chosen = [showFile](std::ostream& out, std::ostream& err) {
            return showProfile(*showFile, out, err);
        };
    });

    auto imageFile = std::make_shared<std::string>();
    auto imageSlot = std::make_shared<unsigned>(0);
    CLI::App* image = profile->add_subcommand(
        "image", "Print the 2048-byte image the mouse receives for a profile, in hex");
    image->add_option("FILE", *imageFile, "Profile file to read")->required();
    image->add_option("--slot", *imageSlot, "On-board slot 0 to 4 the image is for")
        ->check(CLI::Range(0U, 4U))
        ->capture_default_str();
    image->callback([imageFile, imageSlot, &chosen] {
        chosen = [imageFile, imageSlot](std::ostream& out, std::ostream& err) {
            return showImage(*imageFile, *imageSlot, out, err);
        };
    });
}

}  // namespace orvanectl
