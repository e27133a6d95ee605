#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "support/CaseName.h"

namespace orvane::emulator::testing {
namespace {

using ::testing::ElementsAre;
using VirtualMouseBus = MouseTest;
using Kind = Notice::Kind;

const Bytes kReadSlot = report({0xA1, 0x03});
const Bytes kEnterBootLoader = report({0xA1, 0x3A, 0, 0, 0, 0x3C, 0xC3, 0x71});

std::vector<Kind> kinds(const std::vector<Notice>& notices) {
    std::vector<Kind> list;
    for (const Notice& notice : notices) {
        list.push_back(notice.kind);
    }
    return list;
}

TEST(VirtualMouse, ANewMouseIsPluggedInWithItsThreeInterfacesAnnounced) {
    VirtualMouse mouse;
    const auto interfaces = mouse.interfaces();
    ASSERT_EQ(interfaces.size(), 3u);
    const std::pair<int, int> collections[] = {{0xFF01, 2}, {0xFF02, 1}, {0x0001, 2}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(interfaces[i].interfaceNumber, i);
        EXPECT_EQ(interfaces[i].productId, VirtualMouseOptions().productId);
        EXPECT_EQ(interfaces[i].releaseNumber, 0x0105);
        EXPECT_EQ(interfaces[i].usagePage, collections[i].first);
        EXPECT_EQ(interfaces[i].usage, collections[i].second);
    }
    const auto notices = mouse.takeNotices();
    EXPECT_THAT(kinds(notices), ElementsAre(Kind::Arrival, Kind::Arrival, Kind::Arrival));
    EXPECT_EQ(notices[2].device, interfaces[2]);
}

TEST_F(VirtualMouseBus, StateSurvivesUnplugButPathsOfAnEarlierPlugInDoNot) {
    const std::string before = config();
    exchange(report({0xA1, 0x04, 0, 0, 0, 2}));
    mouse.unplug();
    EXPECT_THAT(kinds(mouse.takeNotices()),
                ElementsAre(Kind::Removal, Kind::Removal, Kind::Removal));
    EXPECT_TRUE(mouse.interfaces().empty());
    Bytes reply(64, 0);
    EXPECT_EQ(mouse.setFeature(before, kReadSlot).error, HidError::DeviceNotConnected);
    EXPECT_EQ(mouse.getFeature(before, reply).error, HidError::DeviceNotConnected);

    mouse.plug();
    EXPECT_FALSE(mouse.isPresent(before));
    EXPECT_EQ(mouse.setFeature(before, kReadSlot).error, HidError::DeviceNotConnected);
    EXPECT_EQ(exchange(kReadSlot)[16], 2);
    for (std::size_t i : {1, 2}) {
        EXPECT_EQ(mouse.setFeature(mouse.interfaces()[i].path, kReadSlot).error,
                  HidError::GeneralFailure)
            << "interface " << i << " carries no feature reports";
    }
}

class MalformedSets : public MouseTest, public ::testing::WithParamInterface<Bytes> {};

TEST_P(MalformedSets, FailWithInvalidParameterAndLeaveTheLastReply) {
    const Bytes last = exchange(kReadSlot);
    EXPECT_EQ(mouse.setFeature(config(), GetParam()).error, HidError::InvalidParameter);
    Bytes reply(64, 0);
    EXPECT_EQ(mouse.getFeature(config(), reply).error, HidError::None);
    EXPECT_EQ(reply, last);
}

INSTANTIATE_TEST_SUITE_P(VirtualMouse, MalformedSets,
                         ::testing::Values(Bytes{}, Bytes{0xA1}, report({0xA1, 0x04}, 63),
                                           report({0xA1, 0x04}, 65), report({0xA0, 0x21}, 64),
                                           report({0xA0, 0x08}, 1040), report({0x55, 0x04})),
                         [](const ::testing::TestParamInfo<Bytes>& info) {
                             const Bytes& bytes = info.param;
                             return test::caseName(bytes.size(), "Bytes", "First",
                                                   bytes.empty() ? -1 : bytes[0], "Second",
                                                   bytes.size() < 2 ? -1 : bytes[1]);
                         });

TEST_F(VirtualMouseBus, AGetBeforeAnyRequestAnswersStatusZeroAndLaterGetsRepeatTheReply) {
    Bytes reply(64, 0xEE);
    reply[0] = 0xA1;
    EXPECT_EQ(mouse.getFeature(config(), reply).error, HidError::None);
    EXPECT_EQ(reply, report({0xA1, 0x00}));
    const Bytes first = exchange(kReadSlot);
    Bytes shortBuffer(3, 0);
    mouse.getFeature(config(), shortBuffer);
    EXPECT_EQ(shortBuffer, slice(first, 0, 3));
}

TEST_F(VirtualMouseBus, FailedSetsDropTheirRequestWithTheGivenError) {
    mouse.addFault({Fault::Kind::FailSets, 2, HidError::GeneralFailure});
    const Bytes select = report({0xA1, 0x04, 0, 0, 0, 4});
    EXPECT_EQ(mouse.setFeature(config(), select).error, HidError::GeneralFailure);
    EXPECT_EQ(mouse.setFeature(config(), select).error, HidError::GeneralFailure);
    EXPECT_EQ(mouse.activeSlot(), 0);
    EXPECT_EQ(status(select), kStatusDone);
    EXPECT_EQ(mouse.activeSlot(), 4);
}

// A fault of the gets, and what each get it strikes sees.
struct GetFault {
    const char* name;
    Fault fault;
    TransferResult result;
    std::uint8_t status;
};

class GetFaults : public MouseTest, public ::testing::WithParamInterface<GetFault> {};

TEST_P(GetFaults, HoldTheReplyBackForTheirCountThenDeliverIt) {
    const GetFault& param = GetParam();
    exchange(report({0xA1, 0x04, 0, 0, 0, 3}));
    mouse.setFeature(config(), kReadSlot);
    mouse.addFault(param.fault);
    for (unsigned i = 0; i <= param.fault.count; ++i) {
        Bytes reply(64, 0);
        const TransferResult result = mouse.getFeature(config(), reply);
        const bool struck = i < param.fault.count;
        EXPECT_EQ(result.error, struck ? param.result.error : HidError::None);
        EXPECT_EQ(result.neverCompletes, struck && param.result.neverCompletes);
        if (result.error == HidError::None) {
            EXPECT_EQ(reply, struck ? report({0xA1, param.status})
                                    : with(report({0xA1, 0x01}), 16, Bytes{3}));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    VirtualMouse, GetFaults,
    ::testing::Values(
        GetFault{"FailGets",
                 {Fault::Kind::FailGets, 2, HidError::FunctionFailed},
                 {HidError::FunctionFailed},
                 0},
        GetFault{"Busy3", {Fault::Kind::BusyReplies, 3}, {}, 3},
        GetFault{"Busy4", {Fault::Kind::BusyReplies, 1, HidError::None, 4}, {}, 4},
        GetFault{"StatusZero", {Fault::Kind::StatusZeroReplies, 2}, {}, 0},
        GetFault{"NeverReply", {Fault::Kind::NeverReply, 1}, {HidError::Timeout, true}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VirtualMouseBus, UnplugInTheMiddleOfAnUploadFailsTheTransferAndKeepsTheFirstHalf) {
    const auto before = mouse.slotImage(1);
    const Bytes image = pattern(2048, 3);
    const Bytes first = dataReport({0xA0, 0x08, 0, 0, 0, 1, 0}, slice(image, 0, 1024));
    const Bytes second = dataReport({0xA0, 0x08, 0, 0, 0, 1, 1}, slice(image, 1024, 1024));
    mouse.addFault({Fault::Kind::UnplugOnTransfer, 2});
    EXPECT_EQ(status(first), kStatusDone);
    EXPECT_EQ(mouse.setFeature(config(), second).error, HidError::DeviceNotConnected);
    EXPECT_FALSE(mouse.plugged());
    EXPECT_THAT(kinds(mouse.takeNotices()),
                ElementsAre(Kind::Removal, Kind::Removal, Kind::Removal));
    EXPECT_EQ(slice(mouse.slotImage(1), 0, 2048),
              slice(image, 0, 1024) + slice(before, 1024, 1024));

    mouse.plug();
    EXPECT_EQ(status(second), kStatusDone);
    EXPECT_EQ(slice(mouse.slotImage(1), 0, 2048), image);
}

TEST_F(VirtualMouseBus, ASwitchTakesPlaceAtTheNextRequestOrUnplugIfItsReplyIsNotRead) {
    const std::string path = config();
    mouse.setFeature(path, kEnterBootLoader);
    EXPECT_FALSE(mouse.inBootLoader());
    EXPECT_EQ(mouse.setFeature(path, kReadSlot).error, HidError::DeviceNotConnected);
    EXPECT_TRUE(mouse.inBootLoader());

    VirtualMouse other;
    other.setFeature(other.interfaces()[0].path, kEnterBootLoader);
    other.unplug();
    other.plug();
    EXPECT_TRUE(other.inBootLoader());
    EXPECT_EQ(other.interfaces().size(), 1u);
}

}  // namespace
}  // namespace orvane::emulator::testing
