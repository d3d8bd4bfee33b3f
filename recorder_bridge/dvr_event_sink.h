#pragma once
// The bridge's sink for the service's recorder events: each event becomes one message item,
// stamped and numbered, and posted to the parser's queue.
//
// Handlers run on the thread that fires the event and return as soon as the item is posted.
// Pump, payment terminal and camera visit events with an event number above 18 write an error
// line and are dropped. Every handler returns S_OK and never throws; an event that cannot be
// made into an item is dropped.
//
// The service keeps its own reference to the sink, and may still be inside a handler while the
// bridge goes down, so posting goes through a target that Detach() clears under a lock: after
// Detach returns, no handler touches the queue.

#include "interfaces/services/idvr_events.h"
#include "message_item.h"

#include <memory>
#include <mutex>

namespace support {
class QueuedWorkerThread;
}

namespace recorder_bridge {

class DvrEventSink final : public services::IDVREvents
{
public:
    explicit DvrEventSink(support::QueuedWorkerThread *output) : m_output(output) {}

    // Stops posting; waits for a handler that is posting at this moment.
    void Detach();

    HRESULT OnPosMessage(std::int16_t posNum, std::int16_t cameraNum, const std::string &msg) override;
    HRESULT OnPumpEvent(std::int16_t pumpnum, std::int16_t eventNum, std::int16_t cameraNum) override;
    HRESULT OnPumpDeliveryStart(std::int16_t pumpnum, std::int16_t cameraNum) override;
    HRESULT OnPumpDeliveryEnd(std::int16_t pumpnum, std::int16_t nozzlenum, Currency totalPrice, Currency unitPrice,
                              double volume, std::int16_t cameraNum) override;
    HRESULT OnCardRead(std::int16_t PaymentTerminalID, std::int16_t PaymentMediaTypeCode,
                       const std::string &PaymentMediaData) override;
    HRESULT OnPaymentTransactionAuthorized(std::int16_t PaymentTerminalID, std::int16_t FuellingPositionID,
                                           const std::string &HostTransactionID) override;
    HRESULT OnPaymentTransactionCancelled(std::int16_t PaymentTerminalID) override;
    HRESULT OnPrintReceipt(std::int16_t PaymentTerminalID) override;
    HRESULT OnPaymentTerminalEvent(std::int16_t PaymentTerminalID, std::int16_t EventID) override;
    HRESULT OnCameraVisitFuellingPosition(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                          const std::string &PositionDescription, std::int16_t KnowPreset,
                                          std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates,
                                          double PanCoordinate, double TiltCoordinate, double ZoomCoordinate,
                                          double FocusCoordinate, std::int16_t EventID,
                                          std::int16_t Revisiting) override;
    HRESULT OnCameraVisitPaymentTerminal(std::int16_t PaymentTerminalID, std::int16_t CameraID,
                                         const std::string &PositionDescription, std::int16_t KnowPreset,
                                         std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates,
                                         double PanCoordinate, double TiltCoordinate, double ZoomCoordinate,
                                         double FocusCoordinate, std::int16_t EventID,
                                         std::int16_t Revisiting) override;
    HRESULT OnCameraLeavePosition(std::int16_t CameraID, const std::string &PositionDescription,
                                  std::int16_t KnowPreset, std::int16_t PresetID,
                                  std::int16_t KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate,
                                  double ZoomCoordinate, double FocusCoordinate) override;
    HRESULT OnCameraVisitWorkstation(const std::string &WorkstationID, std::int16_t CameraID,
                                     const std::string &PositionDescription, std::int16_t KnowPreset,
                                     std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates,
                                     double PanCoordinate, double TiltCoordinate, double ZoomCoordinate,
                                     double FocusCoordinate) override;
    HRESULT OnCameraVisit(std::int16_t CameraID, const std::string &PositionDescription, std::int16_t KnowPreset,
                          std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
                          double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate,
                          std::int16_t EventID, std::int16_t Revisiting) override;
    HRESULT OnCameraRoam(std::int16_t CameraID, const std::string &PositionDescription, std::int16_t KnowPreset,
                         std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates, double PanCoordinate,
                         double TiltCoordinate, double ZoomCoordinate) override;
    HRESULT OnCameraLocalizeRegistrationPlate(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                              const std::string &PositionDescription, std::int16_t KnowPreset,
                                              std::int16_t PresetID, std::int16_t KnowAbsoluteCoordinates,
                                              double PanCoordinate, double TiltCoordinate, double ZoomCoordinate,
                                              double FocusCoordinate) override;
    HRESULT OnRecognizeRegistrationNumber(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                          std::int16_t NumberOfCharactersRecognized,
                                          const std::string &VehicleRegistrationNumber,
                                          const std::string &ConfidenceLevel,
                                          const std::string &ImageTimestamp) override;
    HRESULT OnRequestImageCapture(std::int16_t CameraID) override;
    HRESULT OnCapturedFuellingPositionImage(std::int16_t FuellingPositionID, std::int16_t CameraID,
                                            const std::string &ImageTimestamp, const std::string &ImageFilename,
                                            std::int16_t EventID, const std::string &SourceEventTimestamp,
                                            std::int16_t SourceEventSequenceNumber) override;
    HRESULT OnCapturedPaymentTerminalImage(std::int16_t PaymentTerminalID, std::int16_t CameraID,
                                           const std::string &ImageTimestamp, const std::string &ImageFilename,
                                           std::int16_t EventID, const std::string &SourceEventTimestamp,
                                           std::int16_t SourceEventSequenceNumber) override;
    HRESULT OnCapturedWorkstationImage(const std::string &WorkstationID, std::int16_t CameraID,
                                       const std::string &ImageTimestamp, const std::string &ImageFilename,
                                       std::int16_t EventID, const std::string &SourceEventTimestamp,
                                       std::int16_t SourceEventSequenceNumber) override;

private:
    // Makes an item of `type`, lets `fill` set its fields and posts it. False when the item could
    // not be made or posted (it is then deleted).
    template <typename Fill>
    bool Emit(ItemType type, Fill &&fill);
    bool Post(std::unique_ptr<MessageItem> item);

    std::mutex m_mutex;
    support::QueuedWorkerThread *m_output;
};

} // namespace recorder_bridge
