#pragma once
// The text each recorder event adds to the transactions log: one function per event of the
// bridge's five event families, taking the event's arguments in the bus's order and types
// (16-bit numbers as short, money as its value times 10,000, doubles as double) and returning
// the pieces the log appends, in order. Most events are one piece, a line ending in "\n"; the
// fuelling-position visit, the fuel sale and the merchandise item are several pieces, which the
// log takes as one event and never cuts apart.
//
// Texts are inserted as received, unquoted and untrimmed; P stands for the timestamp followed
// by the signed-number text of the sequence number. Arguments the lines do not show are taken
// and ignored, so each function can be connected to its signal as it stands.
//
// Pure functions; any thread; they never fail.

#include <QString>
#include <QStringList>

namespace monitor {

class EventLineFormatter
{
public:
    // fuelling (org.orvex.IFuellingEvents)
    [[nodiscard]] static QStringList OnStartFuelDelivery(const QString &Timestamp,
                                                         short EventSequenceNumber,
                                                         short FuellingPositionID, short EventID,
                                                         const QString &EventDescription,
                                                         short CameraID);
    [[nodiscard]] static QStringList
    OnFuellingEvent(const QString &Timestamp, short EventSequenceNumber, short FuellingPositionID,
                    short EventID, const QString &EventDescription, short CameraID);
    [[nodiscard]] static QStringList
    OnFinishFuelDelivery(const QString &Timestamp, short EventSequenceNumber,
                         short FuellingPositionID, short EventID, const QString &EventDescription,
                         short NozzleID, qlonglong TotalPrice, qlonglong UnitPrice, double Volume,
                         const QString &GradeName, short PaymentMode, short CameraID);
    // forecourt cameras (org.orvex.IForecourtCameraEvents)
    [[nodiscard]] static QStringList OnCameraVisitFuellingPosition(
        const QString &Timestamp, short EventSequenceNumber, short FuellingPositionID,
        short CameraID, const QString &PositionDescription, short KnowPreset, short PresetID,
        short KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate,
        double ZoomCoordinate, double FocusCoordinate, short EventID, const QString &Description,
        short Revisiting);
    [[nodiscard]] static QStringList OnCameraVisitPaymentTerminal(
        const QString &Timestamp, short EventSequenceNumber, short PaymentTerminalID,
        short CameraID, const QString &PositionDescription, short KnowPreset, short PresetID,
        short KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate,
        double ZoomCoordinate, double FocusCoordinate, short EventID,
        const QString &EventDescription, short Revisiting);
    [[nodiscard]] static QStringList
    OnCameraLeavePosition(const QString &Timestamp, short EventSequenceNumber, short CameraID,
                          const QString &PositionDescription, short KnowPreset, short PresetID,
                          short KnowAbsoluteCoordinates, double PanCoordinate,
                          double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate);
    [[nodiscard]] static QStringList
    OnCameraVisitWorkstation(const QString &Timestamp, short EventSequenceNumber,
                             const QString &WorkstationID, short CameraID,
                             const QString &PositionDescription, short KnowPreset, short PresetID,
                             short KnowAbsoluteCoordinates, double PanCoordinate,
                             double TiltCoordinate, double ZoomCoordinate, double FocusCoordinate);
    [[nodiscard]] static QStringList
    OnCameraVisit(const QString &Timestamp, short EventSequenceNumber, short CameraID,
                  const QString &PositionDescription, short KnowPreset, short PresetID,
                  short KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate,
                  double ZoomCoordinate, double FocusCoordinate, short EventID,
                  const QString &EventDescription, short Revisiting);
    [[nodiscard]] static QStringList
    OnCameraRoam(const QString &Timestamp, short EventSequenceNumber, short CameraID,
                 const QString &PositionDescription, short KnowPreset, short PresetID,
                 short KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate,
                 double ZoomCoordinate);
    [[nodiscard]] static QStringList OnCameraLocalizeRegistrationPlate(
        const QString &Timestamp, short EventSequenceNumber, short FuellingPositionID,
        short CameraID, const QString &PositionDescription, short KnowPreset, short PresetID,
        short KnowAbsoluteCoordinates, double PanCoordinate, double TiltCoordinate,
        double ZoomCoordinate, double FocusCoordinate);
    // payment terminals (org.orvex.IPaymentTerminalEvents)
    [[nodiscard]] static QStringList OnCardRead(const QString &Timestamp, short EventSequenceNumber,
                                                short PaymentTerminalID, short PaymentMediaTypeCode,
                                                const QString &PaymentMediaData);
    [[nodiscard]] static QStringList
    OnPaymentTransactionAuthorized(const QString &Timestamp, short EventSequenceNumber,
                                   short PaymentTerminalID, short FuellingPositionID,
                                   const QString &HostTransactionID);
    [[nodiscard]] static QStringList OnPaymentTransactionCancelled(const QString &Timestamp,
                                                                   short EventSequenceNumber,
                                                                   short PaymentTerminalID);
    [[nodiscard]] static QStringList
    OnPrintReceipt(const QString &Timestamp, short EventSequenceNumber, short PaymentTerminalID);
    [[nodiscard]] static QStringList OnPaymentTerminalEvent(const QString &Timestamp,
                                                            short EventSequenceNumber,
                                                            short PaymentTerminalID, short EventID,
                                                            const QString &EventDescription);
    // retail (org.orvex.IRetailEvents)
    [[nodiscard]] static QStringList
    OnBeginRetailTransaction(const QString &BeginTimestamp, short EventSequenceNumber,
                             const QString &WorkstationID, const QString &OperatorID,
                             const QString &ReceiptTransactionID, short CameraID);
    [[nodiscard]] static QStringList
    OnEndRetailTransaction(const QString &EndTimestamp, short EventSequenceNumber,
                           const QString &WorkstationID, const QString &OperatorID,
                           const QString &ReceiptTransactionID, short CameraID);
    [[nodiscard]] static QStringList OnCancelRetailTransactionID(const QString &EndTimestamp,
                                                                 short EventSequenceNumber,
                                                                 const QString &WorkstationID,
                                                                 const QString &OperatorID,
                                                                 short CameraID);
    [[nodiscard]] static QStringList
    OnPOSNoSaleTransaction(const QString &Timestamp, short EventSequenceNumber,
                           const QString &WorkstationID, const QString &OperatorID, short CameraID);
    [[nodiscard]] static QStringList OnFuelSalesLineItem(
        const QString &Timestamp, short EventSequenceNumber, const QString &WorkstationID,
        short GradeID, const QString &GradeDescription, short FuellingPositionID,
        qlonglong ExtendedPrice, short RefundFlag, short TaxInclusive, qlonglong UnitPrice,
        double Volume, const QString &VehicleRegistrationNumber,
        const QString &VehicleOdometerReading, short KnowGradeFlag, short PrepayFlag,
        short CameraID);
    [[nodiscard]] static QStringList
    OnMerchandiseLineItem(const QString &Timestamp, short EventSequenceNumber,
                          const QString &WorkstationID, const QString &MerchandiseID,
                          const QString &MerchandiseName, const QString &Description,
                          qlonglong ExtendedPrice, short MerchandiseReturnFlag, double Quantity,
                          qlonglong UnitPrice, short TaxInclusive, short CameraID);
    [[nodiscard]] static QStringList
    OnTaxLineItem(const QString &Timestamp, short EventSequenceNumber, const QString &WorkstationID,
                  const QString &Description, qlonglong TaxAmount, short CameraID);
    [[nodiscard]] static QStringList OnSubTotalLineItem(const QString &Timestamp,
                                                        short EventSequenceNumber,
                                                        const QString &WorkstationID,
                                                        const QString &Description,
                                                        qlonglong SubtotalAmount, short CameraID);
    [[nodiscard]] static QStringList
    OnTenderLineItem(const QString &Timestamp, short EventSequenceNumber,
                     const QString &WorkstationID, const QString &Description,
                     qlonglong TenderAmount, short RefundFlag, const QString &MethodOfPayment,
                     short CameraID);
    [[nodiscard]] static QStringList OnTenderChangeLineItem(const QString &Timestamp,
                                                            short EventSequenceNumber,
                                                            const QString &WorkstationID,
                                                            const QString &Description,
                                                            qlonglong ChangeAmount, short CameraID);
    [[nodiscard]] static QStringList OnVoidModifier(const QString &Timestamp,
                                                    short EventSequenceNumber,
                                                    const QString &WorkstationID,
                                                    const QString &Description, short CameraID);
    [[nodiscard]] static QStringList OnQuantityModifier(const QString &Timestamp,
                                                        short EventSequenceNumber,
                                                        const QString &WorkstationID,
                                                        const QString &Description,
                                                        qlonglong NewQuantity, short CameraID);
    [[nodiscard]] static QStringList OnPriceModifier(const QString &Timestamp,
                                                     short EventSequenceNumber,
                                                     const QString &WorkstationID,
                                                     const QString &Description,
                                                     qlonglong NewUnitPrice, short CameraID);
    [[nodiscard]] static QStringList
    OnDiscountLineItem(const QString &Timestamp, short EventSequenceNumber,
                       const QString &WorkstationID, const QString &Description,
                       qlonglong DiscountAmount, short TaxInclusive, short CameraID);
    // licence plates (org.orvex.ILicencePlateRecognizerEvents)
    [[nodiscard]] static QStringList OnRequestImageCapture(short CameraID);
    [[nodiscard]] static QStringList
    OnRecognizeRegistrationNumber(const QString &Timestamp, short EventSequenceNumber,
                                  short FuellingPositionID, short CameraID,
                                  short NumberOfCharactersRecognized,
                                  const QString &VehicleRegistrationNumber,
                                  const QString &ConfidenceLevel, const QString &ImageTimestamp);
};

} // namespace monitor
