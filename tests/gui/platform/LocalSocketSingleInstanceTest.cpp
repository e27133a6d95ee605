#include "platform/qt/LocalSocketSingleInstance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QRandomGenerator>
#include <QTest>

namespace orvane {
namespace {

// A name no running application and no other test uses.
QString uniqueName() {
    return QStringLiteral("orvane-test-instance-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(QRandomGenerator::global()->generate64());
}

class SingleInstanceTest : public testing::Test {
  protected:
    void TearDown() override {
        QFile::remove(QDir::temp().filePath(name));
        QFile::remove(QDir::temp().filePath(name + QStringLiteral(".lock")));
    }

    const QString name = uniqueName();
};

TEST_F(SingleInstanceTest, SecondCopyAsksTheFirstToShowAndStepsBack) {
    LocalSocketSingleInstance first(name);
    int shows = 0;
    first.setOnShowRequested([&] { ++shows; });
    ASSERT_TRUE(first.tryBecomePrimary());
    EXPECT_TRUE(first.isListening());

    LocalSocketSingleInstance second(name);
    EXPECT_FALSE(second.tryBecomePrimary());
    EXPECT_FALSE(second.isListening());

    EXPECT_TRUE(QTest::qWaitFor([&] { return shows == 1; }, 2000));
    QTest::qWait(50);
    EXPECT_EQ(shows, 1);
    EXPECT_TRUE(first.tryBecomePrimary());  // still the one copy
}

TEST_F(SingleInstanceTest, WhatACrashedCopyLeftBehindDoesNotBlockTheNextStart) {
    QFile leftover(QDir::temp().filePath(name));
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    LocalSocketSingleInstance instance(name);
    EXPECT_TRUE(instance.tryBecomePrimary());
    EXPECT_TRUE(instance.isListening());

    LocalSocketSingleInstance later(name);
    EXPECT_FALSE(later.tryBecomePrimary());
}

TEST_F(SingleInstanceTest, ANameFreedByAnEndedCopyCanBeTakenAgain) {
    {
        LocalSocketSingleInstance ended(name);
        ASSERT_TRUE(ended.tryBecomePrimary());
    }
    LocalSocketSingleInstance next(name);
    EXPECT_TRUE(next.tryBecomePrimary());
}

TEST_F(SingleInstanceTest, PeersThatSendSomethingElseAreIgnored) {
    LocalSocketSingleInstance primary(name);
    int shows = 0;
    primary.setOnShowRequested([&] { ++shows; });
    ASSERT_TRUE(primary.tryBecomePrimary());

    QLocalSocket chatty;
    chatty.connectToServer(name);
    ASSERT_TRUE(chatty.waitForConnected(1000));
    chatty.write("hello\nshowme\nSHOW\n");
    chatty.write(QByteArray(4096, 's'));
    chatty.flush();
    QLocalSocket silent;
    silent.connectToServer(name);
    ASSERT_TRUE(silent.waitForConnected(1000));

    // The flood gets its sender dropped; the server keeps serving.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return chatty.state() == QLocalSocket::UnconnectedState; }, 2000));
    EXPECT_EQ(shows, 0);

    LocalSocketSingleInstance second(name);
    EXPECT_FALSE(second.tryBecomePrimary());
    EXPECT_TRUE(QTest::qWaitFor([&] { return shows == 1; }, 2000));
}

TEST_F(SingleInstanceTest, ShowRequestBeforeTheWindowIsReadyIsDeliveredOnceItIs) {
    LocalSocketSingleInstance primary(name);
    ASSERT_TRUE(primary.tryBecomePrimary());
    LocalSocketSingleInstance second(name);
    EXPECT_FALSE(second.tryBecomePrimary());
    QTest::qWait(50);  // the request arrives while nobody listens

    int shows = 0;
    primary.setOnShowRequested([&] { ++shows; });
    EXPECT_EQ(shows, 0);  // not from inside the setter
    EXPECT_TRUE(QTest::qWaitFor([&] { return shows == 1; }, 1000));
}

TEST(LocalSocketSingleInstance, DefaultNameIsPerUser) {
    const QString name = LocalSocketSingleInstance::defaultServerName();
    EXPECT_TRUE(name.startsWith(QStringLiteral("ORVANE7000 Config-")));
    bool numeric = false;
    name.mid(18).toULongLong(&numeric);
    EXPECT_TRUE(numeric) << name.toStdString();
}

}  // namespace
}  // namespace orvane
