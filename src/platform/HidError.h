#pragma once

#include <cstdint>

namespace orvane {

// Transfer errors in the numbering of the Windows system error codes, which
// the mouse's retry rules are written in. Any number may occur (the simulated
// mouse can inject one); the named ones are those the transports act on.
enum class HidError : std::uint32_t {
    None = 0,
    // The interface is there but this user may not open it (a hidraw node
    // without a udev rule that grants access): never to be taken for absent.
    AccessDenied = 5,
    DeviceNotReady = 21,
    Crc = 23,
    WriteFault = 29,
    GeneralFailure = 31,
    InvalidParameter = 87,
    Timeout = 121,
    DeviceNotConnected = 1167,
    FunctionFailed = 1627,
};

// The one mapping of the backends' errno values onto those numbers:
// EIO 1627, EPIPE 31, ETIMEDOUT 121, EAGAIN and EBUSY 21, EINVAL 87, ENODEV
// and ENOENT 1167, EACCES and EPERM 5; anything else is a general failure (31).
HidError hidErrorFromErrno(int errorNumber);

// Whether a transport tries a failed transfer again after this error.
bool isRetriedHidError(HidError error);

}  // namespace orvane
