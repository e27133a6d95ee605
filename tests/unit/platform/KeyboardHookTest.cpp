#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/FakeKeyboardHook.h"

namespace orvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Stands for the UI thread's event queue: posted work waits until run().
class WorkQueue {
  public:
    KeyboardHook::Post post() {
        return [this](std::function<void()> work) {
            std::lock_guard lock(mutex);
            queue.push_back(std::move(work));
        };
    }
    void run() {
        for (;;) {
            std::function<void()> work;
            {
                std::lock_guard lock(mutex);
                if (queue.empty()) {
                    return;
                }
                work = std::move(queue.front());
                queue.pop_front();
            }
            work();
        }
    }
    std::size_t size() {
        std::lock_guard lock(mutex);
        return queue.size();
    }

  private:
    std::mutex mutex;
    std::deque<std::function<void()>> queue;
};

KeyboardHook::Callback into(std::vector<KeyEvent>& heard) {
    return [&heard](const KeyEvent& event) { heard.push_back(event); };
}

TEST(KeyboardHook, EverySubscriberHearsEveryKey) {
    FakeKeyboardHook hook;
    std::vector<KeyEvent> recorder;
    std::vector<KeyEvent> popUp;
    const KeyboardSubscription first = hook.subscribe(into(recorder));
    const KeyboardSubscription second = hook.subscribe(into(popUp));

    hook.press(13);
    hook.release(13);

    EXPECT_THAT(recorder, ElementsAre(KeyEvent{13, false}, KeyEvent{13, true}));
    EXPECT_THAT(popUp, ElementsAre(KeyEvent{13, false}, KeyEvent{13, true}));
    EXPECT_EQ(hook.subscriptionCount(), 2U);
}

TEST(KeyboardHook, EndingOneSubscriptionLeavesTheOtherListening) {
    FakeKeyboardHook hook;
    std::vector<KeyEvent> recorder;
    std::vector<KeyEvent> popUp;
    const KeyboardSubscription recording = hook.subscribe(into(recorder));
    {
        const KeyboardSubscription capture = hook.subscribe(into(popUp));
        hook.press(65);
    }
    hook.press(66);

    EXPECT_THAT(recorder, ElementsAre(KeyEvent{65, false}, KeyEvent{66, false}));
    EXPECT_THAT(popUp, ElementsAre(KeyEvent{65, false}));
    EXPECT_TRUE(hook.isListening());
    EXPECT_EQ(hook.stops(), 0);
}

TEST(KeyboardHook, BackendRunsFromFirstSubscriptionToLast) {
    FakeKeyboardHook hook;
    EXPECT_FALSE(hook.isListening());

    auto first = hook.subscribe([](const KeyEvent&) {});
    EXPECT_TRUE(hook.isListening());
    auto second = hook.subscribe([](const KeyEvent&) {});
    first.reset();
    EXPECT_TRUE(hook.isListening());
    second.reset();
    EXPECT_FALSE(hook.isListening());

    const KeyboardSubscription again = hook.subscribe([](const KeyEvent&) {});
    EXPECT_TRUE(hook.isListening());
    EXPECT_EQ(hook.starts(), 2);
    EXPECT_EQ(hook.stops(), 1);
}

TEST(KeyboardHook, KeyQueuedBeforeUnsubscribingNeverReachesTheEndedSubscriber) {
    WorkQueue ui;
    FakeKeyboardHook hook(ui.post());
    std::vector<KeyEvent> ended;
    std::vector<KeyEvent> staying;
    auto leaving = hook.subscribe(into(ended));
    const KeyboardSubscription stays = hook.subscribe(into(staying));

    hook.press(27);
    ASSERT_EQ(ui.size(), 1U);
    leaving.reset();
    ui.run();

    EXPECT_THAT(ended, IsEmpty());
    EXPECT_THAT(staying, ElementsAre(KeyEvent{27, false}));
}

TEST(KeyboardHook, SubscriberEndingItselfInItsCallbackHearsNothingMore) {
    FakeKeyboardHook hook;
    std::vector<KeyEvent> heard;
    KeyboardSubscription once;
    once = hook.subscribe([&](const KeyEvent& event) {
        heard.push_back(event);
        once.reset();
    });

    hook.press(65);
    hook.press(66);

    EXPECT_THAT(heard, ElementsAre(KeyEvent{65, false}));
    EXPECT_FALSE(hook.isListening());
}

TEST(KeyboardHook, SubscriberEndedByAnotherInTheSameKeyIsSkipped) {
    FakeKeyboardHook hook;
    std::vector<KeyEvent> heard;
    KeyboardSubscription second;
    const KeyboardSubscription first = hook.subscribe([&](const KeyEvent&) { second.reset(); });
    second = hook.subscribe(into(heard));

    hook.press(65);

    EXPECT_THAT(heard, IsEmpty());
}

TEST(KeyboardHook, HookThatCannotStartRefusesTheSubscription) {
    FakeKeyboardHook hook;
    hook.failToStart("no X11 display");
    bool called = false;

    const KeyboardSubscription subscription =
        hook.subscribe([&](const KeyEvent&) { called = true; });
    hook.press(65);

    EXPECT_FALSE(subscription.active());
    EXPECT_FALSE(hook.available());
    EXPECT_EQ(hook.startError(), "no X11 display");
    EXPECT_EQ(hook.subscriptionCount(), 0U);
    EXPECT_FALSE(called);
}

TEST(KeyboardHook, MovedSubscriptionKeepsListeningAndEndsOnce) {
    FakeKeyboardHook hook;
    std::vector<KeyEvent> heard;
    auto original = hook.subscribe(into(heard));
    KeyboardSubscription moved = std::move(original);
    EXPECT_FALSE(original.active());  // NOLINT(bugprone-use-after-move)
    original.reset();

    hook.press(65);
    EXPECT_THAT(heard, ElementsAre(KeyEvent{65, false}));
    EXPECT_TRUE(hook.isListening());

    moved = KeyboardSubscription();
    EXPECT_FALSE(hook.isListening());
    EXPECT_EQ(hook.stops(), 1);
}

TEST(KeyboardHook, SubscriptionOutlivingTheHookEndsQuietly) {
    WorkQueue ui;
    std::vector<KeyEvent> heard;
    KeyboardSubscription subscription;
    {
        FakeKeyboardHook hook(ui.post());
        subscription = hook.subscribe(into(heard));
        hook.press(65);
    }
    ui.run();
    subscription.reset();

    EXPECT_THAT(heard, ElementsAre(KeyEvent{65, false}));
}

// Keys arrive from the backend's thread while the UI thread subscribes and
// lets go; whatever the interleaving, an ended subscription hears nothing.
TEST(KeyboardHook, KeysFromAnotherThreadNeverReachAnEndedSubscription) {
    WorkQueue ui;
    FakeKeyboardHook hook(ui.post());
    std::atomic<bool> done{false};
    std::thread backend([&] {
        while (!done) {
            hook.press(65);
        }
    });

    int lateCalls = 0;
    int heard = 0;
    for (int round = 0; round < 200; ++round) {
        auto ended = std::make_shared<bool>(false);
        auto subscription = hook.subscribe([&heard, &lateCalls, ended](const KeyEvent&) {
            ++heard;
            lateCalls += *ended ? 1 : 0;
        });
        ui.run();
        subscription.reset();
        *ended = true;
        ui.run();
    }
    done = true;
    backend.join();
    ui.run();

    EXPECT_EQ(lateCalls, 0);
    EXPECT_EQ(hook.subscriptionCount(), 0U);
    EXPECT_EQ(hook.starts(), 200);
    EXPECT_EQ(hook.stops(), 200);
}

}  // namespace
}  // namespace orvane
