#pragma once
// Test doubles for the site data tests: a transport that records every message it is asked to
// build and send (with the waits of an injected sleeper in the same log), readers over fixed
// tuples, and a private install folder for the configuration store.

#include "interfaces/transport/iorvex_transport.h"
#include "support/tests/scoped_temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace services::testing {

using Log = std::vector<std::string>;

inline std::string call(const std::string &name, std::initializer_list<int> args = {})
{
    std::string text = name + "(";
    const char *separator = "";
    for (const int arg : args) {
        text.append(separator).append(std::to_string(arg));
        separator = ",";
    }
    return text + ")";
}

// Every message records its members into the shared log; payloads are not built.
template <typename Interface>
class RecordingMessage : public Interface
{
public:
    explicit RecordingMessage(std::shared_ptr<Log> log) : m_log(std::move(log)) {}
    HRESULT getBuffer(transport::ByteArray *buffer) override
    {
        buffer->clear();
        return S_OK;
    }
    HRESULT getLength(std::int16_t *length) override
    {
        *length = 0;
        return S_OK;
    }
    HRESULT setBuffer(const transport::ByteArray &, std::int16_t) override { return S_OK; }

protected:
    HRESULT record(const std::string &name, std::initializer_list<int> args = {})
    {
        m_log->push_back(call(name, args));
        return S_OK;
    }

private:
    std::shared_ptr<Log> m_log;
};

class RecordingConfigData final : public RecordingMessage<transport::IConfigData>
{
public:
    using RecordingMessage::RecordingMessage;
    HRESULT InsertDwellTime(std::int16_t time, std::int16_t priority) override
    {
        return record("InsertDwellTime", {time, priority});
    }
    HRESULT InsertIntervisitTime(std::int16_t time, std::int16_t priority) override
    {
        return record("InsertIntervisitTime", {time, priority});
    }
    HRESULT setNumberOfCameras(std::int16_t cameras) override { return record("setNumberOfCameras", {cameras}); }
    HRESULT setCameraID(std::int16_t index, std::int16_t id) override { return record("setCameraID", {index, id}); }
};

class RecordingCameraPresets final : public RecordingMessage<transport::ICameraPresets>
{
public:
    using RecordingMessage::RecordingMessage;
    HRESULT AppendPreset(std::int16_t event, std::int16_t camera, std::int16_t preset) override
    {
        return record("AppendPreset", {event, camera, preset});
    }
    HRESULT AppendLogicalDispenser(std::int16_t logical) override
    {
        return record("AppendLogicalDispenser", {logical});
    }
};

class RecordingEvents final : public RecordingMessage<transport::IEvents>
{
public:
    using RecordingMessage::RecordingMessage;
    HRESULT AppendEvent(std::int16_t event, std::int16_t priority, std::int16_t transition) override
    {
        return record("AppendEvent", {event, priority, transition});
    }
    HRESULT AppendTotalEvents(std::int16_t count) override { return record("AppendTotalEvents", {count}); }
};

class RecordingDefault final : public RecordingMessage<transport::IDefault>
{
public:
    using RecordingMessage::RecordingMessage;
    HRESULT getMessageType(std::int32_t *type) override
    {
        *type = 0;
        return S_OK;
    }
    HRESULT AttendantTagTable() override { return record("AttendantTagTable"); }
    HRESULT CreateInterestZoneTable(std::int16_t zone, std::int16_t camera, std::int16_t preset,
                                    const transport::ByteArray &) override
    {
        return record("CreateInterestZoneTable", {zone, camera, preset});
    }
    HRESULT CreateDispenserMap(std::int16_t logical, std::int16_t loop, std::int16_t addr,
                               std::int16_t cardAddr) override
    {
        return record("CreateDispenserMap", {logical, loop, addr, cardAddr});
    }
    HRESULT CreateTaskConfig(std::int16_t type, std::int16_t in, std::int16_t out, std::int16_t iface) override
    {
        return record("CreateTaskConfig", {type, in, out, iface});
    }
    HRESULT CreateVehicleRegistration(std::int16_t logical, const transport::ByteArray &) override
    {
        return record("CreateVehicleRegistration", {logical});
    }
    HRESULT CreateBootLoadData(std::int16_t addr, std::int16_t remaining, const transport::ByteArray &) override
    {
        return record("CreateBootLoadData", {addr, remaining});
    }
    HRESULT PassThrough(std::int16_t port, const transport::ByteArray &) override
    {
        return record("PassThrough", {port});
    }
    HRESULT ToggleDebug(std::int16_t time) override { return record("ToggleDebug", {time}); }
    HRESULT RequestTaskDiagnostics() override { return record("RequestTaskDiagnostics"); }
    HRESULT RequestBootLoad() override { return record("RequestBootLoad"); }
    HRESULT RequestCameraPresets() override { return record("RequestCameraPresets"); }
    HRESULT RequestEvents() override { return record("RequestEvents"); }
    HRESULT RequestDispenserMap() override { return record("RequestDispenserMap"); }
    HRESULT RequestConfigData() override { return record("RequestConfigData"); }
    HRESULT RequestHeartbeat() override { return record("RequestHeartbeat"); }
    HRESULT RequestInterestZone() override { return record("RequestInterestZone"); }
    HRESULT RequestTaskConfig() override { return record("RequestTaskConfig"); }
    HRESULT ClearMemory() override { return record("ClearMemory"); }
    HRESULT RequestResetCount() override { return record("RequestResetCount"); }
    HRESULT ClearResetCount() override { return record("ClearResetCount"); }
    HRESULT RequestPOSEventConfig(std::int16_t pos) override { return record("RequestPOSEventConfig", {pos}); }
    HRESULT CreatePOSEventConfig(std::int16_t pos, std::int16_t camera, std::int16_t movable, std::int16_t preset,
                                 std::int16_t priority) override
    {
        return record("CreatePOSEventConfig", {pos, camera, movable, preset, priority});
    }
};

// Logs "get..." and "set..." around each message, so a test sees where every message begins and
// ends; the sleeper's waits go into the same log.
class RecordingTransport final : public transport::IOrvexTransport
{
public:
    std::shared_ptr<Log> log = std::make_shared<Log>();

    HRESULT getConfigData(std::shared_ptr<transport::IConfigData> *out) override
    {
        return get("getConfigData", std::make_shared<RecordingConfigData>(log), out);
    }
    HRESULT setConfigData(const std::shared_ptr<transport::IConfigData> &) override { return put("setConfigData"); }
    HRESULT getEvents(std::shared_ptr<transport::IEvents> *out) override
    {
        return get("getEvents", std::make_shared<RecordingEvents>(log), out);
    }
    HRESULT setEvents(const std::shared_ptr<transport::IEvents> &) override { return put("setEvents"); }
    HRESULT getCameraPresets(std::shared_ptr<transport::ICameraPresets> *out) override
    {
        return get("getCameraPresets", std::make_shared<RecordingCameraPresets>(log), out);
    }
    HRESULT setCameraPresets(const std::shared_ptr<transport::ICameraPresets> &) override
    {
        return put("setCameraPresets");
    }
    HRESULT getDefault(std::shared_ptr<transport::IDefault> *out) override
    {
        return get("getDefault", std::make_shared<RecordingDefault>(log), out);
    }
    HRESULT setDefault(const std::shared_ptr<transport::IDefault> &) override { return put("setDefault"); }
    HRESULT setSerialPort(std::int16_t) override { return S_OK; }
    HRESULT Advise(std::shared_ptr<transport::IOrvexTransportEvents>, std::uint32_t *cookie) override
    {
        *cookie = 1;
        return S_OK;
    }
    HRESULT Unadvise(std::uint32_t) override { return S_OK; }

    // The exchange's waits for the site data object: each noted in the log, then gone on at once.
    auto sleeper()
    {
        return [log = log](std::chrono::milliseconds ms, const std::function<void()> &then) {
            log->push_back(call("sleep", {int(ms.count())}));
            then();
        };
    }

    // The calls that built messages, without the get/set framing.
    [[nodiscard]] Log contents() const
    {
        // Framing entries carry no argument list.
        Log out;
        for (const auto &entry : *log)
            if (entry.find('(') != std::string::npos && entry.rfind("sleep", 0) != 0)
                out.push_back(entry);
        return out;
    }

private:
    template <typename Message, typename Interface>
    HRESULT get(const char *name, std::shared_ptr<Message> message, std::shared_ptr<Interface> *out)
    {
        log->push_back(name);
        *out = std::move(message);
        return S_OK;
    }
    HRESULT put(const char *name)
    {
        log->push_back(name);
        return S_OK;
    }
};

// A reader over fixed tuples of three values; the cursor is the tuple count.
template <typename Reader>
class TupleReader : public Reader
{
public:
    using Tuple = std::tuple<std::int16_t, std::int16_t, std::int16_t>;
    explicit TupleReader(std::vector<Tuple> tuples) : m_tuples(std::move(tuples)) {}
    HRESULT Begin() override
    {
        m_next = 0;
        return S_OK;
    }
    HRESULT isDone(std::int16_t *done) override
    {
        *done = m_next >= m_tuples.size() ? -1 : 0;
        return S_OK;
    }
    HRESULT getTuple(std::int16_t *a, std::int16_t *b, std::int16_t *c) override
    {
        const Tuple tuple = m_next < m_tuples.size() ? m_tuples[m_next] : Tuple{};
        ++m_next;
        std::tie(*a, *b, *c) = tuple;
        return S_OK;
    }

protected:
    std::vector<Tuple> m_tuples;
    std::size_t m_next = 0;
};

class FakePresetsReply final : public TupleReader<transport::ICameraPresetsOutput>
{
public:
    FakePresetsReply(std::int16_t dispenser, std::vector<Tuple> tuples)
        : TupleReader(std::move(tuples)), m_dispenser(dispenser)
    {
    }
    HRESULT getDispenserNumber(std::int16_t *value) override
    {
        *value = m_dispenser;
        return S_OK;
    }

private:
    std::int16_t m_dispenser;
};

class FakeConfigReply final : public TupleReader<transport::IConfigDataOutput>
{
public:
    FakeConfigReply(std::vector<std::int16_t> cameras, std::vector<Tuple> times)
        : TupleReader(std::move(times)), m_cameras(std::move(cameras))
    {
    }
    HRESULT getTotalCameras(std::int16_t *value) override
    {
        *value = static_cast<std::int16_t>(m_cameras.size());
        return S_OK;
    }
    HRESULT getCameraID(std::int16_t index, std::int16_t *id) override
    {
        *id = m_cameras.at(static_cast<std::size_t>(index));
        return S_OK;
    }

private:
    std::vector<std::int16_t> m_cameras;
};

class FakeEventsReply final : public TupleReader<transport::IEventsOutput>
{
public:
    using TupleReader::TupleReader;
    HRESULT getTotalEvents(std::int16_t *value) override
    {
        *value = static_cast<std::int16_t>(m_tuples.size());
        return S_OK;
    }
};

// A private install folder for the store's configuration file, removed afterwards.
class TemporaryInstallFolder : public ScopedInstallFolder
{
public:
    TemporaryInstallFolder() : ScopedInstallFolder("site-data") {}
};

} // namespace services::testing

#include "interfaces/configstore/iorvex_config.h"
#include "services/orvex_config_data.h"

namespace services::testing {

// A store that accepts LoadAndParse and holds no site: enough for everything that works on the
// tables alone.
class EmptyStore final : public configstore::IOrvexConfig
{
public:
    HRESULT GetSite(const std::string *, std::shared_ptr<configstore::ISite> *) override { return E_INVALIDARG; }
    HRESULT NewSite(const std::string *, std::shared_ptr<configstore::ISite> *) override { return E_FAIL; }
    HRESULT DeleteSite(const std::string *) override { return S_FALSE; }
    HRESULT ExportSite(const std::string *, const std::string *) override { return E_INVALIDARG; }
    HRESULT ImportSite(const std::string *, const std::string *) override { return STG_E_FILENOTFOUND; }
    HRESULT LoadAndParse() override { return S_OK; }
    HRESULT EnumSites(std::vector<std::string> *sites, std::int32_t *count) override
    {
        sites->clear();
        *count = 0;
        return S_OK;
    }
    HRESULT SaveSite() override { return S_OK; }
};

// Site data over a recording transport and an empty store, storage initialised and the site
// marked loaded as a read from the unit leaves it.
class SiteOverRecordingTransport : public ::testing::Test
{
protected:
    std::shared_ptr<RecordingTransport> transport = std::make_shared<RecordingTransport>();
    OrvexConfigData site{transport, transport->sleeper(), [] { return std::make_shared<EmptyStore>(); }};
    std::shared_ptr<IDeviceData> devices;
    std::shared_ptr<IDispenserData> dispensers;
    std::shared_ptr<IEventData> events;
    std::shared_ptr<ICameraData> cameras;
    std::shared_ptr<IPOSData> points;

    void SetUp() override
    {
        ASSERT_EQ(site.InitializeStorage(), S_OK);
        site.markLoadedFromUnit();
        ASSERT_EQ(site.RetrieveDevice(&devices), S_OK);
        ASSERT_EQ(site.RetrieveDispenser(&dispensers), S_OK);
        ASSERT_EQ(site.RetrieveEvent(&events), S_OK);
        ASSERT_EQ(site.RetrieveCamera(&cameras), S_OK);
        ASSERT_EQ(site.RetrievePOS(&points), S_OK);
    }

    std::int16_t addDevice(std::int16_t type, std::int16_t in = 0, std::int16_t out = 0, std::int16_t iface = 0)
    {
        std::int16_t index = 0;
        devices->Append(&index);
        devices->SetDeviceType(index, type);
        devices->SetInport(index, in);
        devices->SetOutport(index, out);
        devices->SetInterface(index, iface);
        return index;
    }
    std::int16_t addCamera(std::int16_t number, std::initializer_list<std::int16_t> presets = {})
    {
        std::int16_t camera = 0, preset = 0;
        cameras->NewCamera(number, &camera);
        for (const std::int16_t presetNumber : presets)
            cameras->NewPreset(camera, presetNumber, &preset);
        return camera;
    }
    [[nodiscard]] std::vector<std::int16_t> cameraPresets(std::int16_t camera) const
    {
        std::vector<std::int16_t> numbers;
        std::int16_t preset = 0;
        for (cameras->FirstPreset(camera, &preset); preset != 0; cameras->NextPreset(camera, &preset)) {
            std::int16_t number = 0;
            cameras->GetPresetNumber(camera, preset, &number);
            numbers.push_back(number);
        }
        return numbers;
    }
    [[nodiscard]] std::int16_t count(const std::function<HRESULT(std::int16_t *)> &counter) const
    {
        std::int16_t n = -1;
        counter(&n);
        return n;
    }
};

} // namespace services::testing

#include "interfaces/configstore/orvex_config_factory.h"

namespace services::testing {

// Site data over the real configuration store in a private install folder; the test keeps a
// handle on the store to seed and inspect the stored site.
class SiteOverStore : public ::testing::Test
{
protected:
    TemporaryInstallFolder folder;
    std::shared_ptr<RecordingTransport> transport = std::make_shared<RecordingTransport>();
    std::shared_ptr<configstore::IOrvexConfig> store;
    OrvexConfigData site{transport, transport->sleeper(), [this] {
                             store.reset();
                             configstore::CreateOrvexConfig(&store);
                             return store;
                         }};
    const std::string defaultName = "Default";

    // The stored site, fetched afresh.
    std::shared_ptr<configstore::ISite> storedSite(const std::string &name = "Default")
    {
        std::shared_ptr<configstore::ISite> stored;
        EXPECT_EQ(store->GetSite(&name, &stored), S_OK);
        return stored;
    }
};

} // namespace services::testing

namespace services::testing {

// The five tables of a site, for building one.
struct Tables
{
    std::shared_ptr<IDeviceData> devices;
    std::shared_ptr<IDispenserData> dispensers;
    std::shared_ptr<IEventData> events;
    std::shared_ptr<ICameraData> cameras;
    std::shared_ptr<IPOSData> points;
};

inline Tables tablesOf(OrvexConfigData &site)
{
    Tables t;
    site.RetrieveDevice(&t.devices);
    site.RetrieveDispenser(&t.dispensers);
    site.RetrieveEvent(&t.events);
    site.RetrieveCamera(&t.cameras);
    site.RetrievePOS(&t.points);
    return t;
}

// Every value of every table and the ten times, in table order, for comparisons.
struct SiteSnapshot
{
    std::vector<std::vector<std::int16_t>> devices, events, pointsOfSale, dispensers, cameras;
    std::vector<std::string> comments;
    std::vector<std::int16_t> times;
    bool operator==(const SiteSnapshot &) const = default;
};

inline SiteSnapshot snapshot(OrvexConfigData &site)
{
    SiteSnapshot s;
    std::shared_ptr<IDeviceData> devices;
    std::shared_ptr<IEventData> events;
    std::shared_ptr<IPOSData> points;
    std::shared_ptr<IDispenserData> dispensers;
    std::shared_ptr<ICameraData> cameras;
    EXPECT_EQ(site.RetrieveDevice(&devices), S_OK);
    EXPECT_EQ(site.RetrieveEvent(&events), S_OK);
    EXPECT_EQ(site.RetrievePOS(&points), S_OK);
    EXPECT_EQ(site.RetrieveDispenser(&dispensers), S_OK);
    EXPECT_EQ(site.RetrieveCamera(&cameras), S_OK);
    if (!devices || !events || !points || !dispensers || !cameras)
        return s;
    std::int16_t i = 0;
    for (devices->First(&i); i != 0; devices->Next(&i)) {
        std::int16_t a = 0, b = 0, c = 0, d = 0;
        devices->GetDeviceType(i, &a);
        devices->GetInterface(i, &b);
        devices->GetInport(i, &c);
        devices->GetOutport(i, &d);
        s.devices.push_back({a, b, c, d});
    }
    for (events->First(&i); i != 0; events->Next(&i)) {
        std::int16_t a = 0, b = 0, c = 0;
        events->GetEventNumber(i, &a);
        events->GetPriority(i, &b);
        events->GetTransitionPriority(i, &c);
        s.events.push_back({a, b, c});
    }
    for (points->First(&i); i != 0; points->Next(&i)) {
        std::int16_t a = 0, b = 0, c = 0, d = 0, e = 0;
        points->GetPOSNumber(i, &a);
        points->GetCamera(i, &b);
        points->GetMovableFlag(i, &c);
        points->GetPreset(i, &d);
        points->GetPriority(i, &e);
        s.pointsOfSale.push_back({a, b, c, d, e});
    }
    for (dispensers->FirstDispenser(&i); i != 0; dispensers->NextDispenser(&i)) {
        std::vector<std::int16_t> row(4);
        dispensers->GetDispenserLogicalNumber(i, &row[0]);
        dispensers->GetDispenserLoop(i, &row[1]);
        dispensers->GetDispenserAddress(i, &row[2]);
        dispensers->GetCardTerminalAddress(i, &row[3]);
        std::int16_t p = 0;
        for (dispensers->FirstPreset(i, &p); p != 0; dispensers->NextPreset(i, &p)) {
            std::shared_ptr<ICameraPresetData> entry;
            dispensers->RetrieveCameraPreset(i, p, &entry);
            std::int16_t e = 0, c = 0, n = 0;
            entry->GetEventNumber(&e);
            entry->GetCameraNumber(&c);
            entry->GetPresetNumber(&n);
            row.insert(row.end(), {e, c, n});
        }
        s.dispensers.push_back(row);
    }
    for (cameras->FirstCamera(&i); i != 0; cameras->NextCamera(&i)) {
        std::vector<std::int16_t> row(2);
        cameras->GetCameraNumber(i, &row[0]);
        cameras->GetCameraType(i, &row[1]);
        std::int16_t p = 0;
        for (cameras->FirstPreset(i, &p); p != 0; cameras->NextPreset(i, &p)) {
            std::int16_t n = 0;
            std::string comment;
            cameras->GetPresetNumber(i, p, &n);
            cameras->GetComment(i, p, &comment);
            row.push_back(n);
            s.comments.push_back(comment);
        }
        s.cameras.push_back(row);
    }
    for (std::int16_t p = 1; p <= 5; ++p) {
        std::int16_t dwell = 0, intervisit = 0;
        site.GetDwellTime(p, &dwell);
        site.GetIntervisitTime(p, &intervisit);
        s.times.insert(s.times.end(), {dwell, intervisit});
    }
    return s;
}

} // namespace services::testing
