#pragma once

#include "platform/HidBus.h"

namespace orvane {

// The machine's HID interfaces through hidapi's hidraw backend.
class HidapiBus final : public HidBus {
  public:
    HidapiBus();
    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const std::string& path, HidError& error) override;

    // Frees hidapi's own state (the library's Close_device does this for its
    // host program); hidapi sets itself up again on its next use.
    static void releaseLibrary();
};

}  // namespace orvane
