// Made from the interface headers and interfaces/*.xml; keep the three in step.
#include "services/bus_objects.h"

#include "interfaces/dbus/recorderbridge_adaptor.h"
#include "services/bus_object.h"
#include "services/posted_signals.h"

#include <tuple>

namespace services {
namespace {

using namespace recorder_bridge;

class OrvexInterfaceObject : public BusObject<IOrvexInterface, org::orvex::IOrvexInterface_adaptor>
{
public:
    using BusObject::BusObject;

private:
    std::tuple<int32_t, sdbus::ObjectPath> getFuellingInterface() override
    {
        return reply(&IOrvexInterface::getFuellingInterface);
    }
    std::tuple<int32_t, sdbus::ObjectPath> getPaymentTerminal() override
    {
        return reply(&IOrvexInterface::getPaymentTerminal);
    }
    std::tuple<int32_t, sdbus::ObjectPath> getForecourtCamera() override
    {
        return reply(&IOrvexInterface::getForecourtCamera);
    }
    std::tuple<int32_t, sdbus::ObjectPath> getRetail() override
    {
        return reply(&IOrvexInterface::getRetail);
    }
    int32_t FireTestMessage() override
    {
        return reply(&IOrvexInterface::FireTestMessage);
    }
    std::tuple<int32_t, sdbus::ObjectPath> getLicencePlateRecognizer() override
    {
        return reply(&IOrvexInterface::getLicencePlateRecognizer);
    }
    std::tuple<int32_t, sdbus::ObjectPath> getImageCapture() override
    {
        return reply(&IOrvexInterface::getImageCapture);
    }
};

class LicencePlateRecognizerObject : public BusObject<ILicencePlateRecognizer, org::orvex::ILicencePlateRecognizer_adaptor, org::orvex::ILicencePlateRecognizerEvents_adaptor>
{
public:
    using BusObject::BusObject;

private:
    int32_t ImageAvailable(const int16_t &CameraID, const std::string &FileName) override
    {
        return reply(&ILicencePlateRecognizer::ImageAvailable, CameraID, FileName);
    }
    int32_t ImageCaptureError(const int16_t &CameraID, const std::string &Reason) override
    {
        return reply(&ILicencePlateRecognizer::ImageCaptureError, CameraID, Reason);
    }
};

using FuellingSignals = SignalEmitter<org::orvex::IFuellingEvents_adaptor>;
using PaymentTerminalSignals = SignalEmitter<org::orvex::IPaymentTerminalEvents_adaptor>;
using ForecourtCameraSignals = SignalEmitter<org::orvex::IForecourtCameraEvents_adaptor>;
using RetailSignals = SignalEmitter<org::orvex::IRetailEvents_adaptor>;
using ImageCaptureSignals = SignalEmitter<org::orvex::IImageCaptureEvents_adaptor>;

// The sinks subscribed to the bridge's event objects. They are fired on the bridge's threads, so
// every event is handed to the service thread without waiting for it; the values are copied.
class FuellingSink final : public IFuellingEvents, public PostedSignals<FuellingSignals>
{
public:
    using PostedSignals::PostedSignals;

    HRESULT OnStartFuelDelivery(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID, std::int16_t EventID, const std::string & EventDescription, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnStartFuelDelivery(Timestamp, EventSequenceNumber, FuellingPositionID, EventID, EventDescription, CameraID); });
    }
    HRESULT OnFinishFuelDelivery(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID, std::int16_t EventID, const std::string & EventDescription, std::int16_t NozzleID, Currency TotalPrice, Currency UnitPrice, double Volume, const std::string & GradeName, std::int16_t PaymentMode, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnFinishFuelDelivery(Timestamp, EventSequenceNumber, FuellingPositionID, EventID, EventDescription, NozzleID, TotalPrice.scaled, UnitPrice.scaled, Volume, GradeName, PaymentMode, CameraID); });
    }
    HRESULT OnFuellingEvent(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID, std::int16_t EventID, const std::string & EventDescription, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnFuellingEvent(Timestamp, EventSequenceNumber, FuellingPositionID, EventID, EventDescription, CameraID); });
    }
};

class PaymentTerminalSink final : public IPaymentTerminalEvents, public PostedSignals<PaymentTerminalSignals>
{
public:
    using PostedSignals::PostedSignals;

    HRESULT OnCardRead(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID, std::int16_t PaymentMediaTypeCode, const std::string & PaymentMediaData) override
    {
        return post([=](auto &signals) { signals.emitOnCardRead(Timestamp, EventSequenceNumber, PaymentTerminalID, PaymentMediaTypeCode, PaymentMediaData); });
    }
    HRESULT OnPaymentTransactionAuthorized(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID, std::int16_t FuellingPositionID, const std::string & HostTransactionID) override
    {
        return post([=](auto &signals) { signals.emitOnPaymentTransactionAuthorized(Timestamp, EventSequenceNumber, PaymentTerminalID, FuellingPositionID, HostTransactionID); });
    }
    HRESULT OnPaymentTransactionCancelled(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID) override
    {
        return post([=](auto &signals) { signals.emitOnPaymentTransactionCancelled(Timestamp, EventSequenceNumber, PaymentTerminalID); });
    }
    HRESULT OnPrintReceipt(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID) override
    {
        return post([=](auto &signals) { signals.emitOnPrintReceipt(Timestamp, EventSequenceNumber, PaymentTerminalID); });
    }
    HRESULT OnPaymentTerminalEvent(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID, std::int16_t EventID, const std::string & EventDescription) override
    {
        return post([=](auto &signals) { signals.emitOnPaymentTerminalEvent(Timestamp, EventSequenceNumber, PaymentTerminalID, EventID, EventDescription); });
    }
};

class ForecourtCameraSink final : public IForecourtCameraEvents, public PostedSignals<ForecourtCameraSignals>
{
public:
    using PostedSignals::PostedSignals;

    HRESULT OnCameraVisitFuellingPosition(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID, std::int16_t CameraID, const std::string & PositionDescription, std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate, std::int16_t EventID, const std::string & Description, std::int16_t Revisiting) override
    {
        return post([=](auto &signals) { signals.emitOnCameraVisitFuellingPosition(Timestamp, EventSequenceNumber, FuellingPositionID, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate, TiltCoordinate, ZoomCoordinate, FocusCoordinate, EventID, Description, Revisiting); });
    }
    HRESULT OnCameraVisitPaymentTerminal(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID, std::int16_t CameraID, const std::string & PositionDescription, std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate, std::int16_t EventID, const std::string & EventDescription, std::int16_t Revisiting) override
    {
        return post([=](auto &signals) { signals.emitOnCameraVisitPaymentTerminal(Timestamp, EventSequenceNumber, PaymentTerminalID, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate, TiltCoordinate, ZoomCoordinate, FocusCoordinate, EventID, EventDescription, Revisiting); });
    }
    HRESULT OnCameraLeavePosition(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t CameraID, const std::string & PositionDescription, std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate) override
    {
        return post([=](auto &signals) { signals.emitOnCameraLeavePosition(Timestamp, EventSequenceNumber, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate, TiltCoordinate, ZoomCoordinate, FocusCoordinate); });
    }
    HRESULT OnCameraVisitWorkstation(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, std::int16_t CameraID, const std::string & PositionDescription, std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate) override
    {
        return post([=](auto &signals) { signals.emitOnCameraVisitWorkstation(Timestamp, EventSequenceNumber, WorkstationID, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate, TiltCoordinate, ZoomCoordinate, FocusCoordinate); });
    }
    HRESULT OnCameraVisit(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t CameraID, const std::string & PositionDescription, std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate, std::int16_t EventID, const std::string & EventDescription, std::int16_t Revisiting) override
    {
        return post([=](auto &signals) { signals.emitOnCameraVisit(Timestamp, EventSequenceNumber, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate, TiltCoordinate, ZoomCoordinate, FocusCoordinate, EventID, EventDescription, Revisiting); });
    }
    HRESULT OnCameraRoam(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t CameraID, const std::string & PositionDescription, std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate, double ZoomCoordinate) override
    {
        return post([=](auto &signals) { signals.emitOnCameraRoam(Timestamp, EventSequenceNumber, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate, TiltCoordinate, ZoomCoordinate); });
    }
    HRESULT OnCameraLocalizeRegistrationPlate(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID, std::int16_t CameraID, const std::string & PositionDescription, std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate) override
    {
        return post([=](auto &signals) { signals.emitOnCameraLocalizeRegistrationPlate(Timestamp, EventSequenceNumber, FuellingPositionID, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate, TiltCoordinate, ZoomCoordinate, FocusCoordinate); });
    }
};

class RetailSink final : public IRetailEvents, public PostedSignals<RetailSignals>
{
public:
    using PostedSignals::PostedSignals;

    HRESULT OnBeginRetailTransaction(const std::string & BeginTimestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & OperatorID, const std::string & ReceiptTransactionID, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnBeginRetailTransaction(BeginTimestamp, EventSequenceNumber, WorkstationID, OperatorID, ReceiptTransactionID, CameraID); });
    }
    HRESULT OnEndRetailTransaction(const std::string & EndTimestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & OperatorID, const std::string & ReceiptTransactionID, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnEndRetailTransaction(EndTimestamp, EventSequenceNumber, WorkstationID, OperatorID, ReceiptTransactionID, CameraID); });
    }
    HRESULT OnCancelRetailTransactionID(const std::string & EndTimestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & OperatorID, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnCancelRetailTransactionID(EndTimestamp, EventSequenceNumber, WorkstationID, OperatorID, CameraID); });
    }
    HRESULT OnPOSNoSaleTransaction(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & OperatorID, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnPOSNoSaleTransaction(Timestamp, EventSequenceNumber, WorkstationID, OperatorID, CameraID); });
    }
    HRESULT OnFuelSalesLineItem(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, std::int16_t GradeID, const std::string & GradeDescription, std::int16_t FuellingPositionID, Currency ExtendedPrice, std::int16_t RefundFlag, std::int16_t TaxInclusive, Currency UnitPrice, double Volume, const std::string & VehicleRegistrationNumber, const std::string & VehicleOdometerReading, std::int16_t KnowGradeFlag, std::int16_t PrepayFlag, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnFuelSalesLineItem(Timestamp, EventSequenceNumber, WorkstationID, GradeID, GradeDescription, FuellingPositionID, ExtendedPrice.scaled, RefundFlag, TaxInclusive, UnitPrice.scaled, Volume, VehicleRegistrationNumber, VehicleOdometerReading, KnowGradeFlag, PrepayFlag, CameraID); });
    }
    HRESULT OnMerchandiseLineItem(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & MerchandiseID, const std::string & MerchandiseName, const std::string & Description, Currency ExtendedPrice, std::int16_t MerchandiseReturnFlag, double Quantity, Currency UnitPrice, std::int16_t TaxInclusive, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnMerchandiseLineItem(Timestamp, EventSequenceNumber, WorkstationID, MerchandiseID, MerchandiseName, Description, ExtendedPrice.scaled, MerchandiseReturnFlag, Quantity, UnitPrice.scaled, TaxInclusive, CameraID); });
    }
    HRESULT OnTaxLineItem(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, Currency TaxAmount, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnTaxLineItem(Timestamp, EventSequenceNumber, WorkstationID, Description, TaxAmount.scaled, CameraID); });
    }
    HRESULT OnSubTotalLineItem(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, Currency SubtotalAmount, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnSubTotalLineItem(Timestamp, EventSequenceNumber, WorkstationID, Description, SubtotalAmount.scaled, CameraID); });
    }
    HRESULT OnTenderLineItem(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, Currency TenderAmount, std::int16_t RefundFlag, const std::string & MethodOfPayment, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnTenderLineItem(Timestamp, EventSequenceNumber, WorkstationID, Description, TenderAmount.scaled, RefundFlag, MethodOfPayment, CameraID); });
    }
    HRESULT OnTenderChangeLineItem(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, Currency ChangeAmount, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnTenderChangeLineItem(Timestamp, EventSequenceNumber, WorkstationID, Description, ChangeAmount.scaled, CameraID); });
    }
    HRESULT OnVoidModifier(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnVoidModifier(Timestamp, EventSequenceNumber, WorkstationID, Description, CameraID); });
    }
    HRESULT OnQuantityModifier(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, Currency NewQuantity, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnQuantityModifier(Timestamp, EventSequenceNumber, WorkstationID, Description, NewQuantity.scaled, CameraID); });
    }
    HRESULT OnPriceModifier(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, Currency NewUnitPrice, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnPriceModifier(Timestamp, EventSequenceNumber, WorkstationID, Description, NewUnitPrice.scaled, CameraID); });
    }
    HRESULT OnDiscountLineItem(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, Currency DiscountAmount, std::int16_t TaxInclusive, std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnDiscountLineItem(Timestamp, EventSequenceNumber, WorkstationID, Description, DiscountAmount.scaled, TaxInclusive, CameraID); });
    }
};

class ImageCaptureSink final : public IImageCaptureEvents, public PostedSignals<ImageCaptureSignals>
{
public:
    using PostedSignals::PostedSignals;

    HRESULT OnCapturedFuellingPositionImage(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID, std::int16_t CameraID, const std::string & ImageTimestamp, const std::string & ImageFilename, std::int16_t EventID, const std::string & SourceEventTimestamp, std::int16_t SourceEventSequenceNumber) override
    {
        return post([=](auto &signals) { signals.emitOnCapturedFuellingPositionImage(Timestamp, EventSequenceNumber, FuellingPositionID, CameraID, ImageTimestamp, ImageFilename, EventID, SourceEventTimestamp, SourceEventSequenceNumber); });
    }
    HRESULT OnCapturedPaymentTerminalImage(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID, std::int16_t CameraID, const std::string & ImageTimestamp, const std::string & ImageFilename, std::int16_t EventID, const std::string & SourceEventTimestamp, std::int16_t SourceEventSequenceNumber) override
    {
        return post([=](auto &signals) { signals.emitOnCapturedPaymentTerminalImage(Timestamp, EventSequenceNumber, PaymentTerminalID, CameraID, ImageTimestamp, ImageFilename, EventID, SourceEventTimestamp, SourceEventSequenceNumber); });
    }
    HRESULT OnCapturedWorkstationImage(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, std::int16_t CameraID, const std::string & ImageTimestamp, const std::string & ImageFilename, std::int16_t EventID, const std::string & SourceEventTimestamp, std::int16_t SourceEventSequenceNumber) override
    {
        return post([=](auto &signals) { signals.emitOnCapturedWorkstationImage(Timestamp, EventSequenceNumber, WorkstationID, CameraID, ImageTimestamp, ImageFilename, EventID, SourceEventTimestamp, SourceEventSequenceNumber); });
    }
};

class LicencePlateRecognizerSink final : public ILicencePlateRecognizerEvents, public PostedSignals<LicencePlateRecognizerObject>
{
public:
    using PostedSignals::PostedSignals;

    HRESULT OnRequestImageCapture(std::int16_t CameraID) override
    {
        return post([=](auto &signals) { signals.emitOnRequestImageCapture(CameraID); });
    }
    HRESULT OnRecognizeRegistrationNumber(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID, std::int16_t CameraID, std::int16_t NumberOfCharactersRecognized, const std::string & VehicleRegistrationNumber, const std::string & ConfidenceLevel, const std::string & ImageTimestamp) override
    {
        return post([=](auto &signals) { signals.emitOnRecognizeRegistrationNumber(Timestamp, EventSequenceNumber, FuellingPositionID, CameraID, NumberOfCharactersRecognized, VehicleRegistrationNumber, ConfidenceLevel, ImageTimestamp); });
    }
};

} // namespace

// The bridge's event objects become objects that only emit their signals.
#define ORVEX_EMIT_ON_BUS(Kind, Sink)                                                              \
    std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path,             \
                                        std::shared_ptr<Kind> object)                              \
    {                                                                                              \
        return MakeEmitterSubscription<Sink>(context, path, std::move(object));                    \
    }
ORVEX_EMIT_ON_BUS(IFuelling, FuellingSink)
ORVEX_EMIT_ON_BUS(IPaymentTerminal, PaymentTerminalSink)
ORVEX_EMIT_ON_BUS(IForecourtCamera, ForecourtCameraSink)
ORVEX_EMIT_ON_BUS(IRetail, RetailSink)
ORVEX_EMIT_ON_BUS(IImageCapture, ImageCaptureSink)
#undef ORVEX_EMIT_ON_BUS

std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path,
                                    std::shared_ptr<ILicencePlateRecognizer> object)
{
    auto signals = PutOnBus<LicencePlateRecognizerObject>(context, path, object);
    return MakeSubscription<LicencePlateRecognizerSink>(context, std::move(signals), std::move(object));
}
ORVEX_PUT_ON_BUS(IOrvexInterface, OrvexInterfaceObject)

} // namespace services
