#include "CommandLine.h"

#include "Command.h"
#include "version/Version.h"

namespace orvanectl {

int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"Works with ORVANE PRO profile and macro files, and with the mouse itself.",
                 "orvanectl"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("orvanectl ") + orvane::kSoftwareVersionText);
    Action chosen;
    addProfileCommands(app, chosen);
    addMacroCommands(app, chosen);
    addDeviceCommands(app, chosen);
    addDoctorCommand(app, chosen);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error, out, err);
        return status == 0 ? kExitOk : kExitUsage;
    }
    if (!chosen) {
        err << "orvanectl: no command given; see orvanectl --help\n";
        return kExitUsage;
    }
    return chosen(out, err);
}

}  // namespace orvanectl
