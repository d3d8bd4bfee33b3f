#pragma once
// Messages to the unit and readers of its table replies.
//
// A message is a one-byte type and a payload of at most 1000 bytes. The builders (IConfigData,
// ICameraPresets, IEvents, IDefault) are made by IOrvexTransport's get members, filled by the
// caller and handed back to a set member, which sends a copy of the buffer. The readers are
// made by the transport over a received payload and passed with its events; a subscriber may
// keep one after the event. 16-bit arguments are stored as their low byte. Any thread may call
// any member; an object is not meant to be filled by two threads at once.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <vector>

namespace transport {

using ByteArray = std::vector<std::uint8_t>;

inline constexpr int kMaxMessageSize = 1000;

class ORVEX_INTERFACE IOrvexMsg
{
public:
    virtual ~IOrvexMsg() = default;
    virtual HRESULT getBuffer(ByteArray *pBuffer) = 0;
    virtual HRESULT getLength(std::int16_t *pLength) = 0;
    // Copies `buffer` into the data at the absolute position `offset` and adds its size to the
    // length; E_INVALIDARG with the notice "Maximum Message size exceeded.Please break message
    // into parts" when size + length + offset would pass 1000, E_INVALIDARG alone for a negative
    // offset.
    virtual HRESULT setBuffer(const ByteArray &pBuffer, std::int16_t offset) = 0;
};

class ORVEX_INTERFACE IConfigData : public IOrvexMsg
{
public:
    virtual HRESULT InsertDwellTime(std::int16_t time, std::int16_t priority) = 0;
    virtual HRESULT InsertIntervisitTime(std::int16_t time, std::int16_t priority) = 0;
    virtual HRESULT setNumberOfCameras(std::int16_t cameras) = 0;
    virtual HRESULT setCameraID(std::int16_t cameraIndex, std::int16_t cameraID) = 0;
};

class ORVEX_INTERFACE ICameraPresets : public IOrvexMsg
{
public:
    virtual HRESULT AppendPreset(std::int16_t event, std::int16_t camera, std::int16_t preset) = 0;
    virtual HRESULT AppendLogicalDispenser(std::int16_t count) = 0;
};

class ORVEX_INTERFACE IEvents : public IOrvexMsg
{
public:
    virtual HRESULT AppendEvent(std::int16_t event, std::int16_t priority, std::int16_t transition) = 0;
    virtual HRESULT AppendTotalEvents(std::int16_t count) = 0;
};

class ORVEX_INTERFACE IDefault : public IOrvexMsg
{
public:
    virtual HRESULT getMessageType(std::int32_t *messageType) = 0;
    virtual HRESULT AttendantTagTable() = 0;
    virtual HRESULT CreateInterestZoneTable(std::int16_t zone, std::int16_t camera, std::int16_t preset,
                                            const ByteArray &Text) = 0;
    virtual HRESULT CreateDispenserMap(std::int16_t logical, std::int16_t loop, std::int16_t addr,
                                       std::int16_t cardAddr) = 0;
    virtual HRESULT CreateTaskConfig(std::int16_t taskType, std::int16_t inPort, std::int16_t outPort,
                                     std::int16_t iface) = 0;
    virtual HRESULT CreateVehicleRegistration(std::int16_t logical, const ByteArray &regNo) = 0;
    virtual HRESULT CreateBootLoadData(std::int16_t addr, std::int16_t remaining, const ByteArray &data) = 0;
    virtual HRESULT PassThrough(std::int16_t port, const ByteArray &data) = 0;
    virtual HRESULT ToggleDebug(std::int16_t tTime) = 0;
    virtual HRESULT RequestTaskDiagnostics() = 0;
    virtual HRESULT RequestBootLoad() = 0;
    virtual HRESULT RequestCameraPresets() = 0;
    virtual HRESULT RequestEvents() = 0;
    virtual HRESULT RequestDispenserMap() = 0;
    virtual HRESULT RequestConfigData() = 0;
    virtual HRESULT RequestHeartbeat() = 0;
    virtual HRESULT RequestInterestZone() = 0;
    virtual HRESULT RequestTaskConfig() = 0;
    virtual HRESULT ClearMemory() = 0;
    virtual HRESULT RequestResetCount() = 0;
    virtual HRESULT ClearResetCount() = 0;
    virtual HRESULT RequestPOSEventConfig(std::int16_t POSNum) = 0;
    virtual HRESULT CreatePOSEventConfig(std::int16_t POSNum, std::int16_t cameranum,
                                         std::int16_t MovableFlag, std::int16_t preset,
                                         std::int16_t priority) = 0;
};

// Readers: a cursor over the payload, at 1 after Begin (and when new). Reading never passes the
// payload's end: bytes beyond it read as 0.
class ORVEX_INTERFACE IOrvexOutput
{
public:
    virtual ~IOrvexOutput() = default;
    virtual HRESULT Begin() = 0;
    // -1 when the cursor has reached the length, else 0.
    virtual HRESULT isDone(std::int16_t *pVal) = 0;
};

class ORVEX_INTERFACE ICameraPresetsOutput : public IOrvexOutput
{
public:
    virtual HRESULT getDispenserNumber(std::int16_t *pVal) = 0;
    virtual HRESULT getTuple(std::int16_t *eventNo, std::int16_t *cameraNo, std::int16_t *presetNo) = 0;
};

class ORVEX_INTERFACE IConfigDataOutput : public IOrvexOutput
{
public:
    virtual HRESULT getTotalCameras(std::int16_t *pVal) = 0;
    virtual HRESULT getTuple(std::int16_t *priority, std::int16_t *dwellTime, std::int16_t *intervisitTime) = 0;
    virtual HRESULT getCameraID(std::int16_t cameraIndex, std::int16_t *cameraID) = 0;
};

class ORVEX_INTERFACE IEventsOutput : public IOrvexOutput
{
public:
    virtual HRESULT getTotalEvents(std::int16_t *pVal) = 0;
    virtual HRESULT getTuple(std::int16_t *eventNo, std::int16_t *priority, std::int16_t *transition) = 0;
};

} // namespace transport
