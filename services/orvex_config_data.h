#pragma once
// The one site the service holds in memory (IOrvexConfigData, see its header for the states and
// results), bound to the configuration store, and the site's side of the exchange with the unit
// (SiteExchange, carried out by the UnitSiteExchange it owns).
//
// Created by the root object, which hands it to clients and to the hub. It owns its five
// tables (shared with the clients that retrieved them), the ten times, the store's root and the
// stored site. Service thread only; no lock.

#include "interfaces/services/iorvex_config_data.h"
#include "interfaces/transport/iorvex_transport.h"
#include "services/camera_data.h"
#include "services/device_data.h"
#include "services/dispenser_data.h"
#include "services/event_data.h"
#include "services/pos_data.h"
#include "services/site_exchange.h"
#include "services/unit_fields.h"
#include "services/unit_site_exchange.h"

#include <array>
#include <functional>
#include <memory>

namespace configstore {
class IOrvexConfig;
class ISite;
} // namespace configstore

namespace services {

class OrvexConfigData final : public IOrvexConfigData, public SiteExchange
{
public:
    using StoreFactory = std::function<std::shared_ptr<configstore::IOrvexConfig>()>;

    static constexpr std::int16_t kPriorities = 5;

    // An empty store factory uses the configuration store's own. `wait` carries the exchange's
    // waits (UnitSiteExchange::OnLoop in the service); an empty one sleeps.
    explicit OrvexConfigData(std::shared_ptr<transport::IOrvexTransport> transport = nullptr,
                             UnitSiteExchange::Wait wait = {}, StoreFactory storeFactory = {});
    ~OrvexConfigData() override;
    OrvexConfigData(const OrvexConfigData &) = delete;
    OrvexConfigData &operator=(const OrvexConfigData &) = delete;

    // IOrvexConfigData
    HRESULT LoadSite(const std::string *siteName) override;
    HRESULT GetDwellTime(std::int16_t priority, std::int16_t *time) override;
    HRESULT SetDwellTime(std::int16_t priority, std::int16_t time) override;
    HRESULT GetIntervisitTime(std::int16_t priority, std::int16_t *time) override;
    HRESULT SetIntervisitTime(std::int16_t priority, std::int16_t time) override;
    HRESULT RetrieveDevice(std::shared_ptr<IDeviceData> *devices) override;
    HRESULT RetrieveDispenser(std::shared_ptr<IDispenserData> *dispensers) override;
    HRESULT RetrieveEvent(std::shared_ptr<IEventData> *events) override;
    HRESULT Save() override;
    HRESULT NewSite(const std::string *siteName) override;
    HRESULT InitializeStorage() override;
    HRESULT ExportSite(const std::string *siteName, const std::string *fileName) override;
    HRESULT ImportSite(const std::string *siteName, const std::string *fileName) override;
    HRESULT UnloadSite() override;
    HRESULT DeleteSite(const std::string *siteName) override;
    HRESULT RetrieveCamera(std::shared_ptr<ICameraData> *cameras) override;
    HRESULT EnumSites(std::vector<std::string> *sites, std::int32_t *count) override;
    HRESULT UnInitializeStorage() override;
    HRESULT UnloadSiteButKeepCameraData() override;
    HRESULT RetrievePOS(std::shared_ptr<IPOSData> *points) override;
    // The reason of the last failed import or export since it was last asked for.
    HRESULT GetErrorDescription(std::string *description) override;

    // SiteExchange. SendCurrentSite gives E_UNEXPECTED, sending nothing, before
    // InitializeStorage (there is no site to send) and E_POINTER without a transport.
    void SendCurrentSite(Completion done) override;
    void RequestSiteFromUnit(Completion done) override;
    // The same for a caller that wants the result: the exchange's own when its waits ran within
    // the call (a sleeping or a test's wait), else S_OK once it has begun.
    HRESULT SendCurrentSite();
    HRESULT RequestSiteFromUnit();
    void OnDispenserMapReply(std::int16_t dispNumber, std::int16_t loopNumber, std::int16_t addr,
                             std::int16_t cardAddr) override;
    void OnTaskConfigReply(std::int16_t taskType, std::int16_t inPort, std::int16_t outPort,
                           std::int16_t iface) override;
    void OnCameraPresetReply(const std::shared_ptr<transport::ICameraPresetsOutput> &reply) override;
    void OnConfigDataReply(const std::shared_ptr<transport::IConfigDataOutput> &reply) override;
    void OnEventsReply(const std::shared_ptr<transport::IEventsOutput> &reply) override;
    void OnPOSEventDataReply(std::int16_t POSNum, std::int16_t cameranum, std::int16_t MovableFlag,
                             std::int16_t presetNum, std::int16_t priority) override;

    // For the exchange: the tables (null before InitializeStorage) and the times.
    [[nodiscard]] const std::shared_ptr<DeviceData> &devices() const { return m_devices; }
    [[nodiscard]] const std::shared_ptr<EventData> &events() const { return m_events; }
    [[nodiscard]] const std::shared_ptr<DispenserData> &dispensers() const { return m_dispensers; }
    [[nodiscard]] const std::shared_ptr<CameraData> &cameras() const { return m_cameras; }
    [[nodiscard]] const std::shared_ptr<POSData> &pointsOfSale() const { return m_pointsOfSale; }
    [[nodiscard]] std::int16_t dwellTime(std::int16_t priority) const { return m_dwell.at(slot(priority)); }
    [[nodiscard]] std::int16_t intervisitTime(std::int16_t priority) const
    {
        return m_intervisit.at(slot(priority));
    }
    // A read from the unit has begun: the site counts as loaded, with or without a stored site,
    // but only when there is storage (without it there are no tables to fill).
    void markLoadedFromUnit();
    [[nodiscard]] bool hasStorage() const { return m_storage; }
    [[nodiscard]] bool isSiteLoaded() const { return m_loaded; }
    // Where a download's warnings go, about values it cannot send as the site holds them (in the
    // service: the hub, which traces them and fires GotMessage). Without a sink they are traced
    // at warning level.
    void SetWarningSink(UnitFields::Warn sink) { m_warningSink = std::move(sink); }
    // The checks of the values a download sends, warning to that sink.
    [[nodiscard]] UnitFields unitFields() const;

private:
    using Times = std::array<std::int16_t, kPriorities>;

    static std::size_t slot(std::int16_t priority) { return static_cast<std::size_t>(priority - 1); }
    [[nodiscard]] bool ready() const { return m_storage && m_loaded; }
    HRESULT getTime(const Times &times, std::int16_t priority, std::int16_t *time) const;
    HRESULT setTime(Times &times, std::int16_t priority, std::int16_t time);
    template <typename Interface, typename Table>
    HRESULT retrieve(const std::shared_ptr<Table> &table, std::shared_ptr<Interface> *out) const;
    void clearTimes();
    HRESULT loadStoredSite(const std::string &siteName);
    HRESULT saveStoredSite();
    // Traces a failed Save with the step that failed, the failure's text and the store's reason,
    // if it gave one; returns `hr`.
    HRESULT traceSaveFailure(HRESULT hr, const std::string &step, const std::string &reason = {}) const;
    // Traces a failed import or export: "Error Importing Site "Default" from <file>: 0x80004004 -
    // <reason>", the store's reason or else the code's text, and keeps that reason for
    // GetErrorDescription.
    void traceFileFailure(const char *verb, const char *preposition, const std::string &siteName,
                          const std::string &fileName, HRESULT hr, const std::string &reason);

    // In the order the site is built: devices, events, dispensers, cameras, points of sale.
    std::shared_ptr<DeviceData> m_devices;
    std::shared_ptr<EventData> m_events;
    std::shared_ptr<DispenserData> m_dispensers;
    std::shared_ptr<CameraData> m_cameras;
    std::shared_ptr<POSData> m_pointsOfSale;
    Times m_dwell{};
    Times m_intervisit{};
    bool m_storage = false;
    bool m_loaded = false;
    std::shared_ptr<configstore::ISite> m_site;
    std::string m_siteName; // of m_site
    std::shared_ptr<configstore::IOrvexConfig> m_store;
    StoreFactory m_storeFactory;
    std::string m_errorDescription; // of the last failed import or export, until asked for
    UnitFields::Warn m_warningSink;
    UnitSiteExchange m_exchange;
};

} // namespace services
