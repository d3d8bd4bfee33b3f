#pragma once
// The exchange of the in-memory site with the unit: the download (every table as unit
// messages), the upload's three groups of requests, and the handlers that turn the unit's
// replies back into site data.
//
// Owned by OrvexConfigData, which it reads and fills; the transport is shared with the hub.
// Service thread only. Each direction is a short list of steps: a step sends its messages, then
// the unit gets its time before the next one. The waits go through the injected Wait; in the
// service the next step runs from a timer of the service loop (OnLoop), so that the thread
// serves other clients, the heartbeat and the unit's reports meanwhile, and the site needs no
// lock. A test hands in a Wait that notes the wait and goes on at once. Messages are fetched
// from the transport, filled and handed back one at a time; their results are not examined
// (the link reports its own failures).
//
// The unit's time to clear its memory counts from when it has taken the clear (acknowledged, or
// given up by the link), which camera commands queued before the clear may put off for long:
// with a transport that tells (ILinkBacklog) the download asks it every kSettlePoll, through
// the same Wait, before it waits its 10 s. A Wait that goes on at once makes that a busy poll.
//
// The completion of a direction runs once, after its last step or with the failure that ended
// it. When the exchange object goes first, a step still waiting does nothing and the
// completion is dropped without running.

#include "interfaces/transport/ilink_backlog.h"
#include "interfaces/transport/iorvex_transport.h"
#include "platform/hresult.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

class ServiceLoop;

namespace services {

class OrvexConfigData;

class UnitSiteExchange
{
public:
    // Runs `then` once `delay` has passed.
    using Wait = std::function<void(std::chrono::milliseconds delay, std::function<void()> then)>;
    using Completion = std::function<void(HRESULT)>;

    static constexpr std::chrono::milliseconds kClearMemoryWait{10000};
    static constexpr std::chrono::milliseconds kRequestGroupWait{3000};
    // How often the download asks whether the unit has taken its clear.
    static constexpr std::chrono::milliseconds kSettlePoll{100};
    // A task of this device type is sent before all others.
    static constexpr std::int16_t kFirstTaskType = 7;

    // Each wait a one-shot timer of `loop`; call it on the loop's thread. Once the loop has quit
    // nothing runs.
    [[nodiscard]] static Wait OnLoop(ServiceLoop &loop);

    // A null transport makes both directions fail with E_POINTER; an empty wait sleeps on the
    // calling thread and goes on.
    UnitSiteExchange(OrvexConfigData &site, std::shared_ptr<transport::IOrvexTransport> transport, Wait wait);
    UnitSiteExchange(const UnitSiteExchange &) = delete;
    UnitSiteExchange &operator=(const UnitSiteExchange &) = delete;

    // The download: the clear, 10 s once the unit has taken it, then every table. `done` gets
    // E_UNEXPECTED, with nothing (more) sent, when the site has no tables (storage not
    // initialised, at the start or once the wait is over); E_POINTER without a transport; else
    // S_OK once every message is queued.
    void sendSite(Completion done);
    // The upload: three groups of requests 3 s apart. `done` gets E_POINTER without a transport
    // (nothing is emptied or sent), else S_OK once the last group is queued. The tables are
    // emptied and the site marked loaded (only when it has storage) before the first request
    // goes out, so that every reply, also one that arrives during a wait, is kept.
    void requestSite(Completion done);

    void onDispenserMap(std::int16_t dispNumber, std::int16_t loopNumber, std::int16_t addr,
                        std::int16_t cardAddr);
    void onTaskConfig(std::int16_t taskType, std::int16_t inPort, std::int16_t outPort, std::int16_t iface);
    void onCameraPreset(transport::ICameraPresetsOutput &reply);
    void onConfigData(transport::IConfigDataOutput &reply);
    void onEvents(transport::IEventsOutput &reply);
    void onPOSEventData(std::int16_t POSNum, std::int16_t cameranum, std::int16_t MovableFlag,
                        std::int16_t presetNum, std::int16_t priority);

private:
    // One step of a direction: what it sends (a failure ends the direction), and the time the
    // unit gets before the next step, counted from the sending or from when the link has settled
    // the step's last message.
    struct Step
    {
        HRESULT (UnitSiteExchange::*send)();
        std::chrono::milliseconds waitAfter;
        bool waitFromSettled = false;
    };
    static const Step kDownload[2];
    static const Step kUpload[3];

    // Runs the first of `steps`, then, after its wait, the rest; `done` after the last.
    void run(const char *direction, std::span<const Step> steps, std::size_t total, Completion done);
    // Runs `then` once the link has settled the message of `number` (at once for 0, or when the
    // transport cannot tell); nothing when this object has gone first.
    void afterSettled(std::uint64_t number, std::function<void()> then);

    HRESULT sendClear();
    HRESULT sendTables();
    HRESULT requestFirstGroup();
    HRESULT requestSecondGroup();
    HRESULT requestThirdGroup();

    // Fetches a default message, lets `fill` build it and sends it.
    void sendDefault(const std::function<void(transport::IDefault &)> &fill);
    void sendTasks();
    void sendConfigData();
    void sendEvents();
    void sendPointsOfSale();
    void sendDispensers();

    OrvexConfigData &m_site;
    std::shared_ptr<transport::IOrvexTransport> m_transport;
    std::shared_ptr<transport::ILinkBacklog> m_link; // the same object, when it tells
    Wait m_wait;
    // Expires with this object: a step that waits holds it weakly.
    std::shared_ptr<UnitSiteExchange *> m_life = std::make_shared<UnitSiteExchange *>(this);
};

} // namespace services
