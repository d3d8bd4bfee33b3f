#include "serviceclient/site_data_on_bus.h"

#include "serviceclient/bus_reply.h"
#include "serviceclient/proxies/orvexservices_proxy.h"

namespace serviceclient {

using detail::ask;

namespace {

QString toBus(const std::string &text)
{
    return QString::fromStdString(text);
}

// A getter of another object: the wrapper of the object at the path it answers.
template <typename Table, typename Interface, typename MakeCall>
HRESULT retrieve(const ServiceBus &bus, std::shared_ptr<Interface> *out, const char *call,
                 MakeCall makeCall)
{
    if (out == nullptr)
        return E_POINTER;
    QDBusObjectPath path;
    const HRESULT hr = ask(&path, call, makeCall);
    if (SUCCEEDED(hr))
        *out = std::make_shared<Table>(bus, path);
    return hr;
}

} // namespace

namespace detail {

template <typename Interface, typename Proxy>
RecordListOnBus<Interface, Proxy>::RecordListOnBus(const ServiceBus &bus,
                                                   const QDBusObjectPath &path)
    : m_proxy(bus.proxy<Proxy>(path))
{}

template <typename Interface, typename Proxy>
RecordListOnBus<Interface, Proxy>::~RecordListOnBus() = default;

template <typename Interface, typename Proxy>
HRESULT RecordListOnBus<Interface, Proxy>::First(std::int16_t *index)
{
    return ask(index, "First", [&] { return m_proxy->First(); });
}

template <typename Interface, typename Proxy>
HRESULT RecordListOnBus<Interface, Proxy>::Last(std::int16_t *index)
{
    return ask(index, "Last", [&] { return m_proxy->Last(); });
}

template <typename Interface, typename Proxy>
HRESULT RecordListOnBus<Interface, Proxy>::Next(std::int16_t *index)
{
    return ask(index, "Next", [&] { return m_proxy->Next(*index); });
}

template <typename Interface, typename Proxy>
HRESULT RecordListOnBus<Interface, Proxy>::Previous(std::int16_t *index)
{
    return ask(index, "Previous", [&] { return m_proxy->Previous(*index); });
}

template <typename Interface, typename Proxy>
HRESULT RecordListOnBus<Interface, Proxy>::Count(std::int16_t *count)
{
    return ask(count, "Count", [&] { return m_proxy->Count(); });
}

template <typename Interface, typename Proxy>
HRESULT RecordListOnBus<Interface, Proxy>::Delete(std::int16_t *index)
{
    return ask(index, "Delete", [&] { return m_proxy->Delete(*index); });
}

template class RecordListOnBus<services::IDeviceData, OrgOrvexIDeviceDataInterface>;
template class RecordListOnBus<services::IEventData, OrgOrvexIEventDataInterface>;
template class RecordListOnBus<services::IPOSData, OrgOrvexIPOSDataInterface>;

template <typename Interface, typename Proxy>
PresetListsOnBus<Interface, Proxy>::PresetListsOnBus(const ServiceBus &bus,
                                                     const QDBusObjectPath &path)
    : m_proxy(bus.proxy<Proxy>(path))
{}

template <typename Interface, typename Proxy>
PresetListsOnBus<Interface, Proxy>::~PresetListsOnBus() = default;

template <typename Interface, typename Proxy>
HRESULT PresetListsOnBus<Interface, Proxy>::FirstPreset(std::int16_t owner, std::int16_t *index)
{
    return ask(index, "FirstPreset", [&] { return m_proxy->FirstPreset(owner); });
}

template <typename Interface, typename Proxy>
HRESULT PresetListsOnBus<Interface, Proxy>::LastPreset(std::int16_t owner, std::int16_t *index)
{
    return ask(index, "LastPreset", [&] { return m_proxy->LastPreset(owner); });
}

template <typename Interface, typename Proxy>
HRESULT PresetListsOnBus<Interface, Proxy>::NextPreset(std::int16_t owner, std::int16_t *index)
{
    return ask(index, "NextPreset", [&] { return m_proxy->NextPreset(owner, *index); });
}

template <typename Interface, typename Proxy>
HRESULT PresetListsOnBus<Interface, Proxy>::PreviousPreset(std::int16_t owner, std::int16_t *index)
{
    return ask(index, "PreviousPreset", [&] { return m_proxy->PreviousPreset(owner, *index); });
}

template <typename Interface, typename Proxy>
HRESULT PresetListsOnBus<Interface, Proxy>::CountPresets(std::int16_t owner, std::int16_t *count)
{
    return ask(count, "CountPresets", [&] { return m_proxy->CountPresets(owner); });
}

template <typename Interface, typename Proxy>
HRESULT PresetListsOnBus<Interface, Proxy>::NewPreset(std::int16_t owner, std::int16_t number,
                                                      std::int16_t *index)
{
    return ask(index, "NewPreset", [&] { return m_proxy->NewPreset(owner, number); });
}

template <typename Interface, typename Proxy>
HRESULT PresetListsOnBus<Interface, Proxy>::DeletePreset(std::int16_t owner, std::int16_t *index)
{
    return ask(index, "DeletePreset", [&] { return m_proxy->DeletePreset(owner, *index); });
}

template class PresetListsOnBus<services::IDispenserData, OrgOrvexIDispenserDataInterface>;
template class PresetListsOnBus<services::ICameraData, OrgOrvexICameraDataInterface>;

} // namespace detail

OrvexConfigDataOnBus::OrvexConfigDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : m_bus(bus), m_proxy(bus.proxy<OrgOrvexIOrvexConfigDataInterface>(path))
{}

OrvexConfigDataOnBus::~OrvexConfigDataOnBus() = default;

HRESULT OrvexConfigDataOnBus::LoadSite(const std::string *siteName)
{
    if (siteName == nullptr)
        return E_POINTER;
    return ask("LoadSite", [&] { return m_proxy->LoadSite(toBus(*siteName)); });
}

HRESULT OrvexConfigDataOnBus::GetDwellTime(std::int16_t priority, std::int16_t *time)
{
    return ask(time, "GetDwellTime", [&] { return m_proxy->GetDwellTime(priority); });
}

HRESULT OrvexConfigDataOnBus::SetDwellTime(std::int16_t priority, std::int16_t time)
{
    return ask("SetDwellTime", [&] { return m_proxy->SetDwellTime(priority, time); });
}

HRESULT OrvexConfigDataOnBus::GetIntervisitTime(std::int16_t priority, std::int16_t *time)
{
    return ask(time, "GetIntervisitTime", [&] { return m_proxy->GetIntervisitTime(priority); });
}

HRESULT OrvexConfigDataOnBus::SetIntervisitTime(std::int16_t priority, std::int16_t time)
{
    return ask("SetIntervisitTime", [&] { return m_proxy->SetIntervisitTime(priority, time); });
}

HRESULT OrvexConfigDataOnBus::RetrieveDevice(std::shared_ptr<services::IDeviceData> *devices)
{
    return retrieve<DeviceDataOnBus>(m_bus, devices, "RetrieveDevice",
                                     [&] { return m_proxy->RetrieveDevice(); });
}

HRESULT
OrvexConfigDataOnBus::RetrieveDispenser(std::shared_ptr<services::IDispenserData> *dispensers)
{
    return retrieve<DispenserDataOnBus>(m_bus, dispensers, "RetrieveDispenser",
                                        [&] { return m_proxy->RetrieveDispenser(); });
}

HRESULT OrvexConfigDataOnBus::RetrieveEvent(std::shared_ptr<services::IEventData> *events)
{
    return retrieve<EventDataOnBus>(m_bus, events, "RetrieveEvent",
                                    [&] { return m_proxy->RetrieveEvent(); });
}

HRESULT OrvexConfigDataOnBus::Save()
{
    return ask("Save", [&] { return m_proxy->Save(); });
}

HRESULT OrvexConfigDataOnBus::NewSite(const std::string *siteName)
{
    if (siteName == nullptr)
        return E_POINTER;
    return ask("NewSite", [&] { return m_proxy->NewSite(toBus(*siteName)); });
}

HRESULT OrvexConfigDataOnBus::InitializeStorage()
{
    return ask("InitializeStorage", [&] { return m_proxy->InitializeStorage(); });
}

HRESULT OrvexConfigDataOnBus::ExportSite(const std::string *siteName, const std::string *fileName)
{
    if (siteName == nullptr || fileName == nullptr)
        return E_POINTER;
    return ask("ExportSite",
               [&] { return m_proxy->ExportSite(toBus(*siteName), toBus(*fileName)); });
}

HRESULT OrvexConfigDataOnBus::ImportSite(const std::string *siteName, const std::string *fileName)
{
    if (siteName == nullptr || fileName == nullptr)
        return E_POINTER;
    return ask("ImportSite",
               [&] { return m_proxy->ImportSite(toBus(*siteName), toBus(*fileName)); });
}

HRESULT OrvexConfigDataOnBus::UnloadSite()
{
    return ask("UnloadSite", [&] { return m_proxy->UnloadSite(); });
}

HRESULT OrvexConfigDataOnBus::DeleteSite(const std::string *siteName)
{
    if (siteName == nullptr)
        return E_POINTER;
    return ask("DeleteSite", [&] { return m_proxy->DeleteSite(toBus(*siteName)); });
}

HRESULT OrvexConfigDataOnBus::RetrieveCamera(std::shared_ptr<services::ICameraData> *cameras)
{
    return retrieve<CameraDataOnBus>(m_bus, cameras, "RetrieveCamera",
                                     [&] { return m_proxy->RetrieveCamera(); });
}

HRESULT OrvexConfigDataOnBus::EnumSites(std::vector<std::string> *sites, std::int32_t *count)
{
    return ask(sites, count, "EnumSites", [&] { return m_proxy->EnumSites(); });
}

HRESULT OrvexConfigDataOnBus::UnInitializeStorage()
{
    return ask("UnInitializeStorage", [&] { return m_proxy->UnInitializeStorage(); });
}

HRESULT OrvexConfigDataOnBus::UnloadSiteButKeepCameraData()
{
    return ask("UnloadSiteButKeepCameraData",
               [&] { return m_proxy->UnloadSiteButKeepCameraData(); });
}

HRESULT OrvexConfigDataOnBus::RetrievePOS(std::shared_ptr<services::IPOSData> *points)
{
    return retrieve<POSDataOnBus>(m_bus, points, "RetrievePOS",
                                  [&] { return m_proxy->RetrievePOS(); });
}

HRESULT OrvexConfigDataOnBus::GetErrorDescription(std::string *description)
{
    return ask(description, "GetErrorDescription", [&] { return m_proxy->GetErrorDescription(); });
}

DeviceDataOnBus::DeviceDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : RecordListOnBus(bus, path)
{}

DeviceDataOnBus::~DeviceDataOnBus() = default;

HRESULT DeviceDataOnBus::GetDeviceType(std::int16_t index, std::int16_t *value)
{
    return ask(value, "GetDeviceType", [&] { return m_proxy->GetDeviceType(index); });
}

HRESULT DeviceDataOnBus::GetInterface(std::int16_t index, std::int16_t *value)
{
    return ask(value, "GetInterface", [&] { return m_proxy->GetInterface(index); });
}

HRESULT DeviceDataOnBus::GetInport(std::int16_t index, std::int16_t *value)
{
    return ask(value, "GetInport", [&] { return m_proxy->GetInport(index); });
}

HRESULT DeviceDataOnBus::GetOutport(std::int16_t index, std::int16_t *value)
{
    return ask(value, "GetOutport", [&] { return m_proxy->GetOutport(index); });
}

HRESULT DeviceDataOnBus::SetDeviceType(std::int16_t index, std::int16_t deviceType)
{
    return ask("SetDeviceType", [&] { return m_proxy->SetDeviceType(index, deviceType); });
}

HRESULT DeviceDataOnBus::SetInterface(std::int16_t index, std::int16_t iface)
{
    return ask("SetInterface", [&] { return m_proxy->SetInterface(index, iface); });
}

HRESULT DeviceDataOnBus::SetInport(std::int16_t index, std::int16_t inport)
{
    return ask("SetInport", [&] { return m_proxy->SetInport(index, inport); });
}

HRESULT DeviceDataOnBus::SetOutport(std::int16_t index, std::int16_t outport)
{
    return ask("SetOutport", [&] { return m_proxy->SetOutport(index, outport); });
}

HRESULT DeviceDataOnBus::Append(std::int16_t *value)
{
    return ask(value, "Append", [&] { return m_proxy->Append(); });
}

EventDataOnBus::EventDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : RecordListOnBus(bus, path)
{}

EventDataOnBus::~EventDataOnBus() = default;

HRESULT EventDataOnBus::GetEventNumber(std::int16_t index, std::int16_t *value)
{
    return ask(value, "GetEventNumber", [&] { return m_proxy->GetEventNumber(index); });
}

HRESULT EventDataOnBus::GetPriority(std::int16_t index, std::int16_t *value)
{
    return ask(value, "GetPriority", [&] { return m_proxy->GetPriority(index); });
}

HRESULT EventDataOnBus::GetTransitionPriority(std::int16_t index, std::int16_t *value)
{
    return ask(value, "GetTransitionPriority",
               [&] { return m_proxy->GetTransitionPriority(index); });
}

HRESULT EventDataOnBus::SetPriority(std::int16_t index, std::int16_t priority)
{
    return ask("SetPriority", [&] { return m_proxy->SetPriority(index, priority); });
}

HRESULT EventDataOnBus::SetTransitionPriority(std::int16_t index, std::int16_t priority)
{
    return ask("SetTransitionPriority",
               [&] { return m_proxy->SetTransitionPriority(index, priority); });
}

HRESULT EventDataOnBus::NewEvent(std::int16_t eventNumber, std::int16_t *value)
{
    return ask(value, "NewEvent", [&] { return m_proxy->NewEvent(eventNumber); });
}

POSDataOnBus::POSDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : RecordListOnBus(bus, path)
{}

POSDataOnBus::~POSDataOnBus() = default;

HRESULT POSDataOnBus::NewPOS(std::int16_t POSNumber, std::int16_t *value)
{
    return ask(value, "NewPOS", [&] { return m_proxy->NewPOS(POSNumber); });
}

HRESULT POSDataOnBus::SetCamera(std::int16_t index, std::int16_t camera)
{
    return ask("SetCamera", [&] { return m_proxy->SetCamera(index, camera); });
}

HRESULT POSDataOnBus::SetMovableFlag(std::int16_t index, std::int16_t movableFlag)
{
    return ask("SetMovableFlag", [&] { return m_proxy->SetMovableFlag(index, movableFlag); });
}

HRESULT POSDataOnBus::SetPreset(std::int16_t index, std::int16_t preset)
{
    return ask("SetPreset", [&] { return m_proxy->SetPreset(index, preset); });
}

HRESULT POSDataOnBus::SetPriority(std::int16_t index, std::int16_t priority)
{
    return ask("SetPriority", [&] { return m_proxy->SetPriority(index, priority); });
}

HRESULT POSDataOnBus::GetCamera(std::int16_t index, std::int16_t *value)
{
    return ask(value, "GetCamera", [&] { return m_proxy->GetCamera(index); });
}

HRESULT POSDataOnBus::GetMovableFlag(std::int16_t index, std::int16_t *value)
{
    return ask(value, "GetMovableFlag", [&] { return m_proxy->GetMovableFlag(index); });
}

HRESULT POSDataOnBus::GetPreset(std::int16_t index, std::int16_t *value)
{
    return ask(value, "GetPreset", [&] { return m_proxy->GetPreset(index); });
}

HRESULT POSDataOnBus::GetPriority(std::int16_t index, std::int16_t *value)
{
    return ask(value, "GetPriority", [&] { return m_proxy->GetPriority(index); });
}

HRESULT POSDataOnBus::GetPOSNumber(std::int16_t index, std::int16_t *value)
{
    return ask(value, "GetPOSNumber", [&] { return m_proxy->GetPOSNumber(index); });
}

CameraPresetDataOnBus::CameraPresetDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : m_proxy(bus.proxy<OrgOrvexICameraPresetDataInterface>(path))
{}

CameraPresetDataOnBus::~CameraPresetDataOnBus() = default;

HRESULT CameraPresetDataOnBus::GetEventNumber(std::int16_t *value)
{
    return ask(value, "GetEventNumber", [&] { return m_proxy->GetEventNumber(); });
}

HRESULT CameraPresetDataOnBus::GetCameraNumber(std::int16_t *value)
{
    return ask(value, "GetCameraNumber", [&] { return m_proxy->GetCameraNumber(); });
}

HRESULT CameraPresetDataOnBus::GetPresetNumber(std::int16_t *value)
{
    return ask(value, "GetPresetNumber", [&] { return m_proxy->GetPresetNumber(); });
}

HRESULT CameraPresetDataOnBus::SetCameraNumber(std::int16_t cameraNumber)
{
    return ask("SetCameraNumber", [&] { return m_proxy->SetCameraNumber(cameraNumber); });
}

HRESULT CameraPresetDataOnBus::SetPresetNumber(std::int16_t presetNumber)
{
    return ask("SetPresetNumber", [&] { return m_proxy->SetPresetNumber(presetNumber); });
}

DispenserDataOnBus::DispenserDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : PresetListsOnBus(bus, path), m_bus(bus)
{}

DispenserDataOnBus::~DispenserDataOnBus() = default;

HRESULT DispenserDataOnBus::FirstDispenser(std::int16_t *value)
{
    return ask(value, "FirstDispenser", [&] { return m_proxy->FirstDispenser(); });
}

HRESULT DispenserDataOnBus::LastDispenser(std::int16_t *value)
{
    return ask(value, "LastDispenser", [&] { return m_proxy->LastDispenser(); });
}

HRESULT DispenserDataOnBus::NextDispenser(std::int16_t *value)
{
    return ask(value, "NextDispenser", [&] { return m_proxy->NextDispenser(*value); });
}

HRESULT DispenserDataOnBus::PreviousDispenser(std::int16_t *value)
{
    return ask(value, "PreviousDispenser", [&] { return m_proxy->PreviousDispenser(*value); });
}

HRESULT DispenserDataOnBus::CountDispensers(std::int16_t *value)
{
    return ask(value, "CountDispensers", [&] { return m_proxy->CountDispensers(); });
}

HRESULT DispenserDataOnBus::GetDispenserLogicalNumber(std::int16_t dispenser, std::int16_t *value)
{
    return ask(value, "GetDispenserLogicalNumber",
               [&] { return m_proxy->GetDispenserLogicalNumber(dispenser); });
}

HRESULT DispenserDataOnBus::GetDispenserLoop(std::int16_t dispenser, std::int16_t *value)
{
    return ask(value, "GetDispenserLoop", [&] { return m_proxy->GetDispenserLoop(dispenser); });
}

HRESULT DispenserDataOnBus::GetDispenserAddress(std::int16_t dispenser, std::int16_t *value)
{
    return ask(value, "GetDispenserAddress",
               [&] { return m_proxy->GetDispenserAddress(dispenser); });
}

HRESULT DispenserDataOnBus::GetCardTerminalAddress(std::int16_t dispenser, std::int16_t *value)
{
    return ask(value, "GetCardTerminalAddress",
               [&] { return m_proxy->GetCardTerminalAddress(dispenser); });
}

HRESULT DispenserDataOnBus::SetDispenserLoop(std::int16_t dispenser, std::int16_t loop)
{
    return ask("SetDispenserLoop", [&] { return m_proxy->SetDispenserLoop(dispenser, loop); });
}

HRESULT DispenserDataOnBus::SetDispenserAddress(std::int16_t dispenser, std::int16_t address)
{
    return ask("SetDispenserAddress",
               [&] { return m_proxy->SetDispenserAddress(dispenser, address); });
}

HRESULT DispenserDataOnBus::SetCardTerminalAddress(std::int16_t dispenser, std::int16_t address)
{
    return ask("SetCardTerminalAddress",
               [&] { return m_proxy->SetCardTerminalAddress(dispenser, address); });
}

HRESULT DispenserDataOnBus::NewDispenser(std::int16_t logicalNumber, std::int16_t *value)
{
    return ask(value, "NewDispenser", [&] { return m_proxy->NewDispenser(logicalNumber); });
}

HRESULT DispenserDataOnBus::DeleteDispenser(std::int16_t *value)
{
    return ask(value, "DeleteDispenser", [&] { return m_proxy->DeleteDispenser(*value); });
}

CameraDataOnBus::CameraDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : PresetListsOnBus(bus, path)
{}

CameraDataOnBus::~CameraDataOnBus() = default;

HRESULT CameraDataOnBus::GetCameraNumber(std::int16_t camera, std::int16_t *value)
{
    return ask(value, "GetCameraNumber", [&] { return m_proxy->GetCameraNumber(camera); });
}

HRESULT CameraDataOnBus::GetCameraType(std::int16_t camera, std::int16_t *value)
{
    return ask(value, "GetCameraType", [&] { return m_proxy->GetCameraType(camera); });
}

HRESULT CameraDataOnBus::SetCameraType(std::int16_t camera, std::int16_t cameraType)
{
    return ask("SetCameraType", [&] { return m_proxy->SetCameraType(camera, cameraType); });
}

HRESULT CameraDataOnBus::FirstCamera(std::int16_t *value)
{
    return ask(value, "FirstCamera", [&] { return m_proxy->FirstCamera(); });
}

HRESULT CameraDataOnBus::LastCamera(std::int16_t *value)
{
    return ask(value, "LastCamera", [&] { return m_proxy->LastCamera(); });
}

HRESULT CameraDataOnBus::NextCamera(std::int16_t *value)
{
    return ask(value, "NextCamera", [&] { return m_proxy->NextCamera(*value); });
}

HRESULT CameraDataOnBus::PreviousCamera(std::int16_t *value)
{
    return ask(value, "PreviousCamera", [&] { return m_proxy->PreviousCamera(*value); });
}

HRESULT CameraDataOnBus::NewCamera(std::int16_t cameraNumber, std::int16_t *value)
{
    return ask(value, "NewCamera", [&] { return m_proxy->NewCamera(cameraNumber); });
}

HRESULT CameraDataOnBus::DeleteCamera(std::int16_t *value)
{
    return ask(value, "DeleteCamera", [&] { return m_proxy->DeleteCamera(*value); });
}

HRESULT CameraDataOnBus::CountCameras(std::int16_t *value)
{
    return ask(value, "CountCameras", [&] { return m_proxy->CountCameras(); });
}

HRESULT CameraDataOnBus::GetPresetNumber(std::int16_t camera, std::int16_t preset,
                                         std::int16_t *value)
{
    return ask(value, "GetPresetNumber", [&] { return m_proxy->GetPresetNumber(camera, preset); });
}

HRESULT
DispenserDataOnBus::RetrieveCameraPreset(std::int16_t dispenser, std::int16_t preset,
                                         std::shared_ptr<services::ICameraPresetData> *entry)
{
    return retrieve<CameraPresetDataOnBus>(m_bus, entry, "RetrieveCameraPreset", [&] {
        return m_proxy->RetrieveCameraPreset(dispenser, preset);
    });
}

HRESULT CameraDataOnBus::GetComment(std::int16_t camera, std::int16_t preset, std::string *comment)
{
    return ask(comment, "GetComment", [&] { return m_proxy->GetComment(camera, preset); });
}

HRESULT CameraDataOnBus::SetComment(std::int16_t camera, std::int16_t preset,
                                    const std::string *comment)
{
    if (comment == nullptr)
        return E_POINTER;
    return ask("SetComment", [&] { return m_proxy->SetComment(camera, preset, toBus(*comment)); });
}

} // namespace serviceclient
