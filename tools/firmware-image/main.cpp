// Writes a firmware image for the simulated mouse and the Config.ini that
// states its version into an update folder, for the build and for tests.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/UpdateFolderNames.h"
#include "protocol/FirmwareImage.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: %s FOLDER VERSION BLOCKS\n"
                     "  VERSION in the device's form (0x0105 for 1.05), BLOCKS 1 to %zu\n",
                     argv[0], orvane::kFirmwareMaxBlocks);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const unsigned long version = std::strtoul(argv[2], nullptr, 0);
    const unsigned long blocks = std::strtoul(argv[3], nullptr, 0);
    if (version == 0 || version > 0xFFFF || blocks == 0 || blocks > orvane::kFirmwareMaxBlocks) {
        std::fprintf(stderr, "%s: the version or the block count is out of range\n", argv[0]);
        return 2;
    }
    std::vector<unsigned char> image(blocks * orvane::kFirmwareBlockBytes);
    // Something that looks like code rather than zeros, the same on every build.
    unsigned state = 0x2545F491U ^ static_cast<unsigned>(version);
    for (unsigned char& byte : image) {
        state = state * 1103515245U + 12345U;
        byte = static_cast<unsigned char>(state >> 16);
    }
    std::copy(orvane::kFirmwareTag.begin(), orvane::kFirmwareTag.end(), image.begin());
    image[orvane::kFirmwareVersionOffset] = static_cast<unsigned char>(version & 0xFF);
    image[orvane::kFirmwareVersionOffset + 1] = static_cast<unsigned char>(version >> 8);

    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::ofstream bin(folder / orvane::kFirmwareImageName, std::ios::binary | std::ios::trunc);
    bin.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    std::ofstream ini(folder / orvane::kUpdateConfigName, std::ios::trunc);
    ini << "[Firmware]\r\nVersion="
        << orvane::firmwareVersionValueOf(static_cast<std::uint16_t>(version)) << "\r\n";
    if (!bin || !ini) {
        std::fprintf(stderr, "%s: cannot write into %s\n", argv[0], folder.c_str());
        return 1;
    }
    return 0;
}
