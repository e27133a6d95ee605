#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "platform/KeyboardHook.h"
#include "support/ChildProcess.h"
#include "support/PrivateXServer.h"

// After GoogleTest: Xlib defines None and Bool as macros.
#include <X11/Xlib.h>

namespace orvane {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kXdotool = "/usr/bin/xdotool";

// Stands for the UI thread: work posted by the hook's thread waits here until
// the test thread runs it.
class UiQueue {
  public:
    KeyboardHook::Post post() {
        return [this](std::function<void()> work) {
            {
                std::lock_guard lock(mutex);
                queue.push_back(std::move(work));
            }
            arrived.notify_one();
        };
    }

    // Runs posted work until `done` holds or the patience runs out.
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds patience = 5000ms) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        while (!done()) {
            std::unique_lock lock(mutex);
            if (!arrived.wait_until(lock, deadline, [&] { return !queue.empty(); })) {
                return done();
            }
            auto work = std::move(queue.front());
            queue.pop_front();
            lock.unlock();
            work();
        }
        return true;
    }

    // Runs what is queued after a short quiet spell, for checking that
    // nothing more arrives.
    void drain(std::chrono::milliseconds quiet = 200ms) {
        runUntil([] { return false; }, quiet);
    }

  private:
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<std::function<void()>> queue;
};

}  // namespace

void PrintTo(const KeyEvent& event, std::ostream* out) {
    *out << (event.released ? "release " : "press ") << event.virtualKey;
}

namespace {

KeyboardHook::Callback into(std::vector<KeyEvent>& heard) {
    return [&heard](const KeyEvent& event) { heard.push_back(event); };
}

// A private X server for each test; the hook under test must be gone before
// it is, so each test declares its server first.
class X11KeyboardHookTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::access(test::kXvfbProgram, X_OK) != 0 || ::access(kXdotool, X_OK) != 0) {
            GTEST_SKIP() << "Xvfb and xdotool are needed";
        }
        std::string error;
        server = test::startPrivateXServer(display, error);
        ASSERT_NE(server, nullptr) << error;
        ::setenv("DISPLAY", display.c_str(), 1);
        hook = createKeyboardHook(ui.post());
        ASSERT_TRUE(hook->available()) << hook->startError();
    }

    void TearDown() override { hook.reset(); }

    void sendKeys(const std::string& keys) {
        test::Program xdotool({kXdotool, "key", "--clearmodifiers", keys});
        ASSERT_TRUE(xdotool.started());
        ASSERT_EQ(xdotool.exitStatus(), 0) << xdotool.err;
    }

    std::unique_ptr<test::Program> server;
    std::string display;
    UiQueue ui;
    std::unique_ptr<KeyboardHook> hook;
};

TEST_F(X11KeyboardHookTest, EnterIsPressedAndReleasedAndTimedWhenHeard) {
    std::vector<KeyEvent> heard;
    const KeyboardSubscription subscription = hook->subscribe(into(heard));
    ASSERT_TRUE(subscription.active()) << hook->startError();

    const Clock::TimePoint sent = systemClock().now();
    sendKeys("Return");

    ASSERT_TRUE(ui.runUntil([&] { return heard.size() >= 2; }));
    EXPECT_THAT(heard, ElementsAre(KeyEvent{13, false}, KeyEvent{13, true}));
    // Stamped on the system clock by the listening thread.
    for (const KeyEvent& key : heard) {
        EXPECT_GE(key.heard, sent);
    }
}

TEST_F(X11KeyboardHookTest, ShiftedLetterReportsLeftShiftThenTheLetter) {
    std::vector<KeyEvent> heard;
    const KeyboardSubscription subscription = hook->subscribe(into(heard));
    ASSERT_TRUE(subscription.active()) << hook->startError();

    sendKeys("shift+a");

    // xdotool lets go of Shift before the letter, and twice; only the
    // presses come in a fixed order.
    const auto releasedBoth = [&] {
        return std::count(heard.begin(), heard.end(), KeyEvent{65, true}) > 0 &&
               std::count(heard.begin(), heard.end(), KeyEvent{160, true}) > 0;
    };
    ASSERT_TRUE(ui.runUntil(releasedBoth));
    std::vector<KeyEvent> presses;
    std::copy_if(heard.begin(), heard.end(), std::back_inserter(presses),
                 [](const KeyEvent& event) { return !event.released; });
    EXPECT_THAT(presses, ElementsAre(KeyEvent{160, false}, KeyEvent{65, false}));
}

TEST_F(X11KeyboardHookTest, ClosingOneSubscriptionLeavesTheOtherHearing) {
    std::vector<KeyEvent> recorder;
    std::vector<KeyEvent> popUp;
    const KeyboardSubscription recording = hook->subscribe(into(recorder));
    auto capture = hook->subscribe(into(popUp));
    ASSERT_TRUE(capture.active()) << hook->startError();

    sendKeys("Escape");
    ASSERT_TRUE(ui.runUntil([&] { return recorder.size() >= 2 && popUp.size() >= 2; }));
    capture.reset();
    sendKeys("Tab");
    ASSERT_TRUE(ui.runUntil([&] { return recorder.size() >= 4; }));
    ui.drain();

    EXPECT_THAT(recorder, ElementsAre(KeyEvent{27, false}, KeyEvent{27, true}, KeyEvent{9, false},
                                      KeyEvent{9, true}));
    EXPECT_THAT(popUp, ElementsAre(KeyEvent{27, false}, KeyEvent{27, true}));
}

TEST_F(X11KeyboardHookTest, ListensAgainAfterTheLastSubscriptionEnded) {
    std::vector<KeyEvent> first;
    hook->subscribe(into(first)).reset();
    sendKeys("Return");
    ui.drain();
    EXPECT_THAT(first, IsEmpty());

    std::vector<KeyEvent> second;
    const KeyboardSubscription subscription = hook->subscribe(into(second));
    ASSERT_TRUE(subscription.active()) << hook->startError();
    sendKeys("space");
    ASSERT_TRUE(ui.runUntil([&] { return second.size() >= 2; }));
    EXPECT_THAT(second, ElementsAre(KeyEvent{32, false}, KeyEvent{32, true}));
}

TEST_F(X11KeyboardHookTest, ServerGoingAwayEndsListeningWithoutEndingTheProgram) {
    std::vector<KeyEvent> heard;
    bool lost = false;
    auto subscription = hook->subscribe(into(heard), [&lost] { lost = true; });
    ASSERT_TRUE(subscription.active()) << hook->startError();
    sendKeys("Return");
    ASSERT_TRUE(ui.runUntil([&] { return heard.size() >= 2; }));
    EXPECT_FALSE(lost);

    // The subscriber hears of it, so that a recording can end visibly.
    server.reset();
    EXPECT_TRUE(ui.runUntil([&] { return lost; }));
    EXPECT_FALSE(hook->available());
    subscription.reset();

    EXPECT_FALSE(hook->subscribe(into(heard)).active());
    EXPECT_THAT(hook->startError(), ::testing::HasSubstr(display));
}

// A client of its own with a window that has the keyboard focus, as another
// application would.
class FocusedWindow {
  public:
    explicit FocusedWindow(const std::string& display) : connection(XOpenDisplay(display.c_str())) {
        if (connection == nullptr) {
            return;
        }
        window = XCreateSimpleWindow(connection, DefaultRootWindow(connection), 10, 10, 100, 60, 0,
                                     0, 0);
        XSelectInput(connection, window, KeyPressMask | KeyReleaseMask | StructureNotifyMask);
        XMapWindow(connection, window);
        XEvent event;
        do {
            XNextEvent(connection, &event);
        } while (event.type != MapNotify);
        XSetInputFocus(connection, window, RevertToParent, CurrentTime);
        XSync(connection, False);
    }
    ~FocusedWindow() {
        if (connection != nullptr) {
            XCloseDisplay(connection);
        }
    }
    FocusedWindow(const FocusedWindow&) = delete;
    FocusedWindow& operator=(const FocusedWindow&) = delete;

    bool open() const { return connection != nullptr; }
    bool hasFocus() const {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(connection, &focus, &revert);
        return focus == window;
    }
    // Key presses the window itself received, waiting a little for them.
    int keyPressesReceived() {
        int presses = 0;
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        while (std::chrono::steady_clock::now() < deadline) {
            while (XPending(connection) > 0) {
                XEvent event;
                XNextEvent(connection, &event);
                presses += event.type == KeyPress ? 1 : 0;
            }
            if (presses > 0) {
                break;
            }
            std::this_thread::sleep_for(20ms);
        }
        return presses;
    }

  private:
    Display* connection;
    Window window = 0;
};

TEST_F(X11KeyboardHookTest, KeysTypedIntoAnotherApplicationAreHeardAndStillReachIt) {
    FocusedWindow other(display);
    ASSERT_TRUE(other.open());
    ASSERT_TRUE(other.hasFocus());
    std::vector<KeyEvent> heard;
    const KeyboardSubscription subscription = hook->subscribe(into(heard));
    ASSERT_TRUE(subscription.active()) << hook->startError();

    sendKeys("b");

    ASSERT_TRUE(ui.runUntil([&] { return heard.size() >= 2; }));
    EXPECT_THAT(heard, ElementsAre(KeyEvent{66, false}, KeyEvent{66, true}));
    EXPECT_EQ(other.keyPressesReceived(), 1);
}

TEST(X11KeyboardHookFactory, WithoutDisplaySaysWhyKeysCannotBeCaptured) {
    const char* saved = std::getenv("DISPLAY");
    const std::string previous = saved != nullptr ? saved : "";
    ::unsetenv("DISPLAY");
    auto hook = createKeyboardHook([](std::function<void()> work) { work(); });
    if (saved != nullptr) {
        ::setenv("DISPLAY", previous.c_str(), 1);
    }

    EXPECT_FALSE(hook->available());
    EXPECT_EQ(hook->startError(),
              "no X11 display: global key capture needs an X11 or XWayland session");
    EXPECT_FALSE(hook->subscribe([](const KeyEvent&) {}).active());
}

}  // namespace
}  // namespace orvane
