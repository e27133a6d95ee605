#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "devlib/LibraryCore.h"
#include "emulator/VirtualHidBus.h"
#include "platform/FakeClock.h"
#include "protocol/DeviceIds.h"
#include "protocol/ReportLayout.h"
#include "support/ScriptedHid.h"

namespace orvane::devlib::testing {

using Bytes = std::vector<std::uint8_t>;
using std::chrono::milliseconds;
using Pauses = std::vector<Clock::Duration>;

// `size` bytes: `head`, then zeros.
inline Bytes bytes(std::initializer_list<std::uint8_t> head, std::size_t size = 64) {
    Bytes result(head);
    result.resize(size, 0);
    return result;
}

inline Bytes put(Bytes target, std::size_t offset, std::initializer_list<std::uint8_t> more) {
    std::copy(more.begin(), more.end(), target.begin() + static_cast<std::ptrdiff_t>(offset));
    return target;
}

inline HidDeviceInfo configInterface(std::string path = "config",
                                     std::uint16_t productId = kProductId) {
    return {std::move(path), kVendorId, productId, 0x0105, kConfigUsagePage, kConfigUsage, 0};
}

// The library on a scripted mouse: every transfer must be one the test
// expects, so a test that scripts nothing proves that nothing was sent.
class ScriptedLibrary : public ::testing::Test {
  protected:
    ScriptedLibrary() {
        auto owned = std::make_unique<test::ScriptedHidBus>();
        bus = owned.get();
        device = &bus->add(configInterface());
        core = std::make_unique<LibraryCore>(std::move(owned), clock);
    }

    // One command answered with status 1 and `payload` from byte 16.
    void expectCommand(const Bytes& request, std::initializer_list<std::uint8_t> payload = {},
                       std::uint8_t status = 1) {
        device->expectSet(request);
        device->expectGet(kCommandReportSize, put(bytes({kCommandReportId, status}), 16, payload));
    }

    FakeClock clock;
    test::ScriptedHidBus* bus = nullptr;
    test::ScriptedHidDevice* device = nullptr;
    std::unique_ptr<LibraryCore> core;
};

// The library on the simulated mouse, inside this process.
class LibraryOnMouse : public ::testing::Test {
  protected:
    LibraryOnMouse() {
        auto owned = std::make_unique<emulator::VirtualHidBus>(clock);
        bus = owned.get();
        core = std::make_unique<LibraryCore>(std::move(owned), clock);
    }

    FakeClock clock;
    emulator::VirtualHidBus* bus = nullptr;
    std::unique_ptr<LibraryCore> core;
};

}  // namespace orvane::devlib::testing
