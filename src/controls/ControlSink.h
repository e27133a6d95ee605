#pragma once

namespace orvane {

// Receiver of the notifications of the skinned controls. Every control reports
// to its owner synchronously, with its own identifier and one value; pages
// dispatch on the identifier. The identifier kMenuVisibilityId is reserved for
// the menus' "about to hide" (1) and "hidden" (0) reports, which owners pass on
// upwards until they reach the main window.
class ControlSink {
  public:
    virtual ~ControlSink() = default;

    // The (identifier, value) notification.
    virtual void controlNotified(int id, int value) = 0;

    // The ordinary click of a push button, check box or combo button: the left
    // button was released over the control after a press on it.
    virtual void controlClicked(int id) { (void)id; }
};

inline constexpr int kMenuVisibilityId = 2234;

}  // namespace orvane
