#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include <nlohmann/json.hpp>

#include "MouseTestSupport.h"

namespace orvane::emulator::testing {
namespace {

using nlohmann::json;

class VirtualMouseState : public MouseTest {
  protected:
    // Leaves a mark on every part of the state.
    void useEveryPart() {
        exchange(dataReport({0xA0, 0x08, 0, 0, 0, 4, 0}, pattern(1024, 8)));
        exchange(report({0xA1, 0x0D, 0x02, 0, 0, 2, 10}));
        exchange(dataReport({0xA0, 0x21, 4, 0, 0, 3, 0, 0x00, 0x44}, Bytes(1024, 0x11)));
        exchange(report({0xA1, 0x0B, 0x06, 0, 0, 1}));
        exchange(report({0xA1, 0x04, 0, 0, 0, 3}));
        mouse.pressDpiButton(5);
        mouse.setSurfaceQuality(91);
        mouse.takeNotices();
    }
};

TEST_F(VirtualMouseState, ASavedStateLoadsBackIntoAnotherMouseUnchanged) {
    useEveryPart();
    exchange(report({0xA1, 0x3A, 0, 0, 0, 0x3C, 0xC3, 0x71}));
    const std::string saved = mouse.saveState();

    VirtualMouse other;
    other.unplug();
    std::string error;
    ASSERT_TRUE(other.loadState(saved, error)) << error;
    EXPECT_EQ(other.saveState(), saved);
    EXPECT_EQ(other.saveState(), mouse.saveState());
    EXPECT_EQ(other.slotImage(4), mouse.slotImage(4));
    EXPECT_EQ(other.interfaces().size(), 1u) << "back in its boot loader";
}

TEST_F(VirtualMouseState, LoadingAnnouncesTheMouseAfreshUnderNewPaths) {
    const std::string saved = mouse.saveState();
    const std::string before = config();
    std::string error;
    ASSERT_TRUE(mouse.loadState(saved, error));
    const auto notices = mouse.takeNotices();
    ASSERT_EQ(notices.size(), 6u);
    EXPECT_EQ(notices[0].kind, Notice::Kind::Removal);
    EXPECT_EQ(notices[0].device.path, before);
    EXPECT_EQ(notices[3].kind, Notice::Kind::Arrival);
    EXPECT_EQ(notices[3].device.path, config());
    EXPECT_NE(config(), before);
}

// A saved state spoilt one way.
struct Damage {
    const char* name;
    std::function<std::string(json)> spoil;
};

class DamagedStates : public VirtualMouseState, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedStates, AreRefusedAndChangeNothing) {
    json saved = json::parse(mouse.saveState());
    useEveryPart();
    const std::string before = mouse.saveState();
    std::string error;
    EXPECT_FALSE(mouse.loadState(GetParam().spoil(saved), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(mouse.saveState(), before);
    EXPECT_TRUE(mouse.takeNotices().empty());
}

std::string spoilt(json state, const json::json_pointer& where, json value) {
    state[where] = std::move(value);
    return state.dump();
}

INSTANTIATE_TEST_SUITE_P(
    VirtualMouse, DamagedStates,
    ::testing::Values(
        Damage{"NotJson", [](json) { return std::string("{ not json"); }},
        Damage{"Truncated", [](json s) { return s.dump().substr(0, 5000); }},
        Damage{"OtherFormat", [](json s) { return spoilt(s, "/format"_json_pointer, "other"); }},
        Damage{"NullSlots", [](json s) { return spoilt(s, "/slots"_json_pointer, nullptr); }},
        Damage{"FourSlots",
               [](json s) {
                   s["slots"].erase(4);
                   return s.dump();
               }},
        Damage{"ShortImage",
               [](json s) { return spoilt(s, "/slots/2"_json_pointer, std::string(4094, '0')); }},
        Damage{"NotHex",
               [](json s) {
                   return spoilt(s, "/profiles/1/block"_json_pointer, std::string(2048, 'g'));
               }},
        Damage{"ActiveSlot5", [](json s) { return spoilt(s, "/activeSlot"_json_pointer, 5); }},
        Damage{"NegativeQuality",
               [](json s) { return spoilt(s, "/surfaceQuality"_json_pointer, -1); }},
        Damage{"VersionTooLarge",
               [](json s) { return spoilt(s, "/firmwareVersion"_json_pointer, 65536); }},
        Damage{"UnknownMode", [](json s) { return spoilt(s, "/mode"_json_pointer, "sleeping"); }},
        Damage{"ActiveProfileAbsent",
               [](json s) { return spoilt(s, "/profiles/0/present"_json_pointer, false); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VirtualMouseState, TheDumpOfOneSlotSpellsOutItsProfile) {
    exchange(report({0xA1, 0x0D, 0x02, 0, 0, 3, 12}));
    exchange(report({0xA1, 0x04, 0, 0, 0, 2}));
    Bytes image = pattern(1024, 2);
    image[1] = 'A';
    image[2] = 0xE9;  // a name byte that is not ASCII must not break the JSON text
    image[3] = 0;
    exchange(dataReport({0xA0, 0x08, 0, 0, 0, 2, 0}, image));

    const json dump = json::parse(mouse.dumpJson(2));
    EXPECT_EQ(dump["activeSlot"], 2);
    EXPECT_EQ(dump["activeProfile"], 3);
    EXPECT_EQ(dump["mode"], "application");
    EXPECT_EQ(dump["plugged"], true);
    ASSERT_EQ(dump["slots"].size(), 1u);
    EXPECT_EQ(dump["slots"][0]["slot"], 2);
    EXPECT_EQ(dump["slots"][0]["name"], "A?");
    EXPECT_EQ(dump["slots"][0]["image"].get<std::string>().substr(0, 8), "0e41e900");
    ASSERT_EQ(dump["profiles"].size(), 1u);
    EXPECT_EQ(dump["profiles"][0]["profile"], 3);
    EXPECT_EQ(dump["profiles"][0]["responseTime"], 12);
    EXPECT_EQ(dump["profiles"][0]["dpi"]["values"][9], 19000);
    EXPECT_EQ(dump["profiles"][0]["buttons"][0]["sub"], 1);

    EXPECT_EQ(json::parse(mouse.dumpJson()).at("profiles").size(), 5u);
    EXPECT_TRUE(json::parse(mouse.dumpJson(5)).contains("error"));
}

}  // namespace
}  // namespace orvane::emulator::testing
