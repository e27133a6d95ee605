// Commands that wait for the mouse: captured events, and the progress of a
// firmware update. The library calls back on threads of its own; the
// callbacks only hand what they got to the command's thread.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Command.h"
#include "CommandLine.h"
#include "FileErrors.h"
#include "LibraryResults.h"
#include "Orvane_pro_dll.h"

namespace orvanectl {

namespace {

using namespace std::chrono_literals;

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) {
    interrupted = true;
}

// What the capture thread hands over: a line to print.
struct EventQueue {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<std::string> lines;
};

EventQueue& eventQueue() {
    static EventQueue queue;
    return queue;
}

std::string describeEvent(std::uint8_t kind, const std::uint8_t* data, std::int32_t value) {
    if (kind == 0x23 || kind == 0x24) {
        const std::size_t length = value < 0 ? 0 : std::min<std::size_t>(std::size_t(value), 1024);
        std::string text(reinterpret_cast<const char*>(data), length);
        return std::string(kind == 0x23 ? "program button: " : "web-page button: ") + text;
    }
    if (kind == 2) {
        // The mouse counts its levels from 0; users count them from 1.
        return "resolution level " + std::to_string(data[0] + 1);
    }
    return "event " + std::to_string(kind) + " value " + std::to_string(data[0]);
}

void ORVANE_STDCALL onEvent(std::uint8_t* kind, std::uint8_t* data, std::int32_t* value) {
    std::string line = describeEvent(*kind, data, *value);
    EventQueue& queue = eventQueue();
    {
        std::lock_guard lock(queue.mutex);
        queue.lines.push_back(std::move(line));
    }
    queue.arrived.notify_one();
}

struct EventOptions {
    unsigned count = 0;    // 0: until interrupted
    double seconds = 0.0;  // 0: no limit
};

int printEvents(const EventOptions& options, std::ostream& out, std::ostream& err) {
    interrupted = false;
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    const std::uint8_t started = Capture_cb_data(onEvent);
    if (started != ORVANE_CAPTURE_STARTED) {
        return reportLibraryResult(started, "events", err);
    }
    out << "capturing events (Ctrl-C stops)" << std::endl;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(options.seconds));
    unsigned printed = 0;
    EventQueue& queue = eventQueue();
    while (!interrupted && (options.count == 0 || printed < options.count) &&
           (options.seconds <= 0 || std::chrono::steady_clock::now() < deadline)) {
        std::unique_lock lock(queue.mutex);
        // Short waits, so that Ctrl-C is noticed without a signal-unsafe wake-up.
        queue.arrived.wait_for(lock, 100ms, [&queue] { return !queue.lines.empty(); });
        while (!queue.lines.empty() && (options.count == 0 || printed < options.count)) {
            out << queue.lines.front() << std::endl;
            queue.lines.pop_front();
            ++printed;
        }
    }
    Close_device();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    return kExitOk;
}

// The last progress report of a firmware update.
struct Progress {
    std::mutex mutex;
    std::condition_variable changed;
    std::uint8_t status = 0;
    std::int32_t value = 0;
    unsigned reports = 0;
};

Progress& progress() {
    static Progress state;
    return state;
}

void ORVANE_STDCALL onProgress(std::uint8_t* status, std::int32_t* value) {
    Progress& state = progress();
    {
        std::lock_guard lock(state.mutex);
        state.status = *status;
        state.value = *value;
        ++state.reports;
    }
    state.changed.notify_one();
}

bool isFinal(std::uint8_t status) {
    return status == ORVANE_FW_DONE ||
           (status >= ORVANE_FW_NO_IMAGE && status <= ORVANE_FW_NOT_BACK);
}

std::string describeFirmwareFailure(std::uint8_t status) {
    switch (status) {
        case ORVANE_FW_NO_IMAGE:
            return "the file is empty or larger than 100 blocks of 1024 bytes";
        case ORVANE_FW_SWITCH_REFUSED:
            return "the mouse refused to switch to its boot loader";
        case ORVANE_FW_NO_BOOT_LOADER:
            return "the boot loader did not appear";
        case ORVANE_FW_INFO_REFUSED:
            return "the boot loader refused the image";
        case ORVANE_FW_BLOCK_FAILED:
            return "writing a block failed";
        case ORVANE_FW_IMAGE_REJECTED:
            return "the boot loader rejected the image at the end";
        case ORVANE_FW_NO_MOUSE:
            return "no mouse was found";
        case ORVANE_FW_NOT_BACK:
            return "the mouse did not come back within 30 seconds";
        default:
            return "status " + std::to_string(status);
    }
}

void drawBar(std::ostream& out, std::int32_t percent) {
    constexpr int kWidth = 40;
    const int filled = std::clamp(percent, 0, 100) * kWidth / 100;
    out << "\r[" << std::string(std::size_t(filled), '#')
        << std::string(std::size_t(kWidth - filled), ' ') << "] " << std::clamp(percent, 0, 100)
        << " %" << std::flush;
}

int updateFirmware(const std::string& file, std::ostream& out, std::ostream& err) {
    orvane::DataStream stream;
    std::string error;
    if (!readFileForCommand(file, stream, error)) {
        err << "orvanectl: " << error << '\n';
        return kExitFailure;
    }
    const std::vector<std::uint8_t> image = stream.bytes();
    Progress& state = progress();
    {
        std::lock_guard lock(state.mutex);
        state.status = 0;
        state.reports = 0;
    }
    if (Firmware_update_progress(onProgress) != ORVANE_OK) {
        err << "orvanectl: the library refused the progress callback\n";
        return kExitFailure;
    }
    Update_firmware(static_cast<std::int32_t>(image.size()), image.data());
    std::unique_lock lock(state.mutex);
    unsigned seen = 0;
    for (;;) {
        state.changed.wait(lock, [&] { return state.reports != seen; });
        seen = state.reports;
        if (state.status == ORVANE_FW_PROGRESS) {
            drawBar(out, state.value);
        }
        if (isFinal(state.status)) {
            break;
        }
    }
    out << '\n';
    if (state.status != ORVANE_FW_DONE) {
        err << "orvanectl: firmware update failed: " << describeFirmwareFailure(state.status)
            << '\n';
        return kExitFailure;
    }
    out << "firmware updated; the mouse reports version " << state.value << '\n';
    return kExitOk;
}

}  // namespace

void addEventCommands(CLI::App& parent, Action& chosen) {
    auto options = std::make_shared<EventOptions>();
    CLI::App* events = parent.add_subcommand(
        "events",
        "Print the events the mouse reports (its resolution button, program and "
        "web-page buttons) until Ctrl-C");
    events->add_option("--count", options->count, "Stop after this many events");
    events->add_option("--seconds", options->seconds, "Stop after this long");
    events->callback([options, &chosen] {
        chosen = [options](std::ostream& out, std::ostream& err) {
            return printEvents(*options, out, err);
        };
    });

    auto file = std::make_shared<std::string>();
    CLI::App* firmware = parent.add_subcommand("firmware", "Firmware of the mouse");
    firmware->require_subcommand(1);
    CLI::App* update = firmware->add_subcommand("update", "Write a firmware image into the mouse");
    update->add_option("FILE", *file, "The firmware image")->required();
    update->callback([file, &chosen] {
        chosen = [file](std::ostream& out, std::ostream& err) {
            return updateFirmware(*file, out, err);
        };
    });
}

}  // namespace orvanectl
