#pragma once
// Recording fakes for the hub's tests: a transport (messages and camera control), the hub's
// two kinds of subscribers and the site seam. Every call is written to a log as one line,
// "Name(arg,arg,...)", so a test compares whole calls, every argument included.

#include "support/tests/wait_until.h"
#include "interfaces/services/idvr_events.h"
#include "interfaces/services/iorvex_comms_events.h"
#include "interfaces/transport/icamera_control.h"
#include "interfaces/transport/iorvex_transport.h"
#include "platform/connection_point.h"
#include "services/site_exchange.h"

#include <chrono>
#include <functional>
#include <iomanip>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fakes {

using ::waitUntil;

inline void put(std::ostream &out, const std::string &v) { out << '"' << v << '"'; }
inline void put(std::ostream &out, const char *v) { out << '"' << v << '"'; }
inline void put(std::ostream &out, const Currency &v) { out << "cy" << v.scaled; }
inline void put(std::ostream &out, double v) { out << std::setprecision(17) << v; }
inline void put(std::ostream &out, float v) { out << "f" << std::setprecision(9) << v; }
inline void put(std::ostream &out, std::int16_t v) { out << v; }
inline void put(std::ostream &out, std::int32_t v) { out << v; }

// "Name(a,b,c)" with texts quoted, currency as its scaled value, floats marked.
template <typename... Args>
std::string Call(const std::string &name, const Args &...args)
{
    std::ostringstream out;
    out << name << '(';
    bool first = true;
    ((out << (first ? "" : ","), put(out, args), first = false), ...);
    out << ')';
    return out.str();
}

// A log that any thread may write; each line remembers the thread that wrote it.
class CallLog
{
public:
    void add(std::string line)
    {
        std::lock_guard lock(m_mutex);
        m_lines.push_back(std::move(line));
        m_threads.push_back(std::this_thread::get_id());
    }
    [[nodiscard]] std::vector<std::string> lines() const
    {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }
    [[nodiscard]] std::vector<std::thread::id> threads() const
    {
        std::lock_guard lock(m_mutex);
        return m_threads;
    }
    [[nodiscard]] std::size_t size() const
    {
        std::lock_guard lock(m_mutex);
        return m_lines.size();
    }
    void clear()
    {
        std::lock_guard lock(m_mutex);
        m_lines.clear();
        m_threads.clear();
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    std::vector<std::thread::id> m_threads;
};

// A default message that logs the one request it is given.
class RecordingDefault final : public transport::IDefault
{
public:
    explicit RecordingDefault(CallLog &log) : m_log(log) {}

    HRESULT getBuffer(transport::ByteArray *) override { return S_OK; }
    HRESULT getLength(std::int16_t *) override { return S_OK; }
    HRESULT setBuffer(const transport::ByteArray &, std::int16_t) override { return S_OK; }
    HRESULT getMessageType(std::int32_t *) override { return S_OK; }
    HRESULT AttendantTagTable() override { return log(Call("AttendantTagTable")); }
    HRESULT CreateInterestZoneTable(std::int16_t, std::int16_t, std::int16_t, const transport::ByteArray &) override
    {
        return log(Call("CreateInterestZoneTable"));
    }
    HRESULT CreateDispenserMap(std::int16_t, std::int16_t, std::int16_t, std::int16_t) override
    {
        return log(Call("CreateDispenserMap"));
    }
    HRESULT CreateTaskConfig(std::int16_t, std::int16_t, std::int16_t, std::int16_t) override
    {
        return log(Call("CreateTaskConfig"));
    }
    HRESULT CreateVehicleRegistration(std::int16_t, const transport::ByteArray &) override
    {
        return log(Call("CreateVehicleRegistration"));
    }
    HRESULT CreateBootLoadData(std::int16_t, std::int16_t, const transport::ByteArray &) override
    {
        return log(Call("CreateBootLoadData"));
    }
    HRESULT PassThrough(std::int16_t, const transport::ByteArray &) override { return log(Call("PassThrough")); }
    HRESULT ToggleDebug(std::int16_t tTime) override { return log(Call("ToggleDebug", tTime)); }
    HRESULT RequestTaskDiagnostics() override { return log(Call("RequestTaskDiagnostics")); }
    HRESULT RequestBootLoad() override { return log(Call("RequestBootLoad")); }
    HRESULT RequestCameraPresets() override { return log(Call("RequestCameraPresets")); }
    HRESULT RequestEvents() override { return log(Call("RequestEvents")); }
    HRESULT RequestDispenserMap() override { return log(Call("RequestDispenserMap")); }
    HRESULT RequestConfigData() override { return log(Call("RequestConfigData")); }
    HRESULT RequestHeartbeat() override { return log(Call("RequestHeartbeat")); }
    HRESULT RequestInterestZone() override { return log(Call("RequestInterestZone")); }
    HRESULT RequestTaskConfig() override { return log(Call("RequestTaskConfig")); }
    HRESULT ClearMemory() override { return log(Call("ClearMemory")); }
    HRESULT RequestResetCount() override { return log(Call("RequestResetCount")); }
    HRESULT ClearResetCount() override { return log(Call("ClearResetCount")); }
    HRESULT RequestPOSEventConfig(std::int16_t POSNum) override { return log(Call("RequestPOSEventConfig", POSNum)); }
    HRESULT CreatePOSEventConfig(std::int16_t, std::int16_t, std::int16_t, std::int16_t, std::int16_t) override
    {
        return log(Call("CreatePOSEventConfig"));
    }

private:
    HRESULT log(std::string line)
    {
        m_log.add(std::move(line));
        return S_OK;
    }
    CallLog &m_log;
};

// The transport and its camera control. `log` holds what was sent: the request a default
// message carried, then "setDefault()", and every camera command. Tests fire the transport's
// events with fire() from any thread, as the dispatcher would.
class RecordingTransport final : public transport::IOrvexTransport, public transport::ICameraControl
{
public:
    CallLog log;
    bool giveNoDefault = false;
    HRESULT adviseResult = S_OK;
    HRESULT cameraResult = S_OK;

    HRESULT getConfigData(std::shared_ptr<transport::IConfigData> *) override { return S_OK; }
    HRESULT setConfigData(const std::shared_ptr<transport::IConfigData> &) override { return S_OK; }
    HRESULT getEvents(std::shared_ptr<transport::IEvents> *) override { return S_OK; }
    HRESULT setEvents(const std::shared_ptr<transport::IEvents> &) override { return S_OK; }
    HRESULT getCameraPresets(std::shared_ptr<transport::ICameraPresets> *) override { return S_OK; }
    HRESULT setCameraPresets(const std::shared_ptr<transport::ICameraPresets> &) override { return S_OK; }
    HRESULT getDefault(std::shared_ptr<transport::IDefault> *pDefault) override
    {
        if (!giveNoDefault)
            *pDefault = std::make_shared<RecordingDefault>(log);
        return S_OK;
    }
    HRESULT setDefault(const std::shared_ptr<transport::IDefault> &) override { return record(Call("setDefault")); }
    HRESULT setSerialPort(std::int16_t port) override { return record(Call("setSerialPort", port)); }
    HRESULT Advise(std::shared_ptr<transport::IOrvexTransportEvents> sink, std::uint32_t *cookie) override
    {
        if (FAILED(adviseResult))
            return adviseResult;
        return m_events.Advise(std::move(sink), cookie);
    }
    HRESULT Unadvise(std::uint32_t cookie) override { return m_events.Unadvise(cookie); }

    [[nodiscard]] std::size_t subscriberCount() const { return m_events.Count(); }
    template <typename Call>
    void fire(Call &&call)
    {
        m_events.Fire(std::forward<Call>(call));
    }

    // ICameraControl
    HRESULT SelectCamera(std::int32_t camera, std::int32_t cameraType, std::string *result) override
    {
        if (result && FAILED(cameraResult))
            *result = "Invalid Camera Code";
        log.add(Call("SelectCamera", camera, cameraType));
        return cameraResult;
    }
    HRESULT MoveUp(std::int16_t speed) override { return camResult(Call("MoveUp", speed)); }
    HRESULT MoveDown(std::int16_t speed) override { return camResult(Call("MoveDown", speed)); }
    HRESULT MoveLeft(std::int16_t speed) override { return camResult(Call("MoveLeft", speed)); }
    HRESULT MoveRight(std::int16_t speed) override { return camResult(Call("MoveRight", speed)); }
    HRESULT MoveUpLeft(std::int16_t speed) override { return camResult(Call("MoveUpLeft", speed)); }
    HRESULT MoveUpRight(std::int16_t speed) override { return camResult(Call("MoveUpRight", speed)); }
    HRESULT MoveDownLeft(std::int16_t speed) override { return camResult(Call("MoveDownLeft", speed)); }
    HRESULT MoveDownRight(std::int16_t speed) override { return camResult(Call("MoveDownRight", speed)); }
    HRESULT ZoomIn(std::int16_t speed) override { return camResult(Call("ZoomIn", speed)); }
    HRESULT ZoomOut(std::int16_t speed) override { return camResult(Call("ZoomOut", speed)); }
    HRESULT FocusNear(std::int16_t speed) override { return camResult(Call("FocusNear", speed)); }
    HRESULT FocusFar(std::int16_t speed) override { return camResult(Call("FocusFar", speed)); }
    HRESULT OpenIris() override { return camResult(Call("OpenIris")); }
    HRESULT CloseIris() override { return camResult(Call("CloseIris")); }
    HRESULT SetPreset(std::int16_t preset) override { return camResult(Call("SetPreset", preset)); }
    HRESULT MoveToPreset(std::int16_t preset) override { return camResult(Call("MoveToPreset", preset)); }
    HRESULT ClearPreset(std::int16_t preset) override { return camResult(Call("ClearPreset", preset)); }
    HRESULT Stop() override { return camResult(Call("Stop")); }
    HRESULT RequestCameraPTZCoords() override { return camResult(Call("RequestCameraPTZCoords")); }
    HRESULT GoToPTZCoords(float pan, float tilt, float zoom) override
    {
        return camResult(Call("GoToPTZCoords", pan, tilt, zoom));
    }
    HRESULT ToggleAutoPan() override { return camResult(Call("ToggleAutoPan")); }
    HRESULT ToggleAutoIris() override { return camResult(Call("ToggleAutoIris")); }
    HRESULT AccessMenu() override { return camResult(Call("AccessMenu")); }

private:
    HRESULT record(std::string line)
    {
        log.add(std::move(line));
        return S_OK;
    }
    HRESULT camResult(std::string line)
    {
        log.add(std::move(line));
        return cameraResult;
    }
    ConnectionPoint<transport::IOrvexTransportEvents> m_events;
};

// A sink's log, and a hook that runs inside each call (to unsubscribe from within a firing).
class RecordingSink
{
public:
    CallLog log;
    std::function<void()> onCall;

protected:
    HRESULT add(std::string line)
    {
        log.add(std::move(line));
        if (onCall)
            onCall();
        return S_OK;
    }
};

class RecordingCommsSink final : public services::IOrvexCommsEvents, public RecordingSink
{
public:
    HRESULT Debug(const std::string &debugData) override { return add(Call("Debug", debugData)); }
    HRESULT OrvexOnline(const std::string &ver) override { return add(Call("OrvexOnline", ver)); }
    HRESULT OrvexOffline() override { return add(Call("OrvexOffline")); }
    HRESULT CommsError(const std::string &reason) override { return add(Call("CommsError", reason)); }
    HRESULT SystemDiagnostics(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d) override
    {
        return add(Call("SystemDiagnostics", a, b, c, d));
    }
    HRESULT TaskDiagnostics(std::int16_t a, std::int16_t b, std::int16_t c) override
    {
        return add(Call("TaskDiagnostics", a, b, c));
    }
    HRESULT ResetCount(std::int16_t count) override { return add(Call("ResetCount", count)); }
    HRESULT GotMessage(const std::string &msgType) override { return add(Call("GotMessage", msgType)); }
    HRESULT CameraPosition(std::int16_t camera, float pan, float tilt, float zoom) override
    {
        return add(Call("CameraPosition", camera, pan, tilt, zoom));
    }

};

class RecordingDVRSink final : public services::IDVREvents, public RecordingSink
{
public:
    HRESULT OnPosMessage(std::int16_t a, std::int16_t b, const std::string &c) override
    {
        return add(Call("OnPosMessage", a, b, c));
    }
    HRESULT OnPumpEvent(std::int16_t a, std::int16_t b, std::int16_t c) override
    {
        return add(Call("OnPumpEvent", a, b, c));
    }
    HRESULT OnPumpDeliveryStart(std::int16_t a, std::int16_t b) override
    {
        return add(Call("OnPumpDeliveryStart", a, b));
    }
    HRESULT OnPumpDeliveryEnd(std::int16_t a, std::int16_t b, Currency c, Currency d, double e,
                              std::int16_t f) override
    {
        return add(Call("OnPumpDeliveryEnd", a, b, c, d, e, f));
    }
    HRESULT OnCardRead(std::int16_t a, std::int16_t b, const std::string &c) override
    {
        return add(Call("OnCardRead", a, b, c));
    }
    HRESULT OnPaymentTransactionAuthorized(std::int16_t a, std::int16_t b, const std::string &c) override
    {
        return add(Call("OnPaymentTransactionAuthorized", a, b, c));
    }
    HRESULT OnPaymentTransactionCancelled(std::int16_t a) override
    {
        return add(Call("OnPaymentTransactionCancelled", a));
    }
    HRESULT OnPrintReceipt(std::int16_t a) override { return add(Call("OnPrintReceipt", a)); }
    HRESULT OnPaymentTerminalEvent(std::int16_t a, std::int16_t b) override
    {
        return add(Call("OnPaymentTerminalEvent", a, b));
    }
    HRESULT OnCameraVisitFuellingPosition(std::int16_t a, std::int16_t b, const std::string &c, std::int16_t d,
                                          std::int16_t e, std::int16_t f, double g, double h, double i, double j,
                                          std::int16_t k, std::int16_t l) override
    {
        return add(Call("OnCameraVisitFuellingPosition", a, b, c, d, e, f, g, h, i, j, k, l));
    }
    HRESULT OnCameraVisitPaymentTerminal(std::int16_t a, std::int16_t b, const std::string &c, std::int16_t d,
                                         std::int16_t e, std::int16_t f, double g, double h, double i, double j,
                                         std::int16_t k, std::int16_t l) override
    {
        return add(Call("OnCameraVisitPaymentTerminal", a, b, c, d, e, f, g, h, i, j, k, l));
    }
    HRESULT OnCameraLeavePosition(std::int16_t a, const std::string &b, std::int16_t c, std::int16_t d,
                                  std::int16_t e, double f, double g, double h, double i) override
    {
        return add(Call("OnCameraLeavePosition", a, b, c, d, e, f, g, h, i));
    }
    HRESULT OnCameraVisitWorkstation(const std::string &a, std::int16_t b, const std::string &c, std::int16_t d,
                                     std::int16_t e, std::int16_t f, double g, double h, double i,
                                     double j) override
    {
        return add(Call("OnCameraVisitWorkstation", a, b, c, d, e, f, g, h, i, j));
    }
    HRESULT OnCameraVisit(std::int16_t a, const std::string &b, std::int16_t c, std::int16_t d, std::int16_t e,
                          double f, double g, double h, double i, std::int16_t j, std::int16_t k) override
    {
        return add(Call("OnCameraVisit", a, b, c, d, e, f, g, h, i, j, k));
    }
    HRESULT OnCameraRoam(std::int16_t a, const std::string &b, std::int16_t c, std::int16_t d, std::int16_t e,
                         double f, double g, double h) override
    {
        return add(Call("OnCameraRoam", a, b, c, d, e, f, g, h));
    }
    HRESULT OnCameraLocalizeRegistrationPlate(std::int16_t a, std::int16_t b, const std::string &c,
                                              std::int16_t d, std::int16_t e, std::int16_t f, double g,
                                              double h, double i, double j) override
    {
        return add(Call("OnCameraLocalizeRegistrationPlate", a, b, c, d, e, f, g, h, i, j));
    }
    HRESULT OnRecognizeRegistrationNumber(std::int16_t a, std::int16_t b, std::int16_t c, const std::string &d,
                                          const std::string &e, const std::string &f) override
    {
        return add(Call("OnRecognizeRegistrationNumber", a, b, c, d, e, f));
    }
    HRESULT OnRequestImageCapture(std::int16_t a) override { return add(Call("OnRequestImageCapture", a)); }
    HRESULT OnCapturedFuellingPositionImage(std::int16_t a, std::int16_t b, const std::string &c,
                                            const std::string &d, std::int16_t e, const std::string &f,
                                            std::int16_t g) override
    {
        return add(Call("OnCapturedFuellingPositionImage", a, b, c, d, e, f, g));
    }
    HRESULT OnCapturedPaymentTerminalImage(std::int16_t a, std::int16_t b, const std::string &c,
                                           const std::string &d, std::int16_t e, const std::string &f,
                                           std::int16_t g) override
    {
        return add(Call("OnCapturedPaymentTerminalImage", a, b, c, d, e, f, g));
    }
    HRESULT OnCapturedWorkstationImage(const std::string &a, std::int16_t b, const std::string &c,
                                       const std::string &d, std::int16_t e, const std::string &f,
                                       std::int16_t g) override
    {
        return add(Call("OnCapturedWorkstationImage", a, b, c, d, e, f, g));
    }

};

// The site seam; the reader replies are logged by kind only.
class RecordingSite final : public services::SiteExchange
{
public:
    CallLog log;

    void SendCurrentSite(Completion done) override { done(add(Call("SendCurrentSite"))); }
    void RequestSiteFromUnit(Completion done) override { done(add(Call("RequestSiteFromUnit"))); }
    void OnDispenserMapReply(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d) override
    {
        add(Call("OnDispenserMapReply", a, b, c, d));
    }
    void OnTaskConfigReply(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d) override
    {
        add(Call("OnTaskConfigReply", a, b, c, d));
    }
    void OnCameraPresetReply(const std::shared_ptr<transport::ICameraPresetsOutput> &) override
    {
        add(Call("OnCameraPresetReply"));
    }
    void OnConfigDataReply(const std::shared_ptr<transport::IConfigDataOutput> &) override
    {
        add(Call("OnConfigDataReply"));
    }
    void OnEventsReply(const std::shared_ptr<transport::IEventsOutput> &) override { add(Call("OnEventsReply")); }
    void OnPOSEventDataReply(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d,
                             std::int16_t e) override
    {
        add(Call("OnPOSEventDataReply", a, b, c, d, e));
    }

private:
    HRESULT add(std::string line)
    {
        log.add(std::move(line));
        return S_OK;
    }
};

} // namespace fakes
