#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/MouseMemory.h"

namespace orvane::emulator {

// The state file: the flash contents and whether the mouse is plugged in, as
// JSON with the byte blocks in lower-case hex.
struct SavedState {
    MouseMemory memory;
    bool plugged = false;
};

std::string writeSavedState(const SavedState& state);
// Every field is checked (presence, type, range, hex length, an active
// profile that is present); empty, and the first fault in `error`, for any
// text that is not a whole state.
std::optional<SavedState> readSavedState(std::string_view text, std::string& error);

// The state for people: each profile block's settings spelt out beside the
// raw bytes, and the recent requests in hex. `slot` narrows it to one slot
// and its profile.
std::string describeState(const SavedState& state, std::optional<std::size_t> slot,
                          const std::vector<std::vector<std::uint8_t>>& recentRequests = {});

std::string toHex(std::span<const std::uint8_t> bytes);

}  // namespace orvane::emulator
