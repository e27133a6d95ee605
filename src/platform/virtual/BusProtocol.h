#pragma once

// The simulated mouse's bus as orvane-emud serves it on a Unix stream socket
// to the virtual HID backend and to orvane-emu.
//
// Frame:   u32 length     the bytes that follow: type and payload, 1 to kMaxFrameBody
//          u8  type
//          payload        the fields listed below, in that order, nothing after them
// Fields are little-endian. A string or a byte string is a u32 count and then
// that many bytes; a device is path string, vendor id u16, product id u16,
// release u16, usage page u16, usage u16, interface number i32; a device list
// is a u32 count and then the devices.
//
// A connection is an exchange: the client sends a request and reads its one
// reply before it sends the next. A reply of type Failure (with the reason)
// may answer any request the daemon could not carry out; the daemon also
// sends it for a malformed frame and keeps the connection unless the frame's
// length itself was unusable.
//
//   request            payload                                   reply
//   01 Enumerate       -                                         81 DeviceList
//   02 Open            path                                      82 Opened: error u32, handle u32
//   03 Close           handle u32                                80 Done: error u32
//   04 SetFeature      handle u32, report bytes                  80 Done
//   05 GetFeature      handle u32, buffer bytes (id in byte 0)   83 Feature: error u32, buffer
//   06 ReadInput       handle u32, max length u32, wait ms u32   84 Input: error u32, report
//                                                                   (empty when the wait ran out)
//   07 Subscribe       -                                         87 Subscribed: device list
//   20 Plug, 21 Unplug -                                         80 Done
//   22 PressDpiButton  level u8                                  80 Done
//   23 PressButton     button u8                                 80 Done
//   24 SetQuality      quality u8                                80 Done
//   25 AddFault        kind u8, count u32, error u32, busy u8    80 Done
//   26 ClearFaults     -                                         80 Done
//   27 Dump            has slot u8 (0/1), slot u8 (0 without)    85 Text
//   28 SaveState       -                                         85 Text
//   29 LoadState       text                                      80 Done
//   2A SetFirmware     version u16 (0x0100 for 1.00)             80 Done
//   (any)                                                        86 Failure: reason string
//
// Subscribe turns the connection into an event stream: Subscribed lists the
// interfaces present at that moment, then the daemon sends one
//   C0 Hotplug         kind u8 (0 arrival, 1 removal), device, interface name
// per change, and the client sends nothing more.
//
// Handles belong to the connection that opened them and close with it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "platform/HidBus.h"
#include "platform/HidDeviceInfo.h"
#include "platform/HidError.h"
#include "platform/virtual/Fault.h"

namespace orvane::emulator {

inline constexpr std::size_t kFrameHeaderSize = 4;
// Large enough for a saved state of the mouse with every block written; a
// length beyond it is taken for garbage rather than allocated.
inline constexpr std::uint32_t kMaxFrameBody = 1024U * 1024U;

enum class FrameType : std::uint8_t {
    Enumerate = 0x01,
    Open = 0x02,
    Close = 0x03,
    SetFeature = 0x04,
    GetFeature = 0x05,
    ReadInput = 0x06,
    Subscribe = 0x07,
    Plug = 0x20,
    Unplug = 0x21,
    PressDpiButton = 0x22,
    PressButton = 0x23,
    SetQuality = 0x24,
    AddFault = 0x25,
    ClearFaults = 0x26,
    Dump = 0x27,
    SaveState = 0x28,
    LoadState = 0x29,
    SetFirmware = 0x2A,
    Done = 0x80,
    DeviceList = 0x81,
    Opened = 0x82,
    Feature = 0x83,
    Input = 0x84,
    Text = 0x85,
    Failure = 0x86,
    Subscribed = 0x87,
    Hotplug = 0xC0,
};

struct EnumerateRequest {
    static constexpr FrameType kType = FrameType::Enumerate;
    friend bool operator==(const EnumerateRequest&, const EnumerateRequest&) = default;
};
struct OpenRequest {
    static constexpr FrameType kType = FrameType::Open;
    std::string path;
    friend bool operator==(const OpenRequest&, const OpenRequest&) = default;
};
struct CloseRequest {
    static constexpr FrameType kType = FrameType::Close;
    std::uint32_t handle = 0;
    friend bool operator==(const CloseRequest&, const CloseRequest&) = default;
};
struct SetFeatureRequest {
    static constexpr FrameType kType = FrameType::SetFeature;
    std::uint32_t handle = 0;
    std::vector<std::uint8_t> report;
    friend bool operator==(const SetFeatureRequest&, const SetFeatureRequest&) = default;
};
struct GetFeatureRequest {
    static constexpr FrameType kType = FrameType::GetFeature;
    std::uint32_t handle = 0;
    std::vector<std::uint8_t> report;
    friend bool operator==(const GetFeatureRequest&, const GetFeatureRequest&) = default;
};
struct ReadInputRequest {
    static constexpr FrameType kType = FrameType::ReadInput;
    std::uint32_t handle = 0;
    std::uint32_t maxLength = 0;
    std::uint32_t timeoutMs = 0;
    friend bool operator==(const ReadInputRequest&, const ReadInputRequest&) = default;
};
struct SubscribeRequest {
    static constexpr FrameType kType = FrameType::Subscribe;
    friend bool operator==(const SubscribeRequest&, const SubscribeRequest&) = default;
};
struct PlugRequest {
    static constexpr FrameType kType = FrameType::Plug;
    friend bool operator==(const PlugRequest&, const PlugRequest&) = default;
};
struct UnplugRequest {
    static constexpr FrameType kType = FrameType::Unplug;
    friend bool operator==(const UnplugRequest&, const UnplugRequest&) = default;
};
struct PressDpiButtonRequest {
    static constexpr FrameType kType = FrameType::PressDpiButton;
    std::uint8_t level = 0;
    friend bool operator==(const PressDpiButtonRequest&, const PressDpiButtonRequest&) = default;
};
struct PressButtonRequest {
    static constexpr FrameType kType = FrameType::PressButton;
    std::uint8_t button = 0;
    friend bool operator==(const PressButtonRequest&, const PressButtonRequest&) = default;
};
struct SetQualityRequest {
    static constexpr FrameType kType = FrameType::SetQuality;
    std::uint8_t quality = 0;
    friend bool operator==(const SetQualityRequest&, const SetQualityRequest&) = default;
};
struct AddFaultRequest {
    static constexpr FrameType kType = FrameType::AddFault;
    Fault::Kind kind = Fault::Kind::FailSets;
    std::uint32_t count = 1;
    HidError error = HidError::FunctionFailed;
    std::uint8_t busyStatus = 3;

    Fault fault() const;
    friend bool operator==(const AddFaultRequest&, const AddFaultRequest&) = default;
};
struct ClearFaultsRequest {
    static constexpr FrameType kType = FrameType::ClearFaults;
    friend bool operator==(const ClearFaultsRequest&, const ClearFaultsRequest&) = default;
};
struct DumpRequest {
    static constexpr FrameType kType = FrameType::Dump;
    std::optional<std::uint8_t> slot;
    friend bool operator==(const DumpRequest&, const DumpRequest&) = default;
};
struct SaveStateRequest {
    static constexpr FrameType kType = FrameType::SaveState;
    friend bool operator==(const SaveStateRequest&, const SaveStateRequest&) = default;
};
struct LoadStateRequest {
    static constexpr FrameType kType = FrameType::LoadState;
    std::string text;
    friend bool operator==(const LoadStateRequest&, const LoadStateRequest&) = default;
};

struct SetFirmwareRequest {
    static constexpr FrameType kType = FrameType::SetFirmware;
    std::uint16_t version = 0;
    friend bool operator==(const SetFirmwareRequest&, const SetFirmwareRequest&) = default;
};

struct DoneReply {
    static constexpr FrameType kType = FrameType::Done;
    HidError error = HidError::None;
    friend bool operator==(const DoneReply&, const DoneReply&) = default;
};
struct DeviceListReply {
    static constexpr FrameType kType = FrameType::DeviceList;
    std::vector<HidDeviceInfo> devices;
    friend bool operator==(const DeviceListReply&, const DeviceListReply&) = default;
};
struct OpenedReply {
    static constexpr FrameType kType = FrameType::Opened;
    HidError error = HidError::None;
    std::uint32_t handle = 0;
    friend bool operator==(const OpenedReply&, const OpenedReply&) = default;
};
struct FeatureReply {
    static constexpr FrameType kType = FrameType::Feature;
    HidError error = HidError::None;
    std::vector<std::uint8_t> report;
    friend bool operator==(const FeatureReply&, const FeatureReply&) = default;
};
struct InputReply {
    static constexpr FrameType kType = FrameType::Input;
    HidError error = HidError::None;
    std::vector<std::uint8_t> report;
    friend bool operator==(const InputReply&, const InputReply&) = default;
};
struct TextReply {
    static constexpr FrameType kType = FrameType::Text;
    std::string text;
    friend bool operator==(const TextReply&, const TextReply&) = default;
};
struct FailureReply {
    static constexpr FrameType kType = FrameType::Failure;
    std::string reason;
    friend bool operator==(const FailureReply&, const FailureReply&) = default;
};
struct SubscribedReply {
    static constexpr FrameType kType = FrameType::Subscribed;
    std::vector<HidDeviceInfo> present;
    friend bool operator==(const SubscribedReply&, const SubscribedReply&) = default;
};
struct HotplugMessage {
    static constexpr FrameType kType = FrameType::Hotplug;
    HidHotplugEvent::Kind kind = HidHotplugEvent::Kind::Arrival;
    HidDeviceInfo device;
    std::string interfaceName;

    HidHotplugEvent event() const { return {kind, device, interfaceName}; }
    friend bool operator==(const HotplugMessage&, const HotplugMessage&) = default;
};

using Message =
    std::variant<EnumerateRequest, OpenRequest, CloseRequest, SetFeatureRequest, GetFeatureRequest,
                 ReadInputRequest, SubscribeRequest, PlugRequest, UnplugRequest,
                 PressDpiButtonRequest, PressButtonRequest, SetQualityRequest, AddFaultRequest,
                 ClearFaultsRequest, DumpRequest, SaveStateRequest, LoadStateRequest,
                 SetFirmwareRequest, DoneReply, DeviceListReply, OpenedReply, FeatureReply,
                 InputReply, TextReply, FailureReply, SubscribedReply, HotplugMessage>;

FrameType frameType(const Message& message);

// The whole frame, header included. A message whose fields cannot fit one
// frame gives an empty vector; the senders check for it.
std::vector<std::uint8_t> encodeFrame(const Message& message);

enum class FrameError {
    None,
    EmptyBody,      // length 0: not even a type byte
    Oversize,       // length above kMaxFrameBody
    UnknownType,    //
    Truncated,      // the payload ends inside a field
    TrailingBytes,  // the payload goes on after the last field
    BadValue,       // a field holds a value its type does not have
};

// Whether the stream can go on after this error: the frame's end is known.
bool frameBoundaryKnown(FrameError error);
const char* describeFrameError(FrameError error);

struct DecodedFrame {
    enum class Status { Complete, Incomplete, Malformed };
    Status status = Status::Incomplete;
    // The whole frame's size once its header is in (0 before).
    std::size_t frameSize = 0;
    FrameError error = FrameError::None;
    Message message;
};

// Looks at the frame at the start of `bytes`; bytes after it are not read.
DecodedFrame decodeFrame(std::span<const std::uint8_t> bytes);

// The interface name that hot-plug events of the simulated mouse carry: its
// path stands in for the system's device name.
std::string virtualInterfaceName(const HidDeviceInfo& device);

}  // namespace orvane::emulator
