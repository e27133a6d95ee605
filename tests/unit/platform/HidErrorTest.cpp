#include "platform/HidError.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/linux/hidapi/HidapiBus.h"

namespace orvane {
namespace {

TEST(HidError, ErrnoValuesMapOntoTheNumbersTheRetryRulesUse) {
    const std::pair<int, HidError> table[] = {
        {0, HidError::None},
        {EIO, HidError::FunctionFailed},
        {EPIPE, HidError::GeneralFailure},
        {ETIMEDOUT, HidError::Timeout},
        {EAGAIN, HidError::DeviceNotReady},
        {EBUSY, HidError::DeviceNotReady},
        {EINVAL, HidError::InvalidParameter},
        {ENODEV, HidError::DeviceNotConnected},
        {ENOENT, HidError::DeviceNotConnected},
        {EACCES, HidError::GeneralFailure},
    };
    for (const auto& [errorNumber, expected] : table) {
        EXPECT_EQ(hidErrorFromErrno(errorNumber), expected) << "errno " << errorNumber;
    }
}

TEST(HidError, OnlyTheFiveTransientErrorsAreRetried) {
    for (std::uint32_t code = 0; code < 2000; ++code) {
        const bool transient = code == 21 || code == 23 || code == 29 || code == 87 || code == 1627;
        EXPECT_EQ(isRetriedHidError(static_cast<HidError>(code)), transient) << code;
    }
}

TEST(HidapiBus, OpeningAPathThatIsNoDeviceFailsWithAReason) {
    HidapiBus bus;
    (void)bus.enumerate();  // whatever the machine has; must not fail
    HidError error = HidError::None;
    EXPECT_EQ(bus.open("/dev/orvane-no-such-hidraw", error), nullptr);
    EXPECT_EQ(error, HidError::DeviceNotConnected);
}

}  // namespace
}  // namespace orvane
