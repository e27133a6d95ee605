#pragma once

#include "platform/Shell.h"

namespace orvane {

// The desktop's own launchers through Qt: the default browser for a web page
// (xdg-open on Linux), a detached process for a program.
class QtShell final : public Shell {
  public:
    bool openWebPage(const std::string& address) override;
    bool startProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments) override;
};

}  // namespace orvane
