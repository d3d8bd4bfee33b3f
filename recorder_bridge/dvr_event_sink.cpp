#include "dvr_event_sink.h"

#include "event_names.h"
#include "support/queued_worker_thread.h"
#include "support/trace_log.h"

#include <exception>

namespace recorder_bridge {

namespace {

// Text arguments are copied up to their first NUL, as the service's strings end there.
std::string TextArg(const std::string &text) { return std::string(text.c_str()); }

// A refused event number writes the handler's error line.
bool CheckEventNumber(std::int16_t eventNumber, const char *errorLine)
{
    if (IsKnownEventNumber(eventNumber))
        return true;
    support::TraceError("%s", errorLine);
    return false;
}

void FillCamera(MessageItem &item, std::int16_t cameraId, const std::string &position, std::int16_t knowPreset,
                std::int16_t presetId, std::int16_t knowAbsolute, double pan, double tilt, double zoom)
{
    item.CameraID = cameraId;
    item.PositionDescription = TextArg(position);
    item.KnowPreset = knowPreset;
    item.PresetID = presetId;
    item.KnowAbsoluteCoordinates = knowAbsolute;
    item.PanCoordinate = pan;
    item.TiltCoordinate = tilt;
    item.ZoomCoordinate = zoom;
}

void FillImage(MessageItem &item, std::int16_t cameraId, const std::string &imageTimestamp,
               const std::string &imageFilename, std::int16_t eventId, const std::string &sourceTimestamp,
               std::int16_t sourceSequence)
{
    item.CameraID = cameraId;
    item.ImageTimestamp = TextArg(imageTimestamp);
    item.ImageFilename = TextArg(imageFilename);
    item.EventID = eventId;
    item.SourceEventTimestamp = TextArg(sourceTimestamp);
    item.SourceEventSequenceNumber = sourceSequence;
}

void FillEvent(MessageItem &item, std::int16_t eventId)
{
    item.EventID = eventId;
    item.EventDescription = std::string(EventDescription(eventId));
}

} // namespace

void DvrEventSink::Detach()
{
    std::lock_guard lock(m_mutex);
    m_output = nullptr;
}

bool DvrEventSink::Post(std::unique_ptr<MessageItem> item)
{
    std::unique_ptr<support::QueueItem> queued = std::move(item);
    std::lock_guard lock(m_mutex);
    return m_output && m_output->Post(queued);
}

template <typename Fill>
bool DvrEventSink::Emit(ItemType type, Fill &&fill)
{
    try {
        auto item = std::make_unique<MessageItem>(type);
        fill(*item);
        return Post(std::move(item));
    } catch (const std::exception &) {
        return false; // out of memory: the event is dropped
    }
}

HRESULT DvrEventSink::OnPosMessage(std::int16_t posNum, std::int16_t cameraNum, const std::string &msg)
{
    support::TraceInfo("Input POS Message");
    Emit(ItemType::PosMessage, [&](MessageItem &item) {
        item.Text = TextArg(msg);
        item.PosNumber = posNum;
        item.CameraID = cameraNum;
    });
    return S_OK;
}

HRESULT DvrEventSink::OnPumpEvent(std::int16_t pumpnum, std::int16_t eventNum, std::int16_t cameraNum)
{
    support::TraceInfo("Input Pump event: Pump %d, event %d", pumpnum, eventNum);
    if (!CheckEventNumber(eventNum, "Invalid Event ID in OnPumpEvent"))
        return S_OK;
    Emit(ItemType::PumpEvent, [&](MessageItem &item) {
        item.FuellingPositionID = pumpnum;
        FillEvent(item, eventNum);
        item.CameraID = cameraNum;
    });
    return S_OK;
}

HRESULT DvrEventSink::OnPumpDeliveryStart(std::int16_t pumpnum, std::int16_t cameraNum)
{
    support::TraceInfo("Input Pump Delivery Start");
    Emit(ItemType::PumpDeliveryStart, [&](MessageItem &item) {
        item.FuellingPositionID = pumpnum;
        FillEvent(item, 4);
        item.CameraID = cameraNum;
    });
    return S_OK;
}

HRESULT DvrEventSink::OnPumpDeliveryEnd(std::int16_t pumpnum, std::int16_t nozzlenum, Currency totalPrice,
                                        Currency unitPrice, double volume, std::int16_t cameraNum)
{
    support::TraceInfo("Input Pump Delivery End");
    // EventID, EventDescription and GradeName stay empty: the fuelling object supplies the
    // event's own.
    Emit(ItemType::PumpDeliveryEnd, [&](MessageItem &item) {
        item.FuellingPositionID = pumpnum;
        item.NozzleID = nozzlenum;
        item.TotalPrice = totalPrice;
        item.UnitPrice = unitPrice;
        item.Volume = volume;
        item.PaymentMode = 0;
        item.CameraID = cameraNum;
    });
    return S_OK;
}

HRESULT DvrEventSink::OnCardRead(std::int16_t PaymentTerminalID, std::int16_t PaymentMediaTypeCode,
                                 const std::string &PaymentMediaData)
{
    support::TraceInfo("Input Card Read");
    Emit(ItemType::CardRead, [&](MessageItem &item) {
        item.PaymentTerminalID = PaymentTerminalID;
        item.PaymentMediaTypeCode = PaymentMediaTypeCode;
        item.PaymentMediaData = TextArg(PaymentMediaData);
    });
    return S_OK;
}

HRESULT DvrEventSink::OnPaymentTransactionAuthorized(std::int16_t PaymentTerminalID, std::int16_t FuellingPositionID,
                                                     const std::string &HostTransactionID)
{
    support::TraceInfo("Input Payment Txn Auth");
    Emit(ItemType::PaymentTransactionAuthorized, [&](MessageItem &item) {
        item.PaymentTerminalID = PaymentTerminalID;
        item.FuellingPositionID = FuellingPositionID;
        item.HostTransactionID = TextArg(HostTransactionID);
    });
    return S_OK;
}

HRESULT DvrEventSink::OnPaymentTransactionCancelled(std::int16_t PaymentTerminalID)
{
    support::TraceInfo("Input Payment Txn Cancelled");
    Emit(ItemType::PaymentTransactionCancelled,
         [&](MessageItem &item) { item.PaymentTerminalID = PaymentTerminalID; });
    return S_OK;
}

HRESULT DvrEventSink::OnPrintReceipt(std::int16_t PaymentTerminalID)
{
    support::TraceInfo("Input Print Receipt");
    Emit(ItemType::PrintReceipt, [&](MessageItem &item) { item.PaymentTerminalID = PaymentTerminalID; });
    return S_OK;
}

HRESULT DvrEventSink::OnPaymentTerminalEvent(std::int16_t PaymentTerminalID, std::int16_t EventID)
{
    support::TraceInfo("Input Payment Terminal Event");
    if (!CheckEventNumber(EventID, "Invalid Event ID in OnPaymentTerminalEvent"))
        return S_OK;
    Emit(ItemType::PaymentTerminalEvent, [&](MessageItem &item) {
        item.PaymentTerminalID = PaymentTerminalID;
        FillEvent(item, EventID);
    });
    return S_OK;
}

HRESULT DvrEventSink::OnCameraVisitFuellingPosition(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                                    const std::string &PositionDescription, std::int16_t KnowPreset,
                                                    std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates,
                                                    double PanCoordinate, double TiltCoordinate,
                                                    double ZoomCoordinate, double FocusCoordinate,
                                                    std::int16_t EventID, std::int16_t Revisiting)
{
    // This handler checks first and reports its post, unlike the others.
    if (!CheckEventNumber(EventID, "Invalid Event ID in OnCameraVisitFuellingPosition"))
        return S_OK;
    const std::string position = TextArg(PositionDescription);
    support::TraceInfo("Input Cam Visit Fuelling Position: Pump %d, Cam %d, Event %d, Position %s, KnowPreset %d, "
                       "Preset %d, Revisiting %d",
                       FuellingPositionID, CameraID, EventID, position.c_str(), KnowPreset, PresetID, Revisiting);
    std::unique_ptr<MessageItem> item;
    try {
        item = std::make_unique<MessageItem>(ItemType::CameraVisitFuellingPosition);
        FillCamera(*item, CameraID, position, KnowPreset, PresetID, KnowAbsoluteCoordinates, PanCoordinate,
                   TiltCoordinate, ZoomCoordinate);
        item->FocusCoordinate = FocusCoordinate;
        item->FuellingPositionID = FuellingPositionID;
        item->EventID = EventID;
        support::TraceInfo("Event ID is %d in OnCameraVisitFuellingPosition", EventID);
        item->EventDescription = std::string(EventDescription(EventID));
        item->Revisiting = Revisiting;
    } catch (const std::exception &) {
        return S_OK; // out of memory: the event is dropped
    }
    try {
        if (Post(std::move(item)))
            support::TraceDebug("Pushed item onto Parser Thread.");
        else
            support::TraceError("Error pushing Item onto Parser Thread!");
    } catch (...) {
        support::TraceError("Error caught when trying to push item onto Parser thread.");
    }
    return S_OK;
}

HRESULT DvrEventSink::OnCameraVisitPaymentTerminal(std::int16_t PaymentTerminalID, std::int16_t CameraID,
                                                   const std::string &PositionDescription, std::int16_t KnowPreset,
                                                   std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates,
                                                   double PanCoordinate, double TiltCoordinate,
                                                   double ZoomCoordinate, double FocusCoordinate,
                                                   std::int16_t EventID, std::int16_t Revisiting)
{
    support::TraceInfo("Input Camera Visit Payment Terminal");
    if (!CheckEventNumber(EventID, "Invalid Event ID in OnCameraVisitPaymentTerminal"))
        return S_OK;
    Emit(ItemType::CameraVisitPaymentTerminal, [&](MessageItem &item) {
        FillCamera(item, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates,
                   PanCoordinate, TiltCoordinate, ZoomCoordinate);
        item.FocusCoordinate = FocusCoordinate;
        item.PaymentTerminalID = PaymentTerminalID;
        FillEvent(item, EventID);
        item.Revisiting = Revisiting;
    });
    return S_OK;
}

HRESULT DvrEventSink::OnCameraLeavePosition(std::int16_t CameraID, const std::string &PositionDescription,
                                            std::int16_t KnowPreset, std::int16_t PresetID,
                                            std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
                                            double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate)
{
    support::TraceInfo("Input Camera Leave");
    Emit(ItemType::CameraLeavePosition, [&](MessageItem &item) {
        FillCamera(item, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates,
                   PanCoordinate, TiltCoordinate, ZoomCoordinate);
        item.FocusCoordinate = FocusCoordinate;
    });
    return S_OK;
}

HRESULT DvrEventSink::OnCameraVisitWorkstation(const std::string &WorkstationID, std::int16_t CameraID,
                                               const std::string &PositionDescription, std::int16_t KnowPreset,
                                               std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates,
                                               double PanCoordinate, double TiltCoordinate, double ZoomCoordinate,
                                               double FocusCoordinate)
{
    support::TraceInfo("Input Camera Visit Workstation");
    Emit(ItemType::CameraVisitWorkstation, [&](MessageItem &item) {
        FillCamera(item, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates,
                   PanCoordinate, TiltCoordinate, ZoomCoordinate);
        item.FocusCoordinate = FocusCoordinate;
        item.WorkstationID = TextArg(WorkstationID);
    });
    return S_OK;
}

HRESULT DvrEventSink::OnCameraVisit(std::int16_t CameraID, const std::string &PositionDescription,
                                    std::int16_t KnowPreset, std::int16_t PresetID,
                                    std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
                                    double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate,
                                    std::int16_t EventID, std::int16_t Revisiting)
{
    support::TraceInfo("Input Cam Visit: Cam %d, Event %d", CameraID, EventID);
    if (!CheckEventNumber(EventID, "Invalid Event ID in OnCameraVisit"))
        return S_OK;
    Emit(ItemType::CameraVisit, [&](MessageItem &item) {
        FillCamera(item, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates,
                   PanCoordinate, TiltCoordinate, ZoomCoordinate);
        item.FocusCoordinate = FocusCoordinate;
        FillEvent(item, EventID);
        item.Revisiting = Revisiting;
    });
    return S_OK;
}

HRESULT DvrEventSink::OnCameraRoam(std::int16_t CameraID, const std::string &PositionDescription,
                                   std::int16_t KnowPreset, std::int16_t PresetID,
                                   std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate,
                                   double ZoomCoordinate)
{
    support::TraceInfo("Input Cam Roam: Cam %d, Position %s", CameraID, TextArg(PositionDescription).c_str());
    Emit(ItemType::CameraRoam, [&](MessageItem &item) {
        FillCamera(item, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates,
                   PanCoordinate, TiltCoordinate, ZoomCoordinate);
    });
    return S_OK;
}

HRESULT DvrEventSink::OnCameraLocalizeRegistrationPlate(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                                        const std::string &PositionDescription,
                                                        std::int16_t KnowPreset, std::int16_t PresetID,
                                                        std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
                                                        double TiltCoordinate, double ZoomCoordinate,
                                                        double FocusCoordinate)
{
    support::TraceInfo("Input Camera Localize Plate");
    Emit(ItemType::CameraLocalizeRegistrationPlate, [&](MessageItem &item) {
        FillCamera(item, CameraID, PositionDescription, KnowPreset, PresetID, KnowAbsoluteCoordinates,
                   PanCoordinate, TiltCoordinate, ZoomCoordinate);
        item.FocusCoordinate = FocusCoordinate;
        item.FuellingPositionID = FuellingPositionID;
    });
    return S_OK;
}

HRESULT DvrEventSink::OnRecognizeRegistrationNumber(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                                    std::int16_t NumberOfCharactersRecognized,
                                                    const std::string &VehicleRegistrationNumber,
                                                    const std::string &ConfidenceLevel,
                                                    const std::string &ImageTimestamp)
{
    support::TraceInfo("Input Recognize Rego");
    Emit(ItemType::RecognizeRegistrationNumber, [&](MessageItem &item) {
        item.FuellingPositionID = FuellingPositionID;
        item.CameraID = CameraID;
        item.NumberOfCharactersRecognized = NumberOfCharactersRecognized;
        item.VehicleRegistrationNumber = TextArg(VehicleRegistrationNumber);
        item.ConfidenceLevel = TextArg(ConfidenceLevel);
        item.ImageTimestamp = TextArg(ImageTimestamp);
    });
    return S_OK;
}

HRESULT DvrEventSink::OnRequestImageCapture(std::int16_t CameraID)
{
    support::TraceInfo("Input Request Image Capture");
    Emit(ItemType::RequestImageCapture, [&](MessageItem &item) { item.CameraID = CameraID; });
    return S_OK;
}

HRESULT DvrEventSink::OnCapturedFuellingPositionImage(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                                      const std::string &ImageTimestamp,
                                                      const std::string &ImageFilename, std::int16_t EventID,
                                                      const std::string &SourceEventTimestamp,
                                                      std::int16_t SourceEventSequenceNumber)
{
    support::TraceInfo("Input Captured Fuelling Image");
    Emit(ItemType::CapturedFuellingPositionImage, [&](MessageItem &item) {
        FillImage(item, CameraID, ImageTimestamp, ImageFilename, EventID, SourceEventTimestamp,
                  SourceEventSequenceNumber);
        item.FuellingPositionID = FuellingPositionID;
    });
    return S_OK;
}

HRESULT DvrEventSink::OnCapturedPaymentTerminalImage(std::int16_t PaymentTerminalID, std::int16_t CameraID,
                                                     const std::string &ImageTimestamp,
                                                     const std::string &ImageFilename, std::int16_t EventID,
                                                     const std::string &SourceEventTimestamp,
                                                     std::int16_t SourceEventSequenceNumber)
{
    support::TraceInfo("Input Captured CRIND Image");
    Emit(ItemType::CapturedPaymentTerminalImage, [&](MessageItem &item) {
        FillImage(item, CameraID, ImageTimestamp, ImageFilename, EventID, SourceEventTimestamp,
                  SourceEventSequenceNumber);
        item.PaymentTerminalID = PaymentTerminalID;
    });
    return S_OK;
}

HRESULT DvrEventSink::OnCapturedWorkstationImage(const std::string &WorkstationID, std::int16_t CameraID,
                                                 const std::string &ImageTimestamp, const std::string &ImageFilename,
                                                 std::int16_t EventID, const std::string &SourceEventTimestamp,
                                                 std::int16_t SourceEventSequenceNumber)
{
    support::TraceInfo("Input Captured POS Image");
    Emit(ItemType::CapturedWorkstationImage, [&](MessageItem &item) {
        FillImage(item, CameraID, ImageTimestamp, ImageFilename, EventID, SourceEventTimestamp,
                  SourceEventSequenceNumber);
        item.WorkstationID = TextArg(WorkstationID);
    });
    return S_OK;
}

} // namespace recorder_bridge
