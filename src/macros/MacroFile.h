#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "macros/CMacro.h"
#include "profile/DataStream.h"

namespace orvane {

// The list file beside the macro files, naming them in collection order.
inline constexpr std::string_view kMacroListFileName = "macroList.dat";

// Bytes of one step in a macro file.
inline constexpr std::uint32_t kMacroStepBytes = 32;

// Appends the macro file's bytes: name, id, layout rectangle, step count and
// the steps with their rows, selection and ids exactly as they are.
void writeMacro(const CMacro& macro, DataStream& stream);

// Reads a whole macro file from the stream's read position into the macro.
// The macro changes only when every field is there (a file that ends early or
// whose step count runs past its end is rejected as a whole); returns whether
// it changed. The editor pointer is kept.
bool readMacro(DataStream& stream, CMacro& macro);

// Appends the list file's bytes: the count, then each macro file's path.
void writeMacroList(const std::vector<std::u16string>& paths, DataStream& stream);

// Reads the list file, handing each complete path to `visit` in order. A
// list cut short still yields the paths before the cut; the result is false
// then.
bool readMacroList(DataStream& stream, const std::function<void(std::u16string path)>& visit);

}  // namespace orvane
