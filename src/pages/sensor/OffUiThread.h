#pragma once

#include <functional>

namespace orvane {

// Runs `work` on a thread of its own and waits for it in a nested event loop,
// so that the windows keep painting and their timers keep running while the
// mouse takes its pauses. The loop takes no user input meanwhile: a click
// that came in during the wait is handled after it, never in the middle of
// the work that it might otherwise start a second time. Call it on the
// user-interface thread only.
void runOffUiThread(const std::function<void()>& work);

}  // namespace orvane
