#include "platform/linux/kde/KdePointerSettings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTest>
#include <cstdlib>

#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace orvane {

// Notes the change notices a Plasma session would hear.
class NoticeListener : public QObject {
    Q_OBJECT

  public:
    std::vector<std::pair<int, int>> heard;

  public slots:
    void notifyChange(int type, int category) { heard.emplace_back(type, category); }
};

namespace {

constexpr const char* kDbusDaemon = "/usr/bin/dbus-daemon";

TEST(KdePointerSettingsNotice, EachChangeTellsTheSessionThatMouseSettingsChanged) {
    if (::access(kDbusDaemon, X_OK) != 0) {
        GTEST_SKIP() << "dbus-daemon is needed";
    }
    // A private session bus; Qt reads its address at the first use.
    test::Program daemon({kDbusDaemon, "--session", "--nofork", "--print-address=1"});
    ASSERT_TRUE(daemon.outputShows("\n")) << daemon.err;
    const std::string address = daemon.out.substr(0, daemon.out.find('\n'));
    ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);

    QDBusConnection bus =
        QDBusConnection::connectToBus(QString::fromStdString(address), "listener");
    NoticeListener listener;
    ASSERT_TRUE(bus.connect({}, "/KGlobalSettings", "org.kde.KGlobalSettings", "notifyChange",
                            &listener, SLOT(notifyChange(int, int))));
    // Answered only after the bus has taken the subscription.
    bus.interface()->isServiceRegistered("org.freedesktop.DBus");

    const test::TempDir config;
    KdePointerSettings settings(config.path());
    ASSERT_TRUE(settings.setDoubleClickTime(600));
    ASSERT_TRUE(settings.setAcceleration({6, 0, 1}));
    // The notices are checked below, whether or not they came in time.
    static_cast<void>(QTest::qWaitFor([&] { return listener.heard.size() >= 2; }, 10000));
    EXPECT_EQ(listener.heard, (std::vector<std::pair<int, int>>{{3, 0}, {3, 0}}));
    QDBusConnection::disconnectFromBus("listener");
}

}  // namespace
}  // namespace orvane

#include "KdeNoticeTest.moc"
