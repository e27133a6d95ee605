#pragma once

#include <string>

#include "skins/SkinCache.h"

namespace orvane::test {

// The position of `name` in the skin cache's order, or -1; fake skin folders
// colour each sheet by it, so a test can tell which sheet a piece came from.
inline int sheetIndexOf(const std::string& name) {
    const auto names = skinSheetFileNames();
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (name == names[index]) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

}  // namespace orvane::test
