#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/ChildProcess.h"

namespace orvane::test {

inline constexpr const char* kXvfbProgram = "/usr/bin/Xvfb";

// A private X server (Xvfb) for one test. It picks a free display number
// itself and names it once it accepts connections, so there is nothing to
// guess and nothing to wait for; -noreset keeps its settings (the pointer
// control) when its last client leaves. Null, with `error`, when it did not
// come up; else `display` is ":N". Destroying the program stops the server.
inline std::unique_ptr<Program> startPrivateXServer(std::string& display, std::string& error,
                                                    const std::string& screen = "320x240x24") {
    auto server = std::make_unique<Program>(std::vector<std::string>{
        kXvfbProgram, "-displayfd", "1", "-noreset", "-nolisten", "tcp", "-screen", "0", screen});
    if (!server->started() || !server->outputShows("\n")) {
        error = "Xvfb did not start: " + server->err;
        return nullptr;
    }
    display = ":" + server->out.substr(0, server->out.find('\n'));
    return server;
}

}  // namespace orvane::test
