#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orvane {

// Hands work to the desktop: a web page to the user's browser, a program to
// start on its own. Neither waits for what it started, so a page's thread is
// never held up by a slow browser; true means the desktop took the request.
class Shell {
  public:
    virtual ~Shell() = default;

    virtual bool openWebPage(const std::string& address) = 0;
    // Starts `program` with `arguments`, detached: it outlives this process.
    virtual bool startProgram(const std::filesystem::path& program,
                              const std::vector<std::string>& arguments) = 0;
};

}  // namespace orvane
