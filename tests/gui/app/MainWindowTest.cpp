#include <gmock/gmock.h>

#include <QTest>
#include <fstream>

#include "app/AppTexts.h"
#include "controls/CKivButton.h"
#include "controls/CKivCheckBox.h"
#include "controls/CKivComboButton.h"
#include "controls/CKivMenu.h"
#include "device/DeviceCommands.h"
#include "gui/app/MainWindowHarness.h"
#include "pages/mouse/CMouseSettingsDlg.h"
#include "platform/FakeKeyboardHook.h"
#include "platform/FakePointerSettings.h"
#include "platform/FakeShell.h"
#include "profile/ProfileFile.h"
#include "protocol/image/DeviceImage.h"

namespace orvane::test {
namespace {

using emulator::VirtualMouse;
using testing::ElementsAre;

// Tells when the watched widget has been painted.
class PaintWatch : public QObject {
  public:
    explicit PaintWatch(std::function<void()> painted) : painted(std::move(painted)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted();
        }
        return false;
    }

  private:
    std::function<void()> painted;
};

class MainWindow : public testing::Test, public MainWindowHarness {
  protected:
    FakePage& mouse() { return page(PageKind::MouseSettings); }
    void click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }
};

TEST_F(MainWindow, StartsOnTheSlotTheMouseUsesWithMouseSettingsShown) {
    MouseProfile stored;
    stored.slotIndex = 2;
    stored.name = u"Arena";
    ASSERT_TRUE(saveProfile(setup.profilesFolder / "Default3.profile", stored));
    ASSERT_EQ(link.openDevice(), 1);
    ASSERT_EQ(selectProfile(link, 2), kCommandDone);
    link.closeDevice();

    CVYSKDlg& window = open();

    EXPECT_EQ(window.windowTitle(), QString::fromLatin1(texts::kWindowTitle));
    EXPECT_EQ(window.size(), QSize(1024, 576));
    EXPECT_EQ(window.shownPage(), PageKind::MouseSettings);
    EXPECT_TRUE(window.pageButton(PageKind::MouseSettings)->isLatched());
    EXPECT_TRUE(window.page(PageKind::MouseSettings)->isVisible());
    EXPECT_FALSE(window.page(PageKind::Support)->isVisible());
    EXPECT_EQ(window.profileButton(2)->caption(), QStringLiteral("Arena"));
    EXPECT_EQ(window.profileSet().currentSlot(), 2u);
    EXPECT_TRUE(window.profileButton(2)->isLatched());
    EXPECT_FALSE(window.isBusy());
    EXPECT_TRUE(window.applyButton()->isEnabled());
}

TEST_F(MainWindow, EveryPageIsHandedTheLinkTheClockAndTheWindowsMacros) {
    FakeKeyboardHook hook;
    FakeShell shell;
    setup.pageServices.keyboardHook = &hook;
    setup.pageServices.shell = &shell;
    CVYSKDlg& window = open();
    for (int kind = 0; kind < kPageCount; ++kind) {
        window.page(static_cast<PageKind>(kind));
    }
    for (const PageServices& handed : pageServices) {
        EXPECT_EQ(handed.link, &link);
        EXPECT_EQ(handed.clock, &clock);
        EXPECT_EQ(handed.macros, &window.macroCollection());
        EXPECT_EQ(handed.keyboardHook, &hook);
        EXPECT_EQ(handed.shell, &shell);
        EXPECT_EQ(handed.pointerSettings, nullptr);
    }
}

TEST_F(MainWindow, PageSwitchCollectsThePagesIntoTheCurrentRecord) {
    CVYSKDlg& window = open();
    mouse().value = 9;
    click(window.pageButton(PageKind::SensorPerformance));

    EXPECT_EQ(window.shownPage(), PageKind::SensorPerformance);
    EXPECT_EQ(window.profileSet().currentRecord().scrollByLines, 9);
    EXPECT_TRUE(window.pageButton(PageKind::SensorPerformance)->isLatched());
    EXPECT_FALSE(window.pageButton(PageKind::MouseSettings)->isLatched());
    EXPECT_TRUE(window.page(PageKind::SensorPerformance)->isVisible());
    EXPECT_FALSE(window.page(PageKind::MouseSettings)->isVisible());

    const int stores = mouse().stores;
    click(window.pageButton(PageKind::SensorPerformance));  // already shown
    EXPECT_EQ(mouse().stores, stores);
}

TEST_F(MainWindow, ProfileSwitchKeepsUnappliedEditsInMemoryOnly) {
    CVYSKDlg& window = open();
    const auto before = onMouse([](VirtualMouse& m) { return m.slotImage(1); });
    click(window.profileButton(1));
    mouse().value = 11;
    click(window.profileButton(2));
    EXPECT_EQ(window.profileSet().currentSlot(), 2u);
    EXPECT_TRUE(window.profileButton(2)->isLatched());
    EXPECT_FALSE(window.profileButton(1)->isLatched());
    EXPECT_EQ(mouse().value, window.profileSet().record(2).scrollByLines);

    click(window.profileButton(1));
    EXPECT_EQ(mouse().value, 11u);
    EXPECT_EQ(window.profileSet().record(1).scrollByLines, 11u);
    EXPECT_FALSE(std::filesystem::exists(window.profileSet().record(1).filePath));
    EXPECT_EQ(onMouse([](VirtualMouse& m) { return m.slotImage(1); }), before);
    EXPECT_EQ(onMouse([](VirtualMouse& m) { return m.activeSlot(); }), 0);
}

TEST_F(MainWindow, SaveCurrentSettingsWritesTheRecordAsItWasBeforeTheEdit) {
    CVYSKDlg& window = open();
    const std::uint32_t before = window.profileSet().record(0).scrollByLines;
    mouse().value = before + 3;
    window.controlNotified(CVYSKDlg::kMenuButtonId + 0, CVYSKDlg::kSaveCurrent);

    MouseProfile saved;
    ASSERT_TRUE(loadProfile(window.profileSet().record(0).filePath, saved));
    EXPECT_EQ(saved.scrollByLines, before);
}

TEST_F(MainWindow, DisableEnableGreysOtherProfilesButNeverProfileOne) {
    CVYSKDlg& window = open();
    window.profileMenu(0, CVYSKDlg::kDisableEnable);
    EXPECT_TRUE(window.profileButton(0)->isEnabled());
    EXPECT_EQ(window.profileSet().record(0).enabled, 1u);

    window.profileMenu(1, CVYSKDlg::kDisableEnable);
    EXPECT_FALSE(window.profileButton(1)->isEnabled());
    EXPECT_EQ(window.profileSet().record(1).enabled, 0u);
    window.profileMenu(1, CVYSKDlg::kDisableEnable);
    EXPECT_TRUE(window.profileButton(1)->isEnabled());
}

TEST_F(MainWindow, RenameStoresTheAcceptedNameOnTheRecordAndItsButton) {
    CVYSKDlg& window = open();
    renameAnswer = QStringLiteral("Profile");
    window.profileMenu(3, CVYSKDlg::kRename);
    EXPECT_EQ(window.profileSet().record(3).name, u"Profile");
    EXPECT_EQ(window.profileButton(3)->caption(), QStringLiteral("Profile"));

    renameAnswer.reset();  // cancelled
    window.profileMenu(3, CVYSKDlg::kRename);
    EXPECT_EQ(window.profileSet().record(3).name, u"Profile");
}

TEST_F(MainWindow, OkShowsTheRecordLastWrittenToTheMouse) {
    CVYSKDlg& window = open();
    mouse().value = 5;
    apply();
    click(window.profileButton(1));
    mouse().value = 3;
    window.showAppliedProfile();
    EXPECT_EQ(mouse().value, 5u);
    EXPECT_EQ(window.profileSet().currentSlot(), 1u);
    EXPECT_EQ(window.profileSet().record(1).scrollByLines, MouseProfile{}.scrollByLines);
}

TEST_F(MainWindow, ApplyWritesTheCurrentProfileIntoItsSlotAndSelectsIt) {
    CVYSKDlg& window = open();
    click(window.profileButton(3));
    mouse().value = 8;
    QSignalSpy finished(&window, &CVYSKDlg::applyFinished);
    click(window.applyButton());
    // While the run is in flight: no second Apply, no profile switch.
    EXPECT_FALSE(window.applyButton()->isEnabled());
    EXPECT_FALSE(window.profileButton(1)->isEnabled());
    EXPECT_TRUE(window.profileButton(3)->isLatched());
    click(window.profileButton(3));
    EXPECT_EQ(window.profileSet().currentSlot(), 3u);
    ASSERT_TRUE(finished.wait(5000));

    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_TRUE(window.applyButton()->isEnabled());
    EXPECT_EQ(onMouse([](VirtualMouse& m) { return m.activeSlot(); }), 3);
    EXPECT_EQ(onMouse([](VirtualMouse& m) { return m.slotImage(3); }),
              buildDeviceImage(window.profileSet().record(3)).bytes);
    EXPECT_EQ(window.profileSet().appliedSlot(), 3u);
    for (std::size_t slot = 0; slot < 5; ++slot) {
        EXPECT_TRUE(std::filesystem::is_regular_file(window.profileSet().record(slot).filePath));
    }
}

TEST_F(MainWindow, ApplyWithoutAMouseSavesTheFiveFilesThenSaysTheMouseIsMissing) {
    onMouse([](VirtualMouse& m) { m.unplug(); });
    CVYSKDlg& window = open();
    apply();
    EXPECT_THAT(messages, ElementsAre(QString::fromLatin1(texts::kMouseNotFound)));
    for (std::size_t slot = 0; slot < 5; ++slot) {
        EXPECT_TRUE(std::filesystem::is_regular_file(window.profileSet().record(slot).filePath));
    }
    EXPECT_EQ(window.profileSet().appliedSlot(), 0u);
}

TEST_F(MainWindow, ApplyTellsWhichProfileFileCouldNotBeWritten) {
    CVYSKDlg& window = open();
    std::filesystem::create_directories(window.profileSet().record(4).filePath / "in-the-way");
    apply();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Default5.profile")));
}

TEST_F(MainWindow, ResetAsksFirstThenResetsAllFiveAndApplies) {
    CVYSKDlg& window = open();
    window.profileMenu(2, CVYSKDlg::kDisableEnable);
    renameAnswer = QStringLiteral("Mine");
    window.profileMenu(1, CVYSKDlg::kRename);
    click(window.profileButton(1));

    popupAnswer = 2;
    click(window.resetButton());
    EXPECT_THAT(popups, ElementsAre(188));
    EXPECT_EQ(window.profileSet().record(1).name, u"Mine");

    popupAnswer = 1;
    QSignalSpy finished(&window, &CVYSKDlg::applyFinished);
    click(window.resetButton());
    ASSERT_TRUE(finished.wait(5000));
    for (std::size_t slot = 0; slot < 5; ++slot) {
        EXPECT_EQ(window.profileSet().record(slot).name, ProfileSet::defaultName(slot));
        EXPECT_TRUE(window.profileButton(slot)->isEnabled());
    }
    EXPECT_EQ(window.profileSet().currentSlot(), 0u);
    EXPECT_TRUE(window.profileButton(0)->isLatched());
    EXPECT_EQ(onMouse([](VirtualMouse& m) { return m.slotImage(0); }),
              buildDeviceImage(window.profileSet().record(0)).bytes);
}

TEST_F(MainWindow, ImportShowsTheRecordOnlyWhenItIsTheCurrentOne) {
    MouseProfile exported;
    exported.name = u"Imported";
    exported.slotIndex = 4;
    exported.scrollByLines = 10;
    chosenFile = QString::fromStdString((folder.path() / "x.profile").string());
    ASSERT_TRUE(saveProfile(chosenFile.toStdString(), exported));
    CVYSKDlg& window = open();
    const int loads = mouse().loads;

    window.profileMenu(2, CVYSKDlg::kImport);
    EXPECT_EQ(window.profileSet().record(2).scrollByLines, 10);
    EXPECT_EQ(window.profileSet().record(2).slotIndex, 2);  // stays slot 3's record
    EXPECT_EQ(window.profileButton(2)->caption(), QStringLiteral("Imported"));
    EXPECT_EQ(mouse().loads, loads);
    EXPECT_TRUE(window.profileButton(0)->isLatched());

    window.profileMenu(0, CVYSKDlg::kImport);
    EXPECT_EQ(mouse().value, 10);
}

TEST_F(MainWindow, ImportOfAFileThatIsNotAProfileSaysSoAndChangesNothing) {
    CVYSKDlg& window = open();
    chosenFile = QString::fromStdString((folder.path() / "notes.profile").string());
    std::ofstream(chosenFile.toStdString()) << "shopping list";
    const MouseProfile before = window.profileSet().record(1);
    window.profileMenu(1, CVYSKDlg::kImport);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("notes.profile")));
    EXPECT_EQ(window.profileSet().record(1), before);
}

TEST_F(MainWindow, ExportProposesTheNameAndAppendsTheExtension) {
    CVYSKDlg& window = open();
    chosenFile = QString::fromStdString((folder.path() / "mine.txt").string());
    window.profileMenu(0, CVYSKDlg::kExport);
    EXPECT_EQ(proposedExport, QStringLiteral("Profile1.profile"));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.path() / "mine.txt.profile"));
}

TEST_F(MainWindow, ResolutionEventsSetTheActiveLevelOfTheCurrentRecord) {
    CVYSKDlg& window = open();
    FakePage& sensor = page(PageKind::SensorPerformance);
    window.deviceEvent(2, 3);
    EXPECT_EQ(window.profileSet().currentRecord().activeDpiLevel, 4);
    EXPECT_EQ(sensor.shownLevel, 4);

    window.deviceEvent(2, 7);
    EXPECT_EQ(window.profileSet().currentRecord().activeDpiLevel, 2);
    EXPECT_EQ(sensor.shownLevel, 4);

    for (int kind : {1, 3, 4, 5, 0x23, 0x24}) {
        window.deviceEvent(kind, 0);
    }
    EXPECT_EQ(window.profileSet().currentRecord().activeDpiLevel, 2);
}

TEST_F(MainWindow, APageBuiltLateShowsWhatHappenedBeforeAndLeavesTheRecordAlone) {
    CVYSKDlg& window = open();
    const auto sensorField = [&](std::size_t slot) {
        return window.profileSet().record(slot).liftOffDistance;
    };
    window.profileSet().record(3).liftOffDistance = 7;
    click(window.profileButton(3));
    window.deviceEvent(2, 2);
    EXPECT_EQ(fakePages[static_cast<std::size_t>(PageKind::SensorPerformance)], nullptr);
    EXPECT_EQ(fakePages[static_cast<std::size_t>(PageKind::ColorSettings)], nullptr);

    // Never opened: Apply writes the record as it was loaded.
    apply();
    EXPECT_EQ(sensorField(3), 7u);
    EXPECT_EQ(window.profileSet().currentRecord().activeDpiLevel, 3);

    click(window.pageButton(PageKind::SensorPerformance));
    FakePage& sensor = page(PageKind::SensorPerformance);
    EXPECT_TRUE(sensor.isVisible());
    EXPECT_EQ(sensor.value, 7u);
    EXPECT_EQ(sensor.loads, 1);

    // The Support page is built for its start, after the first reading, and
    // gets the version the mouse reported before it existed too.
    ASSERT_TRUE(QTest::qWaitFor([&] { return page(PageKind::Support).supportStarts == 1; }, 5000));
    EXPECT_EQ(page(PageKind::Support).firmwareText, QStringLiteral("1.05"));
}

// Started for the screen, the window is drawn before it reads the mouse; one
// never drawn still follows the mouse, a moment later.
TEST_F(MainWindow, AWindowStartedForTheScreenReadsTheMouseAfterItsFirstPicture) {
    window = std::make_unique<CVYSKDlg>(setup, services);
    std::optional<std::size_t> requestsWhenFirstDrawn;
    PaintWatch watch([&] {
        if (!requestsWhenFirstDrawn) {
            requestsWhenFirstDrawn =
                onMouse([](VirtualMouse& mouse) { return mouse.recentRequests().size(); });
        }
    });
    window->installEventFilter(&watch);
    QSignalSpy followed(window.get(), &CVYSKDlg::mouseFollowed);
    window->initialise(CVYSKDlg::ServiceStart::AfterFirstPaint);
    window->show();
    ASSERT_TRUE(followed.wait(5000));
    EXPECT_EQ(requestsWhenFirstDrawn, 0u);
    EXPECT_GT(onMouse([](VirtualMouse& mouse) { return mouse.recentRequests().size(); }), 0u);

    auto unseen = std::make_unique<CVYSKDlg>(setup, services);
    QSignalSpy unseenFollowed(unseen.get(), &CVYSKDlg::mouseFollowed);
    unseen->initialise(CVYSKDlg::ServiceStart::AfterFirstPaint);
    EXPECT_TRUE(unseenFollowed.wait(5000));
}

TEST_F(MainWindow, EscapeEnterAndTheCloseButtonNeverEndTheWindow) {
    CVYSKDlg& window = open();
    QTest::keyClick(&window, Qt::Key_Escape);
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_TRUE(window.isVisible());
    window.close();
    EXPECT_FALSE(window.isVisible());
    window.showMainWindow();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.shownPage(), PageKind::MouseSettings);
}

}  // namespace
}  // namespace orvane::test

namespace orvane::test {
namespace {

// The real Mouse Settings page inside the window: Apply sets the desktop's
// pointer settings from the record, and the page's macro menus follow the
// collection each time the page is shown.
class MainWindowWithMousePage : public testing::Test, public MainWindowHarness {
  protected:
    void SetUp() override {
        services.createPage = nullptr;  // the page factory's pages
        setup.pageServices.pointerSettings = &desktop;
    }
    CMouseSettingsDlg& mousePage() {
        return dynamic_cast<CMouseSettingsDlg&>(*window->page(PageKind::MouseSettings));
    }
    FakePointerSettings desktop;
};

TEST_F(MainWindowWithMousePage, ApplySetsTheDesktopFromTheCurrentRecord) {
    CVYSKDlg& window = open();
    QTest::mouseClick(mousePage().enableBox(), Qt::LeftButton);
    apply();
    EXPECT_EQ(desktop.doubleClickTime, 1600 - 800);
    EXPECT_EQ(desktop.pointerSpeed, 10);
    EXPECT_EQ(desktop.acceleration, accelerationValues(true, 1));
    EXPECT_EQ(window.profileSet().currentRecord().accelerationEnabled, 1u);
}

TEST_F(MainWindowWithMousePage, ShowingThePageBringsNewMacrosIntoItsMenus) {
    CVYSKDlg& window = open();
    window.macroCollection().addMacro(40, u"Burst");
    EXPECT_EQ(mousePage().functionButton(0)->menu()->findItem(40), nullptr);
    QTest::mouseClick(window.pageButton(PageKind::MacroSettings), Qt::LeftButton);
    QTest::mouseClick(window.pageButton(PageKind::MouseSettings), Qt::LeftButton);
    const MenuItem* item = mousePage().functionButton(0)->menu()->findItem(40);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text, QStringLiteral("Burst"));
}

}  // namespace
}  // namespace orvane::test
