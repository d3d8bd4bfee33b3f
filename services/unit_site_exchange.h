#pragma once
// The exchange of the in-memory site with the unit: the download (every table as unit
// messages), the upload's three groups of requests, and the handlers that turn the unit's
// replies back into site data.
//
// Owned by OrvexConfigData, which it reads and fills; the transport is shared with the hub.
// Service thread only: the download and the upload block that thread for their waits, which go
// through the injected sleeper so that tests need not wait. Messages are fetched from the
// transport, filled and handed back one at a time; their results are not examined (the link
// reports its own failures).

#include "interfaces/transport/iorvex_transport.h"
#include "platform/hresult.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace services {

class OrvexConfigData;

class UnitSiteExchange
{
public:
    using Sleeper = std::function<void(std::chrono::milliseconds)>;

    static constexpr std::chrono::milliseconds kClearMemoryWait{10000};
    static constexpr std::chrono::milliseconds kRequestGroupWait{3000};
    // A task of this device type is sent before all others.
    static constexpr std::int16_t kFirstTaskType = 7;

    // A null transport makes both directions fail with E_POINTER; an empty sleeper sleeps.
    UnitSiteExchange(OrvexConfigData &site, std::shared_ptr<transport::IOrvexTransport> transport,
                     Sleeper sleeper);

    // E_UNEXPECTED, with nothing sent, before the site has tables (storage not initialised);
    // E_POINTER without a transport; else S_OK once every message is queued.
    HRESULT sendSite();
    // E_POINTER without a transport (nothing is emptied or sent); else S_OK. The site is marked
    // loaded only when it has storage.
    HRESULT requestSite();

    void onDispenserMap(std::int16_t dispNumber, std::int16_t loopNumber, std::int16_t addr,
                        std::int16_t cardAddr);
    void onTaskConfig(std::int16_t taskType, std::int16_t inPort, std::int16_t outPort, std::int16_t iface);
    void onCameraPreset(transport::ICameraPresetsOutput &reply);
    void onConfigData(transport::IConfigDataOutput &reply);
    void onEvents(transport::IEventsOutput &reply);
    void onPOSEventData(std::int16_t POSNum, std::int16_t cameranum, std::int16_t MovableFlag,
                        std::int16_t presetNum, std::int16_t priority);

private:
    // Fetches a default message, lets `fill` build it and sends it.
    void sendDefault(const std::function<void(transport::IDefault &)> &fill);
    void sendTasks();
    void sendConfigData();
    void sendEvents();
    void sendPointsOfSale();
    void sendDispensers();

    OrvexConfigData &m_site;
    std::shared_ptr<transport::IOrvexTransport> m_transport;
    Sleeper m_sleep;
};

} // namespace services
