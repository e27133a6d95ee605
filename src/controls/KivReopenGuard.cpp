#include "controls/KivReopenGuard.h"

#include <limits>

namespace orvane {

namespace {

// Far enough in the past that no press counts as the one that closed it.
constexpr qint64 kNeverSeenOpen = std::numeric_limits<qint64>::min() / 2;

}  // namespace

KivReopenGuard::KivReopenGuard() : lastSeenOpen(kNeverSeenOpen) {
    sinceStart.start();
}

void KivReopenGuard::setClock(Clock newClock) {
    clock = std::move(newClock);
}

qint64 KivReopenGuard::now() const {
    return clock ? clock() : sinceStart.elapsed();
}

bool KivReopenGuard::swallowClick() {
    const bool swallow = armed;
    armed = false;
    return swallow;
}

}  // namespace orvane
