// The library's own transport: which interface it opens and how it retries
// and polls, against scripted interfaces.
#include "LibraryTestSupport.h"

namespace orvane::devlib::testing {
namespace {

class Transport : public ScriptedLibrary {};

TEST_F(Transport, OpensTheFirstConfigurationInterfaceOfTheApplicationInBusOrder) {
    auto owned = std::make_unique<test::ScriptedHidBus>();
    test::ScriptedHidBus& listed = *owned;
    listed.add({"other-vendor", 0x1234, kProductId, 0, kConfigUsagePage, kConfigUsage, 0});
    listed.add(
        {"boot-loader", kVendorId, kBootLoaderProductId, 0, kConfigUsagePage, kConfigUsage, 0});
    listed.add({"compliant", kVendorId, kProductId, 0, kCompliantUsagePage, kCompliantUsage, 1});
    listed.add({"wrong-usage", kVendorId, kProductId, 0, kConfigUsagePage, 0x0001, 0});
    listed.add(configInterface("first"));
    listed.add(configInterface("second"));
    LibraryCore library(std::move(owned), clock);

    ASSERT_TRUE(library.openDeviceByProductId(kProductId));
    EXPECT_TRUE(library.deviceOpen());
    ASSERT_TRUE(library.openCompliantDevice());
    // Capture takes the mouse's first interface, whatever its collection.
    EXPECT_NE(library.openCaptureDevice(), nullptr);
    EXPECT_EQ(listed.opened, (std::vector<std::string>{"first", "compliant", "compliant"}));
}

TEST_F(Transport, FailedOpenLeavesTheHandleClosed) {
    ASSERT_TRUE(core->ensureDeviceOpen());
    EXPECT_FALSE(core->openDeviceByProductId(kBootLoaderProductId));
    EXPECT_FALSE(core->deviceOpen());
    EXPECT_FALSE(core->sendFeatureReport(bytes({0xA1, 0x02})));
}

struct SendCase {
    HidError error;
    bool fast;
    int sets;
    Pauses pauses;
};

void PrintTo(const SendCase& c, std::ostream* os) {
    *os << static_cast<unsigned>(c.error);
}

class SendRetries : public ScriptedLibrary, public ::testing::WithParamInterface<SendCase> {};

TEST_P(SendRetries, RetryOnlyTransientErrorsAndPauseAfterEachFailedRetry) {
    const SendCase& c = GetParam();
    ASSERT_TRUE(core->ensureDeviceOpen());
    device->expectSet(bytes({0xA1, 0x02}), c.error, c.sets);
    const bool sent = c.fast ? core->sendFeatureReportFast(bytes({0xA1, 0x02}))
                             : core->sendFeatureReport(bytes({0xA1, 0x02}));
    EXPECT_FALSE(sent);
    EXPECT_TRUE(device->finished());
    EXPECT_EQ(clock.sleeps(), c.pauses);
}

const Pauses kThreeFifty{milliseconds(50), milliseconds(50), milliseconds(50)};

INSTANTIATE_TEST_SUITE_P(
    Errors, SendRetries,
    ::testing::Values(SendCase{HidError::DeviceNotReady, false, 4, kThreeFifty},
                      SendCase{HidError::Crc, false, 4, kThreeFifty},
                      SendCase{HidError::WriteFault, false, 4, kThreeFifty},
                      SendCase{HidError::InvalidParameter, false, 4, kThreeFifty},
                      SendCase{HidError::FunctionFailed, false, 4, kThreeFifty},
                      SendCase{HidError::FunctionFailed,
                               true,
                               4,
                               {milliseconds(30), milliseconds(30), milliseconds(30)}},
                      SendCase{HidError::GeneralFailure, false, 1, {}},
                      SendCase{HidError::DeviceNotConnected, true, 1, {}}),
    [](const auto& info) {
        return "Error" + std::to_string(static_cast<unsigned>(info.param.error)) +
               (info.param.fast ? "Fast" : "");
    });

TEST_F(Transport, SendSucceedsOnARetry) {
    ASSERT_TRUE(core->ensureDeviceOpen());
    device->expectSet(bytes({0xA1, 0x02}), HidError::FunctionFailed, 2)
        .expectSet(bytes({0xA1, 0x02}));
    EXPECT_TRUE(core->sendFeatureReport(bytes({0xA1, 0x02})));
    EXPECT_EQ(clock.sleeps(), Pauses{milliseconds(50)});
}

struct ReadStep {
    std::uint8_t status;
    HidError error = HidError::None;
};

struct ReceiveCase {
    const char* name;
    std::vector<ReadStep> reads;
    bool result;
    Pauses pauses;
};

void PrintTo(const ReceiveCase& c, std::ostream* os) {
    *os << c.name;
}

class Receive : public ScriptedLibrary, public ::testing::WithParamInterface<ReceiveCase> {};

TEST_P(Receive, PollsBusyRepliesAndRetriesTransientReadErrors) {
    const ReceiveCase& c = GetParam();
    ASSERT_TRUE(core->ensureDeviceOpen());
    for (const ReadStep& step : c.reads) {
        device->expectGet(64, bytes({0xA1, step.status}), step.error);
    }
    Bytes reply = bytes({0xA1});
    EXPECT_EQ(core->receiveFeatureReply(reply), c.result);
    EXPECT_TRUE(device->finished()) << device->remainingSteps() << " reads left";
    EXPECT_EQ(clock.sleeps(), c.pauses);
}

const HidError kFailed = HidError::FunctionFailed;

INSTANTIATE_TEST_SUITE_P(
    Replies, Receive,
    ::testing::Values(
        ReceiveCase{"Done", {{1}}, true, {}},
        ReceiveCase{"RefusedIsTheCallersToJudge", {{2}}, true, {}},
        ReceiveCase{"BusyThenDoneWithoutAPause", {{3}, {1}}, true, {}},
        ReceiveCase{"StillBusyThenDone", {{4}, {4}, {1}}, true, {}},
        ReceiveCase{"BusyThroughoutPausesThirtyAndSixty",
                    {{3}, {3}, {3}, {3}},
                    true,
                    {milliseconds(30), milliseconds(60)}},
        ReceiveCase{"BusyThenFailedPollIsNoPause",
                    {{3}, {0, kFailed}, {0, kFailed}, {0, kFailed}},
                    false,
                    {}},
        ReceiveCase{"TransientErrorThenSuccess", {{0, kFailed}, {1}}, true, {}},
        ReceiveCase{"TransientErrorFourMoreTimes",
                    {{0, kFailed}, {0, kFailed}, {0, kFailed}, {0, kFailed}, {0, kFailed}},
                    false,
                    {milliseconds(50), milliseconds(50), milliseconds(50), milliseconds(50)}},
        ReceiveCase{"DeviceGoneIsNotRetried", {{0, HidError::DeviceNotConnected}}, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvane::devlib::testing
