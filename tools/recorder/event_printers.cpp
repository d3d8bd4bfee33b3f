// Made from interfaces/*.xml: one printer per event interface; keep them in step.
#include "tools/recorder/event_printers.h"

#include "interfaces/dbus/orvexservices_proxy.h"
#include "interfaces/dbus/recorderbridge_proxy.h"

namespace recorder {

namespace {

class FuellingEventsPrinter final : public sdbus::ProxyInterfaces<org::orvex::IFuellingEvents_proxy>
{
public:
    FuellingEventsPrinter(sdbus::IConnection &connection, const std::string &path, EventPrinter &printer)
        : ProxyInterfaces(connection, kServiceName, path), m_printer(printer)
    {
        registerProxy();
    }
    ~FuellingEventsPrinter() { unregisterProxy(); }

private:
    void onOnStartFuelDelivery(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &FuellingPositionID, const int16_t &EventID, const std::string &EventDescription, const int16_t &CameraID) override
    {
        m_printer.print("OnStartFuelDelivery", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("FuellingPositionID", FuellingPositionID), Number("EventID", EventID), Text("EventDescription", EventDescription), Number("CameraID", CameraID)});
    }
    void onOnFinishFuelDelivery(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &FuellingPositionID, const int16_t &EventID, const std::string &EventDescription, const int16_t &NozzleID, const int64_t &TotalPrice, const int64_t &UnitPrice, const double &Volume, const std::string &GradeName, const int16_t &PaymentMode, const int16_t &CameraID) override
    {
        m_printer.print("OnFinishFuelDelivery", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("FuellingPositionID", FuellingPositionID), Number("EventID", EventID), Text("EventDescription", EventDescription), Number("NozzleID", NozzleID), Money("TotalPrice", TotalPrice), Money("UnitPrice", UnitPrice), Decimal("Volume", Volume), Text("GradeName", GradeName), Number("PaymentMode", PaymentMode), Number("CameraID", CameraID)});
    }
    void onOnFuellingEvent(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &FuellingPositionID, const int16_t &EventID, const std::string &EventDescription, const int16_t &CameraID) override
    {
        m_printer.print("OnFuellingEvent", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("FuellingPositionID", FuellingPositionID), Number("EventID", EventID), Text("EventDescription", EventDescription), Number("CameraID", CameraID)});
    }

    EventPrinter &m_printer;
};

class PaymentTerminalEventsPrinter final : public sdbus::ProxyInterfaces<org::orvex::IPaymentTerminalEvents_proxy>
{
public:
    PaymentTerminalEventsPrinter(sdbus::IConnection &connection, const std::string &path, EventPrinter &printer)
        : ProxyInterfaces(connection, kServiceName, path), m_printer(printer)
    {
        registerProxy();
    }
    ~PaymentTerminalEventsPrinter() { unregisterProxy(); }

private:
    void onOnCardRead(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &PaymentTerminalID, const int16_t &PaymentMediaTypeCode, const std::string &PaymentMediaData) override
    {
        m_printer.print("OnCardRead", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("PaymentTerminalID", PaymentTerminalID), Number("PaymentMediaTypeCode", PaymentMediaTypeCode), Text("PaymentMediaData", PaymentMediaData)});
    }
    void onOnPaymentTransactionAuthorized(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &PaymentTerminalID, const int16_t &FuellingPositionID, const std::string &HostTransactionID) override
    {
        m_printer.print("OnPaymentTransactionAuthorized", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("PaymentTerminalID", PaymentTerminalID), Number("FuellingPositionID", FuellingPositionID), Text("HostTransactionID", HostTransactionID)});
    }
    void onOnPaymentTransactionCancelled(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &PaymentTerminalID) override
    {
        m_printer.print("OnPaymentTransactionCancelled", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("PaymentTerminalID", PaymentTerminalID)});
    }
    void onOnPrintReceipt(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &PaymentTerminalID) override
    {
        m_printer.print("OnPrintReceipt", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("PaymentTerminalID", PaymentTerminalID)});
    }
    void onOnPaymentTerminalEvent(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &PaymentTerminalID, const int16_t &EventID, const std::string &EventDescription) override
    {
        m_printer.print("OnPaymentTerminalEvent", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("PaymentTerminalID", PaymentTerminalID), Number("EventID", EventID), Text("EventDescription", EventDescription)});
    }

    EventPrinter &m_printer;
};

class ForecourtCameraEventsPrinter final : public sdbus::ProxyInterfaces<org::orvex::IForecourtCameraEvents_proxy>
{
public:
    ForecourtCameraEventsPrinter(sdbus::IConnection &connection, const std::string &path, EventPrinter &printer)
        : ProxyInterfaces(connection, kServiceName, path), m_printer(printer)
    {
        registerProxy();
    }
    ~ForecourtCameraEventsPrinter() { unregisterProxy(); }

private:
    void onOnCameraVisitFuellingPosition(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &FuellingPositionID, const int16_t &CameraID, const std::string &PositionDescription, const int16_t &KnowPreset, const int16_t &PresetID, const int16_t &KnowAbsoluteCoordinates, const double &PanCoordinate, const double &TiltCoordinate, const double &ZoomCoordinate, const double &FocusCoordinate, const int16_t &EventID, const std::string &Description, const int16_t &Revisiting) override
    {
        m_printer.print("OnCameraVisitFuellingPosition", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("FuellingPositionID", FuellingPositionID), Number("CameraID", CameraID), Text("PositionDescription", PositionDescription), Number("KnowPreset", KnowPreset), Number("PresetID", PresetID), Number("KnowAbsoluteCoordinates", KnowAbsoluteCoordinates), Decimal("PanCoordinate", PanCoordinate), Decimal("TiltCoordinate", TiltCoordinate), Decimal("ZoomCoordinate", ZoomCoordinate), Decimal("FocusCoordinate", FocusCoordinate), Number("EventID", EventID), Text("Description", Description), Number("Revisiting", Revisiting)});
    }
    void onOnCameraVisitPaymentTerminal(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &PaymentTerminalID, const int16_t &CameraID, const std::string &PositionDescription, const int16_t &KnowPreset, const int16_t &PresetID, const int16_t &KnowAbsoluteCoordinates, const double &PanCoordinate, const double &TiltCoordinate, const double &ZoomCoordinate, const double &FocusCoordinate, const int16_t &EventID, const std::string &EventDescription, const int16_t &Revisiting) override
    {
        m_printer.print("OnCameraVisitPaymentTerminal", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("PaymentTerminalID", PaymentTerminalID), Number("CameraID", CameraID), Text("PositionDescription", PositionDescription), Number("KnowPreset", KnowPreset), Number("PresetID", PresetID), Number("KnowAbsoluteCoordinates", KnowAbsoluteCoordinates), Decimal("PanCoordinate", PanCoordinate), Decimal("TiltCoordinate", TiltCoordinate), Decimal("ZoomCoordinate", ZoomCoordinate), Decimal("FocusCoordinate", FocusCoordinate), Number("EventID", EventID), Text("EventDescription", EventDescription), Number("Revisiting", Revisiting)});
    }
    void onOnCameraLeavePosition(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &CameraID, const std::string &PositionDescription, const int16_t &KnowPreset, const int16_t &PresetID, const int16_t &KnowAbsoluteCoordinates, const double &PanCoordinate, const double &TiltCoordinate, const double &ZoomCoordinate, const double &FocusCoordinate) override
    {
        m_printer.print("OnCameraLeavePosition", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("CameraID", CameraID), Text("PositionDescription", PositionDescription), Number("KnowPreset", KnowPreset), Number("PresetID", PresetID), Number("KnowAbsoluteCoordinates", KnowAbsoluteCoordinates), Decimal("PanCoordinate", PanCoordinate), Decimal("TiltCoordinate", TiltCoordinate), Decimal("ZoomCoordinate", ZoomCoordinate), Decimal("FocusCoordinate", FocusCoordinate)});
    }
    void onOnCameraVisitWorkstation(const std::string &Timestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const int16_t &CameraID, const std::string &PositionDescription, const int16_t &KnowPreset, const int16_t &PresetID, const int16_t &KnowAbsoluteCoordinates, const double &PanCoordinate, const double &TiltCoordinate, const double &ZoomCoordinate, const double &FocusCoordinate) override
    {
        m_printer.print("OnCameraVisitWorkstation", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Number("CameraID", CameraID), Text("PositionDescription", PositionDescription), Number("KnowPreset", KnowPreset), Number("PresetID", PresetID), Number("KnowAbsoluteCoordinates", KnowAbsoluteCoordinates), Decimal("PanCoordinate", PanCoordinate), Decimal("TiltCoordinate", TiltCoordinate), Decimal("ZoomCoordinate", ZoomCoordinate), Decimal("FocusCoordinate", FocusCoordinate)});
    }
    void onOnCameraVisit(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &CameraID, const std::string &PositionDescription, const int16_t &KnowPreset, const int16_t &PresetID, const int16_t &KnowAbsoluteCoordinates, const double &PanCoordinate, const double &TiltCoordinate, const double &ZoomCoordinate, const double &FocusCoordinate, const int16_t &EventID, const std::string &EventDescription, const int16_t &Revisiting) override
    {
        m_printer.print("OnCameraVisit", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("CameraID", CameraID), Text("PositionDescription", PositionDescription), Number("KnowPreset", KnowPreset), Number("PresetID", PresetID), Number("KnowAbsoluteCoordinates", KnowAbsoluteCoordinates), Decimal("PanCoordinate", PanCoordinate), Decimal("TiltCoordinate", TiltCoordinate), Decimal("ZoomCoordinate", ZoomCoordinate), Decimal("FocusCoordinate", FocusCoordinate), Number("EventID", EventID), Text("EventDescription", EventDescription), Number("Revisiting", Revisiting)});
    }
    void onOnCameraRoam(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &CameraID, const std::string &PositionDescription, const int16_t &KnowPreset, const int16_t &PresetID, const int16_t &KnowAbsoluteCoordinates, const double &PanCoordinate, const double &TiltCoordinate, const double &ZoomCoordinate) override
    {
        m_printer.print("OnCameraRoam", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("CameraID", CameraID), Text("PositionDescription", PositionDescription), Number("KnowPreset", KnowPreset), Number("PresetID", PresetID), Number("KnowAbsoluteCoordinates", KnowAbsoluteCoordinates), Decimal("PanCoordinate", PanCoordinate), Decimal("TiltCoordinate", TiltCoordinate), Decimal("ZoomCoordinate", ZoomCoordinate)});
    }
    void onOnCameraLocalizeRegistrationPlate(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &FuellingPositionID, const int16_t &CameraID, const std::string &PositionDescription, const int16_t &KnowPreset, const int16_t &PresetID, const int16_t &KnowAbsoluteCoordinates, const double &PanCoordinate, const double &TiltCoordinate, const double &ZoomCoordinate, const double &FocusCoordinate) override
    {
        m_printer.print("OnCameraLocalizeRegistrationPlate", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("FuellingPositionID", FuellingPositionID), Number("CameraID", CameraID), Text("PositionDescription", PositionDescription), Number("KnowPreset", KnowPreset), Number("PresetID", PresetID), Number("KnowAbsoluteCoordinates", KnowAbsoluteCoordinates), Decimal("PanCoordinate", PanCoordinate), Decimal("TiltCoordinate", TiltCoordinate), Decimal("ZoomCoordinate", ZoomCoordinate), Decimal("FocusCoordinate", FocusCoordinate)});
    }

    EventPrinter &m_printer;
};

class RetailEventsPrinter final : public sdbus::ProxyInterfaces<org::orvex::IRetailEvents_proxy>
{
public:
    RetailEventsPrinter(sdbus::IConnection &connection, const std::string &path, EventPrinter &printer)
        : ProxyInterfaces(connection, kServiceName, path), m_printer(printer)
    {
        registerProxy();
    }
    ~RetailEventsPrinter() { unregisterProxy(); }

private:
    void onOnBeginRetailTransaction(const std::string &BeginTimestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const std::string &OperatorID, const std::string &ReceiptTransactionID, const int16_t &CameraID) override
    {
        m_printer.print("OnBeginRetailTransaction", {Text("BeginTimestamp", BeginTimestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Text("OperatorID", OperatorID), Text("ReceiptTransactionID", ReceiptTransactionID), Number("CameraID", CameraID)});
    }
    void onOnEndRetailTransaction(const std::string &EndTimestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const std::string &OperatorID, const std::string &ReceiptTransactionID, const int16_t &CameraID) override
    {
        m_printer.print("OnEndRetailTransaction", {Text("EndTimestamp", EndTimestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Text("OperatorID", OperatorID), Text("ReceiptTransactionID", ReceiptTransactionID), Number("CameraID", CameraID)});
    }
    void onOnCancelRetailTransactionID(const std::string &EndTimestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const std::string &OperatorID, const int16_t &CameraID) override
    {
        m_printer.print("OnCancelRetailTransactionID", {Text("EndTimestamp", EndTimestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Text("OperatorID", OperatorID), Number("CameraID", CameraID)});
    }
    void onOnPOSNoSaleTransaction(const std::string &Timestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const std::string &OperatorID, const int16_t &CameraID) override
    {
        m_printer.print("OnPOSNoSaleTransaction", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Text("OperatorID", OperatorID), Number("CameraID", CameraID)});
    }
    void onOnFuelSalesLineItem(const std::string &Timestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const int16_t &GradeID, const std::string &GradeDescription, const int16_t &FuellingPositionID, const int64_t &ExtendedPrice, const int16_t &RefundFlag, const int16_t &TaxInclusive, const int64_t &UnitPrice, const double &Volume, const std::string &VehicleRegistrationNumber, const std::string &VehicleOdometerReading, const int16_t &KnowGradeFlag, const int16_t &PrepayFlag, const int16_t &CameraID) override
    {
        m_printer.print("OnFuelSalesLineItem", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Number("GradeID", GradeID), Text("GradeDescription", GradeDescription), Number("FuellingPositionID", FuellingPositionID), Money("ExtendedPrice", ExtendedPrice), Number("RefundFlag", RefundFlag), Number("TaxInclusive", TaxInclusive), Money("UnitPrice", UnitPrice), Decimal("Volume", Volume), Text("VehicleRegistrationNumber", VehicleRegistrationNumber), Text("VehicleOdometerReading", VehicleOdometerReading), Number("KnowGradeFlag", KnowGradeFlag), Number("PrepayFlag", PrepayFlag), Number("CameraID", CameraID)});
    }
    void onOnMerchandiseLineItem(const std::string &Timestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const std::string &MerchandiseID, const std::string &MerchandiseName, const std::string &Description, const int64_t &ExtendedPrice, const int16_t &MerchandiseReturnFlag, const double &Quantity, const int64_t &UnitPrice, const int16_t &TaxInclusive, const int16_t &CameraID) override
    {
        m_printer.print("OnMerchandiseLineItem", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Text("MerchandiseID", MerchandiseID), Text("MerchandiseName", MerchandiseName), Text("Description", Description), Money("ExtendedPrice", ExtendedPrice), Number("MerchandiseReturnFlag", MerchandiseReturnFlag), Decimal("Quantity", Quantity), Money("UnitPrice", UnitPrice), Number("TaxInclusive", TaxInclusive), Number("CameraID", CameraID)});
    }
    void onOnTaxLineItem(const std::string &Timestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const std::string &Description, const int64_t &TaxAmount, const int16_t &CameraID) override
    {
        m_printer.print("OnTaxLineItem", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Text("Description", Description), Money("TaxAmount", TaxAmount), Number("CameraID", CameraID)});
    }
    void onOnSubTotalLineItem(const std::string &Timestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const std::string &Description, const int64_t &SubtotalAmount, const int16_t &CameraID) override
    {
        m_printer.print("OnSubTotalLineItem", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Text("Description", Description), Money("SubtotalAmount", SubtotalAmount), Number("CameraID", CameraID)});
    }
    void onOnTenderLineItem(const std::string &Timestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const std::string &Description, const int64_t &TenderAmount, const int16_t &RefundFlag, const std::string &MethodOfPayment, const int16_t &CameraID) override
    {
        m_printer.print("OnTenderLineItem", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Text("Description", Description), Money("TenderAmount", TenderAmount), Number("RefundFlag", RefundFlag), Text("MethodOfPayment", MethodOfPayment), Number("CameraID", CameraID)});
    }
    void onOnTenderChangeLineItem(const std::string &Timestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const std::string &Description, const int64_t &ChangeAmount, const int16_t &CameraID) override
    {
        m_printer.print("OnTenderChangeLineItem", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Text("Description", Description), Money("ChangeAmount", ChangeAmount), Number("CameraID", CameraID)});
    }
    void onOnVoidModifier(const std::string &Timestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const std::string &Description, const int16_t &CameraID) override
    {
        m_printer.print("OnVoidModifier", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Text("Description", Description), Number("CameraID", CameraID)});
    }
    void onOnQuantityModifier(const std::string &Timestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const std::string &Description, const int64_t &NewQuantity, const int16_t &CameraID) override
    {
        m_printer.print("OnQuantityModifier", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Text("Description", Description), Money("NewQuantity", NewQuantity), Number("CameraID", CameraID)});
    }
    void onOnPriceModifier(const std::string &Timestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const std::string &Description, const int64_t &NewUnitPrice, const int16_t &CameraID) override
    {
        m_printer.print("OnPriceModifier", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Text("Description", Description), Money("NewUnitPrice", NewUnitPrice), Number("CameraID", CameraID)});
    }
    void onOnDiscountLineItem(const std::string &Timestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const std::string &Description, const int64_t &DiscountAmount, const int16_t &TaxInclusive, const int16_t &CameraID) override
    {
        m_printer.print("OnDiscountLineItem", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Text("Description", Description), Money("DiscountAmount", DiscountAmount), Number("TaxInclusive", TaxInclusive), Number("CameraID", CameraID)});
    }

    EventPrinter &m_printer;
};

class LicencePlateRecognizerEventsPrinter final : public sdbus::ProxyInterfaces<org::orvex::ILicencePlateRecognizerEvents_proxy>
{
public:
    LicencePlateRecognizerEventsPrinter(sdbus::IConnection &connection, const std::string &path, EventPrinter &printer)
        : ProxyInterfaces(connection, kServiceName, path), m_printer(printer)
    {
        registerProxy();
    }
    ~LicencePlateRecognizerEventsPrinter() { unregisterProxy(); }

private:
    void onOnRequestImageCapture(const int16_t &CameraID) override
    {
        m_printer.print("OnRequestImageCapture", {Number("CameraID", CameraID)});
        m_printer.imageRequested(CameraID);
    }
    void onOnRecognizeRegistrationNumber(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &FuellingPositionID, const int16_t &CameraID, const int16_t &NumberOfCharactersRecognized, const std::string &VehicleRegistrationNumber, const std::string &ConfidenceLevel, const std::string &ImageTimestamp) override
    {
        m_printer.print("OnRecognizeRegistrationNumber", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("FuellingPositionID", FuellingPositionID), Number("CameraID", CameraID), Number("NumberOfCharactersRecognized", NumberOfCharactersRecognized), Text("VehicleRegistrationNumber", VehicleRegistrationNumber), Text("ConfidenceLevel", ConfidenceLevel), Text("ImageTimestamp", ImageTimestamp)});
    }

    EventPrinter &m_printer;
};

class ImageCaptureEventsPrinter final : public sdbus::ProxyInterfaces<org::orvex::IImageCaptureEvents_proxy>
{
public:
    ImageCaptureEventsPrinter(sdbus::IConnection &connection, const std::string &path, EventPrinter &printer)
        : ProxyInterfaces(connection, kServiceName, path), m_printer(printer)
    {
        registerProxy();
    }
    ~ImageCaptureEventsPrinter() { unregisterProxy(); }

private:
    void onOnCapturedFuellingPositionImage(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &FuellingPositionID, const int16_t &CameraID, const std::string &ImageTimestamp, const std::string &ImageFilename, const int16_t &EventID, const std::string &SourceEventTimestamp, const int16_t &SourceEventSequenceNumber) override
    {
        m_printer.print("OnCapturedFuellingPositionImage", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("FuellingPositionID", FuellingPositionID), Number("CameraID", CameraID), Text("ImageTimestamp", ImageTimestamp), Text("ImageFilename", ImageFilename), Number("EventID", EventID), Text("SourceEventTimestamp", SourceEventTimestamp), Number("SourceEventSequenceNumber", SourceEventSequenceNumber)});
    }
    void onOnCapturedPaymentTerminalImage(const std::string &Timestamp, const int16_t &EventSequenceNumber, const int16_t &PaymentTerminalID, const int16_t &CameraID, const std::string &ImageTimestamp, const std::string &ImageFilename, const int16_t &EventID, const std::string &SourceEventTimestamp, const int16_t &SourceEventSequenceNumber) override
    {
        m_printer.print("OnCapturedPaymentTerminalImage", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Number("PaymentTerminalID", PaymentTerminalID), Number("CameraID", CameraID), Text("ImageTimestamp", ImageTimestamp), Text("ImageFilename", ImageFilename), Number("EventID", EventID), Text("SourceEventTimestamp", SourceEventTimestamp), Number("SourceEventSequenceNumber", SourceEventSequenceNumber)});
    }
    void onOnCapturedWorkstationImage(const std::string &Timestamp, const int16_t &EventSequenceNumber, const std::string &WorkstationID, const int16_t &CameraID, const std::string &ImageTimestamp, const std::string &ImageFilename, const int16_t &EventID, const std::string &SourceEventTimestamp, const int16_t &SourceEventSequenceNumber) override
    {
        m_printer.print("OnCapturedWorkstationImage", {Text("Timestamp", Timestamp), Number("EventSequenceNumber", EventSequenceNumber), Text("WorkstationID", WorkstationID), Number("CameraID", CameraID), Text("ImageTimestamp", ImageTimestamp), Text("ImageFilename", ImageFilename), Number("EventID", EventID), Text("SourceEventTimestamp", SourceEventTimestamp), Number("SourceEventSequenceNumber", SourceEventSequenceNumber)});
    }

    EventPrinter &m_printer;
};

class OrvexCommsEventsPrinter final : public sdbus::ProxyInterfaces<org::orvex::IOrvexCommsEvents_proxy>
{
public:
    OrvexCommsEventsPrinter(sdbus::IConnection &connection, const std::string &path, EventPrinter &printer)
        : ProxyInterfaces(connection, kServiceName, path), m_printer(printer)
    {
        registerProxy();
    }
    ~OrvexCommsEventsPrinter() { unregisterProxy(); }

private:
    void onDebug(const std::string &debugData) override
    {
        m_printer.print("Debug", {Text("debugData", debugData)});
    }
    void onOrvexOnline(const std::string &ver) override
    {
        m_printer.print("OrvexOnline", {Text("ver", ver)});
    }
    void onOrvexOffline() override
    {
        m_printer.print("OrvexOffline", {});
    }
    void onCommsError(const std::string &reason) override
    {
        m_printer.print("CommsError", {Text("reason", reason)});
    }
    void onSystemDiagnostics(const int16_t &totalMem, const int16_t &maxMsgOutstanding, const int16_t &minSpaceAvailable, const int16_t &totalLoopTime) override
    {
        m_printer.print("SystemDiagnostics", {Number("totalMem", totalMem), Number("maxMsgOutstanding", maxMsgOutstanding), Number("minSpaceAvailable", minSpaceAvailable), Number("totalLoopTime", totalLoopTime)});
    }
    void onTaskDiagnostics(const int16_t &msgType, const int16_t &memUsed, const int16_t &msgsUsed) override
    {
        m_printer.print("TaskDiagnostics", {Number("msgType", msgType), Number("memUsed", memUsed), Number("msgsUsed", msgsUsed)});
    }
    void onResetCount(const int16_t &ResetCount) override
    {
        m_printer.print("ResetCount", {Number("ResetCount", ResetCount)});
    }
    void onGotMessage(const std::string &msgType) override
    {
        m_printer.print("GotMessage", {Text("msgType", msgType)});
    }
    void onCameraPosition(const int16_t &cameraNum, const double &pan, const double &tilt, const double &zoom) override
    {
        m_printer.print("CameraPosition", {Number("cameraNum", cameraNum), Decimal("pan", pan), Decimal("tilt", tilt), Decimal("zoom", zoom)});
    }

    EventPrinter &m_printer;
};

} // namespace

std::vector<std::shared_ptr<void>> SubscribeBridgeEvents(sdbus::IConnection &connection, const BridgePaths &paths,
                                                         EventPrinter &printer)
{
    return {std::make_shared<FuellingEventsPrinter>(connection, paths.fuelling, printer),
            std::make_shared<PaymentTerminalEventsPrinter>(connection, paths.paymentTerminal, printer),
            std::make_shared<ForecourtCameraEventsPrinter>(connection, paths.forecourtCamera, printer),
            std::make_shared<RetailEventsPrinter>(connection, paths.retail, printer),
            std::make_shared<LicencePlateRecognizerEventsPrinter>(connection, paths.licencePlateRecognizer, printer),
            std::make_shared<ImageCaptureEventsPrinter>(connection, paths.imageCapture, printer)};
}

std::shared_ptr<void> SubscribeCommsEvents(sdbus::IConnection &connection, const std::string &path,
                                           EventPrinter &printer)
{
    return std::make_shared<OrvexCommsEventsPrinter>(connection, path, printer);
}

} // namespace recorder
