#include "pages/macro/MacroRecorder.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "platform/Clock.h"
#include "protocol/image/ButtonEncoding.h"

namespace orvane {

MacroRecorder::MacroRecorder(KeyboardHook* keyboardHook, Clock& tickClock)
    : hook(keyboardHook), clock(tickClock) {}

std::uint32_t MacroRecorder::tick() const {
    const auto since =
        std::chrono::duration_cast<std::chrono::milliseconds>(clock.now().time_since_epoch());
    // A tick counter that wraps, so that differences stay right across the wrap.
    return static_cast<std::uint32_t>(since.count());
}

bool MacroRecorder::start(OptionsSource optionsSource, StepSink stepSink,
                          std::function<void()> lost) {
    options = std::move(optionsSource);
    sink = std::move(stepSink);
    reference = tick();
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
    const std::uint32_t at = tick();
    const std::uint32_t elapsed = at - reference;
    reference = at;
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
    step.delay = now.recordDelay ? std::min(elapsed, kLongestMacroDelayMs) : 0;
    sink(step);
}

}  // namespace orvane
