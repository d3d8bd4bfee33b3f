#include "services/dvr_test.h"

#include "services/orvex_comms.h"

namespace services {

namespace {

constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;

// The image capture values shared by the three captured-image events.
constexpr const char *kImageTime = "2002-02-01T12:12:12";
constexpr const char *kImageFile = "hello.bmp";
constexpr std::int16_t kImageEvent = 2;
constexpr const char *kSourceEventTime = "2002-02-01T12:12:11";
constexpr std::int16_t kSourceSequence = 1;

} // namespace

DVRTest::DVRTest(std::shared_ptr<OrvexComms> hub) : m_hub(std::move(hub)) {}

template <typename Call>
HRESULT DVRTest::fire(Call &&call)
{
    if (m_hub)
        m_hub->FireDVREvents(std::forward<Call>(call));
    return S_OK;
}

HRESULT DVRTest::PumpDeliveryStart()
{
    return fire([](IDVREvents &s) { s.OnPumpDeliveryStart(1, 1); });
}

HRESULT DVRTest::PumpDeliveryEnd()
{
    return fire([](IDVREvents &s) { s.OnPumpDeliveryEnd(1, 3, Currency{12340056}, Currency{10235}, 1000.0, 1); });
}

HRESULT DVRTest::PumpEvent(std::int16_t event)
{
    return fire([event](IDVREvents &s) { s.OnPumpEvent(1, event, 1); });
}

HRESULT DVRTest::CardRead()
{
    return fire([](IDVREvents &s) { s.OnCardRead(1, 1, "Card Data Here"); });
}

HRESULT DVRTest::PaymentTransactionAuthorised()
{
    return fire([](IDVREvents &s) { s.OnPaymentTransactionAuthorized(1, 1, "12345"); });
}

HRESULT DVRTest::PaymentTransactionCancelled()
{
    return fire([](IDVREvents &s) { s.OnPaymentTransactionCancelled(1); });
}

HRESULT DVRTest::PrintReceipt()
{
    return fire([](IDVREvents &s) { s.OnPrintReceipt(1); });
}

HRESULT DVRTest::PaymentTerminalEvent(std::int16_t event)
{
    return fire([event](IDVREvents &s) { s.OnPaymentTerminalEvent(1, event); });
}

HRESULT DVRTest::CameraVisitPump()
{
    return fire([](IDVREvents &s) {
        s.OnCameraVisitFuellingPosition(1, 1, "Pump 1", kTrue, 1, kFalse, 0.0, 0.0, 0.0, 0.0, 2, kFalse);
    });
}

HRESULT DVRTest::CameraVisitCRIND()
{
    return fire([](IDVREvents &s) {
        s.OnCameraVisitPaymentTerminal(1, 1, "CRIND 1", kTrue, 2, kFalse, 0.0, 0.0, 0.0, 0.0, 6, kFalse);
    });
}

HRESULT DVRTest::CameraLeave()
{
    return fire(
        [](IDVREvents &s) { s.OnCameraLeavePosition(1, "Pump 1", kTrue, 1, kFalse, 0.0, 0.0, 0.0, 0.0); });
}

HRESULT DVRTest::CameraVisitPOS()
{
    return fire(
        [](IDVREvents &s) { s.OnCameraVisitWorkstation("1", 2, "POS One", kTrue, 1, kFalse, 0.0, 0.0, 0.0, 0.0); });
}

HRESULT DVRTest::CameraVisit(std::int16_t event)
{
    return fire([event](IDVREvents &s) {
        s.OnCameraVisit(1, "Forecourt", kTrue, 1, kFalse, 0.0, 0.0, 0.0, 0.0, event, kFalse);
    });
}

HRESULT DVRTest::CameraRoam()
{
    return fire([](IDVREvents &s) { s.OnCameraRoam(1, "Pumps", kTrue, 6, kFalse, 0.0, 0.0, 0.0); });
}

HRESULT DVRTest::CameraVisitRego()
{
    return fire([](IDVREvents &s) {
        s.OnCameraLocalizeRegistrationPlate(1, 1, "Pump 1", kTrue, 9, kFalse, 0.0, 0.0, 0.0, 0.0);
    });
}

HRESULT DVRTest::RecognizeRegoNumber()
{
    return fire([](IDVREvents &s) {
        s.OnRecognizeRegistrationNumber(1, 1, 6, "AB1234", "[80,80,80,80,80,80]", "2002-12-31T23:59:59");
    });
}

HRESULT DVRTest::POSInputText(const std::string &text)
{
    return fire([&text](IDVREvents &s) { s.OnPosMessage(1, 1, text); });
}

HRESULT DVRTest::RequestImageCapture()
{
    return fire([](IDVREvents &s) { s.OnRequestImageCapture(1); });
}

HRESULT DVRTest::CapturedFuellingPositionImage()
{
    return fire([](IDVREvents &s) {
        s.OnCapturedFuellingPositionImage(1, 1, kImageTime, kImageFile, kImageEvent, kSourceEventTime,
                                          kSourceSequence);
    });
}

HRESULT DVRTest::CapturedPaymentTerminalImage()
{
    return fire([](IDVREvents &s) {
        s.OnCapturedPaymentTerminalImage(1, 1, kImageTime, kImageFile, kImageEvent, kSourceEventTime,
                                         kSourceSequence);
    });
}

HRESULT DVRTest::CapturedWorkstationImage()
{
    return fire([](IDVREvents &s) {
        s.OnCapturedWorkstationImage("One", 1, kImageTime, kImageFile, kImageEvent, kSourceEventTime,
                                     kSourceSequence);
    });
}

} // namespace services
