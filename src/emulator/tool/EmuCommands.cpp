#include "emulator/tool/EmuCommands.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "platform/virtual/BusProtocol.h"
#include "platform/virtual/BusSocket.h"
#include "profile/AtomicFile.h"
#include "profile/DataStream.h"
#include "profile/FileIO.h"

namespace orvane::emulator {

namespace {

// Longer than any wait of the daemon's own (a transfer that never completes
// is timed out there after seconds).
constexpr std::chrono::seconds kReplyTimeout{30};

using Action = std::function<int(const std::string& socket, std::ostream& out, std::ostream& err)>;

// One request and its reply; nullopt after the user has been told why not.
std::optional<Message> ask(const std::string& socket, const Message& request, std::ostream& err) {
    std::string error;
    BusConnection connection = BusConnection::open(socket, error);
    if (!connection.connected()) {
        err << "orvane-emu: " << error << "; is orvane-emud running?\n";
        return std::nullopt;
    }
    IoStatus status = IoStatus::Ok;
    std::optional<Message> reply = connection.exchange(request, kReplyTimeout, status);
    if (!reply) {
        err << "orvane-emu: the daemon on " << socket
            << (status == IoStatus::TimedOut ? " did not answer in time\n"
                                             : " did not answer the command\n");
        return std::nullopt;
    }
    if (const auto* failure = std::get_if<FailureReply>(&*reply)) {
        err << "orvane-emu: " << failure->reason << "\n";
        return std::nullopt;
    }
    return reply;
}

int command(const std::string& socket, const Message& request, std::ostream& err) {
    const std::optional<Message> reply = ask(socket, request, err);
    if (!reply) {
        return kToolFailure;
    }
    const auto* done = std::get_if<DoneReply>(&*reply);
    if (done == nullptr || done->error != HidError::None) {
        err << "orvane-emu: the daemon did not carry out the command\n";
        return kToolFailure;
    }
    return kToolOk;
}

std::optional<std::string> askText(const std::string& socket, const Message& request,
                                   std::ostream& err) {
    const std::optional<Message> reply = ask(socket, request, err);
    if (!reply) {
        return std::nullopt;
    }
    if (const auto* text = std::get_if<TextReply>(&*reply)) {
        return text->text;
    }
    err << "orvane-emu: the daemon answered with something else than text\n";
    return std::nullopt;
}

// A sub-command that sends a fixed request once the line is parsed.
void sends(CLI::App* sub, Action& chosen, std::function<Message()> request) {
    sub->callback([&chosen, request = std::move(request)] {
        chosen = [request](const std::string& socket, std::ostream&, std::ostream& err) {
            return command(socket, request(), err);
        };
    });
}

void addFaultCommands(CLI::App& app, Action& chosen) {
    CLI::App* fault = app.add_subcommand("fault", "injects faults into the mouse's transfers");
    fault->require_subcommand(1);

    struct FaultArguments {
        std::uint32_t count = 1;
        std::uint32_t error = static_cast<std::uint32_t>(HidError::FunctionFailed);
        std::uint32_t busyStatus = 3;
    };
    auto arguments = std::make_shared<FaultArguments>();

    const auto addKind = [&](const std::string& name, const std::string& help, Fault::Kind kind) {
        CLI::App* sub = fault->add_subcommand(name, help);
        sub->add_option("N", arguments->count, "how many transfers the fault lasts")->required();
        if (kind == Fault::Kind::FailSets || kind == Fault::Kind::FailGets) {
            sub->add_option("ERROR", arguments->error,
                            "the error number the transfers fail with, e.g. 1627, 31, 121")
                ->required()
                ->check(CLI::Range(1U, 0xFFFFFFFFU));
        }
        if (kind == Fault::Kind::BusyReplies) {
            sub->add_option("STATUS", arguments->busyStatus, "the busy status, 3 or 4")
                ->capture_default_str()
                ->check(CLI::IsMember({3U, 4U}));
        }
        sends(sub, chosen, [arguments, kind] {
            return AddFaultRequest{kind, arguments->count, static_cast<HidError>(arguments->error),
                                   static_cast<std::uint8_t>(arguments->busyStatus)};
        });
    };
    addKind("set-fail", "the next N sets fail with ERROR", Fault::Kind::FailSets);
    addKind("get-fail", "the next N gets fail with ERROR", Fault::Kind::FailGets);
    addKind("busy", "the next N gets answer a busy status", Fault::Kind::BusyReplies);
    addKind("status-zero", "the next N gets answer status 0", Fault::Kind::StatusZeroReplies);
    addKind("never-reply", "the next N gets never complete", Fault::Kind::NeverReply);
    addKind("unplug-after", "the mouse unplugs itself on the transfer after the next N",
            Fault::Kind::UnplugOnTransfer);
    sends(fault->add_subcommand("clear", "removes every fault"), chosen,
          [] { return ClearFaultsRequest{}; });
}

void addStateCommands(CLI::App& app, Action& chosen) {
    auto slot = std::make_shared<unsigned>(0);
    CLI::App* dump = app.add_subcommand("dump", "prints the mouse's state as JSON");
    CLI::Option* slotOption = dump->add_option("--slot", *slot, "only this profile slot (0 to 4)")
                                  ->check(CLI::Range(0, 4));
    dump->callback([&chosen, slot, slotOption] {
        DumpRequest request;
        if (slotOption->count() > 0) {
            request.slot = static_cast<std::uint8_t>(*slot);
        }
        chosen = [request](const std::string& socket, std::ostream& out, std::ostream& err) {
            const std::optional<std::string> text = askText(socket, request, err);
            if (!text) {
                return kToolFailure;
            }
            const nlohmann::json json = nlohmann::json::parse(*text, nullptr, false);
            if (json.is_discarded()) {
                err << "orvane-emu: the daemon's dump is not JSON\n";
                out << *text << "\n";
                return kToolFailure;
            }
            out << json.dump(2) << "\n";
            return kToolOk;
        };
    });

    auto file = std::make_shared<std::string>();
    CLI::App* save = app.add_subcommand("save", "writes the mouse's whole state to FILE");
    save->add_option("FILE", *file, "the file to write")->required();
    save->callback([&chosen, file] {
        chosen = [file](const std::string& socket, std::ostream&, std::ostream& err) {
            const std::optional<std::string> text = askText(socket, SaveStateRequest{}, err);
            if (!text) {
                return kToolFailure;
            }
            std::string error;
            if (!writeFileAtomically(*file, *text, error)) {
                err << "orvane-emu: " << error << "\n";
                return kToolFailure;
            }
            return kToolOk;
        };
    });

    CLI::App* load = app.add_subcommand("load", "replaces the mouse's state with FILE's");
    load->add_option("FILE", *file, "a file written by save")->required();
    load->callback([&chosen, file] {
        chosen = [file](const std::string& socket, std::ostream&, std::ostream& err) {
            DataStream stream;
            if (!readWholeFile(*file, stream)) {
                err << "orvane-emu: cannot read " << *file << "\n";
                return kToolFailure;
            }
            LoadStateRequest request{
                std::string(reinterpret_cast<const char*>(stream.data()), stream.length())};
            if (encodeFrame(request).empty()) {
                err << "orvane-emu: " << *file << " is too large to be a saved state\n";
                return kToolFailure;
            }
            return command(socket, request, err);
        };
    });
}

void addMouseCommands(CLI::App& app, Action& chosen) {
    sends(app.add_subcommand("plug", "plugs the mouse in"), chosen, [] { return PlugRequest{}; });
    sends(app.add_subcommand("unplug", "unplugs the mouse"), chosen,
          [] { return UnplugRequest{}; });

    auto value = std::make_shared<unsigned>(0);
    CLI::App* dpi = app.add_subcommand(
        "press-dpi-button", "makes resolution LEVEL active, as the mouse's own button does");
    dpi->add_option("LEVEL", *value, "the resolution level, 1 to 5")
        ->required()
        ->check(CLI::Range(1, 5));
    sends(dpi, chosen,
          [value] { return PressDpiButtonRequest{static_cast<std::uint8_t>(*value)}; });

    CLI::App* button = app.add_subcommand(
        "press-button", "presses button N; a program or web-page button reports it");
    button->add_option("N", *value, "the button, 1 to 6")->required()->check(CLI::Range(1, 6));
    sends(button, chosen,
          [value] { return PressButtonRequest{static_cast<std::uint8_t>(*value)}; });

    CLI::App* quality =
        app.add_subcommand("set-quality", "sets what the next surface-quality read reports");
    quality->add_option("Q", *value, "the quality value, 0 to 255")
        ->required()
        ->check(CLI::Range(0, 255));
    sends(quality, chosen,
          [value] { return SetQualityRequest{static_cast<std::uint8_t>(*value)}; });
}

// "1.00" (as the windows show it) or the device's own form "0x0100".
std::optional<std::uint16_t> parseFirmwareVersion(const std::string& text) {
    unsigned major = 0;
    unsigned minor = 0;
    char point = 0;
    int used = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        unsigned value = 0;
        if (std::sscanf(text.c_str() + 2, "%4x%n", &value, &used) == 1 &&
            static_cast<std::size_t>(used) + 2 == text.size()) {
            return static_cast<std::uint16_t>(value);
        }
        return std::nullopt;
    }
    if (std::sscanf(text.c_str(), "%2u%c%2u%n", &major, &point, &minor, &used) != 3 ||
        point != '.' || static_cast<std::size_t>(used) != text.size() || text.size() != 4) {
        return std::nullopt;
    }
    // 1.05 is 0x0105 on the wire: each decimal digit one hexadecimal digit.
    return static_cast<std::uint16_t>((major << 8) | ((minor / 10) << 4) | (minor % 10));
}

void addFirmwareCommand(CLI::App& app, Action& chosen) {
    auto text = std::make_shared<std::string>();
    CLI::App* firmware = app.add_subcommand(
        "set-firmware",
        "gives the mouse another firmware version, e.g. an older one to be updated");
    firmware->add_option("VERSION", *text, "as the windows show it (1.00) or as 0x0100")
        ->required();
    firmware->callback([&chosen, text] {
        chosen = [text](const std::string& socket, std::ostream&, std::ostream& err) {
            const std::optional<std::uint16_t> version = parseFirmwareVersion(*text);
            if (!version) {
                err << "orvane-emu: \"" << *text
                    << "\" is not a firmware version; write it like 1.00 or 0x0100\n";
                return kToolUsage;
            }
            return command(socket, SetFirmwareRequest{*version}, err);
        };
    });
}

}  // namespace

int runEmuTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"Controls the simulated ORVANE PRO mouse that orvane-emud serves.", "orvane-emu"};
    // Inherited by the sub-commands made below, so --socket goes anywhere.
    app.fallthrough();
    app.require_subcommand(1);
    std::string socket = defaultSocketPath();
    app.add_option("--socket", socket, "the daemon's socket")->capture_default_str();
    Action chosen;
    addMouseCommands(app, chosen);
    addFirmwareCommand(app, chosen);
    addFaultCommands(app, chosen);
    addStateCommands(app, chosen);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? kToolOk : kToolUsage;
    }
    if (!chosen) {
        err << "orvane-emu: no command given; see orvane-emu --help\n";
        return kToolUsage;
    }
    return chosen(socket, out, err);
}

}  // namespace orvane::emulator
