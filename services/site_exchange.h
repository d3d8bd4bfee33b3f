#pragma once
// What the communications hub asks of the site held in memory when it exchanges the site with
// the unit: the download, the upload's requests, and the handling of each reply the unit sends
// back. The site data object implements it; the hub holds it without owning it
// (AttachConfigData) and calls it on the service thread only.

#include "interfaces/transport/messages.h"
#include "platform/hresult.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace services {

class SiteExchange
{
public:
    virtual ~SiteExchange() = default;

    // Runs once with the result of an exchange, on the service thread.
    using Completion = std::function<void(HRESULT)>;

    // The download: clear the unit, wait 10 s from when the unit has taken the clear, then every
    // table in order. Returns once it has begun; in the service the waits are the loop's timers.
    // `done` gets S_OK once every message is queued; E_UNEXPECTED, with nothing (more) sent, when
    // there is no site to send (storage not initialised); E_POINTER without a transport. The
    // command still answers S_OK.
    virtual void SendCurrentSite(Completion done) = 0;

    // The upload after the hub has applied its busy delay: empty the tables but the cameras,
    // mark the site loaded (only when storage is initialised: without it there are no tables to
    // fill), send the three groups of requests 3 s apart; `done` gets the result after the last
    // group. Replies come through the handlers below, during the waits too; a handler drops a
    // reply when the site has no loaded tables.
    virtual void RequestSiteFromUnit(Completion done) = 0;

    // Replies of the unit; each updates the in-memory site. The hub fires GotMessage afterwards.
    virtual void OnDispenserMapReply(std::int16_t dispNumber, std::int16_t loopNumber, std::int16_t addr,
                                     std::int16_t cardAddr) = 0;
    virtual void OnTaskConfigReply(std::int16_t taskType, std::int16_t inPort, std::int16_t outPort,
                                   std::int16_t iface) = 0;
    virtual void OnCameraPresetReply(const std::shared_ptr<transport::ICameraPresetsOutput> &reply) = 0;
    virtual void OnConfigDataReply(const std::shared_ptr<transport::IConfigDataOutput> &reply) = 0;
    virtual void OnEventsReply(const std::shared_ptr<transport::IEventsOutput> &reply) = 0;
    // Called only for a camera number other than 0.
    virtual void OnPOSEventDataReply(std::int16_t POSNum, std::int16_t cameranum, std::int16_t MovableFlag,
                                     std::int16_t presetNum, std::int16_t priority) = 0;
};

} // namespace services
