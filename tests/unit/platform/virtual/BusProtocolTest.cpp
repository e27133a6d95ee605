#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/virtual/BusProtocol.h"

namespace orvane::emulator {
namespace {

using Bytes = std::vector<std::uint8_t>;

HidDeviceInfo configInterface() {
    return {"orvane-emu/3/app/0", 0x1209, 0x0001, 0x0105, 0xFF01, 0x0002, 0};
}

HidDeviceInfo pointerInterface() {
    return {"orvane-emu/3/app/2", 0x1209, 0x0001, 0x0105, 0x0001, 0x0002, -1};
}

// One message of every type, with values that fill every byte of their
// fields, so that a field written in the wrong order or width shows.
std::vector<Message> everyMessage() {
    Bytes data(1041);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i * 7 + 1);
    }
    return {
        EnumerateRequest{},
        OpenRequest{"orvane-emu/3/app/0"},
        CloseRequest{0x01020304},
        SetFeatureRequest{7, data},
        GetFeatureRequest{0xFFFFFFFF, Bytes{0xA1, 0, 0, 0}},
        ReadInputRequest{2, 9, 0x80000001},
        SubscribeRequest{},
        PlugRequest{},
        UnplugRequest{},
        PressDpiButtonRequest{5},
        PressButtonRequest{6},
        SetQualityRequest{0xFE},
        AddFaultRequest{Fault::Kind::BusyReplies, 0x10000, HidError::Crc, 4},
        AddFaultRequest{Fault::Kind::UnplugOnTransfer, 2, static_cast<HidError>(0xDEADBEEF), 3},
        ClearFaultsRequest{},
        DumpRequest{},
        DumpRequest{4},
        SaveStateRequest{},
        LoadStateRequest{std::string("{\"slots\":[]}\0tail", 17)},
        SetFirmwareRequest{0x0100},
        DoneReply{HidError::DeviceNotConnected},
        DeviceListReply{{configInterface(), pointerInterface()}},
        DeviceListReply{},
        OpenedReply{HidError::None, 0x0A0B0C0D},
        FeatureReply{HidError::FunctionFailed, data},
        InputReply{HidError::None, Bytes{3, 2, 1, 0, 0, 0, 0, 0, 0}},
        InputReply{HidError::None, {}},
        TextReply{"{\"activeSlot\": 2}"},
        FailureReply{"no such handle"},
        SubscribedReply{{configInterface()}},
        HotplugMessage{HidHotplugEvent::Kind::Removal, pointerInterface(),
                       "HID#VID_1209&PID_0001&MI_00#orvane-emu/3/app/2"},
    };
}

// The frame with its length field rewritten to fit a body of `body` bytes.
Bytes withBody(Bytes frame, std::size_t body) {
    frame.resize(kFrameHeaderSize + body);
    for (std::size_t i = 0; i < kFrameHeaderSize; ++i) {
        frame[i] = static_cast<std::uint8_t>(body >> (8 * i));
    }
    return frame;
}

TEST(BusProtocol, EveryMessageComesBackAsItWasSent) {
    for (const Message& message : everyMessage()) {
        const Bytes frame = encodeFrame(message);
        ASSERT_FALSE(frame.empty());
        const DecodedFrame decoded = decodeFrame(frame);
        ASSERT_EQ(decoded.status, DecodedFrame::Status::Complete)
            << "type " << int(frameType(message)) << ": " << describeFrameError(decoded.error);
        EXPECT_EQ(decoded.frameSize, frame.size());
        EXPECT_EQ(decoded.message, message) << "type " << int(frameType(message));
    }
}

TEST(BusProtocol, FramesAreLengthTypeAndLittleEndianFields) {
    EXPECT_EQ(encodeFrame(CloseRequest{0x01020304}),
              (Bytes{5, 0, 0, 0, 0x03, 0x04, 0x03, 0x02, 0x01}));
    EXPECT_EQ(encodeFrame(OpenRequest{"ab"}), (Bytes{7, 0, 0, 0, 0x02, 2, 0, 0, 0, 'a', 'b'}));
    EXPECT_EQ(encodeFrame(DumpRequest{3}), (Bytes{3, 0, 0, 0, 0x27, 1, 3}));
    EXPECT_EQ(encodeFrame(EnumerateRequest{}), (Bytes{1, 0, 0, 0, 0x01}));
}

TEST(BusProtocol, DecodingReadsOneFrameAndLeavesTheNext) {
    Bytes stream = encodeFrame(PlugRequest{});
    const Bytes second = encodeFrame(PressDpiButtonRequest{2});
    stream.insert(stream.end(), second.begin(), second.end());
    const DecodedFrame first = decodeFrame(stream);
    ASSERT_EQ(first.status, DecodedFrame::Status::Complete);
    EXPECT_EQ(first.message, Message(PlugRequest{}));
    const DecodedFrame next = decodeFrame(std::span(stream).subspan(first.frameSize));
    EXPECT_EQ(next.message, Message(PressDpiButtonRequest{2}));
}

TEST(BusProtocol, EveryPrefixOfAFrameWaitsForMore) {
    for (const Message& message : everyMessage()) {
        const Bytes frame = encodeFrame(message);
        for (std::size_t cut = 0; cut < frame.size(); ++cut) {
            const DecodedFrame decoded = decodeFrame(std::span(frame).first(cut));
            ASSERT_EQ(decoded.status, DecodedFrame::Status::Incomplete)
                << "type " << int(frameType(message)) << " cut at " << cut;
            EXPECT_EQ(decoded.frameSize, cut < kFrameHeaderSize ? 0 : frame.size());
        }
    }
}

// A length field that ends the frame inside a field, or after the last one,
// is a lie about the frame; its end is still known, so the stream can go on.
TEST(BusProtocol, PayloadShorterOrLongerThanItsFieldsIsRejected) {
    for (const Message& message : everyMessage()) {
        const Bytes frame = encodeFrame(message);
        const std::size_t body = frame.size() - kFrameHeaderSize;
        for (std::size_t shorter = 1; shorter < body; ++shorter) {
            const DecodedFrame decoded = decodeFrame(withBody(frame, shorter));
            ASSERT_EQ(decoded.status, DecodedFrame::Status::Malformed)
                << "type " << int(frameType(message)) << " body " << shorter;
            EXPECT_EQ(decoded.error, FrameError::Truncated);
            EXPECT_TRUE(frameBoundaryKnown(decoded.error));
        }
        const DecodedFrame longer = decodeFrame(withBody(frame, body + 1));
        EXPECT_EQ(longer.status, DecodedFrame::Status::Malformed);
        EXPECT_EQ(longer.error, FrameError::TrailingBytes);
    }
}

TEST(BusProtocol, UnusableLengthsAndUnknownTypesAreRejected) {
    const DecodedFrame empty = decodeFrame(Bytes{0, 0, 0, 0, 0x01});
    EXPECT_EQ(empty.error, FrameError::EmptyBody);
    EXPECT_FALSE(frameBoundaryKnown(empty.error));

    // Rejected from the header alone: nothing of that size is ever waited for.
    const std::uint32_t tooLong = kMaxFrameBody + 1;
    const DecodedFrame oversize = decodeFrame(
        Bytes{static_cast<std::uint8_t>(tooLong), static_cast<std::uint8_t>(tooLong >> 8),
              static_cast<std::uint8_t>(tooLong >> 16), static_cast<std::uint8_t>(tooLong >> 24)});
    EXPECT_EQ(oversize.status, DecodedFrame::Status::Malformed);
    EXPECT_EQ(oversize.error, FrameError::Oversize);
    EXPECT_FALSE(frameBoundaryKnown(oversize.error));
    EXPECT_EQ(decodeFrame(Bytes{0xFF, 0xFF, 0xFF, 0xFF}).error, FrameError::Oversize);

    for (const std::uint8_t type : {0x00, 0x08, 0x1F, 0x2B, 0x7F, 0x88, 0xC1, 0xFF}) {
        const DecodedFrame unknown = decodeFrame(Bytes{1, 0, 0, 0, type});
        EXPECT_EQ(unknown.error, FrameError::UnknownType) << int(type);
        EXPECT_TRUE(frameBoundaryKnown(unknown.error));
    }
}

TEST(BusProtocol, FieldsWithImpossibleValuesAreRejected) {
    const std::vector<Bytes> frames = {
        // fault kind 6
        {11, 0, 0, 0, 0x25, 6, 1, 0, 0, 0, 0x5B, 0x06, 0, 0, 3},
        // hot-plug kind 2 (then an empty path, the fixed fields, an empty name)
        {24, 0, 0, 0, 0xC0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        // a slot flag other than 0 and 1, and a slot without its flag
        {3, 0, 0, 0, 0x27, 2, 0},
        {3, 0, 0, 0, 0x27, 0, 1},
    };
    for (const Bytes& frame : frames) {
        const DecodedFrame decoded = decodeFrame(frame);
        EXPECT_EQ(decoded.status, DecodedFrame::Status::Malformed) << int(frame[4]);
        EXPECT_EQ(decoded.error, FrameError::BadValue) << int(frame[4]);
    }
}

TEST(BusProtocol, CountsBeyondThePayloadAreRejectedBeforeAnythingIsAllocated) {
    // A text of 0x7FFFFFFF bytes, and a list of 0x10000000 devices, in a
    // payload of four bytes.
    EXPECT_EQ(decodeFrame(Bytes{5, 0, 0, 0, 0x85, 0xFF, 0xFF, 0xFF, 0x7F}).error,
              FrameError::Truncated);
    EXPECT_EQ(decodeFrame(Bytes{5, 0, 0, 0, 0x81, 0, 0, 0, 0x10}).error, FrameError::Truncated);
}

TEST(BusProtocol, MessagesTooLargeForOneFrameAreNotEncoded) {
    EXPECT_TRUE(encodeFrame(LoadStateRequest{std::string(kMaxFrameBody, 's')}).empty());
    EXPECT_FALSE(encodeFrame(LoadStateRequest{std::string(kMaxFrameBody - 5, 's')}).empty());
}

}  // namespace
}  // namespace orvane::emulator
