#include "default.h"

#include "platform/notifier.h"

namespace transport {

HRESULT Default::getMessageType(std::int32_t *messageType)
{
    if (!messageType)
        return E_POINTER;
    *messageType = m_type;
    return S_OK;
}

HRESULT Default::AttendantTagTable()
{
    Notify("Attendant Tag Table has not been implemented in Orvex", NoticeKind::Error);
    return E_FAIL;
}

HRESULT Default::request(MessageType type)
{
    m_buffer.clear();
    m_type = code(type);
    return S_OK;
}

HRESULT Default::create(MessageType type, std::initializer_list<std::int16_t> fixed)
{
    if (!m_buffer.append(fixed))
        return E_INVALIDARG;
    m_type = code(type);
    return S_OK;
}

HRESULT Default::create(MessageType type, std::initializer_list<std::int16_t> fixed, const ByteArray &bytes)
{
    const MessageBuffer before = m_buffer;
    if (!m_buffer.append(fixed))
        return E_INVALIDARG;
    // The bytes go to the absolute position after the fixed bytes, as the unit expects them on a
    // fresh message; a refusal restores the fixed bytes too, so that nothing half-built is sent.
    const HRESULT hr = m_buffer.setBuffer(bytes, static_cast<std::int16_t>(fixed.size()));
    if (FAILED(hr)) {
        m_buffer = before;
        return hr;
    }
    m_type = code(type);
    return S_OK;
}

HRESULT Default::CreateInterestZoneTable(std::int16_t zone, std::int16_t camera, std::int16_t preset,
                                         const ByteArray &Text)
{
    return create(MessageType::InterestZone, {zone, camera, preset}, Text);
}

HRESULT Default::CreateDispenserMap(std::int16_t logical, std::int16_t loop, std::int16_t addr,
                                    std::int16_t cardAddr)
{
    return create(MessageType::DispenserMap, {logical, loop, addr, cardAddr});
}

HRESULT Default::CreateTaskConfig(std::int16_t taskType, std::int16_t inPort, std::int16_t outPort,
                                  std::int16_t iface)
{
    return create(MessageType::TaskConfig, {taskType, inPort, outPort, iface});
}

HRESULT Default::CreateVehicleRegistration(std::int16_t logical, const ByteArray &regNo)
{
    return create(MessageType::VehicleReg, {logical}, regNo);
}

HRESULT Default::CreateBootLoadData(std::int16_t addr, std::int16_t remaining, const ByteArray &data)
{
    const auto high = [](std::int16_t value) { return static_cast<std::int16_t>((value >> 8) & 0xFF); };
    const auto low = [](std::int16_t value) { return static_cast<std::int16_t>(value & 0xFF); };
    return create(MessageType::BootLoadData,
                  {high(addr), low(addr), high(remaining), low(remaining)}, data);
}

HRESULT Default::PassThrough(std::int16_t port, const ByteArray &data)
{
    return create(MessageType::PassThrough, {port}, data);
}

HRESULT Default::ToggleDebug(std::int16_t tTime)
{
    return create(MessageType::ToggleDebug, {tTime});
}

HRESULT Default::CreatePOSEventConfig(std::int16_t POSNum, std::int16_t cameranum, std::int16_t MovableFlag,
                                      std::int16_t preset, std::int16_t priority)
{
    const std::int16_t movable = MovableFlag != 0 ? 1 : 0;
    return create(MessageType::POSEventConfig, {POSNum, cameranum, movable, preset, priority});
}

HRESULT Default::RequestPOSEventConfig(std::int16_t POSNum)
{
    if (!kPayloadByte.contains(POSNum))
        return E_INVALIDARG;
    request(MessageType::RequestPOSEventConfig);
    m_buffer.append({POSNum});
    return S_OK;
}

HRESULT Default::RequestTaskDiagnostics() { return request(MessageType::RequestTaskDiagnostics); }
HRESULT Default::RequestBootLoad() { return request(MessageType::RequestBootLoad); }
HRESULT Default::RequestCameraPresets() { return request(MessageType::RequestCameraPresets); }
HRESULT Default::RequestEvents() { return request(MessageType::RequestEvents); }
HRESULT Default::RequestDispenserMap() { return request(MessageType::RequestDispenserMap); }
HRESULT Default::RequestConfigData() { return request(MessageType::RequestConfigData); }
HRESULT Default::RequestHeartbeat() { return request(MessageType::RequestHeartbeat); }
HRESULT Default::RequestInterestZone() { return request(MessageType::RequestInterestZone); }
HRESULT Default::RequestTaskConfig() { return request(MessageType::RequestTaskConfig); }
HRESULT Default::ClearMemory() { return request(MessageType::ClearMemory); }
HRESULT Default::RequestResetCount() { return request(MessageType::RequestResetCount); }
HRESULT Default::ClearResetCount() { return request(MessageType::ClearResetCount); }

} // namespace transport
