#include "platform/HidError.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>

#include "support/TempDir.h"

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
        {EACCES, HidError::AccessDenied},
        {EPERM, HidError::AccessDenied},
        {EROFS, HidError::GeneralFailure},
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

// A node that exists but that this user may not open is the one case the
// user can fix; it must never read as "no device". Root opens any file, so
// as root the check runs in a child that has become "nobody".
TEST(HidapiBus, ANodeThatExistsButMayNotBeOpenedIsAccessDenied) {
    test::TempDir dir;
    const std::string node = (dir / "hidraw9").string();
    std::ofstream(node) << "not a device";
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(node.c_str(), 0600), 0);
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(node.c_str(), 0000), 0);
    }
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
                std::_Exit(2);
            }
            HidapiBus bus;
            HidError error = HidError::None;
            const bool refused = bus.open(node, error) == nullptr;
            std::_Exit(refused && error == HidError::AccessDenied ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace orvane
