#pragma once

#include <nlohmann/json.hpp>

#include "macros/CMacro.h"
#include "profile/MouseProfile.h"

namespace orvanectl {

// Every persisted field of a record, in file order, under the field's own
// name. Colours are plain numbers; texts are UTF-8.
nlohmann::ordered_json profileToJson(const orvane::MouseProfile& profile);

// Every field a macro file holds, in file order.
nlohmann::ordered_json macroToJson(const orvane::CMacro& macro);

}  // namespace orvanectl
