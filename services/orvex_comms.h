#pragma once
// The communications hub: the service's one point of contact with the Orvex unit.
//
// It turns client commands into transport messages, watches the unit's heartbeat on a
// one-second timer of the service loop (probe, then decide online or offline, at every cycle),
// and translates every transport event into status events (IOrvexCommsEvents), recorder events
// (IDVREvents) or updates of the in-memory site (SiteExchange, followed by GotMessage).
//
// Thread affinity: the service thread. Commands, the timer and the translation handlers run
// there; transport events reach the handlers through the loop (TransportEventSink), one at a
// time and in the order the transport fired them. A site send or read (SendCurrentSiteToOrvex,
// ReadDataFromOrvex) returns once it has begun and goes on from loop timers; clients on the
// bus reach the commands through RunInTurn, which keeps them in order behind it. A send counts
// as under way until the link has settled its tables, which a loop timer watches; a stop waits
// for it (EndTurns), and camera control asks AdmitCameraCommand meanwhile. The members
// of IOrvexComms called directly run at once: they are for the service's own start and tests.
// Both event sources fire synchronously on the calling thread, slot by slot. The hub must be
// destroyed on the service thread or after the loop has ended; its destructor unsubscribes from
// the transport and kills the timer.
//
// Ownership: shares the transport; holds the site data without owning it; keeps a strong
// reference to each subscriber until it unsubscribes or the hub ends. Made with
// std::make_shared (the bridge keeps the hub as its event source).

#include "interfaces/services/idvr_comms.h"
#include "interfaces/services/idvr_event_source.h"
#include "interfaces/services/ilicence_plate.h"
#include "interfaces/services/iorvex_comms.h"
#include "interfaces/services/iorvex_comms_event_source.h"
#include "interfaces/transport/ilink_backlog.h"
#include "interfaces/transport/iorvex_transport.h"
#include "platform/connection_point.h"
#include "platform/service_loop.h"
#include "services/command_turns.h"
#include "services/site_exchange.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace services {

class TransportEventSink;

class OrvexComms final : public IOrvexComms,
                         public IDVRComms,
                         public ILicencePlate,
                         public IOrvexCommsEventSource,
                         public IDVREventSource,
                         public CommandTurns
{
public:
    OrvexComms(ServiceLoop &loop, std::shared_ptr<transport::IOrvexTransport> transport);
    ~OrvexComms() override;

    OrvexComms(const OrvexComms &) = delete;
    OrvexComms &operator=(const OrvexComms &) = delete;

    // IOrvexComms
    HRESULT SetSerialPort(std::int16_t port) override;
    HRESULT ReadDataFromOrvex() override;
    HRESULT ClearOrvexMemory() override;
    HRESULT ToggleDebug(std::int16_t time) override;
    HRESULT ClearResetCount() override;
    HRESULT SendCurrentSiteToOrvex() override;
    HRESULT RequestResetCount() override;
    HRESULT RequestSystemDiagnostics() override;
    HRESULT RequestTaskDiagnostics() override;

    // CommandTurns
    void RunInTurn(Command command, Reply reply) override;
    void EndTurns(std::function<void()> stop) override;
    // False once the turns have ended (the service is stopping): the camera command is not to be
    // sent. The refusals are counted for the stop's trace.
    bool AdmitCameraCommand();

    // IDVRComms
    HRESULT ImageAvailable(std::int16_t CameraID, const std::string &fileName) override;
    HRESULT ImageCaptureError(std::int16_t CameraID, const std::string &reason) override;

    // ILicencePlate
    HRESULT RecognizeLicencePlateNumber(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                        std::int16_t NumberOfCharactersRecognized,
                                        const std::string &VehicleRegistrationNumber,
                                        const std::string &ConfidenceLevel,
                                        const std::string &ImageTimestamp) override;
    HRESULT CapturedFuellingPositionImage(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                          const std::string &ImageTimestamp, const std::string &ImageFilename,
                                          std::int16_t EventID, const std::string &SourceEventTimestamp,
                                          std::int16_t SourceEventSequenceNumber) override;
    HRESULT CapturedPaymentTerminalImage(std::int16_t PaymentTerminalID, std::int16_t CameraID,
                                         const std::string &ImageTimestamp, const std::string &ImageFilename,
                                         std::int16_t EventID, const std::string &SourceEventTimestamp,
                                         std::int16_t SourceEventSequenceNumber) override;
    HRESULT CapturedWorkstationImage(const std::string &WorkstationID, std::int16_t CameraID,
                                     const std::string &ImageTimestamp, const std::string &ImageFilename,
                                     std::int16_t EventID, const std::string &SourceEventTimestamp,
                                     std::int16_t SourceEventSequenceNumber) override;

    // The two event sources.
    HRESULT AdviseCommsEvents(std::shared_ptr<IOrvexCommsEvents> sink, std::uint32_t *cookie) override;
    HRESULT UnadviseCommsEvents(std::uint32_t cookie) override;
    HRESULT AdviseDVREvents(std::shared_ptr<IDVREvents> sink, std::uint32_t *cookie) override;
    HRESULT UnadviseDVREvents(std::uint32_t cookie) override;

    // Fires a recorder event to every subscriber (camera control and the test generator use
    // it): `call(IDVREvents &)`.
    template <typename Call>
    void FireDVREvents(Call &&call) const
    {
        m_dvrEvents.FireSlots(std::forward<Call>(call));
    }

    // A value that cannot reach the unit as a client or the site gave it (see unit_fields.h):
    // traced at warning level and fired to the status subscribers as GotMessage("Warning: " +
    // text), which the configuration tool shows.
    void ReportWarning(const std::string &text) const;

    // Operations of the service host.
    // Keeps `siteData` (not owned; may be null) and restarts the heartbeat from its first phase.
    void AttachConfigData(SiteExchange *siteData);
    // Postpones the next heartbeat step by `ms` from now, also before the first timer message;
    // delays of several commands add up.
    void SetBusyDelay(std::uint32_t ms);
    // Subscribes the hub to the transport's events; on failure traces the reason and returns
    // it (the hub then hears no reports).
    HRESULT AdviseTransportEvents();
    // Leaves the transport's events; the hub hears no further reports. Idempotent.
    void UnadviseTransportEvents();
    void StopHeartbeatTimer();
    // One step of the heartbeat; `now` is the tick count of the timer message.
    void HeartbeatTimerProc(std::uint32_t now);

    // Handlers of the transport's events, on the service thread.
    void OnTransportHeartBeat(const std::string &versions);
    void OnTransportDebug(const std::string &debugData);
    void OnTransportBootLoadReadyRequest(std::int16_t statusCode, std::int16_t blockSize,
                                         std::int16_t nextAddress);
    void OnTransportDispenserMap(std::int16_t dispNumber, std::int16_t loopNumber, std::int16_t addr,
                                 std::int16_t cardAddr);
    void OnTransportSystemDiagnostics(std::int16_t totalMem, std::int16_t maxMsgOutstanding,
                                      std::int16_t minSpaceAvailable, std::int16_t totalLoopTime);
    void OnTransportTaskConfig(std::int16_t taskType, std::int16_t inPort, std::int16_t outPort,
                               std::int16_t iface);
    void OnTransportVehicleReg(std::int16_t logicalPump, const std::string &regNumber);
    void OnTransportError(const std::string &description);
    void OnTransportCameraPreset(const std::shared_ptr<transport::ICameraPresetsOutput> &pCPO);
    void OnTransportInterestZone(std::int16_t zone, std::int16_t camera, std::int16_t preset,
                                 const std::string &intText);
    void OnTransportConfigData(const std::shared_ptr<transport::IConfigDataOutput> &pCDO);
    void OnTransportEvents(const std::shared_ptr<transport::IEventsOutput> &pEO);
    void OnTransportTaskDiagnostics(std::int16_t msgType, std::int16_t memUsed, std::int16_t msgsUsed);
    void OnTransportResetCount(std::int16_t ResetCount);
    void OnTransportCameraPosition(std::int16_t cameranum, float pan, float tilt, float zoom);
    void OnTransportCameraEvent(std::int16_t eventID, std::int16_t targetID, std::int16_t cameranum,
                                std::int16_t presetNum, std::int16_t revisiting);
    void OnTransportPOSMessage(std::int16_t POSNumber, std::int16_t cameranum, std::int16_t presetNum,
                               const std::string &Text);
    void OnTransportPumpEvent(std::int16_t eventID, std::int16_t pumpNum, std::int16_t hoseNum,
                              std::int16_t cameranum);
    void OnTransportPumpEventWithDeliveryTotals(std::int16_t eventID, std::int16_t pumpNum,
                                                std::int16_t hoseNum, Currency unitPrice, Currency totalPrice,
                                                double volume, std::int16_t cameranum);
    void OnTransportPOSEventData(std::int16_t POSNum, std::int16_t cameranum, std::int16_t MovableFlag,
                                 std::int16_t presetNum, std::int16_t priority);

private:
    // Busy delay, then a fresh default message filled by `fill` and handed back to the
    // transport. E_POINTER without a transport or a message.
    template <typename Fill>
    HRESULT sendDefault(std::uint32_t busyDelayMs, Fill &&fill);
    template <typename Call>
    void fireComms(Call &&call) const
    {
        m_commsEvents.FireSlots(std::forward<Call>(call));
    }
    void fireGotMessage(const char *text) const;
    // Places the heartbeat's first check one interval before `now`, once after AttachConfigData.
    void placeFirstCheck(std::uint32_t now);
    enum class Exchange { None, Send, Read };
    // Starts a site send or read; the turns wait until it has ended.
    void startExchange(Exchange exchange);
    void exchangeEnded();
    // Runs the waiting commands until none is left or one starts an exchange.
    void takeTurns();
    // After a send's last step: watches the link until it has settled the send's messages.
    void watchSendSettling();
    void sendSettled();
    [[nodiscard]] bool sendUnderWay() const { return m_exchange == Exchange::Send || m_sendSettleTimer != 0; }
    // What the link tells (ILinkBacklog); a transport that does not tell has nothing unsettled.
    [[nodiscard]] std::int32_t linkBacklog() const;
    [[nodiscard]] std::uint64_t acknowledgedFrames() const;
    // One look of a stop that waits for a send: ends it when the unit has been silent too long,
    // or the stop has waited its longest.
    void checkStop(std::uint32_t now);
    // Runs the stop that waits, once.
    void stopNow();

    ServiceLoop &m_loop;
    std::shared_ptr<transport::IOrvexTransport> m_transport;
    std::shared_ptr<transport::ILinkBacklog> m_backlog; // the same object, when it tells
    std::shared_ptr<TransportEventSink> m_sink;
    std::uint32_t m_transportCookie = 0;
    std::int16_t m_port = 0; // the port last set, for the trace
    SiteExchange *m_siteData = nullptr;

    // Command turns.
    struct Turn
    {
        Command command;
        Reply reply;
    };
    std::deque<Turn> m_turns;
    bool m_takingTurns = false;
    Exchange m_exchange = Exchange::None;
    // Polls the link from a send's last step until its messages are settled; 0 when not.
    std::uint32_t m_sendSettleTimer = 0;
    // The last message of the send that the timer watches.
    std::uint64_t m_sendLastMessage = 0;
    // Once EndTurns was called: every command is refused.
    bool m_turnsEnded = false;
    int m_cameraCommandsRefused = 0;
    // The stop that waits for a send, and the timer that bounds the wait: when the stop came,
    // when the unit was last seen answering (or with nothing to answer), and the count of its
    // acknowledgements then.
    std::function<void()> m_stop;
    std::uint32_t m_stopTimer = 0;
    std::uint32_t m_stopCameAt = 0;
    std::uint32_t m_unitAnsweredAt = 0;
    std::uint64_t m_acknowledgedThen = 0;
    // The reply of the command whose exchange is running, and that command's result.
    Reply m_replyAfterExchange;
    HRESULT m_exchangeCommandResult = S_OK;
    // Expires with the hub: an exchange's completion holds it weakly.
    std::shared_ptr<OrvexComms *> m_life = std::make_shared<OrvexComms *>(this);

    ConnectionPoint<IOrvexCommsEvents> m_commsEvents;
    ConnectionPoint<IDVREvents> m_dvrEvents;

    // Heartbeat state.
    static constexpr std::uint32_t kStartInterval = 1000;
    std::uint32_t m_timerId = 0;
    bool m_timerRunning = false;
    std::uint32_t m_interval = kStartInterval;
    // The tick of the last probe or decision; unset until the first timer message.
    std::uint32_t m_lastCheck = 0;
    bool m_lastCheckSet = false;
    bool m_waiting = false;
    bool m_seen = false;
    std::string m_versions;
};

} // namespace services
