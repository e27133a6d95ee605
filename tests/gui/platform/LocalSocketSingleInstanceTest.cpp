#include "platform/qt/LocalSocketSingleInstance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRandomGenerator>
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "support/TempDir.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

// A name no running application and no other test uses.
QString uniqueName() {
    return QStringLiteral("orvane-test-instance-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(QRandomGenerator::global()->generate64());
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name(name) {
        if (const char* old = std::getenv(name)) {
            previous = old;
        }
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    }
    ~ScopedEnvironment() { previous ? ::setenv(name, previous->c_str(), 1) : ::unsetenv(name); }

  private:
    const char* name;
    std::optional<std::string> previous;
};

// Each test gets a runtime folder of its own, as a login session has.
class SingleInstanceTest : public testing::Test {
  protected:
    SingleInstanceTest() { ::chmod(runtime.path().c_str(), 0700); }

    test::TempDir runtime;
    ScopedEnvironment runtimeVariable{"XDG_RUNTIME_DIR", runtime.path().string()};
    const QString name = uniqueName();
};

// A listener run by the user "nobody", the way another local user could plant
// one: bound in a folder open to all, then moved to `path`. Answers every
// connection and says nothing. Ends with the object.
class ForeignListener {
  public:
    static constexpr uid_t kNobody = 65534;

    explicit ForeignListener(const fs::path& path) : target(path) {
        ::chmod(shared.path().c_str(), 01777);
        const fs::path bound = shared.path() / "planted";
        child = ::fork();
        if (child == 0) {
            serve(bound);
        }
        for (int i = 0; i < 200 && !fs::exists(bound); ++i) {
            QTest::qWait(10);
        }
        std::error_code error;
        fs::rename(bound, target, error);
        planted = !error;
    }
    ~ForeignListener() {
        if (child > 0) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
        if (planted) {
            std::error_code error;
            fs::remove(target, error);
        }
    }
    bool isPlanted() const { return planted; }

  private:
    // Plain system calls only: this runs in the forked copy of a threaded
    // process.
    [[noreturn]] static void serve(const fs::path& at) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            ::_exit(1);
        }
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, at.c_str(), sizeof address.sun_path - 1);
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(fd, 8) != 0) {
            ::_exit(1);
        }
        for (;;) {
            const int peer = ::accept(fd, nullptr, nullptr);
            (void)peer;  // kept open: the caller sees someone who answers
        }
    }

    fs::path target;
    test::TempDir shared;
    pid_t child = -1;
    bool planted = false;
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
    LocalSocketSingleInstance instance(name);
    QFile leftover(instance.serverPath());
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();

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
    chatty.connectToServer(primary.serverPath());
    ASSERT_TRUE(chatty.waitForConnected(1000));
    chatty.write("hello\nshowme\nSHOW\n");
    chatty.write(QByteArray(4096, 's'));
    chatty.flush();
    QLocalSocket silent;
    silent.connectToServer(primary.serverPath());
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

TEST_F(SingleInstanceTest, LivesInTheSessionsRuntimeFolderNotTheSharedTemporaryOne) {
    // Someone answering under the name in the shared folder is nobody's copy
    // of ours: it used to keep the program from starting at all.
    QLocalServer squatter;
    ASSERT_TRUE(squatter.listen(QDir::temp().filePath(name)));

    LocalSocketSingleInstance instance(name);
    EXPECT_EQ(instance.serverPath(),
              QString::fromStdString((runtime.path() / name.toStdString()).string()));
    EXPECT_TRUE(instance.tryBecomePrimary());
    EXPECT_TRUE(instance.isListening());
}

TEST_F(SingleInstanceTest, WithoutARuntimeFolderMakesAPrivateOneOfItsOwn) {
    test::TempDir shared;
    ::chmod(shared.path().c_str(), 01777);
    const ScopedEnvironment noRuntime("XDG_RUNTIME_DIR", std::nullopt);
    const ScopedEnvironment temporary("TMPDIR", shared.path().string());

    LocalSocketSingleInstance instance(name);
    const fs::path folder = shared.path() / ("orvane-" + std::to_string(::geteuid()));
    EXPECT_EQ(instance.serverPath(),
              QString::fromStdString((folder / name.toStdString()).string()));
    struct stat status {};
    ASSERT_EQ(::lstat(folder.c_str(), &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_TRUE(instance.tryBecomePrimary());

    // A runtime folder others may enter is no better than the shared one.
    test::TempDir open;
    ::chmod(open.path().c_str(), 0777);
    const ScopedEnvironment openRuntime("XDG_RUNTIME_DIR", open.path().string());
    LocalSocketSingleInstance second(name);
    EXPECT_TRUE(second.serverPath().startsWith(QString::fromStdString(folder.string())));
}

// Another user's listener, wherever it was put, is never taken for the
// running copy. Only root can play the other user.
class SingleInstanceAgainstAnotherUser : public SingleInstanceTest {
  protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "needs root to run a listener as another user";
        }
    }
};

TEST_F(SingleInstanceAgainstAnotherUser, TheirListenerOnTheOldOrTheNewPathDoesNotStopTheStart) {
    ForeignListener old(QDir::temp().filePath(name).toStdString());
    ASSERT_TRUE(old.isPlanted());
    LocalSocketSingleInstance instance(name);
    ForeignListener planted(instance.serverPath().toStdString());
    ASSERT_TRUE(planted.isPlanted());
    QLocalSocket probe;
    probe.connectToServer(instance.serverPath());
    ASSERT_TRUE(probe.waitForConnected(1000));  // it does answer
    probe.abort();

    EXPECT_TRUE(instance.tryBecomePrimary());
    EXPECT_TRUE(instance.isListening());
    LocalSocketSingleInstance second(name);
    EXPECT_FALSE(second.tryBecomePrimary());  // and the copy that took over is found
}

TEST_F(SingleInstanceAgainstAnotherUser, AFolderOfTheNameOwnedBySomeoneElseIsNotUsed) {
    test::TempDir shared;
    ::chmod(shared.path().c_str(), 01777);
    const ScopedEnvironment noRuntime("XDG_RUNTIME_DIR", std::nullopt);
    const ScopedEnvironment temporary("TMPDIR", shared.path().string());
    const fs::path folder = shared.path() / ("orvane-" + std::to_string(::geteuid()));
    ASSERT_TRUE(fs::create_directory(folder));
    ASSERT_EQ(::chown(folder.c_str(), ForeignListener::kNobody, ForeignListener::kNobody), 0);

    LocalSocketSingleInstance instance(name);
    EXPECT_TRUE(instance.serverPath().isEmpty());
    EXPECT_TRUE(instance.tryBecomePrimary());  // runs, without the one-copy rule
    EXPECT_FALSE(instance.isListening());
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
