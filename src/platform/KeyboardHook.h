#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "platform/Clock.h"

namespace orvane {

// One key going down or up anywhere on the desktop, in the virtual-key
// numbering of the key tables (left and right modifiers apart). A key held
// down may repeat as further presses.
struct KeyEvent {
    int virtualKey = 0;
    bool released = false;
    // When the backend heard the key, on the system clock's line; left at
    // the epoch by a backend that cannot tell. Keys reach their subscribers
    // through the UI thread's queue, which a busy moment can hold up, so
    // whoever times keys uses this rather than when the key reached them.
    Clock::TimePoint heard{};

    // The same key going the same way, whenever it was heard.
    friend bool operator==(const KeyEvent& a, const KeyEvent& b) {
        return a.virtualKey == b.virtualKey && a.released == b.released;
    }
};

class KeyboardHook;

// One user's hold on the keyboard hook: while it lives, its callback hears
// every key. Each user holds its own, so one user letting go never silences
// another. End it on the thread that runs the callbacks: from then on its
// callback is not called again, not even for keys already on their way.
class KeyboardSubscription {
  public:
    KeyboardSubscription() = default;
    ~KeyboardSubscription();
    KeyboardSubscription(KeyboardSubscription&& other) noexcept;
    KeyboardSubscription& operator=(KeyboardSubscription&& other) noexcept;
    KeyboardSubscription(const KeyboardSubscription&) = delete;
    KeyboardSubscription& operator=(const KeyboardSubscription&) = delete;

    // False for a subscription the hook refused because it could not start.
    bool active() const { return entry != nullptr; }
    explicit operator bool() const { return active(); }

    void reset();

    struct Shared;
    struct Entry;

  private:
    friend class KeyboardHook;
    KeyboardSubscription(std::shared_ptr<Shared> shared, std::shared_ptr<Entry> entry);

    std::shared_ptr<Shared> shared;
    std::shared_ptr<Entry> entry;
};

// A system-wide source of key notifications. The backend listens only while
// someone is subscribed: the first subscription starts it, the last one
// leaving stops it. Callbacks run through the `post` function given at
// construction, which the application points at its UI thread, so that this
// layer needs no toolkit.
class KeyboardHook {
  public:
    using Callback = std::function<void(const KeyEvent&)>;
    // The backend stopped hearing keys on its own (its X server went away);
    // the subscription stays but will hear nothing more.
    using LostCallback = std::function<void()>;
    // Runs the given work on the thread that owns the callbacks; called from
    // the backend's own thread, so it must be safe to call from any thread.
    using Post = std::function<void(std::function<void()>)>;

    virtual ~KeyboardHook();
    KeyboardHook(const KeyboardHook&) = delete;
    KeyboardHook& operator=(const KeyboardHook&) = delete;

    // Whether a subscription can be expected to work.
    virtual bool available() const = 0;
    // Why the hook cannot start (or why its last start failed); empty if it can.
    virtual std::string startError() const = 0;

    // An inactive subscription when the backend cannot start. `lost`, when
    // given, is told through `post` if the backend loses its source later.
    [[nodiscard]] KeyboardSubscription subscribe(Callback callback, LostCallback lost = {});
    std::size_t subscriptionCount() const;

  protected:
    explicit KeyboardHook(Post post);

    // Called with the first subscription; false if listening cannot begin.
    virtual bool startListening() = 0;
    // Called when the last subscription ends. On return the backend calls
    // deliver() no more.
    virtual void stopListening() = 0;

    // Hands a key to every current subscriber through `post`; any thread.
    void deliver(const KeyEvent& event) const;
    // Tells every current subscriber, through `post`, that no more keys will
    // come; any thread.
    void deliverLoss() const;

    // Every backend's destructor calls this first: it stops the backend if it
    // still listens, and subscriptions that outlive the hook end quietly.
    void detachBackend();

  private:
    // The last subscription to end stops the backend.
    friend class KeyboardSubscription;

    std::shared_ptr<KeyboardSubscription::Shared> shared;
};

// The platform's hook: on Linux the X11 one when an X server with XInput 2
// answers on $DISPLAY, else one that reports why it cannot start.
std::unique_ptr<KeyboardHook> createKeyboardHook(KeyboardHook::Post post);

}  // namespace orvane
