#include "platform/linux/gnome/GnomePointerSettings.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "support/TempDir.h"

namespace orvane {
namespace {

// GLib's file backend in a private configuration folder, chosen before the
// first GSettings use of the process.
class KeyfileBackend : public testing::Environment {
  public:
    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
        ::setenv("GSETTINGS_BACKEND", "keyfile", 1);
    }
    test::TempDir config;
};
const auto* const backend = testing::AddGlobalTestEnvironment(new KeyfileBackend);

class GnomePointerSettingsTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        settings = GnomePointerSettings::create(error);
        ASSERT_NE(settings, nullptr) << error;
    }
    void TearDown() override { g_object_unref(mouse); }

    std::unique_ptr<GnomePointerSettings> settings;
    GSettings* mouse = g_settings_new("org.gnome.desktop.peripherals.mouse");
};

TEST_F(GnomePointerSettingsTest, ValuesArriveInTheDesktopsUnits) {
    ASSERT_TRUE(settings->setDoubleClickTime(700));
    EXPECT_EQ(g_settings_get_int(mouse, "double-click"), 700);
    EXPECT_FALSE(settings->setWheelScrollLines(3));

    const std::pair<int, double> speeds[] = {{1, -1.0}, {4, -2.0 / 3}, {10, 0.0},
                                             {15, 0.5}, {20, 1.0},     {25, 1.0}};
    for (const auto& [speed, expected] : speeds) {
        ASSERT_TRUE(settings->setPointerSpeed(speed)) << speed;
        EXPECT_DOUBLE_EQ(g_settings_get_double(mouse, "speed"), expected) << speed;
    }

    for (const std::array<int, 3>& level : {std::array{12, 0, 1}, {6, 0, 1}, {4, 10, 2}}) {
        ASSERT_TRUE(settings->setAcceleration({0, 0, 0}));
        EXPECT_EQ(g_settings_get_enum(mouse, "accel-profile"), 1) << "flat";
        ASSERT_TRUE(settings->setAcceleration(level));
        EXPECT_EQ(g_settings_get_enum(mouse, "accel-profile"), 2) << "adaptive";
    }
}

// Each check runs in a fresh process: GLib keeps the schemas and the backend
// it found first.
TEST(GnomePointerSettingsCreate, SaysWhyWithoutSchemaOrWithoutLastingBackend) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const test::TempDir empty;
    const auto attempt = [] {
        std::string error;
        const bool created = GnomePointerSettings::create(error) != nullptr;
        std::cerr << error;
        std::exit(created ? 1 : 0);
    };
    EXPECT_EXIT(
        {
            ::setenv("XDG_DATA_DIRS", empty.path().c_str(), 1);
            ::setenv("XDG_DATA_HOME", empty.path().c_str(), 1);
            attempt();
        },
        testing::ExitedWithCode(0), "org.gnome.desktop.peripherals.mouse.*not installed");
    EXPECT_EXIT(
        {
            ::setenv("GSETTINGS_BACKEND", "memory", 1);
            attempt();
        },
        testing::ExitedWithCode(0), "no dconf");
}

}  // namespace
}  // namespace orvane
