#include "orvex_interface.h"

#include "forecourt_camera.h"
#include "fuelling.h"
#include "image_capture.h"
#include "licence_plate_recognizer.h"
#include "msg_parser.h"
#include "output_stage.h"
#include "payment_terminal.h"
#include "retail.h"
#include "support/trace_log.h"

#include <exception>

#include <sys/stat.h>
#include <unistd.h>

namespace recorder_bridge {

namespace {

bool IsReadableFolder(const std::string &folder)
{
    struct stat info{};
    return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && access(folder.c_str(), R_OK | X_OK) == 0;
}

// Hands out one of the bridge's objects through its default interface.
template <typename Interface, typename Object>
HRESULT HandOut(const std::shared_ptr<Object> &object, std::shared_ptr<Interface> *ptr, const char *line)
{
    if (!ptr)
        return E_POINTER;
    support::TraceInfo("%s", line);
    *ptr = object;
    return S_OK;
}

} // namespace

OrvexInterface::OrvexInterface() : m_output(std::make_unique<OutputStage>()) {}

HRESULT OrvexInterface::Create(const std::string &installFolder, std::shared_ptr<OrvexInterface> *bridge)
{
    if (!bridge)
        return E_POINTER;
    bridge->reset();
    std::shared_ptr<OrvexInterface> made;
    try {
        made.reset(new OrvexInterface());
    } catch (const std::exception &) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = made->FinalConstruct(installFolder);
    if (FAILED(hr))
        return hr; // `made` goes here, taking down what was built
    *bridge = std::move(made);
    return hr;
}

HRESULT OrvexInterface::FinalConstruct(const std::string &installFolder)
{
    try {
        m_fuelling = std::make_shared<Fuelling>();
        m_forecourtCamera = std::make_shared<ForecourtCamera>();
        m_paymentTerminal = std::make_shared<PaymentTerminal>();
        m_retail = std::make_shared<Retail>();
        m_recognizer = std::make_shared<LicencePlateRecognizer>(installFolder);
        m_imageCapture = std::make_shared<ImageCapture>();
        m_output->SetTargets({m_fuelling, m_forecourtCamera, m_paymentTerminal, m_retail, m_recognizer,
                              m_imageCapture});

        if (!IsReadableFolder(installFolder))
            return E_ACCESSDENIED;

        support::OpenTrace(installFolder.c_str(), installFolder.c_str(), "RecorderBridge");
        m_traceOpen = true;
        support::TraceInfo("Recorder Bridge Starting");
        m_recognizer->ReportSettings();

        m_parser = std::make_unique<CMsgParser>(*m_output, installFolder);
        const HRESULT hr = m_parser->LoadConfiguration();
        if (FAILED(hr)) {
            support::TraceError("Failed Parsing XML File.  Exiting...");
            support::FlushTrace();
            return hr;
        }
        return S_OK;
    } catch (const std::exception &e) {
        support::TraceError("Recorder Bridge construction failed: %s", e.what());
        support::FlushTrace();
        return E_FAIL;
    }
}

OrvexInterface::~OrvexInterface()
{
    // Nothing may fire once teardown has begun: the output thread is asked to stop and the
    // recognizer is stopped (cutting a plate wait short) before the parser is taken down, so
    // the events the parser still passes on are deleted unfired rather than sent during the
    // parser's teardown. The threads are then joined in pipeline order.
    m_output->RequestStop();
    if (m_recognizer)
        m_recognizer->Shutdown();
    m_parser.reset();
    m_output->Stop();
    m_output.reset();
    m_fuelling.reset();
    m_forecourtCamera.reset();
    m_paymentTerminal.reset();
    m_retail.reset();
    m_recognizer.reset();
    m_imageCapture.reset();
    m_service.reset();
    if (m_traceOpen)
        support::CloseTrace();
}

HRESULT OrvexInterface::getFuellingInterface(std::shared_ptr<IFuelling> *ptr)
{
    return HandOut(m_fuelling, ptr, "Sending Fuelling Interface Pointer");
}

HRESULT OrvexInterface::getPaymentTerminal(std::shared_ptr<IPaymentTerminal> *ptr)
{
    return HandOut(m_paymentTerminal, ptr, "Sending Payment Terminal Interface Pointer");
}

HRESULT OrvexInterface::getForecourtCamera(std::shared_ptr<IForecourtCamera> *ptr)
{
    return HandOut(m_forecourtCamera, ptr, "Sending Forecourt Camera Interface Pointer");
}

HRESULT OrvexInterface::getRetail(std::shared_ptr<IRetail> *ptr)
{
    return HandOut(m_retail, ptr, "Sending Retail Interface Pointer");
}

HRESULT OrvexInterface::getLicencePlateRecognizer(std::shared_ptr<ILicencePlateRecognizer> *ptr)
{
    return HandOut(m_recognizer, ptr, "Sending Licence Plate Recognizer Interface Pointer");
}

HRESULT OrvexInterface::getImageCapture(std::shared_ptr<IImageCapture> *ptr)
{
    return HandOut(m_imageCapture, ptr, "Sending Image Capture Interface Pointer");
}

HRESULT OrvexInterface::FireTestMessage()
{
    support::TraceInfo("Firing Test Message to Parser");
    try {
        auto item = std::make_unique<MessageItem>(ItemType::PumpDeliveryStart);
        item->FuellingPositionID = 1;
        item->EventID = 4;
        item->EventDescription = "Delivery Start";
        std::unique_ptr<support::QueueItem> queued = std::move(item);
        m_parser->Post(queued);
    } catch (const std::exception &) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT OrvexInterface::RegisterServices(std::shared_ptr<services::IDVREventSource> ptr)
{
    support::TraceInfo("Services Pointer Registered");
    m_service = ptr;
    m_parser->RegisterServices(std::move(ptr));
    return S_OK;
}

std::shared_ptr<services::IDVREvents> OrvexInterface::InputSink() const { return m_parser->input().sink(); }

} // namespace recorder_bridge
