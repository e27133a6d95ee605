#pragma once

#include <cstdint>

class QWidget;

namespace orvane {

// The colour-change notification of the colour windows: the sender, its
// control identifier and the new value (a colour for the selector, a position
// for the slider).
struct HxColorChange {
    QWidget* sender = nullptr;
    int controlId = 0;
    std::uint32_t value = 0;
};

// Receiver of colour-change notifications. The call is synchronous and the
// result goes back to the sender.
class HxColorListener {
  public:
    virtual ~HxColorListener() = default;
    virtual long colorChanged(const HxColorChange& change) = 0;
};

}  // namespace orvane
