#pragma once

#include <filesystem>
#include <mutex>
#include <string>

#include "emulator/VirtualHidBus.h"

namespace orvane::emulator {

// The file that keeps the simulated mouse's state between runs of the
// daemon. It is always replaced whole (a temporary file renamed over it), so
// a crash leaves either the old state or the new one.
class StateFile {
  public:
    explicit StateFile(std::filesystem::path path) : file(std::move(path)) {}

    // Puts the saved state into the model. True, with nothing changed, when
    // there is no file yet; false when the file cannot be read or is not a
    // saved state, so that the caller does not go on to overwrite it.
    bool load(VirtualHidBus& bus, std::string& error);

    // Writes the model's state unless it is what the file already holds.
    bool save(VirtualHidBus& bus, std::string& error);

    const std::filesystem::path& path() const { return file; }

  private:
    std::mutex mutex;
    const std::filesystem::path file;
    std::string written;
};

}  // namespace orvane::emulator
