#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/KeyboardHook.h"

namespace orvane {

// Keys from every keyboard of an X server, read as XInput 2 raw key events on
// the root window. Raw events reach us whichever window has the focus and
// even while another client grabs the keyboard, and they take nothing away
// from anyone. A thread of its own with its own connection to the server
// reads them while someone is subscribed.
//
// Repeats of a held key that the server reports (raw presses flagged as
// repeats) are passed on as presses, not filtered: users of the hook have
// always seen a held key as repeated presses, and the recorder drops them
// itself.
class X11KeyboardHook final : public KeyboardHook {
  public:
    // Null, with `error` saying why, when no X server with XInput 2 answers
    // on `displayName` (an X display name such as ":0").
    static std::unique_ptr<X11KeyboardHook> create(Post post, const std::string& displayName,
                                                   std::string& error);
    ~X11KeyboardHook() override;

    bool available() const override;
    std::string startError() const override;

    struct Listener;

  protected:
    bool startListening() override;
    void stopListening() override;

  private:
    X11KeyboardHook(Post post, std::string displayName);
    void run(Listener& listener);

    const std::string displayName;
    std::unique_ptr<Listener> listener;
    mutable std::mutex errorLock;
    std::string error;
};

}  // namespace orvane
