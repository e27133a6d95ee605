#pragma once

#include <functional>

namespace orvane {

// At most one copy of the application runs per user. A second start asks the
// running copy to show its window and ends without one of its own.
class SingleInstance {
  public:
    virtual ~SingleInstance() = default;

    // True when this process is now the one copy and hears show requests;
    // false when another copy runs and has been asked to show itself, and the
    // caller should end. Safe to call again once primary (answers true).
    virtual bool tryBecomePrimary() = 0;

    // Called on the user-interface thread for each show request that reaches
    // the primary copy.
    virtual void setOnShowRequested(std::function<void()> onShowRequested) = 0;
};

}  // namespace orvane
