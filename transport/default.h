#pragma once
// Every message that is not one of the three tables: requests (no payload, or the point of sale
// for RequestPOSEventConfig), the interest zone, dispenser map, task, vehicle registration,
// point-of-sale event and boot load tables, pass-through bytes for a unit port, and the debug
// toggle. getMessageType gives the type the last member set (0 before any).
//
// A request discards what the object held. The other builders append their fixed bytes at the
// current length (a fresh object has length 0); those that take bytes then copy them to the
// absolute position just after their fixed bytes. A builder whose bytes would pass the 1000th
// byte returns E_INVALIDARG (with the size notice where bytes were handed in) and leaves the
// object as it was; so does one handed a value that no byte gives back (outside kPayloadByte),
// RequestPOSEventConfig included. The boot load's address and remaining count are 16-bit values
// sent as two bytes each. AttendantTagTable only gives its notice and E_FAIL.

#include "message_type.h"
#include "orvex_msg.h"

namespace transport {

class Default final : public OrvexMsg<IDefault>
{
public:
    HRESULT getMessageType(std::int32_t *messageType) override;
    HRESULT AttendantTagTable() override;
    HRESULT CreateInterestZoneTable(std::int16_t zone, std::int16_t camera, std::int16_t preset,
                                    const ByteArray &Text) override;
    HRESULT CreateDispenserMap(std::int16_t logical, std::int16_t loop, std::int16_t addr,
                               std::int16_t cardAddr) override;
    HRESULT CreateTaskConfig(std::int16_t taskType, std::int16_t inPort, std::int16_t outPort,
                             std::int16_t iface) override;
    HRESULT CreateVehicleRegistration(std::int16_t logical, const ByteArray &regNo) override;
    HRESULT CreateBootLoadData(std::int16_t addr, std::int16_t remaining, const ByteArray &data) override;
    HRESULT PassThrough(std::int16_t port, const ByteArray &data) override;
    HRESULT ToggleDebug(std::int16_t tTime) override;
    HRESULT RequestTaskDiagnostics() override;
    HRESULT RequestBootLoad() override;
    HRESULT RequestCameraPresets() override;
    HRESULT RequestEvents() override;
    HRESULT RequestDispenserMap() override;
    HRESULT RequestConfigData() override;
    HRESULT RequestHeartbeat() override;
    HRESULT RequestInterestZone() override;
    HRESULT RequestTaskConfig() override;
    HRESULT ClearMemory() override;
    HRESULT RequestResetCount() override;
    HRESULT ClearResetCount() override;
    HRESULT RequestPOSEventConfig(std::int16_t POSNum) override;
    HRESULT CreatePOSEventConfig(std::int16_t POSNum, std::int16_t cameranum, std::int16_t MovableFlag,
                                 std::int16_t preset, std::int16_t priority) override;

private:
    HRESULT request(MessageType type);
    HRESULT create(MessageType type, std::initializer_list<std::int16_t> fixed);
    HRESULT create(MessageType type, std::initializer_list<std::int16_t> fixed, const ByteArray &bytes);

    std::int32_t m_type = 0;
};

} // namespace transport
