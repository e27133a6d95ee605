#include "emulator/daemon/StateFile.h"

#include <system_error>

#include "profile/AtomicFile.h"
#include "profile/DataStream.h"
#include "profile/FileIO.h"

namespace orvane::emulator {

bool StateFile::load(VirtualHidBus& bus, std::string& error) {
    std::lock_guard lock(mutex);
    std::error_code missing;
    if (!std::filesystem::exists(file, missing) && !missing) {
        return true;
    }
    DataStream stream;
    if (!readWholeFile(file, stream)) {
        error = "cannot read the state file " + file.string();
        return false;
    }
    std::string text(reinterpret_cast<const char*>(stream.data()), stream.length());
    std::string reason;
    if (!bus.withMouse([&](VirtualMouse& mouse) { return mouse.loadState(text, reason); })) {
        error = "the state file " + file.string() + " is not a saved state: " + reason;
        return false;
    }
    written = std::move(text);
    return true;
}

bool StateFile::save(VirtualHidBus& bus, std::string& error) {
    std::lock_guard lock(mutex);
    std::string text = bus.withMouse([](VirtualMouse& mouse) { return mouse.saveState(); });
    if (text == written && !written.empty()) {
        return true;
    }
    if (!writeFileAtomically(file, text, error)) {
        return false;
    }
    written = std::move(text);
    return true;
}

}  // namespace orvane::emulator
