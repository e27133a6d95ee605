#include "pages/macro/MacroRecorder.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "platform/Clock.h"
#include "protocol/image/ButtonEncoding.h"

namespace orvane {

MacroRecorder::MacroRecorder(KeyboardHook* keyboardHook, Clock& tickClock)
    : hook(keyboardHook), clock(tickClock) {}

bool MacroRecorder::start(OptionsSource optionsSource, StepSink stepSink,
                          std::function<void()> lost) {
    options = std::move(optionsSource);
    sink = std::move(stepSink);
    reference = clock.now();
    subscription.reset();
    if (hook == nullptr) {
        return false;
    }
    subscription =
        hook->subscribe([this](const KeyEvent& event) { keyReported(event); }, std::move(lost));
    return subscription.active();
}

void MacroRecorder::stop() {
    subscription.reset();
    sink = nullptr;
}

void MacroRecorder::keyReported(const KeyEvent& event) {
    if (!sink) {
        return;
    }
    const Options now = options ? options() : Options{};
    // Timed by when the hook heard the key: two keys that waited together
    // in a busy UI thread's queue keep the pause the user made between them.
    // A key heard before the recording began (still on its way at the
    // click) waits no time.
    const Clock::TimePoint at = event.heard != Clock::TimePoint{} ? event.heard : clock.now();
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(at - reference);
    if (at > reference) {
        reference = at;
    }
    if (event == lastSeen) {
        return;  // the keyboard repeating a held key
    }
    lastSeen = event;
    if (event.released && now.recordHold) {
        return;
    }
    // Codes outside the key tables name nothing a step could hold.
    if (event.virtualKey < 1 || event.virtualKey > 255) {
        return;
    }
    RecordedKey step;
    step.code = static_cast<std::uint16_t>(event.virtualKey);
    step.state = event.released ? 1 : 0;
    // The mouse keeps 24 bits of delay; a pause of over four hours is kept
    // as the longest it can wait rather than wrapping into a short one.
    const auto waited = static_cast<std::uint64_t>(std::max<std::int64_t>(elapsed.count(), 0));
    step.delay =
        now.recordDelay
            ? static_cast<std::uint32_t>(std::min<std::uint64_t>(waited, kLongestMacroDelayMs))
            : 0;
    sink(step);
}

}  // namespace orvane
