#pragma once

#include <nlohmann/json.hpp>
#include <ostream>

#include "Orvane_pro_dll.h"
#include "macros/CMacro.h"
#include "profile/MouseProfile.h"

namespace orvanectl {

// Every persisted field of a record, in file order, under the field's own
// name. Colours are plain numbers; texts are UTF-8.
nlohmann::ordered_json profileToJson(const orvane::MouseProfile& profile);

// Every field a macro file holds, in file order.
nlohmann::ordered_json macroToJson(const orvane::CMacro& macro);
// The same text as macroToJson(macro).dump(2), written step by step: a
// macro file of a few megabytes holds hundreds of thousands of steps, and
// their tree would take tens of times the file's size.
void writeMacroJson(const orvane::CMacro& macro, std::ostream& out);

// A profile as the device-control library reads it back from the mouse;
// program and web-page buttons carry their text (UTF-8 as stored).
nlohmann::ordered_json profileDataToJson(const ProfileData& data, const ProgramTexts& texts);

}  // namespace orvanectl
