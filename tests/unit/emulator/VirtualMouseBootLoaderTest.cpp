#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "MouseTestSupport.h"

namespace orvane::emulator::testing {
namespace {

using ::testing::ElementsAre;

// Whole blocks of firmware whose version tag says `version`.
Bytes firmware(std::size_t blocks, std::uint16_t version) {
    Bytes image = with(pattern(blocks * 1024, 11), 0, kFirmwareTag);
    return with(image, kFirmwareVersionOffset,
                Bytes{std::uint8_t(version), std::uint8_t(version >> 8)});
}

Bytes information(std::size_t blocks, std::uint32_t sum) {
    return with(report({0xA1, 0x03}, 1041), 16,
                Bytes{std::uint8_t(blocks), std::uint8_t(sum), std::uint8_t(sum >> 8),
                      std::uint8_t(sum >> 16), std::uint8_t(sum >> 24)});
}

Bytes imageBlock(const Bytes& image, std::size_t index, std::size_t number) {
    const auto payload = std::span(image).subspan(index * 1024, 1024);
    const std::uint32_t sum = sumOf(payload);
    return dataReport({0xA0, 0x06, std::uint8_t(number), std::uint8_t(sum), std::uint8_t(sum >> 8)},
                      payload);
}

const Bytes kFinish = report({0xA1, 0x09}, 1041);

class VirtualMouseBootLoader : public MouseTest {
  protected:
    VirtualMouseBootLoader() {
        exchange(report({0xA1, 0x3A, 0, 0, 0, 0x3C, 0xC3, 0x71}));
        mouse.takeNotices();
    }

    // Every answer of the boot loader is a long 0xA1 report.
    std::uint8_t step(const Bytes& request) {
        const Bytes reply = exchange(request, 1041);
        EXPECT_EQ(reply, with(report({0xA1}, 1041), 1, Bytes{reply[1]}));
        return reply[1];
    }

    void sendAll(const Bytes& image) {
        ASSERT_EQ(step(information(image.size() / 1024, sumOf(image))), kStatusDone);
        for (std::size_t i = 0; i < image.size() / 1024; ++i) {
            ASSERT_EQ(step(imageBlock(image, i, i + 12)), kStatusDone) << "block " << i;
        }
    }
};

TEST_F(VirtualMouseBootLoader, AWholeUpdateComesBackInApplicationModeWithTheImagesVersion) {
    const Bytes image = firmware(3, 0x0120);
    const std::uint32_t sum = sumOf(image);
    EXPECT_THAT(slice(information(3, sum), 16, 5),
                ElementsAre(3, sum & 0xFF, (sum >> 8) & 0xFF, (sum >> 16) & 0xFF, sum >> 24));
    EXPECT_EQ(imageBlock(image, 0, 12)[2], 12);
    sendAll(image);
    EXPECT_EQ(step(kFinish), kStatusDone);

    const auto notices = mouse.takeNotices();
    ASSERT_EQ(notices.size(), 4u);
    EXPECT_EQ(notices[0].kind, Notice::Kind::Removal);
    EXPECT_EQ(notices[0].device.productId, VirtualMouseOptions().bootLoaderProductId);
    const auto interfaces = mouse.interfaces();
    ASSERT_EQ(interfaces.size(), 3u);
    EXPECT_EQ(notices[1].kind, Notice::Kind::Arrival);
    EXPECT_EQ(notices[3].device, interfaces[2]);
    EXPECT_EQ(interfaces[0].releaseNumber, 0x0120);
    EXPECT_EQ(mouse.firmwareVersion(), 0x0120);
    EXPECT_THAT(slice(exchange(report({0xA1, 0x02})), 16, 4), ElementsAre(0x20, 0x01, 0x00, 0x01));
    const VirtualMouse factory;
    EXPECT_EQ(mouse.slotImage(4), factory.slotImage(4));
    EXPECT_EQ(mouse.profileBlock(5), factory.profileBlock(5));
}

TEST_F(VirtualMouseBootLoader, AnImageWithoutTheTagKeepsTheVersion) {
    sendAll(with(firmware(2, 0x0200), 0, Bytes{'X'}));
    EXPECT_EQ(step(kFinish), kStatusDone);
    EXPECT_FALSE(mouse.inBootLoader());
    EXPECT_EQ(mouse.firmwareVersion(), 0x0105);
}

TEST_F(VirtualMouseBootLoader, TakesABlockAgainWhenTheHostMissedTheAnswer) {
    const Bytes image = firmware(2, 0x0301);
    ASSERT_EQ(step(information(2, sumOf(image))), kStatusDone);
    for (std::size_t number : {12, 12, 13, 13}) {
        EXPECT_EQ(step(imageBlock(image, number - 12, number)), kStatusDone);
    }
    EXPECT_EQ(step(kFinish), kStatusDone);
    EXPECT_EQ(mouse.firmwareVersion(), 0x0301);
}

// A step of a three-block update that goes wrong after `blocksBefore`
// blocks: it is refused, and the update still completes when the right
// steps follow.
struct FaultyStep {
    const char* name;
    std::function<Bytes(const Bytes& image)> request;
    std::size_t blocksBefore = 1;
};

class RefusedSteps : public VirtualMouseBootLoader,
                     public ::testing::WithParamInterface<FaultyStep> {};

TEST_P(RefusedSteps, AreRefusedWithoutSpoilingTheUpdate) {
    const Bytes image = firmware(3, 0x0300);
    ASSERT_EQ(step(information(3, sumOf(image))), kStatusDone);
    for (std::size_t i = 0; i < GetParam().blocksBefore; ++i) {
        ASSERT_EQ(step(imageBlock(image, i, i + 12)), kStatusDone);
    }
    EXPECT_EQ(step(GetParam().request(image)), kStatusFailed);
    EXPECT_TRUE(mouse.inBootLoader());
    EXPECT_TRUE(mouse.takeNotices().empty());
    for (std::size_t i = GetParam().blocksBefore; i < 3; ++i) {
        ASSERT_EQ(step(imageBlock(image, i, i + 12)), kStatusDone);
    }
    EXPECT_EQ(step(kFinish), kStatusDone);
    EXPECT_EQ(mouse.firmwareVersion(), 0x0300);
}

INSTANTIATE_TEST_SUITE_P(
    VirtualMouse, RefusedSteps,
    ::testing::Values(FaultyStep{"BlockWithAWrongSum",
                                 [](const Bytes& image) {
                                     Bytes request = imageBlock(image, 1, 13);
                                     ++request[4];
                                     return request;
                                 }},
                      FaultyStep{"BlockOutOfOrder",
                                 [](const Bytes& image) { return imageBlock(image, 2, 14); }},
                      FaultyStep{"RepeatWithOtherBytes",
                                 [](const Bytes& image) { return imageBlock(image, 1, 12); }},
                      FaultyStep{"BlockNumberedFromZero",
                                 [](const Bytes& image) { return imageBlock(image, 1, 1); }},
                      FaultyStep{"BlockBeyondTheCount",
                                 [](const Bytes& image) { return imageBlock(image, 2, 15); }, 3},
                      FaultyStep{"UnknownCommand",
                                 [](const Bytes&) {
                                     return report({0xA1, 0x02}, 1041);
                                 }},
                      FaultyStep{"EarlyFinish", [](const Bytes&) { return kFinish; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VirtualMouseBootLoader, RefusesAnImageWhoseSumIsNotTheAnnouncedOne) {
    const Bytes image = firmware(2, 0x0300);
    ASSERT_EQ(step(information(2, sumOf(image) + 1)), kStatusDone);
    ASSERT_EQ(step(imageBlock(image, 0, 12)), kStatusDone);
    ASSERT_EQ(step(imageBlock(image, 1, 13)), kStatusDone);
    EXPECT_EQ(step(kFinish), kStatusFailed);
    EXPECT_TRUE(mouse.inBootLoader());
    EXPECT_EQ(mouse.firmwareVersion(), 0x0105);
}

TEST_F(VirtualMouseBootLoader, RefusesBadCountsAndForgetsAnUploadWhenUnplugged) {
    const Bytes image = firmware(2, 0x0300);
    EXPECT_EQ(step(imageBlock(image, 0, 12)), kStatusFailed) << "no image announced";
    EXPECT_EQ(step(information(0, 0)), kStatusFailed);
    EXPECT_EQ(step(information(101, 0)), kStatusFailed);
    EXPECT_EQ(mouse.setFeature(config(), report({0xA1, 0x09})).error, HidError::InvalidParameter);

    ASSERT_EQ(step(information(2, sumOf(image))), kStatusDone);
    ASSERT_EQ(step(imageBlock(image, 0, 12)), kStatusDone);
    mouse.unplug();
    mouse.plug();
    EXPECT_TRUE(mouse.inBootLoader());
    EXPECT_EQ(step(imageBlock(image, 1, 13)), kStatusFailed);
}

}  // namespace
}  // namespace orvane::emulator::testing
