#include "platform/linux/x11/X11PointerSettings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

// After GoogleTest: Xlib defines None and Bool as macros.
#include <X11/Xlib.h>

#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "support/ChildProcess.h"
#include "support/PrivateXServer.h"

namespace orvane {
namespace {

// numerator, denominator, threshold
using Control = std::tuple<int, int, int>;

const std::array<int, 3> kOff{0, 0, 0};
const std::array<std::array<int, 3>, 3> kLevels{{{12, 0, 1}, {6, 0, 1}, {4, 10, 2}}};

// A private X server for each test, stopped with the fixture.
class X11PointerSettingsTest : public testing::Test {
  protected:
    void SetUp() override {
        if (::access(test::kXvfbProgram, X_OK) != 0) {
            GTEST_SKIP() << "Xvfb is needed";
        }
        std::string error;
        server = test::startPrivateXServer(display, error);
        ASSERT_NE(server, nullptr) << error;
        settings = X11PointerSettings::create(display, error);
        ASSERT_NE(settings, nullptr) << error;
    }

    Control held() {
        Display* connection = XOpenDisplay(display.c_str());
        Control control{-1, -1, -1};
        if (connection == nullptr) {
            ADD_FAILURE() << "the server on " << display << " does not answer";
            return control;
        }
        XGetPointerControl(connection, &std::get<0>(control), &std::get<1>(control),
                           &std::get<2>(control));
        XCloseDisplay(connection);
        return control;
    }

    std::unique_ptr<test::Program> server;
    std::string display;
    std::unique_ptr<X11PointerSettings> settings;
};

TEST_F(X11PointerSettingsTest, SpeedAndLevelsShareTheOneControlWhicheverComesFirst) {
    ASSERT_TRUE(settings->setAcceleration(kOff));
    for (const auto& [speed, expected] : {std::pair{1, Control{1, 10, 0}},
                                          {5, {1, 2, 0}},
                                          {10, {1, 1, 0}},
                                          {15, {3, 2, 0}},
                                          {20, {2, 1, 0}}}) {
        ASSERT_TRUE(settings->setPointerSpeed(speed));
        EXPECT_EQ(held(), expected) << "speed " << speed;
    }
    ASSERT_TRUE(settings->setAcceleration(kLevels[2]));
    EXPECT_EQ(held(), Control(6, 1, 4));
    ASSERT_TRUE(settings->setPointerSpeed(10));
    for (const auto& [level, expected] : {std::pair{0, Control{2, 1, 12}}, {1, {2, 1, 6}}}) {
        ASSERT_TRUE(settings->setAcceleration(kLevels[level]));
        EXPECT_EQ(held(), expected) << "level " << level + 1;
    }
    ASSERT_TRUE(settings->setPointerSpeed(5));
    EXPECT_EQ(held(), Control(2, 1, 12));
}

TEST_F(X11PointerSettingsTest, TheThreeLevelsStayApartAndAboveNoneAtEverySpeed) {
    for (int speed = 1; speed <= 20; ++speed) {
        ASSERT_TRUE(settings->setPointerSpeed(speed));
        std::set<Control> seen;
        for (const auto& level : kLevels) {
            ASSERT_TRUE(settings->setAcceleration(level));
            const Control control = held();
            seen.insert(control);
            EXPECT_GT(std::get<0>(control), std::get<1>(control)) << "speed " << speed;
        }
        EXPECT_EQ(seen.size(), 3U) << "speed " << speed;
    }
}

TEST_F(X11PointerSettingsTest, ToolkitSettingsHaveNoPlaceAndALostServerRefuses) {
    EXPECT_FALSE(settings->setDoubleClickTime(500));
    EXPECT_FALSE(settings->setWheelScrollLines(3));

    server.reset();
    EXPECT_FALSE(settings->setPointerSpeed(12));
    std::string error;
    EXPECT_EQ(X11PointerSettings::create(display, error), nullptr);
    EXPECT_THAT(error, testing::HasSubstr(display));
}

}  // namespace
}  // namespace orvane
