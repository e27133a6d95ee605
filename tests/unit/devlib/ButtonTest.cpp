// Button functions: the record to the device's entry and back, the event
// blocks, and the block write with its sum and retries.
#include <cstring>
#include <limits>
#include <numeric>
#include <string>

#include "LibraryTestSupport.h"
#include "devlib/ButtonEncoding.h"
#include "devlib/Commands.h"

namespace orvane::devlib::testing {
namespace {

using Entry = std::array<std::uint8_t, 7>;

ButtonSetting setting(std::int32_t type, std::uint8_t sub, std::uint16_t value = 0) {
    ButtonSetting result{};
    result.button = 1;
    result.type = type;
    result.sub = sub;
    result.value = value;
    return result;
}

struct EncodeCase {
    const char* name;
    ButtonSetting record;
    Entry entry;
};

void PrintTo(const EncodeCase& c, std::ostream* os) {
    *os << c.name;
}

class EncodesButton : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodesButton, ByTheTypeTable) {
    EXPECT_EQ(encodeButton(GetParam().record).bytes(), GetParam().entry);
}

ButtonSetting macro(std::uint8_t sub, std::uint8_t parameter, std::uint16_t count) {
    ButtonSetting result = setting(19, sub);
    result.parameter = parameter;
    result.count = count;
    return result;
}

INSTANTIATE_TEST_SUITE_P(
    Types, EncodesButton,
    ::testing::Values(
        EncodeCase{"RightButton", setting(16, 2), {0x00, 0x02, 0, 0, 0, 0, 0x0F}},
        EncodeCase{"KeyA", setting(18, 1, 65), {0x02, 0x01, 0x04, 0x00, 0, 0, 0x0F}},
        EncodeCase{"MacroSubOne", macro(1, 5, 3), {0x03, 0xF1, 0x05, 0x00, 0x03, 0x00, 0x0F}},
        EncodeCase{"MacroSubZero", macro(0, 0, 1), {0x03, 0x01, 0, 0, 0x01, 0x00, 0x0F}},
        EncodeCase{"MacroSubSevenUnchanged", macro(7, 0, 0), {0x03, 0x07, 0, 0, 0, 0, 0x0F}},
        EncodeCase{"ProfileSwitchUp", setting(20, 1), {0x08, 0xF3, 0, 0, 0, 0, 0x0F}},
        EncodeCase{"DpiSwitchDown", setting(21, 0), {0x09, 0xF1, 0, 0, 0, 0, 0x0F}},
        EncodeCase{"FixedDpi800", setting(21, 2, 800), {0x0C, 0x01, 0x20, 0x03, 0x20, 0x03, 0x0F}},
        EncodeCase{"Type22", setting(22, 9), {0x21, 0x01, 0, 0, 0, 0, 0x0F}},
        EncodeCase{"PlayPause", setting(24, 0), {0x20, 0xCD, 0, 0, 0, 0, 0x0F}},
        EncodeCase{"Mute", setting(24, 6), {0x20, 0xE2, 0, 0, 0, 0, 0x0F}},
        EncodeCase{"ConsumerConfig", setting(24, 7), {0x20, 0x01, 0x83, 0x01, 0, 0, 0x0F}},
        EncodeCase{"LockWorkstation", setting(25, 2), {0x18, 0x01, 0x02, 0x00, 0x04, 0x00, 0x0F}},
        EncodeCase{"TaskManager", setting(25, 0), {0x18, 0x01, 0x00, 0x00, 0x06, 0x00, 0x0F}},
        EncodeCase{"SystemWithoutSequence", setting(25, 9), {0x18, 0x01, 0x09, 0, 0, 0, 0x0F}},
        EncodeCase{"Disabled", setting(255, 3), {0xFF, 0x01, 0, 0, 0, 0, 0x0F}},
        EncodeCase{"Unknown", setting(30, 3), {0x00, 0x01, 0, 0, 0, 0, 0x0F}}),
    [](const auto& info) { return std::string(info.param.name); });

struct DecodeCase {
    const char* name;
    Entry entry;
    std::int32_t type;
    std::uint8_t sub;
    std::uint16_t value;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.name;
}

class DecodesButton : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodesButton, ByTheReverseTable) {
    ButtonSetting decoded{};
    decodeButton(DeviceEntry::fromBytes(GetParam().entry), 3, decoded);
    EXPECT_EQ(decoded.button, 3);
    EXPECT_EQ(decoded.type, GetParam().type);
    EXPECT_EQ(decoded.sub, GetParam().sub);
    EXPECT_EQ(decoded.value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DecodesButton,
    ::testing::Values(
        DecodeCase{"WebPage", {0x24, 0, 20, 0, 0, 0, 0}, 25, 1, 20},
        DecodeCase{"Program", {0x23, 0, 0x10, 0x02, 0, 0, 0}, 25, 6, 0x210},
        DecodeCase{"KeyA", {0x02, 0x01, 0x04, 0x00, 0, 0, 0x0F}, 18, 1, 65},
        DecodeCase{"PauseKey", {0x02, 0x01, 0x48, 0x00, 0, 0, 0x0F}, 18, 1, 19},
        DecodeCase{"UnknownUsagePassesThrough", {0x02, 0x01, 0xF0, 0x00, 0, 0, 0x0F}, 18, 1, 0xF0},
        DecodeCase{"MacroSubTwo", {0x03, 0xF2, 0, 0, 0, 0, 0x0F}, 19, 2, 0},
        DecodeCase{"ProfileSwitchUp", {0x08, 0xF3, 0, 0, 0, 0, 0x0F}, 20, 1, 0},
        DecodeCase{"DpiSwitchDown", {0x09, 0xF1, 0, 0, 0, 0, 0x0F}, 21, 0, 0},
        DecodeCase{"FixedDpi", {0x0C, 0x01, 0x20, 0x03, 0x20, 0x03, 0x0F}, 21, 2, 800},
        DecodeCase{"System", {0x18, 0x01, 0x03, 0x00, 0x08, 0x00, 0x0F}, 25, 3, 0},
        DecodeCase{"NextTrack", {0x20, 0xB5, 0, 0, 0, 0, 0x0F}, 24, 3, 0},
        DecodeCase{"ConsumerConfigRoundTrips", {0x20, 0x01, 0x83, 0x01, 0, 0, 0x0F}, 24, 7, 0},
        DecodeCase{"MediaUnknown", {0x20, 0x42, 0, 0, 0, 0, 0x0F}, 24, 1, 0},
        DecodeCase{"Type22", {0x21, 0x01, 0, 0, 0, 0, 0x0F}, 22, 0, 0},
        DecodeCase{"Disabled", {0xFF, 0x01, 0, 0, 0, 0, 0x0F}, 255, 0, 0},
        DecodeCase{"UnknownKind", {0x77, 0x09, 0, 0, 0, 0, 0x0F}, 16, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

Bytes blockStart(const std::array<std::uint8_t, 1024>& block, std::size_t count) {
    return {block.begin(), block.begin() + static_cast<std::ptrdiff_t>(count)};
}

class ButtonsOnMouse : public LibraryOnMouse {
  protected:
    Bytes entry(std::size_t profile, std::size_t button) {
        const auto block = bus->withMouse(
            [&](emulator::VirtualMouse& mouse) { return mouse.profileBlock(profile); });
        const std::size_t at = profile_block::buttonEntry(button);
        return {block.begin() + static_cast<std::ptrdiff_t>(at),
                block.begin() + static_cast<std::ptrdiff_t>(at + 7)};
    }
    std::array<std::uint8_t, 1024> dataBlock(std::size_t profile, std::size_t button) {
        return bus->withMouse(
            [&](emulator::VirtualMouse& mouse) { return mouse.dataBlock(profile, button); });
    }
};

TEST_F(ButtonsOnMouse, RightButtonNeedsNoBlockWrite) {
    const ButtonSetting right = setting(16, 2);
    EXPECT_EQ(setButtonSettings(*core, 1, &right), 1);
    EXPECT_EQ(entry(1, 1), (Bytes{0x00, 0x02, 0, 0, 0, 0, 0x0F}));
    EXPECT_EQ(clock.sleeps(), Pauses{milliseconds(50)});
}

TEST_F(ButtonsOnMouse, LockWorkstationStoresItsKeySequence) {
    ButtonSetting lock = setting(25, 2);
    lock.button = 5;
    ASSERT_EQ(setButtonSettings(*core, 3, &lock), 1);
    EXPECT_EQ(entry(3, 5), (Bytes{0x18, 0x01, 0x02, 0x00, 0x04, 0x00, 0x0F}));
    EXPECT_EQ(blockStart(dataBlock(3, 5), 35),
              (Bytes{0x01, 0xE3, 0x00, 0x00, 0x05, 0x00, 0x00, 0x01, 0x0F, 0x00, 0x00, 0x96,
                     0x00, 0x00, 0x01, 0xE3, 0x00, 0x01, 0x05, 0x00, 0x00, 0x01, 0x0F, 0x00,
                     0x01, 0x05, 0x00, 0x00, 0,    0,    0,    0,    0,    0,    0}));
    EXPECT_EQ(clock.sleeps(), (Pauses{milliseconds(50), milliseconds(100)}));
}

TEST_F(ButtonsOnMouse, MacroWritesItsEventsAndATerminator) {
    // Leftovers of a longer macro must not survive as events.
    ButtonSetting previous = macro(0, 1, 6);
    for (ButtonEvent& event : previous.events) {
        event = {18, 'Z', 0, 1};
    }
    ASSERT_EQ(setButtonSettings(*core, 2, &previous), 1);

    ButtonSetting combo = macro(2, 9, 3);
    combo.events[0] = {18, 162, 0, 10};
    combo.events[1] = {16, 1, 0, 0x123456};
    combo.events[2] = {17, 0, 1, 0x01000005};
    ASSERT_EQ(setButtonSettings(*core, 2, &combo), 1);
    EXPECT_EQ(entry(2, 1), (Bytes{0x03, 0xF2, 0x09, 0x00, 0x03, 0x00, 0x0F}));
    EXPECT_EQ(
        blockStart(dataBlock(2, 1), 28),
        (Bytes{0x01, 0xE0, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x10, 0x01, 0x00, 0x00, 0x56, 0x34, 0x12,
               0x11, 0x00, 0x00, 0x01, 0x05, 0x00, 0x00, 0,    0,    0,    0,    0,    0,    0}));
}

TEST_F(ButtonsOnMouse, BrowserButtonStoresItsAddress) {
    const std::string address = "https://orvane.test/";
    ASSERT_EQ(address.size(), 20U);
    const RunProgramRequest request{1, 4, reinterpret_cast<const std::uint8_t*>(address.data()),
                                    20};
    ASSERT_EQ(setButtonRunBrowser(*core, &request), 1);
    EXPECT_EQ(entry(1, 4), (Bytes{0x24, 0x00, 0x14, 0x00, 0, 0, 0}));
    const auto block = dataBlock(1, 4);
    EXPECT_EQ(std::string(block.begin(), block.begin() + 20), address);
    EXPECT_EQ(block[20], 0);
    EXPECT_EQ(clock.sleeps(), (Pauses{milliseconds(80), milliseconds(100)}));

    ProfileData data{};
    ProgramTexts texts{};
    ASSERT_EQ(readProfileData(*core, 1, &data, &texts), 1);
    EXPECT_EQ(data.buttons[3].type, 25);
    EXPECT_EQ(data.buttons[3].sub, 1);
    EXPECT_EQ(texts.lengths[3], 20);
    EXPECT_EQ(std::memcmp(texts.texts[3], address.data(), 20), 0);
}

struct TextCase {
    const char* name;
    RunProgramRequest request;
    std::uint8_t result;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusesTextRequest : public ScriptedLibrary,
                           public ::testing::WithParamInterface<TextCase> {};

TEST_P(RefusesTextRequest, WithoutAnyTransfer) {
    EXPECT_EQ(setButtonRunProgram(*core, &GetParam().request), GetParam().result);
    EXPECT_TRUE(device->sets.empty());
}

const std::uint8_t kText[] = "x";

INSTANTIATE_TEST_SUITE_P(Requests, RefusesTextRequest,
                         ::testing::Values(TextCase{"ProfileZero", {0, 1, kText, 1}, 2},
                                           TextCase{"ButtonSeven", {1, 7, kText, 1}, 2},
                                           TextCase{"LongerThanTheBlock", {1, 1, kText, 1025}, 2},
                                           TextCase{"NullText", {1, 1, nullptr, 4}, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

// A function the mouse does not know never reaches it: the button keeps the
// one it had, and the caller hears 2.
struct UnknownCase {
    const char* name;
    ButtonSetting record;
};

void PrintTo(const UnknownCase& c, std::ostream* os) {
    *os << c.name;
}

ButtonSetting macroWithStep(ButtonEvent step) {
    ButtonSetting result = macro(0, 0, 2);
    result.events[0] = {18, 'A', 0, 5};
    result.events[1] = step;
    return result;
}

class RefusesUnknownFunction : public ButtonsOnMouse,
                               public ::testing::WithParamInterface<UnknownCase> {};

TEST_P(RefusesUnknownFunction, AndTheButtonKeepsItsFunction) {
    ButtonSetting dpiSwitch = setting(21, 1);
    dpiSwitch.button = 6;
    ASSERT_EQ(setButtonSettings(*core, 1, &dpiSwitch), 1);
    const Bytes before = entry(1, 6);
    const auto blockBefore = dataBlock(1, 6);

    ButtonSetting refused = GetParam().record;
    refused.button = 6;
    EXPECT_EQ(setButtonSettings(*core, 1, &refused), 2);
    EXPECT_EQ(entry(1, 6), before);
    EXPECT_EQ(dataBlock(1, 6), blockBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Records, RefusesUnknownFunction,
    ::testing::Values(
        UnknownCase{"Type99", setting(99, 1)}, UnknownCase{"TypeMinusFive", setting(-5, 1)},
        UnknownCase{"TypeIntMin", setting(std::numeric_limits<std::int32_t>::min(), 1)},
        UnknownCase{"TypeZero", setting(0, 1)}, UnknownCase{"TypeFifteen", setting(15, 1)},
        UnknownCase{"Type26", setting(26, 1)}, UnknownCase{"Type254", setting(254, 1)},
        UnknownCase{"MacroStepOfTypeZero", macroWithStep({0, 'B', 0, 5})},
        UnknownCase{"MacroStepOfTypeNineteen", macroWithStep({19, 'B', 0, 5})},
        UnknownCase{"MacroStepStateTwo", macroWithStep({18, 'B', 2, 5})}),
    [](const auto& info) { return std::string(info.param.name); });

// The block write as the mouse sees it: header, payload, sum.
Bytes blockWrite(std::uint8_t button, std::uint8_t profile, const Bytes& payload) {
    Bytes report = bytes({0xA0, 0x21, button, 0, 0, profile}, 1041);
    std::copy(payload.begin(), payload.end(), report.begin() + 16);
    const unsigned sum = std::accumulate(payload.begin(), payload.end(), 0U) & 0xFFFF;
    report[7] = static_cast<std::uint8_t>(sum & 0xFF);
    report[8] = static_cast<std::uint8_t>(sum >> 8);
    return report;
}

TEST_F(ScriptedLibrary, BrowserRequestAndBlockCarryLengthAndSum) {
    const std::string address = "https://orvane.test/";
    Bytes payload(1024, 0);
    std::copy(address.begin(), address.end(), payload.begin());
    expectCommand(put(bytes({0xA1, 0x0A, 0, 0, 0, 2, 6}), 16, {0x24, 0x00, 0x14, 0x00}));
    device->expectSet(blockWrite(6, 2, payload));
    device->expectGet(64, bytes({0xA1, 1}));
    const RunProgramRequest request{2, 6, reinterpret_cast<const std::uint8_t*>(address.data()),
                                    20};
    EXPECT_EQ(setButtonRunBrowser(*core, &request), 1);
    EXPECT_TRUE(device->finished());
}

TEST_F(ScriptedLibrary, BlockOfAll0xFFSumsTo0xFC00) {
    const Bytes payload(1024, 0xFF);
    ASSERT_TRUE(core->ensureDeviceOpen());
    Bytes expected = blockWrite(3, 4, payload);
    EXPECT_EQ(expected[7], 0x00);
    EXPECT_EQ(expected[8], 0xFC);
    device->expectSet(expected);
    device->expectGet(64, bytes({0xA1, 1}));
    EXPECT_EQ(writeDataBlock(*core, 4, 3, payload), 1);
}

TEST_F(ScriptedLibrary, UnsentBlockPausesAnywayAndIsTwo) {
    ASSERT_TRUE(core->ensureDeviceOpen());
    device->expectSet(blockWrite(1, 1, Bytes(1024, 0)), HidError::GeneralFailure);
    EXPECT_EQ(writeDataBlock(*core, 1, 1, Bytes(1024, 0)), 2);
    EXPECT_EQ(clock.sleeps(), Pauses{milliseconds(100)});
}

TEST_F(ScriptedLibrary, BlockWriteIsTriedFourTimesThenDeviceError) {
    expectCommand(put(bytes({0xA1, 0x0A, 0, 0, 0, 1, 1}), 16, {0x18, 0x01, 0x09, 0, 0, 0, 0x0F}));
    for (int attempt = 0; attempt < 4; ++attempt) {
        device->expectSet(blockWrite(1, 1, Bytes(1024, 0)));
        device->expectGet(64, bytes({0xA1, 2}));
    }
    const ButtonSetting system = setting(25, 9);
    EXPECT_EQ(setButtonSettings(*core, 1, &system), 20);
    EXPECT_TRUE(device->finished());
    const milliseconds write{100};
    EXPECT_EQ(clock.sleeps(), (Pauses{milliseconds(50), write, write, milliseconds(50), write,
                                      milliseconds(100), write}));
}

TEST_F(ScriptedLibrary, RefusedButtonCommandWritesNoBlock) {
    expectCommand(put(bytes({0xA1, 0x0A, 0, 0, 0, 1, 1}), 16, {0x18, 0x01, 0x02, 0, 4, 0, 0x0F}),
                  {}, 2);
    const ButtonSetting lock = setting(25, 2);
    EXPECT_EQ(setButtonSettings(*core, 1, &lock), 20);
    EXPECT_TRUE(device->finished());
}

}  // namespace
}  // namespace orvane::devlib::testing
