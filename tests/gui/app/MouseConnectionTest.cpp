#include <gmock/gmock.h>

#include <QSignalSpy>

#include "app/MouseConnection.h"
#include "gui/app/MainWindowHarness.h"

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

}  // namespace
}  // namespace orvane::test
