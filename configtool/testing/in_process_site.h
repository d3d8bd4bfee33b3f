#pragma once
// The service's site in process, for the tool's tests: the service's own site data
// (services::OrvexConfigData) on the real configuration store in a temporary install folder,
// recording fakes of the hub's commands and of camera control, and a ServiceBackend that hands
// them to the configuration manager. Every call of the fakes is logged as "Name(arg,...)".
//
// One InProcessSite at a time per process: the store keeps one process-wide document. Test
// thread only.

#include "configtool/model/orvex_event_sink.h"
#include "configtool/model/service_backend.h"

#include "interfaces/services/icamera_ctrl.h"
#include "interfaces/services/iorvex_comms.h"
#include "platform/com_error.h"
#include "services/orvex_config_data.h"
#include "support/tests/scoped_temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace configtool::testing {

inline std::string callText(const std::string &name, std::initializer_list<int> args = {})
{
    std::string text = name + "(";
    const char *separator = "";
    for (const int arg : args) {
        text.append(separator).append(std::to_string(arg));
        separator = ",";
    }
    return text + ")";
}

// A folder of its own as ORVEX_INSTALL_DIR for the object's life; the earlier value returns.
class TemporaryInstallFolder : public ScopedInstallFolder
{
public:
    TemporaryInstallFolder() : ScopedInstallFolder("orvex-tool") {}
};

// The hub's commands, recorded; every command answers `result`.
class RecordingComms final : public services::IOrvexComms
{
public:
    HRESULT SetSerialPort(std::int16_t port) override
    {
        return record(callText("SetSerialPort", {port}));
    }
    HRESULT ReadDataFromOrvex() override { return record("ReadDataFromOrvex()"); }
    HRESULT ClearOrvexMemory() override { return record("ClearOrvexMemory()"); }
    HRESULT ToggleDebug(std::int16_t time) override
    {
        return record(callText("ToggleDebug", {time}));
    }
    HRESULT ClearResetCount() override { return record("ClearResetCount()"); }
    HRESULT SendCurrentSiteToOrvex() override { return record("SendCurrentSiteToOrvex()"); }
    HRESULT RequestResetCount() override { return record("RequestResetCount()"); }
    HRESULT RequestSystemDiagnostics() override { return record("RequestSystemDiagnostics()"); }
    HRESULT RequestTaskDiagnostics() override { return record("RequestTaskDiagnostics()"); }

    std::vector<std::string> calls;
    HRESULT result = S_OK;

private:
    HRESULT record(std::string call)
    {
        calls.push_back(std::move(call));
        return result;
    }
};

// Camera steering, recorded; SelectCamera answers `selectText`.
class RecordingCameraCtrl final : public services::ICameraCtrl
{
public:
    HRESULT MoveUp(std::int16_t speed) override { return record(callText("MoveUp", {speed})); }
    HRESULT MoveDown(std::int16_t speed) override { return record(callText("MoveDown", {speed})); }
    HRESULT MoveLeft(std::int16_t speed) override { return record(callText("MoveLeft", {speed})); }
    HRESULT MoveRight(std::int16_t speed) override
    {
        return record(callText("MoveRight", {speed}));
    }
    HRESULT MoveUpLeft(std::int16_t speed) override
    {
        return record(callText("MoveUpLeft", {speed}));
    }
    HRESULT MoveUpRight(std::int16_t speed) override
    {
        return record(callText("MoveUpRight", {speed}));
    }
    HRESULT MoveDownLeft(std::int16_t speed) override
    {
        return record(callText("MoveDownLeft", {speed}));
    }
    HRESULT MoveDownRight(std::int16_t speed) override
    {
        return record(callText("MoveDownRight", {speed}));
    }
    HRESULT StopMoving() override { return record("StopMoving()"); }
    HRESULT ZoomIn(std::int16_t speed) override { return record(callText("ZoomIn", {speed})); }
    HRESULT ZoomOut(std::int16_t speed) override { return record(callText("ZoomOut", {speed})); }
    HRESULT FocusNear(std::int16_t speed) override
    {
        return record(callText("FocusNear", {speed}));
    }
    HRESULT FocusFar(std::int16_t speed) override { return record(callText("FocusFar", {speed})); }
    HRESULT OpenIris() override { return record("OpenIris()"); }
    HRESULT CloseIris() override { return record("CloseIris()"); }
    HRESULT SetPreset(std::int16_t preset) override
    {
        return record(callText("SetPreset", {preset}));
    }
    HRESULT MoveToPreset(std::int16_t preset) override
    {
        return record(callText("MoveToPreset", {preset}));
    }
    HRESULT SelectCamera(std::int16_t camera, std::int16_t cameraType, std::string *text) override
    {
        if (text)
            *text = selectText;
        return record(callText("SelectCamera", {camera, cameraType}));
    }
    HRESULT ClearPreset(std::int16_t preset) override
    {
        return record(callText("ClearPreset", {preset}));
    }
    HRESULT RequestCameraPTZCoords() override { return record("RequestCameraPTZCoords()"); }
    HRESULT GoToPTZCoords(float pan, float tilt, float zoom) override
    {
        return record("GoToPTZCoords(" + std::to_string(pan) + "," + std::to_string(tilt) + ","
                      + std::to_string(zoom) + ")");
    }
    HRESULT ToggleAutoPan() override { return record("ToggleAutoPan()"); }
    HRESULT ToggleAutoIris() override { return record("ToggleAutoIris()"); }
    HRESULT AccessMenu() override { return record("AccessMenu()"); }

    std::vector<std::string> calls;
    HRESULT result = S_OK;
    std::string selectText;

private:
    HRESULT record(std::string call)
    {
        calls.push_back(std::move(call));
        return result;
    }
};

// The service's site data, with failures scripted per member: a member named in `failures`
// answers that code (until the entry is erased) instead of reaching the site. `calls` names
// every member called, in order.
class ScriptedConfigData final : public services::IOrvexConfigData
{
public:
    explicit ScriptedConfigData(std::shared_ptr<services::IOrvexConfigData> site)
        : m_site(std::move(site))
    {}

    HRESULT LoadSite(const std::string *name) override
    {
        return pass("LoadSite", [&] { return m_site->LoadSite(name); });
    }
    HRESULT GetDwellTime(std::int16_t p, std::int16_t *t) override
    {
        return pass("GetDwellTime", [&] { return m_site->GetDwellTime(p, t); });
    }
    HRESULT SetDwellTime(std::int16_t p, std::int16_t t) override
    {
        return pass("SetDwellTime", [&] { return m_site->SetDwellTime(p, t); });
    }
    HRESULT GetIntervisitTime(std::int16_t p, std::int16_t *t) override
    {
        return pass("GetIntervisitTime", [&] { return m_site->GetIntervisitTime(p, t); });
    }
    HRESULT SetIntervisitTime(std::int16_t p, std::int16_t t) override
    {
        return pass("SetIntervisitTime", [&] { return m_site->SetIntervisitTime(p, t); });
    }
    HRESULT RetrieveDevice(std::shared_ptr<services::IDeviceData> *out) override
    {
        return pass("RetrieveDevice", [&] { return m_site->RetrieveDevice(out); });
    }
    HRESULT RetrieveDispenser(std::shared_ptr<services::IDispenserData> *out) override
    {
        return pass("RetrieveDispenser", [&] { return m_site->RetrieveDispenser(out); });
    }
    HRESULT RetrieveEvent(std::shared_ptr<services::IEventData> *out) override
    {
        return pass("RetrieveEvent", [&] {
            if (!eventTable)
                return m_site->RetrieveEvent(out);
            *out = eventTable;
            return S_OK;
        });
    }
    HRESULT Save() override
    {
        return pass("Save", [&] { return m_site->Save(); });
    }
    HRESULT NewSite(const std::string *name) override
    {
        return pass("NewSite", [&] { return m_site->NewSite(name); });
    }
    HRESULT InitializeStorage() override
    {
        return pass("InitializeStorage", [&] { return m_site->InitializeStorage(); });
    }
    HRESULT ExportSite(const std::string *name, const std::string *file) override
    {
        return pass("ExportSite", [&] { return m_site->ExportSite(name, file); });
    }
    HRESULT ImportSite(const std::string *name, const std::string *file) override
    {
        return pass("ImportSite", [&] { return m_site->ImportSite(name, file); });
    }
    HRESULT UnloadSite() override
    {
        return pass("UnloadSite", [&] { return m_site->UnloadSite(); });
    }
    HRESULT DeleteSite(const std::string *name) override
    {
        return pass("DeleteSite", [&] { return m_site->DeleteSite(name); });
    }
    HRESULT RetrieveCamera(std::shared_ptr<services::ICameraData> *out) override
    {
        return pass("RetrieveCamera", [&] { return m_site->RetrieveCamera(out); });
    }
    HRESULT EnumSites(std::vector<std::string> *sites, std::int32_t *count) override
    {
        return pass("EnumSites", [&] { return m_site->EnumSites(sites, count); });
    }
    HRESULT UnInitializeStorage() override
    {
        return pass("UnInitializeStorage", [&] { return m_site->UnInitializeStorage(); });
    }
    HRESULT UnloadSiteButKeepCameraData() override
    {
        return pass("UnloadSiteButKeepCameraData",
                    [&] { return m_site->UnloadSiteButKeepCameraData(); });
    }
    HRESULT RetrievePOS(std::shared_ptr<services::IPOSData> *out) override
    {
        return pass("RetrievePOS", [&] { return m_site->RetrievePOS(out); });
    }
    HRESULT GetErrorDescription(std::string *description) override
    {
        return pass("GetErrorDescription", [&] { return m_site->GetErrorDescription(description); });
    }

    std::map<std::string, HRESULT> failures;
    std::vector<std::string> calls;
    // Handed out by RetrieveEvent in place of the site's event table when set.
    std::shared_ptr<services::IEventData> eventTable;

private:
    template <typename Call> HRESULT pass(const char *member, Call call)
    {
        calls.emplace_back(member);
        const auto failure = failures.find(member);
        return failure != failures.end() ? failure->second : call();
    }

    std::shared_ptr<services::IOrvexConfigData> m_site;
};

// The manager's way to the site in process. Long commands finish at once unless
// `holdLongCommands` is set; then they wait in `heldCommands` until finishHeldCommands.
class InProcessBackend final : public ServiceBackend
{
public:
    InProcessBackend(std::shared_ptr<services::IOrvexConfigData> configData,
                     std::shared_ptr<RecordingComms> comms,
                     std::shared_ptr<RecordingCameraCtrl> cameraCtrl)
        : m_configData(std::move(configData)), m_comms(std::move(comms)),
          m_cameraCtrl(std::move(cameraCtrl))
    {}

    std::shared_ptr<services::IOrvexConfigData> getOrvexConfigData() override
    {
        if (!reachable)
            throw ComError(
                kServiceUnreachable,
                "The name org.orvex.OrvexServices was not provided by any .service files");
        return m_configData;
    }
    std::shared_ptr<services::IOrvexComms> getOrvexComms() override { return m_comms; }
    std::shared_ptr<services::ICameraCtrl> getCameraCtrl() override { return m_cameraCtrl; }

    bool subscribeCommsEvents(OrvexEventSink &subscriber) override
    {
        if (!eventsAvailable)
            return false;
        sink = &subscriber;
        return true;
    }
    void unsubscribeCommsEvents(OrvexEventSink &) override { sink = nullptr; }

    void startLongCommand(services::IOrvexComms &comms, LongCommand command, QObject *context,
                          CommandFinished finished) override
    {
        if (!holdLongCommands) {
            ServiceBackend::startLongCommand(comms, command, context, std::move(finished));
            return;
        }
        heldCommands.push_back([this, &comms, command, context, finished = std::move(finished)] {
            ServiceBackend::startLongCommand(comms, command, context, finished);
        });
    }

    // Lets every held command return.
    void finishHeldCommands()
    {
        auto held = std::move(heldCommands);
        heldCommands.clear();
        for (auto &command : held)
            command();
    }

    bool reachable = true;
    bool eventsAvailable = true;
    bool holdLongCommands = false;
    std::vector<std::function<void()>> heldCommands;
    // The sink the manager subscribed; tests fire the hub's events through it.
    OrvexEventSink *sink = nullptr;

private:
    std::shared_ptr<services::IOrvexConfigData> m_configData;
    std::shared_ptr<RecordingComms> m_comms;
    std::shared_ptr<RecordingCameraCtrl> m_cameraCtrl;
};

// Everything together: the folder, the service's site data on the real store, the fakes and
// the backend.
class InProcessSite
{
public:
    InProcessSite()
        : siteData(std::make_shared<services::OrvexConfigData>()),
          configData(std::make_shared<ScriptedConfigData>(siteData)),
          backend(configData, comms, cameraCtrl)
    {}

    TemporaryInstallFolder folder;
    std::shared_ptr<services::OrvexConfigData> siteData;
    std::shared_ptr<ScriptedConfigData> configData;
    std::shared_ptr<RecordingComms> comms = std::make_shared<RecordingComms>();
    std::shared_ptr<RecordingCameraCtrl> cameraCtrl = std::make_shared<RecordingCameraCtrl>();
    InProcessBackend backend;
};

} // namespace configtool::testing
