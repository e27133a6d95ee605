#include <gtest/gtest.h>

#include <random>

#include "MouseTestSupport.h"

namespace orvane::emulator::testing {
namespace {

TEST(VirtualMouse, NoSequenceOfRandomTransfersAndControlsBreaksIt) {
    VirtualMouse mouse;
    std::mt19937 random(20240607);
    const auto pick = [&random](std::size_t bound) { return random() % bound; };
    const std::string factory = mouse.saveState();
    std::vector<std::string> paths = {"nowhere"};
    for (int step = 0; step < 40000; ++step) {
        const auto interfaces = mouse.interfaces();
        if (!interfaces.empty() && paths.back() != interfaces.back().path) {
            for (const HidDeviceInfo& info : interfaces) {
                paths.push_back(info.path);
            }
        }
        const std::string path =
            interfaces.empty() || pick(5) == 0 ? paths[pick(paths.size())] : interfaces[0].path;
        // Mostly the known report ids and commands at the length the mode
        // wants, with small operands, so that the handlers themselves are
        // reached; now and then anything at all.
        const std::uint8_t id = pick(8) == 0 ? std::uint8_t(random()) : (pick(2) ? 0xA0 : 0xA1);
        const std::size_t fitting = id == 0xA1 && !mouse.inBootLoader() ? 64 : 1041;
        Bytes request(pick(4) != 0 ? fitting : pick(1100));
        for (std::uint8_t& byte : request) {
            const auto bits = random();
            byte = std::uint8_t(bits % 3 == 0 ? bits >> 8 : (bits >> 16) % 16);
        }
        if (request.size() > 7) {
            static constexpr std::uint8_t kCommands[] = {
                2, 3, 4, 5, 6, 8, 9, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x21, 0x25, 0x3A};
            request[0] = id;
            request[1] = kCommands[pick(std::size(kCommands))];
            if (pick(20) == 0) {
                request[5] = 0x3C, request[6] = 0xC3, request[7] = 0x71;
            }
        }
        switch (pick(60)) {
            case 0:
                mouse.unplug();
                break;
            case 1:
                mouse.plug();
                break;
            case 2:
                mouse.pressDpiButton(std::uint8_t(pick(8)));
                mouse.pressButton(int(pick(9)) - 1);
                break;
            case 3:
                mouse.addFault({Fault::Kind(pick(6)), unsigned(pick(4)), HidError::WriteFault,
                                std::uint8_t(3 + pick(2))});
                break;
            case 4:
                // No random image passes the boot loader's checks; this is
                // the way back to the application.
                if (std::string error; mouse.inBootLoader() && pick(4) == 0) {
                    ASSERT_TRUE(mouse.loadState(factory, error)) << error;
                }
                break;
            default:
                if (pick(2) == 0) {
                    mouse.setFeature(path, request);
                } else {
                    Bytes reply(pick(1100), 0xA1);
                    mouse.getFeature(path, reply);
                }
        }
        ASSERT_LT(mouse.activeSlot(), VirtualMouse::kSlotCount);
        ASSERT_EQ(mouse.interfaces().size(), !mouse.plugged()       ? 0u
                                             : mouse.inBootLoader() ? 1u
                                                                    : 3u);
        if (step % 5000 == 0) {
            mouse.takeNotices();
            VirtualMouse copy;
            std::string error;
            ASSERT_TRUE(copy.loadState(mouse.saveState(), error)) << error;
            ASSERT_EQ(copy.saveState(), mouse.saveState());
        }
    }
}

}  // namespace
}  // namespace orvane::emulator::testing
