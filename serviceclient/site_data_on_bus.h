#pragma once
// The service's site data and its six tables over the bus: QtDBus implementations of
// services::IOrvexConfigData and the data interfaces of interfaces/services, so that the tool's
// logic runs unchanged on the bus and on the in-process tables of its tests. Every member is
// one blocking call on the generated proxy; getters of other objects answer the object's path,
// for which a wrapper of its own is made (proxies do not introspect, so one per entry is cheap).
//
// Ownership: the wrappers keep their proxies; they and everything they hand out must go before
// the ServiceBus they were made on. Threads: the thread of that ServiceBus only.
// Errors: a member answers the service's result code; an answer the bus refused raises
// CallError (bus_reply.h).

#include "serviceclient/service_bus.h"

#include "interfaces/services/iorvex_config_data.h"
#include "interfaces/services/isite_tables.h"

#include <QDBusObjectPath>

#include <memory>

class OrgOrvexICameraDataInterface;
class OrgOrvexICameraPresetDataInterface;
class OrgOrvexIDeviceDataInterface;
class OrgOrvexIDispenserDataInterface;
class OrgOrvexIEventDataInterface;
class OrgOrvexIOrvexConfigDataInterface;
class OrgOrvexIPOSDataInterface;

namespace serviceclient {

class OrvexConfigDataOnBus final : public services::IOrvexConfigData
{
public:
    OrvexConfigDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path);
    ~OrvexConfigDataOnBus() override;
    OrvexConfigDataOnBus(const OrvexConfigDataOnBus &) = delete;
    OrvexConfigDataOnBus &operator=(const OrvexConfigDataOnBus &) = delete;

    HRESULT LoadSite(const std::string *siteName) override;
    HRESULT GetDwellTime(std::int16_t priority, std::int16_t *time) override;
    HRESULT SetDwellTime(std::int16_t priority, std::int16_t time) override;
    HRESULT GetIntervisitTime(std::int16_t priority, std::int16_t *time) override;
    HRESULT SetIntervisitTime(std::int16_t priority, std::int16_t time) override;
    HRESULT RetrieveDevice(std::shared_ptr<services::IDeviceData> *devices) override;
    HRESULT RetrieveDispenser(std::shared_ptr<services::IDispenserData> *dispensers) override;
    HRESULT RetrieveEvent(std::shared_ptr<services::IEventData> *events) override;
    HRESULT Save() override;
    HRESULT NewSite(const std::string *siteName) override;
    HRESULT InitializeStorage() override;
    HRESULT ExportSite(const std::string *siteName, const std::string *fileName) override;
    HRESULT ImportSite(const std::string *siteName, const std::string *fileName) override;
    HRESULT UnloadSite() override;
    HRESULT DeleteSite(const std::string *siteName) override;
    HRESULT RetrieveCamera(std::shared_ptr<services::ICameraData> *cameras) override;
    HRESULT EnumSites(std::vector<std::string> *sites, std::int32_t *count) override;
    HRESULT UnInitializeStorage() override;
    HRESULT UnloadSiteButKeepCameraData() override;
    HRESULT RetrievePOS(std::shared_ptr<services::IPOSData> *points) override;
    HRESULT GetErrorDescription(std::string *description) override;

private:
    const ServiceBus &m_bus;
    std::unique_ptr<OrgOrvexIOrvexConfigDataInterface> m_proxy;
};

namespace detail {

// The cursor members and Delete that the device, event and point-of-sale tables share.
template <typename Interface, typename Proxy> class RecordListOnBus : public Interface
{
public:
    HRESULT First(std::int16_t *index) override;
    HRESULT Last(std::int16_t *index) override;
    HRESULT Next(std::int16_t *index) override;
    HRESULT Previous(std::int16_t *index) override;
    HRESULT Count(std::int16_t *count) override;
    HRESULT Delete(std::int16_t *index) override;

protected:
    RecordListOnBus(const ServiceBus &bus, const QDBusObjectPath &path);
    ~RecordListOnBus() override;

    std::unique_ptr<Proxy> m_proxy;
};

// The members of the nested preset lists that the dispenser and camera tables share; `owner` is
// the dispenser's or the camera's index.
template <typename Interface, typename Proxy> class PresetListsOnBus : public Interface
{
public:
    HRESULT FirstPreset(std::int16_t owner, std::int16_t *index) override;
    HRESULT LastPreset(std::int16_t owner, std::int16_t *index) override;
    HRESULT NextPreset(std::int16_t owner, std::int16_t *index) override;
    HRESULT PreviousPreset(std::int16_t owner, std::int16_t *index) override;
    HRESULT CountPresets(std::int16_t owner, std::int16_t *count) override;
    HRESULT NewPreset(std::int16_t owner, std::int16_t number, std::int16_t *index) override;
    HRESULT DeletePreset(std::int16_t owner, std::int16_t *index) override;

protected:
    PresetListsOnBus(const ServiceBus &bus, const QDBusObjectPath &path);
    ~PresetListsOnBus() override;

    std::unique_ptr<Proxy> m_proxy;
};

} // namespace detail

class DeviceDataOnBus final
    : public detail::RecordListOnBus<services::IDeviceData, OrgOrvexIDeviceDataInterface>
{
public:
    DeviceDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path);
    ~DeviceDataOnBus() override;
    DeviceDataOnBus(const DeviceDataOnBus &) = delete;
    DeviceDataOnBus &operator=(const DeviceDataOnBus &) = delete;

    HRESULT GetDeviceType(std::int16_t index, std::int16_t *value) override;
    HRESULT GetInterface(std::int16_t index, std::int16_t *value) override;
    HRESULT GetInport(std::int16_t index, std::int16_t *value) override;
    HRESULT GetOutport(std::int16_t index, std::int16_t *value) override;
    HRESULT SetDeviceType(std::int16_t index, std::int16_t deviceType) override;
    HRESULT SetInterface(std::int16_t index, std::int16_t iface) override;
    HRESULT SetInport(std::int16_t index, std::int16_t inport) override;
    HRESULT SetOutport(std::int16_t index, std::int16_t outport) override;
    HRESULT Append(std::int16_t *value) override;
};

class EventDataOnBus final
    : public detail::RecordListOnBus<services::IEventData, OrgOrvexIEventDataInterface>
{
public:
    EventDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path);
    ~EventDataOnBus() override;
    EventDataOnBus(const EventDataOnBus &) = delete;
    EventDataOnBus &operator=(const EventDataOnBus &) = delete;

    HRESULT GetEventNumber(std::int16_t index, std::int16_t *value) override;
    HRESULT GetPriority(std::int16_t index, std::int16_t *value) override;
    HRESULT GetTransitionPriority(std::int16_t index, std::int16_t *value) override;
    HRESULT SetPriority(std::int16_t index, std::int16_t priority) override;
    HRESULT SetTransitionPriority(std::int16_t index, std::int16_t priority) override;
    HRESULT NewEvent(std::int16_t eventNumber, std::int16_t *value) override;
};

class POSDataOnBus final
    : public detail::RecordListOnBus<services::IPOSData, OrgOrvexIPOSDataInterface>
{
public:
    POSDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path);
    ~POSDataOnBus() override;
    POSDataOnBus(const POSDataOnBus &) = delete;
    POSDataOnBus &operator=(const POSDataOnBus &) = delete;

    HRESULT NewPOS(std::int16_t POSNumber, std::int16_t *value) override;
    HRESULT SetCamera(std::int16_t index, std::int16_t camera) override;
    HRESULT SetMovableFlag(std::int16_t index, std::int16_t movableFlag) override;
    HRESULT SetPreset(std::int16_t index, std::int16_t preset) override;
    HRESULT SetPriority(std::int16_t index, std::int16_t priority) override;
    HRESULT GetCamera(std::int16_t index, std::int16_t *value) override;
    HRESULT GetMovableFlag(std::int16_t index, std::int16_t *value) override;
    HRESULT GetPreset(std::int16_t index, std::int16_t *value) override;
    HRESULT GetPriority(std::int16_t index, std::int16_t *value) override;
    HRESULT GetPOSNumber(std::int16_t index, std::int16_t *value) override;
};

class CameraPresetDataOnBus final : public services::ICameraPresetData
{
public:
    CameraPresetDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path);
    ~CameraPresetDataOnBus() override;
    CameraPresetDataOnBus(const CameraPresetDataOnBus &) = delete;
    CameraPresetDataOnBus &operator=(const CameraPresetDataOnBus &) = delete;

    HRESULT GetEventNumber(std::int16_t *value) override;
    HRESULT GetCameraNumber(std::int16_t *value) override;
    HRESULT GetPresetNumber(std::int16_t *value) override;
    HRESULT SetCameraNumber(std::int16_t cameraNumber) override;
    HRESULT SetPresetNumber(std::int16_t presetNumber) override;

private:
    std::unique_ptr<OrgOrvexICameraPresetDataInterface> m_proxy;
};

class DispenserDataOnBus final
    : public detail::PresetListsOnBus<services::IDispenserData, OrgOrvexIDispenserDataInterface>
{
public:
    DispenserDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path);
    ~DispenserDataOnBus() override;
    DispenserDataOnBus(const DispenserDataOnBus &) = delete;
    DispenserDataOnBus &operator=(const DispenserDataOnBus &) = delete;

    HRESULT FirstDispenser(std::int16_t *value) override;
    HRESULT LastDispenser(std::int16_t *value) override;
    HRESULT NextDispenser(std::int16_t *value) override;
    HRESULT PreviousDispenser(std::int16_t *value) override;
    HRESULT CountDispensers(std::int16_t *value) override;
    HRESULT GetDispenserLogicalNumber(std::int16_t dispenser, std::int16_t *value) override;
    HRESULT GetDispenserLoop(std::int16_t dispenser, std::int16_t *value) override;
    HRESULT GetDispenserAddress(std::int16_t dispenser, std::int16_t *value) override;
    HRESULT GetCardTerminalAddress(std::int16_t dispenser, std::int16_t *value) override;
    HRESULT SetDispenserLoop(std::int16_t dispenser, std::int16_t loop) override;
    HRESULT SetDispenserAddress(std::int16_t dispenser, std::int16_t address) override;
    HRESULT SetCardTerminalAddress(std::int16_t dispenser, std::int16_t address) override;
    HRESULT NewDispenser(std::int16_t logicalNumber, std::int16_t *value) override;
    HRESULT DeleteDispenser(std::int16_t *value) override;
    HRESULT RetrieveCameraPreset(std::int16_t dispenser, std::int16_t preset,
                                 std::shared_ptr<services::ICameraPresetData> *entry) override;

private:
    const ServiceBus &m_bus;
};

class CameraDataOnBus final
    : public detail::PresetListsOnBus<services::ICameraData, OrgOrvexICameraDataInterface>
{
public:
    CameraDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path);
    ~CameraDataOnBus() override;
    CameraDataOnBus(const CameraDataOnBus &) = delete;
    CameraDataOnBus &operator=(const CameraDataOnBus &) = delete;

    HRESULT GetCameraNumber(std::int16_t camera, std::int16_t *value) override;
    HRESULT GetCameraType(std::int16_t camera, std::int16_t *value) override;
    HRESULT SetCameraType(std::int16_t camera, std::int16_t cameraType) override;
    HRESULT FirstCamera(std::int16_t *value) override;
    HRESULT LastCamera(std::int16_t *value) override;
    HRESULT NextCamera(std::int16_t *value) override;
    HRESULT PreviousCamera(std::int16_t *value) override;
    HRESULT NewCamera(std::int16_t cameraNumber, std::int16_t *value) override;
    HRESULT DeleteCamera(std::int16_t *value) override;
    HRESULT CountCameras(std::int16_t *value) override;
    HRESULT GetPresetNumber(std::int16_t camera, std::int16_t preset, std::int16_t *value) override;
    HRESULT GetComment(std::int16_t camera, std::int16_t preset, std::string *comment) override;
    HRESULT SetComment(std::int16_t camera, std::int16_t preset,
                       const std::string *comment) override;
};

} // namespace serviceclient
