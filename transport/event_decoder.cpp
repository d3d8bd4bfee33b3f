#include "event_decoder.h"

#include "bcd_number.h"
#include "camera_position_reply_count.h"
#include "camera_presets_output.h"
#include "config_data_output.h"
#include "events_output.h"
#include "message_type.h"

#include "platform/text_codec.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace transport {

namespace {

// The longest point-of-sale text the events carry.
constexpr std::size_t kPosTextLimit = 79;

// Bytes of a received payload; whatever lies past its end reads as 0.
class Payload
{
public:
    explicit Payload(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    [[nodiscard]] std::uint8_t u(std::size_t index) const { return index < m_bytes.size() ? m_bytes[index] : 0; }
    [[nodiscard]] std::int16_t s(std::size_t index) const { return static_cast<std::int8_t>(u(index)); }
    // Two signed bytes as one number, high byte first.
    [[nodiscard]] std::int16_t s16(std::size_t high) const
    {
        return static_cast<std::int16_t>(s(high) * 256 + s(high + 1));
    }
    // Unsigned, high byte first.
    [[nodiscard]] unsigned u16(std::size_t high) const { return u(high) * 256u + u(high + 1); }
    [[nodiscard]] std::int16_t flag(bool on) const { return on ? -1 : 0; }

    // The raw bytes from `from` up to a zero byte or the end, at most `limit` of them.
    [[nodiscard]] std::string_view raw(std::size_t from, std::size_t limit = SIZE_MAX) const
    {
        if (from >= m_bytes.size())
            return {};
        const auto *begin = reinterpret_cast<const char *>(m_bytes.data()) + from;
        const std::size_t available = std::min(m_bytes.size() - from, limit);
        const std::string_view bytes(begin, available);
        return bytes.substr(0, bytes.find('\0'));
    }
    [[nodiscard]] std::string text(std::size_t from, std::size_t limit = SIZE_MAX) const
    {
        return Cp1252ToUtf8(raw(from, limit));
    }

    [[nodiscard]] std::span<const std::uint8_t, 6> field(std::size_t from, std::array<std::uint8_t, 6> &store) const
    {
        for (std::size_t i = 0; i < store.size(); ++i)
            store[i] = u(from + i);
        return store;
    }

    [[nodiscard]] std::span<const std::uint8_t> bytes() const { return m_bytes; }

private:
    std::span<const std::uint8_t> m_bytes;
};

template <typename Reader, typename Interface>
EventCall readerEvent(std::span<const std::uint8_t> payload,
                      HRESULT (IOrvexTransportEvents::*member)(const std::shared_ptr<Interface> &))
{
    return [bytes = std::vector<std::uint8_t>(payload.begin(), payload.end()), member](IOrvexTransportEvents &sink) {
        const std::shared_ptr<Interface> reader = std::make_shared<Reader>(bytes);
        (sink.*member)(reader);
    };
}

EventCall deliveryTotals(const Payload &p)
{
    std::array<std::uint8_t, 6> store{};
    const Currency unitPrice = DecodeBcdPrice(p.field(3, store));
    const Currency totalPrice = DecodeBcdPrice(p.field(9, store));
    const double volume = DecodeBcdVolume(p.field(15, store));
    return [=, eventID = p.s(0), pumpNum = p.s(1), hoseNum = p.s(2), cameranum = p.s(21)](IOrvexTransportEvents &sink) {
        sink.OnPumpEventWithDeliveryTotals(eventID, pumpNum, hoseNum, unitPrice, totalPrice, volume, cameranum);
    };
}

EventCall positionEvent(std::int16_t camera, float pan, float tilt, float zoom)
{
    return [=](IOrvexTransportEvents &sink) { sink.CameraPosition(camera, pan, tilt, zoom); };
}

} // namespace

EventCall EventDecoder::decode(std::uint8_t type, std::span<const std::uint8_t> payload)
{
    const Payload p(payload);
    switch (static_cast<MessageType>(type)) {
    case MessageType::HeartBeat:
        return [text = p.text(0)](IOrvexTransportEvents &sink) { sink.HeartBeat(text); };
    case MessageType::Debug:
        return [text = p.text(0)](IOrvexTransportEvents &sink) { sink.Debug(text); };
    case MessageType::BootLoadReady:
        return [a = p.s(0), b = p.s16(1), c = p.s16(3)](IOrvexTransportEvents &sink) {
            sink.BootLoadReadyRequest(a, b, c);
        };
    case MessageType::DispenserMap:
        return [a = p.s(0), b = p.s(1), c = p.s(2), d = p.s(3)](IOrvexTransportEvents &sink) {
            sink.DispenserMap(a, b, c, d);
        };
    case MessageType::SystemDiagnostics:
        return [a = p.s(0), b = p.s(1), c = p.s(2), d = p.s(3)](IOrvexTransportEvents &sink) {
            sink.SystemDiagnostics(a, b, c, d);
        };
    case MessageType::TaskConfig:
        return [a = p.s(0), b = p.s(1), c = p.s(2), d = p.s(3)](IOrvexTransportEvents &sink) {
            sink.TaskConfig(a, b, c, d);
        };
    case MessageType::VehicleReg:
        return [a = p.s(0), text = p.text(1)](IOrvexTransportEvents &sink) { sink.VehicleReg(a, text); };
    case MessageType::LinkError:
        // The link's own text, already UTF-8.
        return [text = std::string(p.raw(0))](IOrvexTransportEvents &sink) { sink.OnError(text); };
    case MessageType::CameraPresets:
        return readerEvent<CameraPresetsOutput>(payload, &IOrvexTransportEvents::OnCameraPreset);
    case MessageType::InterestZone:
        return [a = p.s(0), b = p.s(1), c = p.s(2), text = p.text(3)](IOrvexTransportEvents &sink) {
            sink.InterestZone(a, b, c, text);
        };
    case MessageType::ConfigData:
        return readerEvent<ConfigDataOutput>(payload, &IOrvexTransportEvents::OnConfigData);
    case MessageType::Events:
        return readerEvent<EventsOutput>(payload, &IOrvexTransportEvents::OnEvents);
    case MessageType::TaskDiagnostics:
        return [](IOrvexTransportEvents &sink) { sink.TaskDiagnostics(0, 0, 0); };
    case MessageType::ResetCount:
        return [a = p.s(0)](IOrvexTransportEvents &sink) { sink.ResetCount(a); };
    case MessageType::CameraPosition:
        return decodeCameraPosition(payload);
    case MessageType::CameraEvent:
        return [a = p.s(0), b = p.s(1), c = p.s(2), d = p.s(3), revisiting = p.flag(p.u(4) == 1)](
                   IOrvexTransportEvents &sink) { sink.OnCameraEvent(a, b, c, d, revisiting); };
    case MessageType::POSMessage:
        return [a = p.s(0), b = p.s(1), c = p.s(2), text = p.text(3, kPosTextLimit)](IOrvexTransportEvents &sink) {
            sink.OnPOSMessage(a, b, c, text);
        };
    case MessageType::PumpEvent:
        return [a = p.s(0), b = p.s(1), c = p.s(2), d = p.s(3)](IOrvexTransportEvents &sink) {
            sink.OnPumpEvent(a, b, c, d);
        };
    case MessageType::DeliveryTotals:
        return deliveryTotals(p);
    case MessageType::POSEventConfig:
        return [a = p.s(0), b = p.s(1), movable = p.flag(p.u(2) != 0), c = p.s(3), d = p.s(4)](
                   IOrvexTransportEvents &sink) { sink.OnPOSEventData(a, b, movable, c, d); };
    default:
        return {};
    }
}

// The first byte names the camera protocol that answered; the second is the camera number.
EventCall EventDecoder::decodeCameraPosition(std::span<const std::uint8_t> payload)
{
    const Payload p(payload);
    switch (p.u(0)) {
    case 'P': {
        if (p.u(2) != 'C')
            return {};
        const int pan = 8 * p.s(6) + ((p.u(7) >> 4) & 7);
        const int tilt = ((p.u(7) & 15) << 4) | ((p.u(8) >> 3) & 15);
        const int zoom = ((p.u(8) & 3) << 7) | (p.u(9) & 0x7F);
        return positionEvent(p.s(1), static_cast<float>(pan * 0.5), static_cast<float>(tilt * 0.5),
                             static_cast<float>(zoom * 0.5));
    }
    case 'Z':
        return decodeAxisReply(payload);
    case '_': {
        const double pan = p.u16(2) * 0.0375;
        const double tilt = p.u16(4) * 0.0375;
        const unsigned x = p.u16(6);
        const double zoom = x <= 0x4000 ? x * 0.0010986328125 : (x - 0x4000) * 0.013873318 + 18;
        return positionEvent(p.s(1), static_cast<float>(pan), static_cast<float>(tilt), static_cast<float>(zoom));
    }
    default:
        return {};
    }
}

// One axis per reply; the position is complete after every third reply, and an axis that did
// not answer keeps the value of an earlier query.
EventCall EventDecoder::decodeAxisReply(std::span<const std::uint8_t> payload)
{
    const Payload p(payload);
    const unsigned sum = p.u(3) + p.u(4) + p.u(5) + p.u(6) + p.u(7);
    if ((sum & 0xFF) != p.u(8))
        return {};
    const auto value = static_cast<float>(p.u16(6) * 0.01);
    switch (p.u(5)) {
    case 'Y':
        m_pan = value;
        break;
    case '[':
        m_tilt = value;
        break;
    case 'c':
        m_zoom = value;
        break;
    default:
        return {}; // not a position answer: neither stored nor counted
    }
    if (!CountCameraPositionReply())
        return {};
    return positionEvent(p.s(1), m_pan, m_tilt, m_zoom);
}

} // namespace transport
