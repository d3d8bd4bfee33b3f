// The recorder's printers, driven by one table of the service's event interfaces: each signal
// with its fields in order, made from interfaces/*.xml (keep them in step). A field prints after
// its type on the bus: text quoted, 16-bit numbers as they are, 64-bit numbers as money, doubles
// as decimals.
#include "tools/recorder/event_printers.h"

#include <string_view>

namespace recorder {

namespace {

struct EventLine
{
    const char *signal;
    std::vector<const char *> fields;
};

struct EventInterface
{
    const char *name;
    std::vector<EventLine> events;
};

const EventInterface kFuellingEvents{
    "org.orvex.IFuellingEvents",
    {
        {"OnStartFuelDelivery",
         {"Timestamp", "EventSequenceNumber", "FuellingPositionID", "EventID", "EventDescription",
          "CameraID"}},
        {"OnFinishFuelDelivery",
         {"Timestamp", "EventSequenceNumber", "FuellingPositionID", "EventID", "EventDescription",
          "NozzleID", "TotalPrice", "UnitPrice", "Volume", "GradeName", "PaymentMode", "CameraID"}},
        {"OnFuellingEvent",
         {"Timestamp", "EventSequenceNumber", "FuellingPositionID", "EventID", "EventDescription",
          "CameraID"}},
    }};

const EventInterface kPaymentTerminalEvents{
    "org.orvex.IPaymentTerminalEvents",
    {
        {"OnCardRead",
         {"Timestamp", "EventSequenceNumber", "PaymentTerminalID", "PaymentMediaTypeCode",
          "PaymentMediaData"}},
        {"OnPaymentTransactionAuthorized",
         {"Timestamp", "EventSequenceNumber", "PaymentTerminalID", "FuellingPositionID",
          "HostTransactionID"}},
        {"OnPaymentTransactionCancelled",
         {"Timestamp", "EventSequenceNumber", "PaymentTerminalID"}},
        {"OnPrintReceipt", {"Timestamp", "EventSequenceNumber", "PaymentTerminalID"}},
        {"OnPaymentTerminalEvent",
         {"Timestamp", "EventSequenceNumber", "PaymentTerminalID", "EventID", "EventDescription"}},
    }};

const EventInterface kForecourtCameraEvents{
    "org.orvex.IForecourtCameraEvents",
    {
        {"OnCameraVisitFuellingPosition",
         {"Timestamp", "EventSequenceNumber", "FuellingPositionID", "CameraID",
          "PositionDescription", "KnowPreset", "PresetID", "KnowAbsoluteCoordinates",
          "PanCoordinate", "TiltCoordinate", "ZoomCoordinate", "FocusCoordinate", "EventID",
          "Description", "Revisiting"}},
        {"OnCameraVisitPaymentTerminal",
         {"Timestamp", "EventSequenceNumber", "PaymentTerminalID", "CameraID",
          "PositionDescription", "KnowPreset", "PresetID", "KnowAbsoluteCoordinates",
          "PanCoordinate", "TiltCoordinate", "ZoomCoordinate", "FocusCoordinate", "EventID",
          "EventDescription", "Revisiting"}},
        {"OnCameraLeavePosition",
         {"Timestamp", "EventSequenceNumber", "CameraID", "PositionDescription", "KnowPreset",
          "PresetID", "KnowAbsoluteCoordinates", "PanCoordinate", "TiltCoordinate",
          "ZoomCoordinate", "FocusCoordinate"}},
        {"OnCameraVisitWorkstation",
         {"Timestamp", "EventSequenceNumber", "WorkstationID", "CameraID", "PositionDescription",
          "KnowPreset", "PresetID", "KnowAbsoluteCoordinates", "PanCoordinate", "TiltCoordinate",
          "ZoomCoordinate", "FocusCoordinate"}},
        {"OnCameraVisit",
         {"Timestamp", "EventSequenceNumber", "CameraID", "PositionDescription", "KnowPreset",
          "PresetID", "KnowAbsoluteCoordinates", "PanCoordinate", "TiltCoordinate",
          "ZoomCoordinate", "FocusCoordinate", "EventID", "EventDescription", "Revisiting"}},
        {"OnCameraRoam",
         {"Timestamp", "EventSequenceNumber", "CameraID", "PositionDescription", "KnowPreset",
          "PresetID", "KnowAbsoluteCoordinates", "PanCoordinate", "TiltCoordinate",
          "ZoomCoordinate"}},
        {"OnCameraLocalizeRegistrationPlate",
         {"Timestamp", "EventSequenceNumber", "FuellingPositionID", "CameraID",
          "PositionDescription", "KnowPreset", "PresetID", "KnowAbsoluteCoordinates",
          "PanCoordinate", "TiltCoordinate", "ZoomCoordinate", "FocusCoordinate"}},
    }};

const EventInterface kRetailEvents{
    "org.orvex.IRetailEvents",
    {
        {"OnBeginRetailTransaction",
         {"BeginTimestamp", "EventSequenceNumber", "WorkstationID", "OperatorID",
          "ReceiptTransactionID", "CameraID"}},
        {"OnEndRetailTransaction",
         {"EndTimestamp", "EventSequenceNumber", "WorkstationID", "OperatorID",
          "ReceiptTransactionID", "CameraID"}},
        {"OnCancelRetailTransactionID",
         {"EndTimestamp", "EventSequenceNumber", "WorkstationID", "OperatorID", "CameraID"}},
        {"OnPOSNoSaleTransaction",
         {"Timestamp", "EventSequenceNumber", "WorkstationID", "OperatorID", "CameraID"}},
        {"OnFuelSalesLineItem",
         {"Timestamp", "EventSequenceNumber", "WorkstationID", "GradeID", "GradeDescription",
          "FuellingPositionID", "ExtendedPrice", "RefundFlag", "TaxInclusive", "UnitPrice",
          "Volume", "VehicleRegistrationNumber", "VehicleOdometerReading", "KnowGradeFlag",
          "PrepayFlag", "CameraID"}},
        {"OnMerchandiseLineItem",
         {"Timestamp", "EventSequenceNumber", "WorkstationID", "MerchandiseID", "MerchandiseName",
          "Description", "ExtendedPrice", "MerchandiseReturnFlag", "Quantity", "UnitPrice",
          "TaxInclusive", "CameraID"}},
        {"OnTaxLineItem",
         {"Timestamp", "EventSequenceNumber", "WorkstationID", "Description", "TaxAmount",
          "CameraID"}},
        {"OnSubTotalLineItem",
         {"Timestamp", "EventSequenceNumber", "WorkstationID", "Description", "SubtotalAmount",
          "CameraID"}},
        {"OnTenderLineItem",
         {"Timestamp", "EventSequenceNumber", "WorkstationID", "Description", "TenderAmount",
          "RefundFlag", "MethodOfPayment", "CameraID"}},
        {"OnTenderChangeLineItem",
         {"Timestamp", "EventSequenceNumber", "WorkstationID", "Description", "ChangeAmount",
          "CameraID"}},
        {"OnVoidModifier",
         {"Timestamp", "EventSequenceNumber", "WorkstationID", "Description", "CameraID"}},
        {"OnQuantityModifier",
         {"Timestamp", "EventSequenceNumber", "WorkstationID", "Description", "NewQuantity",
          "CameraID"}},
        {"OnPriceModifier",
         {"Timestamp", "EventSequenceNumber", "WorkstationID", "Description", "NewUnitPrice",
          "CameraID"}},
        {"OnDiscountLineItem",
         {"Timestamp", "EventSequenceNumber", "WorkstationID", "Description", "DiscountAmount",
          "TaxInclusive", "CameraID"}},
    }};

const EventInterface kLicencePlateRecognizerEvents{
    "org.orvex.ILicencePlateRecognizerEvents",
    {
        {"OnRequestImageCapture", {"CameraID"}},
        {"OnRecognizeRegistrationNumber",
         {"Timestamp", "EventSequenceNumber", "FuellingPositionID", "CameraID",
          "NumberOfCharactersRecognized", "VehicleRegistrationNumber", "ConfidenceLevel",
          "ImageTimestamp"}},
    }};

const EventInterface kImageCaptureEvents{
    "org.orvex.IImageCaptureEvents",
    {
        {"OnCapturedFuellingPositionImage",
         {"Timestamp", "EventSequenceNumber", "FuellingPositionID", "CameraID", "ImageTimestamp",
          "ImageFilename", "EventID", "SourceEventTimestamp", "SourceEventSequenceNumber"}},
        {"OnCapturedPaymentTerminalImage",
         {"Timestamp", "EventSequenceNumber", "PaymentTerminalID", "CameraID", "ImageTimestamp",
          "ImageFilename", "EventID", "SourceEventTimestamp", "SourceEventSequenceNumber"}},
        {"OnCapturedWorkstationImage",
         {"Timestamp", "EventSequenceNumber", "WorkstationID", "CameraID", "ImageTimestamp",
          "ImageFilename", "EventID", "SourceEventTimestamp", "SourceEventSequenceNumber"}},
    }};

const EventInterface kOrvexCommsEvents{
    "org.orvex.IOrvexCommsEvents",
    {
        {"Debug", {"debugData"}},
        {"OrvexOnline", {"ver"}},
        {"OrvexOffline", {}},
        {"CommsError", {"reason"}},
        {"SystemDiagnostics",
         {"totalMem", "maxMsgOutstanding", "minSpaceAvailable", "totalLoopTime"}},
        {"TaskDiagnostics", {"msgType", "memUsed", "msgsUsed"}},
        {"ResetCount", {"ResetCount"}},
        {"GotMessage", {"msgType"}},
        {"CameraPosition", {"cameraNum", "pan", "tilt", "zoom"}},
    }};

// The one event the recorder also answers; the camera is its only field.
constexpr std::string_view kImageRequest = "OnRequestImageCapture";

template <typename T> T Read(sdbus::Signal &signal)
{
    T value{};
    signal >> value;
    return value;
}

Field ReadField(sdbus::Signal &signal, const char *name)
{
    std::string type;
    std::string contents;
    signal.peekType(type, contents);
    switch (type.empty() ? '\0' : type.front()) {
    case 's':
        return Text(name, Read<std::string>(signal));
    case 'n':
        return Number(name, Read<std::int16_t>(signal));
    case 'x':
        return Money(name, Read<std::int64_t>(signal));
    case 'd':
        return Decimal(name, Read<double>(signal));
    default:
        return {name, "?"};
    }
}

void PrintEvent(const EventLine &line, sdbus::Signal &signal, EventPrinter &printer)
{
    std::vector<Field> fields;
    fields.reserve(line.fields.size());
    for (const char *name : line.fields)
        fields.push_back(ReadField(signal, name));
    printer.print(line.signal, fields);
    if (line.signal == kImageRequest) {
        signal.rewind(false);
        printer.imageRequested(Read<std::int16_t>(signal));
    }
}

// The subscription to every signal of one event interface at one path.
class EventsPrinter final
{
public:
    EventsPrinter(sdbus::IConnection &connection, const std::string &path,
                  const EventInterface &events, EventPrinter &printer)
        : m_proxy(sdbus::createProxy(connection, kServiceName, path))
    {
        for (const EventLine &line : events.events)
            m_proxy->registerSignalHandler(
                events.name, line.signal,
                [&line, &printer](sdbus::Signal &signal) { PrintEvent(line, signal, printer); });
        m_proxy->finishRegistration();
    }
    ~EventsPrinter() { m_proxy->unregister(); }
    EventsPrinter(const EventsPrinter &) = delete;
    EventsPrinter &operator=(const EventsPrinter &) = delete;

private:
    std::unique_ptr<sdbus::IProxy> m_proxy;
};

std::shared_ptr<void> Subscribe(sdbus::IConnection &connection, const std::string &path,
                                const EventInterface &events, EventPrinter &printer)
{
    return std::make_shared<EventsPrinter>(connection, path, events, printer);
}

} // namespace

std::vector<std::shared_ptr<void>> SubscribeBridgeEvents(sdbus::IConnection &connection,
                                                         const BridgePaths &paths,
                                                         EventPrinter &printer)
{
    return {
        Subscribe(connection, paths.fuelling, kFuellingEvents, printer),
        Subscribe(connection, paths.paymentTerminal, kPaymentTerminalEvents, printer),
        Subscribe(connection, paths.forecourtCamera, kForecourtCameraEvents, printer),
        Subscribe(connection, paths.retail, kRetailEvents, printer),
        Subscribe(connection, paths.licencePlateRecognizer, kLicencePlateRecognizerEvents, printer),
        Subscribe(connection, paths.imageCapture, kImageCaptureEvents, printer)};
}

std::shared_ptr<void> SubscribeCommsEvents(sdbus::IConnection &connection, const std::string &path,
                                           EventPrinter &printer)
{
    return Subscribe(connection, path, kOrvexCommsEvents, printer);
}

} // namespace recorder
