// Made from the interface headers and interfaces/*.xml; keep the three in step.
#include "services/bus_objects.h"

#include "interfaces/dbus/orvexservices_adaptor.h"
#include "services/bus_context.h"

#include <tuple>

namespace services {
namespace {

class OrvexConfigDataObject final : public sdbus::AdaptorInterfaces<org::orvex::IOrvexConfigData_adaptor>
{
public:
    OrvexConfigDataObject(BusContext &context, std::string path, std::shared_ptr<services::IOrvexConfigData> object)
        : AdaptorInterfaces(context.connection(), std::move(path)), m_context(context),
          m_object(std::move(object))
    {
        registerAdaptor();
    }
    ~OrvexConfigDataObject() { unregisterAdaptor(); }

private:
    int32_t LoadSite(const std::string &siteName) override
    {
        return m_context.call(getObject(), [&] { return m_object->LoadSite(&siteName); });
    }
    std::tuple<int32_t, int16_t> GetDwellTime(const int16_t &priority) override
    {
        std::int16_t timeOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetDwellTime(priority, &timeOut); }), timeOut};
    }
    int32_t SetDwellTime(const int16_t &priority, const int16_t &time) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetDwellTime(priority, time); });
    }
    std::tuple<int32_t, int16_t> GetIntervisitTime(const int16_t &priority) override
    {
        std::int16_t timeOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetIntervisitTime(priority, &timeOut); }), timeOut};
    }
    int32_t SetIntervisitTime(const int16_t &priority, const int16_t &time) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetIntervisitTime(priority, time); });
    }
    std::tuple<int32_t, sdbus::ObjectPath> RetrieveDevice() override
    {
        std::shared_ptr<IDeviceData> devicesOut{};
        return {m_context.call(getObject(), [&] { return m_object->RetrieveDevice(&devicesOut); }), m_context.pathOf(devicesOut)};
    }
    std::tuple<int32_t, sdbus::ObjectPath> RetrieveDispenser() override
    {
        std::shared_ptr<IDispenserData> dispensersOut{};
        return {m_context.call(getObject(), [&] { return m_object->RetrieveDispenser(&dispensersOut); }), m_context.pathOf(dispensersOut)};
    }
    std::tuple<int32_t, sdbus::ObjectPath> RetrieveEvent() override
    {
        std::shared_ptr<IEventData> eventsOut{};
        return {m_context.call(getObject(), [&] { return m_object->RetrieveEvent(&eventsOut); }), m_context.pathOf(eventsOut)};
    }
    int32_t Save() override
    {
        return m_context.call(getObject(), [&] { return m_object->Save(); });
    }
    int32_t NewSite(const std::string &siteName) override
    {
        return m_context.call(getObject(), [&] { return m_object->NewSite(&siteName); });
    }
    int32_t InitializeStorage() override
    {
        return m_context.call(getObject(), [&] { return m_object->InitializeStorage(); });
    }
    int32_t ExportSite(const std::string &siteName, const std::string &fileName) override
    {
        return m_context.call(getObject(), [&] { return m_object->ExportSite(&siteName, &fileName); });
    }
    int32_t ImportSite(const std::string &siteName, const std::string &fileName) override
    {
        return m_context.call(getObject(), [&] { return m_object->ImportSite(&siteName, &fileName); });
    }
    int32_t UnloadSite() override
    {
        return m_context.call(getObject(), [&] { return m_object->UnloadSite(); });
    }
    int32_t DeleteSite(const std::string &siteName) override
    {
        return m_context.call(getObject(), [&] { return m_object->DeleteSite(&siteName); });
    }
    std::tuple<int32_t, sdbus::ObjectPath> RetrieveCamera() override
    {
        std::shared_ptr<ICameraData> camerasOut{};
        return {m_context.call(getObject(), [&] { return m_object->RetrieveCamera(&camerasOut); }), m_context.pathOf(camerasOut)};
    }
    std::tuple<int32_t, std::vector<std::string>, int32_t> EnumSites() override
    {
        std::vector<std::string> sitesOut{}; std::int32_t countOut{};
        return {m_context.call(getObject(), [&] { return m_object->EnumSites(&sitesOut, &countOut); }), sitesOut, static_cast<int32_t>(countOut)};
    }
    int32_t UnInitializeStorage() override
    {
        return m_context.call(getObject(), [&] { return m_object->UnInitializeStorage(); });
    }
    int32_t UnloadSiteButKeepCameraData() override
    {
        return m_context.call(getObject(), [&] { return m_object->UnloadSiteButKeepCameraData(); });
    }
    std::tuple<int32_t, sdbus::ObjectPath> RetrievePOS() override
    {
        std::shared_ptr<IPOSData> pointsOut{};
        return {m_context.call(getObject(), [&] { return m_object->RetrievePOS(&pointsOut); }), m_context.pathOf(pointsOut)};
    }

    BusContext &m_context;
    std::shared_ptr<services::IOrvexConfigData> m_object;
};

class DeviceDataObject final : public sdbus::AdaptorInterfaces<org::orvex::IDeviceData_adaptor>
{
public:
    DeviceDataObject(BusContext &context, std::string path, std::shared_ptr<services::IDeviceData> object)
        : AdaptorInterfaces(context.connection(), std::move(path)), m_context(context),
          m_object(std::move(object))
    {
        registerAdaptor();
    }
    ~DeviceDataObject() { unregisterAdaptor(); }

private:
    std::tuple<int32_t, int16_t> First() override
    {
        std::int16_t indexOut{};
        return {m_context.call(getObject(), [&] { return m_object->First(&indexOut); }), indexOut};
    }
    std::tuple<int32_t, int16_t> Last() override
    {
        std::int16_t indexOut{};
        return {m_context.call(getObject(), [&] { return m_object->Last(&indexOut); }), indexOut};
    }
    std::tuple<int32_t, int16_t> Next(const int16_t &index) override
    {
        std::int16_t indexOut = index;
        return {m_context.call(getObject(), [&] { return m_object->Next(&indexOut); }), indexOut};
    }
    std::tuple<int32_t, int16_t> Previous(const int16_t &index) override
    {
        std::int16_t indexOut = index;
        return {m_context.call(getObject(), [&] { return m_object->Previous(&indexOut); }), indexOut};
    }
    std::tuple<int32_t, int16_t> Count() override
    {
        std::int16_t countOut{};
        return {m_context.call(getObject(), [&] { return m_object->Count(&countOut); }), countOut};
    }
    std::tuple<int32_t, int16_t> GetDeviceType(const int16_t &index) override
    {
        std::int16_t deviceTypeOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetDeviceType(index, &deviceTypeOut); }), deviceTypeOut};
    }
    std::tuple<int32_t, int16_t> GetInterface(const int16_t &index) override
    {
        std::int16_t ifaceOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetInterface(index, &ifaceOut); }), ifaceOut};
    }
    std::tuple<int32_t, int16_t> GetInport(const int16_t &index) override
    {
        std::int16_t inportOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetInport(index, &inportOut); }), inportOut};
    }
    std::tuple<int32_t, int16_t> GetOutport(const int16_t &index) override
    {
        std::int16_t outportOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetOutport(index, &outportOut); }), outportOut};
    }
    int32_t SetDeviceType(const int16_t &index, const int16_t &deviceType) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetDeviceType(index, deviceType); });
    }
    int32_t SetInterface(const int16_t &index, const int16_t &iface) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetInterface(index, iface); });
    }
    int32_t SetInport(const int16_t &index, const int16_t &inport) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetInport(index, inport); });
    }
    int32_t SetOutport(const int16_t &index, const int16_t &outport) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetOutport(index, outport); });
    }
    std::tuple<int32_t, int16_t> Append() override
    {
        std::int16_t indexOut{};
        return {m_context.call(getObject(), [&] { return m_object->Append(&indexOut); }), indexOut};
    }
    std::tuple<int32_t, int16_t> Delete(const int16_t &index) override
    {
        std::int16_t indexOut = index;
        return {m_context.call(getObject(), [&] { return m_object->Delete(&indexOut); }), indexOut};
    }

    BusContext &m_context;
    std::shared_ptr<services::IDeviceData> m_object;
};

class EventDataObject final : public sdbus::AdaptorInterfaces<org::orvex::IEventData_adaptor>
{
public:
    EventDataObject(BusContext &context, std::string path, std::shared_ptr<services::IEventData> object)
        : AdaptorInterfaces(context.connection(), std::move(path)), m_context(context),
          m_object(std::move(object))
    {
        registerAdaptor();
    }
    ~EventDataObject() { unregisterAdaptor(); }

private:
    std::tuple<int32_t, int16_t> First() override
    {
        std::int16_t indexOut{};
        return {m_context.call(getObject(), [&] { return m_object->First(&indexOut); }), indexOut};
    }
    std::tuple<int32_t, int16_t> Last() override
    {
        std::int16_t indexOut{};
        return {m_context.call(getObject(), [&] { return m_object->Last(&indexOut); }), indexOut};
    }
    std::tuple<int32_t, int16_t> Next(const int16_t &index) override
    {
        std::int16_t indexOut = index;
        return {m_context.call(getObject(), [&] { return m_object->Next(&indexOut); }), indexOut};
    }
    std::tuple<int32_t, int16_t> Previous(const int16_t &index) override
    {
        std::int16_t indexOut = index;
        return {m_context.call(getObject(), [&] { return m_object->Previous(&indexOut); }), indexOut};
    }
    std::tuple<int32_t, int16_t> Count() override
    {
        std::int16_t countOut{};
        return {m_context.call(getObject(), [&] { return m_object->Count(&countOut); }), countOut};
    }
    std::tuple<int32_t, int16_t> GetEventNumber(const int16_t &index) override
    {
        std::int16_t eventNumberOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetEventNumber(index, &eventNumberOut); }), eventNumberOut};
    }
    std::tuple<int32_t, int16_t> GetPriority(const int16_t &index) override
    {
        std::int16_t priorityOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetPriority(index, &priorityOut); }), priorityOut};
    }
    std::tuple<int32_t, int16_t> GetTransitionPriority(const int16_t &index) override
    {
        std::int16_t priorityOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetTransitionPriority(index, &priorityOut); }), priorityOut};
    }
    int32_t SetPriority(const int16_t &index, const int16_t &priority) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetPriority(index, priority); });
    }
    int32_t SetTransitionPriority(const int16_t &index, const int16_t &priority) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetTransitionPriority(index, priority); });
    }
    std::tuple<int32_t, int16_t> NewEvent(const int16_t &eventNumber) override
    {
        std::int16_t indexOut{};
        return {m_context.call(getObject(), [&] { return m_object->NewEvent(eventNumber, &indexOut); }), indexOut};
    }
    std::tuple<int32_t, int16_t> Delete(const int16_t &index) override
    {
        std::int16_t indexOut = index;
        return {m_context.call(getObject(), [&] { return m_object->Delete(&indexOut); }), indexOut};
    }

    BusContext &m_context;
    std::shared_ptr<services::IEventData> m_object;
};

class POSDataObject final : public sdbus::AdaptorInterfaces<org::orvex::IPOSData_adaptor>
{
public:
    POSDataObject(BusContext &context, std::string path, std::shared_ptr<services::IPOSData> object)
        : AdaptorInterfaces(context.connection(), std::move(path)), m_context(context),
          m_object(std::move(object))
    {
        registerAdaptor();
    }
    ~POSDataObject() { unregisterAdaptor(); }

private:
    std::tuple<int32_t, int16_t> Count() override
    {
        std::int16_t countOut{};
        return {m_context.call(getObject(), [&] { return m_object->Count(&countOut); }), countOut};
    }
    std::tuple<int32_t, int16_t> Delete(const int16_t &index) override
    {
        std::int16_t indexOut = index;
        return {m_context.call(getObject(), [&] { return m_object->Delete(&indexOut); }), indexOut};
    }
    std::tuple<int32_t, int16_t> First() override
    {
        std::int16_t indexOut{};
        return {m_context.call(getObject(), [&] { return m_object->First(&indexOut); }), indexOut};
    }
    std::tuple<int32_t, int16_t> Last() override
    {
        std::int16_t indexOut{};
        return {m_context.call(getObject(), [&] { return m_object->Last(&indexOut); }), indexOut};
    }
    std::tuple<int32_t, int16_t> Next(const int16_t &index) override
    {
        std::int16_t indexOut = index;
        return {m_context.call(getObject(), [&] { return m_object->Next(&indexOut); }), indexOut};
    }
    std::tuple<int32_t, int16_t> Previous(const int16_t &index) override
    {
        std::int16_t indexOut = index;
        return {m_context.call(getObject(), [&] { return m_object->Previous(&indexOut); }), indexOut};
    }
    std::tuple<int32_t, int16_t> NewPOS(const int16_t &POSNumber) override
    {
        std::int16_t indexOut{};
        return {m_context.call(getObject(), [&] { return m_object->NewPOS(POSNumber, &indexOut); }), indexOut};
    }
    int32_t SetCamera(const int16_t &index, const int16_t &camera) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetCamera(index, camera); });
    }
    int32_t SetMovableFlag(const int16_t &index, const int16_t &movableFlag) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetMovableFlag(index, movableFlag); });
    }
    int32_t SetPreset(const int16_t &index, const int16_t &preset) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetPreset(index, preset); });
    }
    int32_t SetPriority(const int16_t &index, const int16_t &priority) override
    {
        return m_context.call(getObject(), [&] { return m_object->SetPriority(index, priority); });
    }
    std::tuple<int32_t, int16_t> GetCamera(const int16_t &index) override
    {
        std::int16_t cameraOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetCamera(index, &cameraOut); }), cameraOut};
    }
    std::tuple<int32_t, int16_t> GetMovableFlag(const int16_t &index) override
    {
        std::int16_t movableFlagOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetMovableFlag(index, &movableFlagOut); }), movableFlagOut};
    }
    std::tuple<int32_t, int16_t> GetPreset(const int16_t &index) override
    {
        std::int16_t presetOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetPreset(index, &presetOut); }), presetOut};
    }
    std::tuple<int32_t, int16_t> GetPriority(const int16_t &index) override
    {
        std::int16_t priorityOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetPriority(index, &priorityOut); }), priorityOut};
    }
    std::tuple<int32_t, int16_t> GetPOSNumber(const int16_t &index) override
    {
        std::int16_t POSNumberOut{};
        return {m_context.call(getObject(), [&] { return m_object->GetPOSNumber(index, &POSNumberOut); }), POSNumberOut};
    }

    BusContext &m_context;
    std::shared_ptr<services::IPOSData> m_object;
};

} // namespace

#define ORVEX_BUS_OBJECT(Iface, Class)                                                             \
    std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path,             \
                                        std::shared_ptr<Iface> object)                          \
    {                                                                                              \
        return std::make_shared<Class>(context, path, std::move(object));                         \
    }
ORVEX_BUS_OBJECT(IOrvexConfigData, OrvexConfigDataObject)
ORVEX_BUS_OBJECT(IDeviceData, DeviceDataObject)
ORVEX_BUS_OBJECT(IEventData, EventDataObject)
ORVEX_BUS_OBJECT(IPOSData, POSDataObject)
#undef ORVEX_BUS_OBJECT

} // namespace services
