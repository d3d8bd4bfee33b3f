// Made from the interface headers and interfaces/*.xml; keep the three in step.
#include "services/bus_objects.h"

#include "interfaces/dbus/recorderbridge_adaptor.h"
#include "services/posted_signals.h"

#include <tuple>

namespace services {
namespace {

using namespace recorder_bridge;

class OrvexInterfaceObject final : public sdbus::AdaptorInterfaces<org::orvex::IOrvexInterface_adaptor>
{
public:
    OrvexInterfaceObject(BusContext &context, std::string path, std::shared_ptr<recorder_bridge::IOrvexInterface> object)
        : AdaptorInterfaces(context.connection(), std::move(path)), m_context(context),
          m_object(std::move(object))
    {
        registerAdaptor();
    }
    ~OrvexInterfaceObject() { unregisterAdaptor(); }

private:
    std::tuple<int32_t, sdbus::ObjectPath> getFuellingInterface() override
    {
        std::shared_ptr<IFuelling> ptrOut{};
        return {m_context.call(getObject(), [&] { return m_object->getFuellingInterface(&ptrOut); }), m_context.pathOf(ptrOut)};
    }
    std::tuple<int32_t, sdbus::ObjectPath> getPaymentTerminal() override
    {
        std::shared_ptr<IPaymentTerminal> ptrOut{};
        return {m_context.call(getObject(), [&] { return m_object->getPaymentTerminal(&ptrOut); }), m_context.pathOf(ptrOut)};
    }
    std::tuple<int32_t, sdbus::ObjectPath> getForecourtCamera() override
    {
        std::shared_ptr<IForecourtCamera> ptrOut{};
        return {m_context.call(getObject(), [&] { return m_object->getForecourtCamera(&ptrOut); }), m_context.pathOf(ptrOut)};
    }
    std::tuple<int32_t, sdbus::ObjectPath> getRetail() override
    {
        std::shared_ptr<IRetail> ptrOut{};
        return {m_context.call(getObject(), [&] { return m_object->getRetail(&ptrOut); }), m_context.pathOf(ptrOut)};
    }
    int32_t FireTestMessage() override
    {
        return m_context.call(getObject(), [&] { return m_object->FireTestMessage(); });
    }
    std::tuple<int32_t, sdbus::ObjectPath> getLicencePlateRecognizer() override
    {
        std::shared_ptr<ILicencePlateRecognizer> ptrOut{};
        return {m_context.call(getObject(), [&] { return m_object->getLicencePlateRecognizer(&ptrOut); }), m_context.pathOf(ptrOut)};
    }
    std::tuple<int32_t, sdbus::ObjectPath> getImageCapture() override
    {
        std::shared_ptr<IImageCapture> ptrOut{};
        return {m_context.call(getObject(), [&] { return m_object->getImageCapture(&ptrOut); }), m_context.pathOf(ptrOut)};
    }

    BusContext &m_context;
    std::shared_ptr<recorder_bridge::IOrvexInterface> m_object;
};

class LicencePlateRecognizerObject final : public sdbus::AdaptorInterfaces<org::orvex::ILicencePlateRecognizer_adaptor, org::orvex::ILicencePlateRecognizerEvents_adaptor>
{
public:
    LicencePlateRecognizerObject(BusContext &context, std::string path, std::shared_ptr<recorder_bridge::ILicencePlateRecognizer> object)
        : AdaptorInterfaces(context.connection(), std::move(path)), m_context(context),
          m_object(std::move(object))
    {
        registerAdaptor();
    }
    ~LicencePlateRecognizerObject() { unregisterAdaptor(); }

private:
    int32_t ImageAvailable(const int16_t &CameraID, const std::string &FileName) override
    {
        return m_context.call(getObject(), [&] { return m_object->ImageAvailable(CameraID, FileName); });
    }
    int32_t ImageCaptureError(const int16_t &CameraID, const std::string &Reason) override
    {
        return m_context.call(getObject(), [&] { return m_object->ImageCaptureError(CameraID, Reason); });
    }

    BusContext &m_context;
    std::shared_ptr<recorder_bridge::ILicencePlateRecognizer> m_object;
};

class FuellingSignals final : public sdbus::AdaptorInterfaces<org::orvex::IFuellingEvents_adaptor>
{
public:
    FuellingSignals(sdbus::IConnection &connection, std::string path)
        : AdaptorInterfaces(connection, std::move(path))
    {
        registerAdaptor();
    }
    ~FuellingSignals() { unregisterAdaptor(); }
};

class PaymentTerminalSignals final : public sdbus::AdaptorInterfaces<org::orvex::IPaymentTerminalEvents_adaptor>
{
public:
    PaymentTerminalSignals(sdbus::IConnection &connection, std::string path)
        : AdaptorInterfaces(connection, std::move(path))
    {
        registerAdaptor();
    }
    ~PaymentTerminalSignals() { unregisterAdaptor(); }
};

class ForecourtCameraSignals final : public sdbus::AdaptorInterfaces<org::orvex::IForecourtCameraEvents_adaptor>
{
public:
    ForecourtCameraSignals(sdbus::IConnection &connection, std::string path)
        : AdaptorInterfaces(connection, std::move(path))
    {
        registerAdaptor();
    }
    ~ForecourtCameraSignals() { unregisterAdaptor(); }
};

class RetailSignals final : public sdbus::AdaptorInterfaces<org::orvex::IRetailEvents_adaptor>
{
public:
    RetailSignals(sdbus::IConnection &connection, std::string path)
        : AdaptorInterfaces(connection, std::move(path))
    {
        registerAdaptor();
    }
    ~RetailSignals() { unregisterAdaptor(); }
};

class ImageCaptureSignals final : public sdbus::AdaptorInterfaces<org::orvex::IImageCaptureEvents_adaptor>
{
public:
    ImageCaptureSignals(sdbus::IConnection &connection, std::string path)
        : AdaptorInterfaces(connection, std::move(path))
    {
        registerAdaptor();
    }
    ~ImageCaptureSignals() { unregisterAdaptor(); }
};

// Subscribed to the bridge's Fuelling object; fired on the bridge's threads, so every event is
// handed to the service thread without waiting for it.
class FuellingSink final : public IFuellingEvents, public PostedSignals<FuellingSignals>
{
public:
    using PostedSignals::PostedSignals;

    HRESULT OnStartFuelDelivery(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID, std::int16_t EventID, const std::string & EventDescription, std::int16_t CameraID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, FuellingPositionID = FuellingPositionID, EventID = EventID, EventDescription = EventDescription, CameraID = CameraID](auto &signals) { signals.emitOnStartFuelDelivery(Timestamp, EventSequenceNumber, FuellingPositionID, EventID, EventDescription, CameraID); });
    }
    HRESULT OnFinishFuelDelivery(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID, std::int16_t EventID, const std::string & EventDescription, std::int16_t NozzleID, Currency TotalPrice, Currency UnitPrice, double Volume, const std::string & GradeName, std::int16_t PaymentMode, std::int16_t CameraID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, FuellingPositionID = FuellingPositionID, EventID = EventID, EventDescription = EventDescription, NozzleID = NozzleID, TotalPrice = TotalPrice.scaled, UnitPrice = UnitPrice.scaled, Volume = Volume, GradeName = GradeName, PaymentMode = PaymentMode, CameraID = CameraID](auto &signals) { signals.emitOnFinishFuelDelivery(Timestamp, EventSequenceNumber, FuellingPositionID, EventID, EventDescription, NozzleID, TotalPrice, UnitPrice, Volume, GradeName, PaymentMode, CameraID); });
    }
    HRESULT OnFuellingEvent(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID, std::int16_t EventID, const std::string & EventDescription, std::int16_t CameraID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, FuellingPositionID = FuellingPositionID, EventID = EventID, EventDescription = EventDescription, CameraID = CameraID](auto &signals) { signals.emitOnFuellingEvent(Timestamp, EventSequenceNumber, FuellingPositionID, EventID, EventDescription, CameraID); });
    }
};

// Subscribed to the bridge's PaymentTerminal object; fired on the bridge's threads, so every event is
// handed to the service thread without waiting for it.
class PaymentTerminalSink final : public IPaymentTerminalEvents, public PostedSignals<PaymentTerminalSignals>
{
public:
    using PostedSignals::PostedSignals;

    HRESULT OnCardRead(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID, std::int16_t PaymentMediaTypeCode, const std::string & PaymentMediaData) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, PaymentTerminalID = PaymentTerminalID, PaymentMediaTypeCode = PaymentMediaTypeCode, PaymentMediaData = PaymentMediaData](auto &signals) { signals.emitOnCardRead(Timestamp, EventSequenceNumber, PaymentTerminalID, PaymentMediaTypeCode, PaymentMediaData); });
    }
    HRESULT OnPaymentTransactionAuthorized(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID, std::int16_t FuellingPositionID, const std::string & HostTransactionID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, PaymentTerminalID = PaymentTerminalID, FuellingPositionID = FuellingPositionID, HostTransactionID = HostTransactionID](auto &signals) { signals.emitOnPaymentTransactionAuthorized(Timestamp, EventSequenceNumber, PaymentTerminalID, FuellingPositionID, HostTransactionID); });
    }
    HRESULT OnPaymentTransactionCancelled(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, PaymentTerminalID = PaymentTerminalID](auto &signals) { signals.emitOnPaymentTransactionCancelled(Timestamp, EventSequenceNumber, PaymentTerminalID); });
    }
    HRESULT OnPrintReceipt(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, PaymentTerminalID = PaymentTerminalID](auto &signals) { signals.emitOnPrintReceipt(Timestamp, EventSequenceNumber, PaymentTerminalID); });
    }
    HRESULT OnPaymentTerminalEvent(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID, std::int16_t EventID, const std::string & EventDescription) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, PaymentTerminalID = PaymentTerminalID, EventID = EventID, EventDescription = EventDescription](auto &signals) { signals.emitOnPaymentTerminalEvent(Timestamp, EventSequenceNumber, PaymentTerminalID, EventID, EventDescription); });
    }
};

// Subscribed to the bridge's ForecourtCamera object; fired on the bridge's threads, so every event is
// handed to the service thread without waiting for it.
class ForecourtCameraSink final : public IForecourtCameraEvents, public PostedSignals<ForecourtCameraSignals>
{
public:
    using PostedSignals::PostedSignals;

    HRESULT OnCameraVisitFuellingPosition(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID, std::int16_t CameraID, const std::string & PositionDescription, std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate, std::int16_t EventID, const std::string & Description, std::int16_t Revisiting) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, FuellingPositionID = FuellingPositionID, CameraID = CameraID, PositionDescription = PositionDescription, KnowPreset = KnowPreset, PresetID = PresetID, KnowAbsoluteCoordinates = KnowAbsoluteCoordinates, PanCoordinate = PanCoordinate, TiltCoordinate = TiltCoordinate, ZoomCoordinate = ZoomCoordinate, FocusCoordinate = FocusCoordinate, EventID = EventID, Description = Description, Revisiting = Revisiting](auto &signals) { signals.emitOnCameraVisitFuellingPosition(Timestamp, EventSequenceNumber, FuellingPositionID, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate, TiltCoordinate, ZoomCoordinate, FocusCoordinate, EventID, Description, Revisiting); });
    }
    HRESULT OnCameraVisitPaymentTerminal(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID, std::int16_t CameraID, const std::string & PositionDescription, std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate, std::int16_t EventID, const std::string & EventDescription, std::int16_t Revisiting) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, PaymentTerminalID = PaymentTerminalID, CameraID = CameraID, PositionDescription = PositionDescription, KnowPreset = KnowPreset, PresetID = PresetID, KnowAbsoluteCoordinates = KnowAbsoluteCoordinates, PanCoordinate = PanCoordinate, TiltCoordinate = TiltCoordinate, ZoomCoordinate = ZoomCoordinate, FocusCoordinate = FocusCoordinate, EventID = EventID, EventDescription = EventDescription, Revisiting = Revisiting](auto &signals) { signals.emitOnCameraVisitPaymentTerminal(Timestamp, EventSequenceNumber, PaymentTerminalID, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate, TiltCoordinate, ZoomCoordinate, FocusCoordinate, EventID, EventDescription, Revisiting); });
    }
    HRESULT OnCameraLeavePosition(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t CameraID, const std::string & PositionDescription, std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, CameraID = CameraID, PositionDescription = PositionDescription, KnowPreset = KnowPreset, PresetID = PresetID, KnowAbsoluteCoordinates = KnowAbsoluteCoordinates, PanCoordinate = PanCoordinate, TiltCoordinate = TiltCoordinate, ZoomCoordinate = ZoomCoordinate, FocusCoordinate = FocusCoordinate](auto &signals) { signals.emitOnCameraLeavePosition(Timestamp, EventSequenceNumber, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate, TiltCoordinate, ZoomCoordinate, FocusCoordinate); });
    }
    HRESULT OnCameraVisitWorkstation(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, std::int16_t CameraID, const std::string & PositionDescription, std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, CameraID = CameraID, PositionDescription = PositionDescription, KnowPreset = KnowPreset, PresetID = PresetID, KnowAbsoluteCoordinates = KnowAbsoluteCoordinates, PanCoordinate = PanCoordinate, TiltCoordinate = TiltCoordinate, ZoomCoordinate = ZoomCoordinate, FocusCoordinate = FocusCoordinate](auto &signals) { signals.emitOnCameraVisitWorkstation(Timestamp, EventSequenceNumber, WorkstationID, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate, TiltCoordinate, ZoomCoordinate, FocusCoordinate); });
    }
    HRESULT OnCameraVisit(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t CameraID, const std::string & PositionDescription, std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate, std::int16_t EventID, const std::string & EventDescription, std::int16_t Revisiting) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, CameraID = CameraID, PositionDescription = PositionDescription, KnowPreset = KnowPreset, PresetID = PresetID, KnowAbsoluteCoordinates = KnowAbsoluteCoordinates, PanCoordinate = PanCoordinate, TiltCoordinate = TiltCoordinate, ZoomCoordinate = ZoomCoordinate, FocusCoordinate = FocusCoordinate, EventID = EventID, EventDescription = EventDescription, Revisiting = Revisiting](auto &signals) { signals.emitOnCameraVisit(Timestamp, EventSequenceNumber, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate, TiltCoordinate, ZoomCoordinate, FocusCoordinate, EventID, EventDescription, Revisiting); });
    }
    HRESULT OnCameraRoam(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t CameraID, const std::string & PositionDescription, std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate, double ZoomCoordinate) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, CameraID = CameraID, PositionDescription = PositionDescription, KnowPreset = KnowPreset, PresetID = PresetID, KnowAbsoluteCoordinates = KnowAbsoluteCoordinates, PanCoordinate = PanCoordinate, TiltCoordinate = TiltCoordinate, ZoomCoordinate = ZoomCoordinate](auto &signals) { signals.emitOnCameraRoam(Timestamp, EventSequenceNumber, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate, TiltCoordinate, ZoomCoordinate); });
    }
    HRESULT OnCameraLocalizeRegistrationPlate(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID, std::int16_t CameraID, const std::string & PositionDescription, std::int16_t KnowPreset, std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, FuellingPositionID = FuellingPositionID, CameraID = CameraID, PositionDescription = PositionDescription, KnowPreset = KnowPreset, PresetID = PresetID, KnowAbsoluteCoordinates = KnowAbsoluteCoordinates, PanCoordinate = PanCoordinate, TiltCoordinate = TiltCoordinate, ZoomCoordinate = ZoomCoordinate, FocusCoordinate = FocusCoordinate](auto &signals) { signals.emitOnCameraLocalizeRegistrationPlate(Timestamp, EventSequenceNumber, FuellingPositionID, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate, TiltCoordinate, ZoomCoordinate, FocusCoordinate); });
    }
};

// Subscribed to the bridge's Retail object; fired on the bridge's threads, so every event is
// handed to the service thread without waiting for it.
class RetailSink final : public IRetailEvents, public PostedSignals<RetailSignals>
{
public:
    using PostedSignals::PostedSignals;

    HRESULT OnBeginRetailTransaction(const std::string & BeginTimestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & OperatorID, const std::string & ReceiptTransactionID, std::int16_t CameraID) override
    {
        return post([BeginTimestamp = BeginTimestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, OperatorID = OperatorID, ReceiptTransactionID = ReceiptTransactionID, CameraID = CameraID](auto &signals) { signals.emitOnBeginRetailTransaction(BeginTimestamp, EventSequenceNumber, WorkstationID, OperatorID, ReceiptTransactionID, CameraID); });
    }
    HRESULT OnEndRetailTransaction(const std::string & EndTimestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & OperatorID, const std::string & ReceiptTransactionID, std::int16_t CameraID) override
    {
        return post([EndTimestamp = EndTimestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, OperatorID = OperatorID, ReceiptTransactionID = ReceiptTransactionID, CameraID = CameraID](auto &signals) { signals.emitOnEndRetailTransaction(EndTimestamp, EventSequenceNumber, WorkstationID, OperatorID, ReceiptTransactionID, CameraID); });
    }
    HRESULT OnCancelRetailTransactionID(const std::string & EndTimestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & OperatorID, std::int16_t CameraID) override
    {
        return post([EndTimestamp = EndTimestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, OperatorID = OperatorID, CameraID = CameraID](auto &signals) { signals.emitOnCancelRetailTransactionID(EndTimestamp, EventSequenceNumber, WorkstationID, OperatorID, CameraID); });
    }
    HRESULT OnPOSNoSaleTransaction(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & OperatorID, std::int16_t CameraID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, OperatorID = OperatorID, CameraID = CameraID](auto &signals) { signals.emitOnPOSNoSaleTransaction(Timestamp, EventSequenceNumber, WorkstationID, OperatorID, CameraID); });
    }
    HRESULT OnFuelSalesLineItem(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, std::int16_t GradeID, const std::string & GradeDescription, std::int16_t FuellingPositionID, Currency ExtendedPrice, std::int16_t RefundFlag, std::int16_t TaxInclusive, Currency UnitPrice, double Volume, const std::string & VehicleRegistrationNumber, const std::string & VehicleOdometerReading, std::int16_t KnowGradeFlag, std::int16_t PrepayFlag, std::int16_t CameraID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, GradeID = GradeID, GradeDescription = GradeDescription, FuellingPositionID = FuellingPositionID, ExtendedPrice = ExtendedPrice.scaled, RefundFlag = RefundFlag, TaxInclusive = TaxInclusive, UnitPrice = UnitPrice.scaled, Volume = Volume, VehicleRegistrationNumber = VehicleRegistrationNumber, VehicleOdometerReading = VehicleOdometerReading, KnowGradeFlag = KnowGradeFlag, PrepayFlag = PrepayFlag, CameraID = CameraID](auto &signals) { signals.emitOnFuelSalesLineItem(Timestamp, EventSequenceNumber, WorkstationID, GradeID, GradeDescription, FuellingPositionID, ExtendedPrice, RefundFlag, TaxInclusive, UnitPrice, Volume, VehicleRegistrationNumber, VehicleOdometerReading, KnowGradeFlag, PrepayFlag, CameraID); });
    }
    HRESULT OnMerchandiseLineItem(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & MerchandiseID, const std::string & MerchandiseName, const std::string & Description, Currency ExtendedPrice, std::int16_t MerchandiseReturnFlag, double Quantity, Currency UnitPrice, std::int16_t TaxInclusive, std::int16_t CameraID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, MerchandiseID = MerchandiseID, MerchandiseName = MerchandiseName, Description = Description, ExtendedPrice = ExtendedPrice.scaled, MerchandiseReturnFlag = MerchandiseReturnFlag, Quantity = Quantity, UnitPrice = UnitPrice.scaled, TaxInclusive = TaxInclusive, CameraID = CameraID](auto &signals) { signals.emitOnMerchandiseLineItem(Timestamp, EventSequenceNumber, WorkstationID, MerchandiseID, MerchandiseName, Description, ExtendedPrice, MerchandiseReturnFlag, Quantity, UnitPrice, TaxInclusive, CameraID); });
    }
    HRESULT OnTaxLineItem(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, Currency TaxAmount, std::int16_t CameraID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, Description = Description, TaxAmount = TaxAmount.scaled, CameraID = CameraID](auto &signals) { signals.emitOnTaxLineItem(Timestamp, EventSequenceNumber, WorkstationID, Description, TaxAmount, CameraID); });
    }
    HRESULT OnSubTotalLineItem(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, Currency SubtotalAmount, std::int16_t CameraID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, Description = Description, SubtotalAmount = SubtotalAmount.scaled, CameraID = CameraID](auto &signals) { signals.emitOnSubTotalLineItem(Timestamp, EventSequenceNumber, WorkstationID, Description, SubtotalAmount, CameraID); });
    }
    HRESULT OnTenderLineItem(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, Currency TenderAmount, std::int16_t RefundFlag, const std::string & MethodOfPayment, std::int16_t CameraID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, Description = Description, TenderAmount = TenderAmount.scaled, RefundFlag = RefundFlag, MethodOfPayment = MethodOfPayment, CameraID = CameraID](auto &signals) { signals.emitOnTenderLineItem(Timestamp, EventSequenceNumber, WorkstationID, Description, TenderAmount, RefundFlag, MethodOfPayment, CameraID); });
    }
    HRESULT OnTenderChangeLineItem(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, Currency ChangeAmount, std::int16_t CameraID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, Description = Description, ChangeAmount = ChangeAmount.scaled, CameraID = CameraID](auto &signals) { signals.emitOnTenderChangeLineItem(Timestamp, EventSequenceNumber, WorkstationID, Description, ChangeAmount, CameraID); });
    }
    HRESULT OnVoidModifier(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, std::int16_t CameraID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, Description = Description, CameraID = CameraID](auto &signals) { signals.emitOnVoidModifier(Timestamp, EventSequenceNumber, WorkstationID, Description, CameraID); });
    }
    HRESULT OnQuantityModifier(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, Currency NewQuantity, std::int16_t CameraID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, Description = Description, NewQuantity = NewQuantity.scaled, CameraID = CameraID](auto &signals) { signals.emitOnQuantityModifier(Timestamp, EventSequenceNumber, WorkstationID, Description, NewQuantity, CameraID); });
    }
    HRESULT OnPriceModifier(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, Currency NewUnitPrice, std::int16_t CameraID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, Description = Description, NewUnitPrice = NewUnitPrice.scaled, CameraID = CameraID](auto &signals) { signals.emitOnPriceModifier(Timestamp, EventSequenceNumber, WorkstationID, Description, NewUnitPrice, CameraID); });
    }
    HRESULT OnDiscountLineItem(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, const std::string & Description, Currency DiscountAmount, std::int16_t TaxInclusive, std::int16_t CameraID) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, Description = Description, DiscountAmount = DiscountAmount.scaled, TaxInclusive = TaxInclusive, CameraID = CameraID](auto &signals) { signals.emitOnDiscountLineItem(Timestamp, EventSequenceNumber, WorkstationID, Description, DiscountAmount, TaxInclusive, CameraID); });
    }
};

// Subscribed to the bridge's ImageCapture object; fired on the bridge's threads, so every event is
// handed to the service thread without waiting for it.
class ImageCaptureSink final : public IImageCaptureEvents, public PostedSignals<ImageCaptureSignals>
{
public:
    using PostedSignals::PostedSignals;

    HRESULT OnCapturedFuellingPositionImage(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID, std::int16_t CameraID, const std::string & ImageTimestamp, const std::string & ImageFilename, std::int16_t EventID, const std::string & SourceEventTimestamp, std::int16_t SourceEventSequenceNumber) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, FuellingPositionID = FuellingPositionID, CameraID = CameraID, ImageTimestamp = ImageTimestamp, ImageFilename = ImageFilename, EventID = EventID, SourceEventTimestamp = SourceEventTimestamp, SourceEventSequenceNumber = SourceEventSequenceNumber](auto &signals) { signals.emitOnCapturedFuellingPositionImage(Timestamp, EventSequenceNumber, FuellingPositionID, CameraID, ImageTimestamp, ImageFilename, EventID, SourceEventTimestamp, SourceEventSequenceNumber); });
    }
    HRESULT OnCapturedPaymentTerminalImage(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t PaymentTerminalID, std::int16_t CameraID, const std::string & ImageTimestamp, const std::string & ImageFilename, std::int16_t EventID, const std::string & SourceEventTimestamp, std::int16_t SourceEventSequenceNumber) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, PaymentTerminalID = PaymentTerminalID, CameraID = CameraID, ImageTimestamp = ImageTimestamp, ImageFilename = ImageFilename, EventID = EventID, SourceEventTimestamp = SourceEventTimestamp, SourceEventSequenceNumber = SourceEventSequenceNumber](auto &signals) { signals.emitOnCapturedPaymentTerminalImage(Timestamp, EventSequenceNumber, PaymentTerminalID, CameraID, ImageTimestamp, ImageFilename, EventID, SourceEventTimestamp, SourceEventSequenceNumber); });
    }
    HRESULT OnCapturedWorkstationImage(const std::string & Timestamp, std::int16_t EventSequenceNumber, const std::string & WorkstationID, std::int16_t CameraID, const std::string & ImageTimestamp, const std::string & ImageFilename, std::int16_t EventID, const std::string & SourceEventTimestamp, std::int16_t SourceEventSequenceNumber) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, WorkstationID = WorkstationID, CameraID = CameraID, ImageTimestamp = ImageTimestamp, ImageFilename = ImageFilename, EventID = EventID, SourceEventTimestamp = SourceEventTimestamp, SourceEventSequenceNumber = SourceEventSequenceNumber](auto &signals) { signals.emitOnCapturedWorkstationImage(Timestamp, EventSequenceNumber, WorkstationID, CameraID, ImageTimestamp, ImageFilename, EventID, SourceEventTimestamp, SourceEventSequenceNumber); });
    }
};

// Subscribed to the bridge's LicencePlateRecognizer object; fired on the bridge's threads, so every event is
// handed to the service thread without waiting for it.
class LicencePlateRecognizerSink final : public ILicencePlateRecognizerEvents, public PostedSignals<LicencePlateRecognizerObject>
{
public:
    using PostedSignals::PostedSignals;

    HRESULT OnRequestImageCapture(std::int16_t CameraID) override
    {
        return post([CameraID = CameraID](auto &signals) { signals.emitOnRequestImageCapture(CameraID); });
    }
    HRESULT OnRecognizeRegistrationNumber(const std::string & Timestamp, std::int16_t EventSequenceNumber, std::int16_t FuellingPositionID, std::int16_t CameraID, std::int16_t NumberOfCharactersRecognized, const std::string & VehicleRegistrationNumber, const std::string & ConfidenceLevel, const std::string & ImageTimestamp) override
    {
        return post([Timestamp = Timestamp, EventSequenceNumber = EventSequenceNumber, FuellingPositionID = FuellingPositionID, CameraID = CameraID, NumberOfCharactersRecognized = NumberOfCharactersRecognized, VehicleRegistrationNumber = VehicleRegistrationNumber, ConfidenceLevel = ConfidenceLevel, ImageTimestamp = ImageTimestamp](auto &signals) { signals.emitOnRecognizeRegistrationNumber(Timestamp, EventSequenceNumber, FuellingPositionID, CameraID, NumberOfCharactersRecognized, VehicleRegistrationNumber, ConfidenceLevel, ImageTimestamp); });
    }
};

} // namespace

std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path, std::shared_ptr<IFuelling> object)
{
    auto signals = std::make_shared<FuellingSignals>(context.connection(), path);
    return MakeSubscription<FuellingSink>(context, std::move(signals), std::move(object));
}
std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path, std::shared_ptr<IPaymentTerminal> object)
{
    auto signals = std::make_shared<PaymentTerminalSignals>(context.connection(), path);
    return MakeSubscription<PaymentTerminalSink>(context, std::move(signals), std::move(object));
}
std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path, std::shared_ptr<IForecourtCamera> object)
{
    auto signals = std::make_shared<ForecourtCameraSignals>(context.connection(), path);
    return MakeSubscription<ForecourtCameraSink>(context, std::move(signals), std::move(object));
}
std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path, std::shared_ptr<IRetail> object)
{
    auto signals = std::make_shared<RetailSignals>(context.connection(), path);
    return MakeSubscription<RetailSink>(context, std::move(signals), std::move(object));
}
std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path, std::shared_ptr<IImageCapture> object)
{
    auto signals = std::make_shared<ImageCaptureSignals>(context.connection(), path);
    return MakeSubscription<ImageCaptureSink>(context, std::move(signals), std::move(object));
}
std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path,
                                    std::shared_ptr<ILicencePlateRecognizer> object)
{
    auto signals = std::make_shared<LicencePlateRecognizerObject>(context, path, object);
    return MakeSubscription<LicencePlateRecognizerSink>(context, std::move(signals), std::move(object));
}
std::shared_ptr<void> MakeBusObject(BusContext &context, const std::string &path, std::shared_ptr<IOrvexInterface> object)
{
    return std::make_shared<OrvexInterfaceObject>(context, path, std::move(object));
}

} // namespace services
