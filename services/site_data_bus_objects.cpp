// Made from the interface headers and interfaces/*.xml; keep the three in step.
#include "services/bus_objects.h"

#include "interfaces/dbus/orvexservices_adaptor.h"
#include "services/bus_object.h"

#include <algorithm>
#include <deque>
#include <string>
#include <tuple>
#include <utility>

namespace services {
namespace {

class OrvexConfigDataObject
    : public BusObject<IOrvexConfigData, org::orvex::IOrvexConfigData_adaptor>
{
public:
    using BusObject::BusObject;

private:
    int32_t LoadSite(const std::string &siteName) override
    {
        return reply(&IOrvexConfigData::LoadSite, &siteName);
    }
    std::tuple<int32_t, int16_t> GetDwellTime(const int16_t &priority) override
    {
        return reply(&IOrvexConfigData::GetDwellTime, priority);
    }
    int32_t SetDwellTime(const int16_t &priority, const int16_t &time) override
    {
        return reply(&IOrvexConfigData::SetDwellTime, priority, time);
    }
    std::tuple<int32_t, int16_t> GetIntervisitTime(const int16_t &priority) override
    {
        return reply(&IOrvexConfigData::GetIntervisitTime, priority);
    }
    int32_t SetIntervisitTime(const int16_t &priority, const int16_t &time) override
    {
        return reply(&IOrvexConfigData::SetIntervisitTime, priority, time);
    }
    std::tuple<int32_t, sdbus::ObjectPath> RetrieveDevice() override
    {
        return reply(&IOrvexConfigData::RetrieveDevice);
    }
    std::tuple<int32_t, sdbus::ObjectPath> RetrieveDispenser() override
    {
        return reply(&IOrvexConfigData::RetrieveDispenser);
    }
    std::tuple<int32_t, sdbus::ObjectPath> RetrieveEvent() override
    {
        return reply(&IOrvexConfigData::RetrieveEvent);
    }
    int32_t Save() override { return reply(&IOrvexConfigData::Save); }
    int32_t NewSite(const std::string &siteName) override
    {
        return reply(&IOrvexConfigData::NewSite, &siteName);
    }
    int32_t InitializeStorage() override { return reply(&IOrvexConfigData::InitializeStorage); }
    int32_t ExportSite(const std::string &siteName, const std::string &fileName) override
    {
        return keepReason(reply(&IOrvexConfigData::ExportSite, &siteName, &fileName));
    }
    int32_t ImportSite(const std::string &siteName, const std::string &fileName) override
    {
        return keepReason(reply(&IOrvexConfigData::ImportSite, &siteName, &fileName));
    }
    int32_t UnloadSite() override { return reply(&IOrvexConfigData::UnloadSite); }
    int32_t DeleteSite(const std::string &siteName) override
    {
        return reply(&IOrvexConfigData::DeleteSite, &siteName);
    }
    std::tuple<int32_t, sdbus::ObjectPath> RetrieveCamera() override
    {
        return reply(&IOrvexConfigData::RetrieveCamera);
    }
    std::tuple<int32_t, std::vector<std::string>, int32_t> EnumSites() override
    {
        return reply(&IOrvexConfigData::EnumSites);
    }
    int32_t UnInitializeStorage() override { return reply(&IOrvexConfigData::UnInitializeStorage); }
    int32_t UnloadSiteButKeepCameraData() override
    {
        return reply(&IOrvexConfigData::UnloadSiteButKeepCameraData);
    }
    std::tuple<int32_t, sdbus::ObjectPath> RetrievePOS() override
    {
        return reply(&IOrvexConfigData::RetrievePOS);
    }
    std::tuple<int32_t, std::string> GetErrorDescription() override
    {
        std::string reason;
        const HRESULT hr = context().call(getObject(), [&] {
            const auto kept = findReason(caller());
            if (kept == m_reasons.end())
                return S_FALSE;
            reason = std::move(kept->second);
            m_reasons.erase(kept);
            return S_OK;
        });
        return {hr, std::move(reason)};
    }

    // The site data keeps one reason, that of its last failure; on the bus each client asks for
    // its own. The reason of the call just made is taken at once (so none outlives its call) and
    // kept for the caller when the call failed; an earlier one of that caller goes either way.
    int32_t keepReason(int32_t hr)
    {
        std::string reason;
        BusContext::contain([&] { return domain()->GetErrorDescription(&reason); });
        std::string client = caller();
        if (const auto earlier = findReason(client); earlier != m_reasons.end())
            m_reasons.erase(earlier);
        if (FAILED(hr) && !reason.empty()) {
            // A client that fails and leaves without asking must not make the service grow.
            if (m_reasons.size() == kKeptReasons)
                m_reasons.pop_front();
            m_reasons.emplace_back(std::move(client), std::move(reason));
        }
        return hr;
    }
    // The unique bus name of the client whose call is being handled.
    std::string caller()
    {
        const sdbus::Message *message = getObject().getCurrentlyProcessedMessage();
        return message ? message->getSender() : std::string();
    }
    using Reasons = std::deque<std::pair<std::string, std::string>>;
    Reasons::iterator findReason(const std::string &client)
    {
        return std::find_if(m_reasons.begin(), m_reasons.end(),
                            [&](const auto &kept) { return kept.first == client; });
    }

    static constexpr std::size_t kKeptReasons = 32;
    Reasons m_reasons; // oldest first
};

// The walk over a table's rows and the removal of one, alike on every table that names them
// First, Last, Next, Previous, Count and Delete.
template <typename Base> class TableCursor : public Base
{
public:
    using Base::Base;

private:
    using Table = typename Base::Domain;

    std::tuple<int32_t, int16_t> First() override { return this->reply(&Table::First); }
    std::tuple<int32_t, int16_t> Last() override { return this->reply(&Table::Last); }
    std::tuple<int32_t, int16_t> Next(const int16_t &index) override
    {
        return this->reply(&Table::Next, InOut{index});
    }
    std::tuple<int32_t, int16_t> Previous(const int16_t &index) override
    {
        return this->reply(&Table::Previous, InOut{index});
    }
    std::tuple<int32_t, int16_t> Count() override { return this->reply(&Table::Count); }
    std::tuple<int32_t, int16_t> Delete(const int16_t &index) override
    {
        return this->reply(&Table::Delete, InOut{index});
    }
};

class DeviceDataObject : public TableCursor<BusObject<IDeviceData, org::orvex::IDeviceData_adaptor>>
{
public:
    using TableCursor::TableCursor;

private:
    std::tuple<int32_t, int16_t> GetDeviceType(const int16_t &index) override
    {
        return reply(&IDeviceData::GetDeviceType, index);
    }
    std::tuple<int32_t, int16_t> GetInterface(const int16_t &index) override
    {
        return reply(&IDeviceData::GetInterface, index);
    }
    std::tuple<int32_t, int16_t> GetInport(const int16_t &index) override
    {
        return reply(&IDeviceData::GetInport, index);
    }
    std::tuple<int32_t, int16_t> GetOutport(const int16_t &index) override
    {
        return reply(&IDeviceData::GetOutport, index);
    }
    int32_t SetDeviceType(const int16_t &index, const int16_t &deviceType) override
    {
        return reply(&IDeviceData::SetDeviceType, index, deviceType);
    }
    int32_t SetInterface(const int16_t &index, const int16_t &iface) override
    {
        return reply(&IDeviceData::SetInterface, index, iface);
    }
    int32_t SetInport(const int16_t &index, const int16_t &inport) override
    {
        return reply(&IDeviceData::SetInport, index, inport);
    }
    int32_t SetOutport(const int16_t &index, const int16_t &outport) override
    {
        return reply(&IDeviceData::SetOutport, index, outport);
    }
    std::tuple<int32_t, int16_t> Append() override { return reply(&IDeviceData::Append); }
};

class EventDataObject : public TableCursor<BusObject<IEventData, org::orvex::IEventData_adaptor>>
{
public:
    using TableCursor::TableCursor;

private:
    std::tuple<int32_t, int16_t> GetEventNumber(const int16_t &index) override
    {
        return reply(&IEventData::GetEventNumber, index);
    }
    std::tuple<int32_t, int16_t> GetPriority(const int16_t &index) override
    {
        return reply(&IEventData::GetPriority, index);
    }
    std::tuple<int32_t, int16_t> GetTransitionPriority(const int16_t &index) override
    {
        return reply(&IEventData::GetTransitionPriority, index);
    }
    int32_t SetPriority(const int16_t &index, const int16_t &priority) override
    {
        return reply(&IEventData::SetPriority, index, priority);
    }
    int32_t SetTransitionPriority(const int16_t &index, const int16_t &priority) override
    {
        return reply(&IEventData::SetTransitionPriority, index, priority);
    }
    std::tuple<int32_t, int16_t> NewEvent(const int16_t &eventNumber) override
    {
        return reply(&IEventData::NewEvent, eventNumber);
    }
};

class POSDataObject : public TableCursor<BusObject<IPOSData, org::orvex::IPOSData_adaptor>>
{
public:
    using TableCursor::TableCursor;

private:
    std::tuple<int32_t, int16_t> NewPOS(const int16_t &POSNumber) override
    {
        return reply(&IPOSData::NewPOS, POSNumber);
    }
    int32_t SetCamera(const int16_t &index, const int16_t &camera) override
    {
        return reply(&IPOSData::SetCamera, index, camera);
    }
    int32_t SetMovableFlag(const int16_t &index, const int16_t &movableFlag) override
    {
        return reply(&IPOSData::SetMovableFlag, index, movableFlag);
    }
    int32_t SetPreset(const int16_t &index, const int16_t &preset) override
    {
        return reply(&IPOSData::SetPreset, index, preset);
    }
    int32_t SetPriority(const int16_t &index, const int16_t &priority) override
    {
        return reply(&IPOSData::SetPriority, index, priority);
    }
    std::tuple<int32_t, int16_t> GetCamera(const int16_t &index) override
    {
        return reply(&IPOSData::GetCamera, index);
    }
    std::tuple<int32_t, int16_t> GetMovableFlag(const int16_t &index) override
    {
        return reply(&IPOSData::GetMovableFlag, index);
    }
    std::tuple<int32_t, int16_t> GetPreset(const int16_t &index) override
    {
        return reply(&IPOSData::GetPreset, index);
    }
    std::tuple<int32_t, int16_t> GetPriority(const int16_t &index) override
    {
        return reply(&IPOSData::GetPriority, index);
    }
    std::tuple<int32_t, int16_t> GetPOSNumber(const int16_t &index) override
    {
        return reply(&IPOSData::GetPOSNumber, index);
    }
};

} // namespace

ORVEX_PUT_ON_BUS(IOrvexConfigData, OrvexConfigDataObject)
ORVEX_PUT_ON_BUS(IDeviceData, DeviceDataObject)
ORVEX_PUT_ON_BUS(IEventData, EventDataObject)
ORVEX_PUT_ON_BUS(IPOSData, POSDataObject)

} // namespace services
