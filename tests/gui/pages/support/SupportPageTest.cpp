// The Support page against the in-process simulated mouse: the update offer
// and "Check Firmware" under the update rule, with a shell that records what
// would be started, and the support site's buttons.
#include <gtest/gtest.h>

#include <QTest>
#include <fstream>
#include <optional>

#include "controls/CKivButton.h"
#include "controls/CKivStatic.h"
#include "controls/CPopDlg.h"
#include "device/DeviceLink.h"
#include "emulator/VirtualHidBus.h"
#include "pages/support/CSupportDlg.h"
#include "platform/AppPaths.h"
#include "platform/FakeClock.h"
#include "platform/FakeShell.h"
#include "platform/UpdateFolder.h"
#include "skins/SkinCache.h"
#include "skins/SkinLayout.h"
#include "support/TempDir.h"

namespace orvane {
namespace {

struct Versions {
    const char* name;
    std::uint16_t mouse;                // the device's release number
    std::optional<const char*> config;  // Config.ini's content; none: no file
    bool offered;
    const char* shown;
};

class SupportPage : public testing::Test {
  protected:
    void SetUp() override { loadSkinSheetsFrom(QStringLiteral(ORVANE_TEST_SKIN_FOLDER)); }

    void build(std::uint16_t mouseVersion, std::optional<const char*> config) {
        emulator::VirtualMouseOptions options;
        options.releaseNumber = mouseVersion;
        options.firmwareVersion = mouseVersion;
        bus.emplace(std::make_shared<emulator::VirtualMouse>(options), clock);
        link.emplace(*bus, clock);
        paths.programDir = programFolder.path();
        const auto folder = programFolder / kUpdateFolderName;
        std::filesystem::create_directories(folder);
        if (config) {
            std::ofstream(folder / kUpdateConfigName) << *config;
        }
        services.link = &*link;
        services.shell = &shell;
        services.paths = &paths;
        services.clock = &clock;
        page = std::make_unique<CSupportDlg>(services, nullptr);
        page->setPopupRunner([this](CPopDlg& popup) {
            asked.push_back(popup.variant());
            return answer;
        });
    }

    void init() {
        page->initSupportPage([this] { ++exits; });
    }

    std::filesystem::path program() const {
        return programFolder / kUpdateFolderName / kUpdaterProgramName;
    }

    test::TempDir programFolder;
    FakeClock clock;
    std::optional<emulator::VirtualHidBus> bus;
    std::optional<DeviceLink> link;
    AppPaths paths;
    FakeShell shell;
    PageServices services;
    std::unique_ptr<CSupportDlg> page;
    std::vector<int> asked;
    int answer = CPopDlg::kResultOk;
    int exits = 0;
};

class SupportPageVersions : public SupportPage, public testing::WithParamInterface<Versions> {};

TEST_P(SupportPageVersions, OfferAndCheckFirmwareFollowTheUpdateRule) {
    const Versions& v = GetParam();
    build(v.mouse, v.config);
    init();
    EXPECT_EQ(page->firmVersionText()->text(), QString::fromLatin1(v.shown));
    EXPECT_EQ(asked, v.offered ? std::vector<int>{layout::popup::kUpdateWarn} : std::vector<int>{});
    // A confirmed offer starts the program at once, with "1".
    ASSERT_EQ(shell.started.size(), v.offered ? 1U : 0U);

    QTest::mouseClick(page->checkFirmwareButton(), Qt::LeftButton);
    ASSERT_FALSE(shell.started.empty());
    EXPECT_EQ(shell.started.back().program, program());
    EXPECT_EQ(shell.started.back().arguments, std::vector<std::string>{v.offered ? "1" : "2"});
    if (v.offered) {
        EXPECT_EQ(shell.started.front().arguments, std::vector<std::string>{"1"});
    }
    EXPECT_EQ(exits, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, SupportPageVersions,
    testing::Values(
        Versions{"Firmware100Config101", 0x0100, "[Firmware]\nVersion=101\n", true, "1.00"},
        Versions{"Firmware100Config100", 0x0100, "[Firmware]\nVersion=100\n", false, "1.00"},
        Versions{"Firmware105Config200", 0x0105, "[Firmware]\nVersion=200\n", false, "1.05"},
        Versions{"Firmware088NoConfig", 0x0088, std::nullopt, true, "0.88"},
        Versions{"Firmware100NoKey", 0x0100, "[Firmware]\nBuild=7\n", true, "1.00"},
        Versions{"Firmware101NoConfig", 0x0101, std::nullopt, false, "1.01"}),
    [](const testing::TestParamInfo<Versions>& info) { return info.param.name; });

TEST_F(SupportPage, DecliningTheOfferEndsTheApplicationWithoutStartingAnything) {
    build(0x0100, "[Firmware]\nVersion=101\n");
    answer = CPopDlg::kResultCancel;
    init();
    EXPECT_EQ(asked.size(), 1U);
    EXPECT_EQ(exits, 1);
    EXPECT_TRUE(shell.started.empty());
}

TEST_F(SupportPage, WithoutAMouseTheVersionIsDashesAndCheckFirmwareDoesNothing) {
    build(0x0100, "[Firmware]\nVersion=101\n");
    bus->withMouse([](emulator::VirtualMouse& mouse) { mouse.unplug(); });
    init();
    EXPECT_EQ(page->firmVersionText()->text(), QStringLiteral("-.--"));
    EXPECT_TRUE(asked.empty());
    QTest::mouseClick(page->checkFirmwareButton(), Qt::LeftButton);
    EXPECT_TRUE(shell.started.empty());
    EXPECT_EQ(exits, 0);
}

TEST_F(SupportPage, ShowsTheVersionsItIsGiven) {
    build(0x0105, std::nullopt);
    EXPECT_EQ(page->softVersionText()->text(), QStringLiteral("1.00"));
    EXPECT_EQ(page->firmVersionText()->text(), QStringLiteral("-.--"));
    page->setFirmwareVersionText(QStringLiteral("1.05"));
    EXPECT_EQ(page->firmVersionText()->text(), QStringLiteral("1.05"));
}

TEST_F(SupportPage, WebButtonsOpenTheSupportSitesPages) {
    build(0x0105, std::nullopt);
    QTest::mouseClick(page->onlineSupportButton(), Qt::LeftButton);
    QTest::mouseClick(page->checkUpdatesButton(), Qt::LeftButton);
    QTest::mouseClick(page->faqButton(), Qt::LeftButton);
    const std::string site = "https://support.example.com";
    EXPECT_EQ(shell.openedPages,
              (std::vector<std::string>{
                  site + "/home", site + "/hc/en-us/categories/201849106-Software-Manual-downloads",
                  site + "/categories/20013662-frequently-asked-questions"}));
    EXPECT_TRUE(shell.started.empty());
}

}  // namespace
}  // namespace orvane
