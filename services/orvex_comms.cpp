#include "services/orvex_comms.h"

#include "services/transport_event_sink.h"
#include "services/unit_fields.h"
#include "support/trace_log.h"

#include <chrono>
#include <optional>
#include <utility>

namespace services {

namespace {

constexpr std::uint32_t kTimerPeriodMs = 1000;
constexpr std::uint32_t kProbeInterval = 2000;
constexpr std::uint32_t kOnlineInterval = 15000;
constexpr std::uint32_t kOfflineInterval = 1000;

// How often a send's settling and a stop's wait look at the link.
constexpr std::uint32_t kLinkPollMs = 100;

constexpr std::uint32_t kUploadBusyMs = 30000;
constexpr std::uint32_t kClearMemoryBusyMs = 30000;
constexpr std::uint32_t kDownloadBusyMs = 60000;
constexpr std::uint32_t kTaskDiagnosticsBusyMs = 30000;

constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;
constexpr std::int16_t kDeliveryStart = 4;
constexpr std::int16_t kCameraRoam = 0;
constexpr std::int16_t kCameraVisitWorkstation = 37;

} // namespace

OrvexComms::OrvexComms(ServiceLoop &loop, std::shared_ptr<transport::IOrvexTransport> transport)
    : m_loop(loop)
    , m_transport(std::move(transport))
    , m_backlog(std::dynamic_pointer_cast<transport::ILinkBacklog>(m_transport))
    , m_sink(std::make_shared<TransportEventSink>(loop, this))
{
}

OrvexComms::~OrvexComms()
{
    UnadviseTransportEvents();
    m_sink->Detach();
    StopHeartbeatTimer();
    for (const std::uint32_t timer : {m_sendSettleTimer, m_stopTimer}) {
        if (timer != 0)
            m_loop.KillTimer(timer);
    }
}

// ---- commands ----

template <typename Fill>
HRESULT OrvexComms::sendDefault(std::uint32_t busyDelayMs, Fill &&fill)
{
    if (busyDelayMs != 0)
        SetBusyDelay(busyDelayMs);
    if (!m_transport)
        return E_POINTER;
    std::shared_ptr<transport::IDefault> message;
    m_transport->getDefault(&message);
    if (!message)
        return E_POINTER;
    fill(*message);
    m_transport->setDefault(message);
    return S_OK;
}

HRESULT OrvexComms::SetSerialPort(std::int16_t port)
{
    support::TraceDebug("Setting Serial Port to %d, and starting Heartbeat Timer", port);
    if (!m_transport)
        return E_POINTER;
    m_transport->setSerialPort(port);
    m_port = port;
    StopHeartbeatTimer();
    // The heartbeat state is kept: a port change does not restart the phase.
    m_timerId = m_loop.SetTimer(kTimerPeriodMs, [this](std::uint32_t tick) { HeartbeatTimerProc(tick); });
    m_timerRunning = m_timerId != 0;
    return S_OK;
}

HRESULT OrvexComms::ReadDataFromOrvex()
{
    SetBusyDelay(kUploadBusyMs);
    if (!m_transport)
        return E_POINTER;
    startExchange(Exchange::Read);
    return S_OK;
}

HRESULT OrvexComms::ClearOrvexMemory()
{
    return sendDefault(kClearMemoryBusyMs, [](transport::IDefault &m) { m.ClearMemory(); });
}

HRESULT OrvexComms::ToggleDebug(std::int16_t time)
{
    // The message would go without its byte, as no type the unit knows.
    if (!transport::kPayloadByte.contains(time)) {
        ReportWarning(OutsideRangeText("toggle debug", "time", time, transport::kPayloadByte.min,
                                       transport::kPayloadByte.max, "not sent"));
        return E_INVALIDARG;
    }
    return sendDefault(0, [time](transport::IDefault &m) { m.ToggleDebug(time); });
}

HRESULT OrvexComms::ClearResetCount()
{
    return sendDefault(0, [](transport::IDefault &m) { m.ClearResetCount(); });
}

HRESULT OrvexComms::SendCurrentSiteToOrvex()
{
    SetBusyDelay(kDownloadBusyMs);
    if (!m_transport)
        return E_POINTER;
    // The command answers S_OK whatever the download gives.
    startExchange(Exchange::Send);
    return S_OK;
}

HRESULT OrvexComms::RequestResetCount()
{
    return sendDefault(0, [](transport::IDefault &m) { m.RequestResetCount(); });
}

HRESULT OrvexComms::RequestSystemDiagnostics()
{
    return m_transport ? S_OK : E_POINTER;
}

HRESULT OrvexComms::RequestTaskDiagnostics()
{
    return sendDefault(kTaskDiagnosticsBusyMs, [](transport::IDefault &m) { m.RequestTaskDiagnostics(); });
}

// ---- command turns ----

void OrvexComms::startExchange(Exchange exchange)
{
    if (!m_siteData)
        return;
    if (exchange == Exchange::Send && m_sendSettleTimer != 0) {
        // The messages of the send before stay ahead of this one's and settle within its watch.
        m_loop.KillTimer(m_sendSettleTimer);
        m_sendSettleTimer = 0;
    }
    m_exchange = exchange;
    const auto ended = [life = std::weak_ptr(m_life)](HRESULT) {
        if (auto hub = life.lock())
            (*hub)->exchangeEnded();
    };
    if (exchange == Exchange::Send)
        m_siteData->SendCurrentSite(ended);
    else
        m_siteData->RequestSiteFromUnit(ended);
}

void OrvexComms::exchangeEnded()
{
    const bool sent = m_exchange == Exchange::Send;
    m_exchange = Exchange::None;
    // Empty when the exchange ended within its command, which takeTurns answers itself.
    if (Reply reply = std::exchange(m_replyAfterExchange, nullptr))
        reply(m_exchangeCommandResult);
    if (sent)
        watchSendSettling();
    takeTurns();
}

void OrvexComms::watchSendSettling()
{
    m_sendLastMessage = transport::LastMessageNumber(m_backlog.get());
    if (transport::MessageSettled(m_backlog.get(), m_sendLastMessage)) {
        sendSettled();
        return;
    }
    m_sendSettleTimer = m_loop.SetTimer(kLinkPollMs, [this](std::uint32_t) {
        if (transport::MessageSettled(m_backlog.get(), m_sendLastMessage))
            sendSettled();
    });
}

void OrvexComms::sendSettled()
{
    if (m_sendSettleTimer != 0)
        m_loop.KillTimer(m_sendSettleTimer);
    m_sendSettleTimer = 0;
    if (m_stop) {
        support::TraceInfo("Stopping: the site download has ended");
        stopNow();
    }
}

std::int32_t OrvexComms::linkBacklog() const
{
    std::int32_t messages = 0;
    if (!m_backlog || FAILED(m_backlog->getBacklog(&messages)))
        return 0;
    return messages;
}

std::uint64_t OrvexComms::acknowledgedFrames() const
{
    std::uint64_t frames = 0;
    if (!m_backlog || FAILED(m_backlog->getAcknowledgedCount(&frames)))
        return 0;
    return frames;
}

void OrvexComms::RunInTurn(Command command, Reply reply)
{
    if (m_turnsEnded) {
        if (reply)
            reply(std::nullopt);
        return;
    }
    m_turns.push_back(Turn{std::move(command), std::move(reply)});
    takeTurns();
}

void OrvexComms::takeTurns()
{
    // A reply that queues a command, or an exchange that ends within its command, comes back
    // here while the loop below still runs; it goes on from there.
    if (m_takingTurns)
        return;
    m_takingTurns = true;
    while (m_exchange == Exchange::None && !m_turns.empty()) {
        Turn turn = std::move(m_turns.front());
        m_turns.pop_front();
        const HRESULT hr = turn.command(*this);
        if (m_exchange != Exchange::None) {
            m_replyAfterExchange = std::move(turn.reply);
            m_exchangeCommandResult = hr;
            break;
        }
        if (turn.reply)
            turn.reply(hr);
    }
    m_takingTurns = false;
}

void OrvexComms::EndTurns(std::function<void()> stop)
{
    if (m_turnsEnded)
        return;
    m_turnsEnded = true;
    const std::size_t refused = m_turns.size();
    for (std::deque<Turn> waiting = std::exchange(m_turns, {}); Turn &turn : waiting) {
        if (turn.reply)
            turn.reply(std::nullopt);
    }
    if (refused != 0)
        support::TraceError("Stopping: %d unit commands that waited their turn not run", static_cast<int>(refused));
    std::int32_t dropped = 0;
    if (m_backlog)
        (void)m_backlog->dropQueuedCameraCommands(&dropped);
    if (dropped != 0)
        support::TraceError("Stopping: %d camera commands not yet sent to the unit dropped", static_cast<int>(dropped));
    if (!sendUnderWay()) {
        if (const std::int32_t unsent = linkBacklog(); unsent != 0)
            support::TraceError("Stopping: %d messages to the unit unsettled", static_cast<int>(unsent));
        stop();
        return;
    }
    support::TraceInfo("Stopping after the site download: its remaining steps and the unit's acknowledgements "
                       "first, while the unit answers (%d s of silence at most), %d s at most",
                       static_cast<int>(kStopSilenceLimit.count()), static_cast<int>(kStopWaitLimit.count()));
    m_stop = std::move(stop);
    m_stopCameAt = m_unitAnsweredAt = m_loop.TickCount();
    m_acknowledgedThen = acknowledgedFrames();
    m_stopTimer = m_loop.SetTimer(kLinkPollMs, [this](std::uint32_t now) { checkStop(now); });
}

bool OrvexComms::AdmitCameraCommand()
{
    if (!m_turnsEnded)
        return true;
    ++m_cameraCommandsRefused;
    return false;
}

void OrvexComms::checkStop(std::uint32_t now)
{
    constexpr auto ms = [](std::chrono::seconds s) {
        return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(s).count());
    };
    // Silence counts only while the link has frames for the unit: the send's wait is no silence.
    const std::uint64_t acknowledged = acknowledgedFrames();
    const std::int32_t unsettled = linkBacklog();
    if (acknowledged != m_acknowledgedThen || unsettled == 0) {
        m_acknowledgedThen = acknowledged;
        m_unitAnsweredAt = now;
    }
    if (static_cast<std::uint32_t>(now - m_unitAnsweredAt) >= ms(kStopSilenceLimit)) {
        support::TraceError("Stopping before the site download has ended: %d messages to the unit unsettled, "
                            "the unit silent for %d s",
                            static_cast<int>(unsettled), static_cast<int>(kStopSilenceLimit.count()));
        stopNow();
    } else if (static_cast<std::uint32_t>(now - m_stopCameAt) >= ms(kStopWaitLimit)) {
        support::TraceError("Stopping before the site download has ended: %d messages to the unit unsettled "
                            "after %d s",
                            static_cast<int>(unsettled), static_cast<int>(kStopWaitLimit.count()));
        stopNow();
    }
}

void OrvexComms::stopNow()
{
    if (m_stopTimer != 0)
        m_loop.KillTimer(m_stopTimer);
    m_stopTimer = 0;
    auto stop = std::exchange(m_stop, nullptr);
    if (!stop)
        return;
    if (m_cameraCommandsRefused != 0)
        support::TraceError("Stopping: %d camera commands that came during the stop not sent", m_cameraCommandsRefused);
    stop();
}

// ---- image notices and licence plates ----

HRESULT OrvexComms::ImageAvailable(std::int16_t, const std::string &)
{
    return S_OK;
}

HRESULT OrvexComms::ImageCaptureError(std::int16_t, const std::string &)
{
    return S_OK;
}

HRESULT OrvexComms::RecognizeLicencePlateNumber(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                                std::int16_t NumberOfCharactersRecognized,
                                                const std::string &VehicleRegistrationNumber,
                                                const std::string &ConfidenceLevel,
                                                const std::string &ImageTimestamp)
{
    FireDVREvents([&](IDVREvents &s) {
        s.OnRecognizeRegistrationNumber(FuellingPositionID, CameraID, NumberOfCharactersRecognized,
                                        VehicleRegistrationNumber, ConfidenceLevel, ImageTimestamp);
    });
    return S_OK;
}

HRESULT OrvexComms::CapturedFuellingPositionImage(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                                  const std::string &ImageTimestamp,
                                                  const std::string &ImageFilename, std::int16_t EventID,
                                                  const std::string &SourceEventTimestamp,
                                                  std::int16_t SourceEventSequenceNumber)
{
    FireDVREvents([&](IDVREvents &s) {
        s.OnCapturedFuellingPositionImage(FuellingPositionID, CameraID, ImageTimestamp, ImageFilename, EventID,
                                          SourceEventTimestamp, SourceEventSequenceNumber);
    });
    return S_OK;
}

HRESULT OrvexComms::CapturedPaymentTerminalImage(std::int16_t PaymentTerminalID, std::int16_t CameraID,
                                                 const std::string &ImageTimestamp,
                                                 const std::string &ImageFilename, std::int16_t EventID,
                                                 const std::string &SourceEventTimestamp,
                                                 std::int16_t SourceEventSequenceNumber)
{
    FireDVREvents([&](IDVREvents &s) {
        s.OnCapturedPaymentTerminalImage(PaymentTerminalID, CameraID, ImageTimestamp, ImageFilename, EventID,
                                         SourceEventTimestamp, SourceEventSequenceNumber);
    });
    return S_OK;
}

HRESULT OrvexComms::CapturedWorkstationImage(const std::string &WorkstationID, std::int16_t CameraID,
                                             const std::string &ImageTimestamp, const std::string &ImageFilename,
                                             std::int16_t EventID, const std::string &SourceEventTimestamp,
                                             std::int16_t SourceEventSequenceNumber)
{
    FireDVREvents([&](IDVREvents &s) {
        s.OnCapturedWorkstationImage(WorkstationID, CameraID, ImageTimestamp, ImageFilename, EventID,
                                     SourceEventTimestamp, SourceEventSequenceNumber);
    });
    return S_OK;
}

// ---- event sources ----

HRESULT OrvexComms::AdviseCommsEvents(std::shared_ptr<IOrvexCommsEvents> sink, std::uint32_t *cookie)
{
    return m_commsEvents.Advise(std::move(sink), cookie);
}

HRESULT OrvexComms::UnadviseCommsEvents(std::uint32_t cookie)
{
    return m_commsEvents.Unadvise(cookie);
}

HRESULT OrvexComms::AdviseDVREvents(std::shared_ptr<IDVREvents> sink, std::uint32_t *cookie)
{
    return m_dvrEvents.Advise(std::move(sink), cookie);
}

HRESULT OrvexComms::UnadviseDVREvents(std::uint32_t cookie)
{
    return m_dvrEvents.Unadvise(cookie);
}

void OrvexComms::fireGotMessage(const char *text) const
{
    const std::string msgType(text);
    fireComms([&](IOrvexCommsEvents &s) { s.GotMessage(msgType); });
}

void OrvexComms::ReportWarning(const std::string &text) const
{
    support::TraceAt(1, "%s", text.c_str());
    fireGotMessage(("Warning: " + text).c_str());
}

// ---- heartbeat ----

void OrvexComms::AttachConfigData(SiteExchange *siteData)
{
    m_siteData = siteData;
    m_timerRunning = false;
    m_interval = kStartInterval;
    m_lastCheck = 0;
    m_lastCheckSet = false;
    m_waiting = false;
}

void OrvexComms::SetBusyDelay(std::uint32_t ms)
{
    // Before the first timer message, the first check goes where that message would put it, so
    // that the delay counts from now, not from that message.
    placeFirstCheck(m_loop.TickCount());
    m_interval += ms;
    support::TraceInfo("Setting delay time to %d", static_cast<int>(m_interval));
}

HRESULT OrvexComms::AdviseTransportEvents()
{
    HRESULT hr = E_POINTER;
    if (m_transport && m_transportCookie == 0)
        hr = m_transport->Advise(m_sink, &m_transportCookie);
    else if (m_transportCookie != 0)
        hr = S_OK;
    if (FAILED(hr)) {
        m_transportCookie = 0;
        support::TraceError("Error Registering for events with Transport component: %s",
                            DescribeResult(hr).c_str());
        support::FlushTrace();
    }
    return hr;
}

void OrvexComms::UnadviseTransportEvents()
{
    if (m_transport && m_transportCookie != 0)
        m_transport->Unadvise(m_transportCookie);
    m_transportCookie = 0;
}

void OrvexComms::StopHeartbeatTimer()
{
    if (m_timerId != 0)
        m_loop.KillTimer(m_timerId);
    m_timerId = 0;
    m_timerRunning = false;
}

void OrvexComms::placeFirstCheck(std::uint32_t now)
{
    if (m_lastCheckSet)
        return;
    // The first check lies one interval back, so the first probe comes on the second tick.
    m_lastCheck = now - m_interval;
    m_lastCheckSet = true;
}

void OrvexComms::HeartbeatTimerProc(std::uint32_t now)
{
    placeFirstCheck(now);
    // Unsigned arithmetic keeps the elapsed time right across the tick counter's wrap.
    if (static_cast<std::uint32_t>(now - m_lastCheck) <= m_interval)
        return;

    if (m_waiting) {
        if (m_seen) {
            const std::string versions = m_versions;
            fireComms([&](IOrvexCommsEvents &s) { s.OrvexOnline(versions); });
            support::TraceInfo("Fired OrvexOnline");
            m_interval = kOnlineInterval;
        } else {
            fireComms([](IOrvexCommsEvents &s) { s.OrvexOffline(); });
            support::TraceInfo("Fired OrvexOffline");
            m_interval = kOfflineInterval;
        }
        m_lastCheck = now;
        m_waiting = false;
        return;
    }

    m_seen = false;
    // Set before sending: a request that cannot be sent counts as unanswered.
    m_waiting = true;
    m_interval = kProbeInterval;
    sendDefault(0, [](transport::IDefault &m) { m.RequestHeartbeat(); });
    m_lastCheck = now;
}

// ---- transport events ----

void OrvexComms::OnTransportHeartBeat(const std::string &versions)
{
    m_versions = versions;
    m_seen = true;
}

void OrvexComms::OnTransportDebug(const std::string &debugData)
{
    fireComms([&](IOrvexCommsEvents &s) { s.Debug(debugData); });
}

void OrvexComms::OnTransportBootLoadReadyRequest(std::int16_t, std::int16_t, std::int16_t)
{
    fireGotMessage("Boot Load Ready Request");
}

void OrvexComms::OnTransportDispenserMap(std::int16_t dispNumber, std::int16_t loopNumber, std::int16_t addr,
                                         std::int16_t cardAddr)
{
    if (m_siteData)
        m_siteData->OnDispenserMapReply(dispNumber, loopNumber, addr, cardAddr);
    fireGotMessage("Dispenser Map");
}

void OrvexComms::OnTransportSystemDiagnostics(std::int16_t totalMem, std::int16_t maxMsgOutstanding,
                                              std::int16_t minSpaceAvailable, std::int16_t totalLoopTime)
{
    fireComms([&](IOrvexCommsEvents &s) {
        s.SystemDiagnostics(totalMem, maxMsgOutstanding, minSpaceAvailable, totalLoopTime);
    });
}

void OrvexComms::OnTransportTaskConfig(std::int16_t taskType, std::int16_t inPort, std::int16_t outPort,
                                       std::int16_t iface)
{
    if (m_siteData)
        m_siteData->OnTaskConfigReply(taskType, inPort, outPort, iface);
    fireGotMessage("Task");
}

void OrvexComms::OnTransportVehicleReg(std::int16_t, const std::string &)
{
    fireGotMessage("Vehicle Reg");
}

void OrvexComms::OnTransportError(const std::string &description)
{
    // The transport keeps no trace of its own in the service: the cause of a port that failed or
    // could not be opened, or of a frame the unit never acknowledged, is written here, once per
    // report.
    support::TraceError("Comms Error on Port %d: %s", m_port, description.c_str());
    fireComms([&](IOrvexCommsEvents &s) { s.CommsError(description); });
}

void OrvexComms::OnTransportCameraPreset(const std::shared_ptr<transport::ICameraPresetsOutput> &pCPO)
{
    if (m_siteData && pCPO)
        m_siteData->OnCameraPresetReply(pCPO);
    fireGotMessage("Camera Preset");
}

void OrvexComms::OnTransportInterestZone(std::int16_t, std::int16_t, std::int16_t, const std::string &)
{
    fireGotMessage("Interest Zone");
}

void OrvexComms::OnTransportConfigData(const std::shared_ptr<transport::IConfigDataOutput> &pCDO)
{
    if (m_siteData && pCDO)
        m_siteData->OnConfigDataReply(pCDO);
    fireGotMessage("Config Data");
}

void OrvexComms::OnTransportEvents(const std::shared_ptr<transport::IEventsOutput> &pEO)
{
    if (m_siteData && pEO)
        m_siteData->OnEventsReply(pEO);
    fireGotMessage("Events");
}

void OrvexComms::OnTransportTaskDiagnostics(std::int16_t msgType, std::int16_t memUsed, std::int16_t msgsUsed)
{
    fireComms([&](IOrvexCommsEvents &s) { s.TaskDiagnostics(msgType, memUsed, msgsUsed); });
}

void OrvexComms::OnTransportResetCount(std::int16_t ResetCount)
{
    fireComms([&](IOrvexCommsEvents &s) { s.ResetCount(ResetCount); });
}

void OrvexComms::OnTransportCameraPosition(std::int16_t cameranum, float pan, float tilt, float zoom)
{
    fireComms([&](IOrvexCommsEvents &s) { s.CameraPosition(cameranum, pan, tilt, zoom); });
}

void OrvexComms::OnTransportCameraEvent(std::int16_t eventID, std::int16_t targetID, std::int16_t cameranum,
                                        std::int16_t presetNum, std::int16_t revisiting)
{
    const std::string target = std::to_string(targetID);
    const std::string description = "Pump " + target;
    if (eventID == kCameraRoam) {
        FireDVREvents([&](IDVREvents &s) {
            s.OnCameraRoam(cameranum, description, kTrue, presetNum, kFalse, 0.0, 0.0, 0.0);
        });
    } else if (eventID == kCameraVisitWorkstation) {
        const std::string posDescription = "POS " + target;
        FireDVREvents([&](IDVREvents &s) {
            s.OnCameraVisitWorkstation(target, cameranum, posDescription, kTrue, presetNum, kFalse, 0.0, 0.0, 0.0,
                                       0.0);
        });
    } else {
        FireDVREvents([&](IDVREvents &s) {
            s.OnCameraVisitFuellingPosition(targetID, cameranum, description, kTrue, presetNum, kFalse, 0.0, 0.0,
                                            0.0, 0.0, eventID, revisiting);
        });
    }
}

void OrvexComms::OnTransportPOSMessage(std::int16_t POSNumber, std::int16_t cameranum, std::int16_t presetNum,
                                       const std::string &Text)
{
    FireDVREvents([&](IDVREvents &s) { s.OnPosMessage(POSNumber, cameranum, Text); });
    if (presetNum == 0 && cameranum > 0) {
        const std::string workstation = std::to_string(POSNumber);
        FireDVREvents([&](IDVREvents &s) {
            s.OnCameraVisitWorkstation(workstation, cameranum, "POS", kFalse, 0, kFalse, 0.0, 0.0, 0.0, 0.0);
        });
    }
}

void OrvexComms::OnTransportPumpEvent(std::int16_t eventID, std::int16_t pumpNum, std::int16_t,
                                      std::int16_t cameranum)
{
    if (eventID == kDeliveryStart)
        FireDVREvents([&](IDVREvents &s) { s.OnPumpDeliveryStart(pumpNum, cameranum); });
    else
        FireDVREvents([&](IDVREvents &s) { s.OnPumpEvent(pumpNum, eventID, cameranum); });
}

void OrvexComms::OnTransportPumpEventWithDeliveryTotals(std::int16_t, std::int16_t pumpNum, std::int16_t hoseNum,
                                                        Currency unitPrice, Currency totalPrice, double volume,
                                                        std::int16_t cameranum)
{
    // The recorder event lists the total before the unit price.
    FireDVREvents([&](IDVREvents &s) {
        s.OnPumpDeliveryEnd(pumpNum, hoseNum, totalPrice, unitPrice, volume, cameranum);
    });
}

void OrvexComms::OnTransportPOSEventData(std::int16_t POSNum, std::int16_t cameranum, std::int16_t MovableFlag,
                                         std::int16_t presetNum, std::int16_t priority)
{
    if (cameranum == 0)
        return;
    if (m_siteData)
        m_siteData->OnPOSEventDataReply(POSNum, cameranum, MovableFlag, presetNum, priority);
    fireGotMessage("POS");
}

} // namespace services
