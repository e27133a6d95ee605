// A hostile host: whatever feature reports it sends and reads, in whatever
// order and in either mode, the simulated mouse neither crashes nor reads or
// writes outside its memory.
#include <cstdint>
#include <vector>

#include "FuzzInput.h"
#include "emulator/VirtualMouse.h"
#include "protocol/ReportLayout.h"

namespace {

using namespace orvane;
using emulator::VirtualMouse;

// A report of a size the mouse takes most of the time, so that the fuzzer
// reaches the commands instead of the size check; its leading bytes (where
// commands keep their arguments) come from the input, the rest are zeros.
std::vector<std::uint8_t> hostReport(fuzz::FuzzInput& input) {
    const std::uint8_t shape = input.byte();
    std::size_t size = kCommandReportSize;
    std::uint8_t id = kCommandReportId;
    if ((shape & 3) == 1) {
        size = kDataReportSize;
    } else if ((shape & 3) == 2) {
        size = kDataReportSize;
        id = kDataReportId;
    } else if ((shape & 3) == 3) {
        size = input.u16() % (kDataReportSize + 16);
        id = input.byte();
    }
    std::vector<std::uint8_t> report(size, 0);
    const auto leading = input.take(std::min<std::size_t>(size, shape >> 2));
    std::copy(leading.begin(), leading.end(), report.begin());
    if (!report.empty() && (shape & 3) != 3) {
        report[0] = id;
    }
    return report;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    // Copied from one built once: building the factory memory costs more
    // than most runs.
    static const VirtualMouse factoryNew;
    static const std::string gone = "gone";
    VirtualMouse mouse = factoryNew;
    // The paths change only when the mouse comes back or changes mode, and
    // listing them costs more than most requests: they are listed again only
    // when a request finds its path gone.
    std::vector<HidDeviceInfo> interfaces = mouse.interfaces();
    while (!input.empty()) {
        const std::uint8_t action = input.byte();
        if (!interfaces.empty() && !mouse.isPresent(interfaces.front().path)) {
            interfaces = mouse.interfaces();
        }
        const std::string& path =
            interfaces.empty() ? gone : interfaces[action % interfaces.size()].path;
        switch ((action >> 4) % 5) {
            case 0:
            case 1: {
                const std::vector<std::uint8_t> report = hostReport(input);
                mouse.setFeature(path, report);
                break;
            }
            case 2:
            case 3: {
                std::vector<std::uint8_t> report = hostReport(input);
                mouse.getFeature(path, report);
                break;
            }
            default:
                // The host's side of the cable: now and then the mouse is
                // unplugged and back.
                if (action & 1) {
                    mouse.unplug();
                    mouse.plug();
                    interfaces = mouse.interfaces();
                }
                break;
        }
        // The bus takes what the mouse announced after every call, as the
        // in-process bus and the daemon do; left to pile up, the notices
        // would cost more than everything the input asks for.
        (void)mouse.takeNotices();
    }
    return 0;
}
