#pragma once

#include <cstdint>
#include <functional>

#include "platform/KeyboardHook.h"

namespace orvane {

class Clock;

// One key step the recorder makes of a key notification.
struct RecordedKey {
    std::uint16_t code = 0;
    std::uint8_t state = 0;   // 0 pressed, 1 released
    std::uint32_t delay = 0;  // milliseconds since the previous key was heard
};

// Turns the keys of the whole desktop into macro steps: the delay since the
// previous key was heard (when asked for), repeats of a held key dropped,
// releases left out for a hold macro. It holds a subscription of its own on
// the keyboard hook, so a pop-up that listens too never ends a recording.
class MacroRecorder {
  public:
    struct Options {
        bool recordDelay = false;
        bool recordHold = false;
    };
    using OptionsSource = std::function<Options()>;
    using StepSink = std::function<void(const RecordedKey&)>;

    // `hook` may be null (a session without one); `clock` gives the ticks.
    MacroRecorder(KeyboardHook* hook, Clock& clock);

    // Starts the reference time and listens. False when no key can be heard
    // (no hook, or it would not start); the caller keeps its recording state
    // and tells the user. `lost` hears when the hook goes away later.
    bool start(OptionsSource options, StepSink sink, std::function<void()> lost);
    void stop();
    bool listening() const { return subscription.active(); }

    // The rules for one notification; the hook's deliveries come here.
    void keyReported(const KeyEvent& event);

  private:
    KeyboardHook* hook;
    Clock& clock;
    KeyboardSubscription subscription;
    OptionsSource options;
    StepSink sink;
    // When the previous key was heard (the start, before the first key).
    Clock::TimePoint reference{};
    // Never reset: a release of the key that ended the last recording, heard
    // first in the next, is dropped as a repeat.
    KeyEvent lastSeen{0, false};
};

}  // namespace orvane
