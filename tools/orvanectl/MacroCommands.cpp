#include <memory>
#include <string>

#include "Command.h"
#include "CommandLine.h"
#include "FileErrors.h"
#include "JsonExport.h"
#include "macros/CMacro.h"
#include "macros/MacroFile.h"

namespace orvanectl {

namespace {

int showMacro(const std::string& file, std::ostream& out, std::ostream& err) {
    orvane::DataStream stream;
    std::string error;
    if (!readFileForCommand(file, stream, error)) {
        err << "orvanectl: " << error << '\n';
        return kExitFailure;
    }
    orvane::CMacro macro;
    if (!orvane::readMacro(stream, macro)) {
        err << "orvanectl: " << file
            << " is not a macro file, or it is damaged (cut short or with a count that "
               "runs past its end)\n";
        return kExitFailure;
    }
    writeMacroJson(macro, out);
    out << '\n';
    return kExitOk;
}

}  // namespace

void addMacroCommands(CLI::App& parent, Action& chosen) {
    CLI::App* macro = parent.add_subcommand("macro", "Macro files (*.macro)");
    macro->require_subcommand(1);

    auto showFile = std::make_shared<std::string>();
    CLI::App* show = macro->add_subcommand("show", "Print a macro file as JSON");
    show->add_option("FILE", *showFile, "Macro file to read")->required();
    show->callback([showFile, &chosen] {
        chosen = [showFile](std::ostream& out, std::ostream& err) {
            return showMacro(*showFile, out, err);
        };
    });
}

}  // namespace orvanectl
