// Whatever the bytes, reading a profile either leaves the record exactly as
// it was or gives a record that survives a write and a second read unchanged.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "profile/ProfileFile.h"
#include "protocol/image/DeviceImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvane;
    DataStream stream = DataStream::fromBytes(std::vector<std::uint8_t>(data, data + size));
    MouseProfile profile;
    profile.name = u"before";
    const MouseProfile before = profile;
    if (!readProfile(stream, profile)) {
        if (!(profile == before)) {
            std::abort();
        }
        return 0;
    }
    DataStream written = DataStream::forWriting();
    writeProfile(profile, written);
    MouseProfile again;
    if (!readProfile(written, again) || !(again == profile)) {
        std::abort();
    }
    // Any record a file can hold must encode without leaving the image.
    (void)buildDeviceImage(profile);
    return 0;
}
