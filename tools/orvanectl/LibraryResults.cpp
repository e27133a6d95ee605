#include "LibraryResults.h"

#include "CommandLine.h"
#include "Orvane_pro_dll.h"

namespace orvanectl {

std::string describeLibraryResult(std::uint8_t result) {
    switch (result) {
        case ORVANE_OK:
            return "done";
        case ORVANE_BAD_ARGUMENT:
            return "an argument is out of range; nothing was sent to the mouse";
        case ORVANE_DEVICE_ERROR:
            return "the mouse is not connected, or it did not accept the command";
        case ORVANE_CAPTURE_FAILED:
            return "the mouse's event interface cannot be opened";
        default:
            return "the library answered " + std::to_string(result);
    }
}

int reportLibraryResult(std::uint8_t result, const std::string& what, std::ostream& err) {
    if (result == ORVANE_OK) {
        return kExitOk;
    }
    err << "orvanectl: " << what << ": " << describeLibraryResult(result) << '\n';
    return kExitFailure;
}

}  // namespace orvanectl
