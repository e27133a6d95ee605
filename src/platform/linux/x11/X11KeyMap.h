#pragma once

#include <cstdint>
#include <span>

namespace orvane {

struct KeysymVirtualKey {
    std::uint32_t keysym;
    int virtualKey;
};

// Every X keysym we turn into a virtual-key code, sorted by keysym. Keysyms
// are those of a US layout, plus the keypad, media and browser keys.
std::span<const KeysymVirtualKey> keysymVirtualKeys();

// The virtual-key code of a keysym; 0 for one we do not know, which the hook
// then leaves out.
int virtualKeyOfKeysym(std::uint32_t keysym);

// Which of a key's first two keysyms names it. Keys are named by their
// unshifted keysym, so Shift+A is still A; only the keypad follows NumLock,
// its digits standing in for the cursor keys while NumLock is on.
std::uint32_t keysymForKey(std::uint32_t level0, std::uint32_t level1, bool numLock);

}  // namespace orvane
