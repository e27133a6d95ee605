#pragma once

#include <cstdint>

#include "platform/HidError.h"

namespace orvane::emulator {

// The faults are part of the simulated bus's wire protocol (orvane-emu sends
// them to the daemon), so they live with it rather than with the mouse model.
// A fault the mouse shows for the next `count` transfers of the named sort.
struct Fault {
    enum class Kind {
        FailSets,           // sets fail with `error`
        FailGets,           // gets fail with `error`
        BusyReplies,        // gets answer status `busyStatus` (3 or 4) and keep the reply pending
        StatusZeroReplies,  // gets answer status 0
        NeverReply,         // gets never complete (the host times them out)
        UnplugOnTransfer,   // after `count` more transfers, the next one unplugs the mouse
    };
    Kind kind = Kind::FailSets;
    unsigned count = 1;
    HidError error = HidError::FunctionFailed;
    std::uint8_t busyStatus = 3;
};

}  // namespace orvane::emulator
