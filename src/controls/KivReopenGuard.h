#pragma once

#include <QElapsedTimer>
#include <functional>

namespace orvane {

// The press that dismisses a drop-down (a menu, a colour panel) also reaches
// the button that opened it; without this guard the click that follows would
// open it again at once. The owner tells the guard when it last saw its
// drop-down open; a press within the guard time of that moment arms the
// guard, and the next click is swallowed.
class KivReopenGuard {
  public:
    // Milliseconds since some fixed moment; tests put in their own.
    using Clock = std::function<qint64()>;
    static constexpr qint64 kGuardMs = 200;

    KivReopenGuard();

    void setClock(Clock clock);
    qint64 now() const;

    // The drop-down is (or was, until this moment) visible.
    void seenOpen() { lastSeenOpen = now(); }
    // A left press on the button.
    void pressed() { armed = now() - lastSeenOpen <= kGuardMs; }
    // The click that follows a press: true (and disarmed) when it is to be
    // swallowed.
    bool swallowClick();

  private:
    Clock clock;
    QElapsedTimer sinceStart;
    qint64 lastSeenOpen;
    bool armed = false;
};

}  // namespace orvane
