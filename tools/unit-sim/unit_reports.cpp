#include "unit_reports.h"

#include "transport/bcd_number.h"
#include "transport/message_type.h"

#include "platform/text_codec.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace unitsim {

namespace {

using transport::MessageType;

std::uint8_t low(int value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::uint8_t high(int value)
{
    return static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

// The PC reads a two-byte number as (signed high) * 256 + (signed low); these bytes give `value`
// back under that reading.
std::pair<std::uint8_t, std::uint8_t> signedPair(int value)
{
    const int lowSigned = static_cast<std::int8_t>(low(value));
    return {low((value - lowSigned) / 256), low(value)};
}

Message make(MessageType type, Bytes payload)
{
    return Message{transport::code(type), std::move(payload)};
}

Message withText(MessageType type, Bytes head, const std::string &utf8)
{
    const std::string text = Utf8ToCp1252(utf8);
    head.insert(head.end(), text.begin(), text.end());
    return make(type, std::move(head));
}

int steps(double value, double step, int largest)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(std::lround(value / step), 0L, static_cast<long>(largest)));
}

Message nibbleAddressed(int camera, double pan, double tilt, double zoom)
{
    // Half-degree steps: pan is eight steps per unit of byte 6 (signed) plus three bits of byte 7.
    const long panSteps = std::isnan(pan) ? 0 : std::clamp(std::lround(pan * 2), -1024L, 1023L);
    const int panHigh = static_cast<int>(std::floor(static_cast<double>(panSteps) / 8.0));
    const int panLow = static_cast<int>(panSteps - panHigh * 8);
    const int t = steps(tilt, 0.5, 255);
    const int z = steps(zoom, 0.5, 511);
    const auto b7 = static_cast<std::uint8_t>((panLow << 4) | (t >> 4));
    const auto b8 = static_cast<std::uint8_t>(((t & 15) << 3) | ((z >> 7) & 3));
    const auto b9 = static_cast<std::uint8_t>(z & 0x7F);
    return make(MessageType::CameraPosition, {'P', low(camera), 'C', 0, 0, 0, low(panHigh), b7, b8, b9});
}

Message axisReply(int camera, std::uint8_t kind, double value)
{
    const int v = steps(value, 0.01, 0xFFFF);
    const auto address = low(camera);
    const auto sum = static_cast<std::uint8_t>(address + 0 + kind + high(v) + low(v));
    return make(MessageType::CameraPosition, {'Z', low(camera), 0xFF, address, 0, kind, high(v), low(v), sum});
}

Message a5Frame(int camera, double pan, double tilt, double zoom)
{
    const int p = steps(pan, 0.0375, 0xFFFF);
    const int t = steps(tilt, 0.0375, 0xFFFF);
    const int z = zoom <= 18.0 ? steps(zoom, 0.0010986328125, 0x4000)
                               : 0x4000 + steps(zoom - 18.0, 0.013873318, 0xFFFF - 0x4000);
    return make(MessageType::CameraPosition,
                {'_', low(camera), high(p), low(p), high(t), low(t), high(z), low(z)});
}

} // namespace

Message PumpEvent(int eventID, int pumpNum, int hoseNum, int cameranum)
{
    return make(MessageType::PumpEvent, {low(eventID), low(pumpNum), low(hoseNum), low(cameranum)});
}

Message DeliveryTotals(int eventID, int pumpNum, int hoseNum, Currency unitPrice, Currency totalPrice,
                       double volume, int cameranum)
{
    Bytes payload{low(eventID), low(pumpNum), low(hoseNum)};
    for (const auto &field : {transport::EncodeBcdPrice(unitPrice), transport::EncodeBcdPrice(totalPrice),
                              transport::EncodeBcdVolume(volume)})
        payload.insert(payload.end(), field.begin(), field.end());
    payload.push_back(low(cameranum));
    return make(MessageType::DeliveryTotals, std::move(payload));
}

Message POSMessage(int posNumber, int cameranum, int presetNum, const std::string &text)
{
    return withText(MessageType::POSMessage, {low(posNumber), low(cameranum), low(presetNum)}, text);
}

Message CameraEvent(int eventID, int targetID, int cameranum, int presetNum, bool revisiting)
{
    return make(MessageType::CameraEvent,
                {low(eventID), low(targetID), low(cameranum), low(presetNum), static_cast<std::uint8_t>(revisiting)});
}

Message SystemDiagnostics(int totalMem, int maxMsgOutstanding, int minSpaceAvailable, int totalLoopTime)
{
    return make(MessageType::SystemDiagnostics,
                {low(totalMem), low(maxMsgOutstanding), low(minSpaceAvailable), low(totalLoopTime)});
}

Message HeartBeat(const std::string &versions)
{
    return withText(MessageType::HeartBeat, {}, versions);
}

Message VehicleReg(int logicalPump, const std::string &regNumber)
{
    return withText(MessageType::VehicleReg, {low(logicalPump)}, regNumber);
}

Message DebugText(const std::string &text)
{
    return withText(MessageType::Debug, {}, text);
}

Message BootLoadReady(int statusCode, int blockSize, int nextAddress)
{
    const auto [blockHigh, blockLow] = signedPair(blockSize);
    const auto [nextHigh, nextLow] = signedPair(nextAddress);
    return make(MessageType::BootLoadReady, {low(statusCode), blockHigh, blockLow, nextHigh, nextLow});
}

Message ResetCount(int count)
{
    return make(MessageType::ResetCount, {low(count)});
}

std::vector<Message> PositionReplies(char cameraCode, int cameranum, double pan, double tilt, double zoom)
{
    switch (cameraCode) {
    case 'P':
        return {nibbleAddressed(cameranum, pan, tilt, zoom)};
    case 'Z':
        return {axisReply(cameranum, 'Y', pan), axisReply(cameranum, '[', tilt), axisReply(cameranum, 'c', zoom)};
    case '_':
        return {a5Frame(cameranum, pan, tilt, zoom)};
    default:
        return {};
    }
}

} // namespace unitsim
