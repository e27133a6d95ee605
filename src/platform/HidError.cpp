#include "platform/HidError.h"

#include <cerrno>

namespace orvane {

HidError hidErrorFromErrno(int errorNumber) {
    switch (errorNumber) {
        case 0:
            return HidError::None;
        case EIO:
            return HidError::FunctionFailed;
        case EPIPE:
            return HidError::GeneralFailure;
        case ETIMEDOUT:
            return HidError::Timeout;
        case EAGAIN:
        case EBUSY:
            return HidError::DeviceNotReady;
        case EINVAL:
            return HidError::InvalidParameter;
        case ENODEV:
        case ENOENT:
            return HidError::DeviceNotConnected;
        case EACCES:
        case EPERM:
            return HidError::AccessDenied;
        default:
            return HidError::GeneralFailure;
    }
}

bool isRetriedHidError(HidError error) {
    switch (error) {
        case HidError::DeviceNotReady:
        case HidError::Crc:
        case HidError::WriteFault:
        case HidError::InvalidParameter:
        case HidError::FunctionFailed:
            return true;
        default:
            return false;
    }
}

}  // namespace orvane
