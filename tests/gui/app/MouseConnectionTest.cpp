#include <gmock/gmock.h>

#include <QSignalSpy>
#include <chrono>
#include <thread>

#include "app/DeviceLibrary.h"
#include "app/MouseConnection.h"
#include "gui/app/MainWindowHarness.h"
#include "platform/FakeUpdateLock.h"
#include "protocol/image/DeviceImage.h"

namespace orvane::test {
namespace {

using emulator::VirtualMouse;

class Hotplug : public testing::Test, public MainWindowHarness {};

TEST_F(Hotplug, UnplugClosesTheLinkReplugOpensItAgainAndFollowsTheSlot) {
    CVYSKDlg& window = open();
    ASSERT_TRUE(link.connected());
    FakePage& support = page(PageKind::Support);

    onMouse([](VirtualMouse& m) { m.unplug(); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link.connected(); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return support.firmwareText == "-.--"; }, 5000));

    QSignalSpy followed(&window, &CVYSKDlg::mouseFollowed);
    onMouse([](VirtualMouse& m) { m.plug(); });
    ASSERT_TRUE(followed.wait(5000));
    EXPECT_TRUE(link.connected());
    EXPECT_NE(support.firmwareText, QStringLiteral("-.--"));
    EXPECT_THAT(clock.sleeps(), testing::Contains(std::chrono::milliseconds(900)));
}

TEST_F(Hotplug, TheSupportPageStartsOnceAfterTheFirstReadingAndMayEndTheApplication) {
    CVYSKDlg& window = open();
    FakePage& support = page(PageKind::Support);
    ASSERT_TRUE(QTest::qWaitFor([&] { return support.supportStarts == 1; }, 5000));
    EXPECT_EQ(support.firmwareText, QStringLiteral("1.05"));

    QSignalSpy exits(&window, &CVYSKDlg::exitRequested);
    support.declineUpdate = true;
    onMouse([](VirtualMouse& m) { m.unplug(); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link.connected(); }, 5000));
    QSignalSpy followed(&window, &CVYSKDlg::mouseFollowed);
    onMouse([](VirtualMouse& m) { m.plug(); });
    ASSERT_TRUE(followed.wait(5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(support.supportStarts, 1);  // once per start of the application
    EXPECT_TRUE(exits.isEmpty());
}

TEST_F(Hotplug, ADeclinedUpdateOfferEndsTheApplicationAsExitDoes) {
    declineUpdateOffer = true;
    CVYSKDlg& window = open();
    QSignalSpy exits(&window, &CVYSKDlg::exitRequested);
    EXPECT_TRUE(exits.wait(5000));
    EXPECT_EQ(exits.count(), 1);
}

TEST(MouseConnectionMatching, IgnoresOtherInterfacesAndArrivalsWhileConnected) {
    FakeClock clock;
    emulator::VirtualHidBus bus{clock};
    DeviceLink link{bus, clock};
    MouseConnection connection(link, bus, clock, nullptr);
    QSignalSpy followed(&connection, &MouseConnection::followed);

    connection.interfaceArrived(QStringLiteral("HID#VID_1209&PID_0001&MI_01#hidraw9"));
    EXPECT_FALSE(connection.reading());

    ASSERT_EQ(link.openDevice(), 1);
    connection.interfaceArrived(QStringLiteral("HID#VID_1209&PID_0001&MI_00#hidraw9"));
    EXPECT_FALSE(connection.reading());  // already connected: no wait, no open

    connection.interfaceRemoved(QStringLiteral("HID#VID_1209&PID_0002&MI_00#hidraw9"));
    EXPECT_TRUE(link.connected());
    connection.interfaceRemoved(QStringLiteral("HID#VID_1209&PID_0001&MI_00#hidraw9"));
    EXPECT_FALSE(link.connected());

    connection.interfaceArrived(QStringLiteral("HID#VID_1209&PID_0001&MI_00#hidraw9"));
    EXPECT_TRUE(connection.reading());
    ASSERT_TRUE(followed.wait(5000));
    EXPECT_EQ(followed.at(0).at(0).toBool(), true);
    EXPECT_TRUE(link.connected());
}

TEST(MouseConnectionMatching, AnArrivalDuringAReadingIsHandledWhenTheReadingEnds) {
    FakeClock clock;
    emulator::VirtualHidBus bus{clock};
    DeviceLink link{bus, clock};
    MouseConnection connection(link, bus, clock, nullptr);
    QSignalSpy followed(&connection, &MouseConnection::followed);
    const QString mouse = QStringLiteral("HID#VID_1209&PID_0001&MI_00#hidraw9");

    // The start-up reading; the mouse is pulled out and put back before its
    // outcome reaches this thread.
    connection.followMouse();
    // Not through the event loop, which would deliver the reading's end.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!link.connected() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    ASSERT_TRUE(link.connected());
    bus.withMouse([](emulator::VirtualMouse& m) { m.unplug(); });
    connection.interfaceRemoved(mouse);
    EXPECT_FALSE(link.connected());
    bus.withMouse([](emulator::VirtualMouse& m) { m.plug(); });
    connection.interfaceArrived(mouse);
    ASSERT_TRUE(connection.reading());

    ASSERT_TRUE(QTest::qWaitFor([&] { return followed.count() == 2; }, 5000));
    EXPECT_TRUE(link.connected());
    EXPECT_EQ(followed.at(1).at(0).toBool(), true);
    EXPECT_THAT(clock.sleeps(), testing::Contains(std::chrono::milliseconds(900)));
}

TEST(MouseConnectionUpdate, LeavesTheMouseAloneWhileAnUpdateHoldsItThenReadsItAfresh) {
    FakeClock clock;
    emulator::VirtualHidBus bus{clock};
    DeviceLink link{bus, clock};
    FakeUpdateLock lock;
    link.setAccessGate([&lock] { return !lock.elsewhere; });
    MouseConnection connection(link, bus, clock, nullptr);
    connection.setUpdateLock(&lock);
    QSignalSpy versions(&connection, &MouseConnection::firmwareVersionChanged);
    QSignalSpy followed(&connection, &MouseConnection::followed);
    const QString mouse = QStringLiteral("HID#VID_1209&PID_0001&MI_00#hidraw9");
    ASSERT_EQ(link.openDevice(), 1);

    // The update program switches the mouse to its boot loader and back.
    lock.elsewhere = true;
    connection.interfaceRemoved(mouse);
    EXPECT_FALSE(link.connected());
    EXPECT_TRUE(connection.waitingForUpdate());
    ASSERT_EQ(versions.size(), 1);
    EXPECT_EQ(versions.at(0).at(0).toString(), QStringLiteral("-.--"));
    connection.interfaceArrived(mouse);
    EXPECT_FALSE(connection.reading());
    EXPECT_EQ(link.openDevice(), 0);  // nothing of ours reaches the mouse

    lock.elsewhere = false;
    ASSERT_TRUE(followed.wait(5000));
    EXPECT_TRUE(followed.at(0).at(0).toBool());
    EXPECT_FALSE(connection.waitingForUpdate());
    EXPECT_EQ(versions.last().at(0).toString(), QStringLiteral("1.05"));
}

}  // namespace
}  // namespace orvane::test

namespace orvane::test {
namespace {

TEST(DeviceLibraryLoading, FindsTheLibraryBesideTheProgramWithBothEntryPoints) {
    DeviceLibrary library;
    EXPECT_TRUE(library.isLoaded()) << library.loadError().toStdString();
}

TEST(DeviceLibraryLoading, AMissingLibraryIsReportedOnceAndTheWindowStillWorks) {
    DeviceLibrary missing(nullptr, QStringLiteral("Orvane_no_such_library"));
    EXPECT_FALSE(missing.isLoaded());
    EXPECT_TRUE(missing.loadError().contains(QStringLiteral("Orvane_no_such_library")));
    missing.startCapture();  // nothing to call: nothing happens
    missing.closeDevice();

    MainWindowHarness harness;
    harness.setup.library = &missing;
    CVYSKDlg& window = harness.open();
    ASSERT_EQ(harness.messages.size(), 1);
    EXPECT_TRUE(harness.messages[0].contains(QStringLiteral("Orvane_no_such_library")));
    harness.apply();
    EXPECT_EQ(harness.onMouse([](emulator::VirtualMouse& m) { return m.slotImage(0); }),
              buildDeviceImage(window.profileSet().record(0)).bytes);
}

}  // namespace
}  // namespace orvane::test
