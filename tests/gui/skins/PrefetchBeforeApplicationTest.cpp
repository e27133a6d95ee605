// The first window's backgrounds are read on threads of their own, started
// before the application object exists. Whatever those threads do, the
// program's main thread must stay the one that makes the application: Qt
// hands input and application-wide event filters only to objects of its main
// thread, and a window of another thread's would get no click at all.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <chrono>
#include <thread>

#include "skins/SkinCache.h"
#include "support/TempDir.h"

namespace orvane {
namespace {

class UserEventCounter : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::User) {
            ++seen;
        }
        return false;
    }
    int seen = 0;
};

// Opens the pipe's writing end once its reader is there (a reader thread
// then has its Qt file object), or gives up after a few seconds.
int writerOnceRead(const std::filesystem::path& pipe) {
    for (int attempt = 0; attempt < 500; ++attempt) {
        const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            return fd;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
}

// Nothing here touches Qt before the prefetch, as at the program's start.
// The two backgrounds are pipes, so that the readers are sure to be inside
// Qt, and still alive, while the application object is made.
TEST(PrefetchBeforeApplication, LeavesTheMainThreadToTheApplication) {
    test::TempDir folder;
    const auto names = skinSheetFileNames();
    std::vector<std::filesystem::path> pipes;
    for (const char* name : {"Main_Normal.bmp", "Mouse_Settings_Normal.bmp"}) {
        ASSERT_NE(std::find_if(names.begin(), names.end(),
                               [&](const char* known) { return std::string(known) == name; }),
                  names.end());
        pipes.push_back(folder.path() / name);
        ASSERT_EQ(::mkfifo(pipes.back().c_str(), 0600), 0);
    }
    prefetchMainWindowSheets(QString::fromStdString(folder.path().string()));
    std::vector<int> writers;
    for (const auto& pipe : pipes) {
        writers.push_back(writerOnceRead(pipe));
        ASSERT_GE(writers.back(), 0) << pipe << " was never opened";
    }

    int argc = 1;
    char name[] = "prefetch_test";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    // The readers meet the end of their files, finish and are waited for.
    for (const int fd : writers) {
        ::close(fd);
    }
    forgetPrefetchedSheets();

    UserEventCounter counter;
    application.installEventFilter(&counter);
    QObject receiver;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&receiver, &event);
    EXPECT_EQ(counter.seen, 1);
}

}  // namespace
}  // namespace orvane
