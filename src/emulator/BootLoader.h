#pragma once

#include <cstdint>
#include <vector>

#include "emulator/MouseMemory.h"
#include "emulator/Reports.h"

namespace orvane::emulator {

// The boot loader's side of a firmware update: the announced block count and
// sum, the blocks received so far, and the check of the whole image before it
// replaces the firmware. What it holds is lost with the power.
class BootLoader {
  public:
    // The flash takes at most this many 1024-byte blocks (block numbers stay
    // within one byte, too).
    static constexpr std::size_t kMaxBlocks = 100;
    static constexpr std::uint8_t kFirstBlockNumber = 12;

    CommandReply handle(MouseMemory& memory, const Request& request);
    void reset();

    std::size_t blocksReceived() const { return image.size() / kPayloadSize; }

  private:
    CommandReply announce(const Request& request);
    CommandReply takeBlock(const Request& request);
    CommandReply finish(MouseMemory& memory);

    bool announced = false;
    std::size_t blockCount = 0;
    std::uint32_t imageSum = 0;
    std::vector<std::uint8_t> image;
};

}  // namespace orvane::emulator
