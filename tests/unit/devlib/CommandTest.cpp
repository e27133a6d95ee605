// The settings, profile and version functions: the bytes each one sends, its
// pause, how it judges the reply and which arguments it refuses unsent.
#include <functional>
#include <thread>

#include "LibraryTestSupport.h"
#include "devlib/Commands.h"

namespace orvane::devlib::testing {
namespace {

using Action = std::function<std::uint8_t(LibraryCore&)>;

DpiBlock sampleDpi() {
    DpiBlock dpi{3, 1, {}};
    for (std::uint16_t i = 0; i < 10; ++i) {
        dpi.values[i] = static_cast<std::uint16_t>(400 * (i + 1));
    }
    return dpi;
}

struct RequestCase {
    const char* name;
    Action action;
    Bytes request;
    milliseconds pause;
};

void PrintTo(const RequestCase& c, std::ostream* os) {
    *os << c.name;
}

class SendsRequest : public ScriptedLibrary, public ::testing::WithParamInterface<RequestCase> {};

TEST_P(SendsRequest, ExactBytesThenItsPauseAndSucceedsOnStatusOne) {
    const RequestCase& c = GetParam();
    expectCommand(c.request);
    EXPECT_EQ(c.action(*core), 1);
    EXPECT_TRUE(device->finished());
    EXPECT_EQ(clock.sleeps(), Pauses{c.pause});
}

TEST_P(SendsRequest, RefusedReplyIsDeviceError) {
    const RequestCase& c = GetParam();
    expectCommand(c.request, {}, 2);
    EXPECT_EQ(c.action(*core), 20);
}

Bytes dpiRequest() {
    Bytes request = bytes({0xA1, 0x0D, 0x0A, 0, 0, 2, 3, 1});
    for (std::size_t i = 0; i < 10; ++i) {
        const unsigned value = 400 * (i + 1);
        request[16 + 2 * i] = static_cast<std::uint8_t>(value & 0xFF);
        request[17 + 2 * i] = static_cast<std::uint8_t>(value >> 8);
    }
    return request;
}

Bytes resetSensorRequest() {
    Bytes request = bytes({0xA1, 0x0D, 0x0F, 0, 0, 4});
    request = put(request, 16, {0x02, 0x0C, 0x01, 0x00, 3, 1});
    const Bytes dpi = dpiRequest();
    std::copy(dpi.begin() + 16, dpi.begin() + 36, request.begin() + 22);
    return request;
}

Bytes lightingRequest() {
    Bytes request = bytes({0xA1, 0x0C, 0, 0, 0, 5, 0, 0});
    request[16] = 7;
    for (std::size_t i = 0; i < 24; ++i) {
        request[17 + i] = static_cast<std::uint8_t>(i + 1);
    }
    return put(request, 41, {50, 1, 2});
}

LightingBlock sampleLighting() {
    LightingBlock lighting{};
    for (std::size_t i = 0; i < 24; ++i) {
        lighting.bytes[i] = static_cast<std::uint8_t>(i + 1);
    }
    return lighting;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SendsRequest,
    ::testing::Values(
        RequestCase{"PollingRate500", [](LibraryCore& c) { return setPollingRate(c, 2, 500); },
                    bytes({0xA1, 0x0D, 0x01, 0, 0, 2, 2}), milliseconds(50)},
        RequestCase{"PollingRate125", [](LibraryCore& c) { return setPollingRate(c, 5, 125); },
                    bytes({0xA1, 0x0D, 0x01, 0, 0, 5, 8}), milliseconds(50)},
        RequestCase{"ResponseTime12", [](LibraryCore& c) { return setResponseTime(c, 1, 12); },
                    bytes({0xA1, 0x0D, 0x02, 0, 0, 1, 0x0C}), milliseconds(50)},
        RequestCase{"AngleSnappingPausesThirty",
                    [](LibraryCore& c) { return setAngleSnapping(c, 3, 1); },
                    bytes({0xA1, 0x0D, 0x03, 0, 0, 3, 1}), milliseconds(30)},
        RequestCase{"LiftOff", [](LibraryCore& c) { return setLiftOff(c, 4, 1); },
                    bytes({0xA1, 0x0D, 0x04, 0, 0, 4, 1}), milliseconds(50)},
        RequestCase{"Dpi", [](LibraryCore& c) { return setDpiSettings(c, 2, sampleDpi()); },
                    dpiRequest(), milliseconds(50)},
        RequestCase{"ResetSensorSendsLowBytesUnchecked",
                    [](LibraryCore& c) {
                        return resetSensorSettings(c, 4, 0x102, 12, 0x101, 0x300, sampleDpi());
                    },
                    resetSensorRequest(), milliseconds(50)},
        RequestCase{"Lighting",
                    [](LibraryCore& c) {
                        return updateLightingSettings(c, 5, 7, sampleLighting(), 50, 1, 2);
                    },
                    lightingRequest(), milliseconds(100)},
        RequestCase{"ResetProfile", [](LibraryCore& c) { return resetProfileDefault(c, 1); },
                    bytes({0xA1, 0x0B, 0x01, 0, 0, 1}), milliseconds(50)},
        RequestCase{"SyncAllProfiles", [](LibraryCore& c) { return syncProfile(c, 6); },
                    bytes({0xA1, 0x0B, 0x02, 0, 0, 6}), milliseconds(50)},
        RequestCase{"SelectProfile", [](LibraryCore& c) { return setCurrentProfileId(c, 5); },
                    bytes({0xA1, 0x0B, 0x04, 0, 0, 5}), milliseconds(100)},
        RequestCase{"AddProfile", [](LibraryCore& c) { return addProfile(c, 2); },
                    bytes({0xA1, 0x0B, 0x05, 0, 0, 2}), milliseconds(50)},
        RequestCase{"DeleteProfile", [](LibraryCore& c) { return deleteProfile(c, 3); },
                    bytes({0xA1, 0x0B, 0x06, 0, 0, 3}), milliseconds(50)},
        RequestCase{"CopyProfile", [](LibraryCore& c) { return copyProfileData(c, 1, 4); },
                    bytes({0xA1, 0x0B, 0x0A, 0, 0, 1, 4}), milliseconds(50)},
        RequestCase{"FactoryReset", [](LibraryCore& c) { return resetFactoryDefault(c); },
                    bytes({0xA1, 0x0E}), milliseconds(50)}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    Action action;
    std::uint8_t result;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusesUnsent : public ScriptedLibrary, public ::testing::WithParamInterface<RefusalCase> {};

// Nothing is scripted, so any transfer fails the test.
TEST_P(RefusesUnsent, WithoutAnyTransfer) {
    EXPECT_EQ(GetParam().action(*core), GetParam().result);
    EXPECT_TRUE(device->sets.empty());
    EXPECT_EQ(device->gets, 0);
}

ButtonSetting keyButton() {
    ButtonSetting setting{};
    setting.button = 1;
    setting.type = 18;
    return setting;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, RefusesUnsent,
    ::testing::Values(
        RefusalCase{"OddResponseTime", [](LibraryCore& c) { return setResponseTime(c, 1, 7); }, 2},
        RefusalCase{"ResponseTimeAboveTwelve",
                    [](LibraryCore& c) { return setResponseTime(c, 1, 14); }, 2},
        RefusalCase{"ResponseTimeZero", [](LibraryCore& c) { return setResponseTime(c, 1, 0); }, 2},
        RefusalCase{"PollingProfileZero", [](LibraryCore& c) { return setPollingRate(c, 0, 300); },
                    2},
        RefusalCase{"LiftOffTwo", [](LibraryCore& c) { return setLiftOff(c, 1, 2); }, 2},
        RefusalCase{"AngleSnappingProfileSix",
                    [](LibraryCore& c) { return setAngleSnapping(c, 6, 0); }, 2},
        RefusalCase{"DpiProfileSix", [](LibraryCore& c) { return setDpiSettings(c, 6, {}); }, 2},
        RefusalCase{"LightingProfileZero",
                    [](LibraryCore& c) { return updateLightingSettings(c, 0, 1, {}, 1, 1, 1); }, 2},
        RefusalCase{"SelectProfileSix", [](LibraryCore& c) { return setCurrentProfileId(c, 6); },
                    2},
        RefusalCase{"SyncProfileSeven", [](LibraryCore& c) { return syncProfile(c, 7); }, 2},
        RefusalCase{"CopyToSix", [](LibraryCore& c) { return copyProfileData(c, 1, 6); }, 2},
        RefusalCase{"ReadProfileZero",
                    [](LibraryCore& c) { return readProfileData(c, 0, nullptr, nullptr); }, 2},
        RefusalCase{"ReadIntoNull",
                    [](LibraryCore& c) { return readProfileData(c, 1, nullptr, nullptr); }, 20},
        RefusalCase{"StatusIntoNull", [](LibraryCore& c) { return getDeviceStatus(c, nullptr); },
                    20},
        RefusalCase{"VersionIntoNull",
                    [](LibraryCore& c) { return getFirmwareVersion(c, nullptr); }, 20},
        RefusalCase{"LibraryVersionIntoNull",
                    [](LibraryCore&) { return getLibraryVersion(nullptr); }, 20},
        RefusalCase{"CurrentProfileIntoNull",
                    [](LibraryCore& c) { return getCurrentProfileId(c, nullptr); }, 20},
        RefusalCase{"ProfileCountIntoNull",
                    [](LibraryCore& c) { return getNumberOfProfiles(c, nullptr); }, 20},
        RefusalCase{"ButtonFromNull",
                    [](LibraryCore& c) { return setButtonSettings(c, 1, nullptr); }, 20},
        RefusalCase{"ButtonProfileSix",
                    [](LibraryCore& c) {
                        const ButtonSetting setting = keyButton();
                        return setButtonSettings(c, 6, &setting);
                    },
                    2},
        RefusalCase{"ButtonSeven",
                    [](LibraryCore& c) {
                        ButtonSetting setting = keyButton();
                        setting.button = 7;
                        return setButtonSettings(c, 1, &setting);
                    },
                    2},
        RefusalCase{"MacroOf141Events",
                    [](LibraryCore& c) {
                        ButtonSetting setting = keyButton();
                        setting.type = 19;
                        setting.count = 141;
                        return setButtonSettings(c, 1, &setting);
                    },
                    2},
        RefusalCase{"RunProgramFromNull",
                    [](LibraryCore& c) { return setButtonRunProgram(c, nullptr); }, 20}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScriptedLibrary, BadPollingRateIsRefusedOnlyOnceTheMouseIsOpen) {
    EXPECT_EQ(setPollingRate(*core, 2, 300), 2);
    EXPECT_TRUE(core->deviceOpen());
    EXPECT_TRUE(device->sets.empty());
}

TEST(LibraryWithoutMouse, BadPollingRateIsDeviceErrorAndStatusIs255) {
    FakeClock clock;
    LibraryCore core(std::make_unique<test::ScriptedHidBus>(), clock);
    EXPECT_EQ(setPollingRate(core, 2, 300), 20);
    std::int16_t status = 0;
    EXPECT_EQ(getDeviceStatus(core, &status), 20);
    EXPECT_EQ(status, 255);
    EXPECT_EQ(setResponseTime(core, 1, 4), 20);
    std::uint16_t version = 7;
    EXPECT_EQ(getLibraryVersion(&version), 1);
    EXPECT_EQ(version, 10);
    EXPECT_EQ(getFirmwareVersion(core, &version), 20);
    EXPECT_EQ(version, 10);
}

TEST(LibraryWithoutBackend, EveryCommandIsDeviceError) {
    FakeClock clock;
    LibraryCore core(nullptr, clock);
    EXPECT_EQ(openApplicationDevice(core), 0);
    EXPECT_EQ(resetFactoryDefault(core), 20);
    EXPECT_EQ(core.openCaptureDevice(), nullptr);
}

TEST_F(ScriptedLibrary, FirmwareVersionDigitsReadAsDecimal) {
    expectCommand(bytes({0xA1, 0x02}), {0x10, 0x01, 0x00, 0x02});
    std::uint16_t version = 0;
    EXPECT_EQ(getFirmwareVersion(*core, &version), 1);
    EXPECT_EQ(version, 110);
    expectCommand(bytes({0xA1, 0x02}), {0x10, 0x01, 0x00, 0x02});
    EXPECT_EQ(getBootLoaderVersion(*core, &version), 1);
    EXPECT_EQ(version, 200);
    EXPECT_EQ(clock.sleeps(), (Pauses{milliseconds(50), milliseconds(50)}));
}

TEST(VersionAsDecimal, StopsAtTheFirstLetterDigit) {
    EXPECT_EQ(versionAsDecimal(0x0102), 102);
    EXPECT_EQ(versionAsDecimal(0x1999), 1999);
    EXPECT_EQ(versionAsDecimal(0x01A0), 1);
    EXPECT_EQ(versionAsDecimal(0xB000), 0);
}

TEST_F(ScriptedLibrary, ProfileCountOutsideOneToFiveIsWrittenAndRefused) {
    expectCommand(bytes({0xA1, 0x0B, 0x09}), {0});
    std::uint8_t count = 9;
    EXPECT_EQ(getNumberOfProfiles(*core, &count), 20);
    EXPECT_EQ(count, 0);
    expectCommand(bytes({0xA1, 0x0B, 0x09}), {5});
    EXPECT_EQ(getNumberOfProfiles(*core, &count), 1);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(clock.sleeps(), (Pauses{milliseconds(60), milliseconds(60)}));
}

TEST_F(ScriptedLibrary, CurrentProfileIsWrittenAsReported) {
    expectCommand(bytes({0xA1, 0x0B, 0x03}), {9});
    std::uint8_t profile = 0;
    EXPECT_EQ(getCurrentProfileId(*core, &profile), 1);
    EXPECT_EQ(profile, 9);
}

TEST_F(ScriptedLibrary, ProfileCommandNeedsTheReadItselfToSucceed) {
    device->expectSet(bytes({0xA1, 0x0B, 0x05, 0, 0, 2}));
    device->expectGet(64, {}, HidError::GeneralFailure);
    EXPECT_EQ(addProfile(*core, 2), 20);
}

TEST_F(ScriptedLibrary, FailedSendReadsNoReplyAndMakesNoPause) {
    device->expectSet(bytes({0xA1, 0x0D, 0x04, 0, 0, 1, 1}), HidError::GeneralFailure);
    EXPECT_EQ(setLiftOff(*core, 1, 1), 20);
    EXPECT_EQ(device->gets, 0);
    EXPECT_TRUE(clock.sleeps().empty());
}

TEST_F(LibraryOnMouse, StatusFollowsThePlugAndLeavesTheMouseOpen) {
    bus->withMouse([](emulator::VirtualMouse& mouse) { mouse.unplug(); });
    std::int16_t status = 0;
    EXPECT_EQ(getDeviceStatus(*core, &status), 20);
    EXPECT_EQ(status, 255);
    bus->withMouse([](emulator::VirtualMouse& mouse) { mouse.plug(); });
    EXPECT_EQ(getDeviceStatus(*core, &status), 1);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(core->deviceOpen());
    EXPECT_EQ(closeCommandDevice(*core), 1);
    EXPECT_FALSE(core->deviceOpen());
    EXPECT_EQ(closeCommandDevice(*core), 1);
}

TEST_F(LibraryOnMouse, BootLoaderOpensIntoTheSameHandle) {
    EXPECT_EQ(openBootLoaderDevice(*core), 0);
    EXPECT_FALSE(core->deviceOpen());
    EXPECT_EQ(openApplicationDevice(*core), 1);
    EXPECT_EQ(openCompliantDevice(*core), 1);
    EXPECT_EQ(setPollingRate(*core, 3, 250), 1);
    EXPECT_EQ(bus->withMouse([](emulator::VirtualMouse& m) { return m.profileBlock(3)[1]; }), 4);
}

// Closing and status checks take no lock, so they may swap the handle while
// a command is in the middle of its transfers on another thread.
TEST_F(LibraryOnMouse, CloseDuringCommandsOnAnotherThreadIsSafe) {
    std::vector<std::uint8_t> results;
    std::thread commands([&] {
        for (int i = 0; i < 40; ++i) {
            results.push_back(setPollingRate(*core, 1, 500));
        }
    });
    for (int i = 0; i < 40; ++i) {
        closeCommandDevice(*core);
        std::int16_t status = 0;
        getDeviceStatus(*core, &status);
    }
    commands.join();
    for (std::uint8_t result : results) {
        EXPECT_TRUE(result == 1 || result == 20) << int{result};
    }
}

}  // namespace
}  // namespace orvane::devlib::testing
