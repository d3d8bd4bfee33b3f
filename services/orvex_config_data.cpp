#include "services/orvex_config_data.h"

#include "interfaces/configstore/orvex_config_factory.h"
#include "platform/install_folder.h"
#include "platform/xml_text.h"
#include "services/service_files.h"
#include "services/stored_site_tables.h"
#include "support/trace_log.h"

#include <malloc.h>

namespace services {

namespace {

// A site is hundreds of thousands of small libxml2 nodes, and glibc keeps what is freed in its
// heaps. A site file of 15 MB opened twice (the second import replacing the stored site) and
// deleted left the service at 242 MB resident (5 MB before); with malloc_trim after the delete,
// at 51 MB. The trim added about 80 ms to that DeleteSite (110 ms without), well under a
// millisecond for a site of normal size (bench/site_memory_bench).
void giveFreedMemoryBack()
{
    malloc_trim(0);
}

std::shared_ptr<configstore::IOrvexConfig> createStore()
{
    std::shared_ptr<configstore::IOrvexConfig> store;
    configstore::CreateOrvexConfig(&store);
    return store;
}

// The result of an exchange that ended within `start`; S_OK when it goes on after it.
HRESULT resultWithinCall(const std::function<void(SiteExchange::Completion)> &start)
{
    // Shared: with the loop's waits the completion runs after this frame has gone.
    auto result = std::make_shared<HRESULT>(S_OK);
    start([result](HRESULT hr) { *result = hr; });
    return *result;
}

} // namespace

OrvexConfigData::OrvexConfigData(std::shared_ptr<transport::IOrvexTransport> transport,
                                 UnitSiteExchange::Wait wait, StoreFactory storeFactory)
    : m_storeFactory(storeFactory ? std::move(storeFactory) : StoreFactory(createStore))
    , m_exchange(*this, std::move(transport), std::move(wait))
{
}

OrvexConfigData::~OrvexConfigData() = default;

HRESULT OrvexConfigData::InitializeStorage()
{
    // A client that connects again gets a fresh store; the site it had loaded belongs to the
    // document that store replaces, and must not be saved into it, nor that document over the
    // configuration file.
    UnInitializeStorage();

    m_store = m_storeFactory();
    const HRESULT hr = m_store ? m_store->LoadAndParse() : E_POINTER;
    if (FAILED(hr)) {
        support::TraceError("Error 0x%x - %s", static_cast<unsigned>(hr), DescribeResult(hr).c_str());
        support::FlushTrace();
        m_store.reset();
        return hr;
    }
    m_devices = std::make_shared<DeviceData>();
    m_dispensers = std::make_shared<DispenserData>();
    m_events = std::make_shared<EventData>();
    m_cameras = std::make_shared<CameraData>();
    m_pointsOfSale = std::make_shared<POSData>();
    m_storage = true;
    return S_OK;
}

HRESULT OrvexConfigData::UnInitializeStorage()
{
    // Clients may still hold the tables (the bus keeps every object it has handed out): they are
    // emptied and answer from now on as before storage was initialised, and their memory goes now.
    const auto letGo = [](auto &table) {
        if (table)
            table->letGo();
        table.reset();
    };
    letGo(m_devices);
    letGo(m_dispensers);
    letGo(m_events);
    letGo(m_cameras);
    letGo(m_pointsOfSale);
    m_site.reset();
    m_storage = false;
    m_loaded = false;
    clearTimes();
    // With the store's root goes the store's document, and every site in it.
    const bool hadStore = m_store != nullptr;
    m_store.reset();
    if (hadStore)
        giveFreedMemoryBack();
    return S_OK;
}

HRESULT OrvexConfigData::LoadSite(const std::string *siteName)
{
    if (!m_storage)
        return E_UNEXPECTED;
    if (m_loaded)
        return S_FALSE;
    if (!siteName)
        return E_POINTER;
    const HRESULT hr = loadStoredSite(*siteName);
    if (FAILED(hr))
        return hr;
    m_loaded = true;
    return S_OK;
}

HRESULT OrvexConfigData::loadStoredSite(const std::string &siteName)
{
    const std::string name = siteName;
    std::shared_ptr<configstore::ISite> site;
    HRESULT hr = m_store->GetSite(&name, &site);
    if (FAILED(hr))
        return hr;
    if (!site)
        return E_FAIL;
    Times dwell{};
    Times intervisit{};
    for (std::int16_t priority = 1; priority <= kPriorities && SUCCEEDED(hr); ++priority)
        hr = site->GetDwellTime(priority, &dwell.at(slot(priority)));
    for (std::int16_t priority = 1; priority <= kPriorities && SUCCEEDED(hr); ++priority)
        hr = site->GetIntervisitTime(priority, &intervisit.at(slot(priority)));
    if (FAILED(hr))
        return hr;
    m_site = std::move(site);
    m_siteName = siteName;
    m_dwell = dwell;
    m_intervisit = intervisit;
    StoredSiteTables tables{*m_devices, *m_dispensers, *m_events, *m_cameras, *m_pointsOfSale};
    // A table the store cannot give whole is left as far as it was read; the others still load.
    tables.load(*m_site);
    return S_OK;
}

HRESULT OrvexConfigData::Save()
{
    if (!ready())
        return E_UNEXPECTED;
    // A site read from the unit into no stored site has nowhere to go.
    if (!m_site)
        return E_UNEXPECTED;
    return saveStoredSite();
}

HRESULT OrvexConfigData::saveStoredSite()
{
    StoredSiteTables tables{*m_devices, *m_dispensers, *m_events, *m_cameras, *m_pointsOfSale};
    const char *failedTable = nullptr;
    HRESULT hr = tables.save(*m_site, &failedTable);
    if (FAILED(hr))
        return traceSaveFailure(hr, "writing the " + std::string(failedTable));
    for (std::int16_t priority = 1; priority <= kPriorities && SUCCEEDED(hr); ++priority) {
        hr = m_site->SetDwellTime(priority, dwellTime(priority));
        if (SUCCEEDED(hr))
            hr = m_site->SetIntervisitTime(priority, intervisitTime(priority));
    }
    if (FAILED(hr))
        return traceSaveFailure(hr, "writing the times");
    hr = m_store->SaveSite();
    if (FAILED(hr))
        return traceSaveFailure(hr, "writing the configuration file", m_store->LastFileError());
    return S_OK;
}

HRESULT OrvexConfigData::traceSaveFailure(HRESULT hr, const std::string &step, const std::string &reason) const
{
    // The client only learns the code; the engineer reading the trace needs the step and why.
    support::TraceError("Error Saving Site \"%s\" while %s: 0x%x - %s%s%s", m_siteName.c_str(), step.c_str(),
                        static_cast<unsigned>(hr), DescribeResult(hr).c_str(), reason.empty() ? "" : ": ",
                        reason.c_str());
    return hr;
}

HRESULT OrvexConfigData::NewSite(const std::string *siteName)
{
    if (!m_storage)
        return E_UNEXPECTED;
    if (!siteName)
        return E_POINTER;
    if (const char *fault = XmlTextFault(*siteName)) {
        support::TraceError("Error Creating Site: its name cannot be kept in a site file: %s", fault);
        return E_INVALIDARG;
    }
    std::shared_ptr<configstore::ISite> site;
    const HRESULT hr = m_store->NewSite(siteName, &site);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT OrvexConfigData::ExportSite(const std::string *siteName, const std::string *fileName)
{
    if (!m_storage)
        return E_UNEXPECTED;
    if (!siteName || !fileName)
        return E_POINTER;
    // E_ACCESSDENIED: the path is a fine one, but the file is not the client's to write (and
    // E_INVALIDARG already tells the client that the site does not exist).
    if (const auto own = ServiceFileAt(*fileName, InstallFolder())) {
        traceFileFailure("Exporting", "to", *siteName, *fileName, E_ACCESSDENIED,
                         "it is the service's own file " + *own);
        return E_ACCESSDENIED;
    }
    const HRESULT hr = m_store->ExportSite(siteName, fileName);
    if (FAILED(hr))
        traceFileFailure("Exporting", "to", *siteName, *fileName, hr, m_store->LastFileError());
    return FAILED(hr) ? hr : S_OK;
}

HRESULT OrvexConfigData::ImportSite(const std::string *siteName, const std::string *fileName)
{
    if (!m_storage)
        return E_UNEXPECTED;
    if (m_loaded)
        return E_FAIL;
    if (!siteName || !fileName)
        return E_POINTER;
    const HRESULT hr = m_store->ImportSite(siteName, fileName);
    if (FAILED(hr)) {
        traceFileFailure("Importing", "from", *siteName, *fileName, hr, m_store->LastFileError());
        // All that the parse made is gone again. (After an import that worked, what it let go
        // of, the stored site it replaced, lies among what it keeps: a trim then gave back
        // nothing measurable.)
        giveFreedMemoryBack();
    }
    return FAILED(hr) ? hr : S_OK;
}

void OrvexConfigData::traceFileFailure(const char *verb, const char *preposition,
                                       const std::string &siteName, const std::string &fileName, HRESULT hr,
                                       const std::string &reason)
{
    // The engineer reading the trace needs the file and why; the client that asks gets the why.
    std::string why = reason.empty() ? DescribeResult(hr) : reason;
    support::TraceError("Error %s Site \"%s\" %s %s: 0x%x - %s", verb, siteName.c_str(), preposition,
                        fileName.c_str(), static_cast<unsigned>(hr), why.c_str());
    m_errorDescription = std::move(why);
}

HRESULT OrvexConfigData::GetErrorDescription(std::string *description)
{
    if (!description)
        return E_POINTER;
    description->swap(m_errorDescription);
    m_errorDescription.clear();
    return description->empty() ? S_FALSE : S_OK;
}

HRESULT OrvexConfigData::DeleteSite(const std::string *siteName)
{
    if (!m_storage)
        return E_UNEXPECTED;
    if (!siteName)
        return E_POINTER;
    if (m_loaded)
        return E_ABORT;
    const HRESULT hr = m_store->DeleteSite(siteName);
    if (hr == S_OK)
        giveFreedMemoryBack();
    return hr;
}

HRESULT OrvexConfigData::EnumSites(std::vector<std::string> *sites, std::int32_t *count)
{
    // Before InitializeStorage there is no store to ask.
    if (!m_store)
        return E_UNEXPECTED;
    if (!sites || !count)
        return E_POINTER;
    return m_store->EnumSites(sites, count);
}

HRESULT OrvexConfigData::UnloadSite()
{
    if (!m_storage)
        return E_UNEXPECTED;
    if (!m_loaded)
        return S_OK;
    m_devices->clear();
    m_events->clear();
    m_dispensers->clear();
    m_cameras->clear();
    m_pointsOfSale->clear();
    clearTimes();
    m_site.reset();
    m_loaded = false;
    return S_OK;
}

HRESULT OrvexConfigData::UnloadSiteButKeepCameraData()
{
    if (!m_storage)
        return E_UNEXPECTED;
    m_devices->clear();
    m_dispensers->clear();
    m_events->clear();
    m_pointsOfSale->clear();
    clearTimes();
    return S_OK;
}

void OrvexConfigData::markLoadedFromUnit()
{
    if (m_storage)
        m_loaded = true;
}

UnitFields OrvexConfigData::unitFields() const
{
    if (m_warningSink)
        return UnitFields(m_warningSink);
    return UnitFields([](const std::string &text) { support::TraceAt(1, "%s", text.c_str()); });
}

void OrvexConfigData::clearTimes()
{
    m_dwell.fill(0);
    m_intervisit.fill(0);
}

HRESULT OrvexConfigData::getTime(const Times &times, std::int16_t priority, std::int16_t *time) const
{
    if (!ready())
        return E_UNEXPECTED;
    if (!time)
        return E_POINTER;
    if (priority < 1 || priority > kPriorities)
        return E_INVALIDARG;
    *time = times.at(slot(priority));
    return S_OK;
}

HRESULT OrvexConfigData::setTime(Times &times, std::int16_t priority, std::int16_t time)
{
    if (!ready())
        return E_UNEXPECTED;
    if (priority < 1 || priority > kPriorities)
        return E_INVALIDARG;
    times.at(slot(priority)) = time;
    return S_OK;
}

HRESULT OrvexConfigData::GetDwellTime(std::int16_t priority, std::int16_t *time)
{
    return getTime(m_dwell, priority, time);
}

HRESULT OrvexConfigData::SetDwellTime(std::int16_t priority, std::int16_t time)
{
    return setTime(m_dwell, priority, time);
}

HRESULT OrvexConfigData::GetIntervisitTime(std::int16_t priority, std::int16_t *time)
{
    return getTime(m_intervisit, priority, time);
}

HRESULT OrvexConfigData::SetIntervisitTime(std::int16_t priority, std::int16_t time)
{
    return setTime(m_intervisit, priority, time);
}

template <typename Interface, typename Table>
HRESULT OrvexConfigData::retrieve(const std::shared_ptr<Table> &table, std::shared_ptr<Interface> *out) const
{
    if (!ready())
        return E_UNEXPECTED;
    if (!out)
        return E_POINTER;
    *out = table;
    return S_OK;
}

HRESULT OrvexConfigData::RetrieveDevice(std::shared_ptr<IDeviceData> *devices)
{
    return retrieve(m_devices, devices);
}

HRESULT OrvexConfigData::RetrieveDispenser(std::shared_ptr<IDispenserData> *dispensers)
{
    return retrieve(m_dispensers, dispensers);
}

HRESULT OrvexConfigData::RetrieveEvent(std::shared_ptr<IEventData> *events)
{
    return retrieve(m_events, events);
}

HRESULT OrvexConfigData::RetrieveCamera(std::shared_ptr<ICameraData> *cameras)
{
    return retrieve(m_cameras, cameras);
}

HRESULT OrvexConfigData::RetrievePOS(std::shared_ptr<IPOSData> *points)
{
    return retrieve(m_pointsOfSale, points);
}

void OrvexConfigData::SendCurrentSite(Completion done)
{
    m_exchange.sendSite(std::move(done));
}

void OrvexConfigData::RequestSiteFromUnit(Completion done)
{
    m_exchange.requestSite(std::move(done));
}

HRESULT OrvexConfigData::SendCurrentSite()
{
    return resultWithinCall([this](Completion done) { SendCurrentSite(std::move(done)); });
}

HRESULT OrvexConfigData::RequestSiteFromUnit()
{
    return resultWithinCall([this](Completion done) { RequestSiteFromUnit(std::move(done)); });
}

void OrvexConfigData::OnDispenserMapReply(std::int16_t dispNumber, std::int16_t loopNumber, std::int16_t addr,
                                          std::int16_t cardAddr)
{
    m_exchange.onDispenserMap(dispNumber, loopNumber, addr, cardAddr);
}

void OrvexConfigData::OnTaskConfigReply(std::int16_t taskType, std::int16_t inPort, std::int16_t outPort,
                                        std::int16_t iface)
{
    m_exchange.onTaskConfig(taskType, inPort, outPort, iface);
}

void OrvexConfigData::OnCameraPresetReply(const std::shared_ptr<transport::ICameraPresetsOutput> &reply)
{
    if (reply)
        m_exchange.onCameraPreset(*reply);
}

void OrvexConfigData::OnConfigDataReply(const std::shared_ptr<transport::IConfigDataOutput> &reply)
{
    if (reply)
        m_exchange.onConfigData(*reply);
}

void OrvexConfigData::OnEventsReply(const std::shared_ptr<transport::IEventsOutput> &reply)
{
    if (reply)
        m_exchange.onEvents(*reply);
}

void OrvexConfigData::OnPOSEventDataReply(std::int16_t POSNum, std::int16_t cameranum, std::int16_t MovableFlag,
                                          std::int16_t presetNum, std::int16_t priority)
{
    m_exchange.onPOSEventData(POSNum, cameranum, MovableFlag, presetNum, priority);
}

} // namespace services
