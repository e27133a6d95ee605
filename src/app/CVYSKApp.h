#pragma once

namespace orvane {

// The application object: makes sure one copy runs, sets up Qt, picks the
// mouse's bus, runs the main window until "Exit" and ends the process.
class CVYSKApp {
  public:
    // The process's exit status.
    int run(int argc, char** argv);
};

}  // namespace orvane
