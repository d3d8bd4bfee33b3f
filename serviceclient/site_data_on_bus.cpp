#include "serviceclient/site_data_on_bus.h"

#include "serviceclient/bus_reply.h"
#include "serviceclient/proxies/orvexservices_proxy.h"

namespace serviceclient {

using detail::readOne;
using detail::resultOf;
using detail::run;

namespace {

QString toBus(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

OrvexConfigDataOnBus::OrvexConfigDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : m_bus(bus), m_proxy(bus.proxy<OrgOrvexIOrvexConfigDataInterface>(path))
{}

OrvexConfigDataOnBus::~OrvexConfigDataOnBus() = default;

template <typename Table, typename Interface, typename MakeCall>
HRESULT OrvexConfigDataOnBus::retrieve(std::shared_ptr<Interface> *out, const char *call,
                                       MakeCall makeCall)
{
    if (out == nullptr)
        return E_POINTER;
    auto reply = makeCall();
    const HRESULT hr = resultOf(reply, call);
    if (SUCCEEDED(hr))
        *out = std::make_shared<Table>(m_bus, reply.template argumentAt<1>());
    return hr;
}

HRESULT OrvexConfigDataOnBus::LoadSite(const std::string *siteName)
{
    if (siteName == nullptr)
        return E_POINTER;
    return run("LoadSite", [&] { return m_proxy->LoadSite(toBus(*siteName)); });
}

HRESULT OrvexConfigDataOnBus::GetDwellTime(std::int16_t priority, std::int16_t *time)
{
    return readOne(time, "GetDwellTime", [&] { return m_proxy->GetDwellTime(priority); });
}

HRESULT OrvexConfigDataOnBus::SetDwellTime(std::int16_t priority, std::int16_t time)
{
    return run("SetDwellTime", [&] { return m_proxy->SetDwellTime(priority, time); });
}

HRESULT OrvexConfigDataOnBus::GetIntervisitTime(std::int16_t priority, std::int16_t *time)
{
    return readOne(time, "GetIntervisitTime", [&] { return m_proxy->GetIntervisitTime(priority); });
}

HRESULT OrvexConfigDataOnBus::SetIntervisitTime(std::int16_t priority, std::int16_t time)
{
    return run("SetIntervisitTime", [&] { return m_proxy->SetIntervisitTime(priority, time); });
}

HRESULT OrvexConfigDataOnBus::RetrieveDevice(std::shared_ptr<services::IDeviceData> *devices)
{
    return retrieve<DeviceDataOnBus>(devices, "RetrieveDevice",
                                     [&] { return m_proxy->RetrieveDevice(); });
}

HRESULT
OrvexConfigDataOnBus::RetrieveDispenser(std::shared_ptr<services::IDispenserData> *dispensers)
{
    return retrieve<DispenserDataOnBus>(dispensers, "RetrieveDispenser",
                                        [&] { return m_proxy->RetrieveDispenser(); });
}

HRESULT OrvexConfigDataOnBus::RetrieveEvent(std::shared_ptr<services::IEventData> *events)
{
    return retrieve<EventDataOnBus>(events, "RetrieveEvent",
                                    [&] { return m_proxy->RetrieveEvent(); });
}

HRESULT OrvexConfigDataOnBus::Save()
{
    return run("Save", [&] { return m_proxy->Save(); });
}

HRESULT OrvexConfigDataOnBus::NewSite(const std::string *siteName)
{
    if (siteName == nullptr)
        return E_POINTER;
    return run("NewSite", [&] { return m_proxy->NewSite(toBus(*siteName)); });
}

HRESULT OrvexConfigDataOnBus::InitializeStorage()
{
    return run("InitializeStorage", [&] { return m_proxy->InitializeStorage(); });
}

HRESULT OrvexConfigDataOnBus::ExportSite(const std::string *siteName, const std::string *fileName)
{
    if (siteName == nullptr || fileName == nullptr)
        return E_POINTER;
    return run("ExportSite",
               [&] { return m_proxy->ExportSite(toBus(*siteName), toBus(*fileName)); });
}

HRESULT OrvexConfigDataOnBus::ImportSite(const std::string *siteName, const std::string *fileName)
{
    if (siteName == nullptr || fileName == nullptr)
        return E_POINTER;
    return run("ImportSite",
               [&] { return m_proxy->ImportSite(toBus(*siteName), toBus(*fileName)); });
}

HRESULT OrvexConfigDataOnBus::UnloadSite()
{
    return run("UnloadSite", [&] { return m_proxy->UnloadSite(); });
}

HRESULT OrvexConfigDataOnBus::DeleteSite(const std::string *siteName)
{
    if (siteName == nullptr)
        return E_POINTER;
    return run("DeleteSite", [&] { return m_proxy->DeleteSite(toBus(*siteName)); });
}

HRESULT OrvexConfigDataOnBus::RetrieveCamera(std::shared_ptr<services::ICameraData> *cameras)
{
    return retrieve<CameraDataOnBus>(cameras, "RetrieveCamera",
                                     [&] { return m_proxy->RetrieveCamera(); });
}

HRESULT OrvexConfigDataOnBus::EnumSites(std::vector<std::string> *sites, std::int32_t *count)
{
    if (sites == nullptr || count == nullptr)
        return E_POINTER;
    auto reply = m_proxy->EnumSites();
    const HRESULT hr = resultOf(reply, "EnumSites");
    if (SUCCEEDED(hr)) {
        *sites = detail::fromBus(reply.argumentAt<1>());
        *count = reply.argumentAt<2>();
    }
    return hr;
}

HRESULT OrvexConfigDataOnBus::UnInitializeStorage()
{
    return run("UnInitializeStorage", [&] { return m_proxy->UnInitializeStorage(); });
}

HRESULT OrvexConfigDataOnBus::UnloadSiteButKeepCameraData()
{
    return run("UnloadSiteButKeepCameraData",
               [&] { return m_proxy->UnloadSiteButKeepCameraData(); });
}

HRESULT OrvexConfigDataOnBus::RetrievePOS(std::shared_ptr<services::IPOSData> *points)
{
    return retrieve<POSDataOnBus>(points, "RetrievePOS", [&] { return m_proxy->RetrievePOS(); });
}

DeviceDataOnBus::DeviceDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : m_proxy(bus.proxy<OrgOrvexIDeviceDataInterface>(path))
{}

DeviceDataOnBus::~DeviceDataOnBus() = default;

HRESULT DeviceDataOnBus::First(std::int16_t *value)
{
    return readOne(value, "First", [&] { return m_proxy->First(); });
}

HRESULT DeviceDataOnBus::Last(std::int16_t *value)
{
    return readOne(value, "Last", [&] { return m_proxy->Last(); });
}

HRESULT DeviceDataOnBus::Next(std::int16_t *value)
{
    return readOne(value, "Next", [&] { return m_proxy->Next(*value); });
}

HRESULT DeviceDataOnBus::Previous(std::int16_t *value)
{
    return readOne(value, "Previous", [&] { return m_proxy->Previous(*value); });
}

HRESULT DeviceDataOnBus::Count(std::int16_t *value)
{
    return readOne(value, "Count", [&] { return m_proxy->Count(); });
}

HRESULT DeviceDataOnBus::GetDeviceType(std::int16_t index, std::int16_t *value)
{
    return readOne(value, "GetDeviceType", [&] { return m_proxy->GetDeviceType(index); });
}

HRESULT DeviceDataOnBus::GetInterface(std::int16_t index, std::int16_t *value)
{
    return readOne(value, "GetInterface", [&] { return m_proxy->GetInterface(index); });
}

HRESULT DeviceDataOnBus::GetInport(std::int16_t index, std::int16_t *value)
{
    return readOne(value, "GetInport", [&] { return m_proxy->GetInport(index); });
}

HRESULT DeviceDataOnBus::GetOutport(std::int16_t index, std::int16_t *value)
{
    return readOne(value, "GetOutport", [&] { return m_proxy->GetOutport(index); });
}

HRESULT DeviceDataOnBus::SetDeviceType(std::int16_t index, std::int16_t deviceType)
{
    return run("SetDeviceType", [&] { return m_proxy->SetDeviceType(index, deviceType); });
}

HRESULT DeviceDataOnBus::SetInterface(std::int16_t index, std::int16_t iface)
{
    return run("SetInterface", [&] { return m_proxy->SetInterface(index, iface); });
}

HRESULT DeviceDataOnBus::SetInport(std::int16_t index, std::int16_t inport)
{
    return run("SetInport", [&] { return m_proxy->SetInport(index, inport); });
}

HRESULT DeviceDataOnBus::SetOutport(std::int16_t index, std::int16_t outport)
{
    return run("SetOutport", [&] { return m_proxy->SetOutport(index, outport); });
}

HRESULT DeviceDataOnBus::Append(std::int16_t *value)
{
    return readOne(value, "Append", [&] { return m_proxy->Append(); });
}

HRESULT DeviceDataOnBus::Delete(std::int16_t *value)
{
    return readOne(value, "Delete", [&] { return m_proxy->Delete(*value); });
}

EventDataOnBus::EventDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : m_proxy(bus.proxy<OrgOrvexIEventDataInterface>(path))
{}

EventDataOnBus::~EventDataOnBus() = default;

HRESULT EventDataOnBus::First(std::int16_t *value)
{
    return readOne(value, "First", [&] { return m_proxy->First(); });
}

HRESULT EventDataOnBus::Last(std::int16_t *value)
{
    return readOne(value, "Last", [&] { return m_proxy->Last(); });
}

HRESULT EventDataOnBus::Next(std::int16_t *value)
{
    return readOne(value, "Next", [&] { return m_proxy->Next(*value); });
}

HRESULT EventDataOnBus::Previous(std::int16_t *value)
{
    return readOne(value, "Previous", [&] { return m_proxy->Previous(*value); });
}

HRESULT EventDataOnBus::Count(std::int16_t *value)
{
    return readOne(value, "Count", [&] { return m_proxy->Count(); });
}

HRESULT EventDataOnBus::GetEventNumber(std::int16_t index, std::int16_t *value)
{
    return readOne(value, "GetEventNumber", [&] { return m_proxy->GetEventNumber(index); });
}

HRESULT EventDataOnBus::GetPriority(std::int16_t index, std::int16_t *value)
{
    return readOne(value, "GetPriority", [&] { return m_proxy->GetPriority(index); });
}

HRESULT EventDataOnBus::GetTransitionPriority(std::int16_t index, std::int16_t *value)
{
    return readOne(value, "GetTransitionPriority",
                   [&] { return m_proxy->GetTransitionPriority(index); });
}

HRESULT EventDataOnBus::SetPriority(std::int16_t index, std::int16_t priority)
{
    return run("SetPriority", [&] { return m_proxy->SetPriority(index, priority); });
}

HRESULT EventDataOnBus::SetTransitionPriority(std::int16_t index, std::int16_t priority)
{
    return run("SetTransitionPriority",
               [&] { return m_proxy->SetTransitionPriority(index, priority); });
}

HRESULT EventDataOnBus::NewEvent(std::int16_t eventNumber, std::int16_t *value)
{
    return readOne(value, "NewEvent", [&] { return m_proxy->NewEvent(eventNumber); });
}

HRESULT EventDataOnBus::Delete(std::int16_t *value)
{
    return readOne(value, "Delete", [&] { return m_proxy->Delete(*value); });
}

POSDataOnBus::POSDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : m_proxy(bus.proxy<OrgOrvexIPOSDataInterface>(path))
{}

POSDataOnBus::~POSDataOnBus() = default;

HRESULT POSDataOnBus::Count(std::int16_t *value)
{
    return readOne(value, "Count", [&] { return m_proxy->Count(); });
}

HRESULT POSDataOnBus::Delete(std::int16_t *value)
{
    return readOne(value, "Delete", [&] { return m_proxy->Delete(*value); });
}

HRESULT POSDataOnBus::First(std::int16_t *value)
{
    return readOne(value, "First", [&] { return m_proxy->First(); });
}

HRESULT POSDataOnBus::Last(std::int16_t *value)
{
    return readOne(value, "Last", [&] { return m_proxy->Last(); });
}

HRESULT POSDataOnBus::Next(std::int16_t *value)
{
    return readOne(value, "Next", [&] { return m_proxy->Next(*value); });
}

HRESULT POSDataOnBus::Previous(std::int16_t *value)
{
    return readOne(value, "Previous", [&] { return m_proxy->Previous(*value); });
}

HRESULT POSDataOnBus::NewPOS(std::int16_t POSNumber, std::int16_t *value)
{
    return readOne(value, "NewPOS", [&] { return m_proxy->NewPOS(POSNumber); });
}

HRESULT POSDataOnBus::SetCamera(std::int16_t index, std::int16_t camera)
{
    return run("SetCamera", [&] { return m_proxy->SetCamera(index, camera); });
}

HRESULT POSDataOnBus::SetMovableFlag(std::int16_t index, std::int16_t movableFlag)
{
    return run("SetMovableFlag", [&] { return m_proxy->SetMovableFlag(index, movableFlag); });
}

HRESULT POSDataOnBus::SetPreset(std::int16_t index, std::int16_t preset)
{
    return run("SetPreset", [&] { return m_proxy->SetPreset(index, preset); });
}

HRESULT POSDataOnBus::SetPriority(std::int16_t index, std::int16_t priority)
{
    return run("SetPriority", [&] { return m_proxy->SetPriority(index, priority); });
}

HRESULT POSDataOnBus::GetCamera(std::int16_t index, std::int16_t *value)
{
    return readOne(value, "GetCamera", [&] { return m_proxy->GetCamera(index); });
}

HRESULT POSDataOnBus::GetMovableFlag(std::int16_t index, std::int16_t *value)
{
    return readOne(value, "GetMovableFlag", [&] { return m_proxy->GetMovableFlag(index); });
}

HRESULT POSDataOnBus::GetPreset(std::int16_t index, std::int16_t *value)
{
    return readOne(value, "GetPreset", [&] { return m_proxy->GetPreset(index); });
}

HRESULT POSDataOnBus::GetPriority(std::int16_t index, std::int16_t *value)
{
    return readOne(value, "GetPriority", [&] { return m_proxy->GetPriority(index); });
}

HRESULT POSDataOnBus::GetPOSNumber(std::int16_t index, std::int16_t *value)
{
    return readOne(value, "GetPOSNumber", [&] { return m_proxy->GetPOSNumber(index); });
}

CameraPresetDataOnBus::CameraPresetDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : m_proxy(bus.proxy<OrgOrvexICameraPresetDataInterface>(path))
{}

CameraPresetDataOnBus::~CameraPresetDataOnBus() = default;

HRESULT CameraPresetDataOnBus::GetEventNumber(std::int16_t *value)
{
    return readOne(value, "GetEventNumber", [&] { return m_proxy->GetEventNumber(); });
}

HRESULT CameraPresetDataOnBus::GetCameraNumber(std::int16_t *value)
{
    return readOne(value, "GetCameraNumber", [&] { return m_proxy->GetCameraNumber(); });
}

HRESULT CameraPresetDataOnBus::GetPresetNumber(std::int16_t *value)
{
    return readOne(value, "GetPresetNumber", [&] { return m_proxy->GetPresetNumber(); });
}

HRESULT CameraPresetDataOnBus::SetCameraNumber(std::int16_t cameraNumber)
{
    return run("SetCameraNumber", [&] { return m_proxy->SetCameraNumber(cameraNumber); });
}

HRESULT CameraPresetDataOnBus::SetPresetNumber(std::int16_t presetNumber)
{
    return run("SetPresetNumber", [&] { return m_proxy->SetPresetNumber(presetNumber); });
}

DispenserDataOnBus::DispenserDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : m_bus(bus), m_proxy(bus.proxy<OrgOrvexIDispenserDataInterface>(path))
{}

DispenserDataOnBus::~DispenserDataOnBus() = default;

HRESULT DispenserDataOnBus::FirstDispenser(std::int16_t *value)
{
    return readOne(value, "FirstDispenser", [&] { return m_proxy->FirstDispenser(); });
}

HRESULT DispenserDataOnBus::LastDispenser(std::int16_t *value)
{
    return readOne(value, "LastDispenser", [&] { return m_proxy->LastDispenser(); });
}

HRESULT DispenserDataOnBus::NextDispenser(std::int16_t *value)
{
    return readOne(value, "NextDispenser", [&] { return m_proxy->NextDispenser(*value); });
}

HRESULT DispenserDataOnBus::PreviousDispenser(std::int16_t *value)
{
    return readOne(value, "PreviousDispenser", [&] { return m_proxy->PreviousDispenser(*value); });
}

HRESULT DispenserDataOnBus::CountDispensers(std::int16_t *value)
{
    return readOne(value, "CountDispensers", [&] { return m_proxy->CountDispensers(); });
}

HRESULT DispenserDataOnBus::GetDispenserLogicalNumber(std::int16_t dispenser, std::int16_t *value)
{
    return readOne(value, "GetDispenserLogicalNumber",
                   [&] { return m_proxy->GetDispenserLogicalNumber(dispenser); });
}

HRESULT DispenserDataOnBus::GetDispenserLoop(std::int16_t dispenser, std::int16_t *value)
{
    return readOne(value, "GetDispenserLoop", [&] { return m_proxy->GetDispenserLoop(dispenser); });
}

HRESULT DispenserDataOnBus::GetDispenserAddress(std::int16_t dispenser, std::int16_t *value)
{
    return readOne(value, "GetDispenserAddress",
                   [&] { return m_proxy->GetDispenserAddress(dispenser); });
}

HRESULT DispenserDataOnBus::GetCardTerminalAddress(std::int16_t dispenser, std::int16_t *value)
{
    return readOne(value, "GetCardTerminalAddress",
                   [&] { return m_proxy->GetCardTerminalAddress(dispenser); });
}

HRESULT DispenserDataOnBus::FirstPreset(std::int16_t dispenser, std::int16_t *value)
{
    return readOne(value, "FirstPreset", [&] { return m_proxy->FirstPreset(dispenser); });
}

HRESULT DispenserDataOnBus::LastPreset(std::int16_t dispenser, std::int16_t *value)
{
    return readOne(value, "LastPreset", [&] { return m_proxy->LastPreset(dispenser); });
}

HRESULT DispenserDataOnBus::NextPreset(std::int16_t dispenser, std::int16_t *value)
{
    return readOne(value, "NextPreset", [&] { return m_proxy->NextPreset(dispenser, *value); });
}

HRESULT DispenserDataOnBus::PreviousPreset(std::int16_t dispenser, std::int16_t *value)
{
    return readOne(value, "PreviousPreset",
                   [&] { return m_proxy->PreviousPreset(dispenser, *value); });
}

HRESULT DispenserDataOnBus::CountPresets(std::int16_t dispenser, std::int16_t *value)
{
    return readOne(value, "CountPresets", [&] { return m_proxy->CountPresets(dispenser); });
}

HRESULT DispenserDataOnBus::SetDispenserLoop(std::int16_t dispenser, std::int16_t loop)
{
    return run("SetDispenserLoop", [&] { return m_proxy->SetDispenserLoop(dispenser, loop); });
}

HRESULT DispenserDataOnBus::SetDispenserAddress(std::int16_t dispenser, std::int16_t address)
{
    return run("SetDispenserAddress",
               [&] { return m_proxy->SetDispenserAddress(dispenser, address); });
}

HRESULT DispenserDataOnBus::SetCardTerminalAddress(std::int16_t dispenser, std::int16_t address)
{
    return run("SetCardTerminalAddress",
               [&] { return m_proxy->SetCardTerminalAddress(dispenser, address); });
}

HRESULT DispenserDataOnBus::NewDispenser(std::int16_t logicalNumber, std::int16_t *value)
{
    return readOne(value, "NewDispenser", [&] { return m_proxy->NewDispenser(logicalNumber); });
}

HRESULT DispenserDataOnBus::NewPreset(std::int16_t dispenser, std::int16_t eventNumber,
                                      std::int16_t *value)
{
    return readOne(value, "NewPreset", [&] { return m_proxy->NewPreset(dispenser, eventNumber); });
}

HRESULT DispenserDataOnBus::DeleteDispenser(std::int16_t *value)
{
    return readOne(value, "DeleteDispenser", [&] { return m_proxy->DeleteDispenser(*value); });
}

HRESULT DispenserDataOnBus::DeletePreset(std::int16_t dispenser, std::int16_t *value)
{
    return readOne(value, "DeletePreset", [&] { return m_proxy->DeletePreset(dispenser, *value); });
}

CameraDataOnBus::CameraDataOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : m_proxy(bus.proxy<OrgOrvexICameraDataInterface>(path))
{}

CameraDataOnBus::~CameraDataOnBus() = default;

HRESULT CameraDataOnBus::GetCameraNumber(std::int16_t camera, std::int16_t *value)
{
    return readOne(value, "GetCameraNumber", [&] { return m_proxy->GetCameraNumber(camera); });
}

HRESULT CameraDataOnBus::GetCameraType(std::int16_t camera, std::int16_t *value)
{
    return readOne(value, "GetCameraType", [&] { return m_proxy->GetCameraType(camera); });
}

HRESULT CameraDataOnBus::SetCameraType(std::int16_t camera, std::int16_t cameraType)
{
    return run("SetCameraType", [&] { return m_proxy->SetCameraType(camera, cameraType); });
}

HRESULT CameraDataOnBus::FirstCamera(std::int16_t *value)
{
    return readOne(value, "FirstCamera", [&] { return m_proxy->FirstCamera(); });
}

HRESULT CameraDataOnBus::LastCamera(std::int16_t *value)
{
    return readOne(value, "LastCamera", [&] { return m_proxy->LastCamera(); });
}

HRESULT CameraDataOnBus::NextCamera(std::int16_t *value)
{
    return readOne(value, "NextCamera", [&] { return m_proxy->NextCamera(*value); });
}

HRESULT CameraDataOnBus::PreviousCamera(std::int16_t *value)
{
    return readOne(value, "PreviousCamera", [&] { return m_proxy->PreviousCamera(*value); });
}

HRESULT CameraDataOnBus::FirstPreset(std::int16_t camera, std::int16_t *value)
{
    return readOne(value, "FirstPreset", [&] { return m_proxy->FirstPreset(camera); });
}

HRESULT CameraDataOnBus::LastPreset(std::int16_t camera, std::int16_t *value)
{
    return readOne(value, "LastPreset", [&] { return m_proxy->LastPreset(camera); });
}

HRESULT CameraDataOnBus::NextPreset(std::int16_t camera, std::int16_t *value)
{
    return readOne(value, "NextPreset", [&] { return m_proxy->NextPreset(camera, *value); });
}

HRESULT CameraDataOnBus::PreviousPreset(std::int16_t camera, std::int16_t *value)
{
    return readOne(value, "PreviousPreset",
                   [&] { return m_proxy->PreviousPreset(camera, *value); });
}

HRESULT CameraDataOnBus::NewCamera(std::int16_t cameraNumber, std::int16_t *value)
{
    return readOne(value, "NewCamera", [&] { return m_proxy->NewCamera(cameraNumber); });
}

HRESULT CameraDataOnBus::NewPreset(std::int16_t camera, std::int16_t presetNumber,
                                   std::int16_t *value)
{
    return readOne(value, "NewPreset", [&] { return m_proxy->NewPreset(camera, presetNumber); });
}

HRESULT CameraDataOnBus::DeleteCamera(std::int16_t *value)
{
    return readOne(value, "DeleteCamera", [&] { return m_proxy->DeleteCamera(*value); });
}

HRESULT CameraDataOnBus::DeletePreset(std::int16_t camera, std::int16_t *value)
{
    return readOne(value, "DeletePreset", [&] { return m_proxy->DeletePreset(camera, *value); });
}

HRESULT CameraDataOnBus::CountCameras(std::int16_t *value)
{
    return readOne(value, "CountCameras", [&] { return m_proxy->CountCameras(); });
}

HRESULT CameraDataOnBus::CountPresets(std::int16_t camera, std::int16_t *value)
{
    return readOne(value, "CountPresets", [&] { return m_proxy->CountPresets(camera); });
}

HRESULT CameraDataOnBus::GetPresetNumber(std::int16_t camera, std::int16_t preset,
                                         std::int16_t *value)
{
    return readOne(value, "GetPresetNumber",
                   [&] { return m_proxy->GetPresetNumber(camera, preset); });
}

HRESULT
DispenserDataOnBus::RetrieveCameraPreset(std::int16_t dispenser, std::int16_t preset,
                                         std::shared_ptr<services::ICameraPresetData> *entry)
{
    if (entry == nullptr)
        return E_POINTER;
    auto reply = m_proxy->RetrieveCameraPreset(dispenser, preset);
    const HRESULT hr = resultOf(reply, "RetrieveCameraPreset");
    if (SUCCEEDED(hr))
        *entry = std::make_shared<CameraPresetDataOnBus>(m_bus, reply.argumentAt<1>());
    return hr;
}

HRESULT CameraDataOnBus::GetComment(std::int16_t camera, std::int16_t preset, std::string *comment)
{
    return readOne(comment, "GetComment", [&] { return m_proxy->GetComment(camera, preset); });
}

HRESULT CameraDataOnBus::SetComment(std::int16_t camera, std::int16_t preset,
                                    const std::string *comment)
{
    if (comment == nullptr)
        return E_POINTER;
    return run("SetComment", [&] { return m_proxy->SetComment(camera, preset, toBus(*comment)); });
}

} // namespace serviceclient
