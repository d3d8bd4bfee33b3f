#pragma once
// The recorder bridge object (OrvexInterface): builds the whole pipeline — event objects,
// licence plate recognizer, trace, parser with its event input and rules — and is itself the
// output stage's owner.
//
// Create() runs the construction steps in order and, on a failure, takes down what it made and
// returns the failing code: E_ACCESSDENIED when the install folder cannot be read (before the
// trace is opened), or the rules loader's code after "Failed Parsing XML File.  Exiting..." and
// a flush of the trace.
//
// Teardown, when the last reference goes: the output thread is told to stop and the recognizer
// is stopped (a plate wait is cut short) first, so nothing fires from then on; then the parser
// (which first ends the input's subscription), then the output thread is joined (queued items
// are deleted unfired), then the event objects are released, and the trace is closed last.
// No event is fired once teardown has begun, also by event objects that clients still hold.
// Every member may be called on any thread.

#include "interfaces/recorder_bridge/orvex_component.h"
#include "interfaces/recorder_bridge/orvex_interface.h"

#include <memory>
#include <string>

namespace recorder_bridge {

class CMsgParser;
class OutputStage;
class Fuelling;
class ForecourtCamera;
class PaymentTerminal;
class Retail;
class LicencePlateRecognizer;
class ImageCapture;

class OrvexInterface final : public IOrvexInterface, public IOrvexComponent
{
public:
    [[nodiscard]] static HRESULT Create(const std::string &installFolder, std::shared_ptr<OrvexInterface> *bridge);
    ~OrvexInterface() override;

    HRESULT getFuellingInterface(std::shared_ptr<IFuelling> *ptr) override;
    HRESULT getPaymentTerminal(std::shared_ptr<IPaymentTerminal> *ptr) override;
    HRESULT getForecourtCamera(std::shared_ptr<IForecourtCamera> *ptr) override;
    HRESULT getRetail(std::shared_ptr<IRetail> *ptr) override;
    HRESULT FireTestMessage() override;
    HRESULT getLicencePlateRecognizer(std::shared_ptr<ILicencePlateRecognizer> *ptr) override;
    HRESULT getImageCapture(std::shared_ptr<IImageCapture> *ptr) override;

    HRESULT RegisterServices(std::shared_ptr<services::IDVREventSource> ptr) override;

    // The input stage's sink, for callers in this process that fire recorder events straight
    // at the bridge (tests, benchmarks).
    [[nodiscard]] std::shared_ptr<services::IDVREvents> InputSink() const;
    [[nodiscard]] LicencePlateRecognizer &recognizer() const { return *m_recognizer; }

private:
    OrvexInterface();
    HRESULT FinalConstruct(const std::string &installFolder);

    std::unique_ptr<OutputStage> m_output;
    std::shared_ptr<Fuelling> m_fuelling;
    std::shared_ptr<ForecourtCamera> m_forecourtCamera;
    std::shared_ptr<PaymentTerminal> m_paymentTerminal;
    std::shared_ptr<Retail> m_retail;
    std::shared_ptr<LicencePlateRecognizer> m_recognizer;
    std::shared_ptr<ImageCapture> m_imageCapture;
    std::unique_ptr<CMsgParser> m_parser;
    std::shared_ptr<services::IDVREventSource> m_service;
    bool m_traceOpen = false;
};

} // namespace recorder_bridge
