#pragma once

#include <filesystem>
#include <string>

#include "profile/DataStream.h"
#include "profile/MouseProfile.h"

namespace orvane {

// The first four bytes of every profile file.
inline constexpr std::uint8_t kProfileFileTag[4] = {0x11, 0x64, 0x34, 0x01};

// Appends the file tag and every persisted field of the record.
void writeProfile(const MouseProfile& profile, DataStream& stream);

// Reads a whole record from the stream's read position. The record changes
// only when the tag is right and every field is there (a file that ends early
// or whose count runs past its end is rejected as a whole); returns whether
// it changed. Fields the file does not hold keep their values.
bool readProfile(DataStream& stream, MouseProfile& profile);

// Writes the record to a file, replacing it atomically; false when the file
// could not be written (the old file is then intact).
bool saveProfile(const std::filesystem::path& path, const MouseProfile& profile);

// Overwrites the record from a file; false (and the record untouched) when the
// file cannot be read or is not a complete profile file.
bool loadProfile(const std::filesystem::path& path, MouseProfile& profile);

// The name of slot i's own file: "Default1.profile" to "Default5.profile".
std::filesystem::path slotFileName(std::size_t slot);

// The file name that export proposes for a record: its name and ".profile".
std::u16string proposedExportName(const MouseProfile& profile);

// The path an export writes to: the chosen path when its extension is exactly
// "profile" (letter case included), else the chosen path with ".profile"
// appended (mine.txt becomes mine.txt.profile).
std::filesystem::path exportPathFor(const std::filesystem::path& chosen);

}  // namespace orvane
