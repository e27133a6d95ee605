#pragma once

#include <filesystem>
#include <string>

#include "profile/DataStream.h"

namespace orvanectl {

// Reads a whole file for a command. On failure `error` says why in words a
// user can act on ("no such file", "is a folder", ...).
bool readFileForCommand(const std::filesystem::path& path, orvane::DataStream& stream,
                        std::string& error);

}  // namespace orvanectl
