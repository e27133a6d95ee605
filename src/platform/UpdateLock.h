#pragma once

#include <string>

namespace orvane {

// The firmware update's claim on the mouse. The update program holds it for
// its whole run; the configuration application asks before it talks to the
// mouse and keeps its hands off while someone holds it, since a command sent
// while the boot loader takes the image would break the transfer. A program
// that ends in any way, a crash included, gives it up.
class UpdateLock {
  public:
    virtual ~UpdateLock() = default;

    // The update program: takes the claim, or answers false (and why, in
    // `error`) when another update holds it.
    virtual bool acquire(std::string& error) = 0;
    virtual void release() = 0;

    // Whether another process holds the claim right now. Never takes it, so
    // asking never gets in an update's way.
    virtual bool heldElsewhere() const = 0;
};

}  // namespace orvane
