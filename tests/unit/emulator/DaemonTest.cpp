#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "emulator/VirtualHidBus.h"
#include "emulator/daemon/BusServer.h"
#include "emulator/tool/EmuCommands.h"
#include "platform/FakeClock.h"
#include "platform/virtual/BusProtocol.h"
#include "platform/virtual/BusSocket.h"
#include "platform/virtual/EmulatorHidBus.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

extern char** environ;

namespace orvane::emulator {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using orvane::test::Program;
using orvane::test::TempDir;
namespace fs = std::filesystem;

// Every wait of these tests ends here at the latest; none is needed when
// things work.
constexpr auto kPatience = 10s;

const EmulatorHidBus::Timing kTestTiming{5000ms, 20ms};

Bytes command(std::initializer_list<std::uint8_t> head, std::size_t size = 64) {
    Bytes report(size, 0);
    std::copy(head.begin(), head.end(), report.begin());
    return report;
}

std::string textOf(const fs::path& file) {
    const std::vector<std::uint8_t> bytes = orvane::test::readBytes(file);
    return {bytes.begin(), bytes.end()};
}

struct ToolResult {
    int status;
    std::string out;
    std::string err;
};

ToolResult runTool(std::vector<std::string> words) {
    words.insert(words.begin(), "orvane-emu");
    std::vector<const char*> argv;
    for (const std::string& word : words) {
        argv.push_back(word.c_str());
    }
    std::ostringstream out;
    std::ostringstream err;
    const int status = runEmuTool(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

// Collects hot-plug events from the client's thread; waits for them with a
// condition variable.
class EventLog {
  public:
    HidBus::HotplugCallback callback() {
        return [this](const HidHotplugEvent& event) {
            {
                std::lock_guard lock(mutex);
                events.push_back(event);
            }
            changed.notify_all();
        };
    }
    // The first `count` events, once they are in (fewer if they never come).
    std::vector<HidHotplugEvent> waitFor(std::size_t count) {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, kPatience, [&] { return events.size() >= count; });
        std::vector<HidHotplugEvent> taken(events.begin(),
                                           events.begin() + std::min(count, events.size()));
        events.erase(events.begin(), events.begin() + static_cast<long>(taken.size()));
        return taken;
    }

  private:
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<HidHotplugEvent> events;
};

// A BusServer on a thread, on a socket in a fresh folder.
class ServedBus {
  public:
    explicit ServedBus(const fs::path& socket, BusServer::Hooks hooks = {},
                       BusServer::Limits limits = {})
        : path(socket.string()), server(bus, std::move(hooks), limits) {
        std::string error;
        listening = server.listen(path, error);
        EXPECT_TRUE(listening) << error;
        thread = std::thread([this] { server.run(); });
    }
    ~ServedBus() { stop(); }
    void stop() {
        server.stop();
        if (thread.joinable()) {
            thread.join();
        }
    }

    FakeClock clock;
    VirtualHidBus bus{clock};
    const std::string path;
    BusServer server;
    bool listening = false;

  private:
    std::thread thread;
};

class DaemonTest : public ::testing::Test {
  protected:
    std::string configPath(HidBus& on) {
        for (const HidDeviceInfo& device : on.enumerate()) {
            if (device.interfaceNumber == VirtualMouse::kConfigInterface) {
                return device.path;
            }
        }
        return {};
    }
    std::unique_ptr<HidDevice> openConfig(HidBus& on) {
        HidError error = HidError::None;
        auto device = on.open(configPath(on), error);
        EXPECT_EQ(error, HidError::None);
        return device;
    }

    TempDir dir;
    const fs::path socket = dir / "emu.sock";
};

// A raw connection to the server, for what no well-behaved client sends.
FileDescriptor rawConnection(const std::string& path) {
    std::string error;
    FileDescriptor fd = connectToBus(path, error);
    EXPECT_TRUE(fd.valid()) << error;
    return fd;
}

void sendBytes(const FileDescriptor& fd, const Bytes& bytes) {
    ASSERT_EQ(::send(fd.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(bytes.size()));
}

std::optional<Message> receive(const FileDescriptor& fd, IoStatus& status) {
    Message message;
    FrameError error = FrameError::None;
    status = receiveMessage(fd.get(), message, std::chrono::steady_clock::now() + kPatience, error);
    if (status != IoStatus::Ok) {
        return std::nullopt;
    }
    return message;
}

TEST_F(DaemonTest, FeatureTransfersThroughTheSocketGiveTheBytesOfTheInProcessBus) {
    ServedBus served(socket);
    FakeClock referenceClock;
    VirtualHidBus reference(referenceClock);
    EmulatorHidBus client(served.path, kTestTiming);
    EXPECT_EQ(client.enumerate(), reference.enumerate());

    Bytes block = command({0xA0, 0x21, 0x02, 0, 0, 0x03}, 1041);
    for (std::size_t i = 16; i < 16 + 1024; ++i) {
        block[i] = static_cast<std::uint8_t>(i * 13);
    }
    std::uint16_t sum = 0;
    for (std::size_t i = 16; i < 16 + 1024; ++i) {
        sum = static_cast<std::uint16_t>(sum + block[i]);
    }
    block[7] = static_cast<std::uint8_t>(sum);
    block[8] = static_cast<std::uint8_t>(sum >> 8);
    const std::vector<std::pair<Bytes, Bytes>> exchanges = {
        {command({0xA1, 0x02}), command({0xA1})},
        {command({0xA1, 0x04, 0, 0, 0, 0x03}), command({0xA1})},
        {command({0xA1, 0x03}), command({0xA1})},
        {block, command({0xA1})},
        {command({0xA1, 0x25, 0x02, 0, 0, 0x03}), command({0xA0}, 1041)},
        {command({0xA1, 0x02}, 10), command({0xA1}, 3)},
    };
    const auto remote = openConfig(client);
    const auto local = openConfig(reference);
    ASSERT_TRUE(remote && local);
    for (const auto& [request, buffer] : exchanges) {
        EXPECT_EQ(remote->sendFeatureReport(request), local->sendFeatureReport(request));
        Bytes remoteReply = buffer;
        Bytes localReply = buffer;
        EXPECT_EQ(remote->getFeatureReport(remoteReply), local->getFeatureReport(localReply));
        EXPECT_EQ(remoteReply, localReply) << "command " << int(request[1]);
    }
    EXPECT_EQ(served.bus.withMouse([](VirtualMouse& m) { return m.saveState(); }),
              reference.withMouse([](VirtualMouse& m) { return m.saveState(); }));
}

TEST_F(DaemonTest, ClientsCarryOnWhileAnotherVanishesInTheMiddleOfAFrame) {
    ServedBus served(socket);
    EmulatorHidBus client(served.path, kTestTiming);
    const auto first = openConfig(client);
    const auto second = openConfig(client);
    ASSERT_TRUE(first && second);

    // One that stalls inside a frame and one that leaves inside a frame.
    const FileDescriptor stalled = rawConnection(served.path);
    sendBytes(stalled, {100, 0, 0, 0, 0x04, 1, 0});
    {
        const FileDescriptor vanishing = rawConnection(served.path);
        sendBytes(vanishing, {100, 0, 0, 0, 0x04, 1, 0, 0, 0, 64});
    }

    const auto talk = [](HidDevice& device, bool& fine) {
        fine = true;
        for (int i = 0; i < 50; ++i) {
            Bytes reply = command({0xA1});
            fine = fine && device.sendFeatureReport(command({0xA1, 0x02})) == HidError::None &&
                   device.getFeatureReport(reply) == HidError::None && reply[1] == 1;
        }
    };
    bool firstFine = false;
    bool secondFine = false;
    std::thread other([&] { talk(*second, secondFine); });
    talk(*first, firstFine);
    other.join();
    EXPECT_TRUE(firstFine);
    EXPECT_TRUE(secondFine);
}

TEST_F(DaemonTest, MalformedFramesAreAnsweredAndOnlyAnUnusableLengthEndsTheConnection) {
    ServedBus served(socket);
    const FileDescriptor fd = rawConnection(served.path);
    IoStatus status = IoStatus::Ok;
    const std::vector<Bytes> refused = {
        {1, 0, 0, 0, 0x5A},              // unknown type
        {5, 0, 0, 0, 0x02, 9, 0, 0, 0},  // a path longer than its frame
        {2, 0, 0, 0, 0x01, 0},           // a byte after the last field
        {3, 0, 0, 0, 0x80, 0, 0},        // a reply, not a request
        {5, 0, 0, 0, 0x03, 7, 0, 0, 0},  // a handle never opened
        {2, 0, 0, 0, 0x22, 9},           // resolution level 9
    };
    for (const Bytes& frame : refused) {
        sendBytes(fd, frame);
        const std::optional<Message> reply = receive(fd, status);
        ASSERT_TRUE(reply) << int(frame[4]);
        EXPECT_TRUE(std::holds_alternative<FailureReply>(*reply)) << int(frame[4]);
    }
    sendBytes(fd, encodeFrame(EnumerateRequest{}));
    const std::optional<Message> listed = receive(fd, status);
    ASSERT_TRUE(listed);
    EXPECT_EQ(std::get<DeviceListReply>(*listed).devices.size(), 3U);

    sendBytes(fd, {0xFF, 0xFF, 0xFF, 0x7F});
    const std::optional<Message> last = receive(fd, status);
    ASSERT_TRUE(last);
    EXPECT_TRUE(std::holds_alternative<FailureReply>(*last));
    EXPECT_FALSE(receive(fd, status));
    EXPECT_EQ(status, IoStatus::Closed);
    EXPECT_EQ(EmulatorHidBus(served.path, kTestTiming).enumerate().size(), 3U);
}

TEST_F(DaemonTest, OnlyItsOwnUserMayConnectToTheSocket) {
    ServedBus served(socket);
    EXPECT_EQ(fs::status(socket).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    if (::geteuid() != 0) {
        GTEST_SKIP() << "trying another user needs root";
    }
    // Another user, even one that may enter the folder, is turned away.
    fs::permissions(dir.path(), fs::perms::others_exec, fs::perm_options::add);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, served.path.c_str(), sizeof address.sun_path - 1);
    // The child only makes system calls: other threads run in this process.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::setuid(65534) != 0 || fd < 0) {
            ::_exit(2);
        }
        ::_exit(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0
                    ? 1
                    : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(DaemonTest, AFrameLongerThanTheBusAllowsIsRefusedAndEndsTheConnection) {
    ServedBus served(socket);
    // The longest frame is taken (a state it is not, but a frame it is)...
    const FileDescriptor longest = rawConnection(served.path);
    std::string text(kMaxFrameBody - 5, 'x');
    sendBytes(longest, encodeFrame(LoadStateRequest{text}));
    IoStatus status = IoStatus::Ok;
    const std::optional<Message> refusedState = receive(longest, status);
    ASSERT_TRUE(refusedState);
    EXPECT_NE(std::get<FailureReply>(*refusedState).reason.find("not a saved state"),
              std::string::npos);
    // ...one byte more is not even read.
    const FileDescriptor longer = rawConnection(served.path);
    const std::uint32_t tooLong = kMaxFrameBody + 1;
    sendBytes(longer, {static_cast<std::uint8_t>(tooLong), static_cast<std::uint8_t>(tooLong >> 8),
                       static_cast<std::uint8_t>(tooLong >> 16), 0, 0x29});
    const std::optional<Message> refused = receive(longer, status);
    ASSERT_TRUE(refused);
    EXPECT_EQ(std::get<FailureReply>(*refused).reason, "frame longer than the bus allows");
    EXPECT_FALSE(receive(longer, status));
    EXPECT_EQ(status, IoStatus::Closed);
}

// Reads replies until the daemon closes the connection; how long that took.
std::optional<std::chrono::steady_clock::duration> timeUntilDropped(const FileDescriptor& fd) {
    const auto start = std::chrono::steady_clock::now();
    IoStatus status = IoStatus::Ok;
    while (receive(fd, status)) {
    }
    if (status != IoStatus::Closed) {
        return std::nullopt;
    }
    return std::chrono::steady_clock::now() - start;
}

TEST_F(DaemonTest, AClientThatStopsInTheMiddleOfAFrameIsDroppedAtTheDeadline) {
    BusServer::Limits limits;
    limits.frameDeadline = 200ms;
    ServedBus served(socket, {}, limits);
    const FileDescriptor idle = rawConnection(served.path);
    const FileDescriptor stalled = rawConnection(served.path);
    sendBytes(stalled, {100, 0, 0, 0, 0x04, 1, 0});
    IoStatus status = IoStatus::Ok;
    const std::optional<Message> told = receive(stalled, status);
    ASSERT_TRUE(told);
    EXPECT_EQ(std::get<FailureReply>(*told).reason, "frame not finished in time");
    EXPECT_FALSE(receive(stalled, status));
    EXPECT_EQ(status, IoStatus::Closed);
    // Waiting between frames has no deadline.
    sendBytes(idle, encodeFrame(EnumerateRequest{}));
    const std::optional<Message> listed = receive(idle, status);
    ASSERT_TRUE(listed);
    EXPECT_TRUE(std::holds_alternative<DeviceListReply>(*listed));
}

TEST_F(DaemonTest, AClientThatReadsNoRepliesIsDroppedWhileOthersAreServed) {
    BusServer::Limits limits;
    limits.replyDeadline = 200ms;
    ServedBus served(socket, {}, limits);
    const FileDescriptor deaf = rawConnection(served.path);
    // Requests with large replies until the daemon gives up on it: its
    // sends then fail, since the daemon closed the connection.
    const Bytes request = encodeFrame(SaveStateRequest{});
    const auto start = std::chrono::steady_clock::now();
    bool closed = false;
    while (!closed && std::chrono::steady_clock::now() - start < kPatience) {
        const ssize_t put =
            ::send(deaf.get(), request.data(), request.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (put < 0 && errno != EAGAIN) {
            closed = true;
        } else if (put < 0) {
            EXPECT_EQ(EmulatorHidBus(served.path, kTestTiming).enumerate().size(), 3U);
            std::this_thread::sleep_for(20ms);
        }
    }
    EXPECT_TRUE(closed);
    EXPECT_EQ(EmulatorHidBus(served.path, kTestTiming).enumerate().size(), 3U);
}

TEST_F(DaemonTest, AClientSendingGarbageIsDroppedWhileAnotherKeepsTalking) {
    ServedBus served(socket);
    EmulatorHidBus client(served.path, kTestTiming);
    const auto device = openConfig(client);
    ASSERT_TRUE(device);
    std::mt19937 random(19);
    std::vector<std::optional<std::chrono::steady_clock::duration>> dropped;
    std::thread garbage([&] {
        for (int round = 0; round < 20; ++round) {
            const FileDescriptor fd = rawConnection(served.path);
            Bytes noise(512);
            for (std::uint8_t& byte : noise) {
                byte = static_cast<std::uint8_t>(random());
            }
            ::send(fd.get(), noise.data(), noise.size(), MSG_NOSIGNAL);
            dropped.push_back(timeUntilDropped(fd));
        }
    });
    bool fine = true;
    for (int i = 0; i < 100; ++i) {
        Bytes reply = command({0xA1});
        fine = fine && device->sendFeatureReport(command({0xA1, 0x02})) == HidError::None &&
               device->getFeatureReport(reply) == HidError::None && reply[1] == 1;
    }
    garbage.join();
    EXPECT_TRUE(fine);
    ASSERT_EQ(dropped.size(), 20U);
    for (const auto& took : dropped) {
        ASSERT_TRUE(took.has_value());
        EXPECT_LT(*took, BusServer::Limits{}.frameDeadline + 1s);
    }
}

TEST_F(DaemonTest, SeventyClientsStuckInHalfAFrameLeaveRoomForTheTool) {
    ServedBus served(socket);
    std::vector<FileDescriptor> stuck;
    for (int i = 0; i < 70; ++i) {
        stuck.push_back(rawConnection(served.path));
        sendBytes(stuck.back(), {100, 0, 0, 0, 0x04, 1, 0});
    }
    const ToolResult dump = runTool({"--socket", served.path, "dump"});
    ASSERT_EQ(dump.status, kToolOk) << dump.err;
    EXPECT_EQ(nlohmann::json::parse(dump.out)["plugged"], true);
}

TEST_F(DaemonTest, WhenEverySlotIsTakenTheLongestIdleClientMakesRoom) {
    ServedBus served(socket);
    std::vector<FileDescriptor> idle;
    for (std::size_t i = 0; i < BusServer::kMaxClients; ++i) {
        idle.push_back(rawConnection(served.path));
        // Each is accepted (and starts to wait) before the next arrives.
        sendBytes(idle.back(), encodeFrame(EnumerateRequest{}));
        IoStatus status = IoStatus::Ok;
        ASSERT_TRUE(receive(idle.back(), status));
    }
    EmulatorHidBus newcomer(served.path, kTestTiming);
    EXPECT_EQ(newcomer.enumerate().size(), 3U);
    IoStatus status = IoStatus::Ok;
    EXPECT_FALSE(receive(idle.front(), status));
    EXPECT_EQ(status, IoStatus::Closed);
    sendBytes(idle[1], encodeFrame(EnumerateRequest{}));
    EXPECT_TRUE(receive(idle[1], status));
}

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST_F(DaemonTest, AThousandClientsComingAndGoingAtRandomLeaveTheDaemonAnswering) {
    ServedBus served(socket);
    EmulatorHidBus{served.path, kTestTiming}.enumerate();
    const std::size_t threadsBefore = entriesIn("/proc/self/task");
    const std::size_t descriptorsBefore = entriesIn("/proc/self/fd");
    const Bytes request = encodeFrame(SaveStateRequest{});
    const auto visit = [&](unsigned seed) {
        std::mt19937 random(seed);
        for (int i = 0; i < 250; ++i) {
            std::string error;
            const FileDescriptor fd = connectToBus(served.path, error);
            if (!fd.valid()) {
                continue;
            }
            // Leaves at once, half-way through a request, before its reply,
            // half-way through the reply, after it, or as a subscriber.
            const unsigned how = random() % 6;
            const std::size_t sent = how == 1 ? random() % request.size() : request.size();
            if (how == 0) {
                continue;
            }
            const Bytes& bytes = how == 5 ? encodeFrame(SubscribeRequest{}) : request;
            ::send(fd.get(), bytes.data(), how == 5 ? bytes.size() : sent, MSG_NOSIGNAL);
            if (how >= 3) {
                char some[512];
                ::recv(fd.get(), some, how == 3 ? sizeof some : 1, 0);
            }
        }
    };
    std::vector<std::thread> visitors;
    for (unsigned seed = 1; seed <= 4; ++seed) {
        visitors.emplace_back(visit, seed);
    }
    for (std::thread& visitor : visitors) {
        visitor.join();
    }
    EmulatorHidBus client(served.path, kTestTiming);
    EXPECT_EQ(client.enumerate().size(), 3U);
    const ToolResult dump = runTool({"--socket", served.path, "dump"});
    EXPECT_EQ(dump.status, kToolOk) << dump.err;
    // Every visitor's thread and descriptor is gone again.
    const auto start = std::chrono::steady_clock::now();
    while ((entriesIn("/proc/self/task") > threadsBefore ||
            entriesIn("/proc/self/fd") > descriptorsBefore) &&
           std::chrono::steady_clock::now() - start < kPatience) {
        std::this_thread::sleep_for(10ms);
        EmulatorHidBus{served.path, kTestTiming}.enumerate();
    }
    EXPECT_LE(entriesIn("/proc/self/task"), threadsBefore);
    EXPECT_LE(entriesIn("/proc/self/fd"), descriptorsBefore);
}

TEST_F(DaemonTest, SubscribedClientsHearUnplugAndPlug) {
    ServedBus served(socket);
    EmulatorHidBus client(served.path, kTestTiming);
    EventLog log;
    const auto subscription = client.watch(log.callback());
    const std::vector<HidDeviceInfo> before = served.bus.enumerate();

    ASSERT_EQ(runTool({"--socket", served.path, "unplug"}).status, kToolOk);
    const std::vector<HidHotplugEvent> removals = log.waitFor(3);
    ASSERT_EQ(removals.size(), 3U);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(removals[i].kind, HidHotplugEvent::Kind::Removal);
        EXPECT_EQ(removals[i].device, before[i]);
        EXPECT_EQ(removals[i].interfaceName, virtualInterfaceName(before[i]));
    }

    ASSERT_EQ(runTool({"plug", "--socket", served.path}).status, kToolOk);
    const std::vector<HidHotplugEvent> arrivals = log.waitFor(3);
    ASSERT_EQ(arrivals.size(), 3U);
    EXPECT_EQ(arrivals[0].kind, HidHotplugEvent::Kind::Arrival);
    EXPECT_EQ(arrivals[0].device, served.bus.enumerate()[0]);
    EXPECT_EQ(arrivals[0].interfaceName.rfind("HID#VID_1209&PID_0001&MI_00#", 0), 0U);
}

TEST_F(DaemonTest, InputReportsReachTheOpenHandlesOfAClient) {
    ServedBus served(socket);
    EmulatorHidBus client(served.path, kTestTiming);
    const auto device = openConfig(client);
    ASSERT_TRUE(device);
    Bytes report(9);
    std::size_t length = 99;
    EXPECT_EQ(device->readInputReport(report, 0ms, length), HidError::None);
    EXPECT_EQ(length, 0U);

    ASSERT_EQ(runTool({"--socket", served.path, "press-dpi-button", "3"}).status, kToolOk);
    EXPECT_EQ(device->readInputReport(report, kPatience, length), HidError::None);
    EXPECT_EQ(std::vector(report.begin(), report.begin() + static_cast<long>(length)),
              (Bytes{0x03, 0x02, 2, 0, 0, 0, 0, 0, 0}));
}

// Over the socket too a read may wait for ever: the daemon holds it until a
// report comes, and a cancel ends it at once (the capture's stop).
TEST_F(DaemonTest, AReadThatWaitsForEverEndsWithAReportOrACancel) {
    ServedBus served(socket);
    EmulatorHidBus client(served.path, kTestTiming);
    const auto device = openConfig(client);
    ASSERT_TRUE(device);
    Bytes report(9);
    std::size_t length = 0;
    std::thread pressing([&] {
        EXPECT_EQ(runTool({"--socket", served.path, "press-dpi-button", "4"}).status, kToolOk);
    });
    EXPECT_EQ(device->readInputReport(report, HidDevice::kWaitForever, length), HidError::None);
    pressing.join();
    EXPECT_EQ(std::vector(report.begin(), report.begin() + static_cast<long>(length)),
              (Bytes{0x03, 0x02, 3, 0, 0, 0, 0, 0, 0}));

    std::atomic<std::size_t> cancelledLength{99};
    std::thread reader([&] {
        Bytes mine(9);
        std::size_t got = 99;
        EXPECT_EQ(device->readInputReport(mine, HidDevice::kWaitForever, got), HidError::None);
        cancelledLength = got;
    });
    device->cancelInputRead();
    reader.join();
    EXPECT_EQ(cancelledLength.load(), 0U);
    EXPECT_EQ(device->readInputReport(report, HidDevice::kWaitForever, length), HidError::None);
    EXPECT_EQ(length, 0U);
    // The daemon dropped the abandoned request with its connection; other
    // clients are served as before.
    EmulatorHidBus other(served.path, kTestTiming);
    EXPECT_TRUE(openConfig(other));
}

TEST_F(DaemonTest, AReplyThatNeverCompletesReachesTheClientAsTimeout) {
    ServedBus served(socket);
    EmulatorHidBus client(served.path, kTestTiming);
    const auto device = openConfig(client);
    ASSERT_TRUE(device);
    ASSERT_EQ(runTool({"--socket", served.path, "fault", "never-reply", "1"}).status, kToolOk);
    ASSERT_EQ(device->sendFeatureReport(command({0xA1, 0x02})), HidError::None);
    Bytes reply = command({0xA1});
    EXPECT_EQ(device->getFeatureReport(reply), HidError::Timeout);
    EXPECT_EQ(served.clock.sleeps(), std::vector<Clock::Duration>{5000ms});
    EXPECT_EQ(device->getFeatureReport(reply), HidError::None);
    EXPECT_EQ(reply[1], 1);
}

TEST_F(DaemonTest, WhenTheServerGoesCallsFailAndWatchersHearTheMouseGoAndComeBack) {
    auto served = std::make_unique<ServedBus>(socket);
    EmulatorHidBus client(served->path, kTestTiming);
    const auto device = openConfig(client);
    ASSERT_TRUE(device);
    EventLog log;
    const auto subscription = client.watch(log.callback());

    served.reset();
    Bytes reply = command({0xA1});
    EXPECT_EQ(device->sendFeatureReport(command({0xA1, 0x02})), HidError::DeviceNotConnected);
    EXPECT_EQ(device->getFeatureReport(reply), HidError::DeviceNotConnected);
    EXPECT_TRUE(client.enumerate().empty());
    HidError error = HidError::None;
    EXPECT_EQ(client.open("orvane-emu/1/app/0", error), nullptr);
    EXPECT_EQ(error, HidError::DeviceNotConnected);
    const std::vector<HidHotplugEvent> gone = log.waitFor(3);
    ASSERT_EQ(gone.size(), 3U);
    EXPECT_EQ(gone[0].kind, HidHotplugEvent::Kind::Removal);

    served = std::make_unique<ServedBus>(socket);
    const std::vector<HidHotplugEvent> back = log.waitFor(3);
    ASSERT_EQ(back.size(), 3U);
    EXPECT_EQ(back[0].kind, HidHotplugEvent::Kind::Arrival);
    EXPECT_EQ(back[0].device, served->bus.enumerate()[0]);
}

TEST_F(DaemonTest, ToolDumpPrintsTheMouseAsJson) {
    ServedBus served(socket);
    const ToolResult whole = runTool({"--socket", served.path, "dump"});
    ASSERT_EQ(whole.status, kToolOk) << whole.err;
    const auto json = nlohmann::json::parse(whole.out);
    EXPECT_EQ(json["plugged"], true);
    EXPECT_EQ(json["activeSlot"], 0);

    const ToolResult slot = runTool({"dump", "--slot", "2", "--socket", served.path});
    ASSERT_EQ(slot.status, kToolOk) << slot.err;
    EXPECT_EQ(
        nlohmann::json::parse(slot.out),
        nlohmann::json::parse(served.bus.withMouse([](VirtualMouse& m) { return m.dumpJson(2); })));
    EXPECT_EQ(runTool({"dump", "--slot", "5", "--socket", served.path}).status, kToolUsage);
}

TEST_F(DaemonTest, ToolCommandsChangeTheServedMouse) {
    ServedBus served(socket);
    const auto faults = [&] {
        const auto device = openConfig(served.bus);
        Bytes reply = command({0xA1});
        device->sendFeatureReport(command({0xA1, 0x02}));
        const HidError first = device->getFeatureReport(reply);
        return std::pair(first, reply[1]);
    };
    ASSERT_EQ(runTool({"--socket", served.path, "fault", "get-fail", "1", "31"}).status, kToolOk);
    EXPECT_EQ(faults().first, HidError::GeneralFailure);
    ASSERT_EQ(runTool({"--socket", served.path, "fault", "busy", "1", "4"}).status, kToolOk);
    EXPECT_EQ(faults(), std::pair(HidError::None, std::uint8_t{4}));
    ASSERT_EQ(runTool({"--socket", served.path, "fault", "status-zero", "5"}).status, kToolOk);
    ASSERT_EQ(runTool({"--socket", served.path, "fault", "clear"}).status, kToolOk);
    EXPECT_EQ(faults(), std::pair(HidError::None, std::uint8_t{1}));
    EXPECT_EQ(runTool({"--socket", served.path, "fault", "busy", "1", "5"}).status, kToolUsage);

    ASSERT_EQ(runTool({"--socket", served.path, "press-dpi-button", "4"}).status, kToolOk);
    // Any name will do, with or without an extension.
    const fs::path saved = dir / "copies" / "saved";
    ASSERT_EQ(runTool({"--socket", served.path, "save", saved.string()}).status, kToolOk);
    ASSERT_EQ(runTool({"--socket", served.path, "press-dpi-button", "1"}).status, kToolOk);
    const ToolResult loaded = runTool({"--socket", served.path, "load", saved.string()});
    ASSERT_EQ(loaded.status, kToolOk) << loaded.err;
    EXPECT_EQ(served.bus.withMouse([](VirtualMouse& m) { return m.saveState(); }), textOf(saved));

    orvane::test::writeBytes(dir / "garbage", {'{', '}'});
    const ToolResult refused =
        runTool({"--socket", served.path, "load", (dir / "garbage").string()});
    EXPECT_EQ(refused.status, kToolFailure);
    EXPECT_NE(refused.err.find("not a saved state"), std::string::npos) << refused.err;

    // The factory profile has no program or web-page button.
    const ToolResult pressed = runTool({"--socket", served.path, "press-button", "2"});
    EXPECT_EQ(pressed.status, kToolFailure);
    EXPECT_NE(pressed.err.find("button 2"), std::string::npos);

    ASSERT_EQ(runTool({"--socket", served.path, "unplug"}).status, kToolOk);
    EXPECT_TRUE(served.bus.enumerate().empty());
}

TEST_F(DaemonTest, ToolSaysSoWhenNoDaemonAnswers) {
    const ToolResult result = runTool({"--socket", socket.string(), "plug"});
    EXPECT_EQ(result.status, kToolFailure);
    EXPECT_NE(result.err.find("no simulated mouse answers on " + socket.string()),
              std::string::npos)
        << result.err;
}

TEST_F(DaemonTest, ASocketIsServedOnceAndOnlyASocketIsEverReplaced) {
    {
        ServedBus served(socket);
        VirtualHidBus other;
        BusServer second(other);
        std::string error;
        EXPECT_FALSE(second.listen(served.path, error));
        EXPECT_NE(error.find("already"), std::string::npos) << error;
        EXPECT_EQ(EmulatorHidBus(served.path, kTestTiming).enumerate().size(), 3U);
    }
    EXPECT_FALSE(fs::exists(socket));

    // A socket file that nobody listens on, as a killed daemon leaves it.
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, socket.c_str());
        const FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM, 0));
        ASSERT_EQ(::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    }
    ASSERT_TRUE(fs::is_socket(socket));
    {
        ServedBus served(socket);
        EXPECT_TRUE(served.listening);
        EXPECT_EQ(EmulatorHidBus(served.path, kTestTiming).enumerate().size(), 3U);
    }

    const fs::path file = dir / "notes.txt";
    orvane::test::writeBytes(file, {'k', 'e', 'e', 'p'});
    VirtualHidBus bus;
    BusServer server(bus);
    std::string error;
    EXPECT_FALSE(server.listen(file.string(), error));
    EXPECT_EQ(orvane::test::readBytes(file), (Bytes{'k', 'e', 'e', 'p'}));
}

TEST_F(DaemonTest, ChangesAreSavedBeforeTheClientHearsOfThem) {
    std::atomic<int> saves{0};
    BusServer::Hooks hooks;
    hooks.changed = [&saves] { ++saves; };
    ServedBus served(socket, hooks);
    ASSERT_EQ(runTool({"--socket", served.path, "press-dpi-button", "2"}).status, kToolOk);
    EXPECT_EQ(saves.load(), 1);
    ASSERT_EQ(runTool({"--socket", served.path, "dump"}).status, kToolOk);
    EXPECT_EQ(saves.load(), 1);
}

// ----- the real programs -----

TEST_F(DaemonTest, TheDaemonServesOnceKeepsItsStateAndCleansUpWhenTerminated) {
    const std::string state = (dir / "state" / "mouse.json").string();
    const std::string path = socket.string();
    {
        Program daemon({ORVANE_EMUD_PATH, "--foreground", "--socket", path, "--state", state});
        ASSERT_TRUE(daemon.outputShows("serving on " + path)) << daemon.err;

        Program second({ORVANE_EMUD_PATH, "--foreground", "--socket", path});
        EXPECT_EQ(second.exitStatus(), 1);
        EXPECT_NE(second.err.find("already"), std::string::npos) << second.err;

        ASSERT_EQ(runTool({"--socket", path, "press-dpi-button", "4"}).status, kToolOk);
        Program dump({ORVANE_EMU_PATH, "dump", "--socket", path});
        EXPECT_EQ(dump.exitStatus(), 0) << dump.err;
        EXPECT_TRUE(nlohmann::json::parse(dump.out, nullptr, false).is_object()) << dump.out;

        daemon.signal(SIGTERM);
        EXPECT_EQ(daemon.exitStatus(), 0) << daemon.err;
        EXPECT_FALSE(fs::exists(socket));
    }
    // The press is in it.
    const std::string saved = textOf(state);
    EXPECT_NE(saved, VirtualMouse().saveState());

    Program again(
        {ORVANE_EMUD_PATH, "--foreground", "--unplugged", "--socket", path, "--state", state});
    ASSERT_TRUE(again.outputShows("serving on")) << again.err;
    EXPECT_TRUE(EmulatorHidBus(path, kTestTiming).enumerate().empty());
    ASSERT_EQ(runTool({"--socket", path, "plug"}).status, kToolOk);
    const fs::path copy = dir / "copy.json";
    ASSERT_EQ(runTool({"--socket", path, "save", copy.string()}).status, kToolOk);
    EXPECT_EQ(textOf(copy), saved);
    again.signal(SIGINT);
    EXPECT_EQ(again.exitStatus(), 0);
}

TEST_F(DaemonTest, ADamagedStateFileStopsTheDaemonInsteadOfBeingOverwritten) {
    const fs::path state = dir / "mouse.json";
    orvane::test::writeBytes(state, {'{', '"', 'x'});
    Program daemon(
        {ORVANE_EMUD_PATH, "--foreground", "--socket", socket.string(), "--state", state.string()});
    EXPECT_EQ(daemon.exitStatus(), 1);
    EXPECT_NE(daemon.err.find("not a saved state"), std::string::npos) << daemon.err;
    EXPECT_EQ(orvane::test::readBytes(state), (Bytes{'{', '"', 'x'}));
    EXPECT_FALSE(fs::exists(socket));
}

TEST_F(DaemonTest, InTheBackgroundTheDaemonAnswersAsSoonAsItsStarterReturns) {
    Program starter({ORVANE_EMUD_PATH, "--socket", socket.string()});
    ASSERT_EQ(starter.exitStatus(), 0) << starter.err;
    EXPECT_EQ(EmulatorHidBus(socket.string(), kTestTiming).enumerate().size(), 3U);

    const std::size_t at = starter.out.find("(pid ");
    ASSERT_NE(at, std::string::npos) << starter.out;
    const pid_t pid = std::stoi(starter.out.substr(at + 5));
    // Not our child: its end shows on a process descriptor.
    const FileDescriptor process(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
    ASSERT_TRUE(process.valid());
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    pollfd entry{process.get(), POLLIN, 0};
    EXPECT_EQ(::poll(&entry, 1, static_cast<int>(kPatience / 1ms)), 1);
    EXPECT_FALSE(fs::exists(socket));
}

}  // namespace
}  // namespace orvane::emulator
