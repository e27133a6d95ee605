#include "platform/virtual/BusProtocol.h"

#include <concepts>
#include <type_traits>
#include <utility>

namespace orvane::emulator {

namespace {

template <typename T, typename U>
concept Is = std::same_as<std::remove_const_t<T>, U>;

// One list of fields per message, walked by the writer and by the reader
// alike, so that the two sides cannot drift apart.
void fields(auto&, Is<EnumerateRequest> auto&) {}
void fields(auto& v, Is<OpenRequest> auto& m) {
    v(m.path);
}
void fields(auto& v, Is<CloseRequest> auto& m) {
    v(m.handle);
}
void fields(auto& v, Is<SetFeatureRequest> auto& m) {
    v(m.handle);
    v(m.report);
}
void fields(auto& v, Is<GetFeatureRequest> auto& m) {
    v(m.handle);
    v(m.report);
}
void fields(auto& v, Is<ReadInputRequest> auto& m) {
    v(m.handle);
    v(m.maxLength);
    v(m.timeoutMs);
}
void fields(auto&, Is<SubscribeRequest> auto&) {}
void fields(auto&, Is<PlugRequest> auto&) {}
void fields(auto&, Is<UnplugRequest> auto&) {}
void fields(auto& v, Is<PressDpiButtonRequest> auto& m) {
    v(m.level);
}
void fields(auto& v, Is<PressButtonRequest> auto& m) {
    v(m.button);
}
void fields(auto& v, Is<SetQualityRequest> auto& m) {
    v(m.quality);
}
void fields(auto& v, Is<AddFaultRequest> auto& m) {
    v(m.kind);
    v(m.count);
    v(m.error);
    v(m.busyStatus);
}
void fields(auto&, Is<ClearFaultsRequest> auto&) {}
void fields(auto& v, Is<DumpRequest> auto& m) {
    v(m.slot);
}
void fields(auto&, Is<SaveStateRequest> auto&) {}
void fields(auto& v, Is<SetFirmwareRequest> auto& m) {
    v(m.version);
}
void fields(auto& v, Is<LoadStateRequest> auto& m) {
    v(m.text);
}
void fields(auto& v, Is<DoneReply> auto& m) {
    v(m.error);
}
void fields(auto& v, Is<DeviceListReply> auto& m) {
    v(m.devices);
}
void fields(auto& v, Is<OpenedReply> auto& m) {
    v(m.error);
    v(m.handle);
}
void fields(auto& v, Is<FeatureReply> auto& m) {
    v(m.error);
    v(m.report);
}
void fields(auto& v, Is<InputReply> auto& m) {
    v(m.error);
    v(m.report);
}
void fields(auto& v, Is<TextReply> auto& m) {
    v(m.text);
}
void fields(auto& v, Is<FailureReply> auto& m) {
    v(m.reason);
}
void fields(auto& v, Is<SubscribedReply> auto& m) {
    v(m.present);
}
void fields(auto& v, Is<HotplugMessage> auto& m) {
    v(m.kind);
    v(m.device);
    v(m.interfaceName);
}

void fields(auto& v, Is<HidDeviceInfo> auto& d) {
    v(d.path);
    v(d.vendorId);
    v(d.productId);
    v(d.releaseNumber);
    v(d.usagePage);
    v(d.usage);
    v(d.interfaceNumber);
}

// The smallest encoded device: an empty path and the fixed fields. A count
// is checked against it before anything is allocated.
constexpr std::size_t kMinDeviceSize = 4 + 5 * 2 + 4;

class Writer {
  public:
    void operator()(std::uint8_t value) { bytes.push_back(value); }
    void operator()(std::uint16_t value) {
        bytes.push_back(static_cast<std::uint8_t>(value));
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void operator()(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    void operator()(std::int32_t value) { (*this)(static_cast<std::uint32_t>(value)); }
    void operator()(HidError value) { (*this)(static_cast<std::uint32_t>(value)); }
    void operator()(Fault::Kind value) { (*this)(static_cast<std::uint8_t>(value)); }
    void operator()(HidHotplugEvent::Kind value) {
        (*this)(static_cast<std::uint8_t>(value == HidHotplugEvent::Kind::Arrival ? 0 : 1));
    }
    void operator()(const std::optional<std::uint8_t>& value) {
        (*this)(static_cast<std::uint8_t>(value ? 1 : 0));
        (*this)(value.value_or(0));
    }
    void operator()(const std::string& text) { counted(text.data(), text.size()); }
    void operator()(const std::vector<std::uint8_t>& data) { counted(data.data(), data.size()); }
    void operator()(const HidDeviceInfo& device) { fields(*this, device); }
    void operator()(const std::vector<HidDeviceInfo>& devices) {
        if (!fitsCount(devices.size())) {
            return;
        }
        (*this)(static_cast<std::uint32_t>(devices.size()));
        for (const HidDeviceInfo& device : devices) {
            (*this)(device);
        }
    }

    std::vector<std::uint8_t> bytes;
    bool tooLarge = false;

  private:
    bool fitsCount(std::size_t count) {
        if (count > kMaxFrameBody) {
            tooLarge = true;
            return false;
        }
        return true;
    }
    template <typename Char>
    void counted(const Char* data, std::size_t count) {
        if (!fitsCount(count)) {
            return;
        }
        (*this)(static_cast<std::uint32_t>(count));
        const auto* first = reinterpret_cast<const std::uint8_t*>(data);
        bytes.insert(bytes.end(), first, first + count);
    }
};

class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> payload) : rest(payload) {}

    void operator()(std::uint8_t& value) {
        if (take(1)) {
            value = last[0];
        }
    }
    void operator()(std::uint16_t& value) {
        if (take(2)) {
            value = static_cast<std::uint16_t>(last[0] | (last[1] << 8));
        }
    }
    void operator()(std::uint32_t& value) {
        if (take(4)) {
            value = std::uint32_t{last[0]} | (std::uint32_t{last[1]} << 8) |
                    (std::uint32_t{last[2]} << 16) | (std::uint32_t{last[3]} << 24);
        }
    }
    void operator()(std::int32_t& value) {
        std::uint32_t raw = 0;
        (*this)(raw);
        value = static_cast<std::int32_t>(raw);
    }
    void operator()(HidError& value) {
        std::uint32_t raw = 0;
        (*this)(raw);
        value = static_cast<HidError>(raw);
    }
    void operator()(Fault::Kind& value) {
        std::uint8_t raw = 0;
        (*this)(raw);
        if (raw > static_cast<std::uint8_t>(Fault::Kind::UnplugOnTransfer)) {
            fail(FrameError::BadValue);
        }
        value = static_cast<Fault::Kind>(raw);
    }
    void operator()(HidHotplugEvent::Kind& value) {
        std::uint8_t raw = 0;
        (*this)(raw);
        if (raw > 1) {
            fail(FrameError::BadValue);
        }
        value = raw == 0 ? HidHotplugEvent::Kind::Arrival : HidHotplugEvent::Kind::Removal;
    }
    void operator()(std::optional<std::uint8_t>& value) {
        std::uint8_t present = 0;
        std::uint8_t raw = 0;
        (*this)(present);
        (*this)(raw);
        // Exactly one spelling per value, so that a frame decodes only from
        // what the writer would have made of it.
        if (present > 1 || (present == 0 && raw != 0)) {
            fail(FrameError::BadValue);
        }
        value = present ? std::optional<std::uint8_t>(raw) : std::nullopt;
    }
    void operator()(std::string& text) {
        std::uint32_t count = 0;
        (*this)(count);
        if (take(count)) {
            text.assign(reinterpret_cast<const char*>(last.data()), last.size());
        }
    }
    void operator()(std::vector<std::uint8_t>& data) {
        std::uint32_t count = 0;
        (*this)(count);
        if (take(count)) {
            data.assign(last.begin(), last.end());
        }
    }
    void operator()(HidDeviceInfo& device) { fields(*this, device); }
    void operator()(std::vector<HidDeviceInfo>& devices) {
        std::uint32_t count = 0;
        (*this)(count);
        if (error != FrameError::None) {
            return;
        }
        if (count > rest.size() / kMinDeviceSize) {
            fail(FrameError::Truncated);
            return;
        }
        devices.resize(count);
        for (HidDeviceInfo& device : devices) {
            (*this)(device);
        }
    }

    FrameError finish() {
        if (error == FrameError::None && !rest.empty()) {
            error = FrameError::TrailingBytes;
        }
        return error;
    }

  private:
    bool take(std::size_t count) {
        if (error != FrameError::None) {
            return false;
        }
        if (count > rest.size()) {
            fail(FrameError::Truncated);
            return false;
        }
        last = rest.first(count);
        rest = rest.subspan(count);
        return true;
    }
    void fail(FrameError reason) {
        if (error == FrameError::None) {
            error = reason;
        }
    }

    std::span<const std::uint8_t> rest;
    std::span<const std::uint8_t> last;
    FrameError error = FrameError::None;
};

template <std::size_t Index = 0>
bool decodeAs(FrameType type, std::span<const std::uint8_t> payload, DecodedFrame& out) {
    if constexpr (Index == std::variant_size_v<Message>) {
        return false;
    } else {
        using M = std::variant_alternative_t<Index, Message>;
        if (M::kType != type) {
            return decodeAs<Index + 1>(type, payload, out);
        }
        M message;
        Reader reader(payload);
        fields(reader, message);
        out.error = reader.finish();
        if (out.error == FrameError::None) {
            out.message = std::move(message);
        }
        return true;
    }
}

std::uint32_t readU32(std::span<const std::uint8_t> bytes) {
    return std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
           (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
}

}  // namespace

Fault AddFaultRequest::fault() const {
    Fault result;
    result.kind = kind;
    result.count = count;
    result.error = error;
    result.busyStatus = busyStatus;
    return result;
}

FrameType frameType(const Message& message) {
    return std::visit([](const auto& m) { return std::remove_cvref_t<decltype(m)>::kType; },
                      message);
}

std::vector<std::uint8_t> encodeFrame(const Message& message) {
    Writer writer;
    writer(std::uint32_t{0});
    writer(static_cast<std::uint8_t>(frameType(message)));
    std::visit([&writer](const auto& m) { fields(writer, m); }, message);
    const std::size_t body = writer.bytes.size() - kFrameHeaderSize;
    if (writer.tooLarge || body > kMaxFrameBody) {
        return {};
    }
    for (std::size_t i = 0; i < kFrameHeaderSize; ++i) {
        writer.bytes[i] = static_cast<std::uint8_t>(body >> (8 * i));
    }
    return std::move(writer.bytes);
}

bool frameBoundaryKnown(FrameError error) {
    return error != FrameError::EmptyBody && error != FrameError::Oversize;
}

const char* describeFrameError(FrameError error) {
    switch (error) {
        case FrameError::None:
            return "no error";
        case FrameError::EmptyBody:
            return "frame without a type";
        case FrameError::Oversize:
            return "frame longer than the bus allows";
        case FrameError::UnknownType:
            return "unknown frame type";
        case FrameError::Truncated:
            return "frame ends inside a field";
        case FrameError::TrailingBytes:
            return "frame longer than its fields";
        case FrameError::BadValue:
            return "field with an impossible value";
    }
    return "malformed frame";
}

DecodedFrame decodeFrame(std::span<const std::uint8_t> bytes) {
    DecodedFrame out;
    if (bytes.size() < kFrameHeaderSize) {
        return out;
    }
    const std::uint32_t body = readU32(bytes);
    if (body == 0 || body > kMaxFrameBody) {
        out.status = DecodedFrame::Status::Malformed;
        out.error = body == 0 ? FrameError::EmptyBody : FrameError::Oversize;
        return out;
    }
    out.frameSize = kFrameHeaderSize + body;
    if (bytes.size() < out.frameSize) {
        return out;
    }
    const auto type = static_cast<FrameType>(bytes[kFrameHeaderSize]);
    const auto payload = bytes.subspan(kFrameHeaderSize + 1, body - 1);
    if (!decodeAs(type, payload, out)) {
        out.error = FrameError::UnknownType;
    }
    out.status = out.error == FrameError::None ? DecodedFrame::Status::Complete
                                               : DecodedFrame::Status::Malformed;
    return out;
}

std::string virtualInterfaceName(const HidDeviceInfo& device) {
    return hidInterfaceName(device, device.path);
}

}  // namespace orvane::emulator
