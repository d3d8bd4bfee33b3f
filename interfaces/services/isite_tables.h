#pragma once
// The tables of the site held in memory by the service, as the configuration tool edits them.
//
// Every table addresses its records by a 1-based 16-bit index; 0 means "no record". The cursor
// members follow one protocol on every table and on every nested preset list:
// - First: 1 when the list has a record, else 0. Last and Count: the number of records.
// - Next (in/out): 0 when the index is 0 or the last one, else index + 1.
// - Previous (in/out): 0 when the index is 0 or 1, else index - 1.
// - Getters and setters: E_INVALIDARG for an index outside 1..Count; a null out pointer is
//   E_POINTER, checked before the index.
// - Creators append a record with the given number and every other field 0 and give back its
//   index (the new count); E_FAIL when the table already holds 32767 records.
// - Delete (in/out): removes the record; the index then names the record that followed, or 0
//   when it passes the new count. DeleteCamera leaves the index as it was.
// On nested preset lists, the cursor members, RetrieveCameraPreset and the dispenser's
// DeletePreset check the owner's index before the out pointer; the other nested members check
// the pointer first. Numbers are not checked for uniqueness.
//
// The objects live on the service thread and take no lock. A holder keeps an object usable for
// as long as it holds it, also after the site data let it go.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <memory>
#include <string>

namespace services {

class ORVEX_INTERFACE IDeviceData
{
public:
    virtual ~IDeviceData() = default;
    virtual HRESULT First(std::int16_t *index) = 0;
    virtual HRESULT Last(std::int16_t *index) = 0;
    virtual HRESULT Next(std::int16_t *index) = 0;
    virtual HRESULT Previous(std::int16_t *index) = 0;
    virtual HRESULT Count(std::int16_t *count) = 0;
    virtual HRESULT GetDeviceType(std::int16_t index, std::int16_t *deviceType) = 0;
    virtual HRESULT GetInterface(std::int16_t index, std::int16_t *iface) = 0;
    virtual HRESULT GetInport(std::int16_t index, std::int16_t *inport) = 0;
    virtual HRESULT GetOutport(std::int16_t index, std::int16_t *outport) = 0;
    virtual HRESULT SetDeviceType(std::int16_t index, std::int16_t deviceType) = 0;
    virtual HRESULT SetInterface(std::int16_t index, std::int16_t iface) = 0;
    virtual HRESULT SetInport(std::int16_t index, std::int16_t inport) = 0;
    virtual HRESULT SetOutport(std::int16_t index, std::int16_t outport) = 0;
    // Appends an all-zero device.
    virtual HRESULT Append(std::int16_t *index) = 0;
    virtual HRESULT Delete(std::int16_t *index) = 0;
};

class ORVEX_INTERFACE IEventData
{
public:
    virtual ~IEventData() = default;
    virtual HRESULT First(std::int16_t *index) = 0;
    virtual HRESULT Last(std::int16_t *index) = 0;
    virtual HRESULT Next(std::int16_t *index) = 0;
    virtual HRESULT Previous(std::int16_t *index) = 0;
    virtual HRESULT Count(std::int16_t *count) = 0;
    virtual HRESULT GetEventNumber(std::int16_t index, std::int16_t *eventNumber) = 0;
    virtual HRESULT GetPriority(std::int16_t index, std::int16_t *priority) = 0;
    virtual HRESULT GetTransitionPriority(std::int16_t index, std::int16_t *priority) = 0;
    virtual HRESULT SetPriority(std::int16_t index, std::int16_t priority) = 0;
    virtual HRESULT SetTransitionPriority(std::int16_t index, std::int16_t priority) = 0;
    virtual HRESULT NewEvent(std::int16_t eventNumber, std::int16_t *index) = 0;
    virtual HRESULT Delete(std::int16_t *index) = 0;
};

class ORVEX_INTERFACE IPOSData
{
public:
    virtual ~IPOSData() = default;
    virtual HRESULT Count(std::int16_t *count) = 0;
    virtual HRESULT Delete(std::int16_t *index) = 0;
    virtual HRESULT First(std::int16_t *index) = 0;
    virtual HRESULT Last(std::int16_t *index) = 0;
    virtual HRESULT Next(std::int16_t *index) = 0;
    virtual HRESULT Previous(std::int16_t *index) = 0;
    virtual HRESULT NewPOS(std::int16_t POSNumber, std::int16_t *index) = 0;
    virtual HRESULT SetCamera(std::int16_t index, std::int16_t camera) = 0;
    // A COM boolean (-1 true, 0 false), stored as given.
    virtual HRESULT SetMovableFlag(std::int16_t index, std::int16_t movableFlag) = 0;
    virtual HRESULT SetPreset(std::int16_t index, std::int16_t preset) = 0;
    virtual HRESULT SetPriority(std::int16_t index, std::int16_t priority) = 0;
    virtual HRESULT GetCamera(std::int16_t index, std::int16_t *camera) = 0;
    virtual HRESULT GetMovableFlag(std::int16_t index, std::int16_t *movableFlag) = 0;
    virtual HRESULT GetPreset(std::int16_t index, std::int16_t *preset) = 0;
    virtual HRESULT GetPriority(std::int16_t index, std::int16_t *priority) = 0;
    virtual HRESULT GetPOSNumber(std::int16_t index, std::int16_t *POSNumber) = 0;
};

// One preset entry of a dispenser: on this event, move this camera to this preset. The object
// is the dispenser's own entry, so a change through it is a change of the site.
class ORVEX_INTERFACE ICameraPresetData
{
public:
    virtual ~ICameraPresetData() = default;
    virtual HRESULT GetEventNumber(std::int16_t *eventNumber) = 0;
    virtual HRESULT GetCameraNumber(std::int16_t *cameraNumber) = 0;
    virtual HRESULT GetPresetNumber(std::int16_t *presetNumber) = 0;
    virtual HRESULT SetCameraNumber(std::int16_t cameraNumber) = 0;
    virtual HRESULT SetPresetNumber(std::int16_t presetNumber) = 0;
};

class ORVEX_INTERFACE IDispenserData
{
public:
    virtual ~IDispenserData() = default;
    virtual HRESULT FirstDispenser(std::int16_t *dispenser) = 0;
    virtual HRESULT LastDispenser(std::int16_t *dispenser) = 0;
    virtual HRESULT NextDispenser(std::int16_t *dispenser) = 0;
    virtual HRESULT PreviousDispenser(std::int16_t *dispenser) = 0;
    virtual HRESULT CountDispensers(std::int16_t *count) = 0;
    virtual HRESULT GetDispenserLogicalNumber(std::int16_t dispenser, std::int16_t *logicalNumber) = 0;
    virtual HRESULT GetDispenserLoop(std::int16_t dispenser, std::int16_t *loop) = 0;
    virtual HRESULT GetDispenserAddress(std::int16_t dispenser, std::int16_t *address) = 0;
    virtual HRESULT GetCardTerminalAddress(std::int16_t dispenser, std::int16_t *address) = 0;
    virtual HRESULT FirstPreset(std::int16_t dispenser, std::int16_t *preset) = 0;
    virtual HRESULT LastPreset(std::int16_t dispenser, std::int16_t *preset) = 0;
    virtual HRESULT NextPreset(std::int16_t dispenser, std::int16_t *preset) = 0;
    virtual HRESULT PreviousPreset(std::int16_t dispenser, std::int16_t *preset) = 0;
    virtual HRESULT CountPresets(std::int16_t dispenser, std::int16_t *count) = 0;
    // The entry itself, shared with the dispenser.
    virtual HRESULT RetrieveCameraPreset(std::int16_t dispenser, std::int16_t preset,
                                         std::shared_ptr<ICameraPresetData> *entry) = 0;
    virtual HRESULT SetDispenserLoop(std::int16_t dispenser, std::int16_t loop) = 0;
    virtual HRESULT SetDispenserAddress(std::int16_t dispenser, std::int16_t address) = 0;
    virtual HRESULT SetCardTerminalAddress(std::int16_t dispenser, std::int16_t address) = 0;
    virtual HRESULT NewDispenser(std::int16_t logicalNumber, std::int16_t *dispenser) = 0;
    // A new entry for the event, with camera 0 and preset 0.
    virtual HRESULT NewPreset(std::int16_t dispenser, std::int16_t eventNumber, std::int16_t *preset) = 0;
    // Removes the dispenser with its entries.
    virtual HRESULT DeleteDispenser(std::int16_t *dispenser) = 0;
    virtual HRESULT DeletePreset(std::int16_t dispenser, std::int16_t *preset) = 0;
};

class ORVEX_INTERFACE ICameraData
{
public:
    virtual ~ICameraData() = default;
    virtual HRESULT GetCameraNumber(std::int16_t camera, std::int16_t *cameraNumber) = 0;
    virtual HRESULT GetCameraType(std::int16_t camera, std::int16_t *cameraType) = 0;
    virtual HRESULT SetCameraType(std::int16_t camera, std::int16_t cameraType) = 0;
    // A copy of the comment.
    virtual HRESULT GetComment(std::int16_t camera, std::int16_t preset, std::string *comment) = 0;
    // Stores a copy; a null comment is E_POINTER, one that the store could not save or no site
    // file carry (XmlTextFault of platform/xml_text.h) E_INVALIDARG with a trace line, and the
    // comment then stays as it was.
    virtual HRESULT SetComment(std::int16_t camera, std::int16_t preset, const std::string *comment) = 0;
    virtual HRESULT FirstCamera(std::int16_t *camera) = 0;
    virtual HRESULT LastCamera(std::int16_t *camera) = 0;
    virtual HRESULT NextCamera(std::int16_t *camera) = 0;
    virtual HRESULT PreviousCamera(std::int16_t *camera) = 0;
    virtual HRESULT FirstPreset(std::int16_t camera, std::int16_t *preset) = 0;
    virtual HRESULT LastPreset(std::int16_t camera, std::int16_t *preset) = 0;
    virtual HRESULT NextPreset(std::int16_t camera, std::int16_t *preset) = 0;
    virtual HRESULT PreviousPreset(std::int16_t camera, std::int16_t *preset) = 0;
    // A camera of type 0 without presets.
    virtual HRESULT NewCamera(std::int16_t cameraNumber, std::int16_t *camera) = 0;
    // A preset with an empty comment.
    virtual HRESULT NewPreset(std::int16_t camera, std::int16_t presetNumber, std::int16_t *preset) = 0;
    // Removes the camera with its presets; the index is left as it was.
    virtual HRESULT DeleteCamera(std::int16_t *camera) = 0;
    virtual HRESULT DeletePreset(std::int16_t camera, std::int16_t *preset) = 0;
    virtual HRESULT CountCameras(std::int16_t *count) = 0;
    virtual HRESULT CountPresets(std::int16_t camera, std::int16_t *count) = 0;
    virtual HRESULT GetPresetNumber(std::int16_t camera, std::int16_t preset, std::int16_t *presetNumber) = 0;
};

} // namespace services
