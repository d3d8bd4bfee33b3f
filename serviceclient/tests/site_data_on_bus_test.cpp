// The site data over the bus against the real service on a private bus: every value set through
// serviceclient reads back through it and through a call by member name that bypasses the
// generated proxies (so a swapped argument or a member called for another shows), and every way a
// call can fail reaches the caller: a failed result, an error reply, no reply in time, no service.
#include "bus_test_support.h"

#include "serviceclient/bus_reply.h"
#include "serviceclient/proxies/orvexservices_proxy.h"
#include "serviceclient/site_data_on_bus.h"

#include "support/tests/time_scale.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace serviceclient;
using i16 = std::int16_t;

QVariant n(int value)
{
    return QVariant::fromValue(static_cast<short>(value));
}

class SiteDataOnBus : public ::testing::Test
{
protected:
    // The answer of `member` at `path`, called by name with `args` as given.
    QList<QVariant> raw(const QString &path, const char *iface, const char *member,
                        const QList<QVariant> &args = {})
    {
        QDBusMessage call = QDBusMessage::createMethodCall(
            kServiceName, path, QStringLiteral("org.orvex.") + iface, member);
        call.setArguments(args);
        const QDBusMessage reply = m_client.connection().call(call);
        EXPECT_EQ(QDBusMessage::ReplyMessage, reply.type()) << member << ": "
                                                            << reply.errorMessage().toStdString();
        return reply.arguments();
    }
    QString rawPath(const QString &path, const char *iface, const char *member,
                    const QList<QVariant> &args = {})
    {
        return raw(path, iface, member, args).value(1).value<QDBusObjectPath>().path();
    }
    // The service started, storage, an empty site loaded, and its five tables.
    void loadSite()
    {
        m_dataPath = rawPath(kRootPath, "IOrvex", "getOrvexConfigData");
        m_data = std::make_unique<OrvexConfigDataOnBus>(m_client, QDBusObjectPath(m_dataPath));
        ASSERT_EQ(S_OK, m_data->InitializeStorage());
        const std::string site = "Forecourt";
        ASSERT_EQ(S_OK, m_data->NewSite(&site));
        ASSERT_EQ(S_OK, m_data->LoadSite(&site));
        ASSERT_EQ(S_OK, m_data->RetrieveDevice(&m_devices));
        ASSERT_EQ(S_OK, m_data->RetrieveEvent(&m_events));
        ASSERT_EQ(S_OK, m_data->RetrievePOS(&m_points));
        ASSERT_EQ(S_OK, m_data->RetrieveDispenser(&m_dispensers));
        ASSERT_EQ(S_OK, m_data->RetrieveCamera(&m_cameras));
    }

    bustest::PrivateBus m_bus;
    ServiceBus m_client{QString::fromStdString(m_bus.address())};
    QString m_dataPath;
    std::unique_ptr<OrvexConfigDataOnBus> m_data;
    std::shared_ptr<services::IDeviceData> m_devices;
    std::shared_ptr<services::IEventData> m_events;
    std::shared_ptr<services::IPOSData> m_points;
    std::shared_ptr<services::IDispenserData> m_dispensers;
    std::shared_ptr<services::ICameraData> m_cameras;
};

// An object of the service as a call by member name addresses it.
struct Object
{
    QString path;
    const char *iface;
};

struct FieldRow
{
    const char *getter; // also the member called by name
    i16 value;
    std::function<HRESULT(i16)> set; // none where the number is given when the record is made
    std::function<HRESULT(i16 *)> get;
    const Object &object;
    QList<QVariant> args;
};

struct CursorRow
{
    const char *list;
    std::function<HRESULT(i16 *)> first, last, next, previous, count, remove;
};

// The members that the device, event and point-of-sale tables share.
template <typename Table> CursorRow recordList(const char *list, Table &t)
{
    return {list, [&t](i16 *i) { return t.First(i); }, [&t](i16 *i) { return t.Last(i); },
            [&t](i16 *i) { return t.Next(i); }, [&t](i16 *i) { return t.Previous(i); },
            [&t](i16 *i) { return t.Count(i); }, [&t](i16 *i) { return t.Delete(i); }};
}

// The preset list of a dispenser or camera: the second one's.
template <typename Table> CursorRow presetList(const char *list, Table &t)
{
    return {list, [&t](i16 *i) { return t.FirstPreset(2, i); },
            [&t](i16 *i) { return t.LastPreset(2, i); }, [&t](i16 *i) { return t.NextPreset(2, i); },
            [&t](i16 *i) { return t.PreviousPreset(2, i); },
            [&t](i16 *i) { return t.CountPresets(2, i); },
            [&t](i16 *i) { return t.DeletePreset(2, i); }};
}

TEST_F(SiteDataOnBus, ReadsBackEverySetValueThroughItselfAndByMemberName)
{
    ASSERT_NO_FATAL_FAILURE(loadSite());
    auto &data = *m_data;
    auto &devices = *m_devices;
    auto &events = *m_events;
    auto &points = *m_points;
    auto &dispensers = *m_dispensers;
    auto &cameras = *m_cameras;
    // Two records a list, the second one's numbers and values set: an owner's index (2) differs
    // from its preset's (1), and the first owner has no presets, so swapped indexes are refused.
    const std::vector<std::function<HRESULT(i16 *)>> creators = {
        [&](i16 *i) { return devices.Append(i); },
        [&](i16 *i) { return devices.Append(i); },
        [&](i16 *i) { return events.NewEvent(201, i); },
        [&](i16 *i) { return events.NewEvent(202, i); },
        [&](i16 *i) { return points.NewPOS(401, i); },
        [&](i16 *i) { return points.NewPOS(402, i); },
        [&](i16 *i) { return dispensers.NewDispenser(501, i); },
        [&](i16 *i) { return dispensers.NewDispenser(502, i); },
        [&](i16 *i) { return dispensers.NewPreset(2, 601, i); },
        [&](i16 *i) { return dispensers.NewPreset(2, 602, i); },
        [&](i16 *i) { return cameras.NewCamera(701, i); },
        [&](i16 *i) { return cameras.NewCamera(702, i); },
        [&](i16 *i) { return cameras.NewPreset(2, 801, i); },
        [&](i16 *i) { return cameras.NewPreset(2, 802, i); },
    };
    for (std::size_t k = 0; k < creators.size(); ++k) {
        i16 index = 0;
        ASSERT_EQ(S_OK, creators[k](&index)) << k;
        EXPECT_EQ(k % 2 + 1, static_cast<std::size_t>(index)) << k;
    }
    std::shared_ptr<services::ICameraPresetData> entry;
    ASSERT_EQ(S_OK, dispensers.RetrieveCameraPreset(2, 1, &entry));

    const Object siteData{m_dataPath, "IOrvexConfigData"};
    const Object device{rawPath(m_dataPath, siteData.iface, "RetrieveDevice"), "IDeviceData"};
    const Object event{rawPath(m_dataPath, siteData.iface, "RetrieveEvent"), "IEventData"};
    const Object pos{rawPath(m_dataPath, siteData.iface, "RetrievePOS"), "IPOSData"};
    const Object dispenser{rawPath(m_dataPath, siteData.iface, "RetrieveDispenser"), "IDispenserData"};
    const Object camera{rawPath(m_dataPath, siteData.iface, "RetrieveCamera"), "ICameraData"};
    const Object preset{
        rawPath(dispenser.path, dispenser.iface, "RetrieveCameraPreset", {n(2), n(1)}),
        "ICameraPresetData"};
    const std::vector<FieldRow> rows = {
        {"GetDwellTime", 111, [&](i16 v) { return data.SetDwellTime(3, v); },
         [&](i16 *v) { return data.GetDwellTime(3, v); }, siteData, {n(3)}},
        {"GetIntervisitTime", 112, [&](i16 v) { return data.SetIntervisitTime(4, v); },
         [&](i16 *v) { return data.GetIntervisitTime(4, v); }, siteData, {n(4)}},
        {"GetDeviceType", 121, [&](i16 v) { return devices.SetDeviceType(2, v); },
         [&](i16 *v) { return devices.GetDeviceType(2, v); }, device, {n(2)}},
        {"GetInterface", 122, [&](i16 v) { return devices.SetInterface(2, v); },
         [&](i16 *v) { return devices.GetInterface(2, v); }, device, {n(2)}},
        {"GetInport", 123, [&](i16 v) { return devices.SetInport(2, v); },
         [&](i16 *v) { return devices.GetInport(2, v); }, device, {n(2)}},
        {"GetOutport", 124, [&](i16 v) { return devices.SetOutport(2, v); },
         [&](i16 *v) { return devices.GetOutport(2, v); }, device, {n(2)}},
        {"GetEventNumber", 202, {}, [&](i16 *v) { return events.GetEventNumber(2, v); }, event, {n(2)}},
        {"GetPriority", 131, [&](i16 v) { return events.SetPriority(2, v); },
         [&](i16 *v) { return events.GetPriority(2, v); }, event, {n(2)}},
        {"GetTransitionPriority", 132, [&](i16 v) { return events.SetTransitionPriority(2, v); },
         [&](i16 *v) { return events.GetTransitionPriority(2, v); }, event, {n(2)}},
        {"GetPOSNumber", 402, {}, [&](i16 *v) { return points.GetPOSNumber(2, v); }, pos, {n(2)}},
        {"GetCamera", 141, [&](i16 v) { return points.SetCamera(2, v); },
         [&](i16 *v) { return points.GetCamera(2, v); }, pos, {n(2)}},
        {"GetMovableFlag", -1, [&](i16 v) { return points.SetMovableFlag(2, v); },
         [&](i16 *v) { return points.GetMovableFlag(2, v); }, pos, {n(2)}},
        {"GetPreset", 142, [&](i16 v) { return points.SetPreset(2, v); },
         [&](i16 *v) { return points.GetPreset(2, v); }, pos, {n(2)}},
        {"GetPriority", 143, [&](i16 v) { return points.SetPriority(2, v); },
         [&](i16 *v) { return points.GetPriority(2, v); }, pos, {n(2)}},
        {"GetDispenserLogicalNumber", 502, {},
         [&](i16 *v) { return dispensers.GetDispenserLogicalNumber(2, v); }, dispenser, {n(2)}},
        {"GetDispenserLoop", 151, [&](i16 v) { return dispensers.SetDispenserLoop(2, v); },
         [&](i16 *v) { return dispensers.GetDispenserLoop(2, v); }, dispenser, {n(2)}},
        {"GetDispenserAddress", 152, [&](i16 v) { return dispensers.SetDispenserAddress(2, v); },
         [&](i16 *v) { return dispensers.GetDispenserAddress(2, v); }, dispenser, {n(2)}},
        {"GetCardTerminalAddress", 153, [&](i16 v) { return dispensers.SetCardTerminalAddress(2, v); },
         [&](i16 *v) { return dispensers.GetCardTerminalAddress(2, v); }, dispenser, {n(2)}},
        {"GetEventNumber", 601, {}, [&](i16 *v) { return entry->GetEventNumber(v); }, preset, {}},
        {"GetCameraNumber", 161, [&](i16 v) { return entry->SetCameraNumber(v); },
         [&](i16 *v) { return entry->GetCameraNumber(v); }, preset, {}},
        {"GetPresetNumber", 162, [&](i16 v) { return entry->SetPresetNumber(v); },
         [&](i16 *v) { return entry->GetPresetNumber(v); }, preset, {}},
        {"GetCameraNumber", 702, {}, [&](i16 *v) { return cameras.GetCameraNumber(2, v); }, camera, {n(2)}},
        {"GetCameraType", 171, [&](i16 v) { return cameras.SetCameraType(2, v); },
         [&](i16 *v) { return cameras.GetCameraType(2, v); }, camera, {n(2)}},
        {"GetPresetNumber", 801, {},
         [&](i16 *v) { return cameras.GetPresetNumber(2, 1, v); }, camera, {n(2), n(1)}},
    };
    for (const FieldRow &row : rows)
        EXPECT_EQ(S_OK, row.set ? row.set(row.value) : S_OK) << row.object.iface << "." << row.getter;
    for (const FieldRow &row : rows) {
        const std::string what = row.object.iface + std::string(".") + row.getter;
        i16 value = 0;
        EXPECT_EQ(S_OK, row.get(&value)) << what;
        EXPECT_EQ(row.value, value) << what;
        const QList<QVariant> answer = raw(row.object.path, row.object.iface, row.getter, row.args);
        EXPECT_EQ(0, answer.value(0).toInt()) << what;
        EXPECT_EQ(row.value, answer.value(1).toInt()) << what;
    }
    const std::string comment = "Pump 2 from the kiosk";
    EXPECT_EQ(S_OK, cameras.SetComment(2, 1, &comment));
    std::string readBack;
    EXPECT_EQ(S_OK, cameras.GetComment(2, 1, &readBack));
    EXPECT_EQ(comment, readBack);
    EXPECT_EQ(comment, raw(camera.path, camera.iface, "GetComment", {n(2), n(1)})
                           .value(1)
                           .toString()
                           .toStdString());

    // Each list's cursor over its two records, then a delete of its first record; the preset
    // lists first, since a deleted owner moves the second one to index 1.
    const std::vector<CursorRow> lists = {
        presetList("dispenser presets", dispensers),
        presetList("camera presets", cameras),
        recordList("devices", devices),
        recordList("events", events),
        recordList("points of sale", points),
        {"dispensers", [&](i16 *i) { return dispensers.FirstDispenser(i); },
         [&](i16 *i) { return dispensers.LastDispenser(i); },
         [&](i16 *i) { return dispensers.NextDispenser(i); },
         [&](i16 *i) { return dispensers.PreviousDispenser(i); },
         [&](i16 *i) { return dispensers.CountDispensers(i); },
         [&](i16 *i) { return dispensers.DeleteDispenser(i); }},
        {"cameras", [&](i16 *i) { return cameras.FirstCamera(i); },
         [&](i16 *i) { return cameras.LastCamera(i); },
         [&](i16 *i) { return cameras.NextCamera(i); },
         [&](i16 *i) { return cameras.PreviousCamera(i); },
         [&](i16 *i) { return cameras.CountCameras(i); },
         [&](i16 *i) { return cameras.DeleteCamera(i); }},
    };
    for (const CursorRow &row : lists) {
        const auto at = [](const std::function<HRESULT(i16 *)> &member, i16 index) {
            EXPECT_EQ(S_OK, member(&index));
            return index;
        };
        EXPECT_EQ(1, at(row.first, -1)) << row.list;
        EXPECT_EQ(2, at(row.last, -1)) << row.list;
        EXPECT_EQ(2, at(row.count, -1)) << row.list;
        EXPECT_EQ(2, at(row.next, 1)) << row.list;
        EXPECT_EQ(0, at(row.next, 2)) << row.list;
        EXPECT_EQ(1, at(row.previous, 2)) << row.list;
        EXPECT_EQ(0, at(row.previous, 1)) << row.list;
        EXPECT_EQ(1, at(row.remove, 1)) << row.list;
        EXPECT_EQ(1, at(row.count, -1)) << row.list;
    }

    // The site through the store: saved, exported, deleted, imported and loaded again.
    const std::string file = (m_bus.installDir() / "forecourt.ovx").string();
    const std::string site = "Forecourt";
    std::vector<std::string> sites;
    std::int32_t count = -1;
    const auto countOf = [](const std::function<HRESULT(i16 *)> &member) {
        i16 records = -1;
        EXPECT_EQ(S_OK, member(&records));
        return records;
    };
    EXPECT_EQ(S_OK, data.Save());
    EXPECT_EQ(S_OK, data.ExportSite(&site, &file));
    EXPECT_EQ(S_OK, data.UnloadSiteButKeepCameraData());
    EXPECT_EQ(0, countOf([&](i16 *c) { return devices.Count(c); }));
    EXPECT_EQ(1, countOf([&](i16 *c) { return cameras.CountCameras(c); }));
    EXPECT_EQ(S_OK, data.UnloadSite());
    EXPECT_EQ(S_OK, data.DeleteSite(&site));
    EXPECT_EQ(S_OK, data.EnumSites(&sites, &count));
    EXPECT_EQ(0, count);
    EXPECT_EQ(S_OK, data.ImportSite(&site, &file));
    EXPECT_EQ(S_OK, data.EnumSites(&sites, &count));
    EXPECT_EQ(std::vector<std::string>{site}, sites);
    EXPECT_EQ(1, count);
    EXPECT_EQ(S_OK, data.LoadSite(&site));
    i16 loop = 0;
    EXPECT_EQ(S_OK, dispensers.GetDispenserLoop(1, &loop));
    EXPECT_EQ(151, loop);
    EXPECT_EQ(S_OK, data.UnInitializeStorage());
    i16 time = -1;
    EXPECT_EQ(E_UNEXPECTED, data.GetDwellTime(3, &time));
    EXPECT_EQ(-1, time);
}

TEST_F(SiteDataOnBus, HandsBackAFailedResultAndRaisesWhatTheBusRefused)
{
    ASSERT_NO_FATAL_FAILURE(loadSite());
    i16 index = 0;
    ASSERT_EQ(S_OK, m_devices->Append(&index));

    // A failed result is the member's result, with the output untouched; checked, it is a
    // CallError with the result's text.
    i16 value = -7;
    EXPECT_EQ(E_INVALIDARG, m_devices->GetInport(2, &value));
    EXPECT_EQ(-7, value);
    EXPECT_EQ(E_POINTER, m_devices->GetInport(1, nullptr));
    const QString devicePath = rawPath(m_dataPath, "IOrvexConfigData", "RetrieveDevice");
    try {
        CheckResult(m_client.proxy<OrgOrvexIDeviceDataInterface>(devicePath)->GetInport(2),
                    "GetInport");
        ADD_FAILURE() << "no error";
    } catch (const CallError &error) {
        EXPECT_EQ(E_INVALIDARG, error.result());
        EXPECT_EQ(QString::fromStdString(DescribeResult(E_INVALIDARG)), error.text());
    }

    // An error reply (no object at the path) raises, whatever the member's outputs.
    const QDBusObjectPath nowhere(QStringLiteral("/org/orvex/Nowhere"));
    OrvexConfigDataOnBus lostData(m_client, nowhere);
    DeviceDataOnBus lostDevices(m_client, nowhere);
    CameraDataOnBus lostCameras(m_client, nowhere);
    DispenserDataOnBus lostDispensers(m_client, nowhere);
    std::shared_ptr<services::IDeviceData> table;
    std::shared_ptr<services::ICameraPresetData> entry;
    std::vector<std::string> sites;
    std::int32_t count = 0;
    std::string comment;
    const std::vector<std::pair<const char *, std::function<HRESULT()>>> refused = {
        {"InitializeStorage", [&] { return lostData.InitializeStorage(); }},
        {"GetDwellTime", [&] { return lostData.GetDwellTime(1, &value); }},
        {"RetrieveDevice", [&] { return lostData.RetrieveDevice(&table); }},
        {"EnumSites", [&] { return lostData.EnumSites(&sites, &count); }},
        {"Delete", [&] { return lostDevices.Delete(&index); }},
        {"GetComment", [&] { return lostCameras.GetComment(1, 1, &comment); }},
        {"RetrieveCameraPreset", [&] { return lostDispensers.RetrieveCameraPreset(1, 1, &entry); }},
    };
    for (const auto &[member, call] : refused) {
        try {
            call();
            ADD_FAILURE() << member << ": no error";
        } catch (const CallError &error) {
            EXPECT_EQ(kBusCallFailed, error.result()) << member;
            EXPECT_EQ(QString::fromLatin1(member), error.call());
            EXPECT_TRUE(error.text().contains(QStringLiteral("/org/orvex/Nowhere")))
                << member << ": " << error.what();
        }
    }

    // A peer that never answers: the call gives up after its time-out.
    const auto silent = m_bus.connect();
    OrgOrvexIDeviceDataInterface proxy(QString::fromStdString(silent->getUniqueName()),
                                       QStringLiteral("/org/orvex/Silent"), m_client.connection());
    proxy.setTimeout(static_cast<int>(scaled(std::chrono::milliseconds(200)).count()));
    try {
        detail::ask(&value, "Count", [&] { return proxy.Count(); });
        ADD_FAILURE() << "no time-out";
    } catch (const CallError &error) {
        EXPECT_EQ(kBusCallFailed, error.result());
        EXPECT_TRUE(error.text().startsWith(QStringLiteral("Did not receive a reply")))
            << error.what();
    }
}

// Each client gets the reason of its own failed import or export, once; a call of its that
// works, or one of another client, leaves it nothing of the earlier failure.
TEST_F(SiteDataOnBus, KeepsTheReasonOfAFailedFileCallForTheClientThatMadeIt)
{
    ASSERT_NO_FATAL_FAILURE(loadSite());
    ServiceBus otherClient(QString::fromStdString(m_bus.address()));
    OrvexConfigDataOnBus other(otherClient, QDBusObjectPath(m_dataPath));
    const std::string site = "Forecourt";
    const std::string noSuchSite = "Elsewhere";
    const std::string exported = (m_bus.installDir() / "forecourt.ovx").string();
    const std::string missing = (m_bus.installDir() / "missing.ovx").string();
    std::string reason = "stale";
    EXPECT_EQ(S_FALSE, m_data->GetErrorDescription(&reason));
    EXPECT_EQ("", reason);

    ASSERT_EQ(S_OK, m_data->ExportSite(&site, &exported));
    EXPECT_EQ(S_OK, m_data->UnloadSite());
    EXPECT_EQ(STG_E_FILENOTFOUND, m_data->ImportSite(&noSuchSite, &exported));
    EXPECT_EQ(S_FALSE, other.GetErrorDescription(&reason));
    EXPECT_EQ(STG_E_FILENOTFOUND, other.ImportSite(&site, &missing));
    EXPECT_EQ(S_OK, m_data->GetErrorDescription(&reason));
    EXPECT_EQ("the file holds no site of that name", reason);
    EXPECT_EQ(S_FALSE, m_data->GetErrorDescription(&reason));
    EXPECT_EQ(S_OK, other.GetErrorDescription(&reason));
    EXPECT_NE("", reason);
    EXPECT_NE("the file holds no site of that name", reason);

    EXPECT_EQ(STG_E_FILENOTFOUND, m_data->ImportSite(&noSuchSite, &exported));
    EXPECT_EQ(S_OK, m_data->ImportSite(&site, &exported));
    EXPECT_EQ(S_FALSE, m_data->GetErrorDescription(&reason));
}

TEST_F(SiteDataOnBus, CannotConnectWhenNothingOwnsOrStartsTheServiceName)
{
    for (const auto &entry : std::filesystem::recursive_directory_iterator(
             m_bus.env().at("ORVEX_REGISTRATION_ROOT")))
        if (entry.path().filename() == "org.orvex.OrvexServices.service")
            std::filesystem::remove(entry.path());
    m_client.connection().call(QDBusMessage::createMethodCall(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "ReloadConfig"));
    try {
        (void)CheckedPath(m_client.root()->getOrvexConfigData(), "getOrvexConfigData");
        ADD_FAILURE() << "connected";
    } catch (const CallError &error) {
        EXPECT_EQ(kBusCallFailed, error.result());
        EXPECT_TRUE(error.text().contains(QString::fromLatin1(kServiceName))) << error.what();
    }
}

} // namespace
