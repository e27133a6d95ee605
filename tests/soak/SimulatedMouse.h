#pragma once

// The simulated mouse for a soak: an orvane-emud of its own on a private
// socket, driven through the same control protocol that orvane-emu speaks.

#include <chrono>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "SoakFigures.h"
#include "platform/virtual/BusProtocol.h"
#include "platform/virtual/BusSocket.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace orvane::soak {

// orvane-emud in the foreground on a socket in a folder of its own, stopped
// by its process id when the object goes.
class SimulatedMouse {
  public:
    // How long a transfer that never completes keeps the daemon's answer back.
    static constexpr std::chrono::milliseconds kNeverReplyTimeout{5000};

    SimulatedMouse() : daemon({ORVANE_EMUD_PATH, "--foreground", "--socket", socket}) {}

    bool serving() { return daemon.started() && daemon.outputShows("serving on"); }
    const std::string& socketPath() const { return socket; }

    bool plug() { return done(emulator::PlugRequest{}); }
    bool unplug() { return done(emulator::UnplugRequest{}); }
    bool clearFaults() { return done(emulator::ClearFaultsRequest{}); }
    bool addFault(emulator::Fault::Kind kind, unsigned count,
                  HidError error = HidError::FunctionFailed, std::uint8_t busyStatus = 3) {
        return done(emulator::AddFaultRequest{kind, count, error, busyStatus});
    }
    bool pressDpiButton(std::uint8_t level) { return done(emulator::PressDpiButtonRequest{level}); }

    // The mouse's state as orvane-emu dump prints it; null when the daemon
    // did not answer.
    nlohmann::json dump(std::optional<std::uint8_t> slot = std::nullopt) {
        const std::optional<emulator::Message> reply = ask(emulator::DumpRequest{slot});
        const auto* text = reply ? std::get_if<emulator::TextReply>(&*reply) : nullptr;
        return text == nullptr ? nlohmann::json()
                               : nlohmann::json::parse(text->text, nullptr, false);
    }

  private:
    bool done(const emulator::Message& request) {
        const std::optional<emulator::Message> reply = ask(request);
        return reply && std::holds_alternative<emulator::DoneReply>(*reply);
    }

    // One control connection, shared by the soak's threads one request at a
    // time, as the protocol wants.
    std::optional<emulator::Message> ask(const emulator::Message& request) {
        std::lock_guard lock(mutex);
        if (!control.connected()) {
            std::string error;
            control = emulator::BusConnection::open(socket, error);
        }
        emulator::IoStatus status = emulator::IoStatus::Ok;
        // A transfer that never completes holds the daemon for its time-out.
        auto reply = control.exchange(request, kNeverReplyTimeout * 4, status);
        if (!reply) {
            control.close();
        }
        return reply;
    }

    test::TempDir dir;
    std::string socket = (dir / "emu.sock").string();
    test::Program daemon;
    std::mutex mutex;
    emulator::BusConnection control;
};

}  // namespace orvane::soak
