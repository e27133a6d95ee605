#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/Shell.h"

namespace orvane {

// A shell for tests: remembers what it was asked and answers `accepts`.
class FakeShell final : public Shell {
  public:
    struct Start {
        std::filesystem::path program;
        std::vector<std::string> arguments;
    };

    bool openWebPage(const std::string& address) override {
        openedPages.push_back(address);
        return accepts;
    }

    bool startProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments) override {
        started.push_back({program, arguments});
        return accepts && (!onStart || onStart(started.back()));
    }

    bool accepts = true;
    // Runs on each start (a test's way of making the program "come up").
    std::function<bool(const Start&)> onStart;
    std::vector<std::string> openedPages;
    std::vector<Start> started;
};

}  // namespace orvane
