#pragma once
// The service's root object: building it builds the whole service (trace, transport, site data,
// hub, recorder bridge, camera control, test event generator) in a fixed order, and its getters
// hand out those objects.
//
// Construct fails, after an error line and a flush of the trace, when an object cannot be made
// (E_FAIL), when the transport or the bridge is missing (E_POINTER), or with the code of an
// error raised by the port setting, the camera-control query or the camera selection. What was
// made before a failure stays until Release. Release tears down in its own order and closes
// the trace first; the transport itself is let go of when the root ends.
//
// Each object comes from a factory, so that a test can make any step fail; the defaults use
// the libraries' own factories. Thread affinity: the service thread.

#include "interfaces/services/iorvex.h"
#include "interfaces/transport/icamera_control.h"
#include "interfaces/transport/iorvex_transport.h"
#include "platform/service_loop.h"

#include <functional>
#include <memory>
#include <string>

namespace services {

class CameraCtrl;
class DVRTest;
class OrvexComms;
class OrvexConfigData;

struct OrvexFactories
{
    std::function<std::shared_ptr<transport::IOrvexTransport>()> transport;
    std::function<std::shared_ptr<OrvexConfigData>(ServiceLoop &, std::shared_ptr<transport::IOrvexTransport>)>
        configData;
    std::function<std::shared_ptr<OrvexComms>(ServiceLoop &, std::shared_ptr<transport::IOrvexTransport>)> comms;
    std::function<std::shared_ptr<recorder_bridge::IOrvexInterface>()> bridge;
    std::function<std::shared_ptr<CameraCtrl>(std::shared_ptr<transport::ICameraControl>, std::shared_ptr<OrvexComms>)>
        cameraCtrl;
    std::function<std::shared_ptr<DVRTest>(std::shared_ptr<OrvexComms>)> dvrTest;

    // The libraries' factories (a failed creation gives null).
    static OrvexFactories Defaults();
};

class Orvex final : public IOrvex
{
public:
    // `installFolder` empty: the install folder of the settings (InstallFolder()).
    Orvex(ServiceLoop &loop, OrvexFactories factories, std::string installFolder = {});
    ~Orvex() override;
    Orvex(const Orvex &) = delete;
    Orvex &operator=(const Orvex &) = delete;

    // Builds the service; call once.
    HRESULT FinalConstruct();
    // Tears the service down; idempotent.
    void FinalRelease();

    HRESULT getOrvexConfigData(std::shared_ptr<IOrvexConfigData> *ptr) override;
    HRESULT getOrvexComms(std::shared_ptr<IOrvexComms> *ptr) override;
    HRESULT getCameraCtrl(std::shared_ptr<ICameraCtrl> *ptr) override;
    HRESULT getRecorderBridge(std::shared_ptr<recorder_bridge::IOrvexInterface> *ptr) override;
    HRESULT getDVRTestInterface(std::shared_ptr<IDVRTest> *ptr) override;

private:
    HRESULT fail(HRESULT hr, const char *format, const std::string &text = {});
    HRESULT registerWithBridge();

    ServiceLoop &m_loop;
    OrvexFactories m_factories;
    std::string m_installFolder;
    bool m_released = false;

    std::shared_ptr<transport::IOrvexTransport> m_transport;
    std::shared_ptr<OrvexConfigData> m_configData;
    std::shared_ptr<OrvexComms> m_comms;
    std::shared_ptr<recorder_bridge::IOrvexInterface> m_bridge;
    std::shared_ptr<CameraCtrl> m_cameraCtrl;
    std::shared_ptr<transport::ICameraControl> m_cameraControl;
    std::shared_ptr<DVRTest> m_dvrTest;
};

} // namespace services
