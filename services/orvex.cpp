#include "services/orvex.h"

#include "interfaces/recorder_bridge/orvex_component.h"
#include "interfaces/recorder_bridge/orvex_interface_factory.h"
#include "interfaces/transport/orvex_transport_factory.h"
#include "platform/com_error.h"
#include "platform/install_folder.h"
#include "platform/profile_file.h"
#include "platform/replace_file.h"
#include "services/camera_ctrl.h"
#include "services/dvr_test.h"
#include "services/orvex_comms.h"
#include "services/orvex_config_data.h"
#include "support/trace_log.h"

#include <limits>

namespace services {

namespace {

constexpr const char *kSettingsSection = "Settings";

// A 16-bit number of the settings file. Text that holds no number 16 bits can hold reads as
// absent: cut to 16 bits, 99999999999 would name port -6145.
std::int16_t readShort(const ProfileFile &settings, const char *key, std::int16_t defaultValue)
{
    // What the reader gives for a missing key, for text without a number and for a number past
    // the range of long; outside 16 bits like every other number refused here.
    constexpr long kNoNumber = std::numeric_limits<long>::min();
    const long value = settings.readInt(kSettingsSection, key, kNoNumber);
    using Limits = std::numeric_limits<std::int16_t>;
    if (value >= Limits::min() && value <= Limits::max())
        return static_cast<std::int16_t>(value);
    if (const std::string text = settings.readString(kSettingsSection, key, {}); !text.empty())
        support::TraceError("%s=%s in the settings file is no 16-bit number: using %d", key, text.c_str(),
                            defaultValue);
    return defaultValue;
}

template <typename T>
HRESULT handOut(const std::shared_ptr<T> &object, std::shared_ptr<T> *ptr)
{
    if (ptr == nullptr)
        return E_POINTER;
    *ptr = object;
    return S_OK;
}

} // namespace

OrvexFactories OrvexFactories::Defaults()
{
    OrvexFactories f;
    f.transport = [] {
        std::shared_ptr<transport::IOrvexTransport> made;
        return SUCCEEDED(transport::CreateOrvexTransport(&made)) ? made : nullptr;
    };
    f.configData = [](ServiceLoop &loop, std::shared_ptr<transport::IOrvexTransport> transport) {
        // The exchange's waits are the loop's timers, so that the service thread serves on.
        return std::make_shared<OrvexConfigData>(std::move(transport), UnitSiteExchange::OnLoop(loop));
    };
    f.comms = [](ServiceLoop &loop, std::shared_ptr<transport::IOrvexTransport> transport) {
        return std::make_shared<OrvexComms>(loop, std::move(transport));
    };
    f.bridge = [] {
        std::shared_ptr<recorder_bridge::IOrvexInterface> made;
        return SUCCEEDED(recorder_bridge::CreateOrvexInterface(&made)) ? made : nullptr;
    };
    f.cameraCtrl = [](std::shared_ptr<transport::ICameraControl> control, std::shared_ptr<OrvexComms> hub) {
        return std::make_shared<CameraCtrl>(std::move(control), std::move(hub));
    };
    f.dvrTest = [](std::shared_ptr<OrvexComms> hub) { return std::make_shared<DVRTest>(std::move(hub)); };
    return f;
}

Orvex::Orvex(ServiceLoop &loop, OrvexFactories factories, std::string installFolder)
    : m_loop(loop), m_factories(std::move(factories)), m_installFolder(std::move(installFolder))
{
}

Orvex::~Orvex()
{
    FinalRelease();
    m_transport.reset();
}

HRESULT Orvex::fail(HRESULT hr, const char *format, const std::string &text)
{
    support::TraceError(format, text.c_str());
    support::FlushTrace();
    return hr;
}

HRESULT Orvex::FinalConstruct()
{
    if (m_installFolder.empty())
        m_installFolder = InstallFolder();
    support::OpenTrace(m_installFolder.c_str(), nullptr, "OrvexServices");
    support::TraceInfo("OrvexServices Starting...");
    // What a save, an export or a settings write killed part way left behind in the install
    // folder or a folder below it (site files in Data).
    if (const int removed = RemoveLeftTemporariesBelow(m_installFolder); removed > 0)
        support::TraceInfo("Removed %d temporary files left by interrupted writes", removed);

    // A missing transport shows when the port is set.
    m_transport = m_factories.transport ? m_factories.transport() : nullptr;

    m_configData = m_factories.configData ? m_factories.configData(m_loop, m_transport) : nullptr;
    if (!m_configData)
        return fail(E_FAIL, "Error Creating OrvexConfigData Object: Pointer is Null%s");
    m_comms = m_factories.comms ? m_factories.comms(m_loop, m_transport) : nullptr;
    if (!m_comms)
        return fail(E_FAIL, "Error Creating OrvexComms Object: Pointer is Null%s");
    m_comms->AttachConfigData(m_configData.get());
    // What a download cannot send as the site holds it reaches the clients beside the trace.
    m_configData->SetWarningSink(
        [hub = std::weak_ptr<OrvexComms>(m_comms)](const std::string &text) {
            if (auto comms = hub.lock())
                comms->ReportWarning(text);
        });
    // The hub listens before the port is set: a port that cannot be opened is reported at once,
    // by the link's own thread, and a report with no one subscribed is lost. Its handlers run
    // on this thread, so none runs before the construction has ended. Without the transport's
    // reports the service still serves its clients.
    (void)m_comms->AdviseTransportEvents();

    const ProfileFile settings(JoinPath(m_installFolder, kSettingsFileName));
    try {
        const std::int16_t port = readShort(settings, "ComPort", 1);
        ThrowIfFailed(m_comms->SetSerialPort(port));
        m_bridge = m_factories.bridge ? m_factories.bridge() : nullptr;
    } catch (const ComError &error) {
        return fail(error.result(), "Error Setting Serial Port: %s", error.what());
    }

    if (const HRESULT hr = registerWithBridge(); FAILED(hr))
        return hr;

    m_cameraControl = std::dynamic_pointer_cast<transport::ICameraControl>(m_transport);
    m_cameraCtrl = m_factories.cameraCtrl ? m_factories.cameraCtrl(m_cameraControl, m_comms) : nullptr;
    if (!m_cameraCtrl)
        return fail(E_FAIL, "Error Creating CameraCtrl Object: Pointer is Null%s");
    if (!m_cameraControl) {
        const ComError error(m_transport ? E_NOINTERFACE : E_POINTER);
        return fail(error.result(), "Error Querying ICameraControl interface from Transport: %s", error.what());
    }

    m_dvrTest = m_factories.dvrTest ? m_factories.dvrTest(m_comms) : nullptr;
    if (!m_dvrTest)
        return fail(E_FAIL, "Error Creating DVRTest Object: Pointer is Null%s");

    try {
        const std::int16_t cameraType = readShort(settings, "CameraType", 80);
        std::string result;
        (void)m_cameraCtrl->SelectCamera(1, cameraType, &result);
    } catch (const ComError &error) {
        return fail(error.result(), "Error Selecting Camera: %s", error.what());
    }
    return S_OK;
}

HRESULT Orvex::registerWithBridge()
{
    support::TraceInfo("A");
    auto component = std::dynamic_pointer_cast<recorder_bridge::IOrvexComponent>(m_bridge);
    if (!component)
        return fail(E_POINTER, "Error Registering Services Pointer with Recorder Bridge: %s", DescribeResult(E_POINTER));
    support::TraceInfo("B");
    std::shared_ptr<IDVREventSource> source = m_comms;
    support::TraceInfo("C");
    (void)component->RegisterServices(source);
    support::TraceInfo("D");
    component.reset();
    support::TraceInfo("E");
    return S_OK;
}

void Orvex::FinalRelease()
{
    if (m_released)
        return;
    m_released = true;
    support::CloseTrace();
    if (m_comms) {
        // The hub may outlive the root (a client or the bridge still holds it); it leaves the
        // transport here, before anything else goes, so that no report reaches a half-torn
        // service.
        m_comms->UnadviseTransportEvents();
        m_comms->StopHeartbeatTimer();
        m_comms->AttachConfigData(nullptr);
    }
    m_dvrTest.reset();
    m_configData.reset();
    m_cameraCtrl.reset();
    m_cameraControl.reset();
    m_bridge.reset();
    m_comms.reset();
}

HRESULT Orvex::getOrvexConfigData(std::shared_ptr<IOrvexConfigData> *ptr)
{
    return handOut<IOrvexConfigData>(m_configData, ptr);
}

HRESULT Orvex::getOrvexComms(std::shared_ptr<IOrvexComms> *ptr)
{
    return handOut<IOrvexComms>(m_comms, ptr);
}

HRESULT Orvex::getCameraCtrl(std::shared_ptr<ICameraCtrl> *ptr)
{
    return handOut<ICameraCtrl>(m_cameraCtrl, ptr);
}

HRESULT Orvex::getRecorderBridge(std::shared_ptr<recorder_bridge::IOrvexInterface> *ptr)
{
    if (ptr == nullptr || !m_bridge)
        return E_POINTER;
    *ptr = m_bridge;
    return S_OK;
}

HRESULT Orvex::getDVRTestInterface(std::shared_ptr<IDVRTest> *ptr)
{
    return handOut<IDVRTest>(m_dvrTest, ptr);
}

} // namespace services
