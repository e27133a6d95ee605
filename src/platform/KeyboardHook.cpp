#include "platform/KeyboardHook.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

namespace orvane {

struct KeyboardSubscription::Entry {
    Entry(KeyboardHook::Callback callback, KeyboardHook::LostCallback lost)
        : callback(std::move(callback)), lost(std::move(lost)) {}

    KeyboardHook::Callback callback;
    KeyboardHook::LostCallback lost;
    // Cleared when the subscription ends; keys already posted check it on the
    // delivering thread before they call back.
    std::atomic<bool> alive{true};
};

struct KeyboardSubscription::Shared {
    explicit Shared(KeyboardHook::Post post) : post(std::move(post)) {}

    const KeyboardHook::Post post;

    // Held while subscriptions come and go and the backend starts or stops.
    // The backend thread never takes it, so stopping may wait for that thread.
    std::mutex lifecycle;
    KeyboardHook* backend = nullptr;

    // Held only to copy or change the list; never while calling out.
    mutable std::mutex listLock;
    std::vector<std::shared_ptr<Entry>> entries;
};

KeyboardSubscription::KeyboardSubscription(std::shared_ptr<Shared> shared,
                                           std::shared_ptr<Entry> entry)
    : shared(std::move(shared)), entry(std::move(entry)) {}

KeyboardSubscription::~KeyboardSubscription() {
    reset();
}

KeyboardSubscription::KeyboardSubscription(KeyboardSubscription&& other) noexcept
    : shared(std::move(other.shared)), entry(std::move(other.entry)) {}

KeyboardSubscription& KeyboardSubscription::operator=(KeyboardSubscription&& other) noexcept {
    if (this != &other) {
        reset();
        shared = std::move(other.shared);
        entry = std::move(other.entry);
    }
    return *this;
}

void KeyboardSubscription::reset() {
    if (!entry) {
        return;
    }
    entry->alive = false;
    {
        std::lock_guard lifecycle(shared->lifecycle);
        bool last = false;
        {
            std::lock_guard list(shared->listLock);
            std::erase(shared->entries, entry);
            last = shared->entries.empty();
        }
        if (last && shared->backend != nullptr) {
            shared->backend->stopListening();
        }
    }
    entry.reset();
    shared.reset();
}

KeyboardHook::KeyboardHook(Post post)
    : shared(std::make_shared<KeyboardSubscription::Shared>(std::move(post))) {
    shared->backend = this;
}

KeyboardHook::~KeyboardHook() {
    std::lock_guard lifecycle(shared->lifecycle);
    shared->backend = nullptr;
}

void KeyboardHook::detachBackend() {
    std::lock_guard lifecycle(shared->lifecycle);
    if (shared->backend == nullptr) {
        return;
    }
    shared->backend = nullptr;
    bool listening = false;
    {
        std::lock_guard list(shared->listLock);
        listening = !shared->entries.empty();
    }
    if (listening) {
        stopListening();
    }
}

KeyboardSubscription KeyboardHook::subscribe(Callback callback, LostCallback lost) {
    std::lock_guard lifecycle(shared->lifecycle);
    if (shared->backend == nullptr) {
        return {};
    }
    bool first = false;
    {
        std::lock_guard list(shared->listLock);
        first = shared->entries.empty();
    }
    if (first && !startListening()) {
        return {};
    }
    auto entry =
        std::make_shared<KeyboardSubscription::Entry>(std::move(callback), std::move(lost));
    {
        std::lock_guard list(shared->listLock);
        shared->entries.push_back(entry);
    }
    return KeyboardSubscription(shared, std::move(entry));
}

std::size_t KeyboardHook::subscriptionCount() const {
    std::lock_guard list(shared->listLock);
    return shared->entries.size();
}

void KeyboardHook::deliver(const KeyEvent& event) const {
    std::vector<std::shared_ptr<KeyboardSubscription::Entry>> receivers;
    {
        std::lock_guard list(shared->listLock);
        receivers = shared->entries;
    }
    if (receivers.empty()) {
        return;
    }
    // The work holds the entries, not the hook: it may run after the hook is
    // gone, and then finds every subscription ended or still safely callable.
    shared->post([receivers = std::move(receivers), event] {
        for (const auto& receiver : receivers) {
            if (receiver->alive) {
                receiver->callback(event);
            }
        }
    });
}

void KeyboardHook::deliverLoss() const {
    std::vector<std::shared_ptr<KeyboardSubscription::Entry>> receivers;
    {
        std::lock_guard list(shared->listLock);
        receivers = shared->entries;
    }
    if (receivers.empty()) {
        return;
    }
    shared->post([receivers = std::move(receivers)] {
        for (const auto& receiver : receivers) {
            if (receiver->alive && receiver->lost) {
                receiver->lost();
            }
        }
    });
}

}  // namespace orvane
