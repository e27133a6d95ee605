#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/BootLoader.h"
#include "emulator/MouseMemory.h"
#include "emulator/Reports.h"
#include "platform/HidDeviceInfo.h"
#include "platform/HidError.h"
#include "platform/virtual/Fault.h"
#include "protocol/DeviceIds.h"
#include "protocol/FirmwareRelease.h"

namespace orvane::emulator {

// What the simulated mouse is built as.
struct VirtualMouseOptions {
    std::uint16_t vendorId;
    std::uint16_t productId;
    std::uint16_t bootLoaderProductId;
    // The firmware the build's update folder carries, so a new mouse is up to date.
    std::uint16_t releaseNumber = kShippedFirmwareVersion;    // HID attributes, application mode
    std::uint16_t firmwareVersion = kShippedFirmwareVersion;  // what the version command reports
    std::uint16_t bootLoaderVersion = 0x0100;
    VirtualMouseOptions();  // the ids of DeviceIds.h
};

// The outcome of one feature transfer.
struct TransferResult {
    HidError error = HidError::None;
    // The transfer never completes; the host waits its own time-out and then
    // reports HidError::Timeout.
    bool neverCompletes = false;
};

// Something the host must pass on to the bus's clients.
struct Notice {
    enum class Kind { Arrival, Removal, InputReport };
    Kind kind = Kind::Arrival;
    HidDeviceInfo device;              // the interface that arrived, went or reported
    std::vector<std::uint8_t> report;  // InputReport: the bytes, report id first
};

// A model of the mouse's firmware: five profile slots with the 2048-byte
// images the application writes, the library's profile blocks and button data
// blocks, the active profile, surface analysis, versions, input reports and a
// boot-loader mode with its own product id. It knows nothing of sockets or
// threads; hosts (the in-process bus, the daemon) serialise calls to it.
//
// How it answers:
// - Every accepted request leaves a reply for the next gets: status 1
//   (kStatusDone) with its value bytes, or status 2 (kStatusFailed) for an
//   unknown command, an argument out of range, a wrong sum or a refused
//   step. A get with no new request answers the last reply again; before the
//   first request of a plug-in it answers status 0.
// - A set must be exactly as long as its report: 64 bytes for 0xA1 and 1041
//   for 0xA0 in application mode, 1041 for both in the boot loader. Any
//   other length, an unknown report id or an empty buffer fails with
//   InvalidParameter and changes nothing. The compliant and pointer
//   interfaces carry no feature reports (GeneralFailure).
// - There is one active profile: slot 0..4 for the application, profile
//   slot + 1 for the library. The library's profiles can be deleted (never
//   the last one; deleting the active one makes the lowest remaining profile
//   active) and added again; the application selecting a slot makes that
//   profile present again.
// - The switch to the boot loader (A1 3A with the unlock bytes) and back
//   (an accepted finish) happens once its reply has been read: the old
//   interfaces go, the new ones arrive under a new plug-in number.
// - A firmware image starting with kFirmwareTag carries its version in bytes
//   kFirmwareVersionOffset and the next (little-endian); an accepted image
//   sets the firmware version and the application-mode release number to
//   it. An image without the tag keeps the version the mouse had.
// - A new mouse holds factory contents (see MouseMemory.h) and is plugged in,
//   its arrivals waiting in the notices. All of its memory survives
//   unplugging; a reply not yet read and an unfinished firmware upload do
//   not.
// - Faults apply to the transfers that reach the mouse, in the order they
//   were added: a failed set drops its request, a failed, busy, status-0 or
//   unanswered get keeps the reply for a later get. UnplugOnTransfer counts
//   sets and gets alike; the transfer it strikes fails with
//   DeviceNotConnected and is not carried out.
// - The buttons do nothing while the mouse is unplugged or in its boot
//   loader; a resolution level outside 1..5 is ignored.
// - loadState takes the saved plug state and mode; a mouse that was or is
//   plugged in is enumerated afresh (removals, then arrivals).
class VirtualMouse {
  public:
    static constexpr int kConfigInterface =
        kConfigInterfaceNumber;                    // 0xFF01/0x0002: features and event reports
    static constexpr int kCompliantInterface = 1;  // 0xFF02/0x0001
    static constexpr int kPointerInterface = 2;    // 0x0001/0x0002, the plain pointer
    static constexpr std::size_t kSlotCount = 5;
    static constexpr std::size_t kImageSize = 2048;
    static constexpr std::size_t kBlockSize = 1024;

    explicit VirtualMouse(const VirtualMouseOptions& options = {});

    // ----- the bus side -----

    // The interfaces the bus lists now: none while unplugged; config,
    // compliant and pointer interfaces in application mode (in that order);
    // the config interface alone, with the boot-loader product id, in
    // boot-loader mode. Each path names the interface and the plug-in it
    // belongs to ("orvane-emu/<plug count>/<mode>/<interface>"), so a handle
    // kept across an unplug or a mode change fails with DeviceNotConnected.
    std::vector<HidDeviceInfo> interfaces() const;
    bool isPresent(const std::string& path) const;

    // Feature transfers on the interface with that path. Byte 0 is the report
    // id. A get fills the buffer with the pending reply (its report id, its
    // status in byte 1, its payload), as many bytes as both have.
    TransferResult setFeature(const std::string& path, std::span<const std::uint8_t> report);
    TransferResult getFeature(const std::string& path, std::span<std::uint8_t> report);

    // Arrivals, removals and input reports since the last call, in order.
    std::vector<Notice> takeNotices();

    // ----- the control side -----

    void plug();
    void unplug();
    bool plugged() const;
    bool inBootLoader() const;

    // The mouse's own resolution button: the level (1..5) becomes active in
    // the active slot and an input report of kind 2 goes out with the level
    // counted from 0 (level 1 reports 0).
    void pressDpiButton(std::uint8_t level);
    // A button (1..6) of the active profile: a program or web-page button
    // sends its input report (kind 0x23 or 0x24); false for any other.
    bool pressButton(int button);
    // The value the next surface-quality read reports.
    void setSurfaceQuality(std::uint8_t quality);
    // Another firmware (0x0100 for 1.00), as if it had been flashed: the
    // version command and the HID attributes both report it. A host sees the
    // new release number when it next enumerates the mouse.
    void setFirmwareVersion(std::uint16_t version);

    void addFault(const Fault& fault);
    void clearFaults();

    std::uint8_t activeSlot() const;
    // Zeros for a slot outside 0..4.
    std::array<std::uint8_t, kImageSize> slotImage(std::size_t slot) const;
    std::uint16_t firmwareVersion() const;

    // The whole state as JSON (for `orvane-emu dump` and the state file);
    // `slot` limits it to one slot's image and settings.
    std::string dumpJson(std::optional<std::size_t> slot = std::nullopt) const;
    std::string saveState() const;
    // Replaces the state with a saved one; false (state unchanged, `error`
    // says why) for text that is not a complete saved state.
    bool loadState(std::string_view text, std::string& error);

    // ----- inspection -----

    // The library's profile block of profile 1..5 and the data block of its
    // button 1..6; zeros for numbers outside.
    std::array<std::uint8_t, kBlockSize> profileBlock(std::size_t profile) const;
    std::array<std::uint8_t, kBlockSize> dataBlock(std::size_t profile, std::size_t button) const;

    // The last requests the firmware took in (oldest first), whatever it made
    // of them: what a program built on the library really sent. `dumpJson`
    // shows them too; they are not part of the saved state.
    static constexpr std::size_t kRecentRequestCount = 32;
    std::vector<std::vector<std::uint8_t>> recentRequests() const;

  private:
    struct State {
        VirtualMouseOptions options;
        MouseMemory memory;
        bool plugged = false;
        // Counts every enumeration (plug-in or mode change), so that paths of
        // an earlier one never match again.
        unsigned plugCount = 0;
        std::vector<std::uint8_t> reply;
        ModeChange changeOnDelivery = ModeChange::None;
        BootLoader bootLoader;
        std::vector<Fault> faults;
        std::vector<Notice> notices;
        std::deque<std::vector<std::uint8_t>> recentRequests;
    };

    std::string pathPrefix() const;
    std::optional<int> interfaceAt(const std::string& path) const;
    HidDeviceInfo configInterface() const;
    void announce(Notice::Kind kind);
    void forgetVolatileState();
    void changeMode(bool bootLoader);
    void applyPendingChange();
    bool unplugDue();
    std::optional<Fault> takeFault(bool forSet);
    std::size_t reportSize(std::uint8_t reportId) const;
    void sendInputReport(std::vector<std::uint8_t> report);

    State state;
};

}  // namespace orvane::emulator
