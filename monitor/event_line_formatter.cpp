#include "event_line_formatter.h"

#include "signed_number_text.h"

namespace monitor {

namespace {

const QString LF = QStringLiteral("\n");

QString N(short value)
{
    return SignedNumberText(static_cast<std::int16_t>(value));
}

QString N(double value)
{
    return SignedNumberText(value);
}

// Money travels as its value times 10,000.
QString Money(qlonglong scaled)
{
    return SignedNumberText(Currency{scaled});
}

// The timestamp, then the sequence number right after it ("12:00:01 7", "12:00:01-2").
QString P(const QString &timestamp, short sequence)
{
    return timestamp + N(sequence);
}

QString pump(const QString &ts, short seq, short pumpId, const QString &description, short camera)
{
    return P(ts, seq) + QStringLiteral(" : Pump") + N(pumpId) + QLatin1Char(' ') + description
           + QStringLiteral(" - Camera") + N(camera);
}

QString camera(const QString &ts, short seq, short cameraId)
{
    return P(ts, seq) + QStringLiteral(" : Camera") + N(cameraId);
}

QString crind(const QString &ts, short seq, short terminal)
{
    return P(ts, seq) + QStringLiteral(" : CRIND") + N(terminal);
}

// "... on POS <workstation>, Camera N"
QString onPos(const QString &ts, short seq, const QString &what, const QString &workstation,
              short cameraId)
{
    return P(ts, seq) + QStringLiteral(" : ") + what + QStringLiteral(" on POS ") + workstation
           + QStringLiteral(", Camera") + N(cameraId);
}

// "P : POS <workstation>, Camera N"
QString posItem(const QString &ts, short seq, const QString &workstation, short cameraId)
{
    return P(ts, seq) + QStringLiteral(" : POS ") + workstation + QStringLiteral(", Camera")
           + N(cameraId);
}

// The begin and end of a retail transaction differ only in their first word.
QStringList transactionLine(const QString &ts, short seq, const QString &what,
                            const QString &workstation, const QString &operatorId,
                            const QString &receipt, short cameraId)
{
    return {onPos(ts, seq, what, workstation, cameraId) + QStringLiteral(", With Operator ID ")
            + operatorId + QStringLiteral(", Txn ID ") + receipt + LF};
}

QStringList amountLine(const QString &ts, short seq, const QString &workstation,
                       const QString &description, qlonglong amount, short cameraId)
{
    return {posItem(ts, seq, workstation, cameraId) + QStringLiteral(" - ") + description
            + QStringLiteral(" $") + Money(amount) + LF};
}

} // namespace

// ---- fuelling ----

QStringList EventLineFormatter::OnStartFuelDelivery(const QString &Timestamp,
                                                    short EventSequenceNumber,
                                                    short FuellingPositionID, short,
                                                    const QString &EventDescription, short CameraID)
{
    return {pump(Timestamp, EventSequenceNumber, FuellingPositionID, EventDescription, CameraID)
            + LF};
}

QStringList EventLineFormatter::OnFuellingEvent(const QString &Timestamp, short EventSequenceNumber,
                                                short FuellingPositionID, short EventID,
                                                const QString &EventDescription, short CameraID)
{
    return OnStartFuelDelivery(Timestamp, EventSequenceNumber, FuellingPositionID, EventID,
                               EventDescription, CameraID);
}

QStringList EventLineFormatter::OnFinishFuelDelivery(
    const QString &Timestamp, short EventSequenceNumber, short FuellingPositionID, short,
    const QString &EventDescription, short NozzleID, qlonglong TotalPrice, qlonglong UnitPrice,
    double Volume, const QString &, short, short CameraID)
{
    return {pump(Timestamp, EventSequenceNumber, FuellingPositionID, EventDescription, CameraID)
            + QStringLiteral(" -- Nozzle") + N(NozzleID) + QStringLiteral(",  $")
            + Money(TotalPrice) + QStringLiteral(",  $") + Money(UnitPrice) + QStringLiteral(",  ")
            + N(Volume) + LF};
}

// ---- forecourt camera ----

QStringList EventLineFormatter::OnCameraVisitFuellingPosition(
    const QString &Timestamp, short EventSequenceNumber, short FuellingPositionID, short CameraID,
    const QString &, short, short, short, double, double, double, double, short,
    const QString &Description, short Revisiting)
{
    return {camera(Timestamp, EventSequenceNumber, CameraID),
            (Revisiting != 0 ? QStringLiteral(" Revisiting Pump") : QStringLiteral(" Move to Pump"))
                + N(FuellingPositionID) + QStringLiteral(" - ") + Description + LF};
}

QStringList EventLineFormatter::OnCameraVisitPaymentTerminal(
    const QString &Timestamp, short EventSequenceNumber, short PaymentTerminalID, short CameraID,
    const QString &, short, short, short, double, double, double, double, short,
    const QString &EventDescription, short)
{
    return {camera(Timestamp, EventSequenceNumber, CameraID) + QStringLiteral(" Move to CRIND")
            + N(PaymentTerminalID) + QStringLiteral(" - ") + EventDescription + LF};
}

QStringList EventLineFormatter::OnCameraLeavePosition(const QString &Timestamp,
                                                      short EventSequenceNumber, short CameraID,
                                                      const QString &PositionDescription, short,
                                                      short, short, double, double, double, double)
{
    return {camera(Timestamp, EventSequenceNumber, CameraID) + QStringLiteral(" Leaving ")
            + PositionDescription + LF};
}

QStringList EventLineFormatter::OnCameraVisitWorkstation(
    const QString &Timestamp, short EventSequenceNumber, const QString &WorkstationID,
    short CameraID, const QString &, short, short, short, double, double, double, double)
{
    return {camera(Timestamp, EventSequenceNumber, CameraID) + QStringLiteral(" Move to POS")
            + SignedNumberText(WorkstationID) + LF};
}

QStringList EventLineFormatter::OnCameraVisit(const QString &Timestamp, short EventSequenceNumber,
                                              short CameraID, const QString &PositionDescription,
                                              short, short, short, double, double, double, double,
                                              short, const QString &EventDescription, short)
{
    return {camera(Timestamp, EventSequenceNumber, CameraID) + QStringLiteral(" Move to ")
            + PositionDescription + QStringLiteral(" - ") + EventDescription + LF};
}

QStringList EventLineFormatter::OnCameraRoam(const QString &Timestamp, short EventSequenceNumber,
                                             short CameraID, const QString &PositionDescription,
                                             short, short, short, double, double, double)
{
    return {camera(Timestamp, EventSequenceNumber, CameraID) + QStringLiteral(" Roam to ")
            + PositionDescription + LF};
}

QStringList EventLineFormatter::OnCameraLocalizeRegistrationPlate(
    const QString &Timestamp, short EventSequenceNumber, short FuellingPositionID, short CameraID,
    const QString &, short, short, short, double, double, double, double)
{
    return {camera(Timestamp, EventSequenceNumber, CameraID)
            + QStringLiteral(" Move to Registration Plate at Pump") + N(FuellingPositionID) + LF};
}

// ---- payment terminals ----

QStringList EventLineFormatter::OnCardRead(const QString &Timestamp, short EventSequenceNumber,
                                           short PaymentTerminalID, short, const QString &)
{
    return {crind(Timestamp, EventSequenceNumber, PaymentTerminalID) + QStringLiteral(" Card Read")
            + LF};
}

QStringList EventLineFormatter::OnPaymentTransactionAuthorized(const QString &Timestamp,
                                                               short EventSequenceNumber,
                                                               short PaymentTerminalID,
                                                               short FuellingPositionID,
                                                               const QString &)
{
    return {crind(Timestamp, EventSequenceNumber, PaymentTerminalID)
            + QStringLiteral(" Transaction Authorised on Pump") + N(FuellingPositionID) + LF};
}

QStringList EventLineFormatter::OnPaymentTransactionCancelled(const QString &Timestamp,
                                                              short EventSequenceNumber,
                                                              short PaymentTerminalID)
{
    return {crind(Timestamp, EventSequenceNumber, PaymentTerminalID)
            + QStringLiteral(" Transaction Cancelled") + LF};
}

QStringList EventLineFormatter::OnPrintReceipt(const QString &Timestamp, short EventSequenceNumber,
                                               short PaymentTerminalID)
{
    return {crind(Timestamp, EventSequenceNumber, PaymentTerminalID)
            + QStringLiteral(" Print Receipt") + LF};
}

QStringList EventLineFormatter::OnPaymentTerminalEvent(const QString &Timestamp,
                                                       short EventSequenceNumber,
                                                       short PaymentTerminalID, short,
                                                       const QString &EventDescription)
{
    return {crind(Timestamp, EventSequenceNumber, PaymentTerminalID) + QLatin1Char(' ')
            + EventDescription + LF};
}

// ---- retail ----

QStringList EventLineFormatter::OnBeginRetailTransaction(
    const QString &BeginTimestamp, short EventSequenceNumber, const QString &WorkstationID,
    const QString &OperatorID, const QString &ReceiptTransactionID, short CameraID)
{
    return transactionLine(BeginTimestamp, EventSequenceNumber,
                           QStringLiteral("Begin Retail Transaction"), WorkstationID, OperatorID,
                           ReceiptTransactionID, CameraID);
}

QStringList
EventLineFormatter::OnEndRetailTransaction(const QString &EndTimestamp, short EventSequenceNumber,
                                           const QString &WorkstationID, const QString &OperatorID,
                                           const QString &ReceiptTransactionID, short CameraID)
{
    return transactionLine(EndTimestamp, EventSequenceNumber,
                           QStringLiteral("End Retail Transaction"), WorkstationID, OperatorID,
                           ReceiptTransactionID, CameraID);
}

QStringList EventLineFormatter::OnCancelRetailTransactionID(const QString &EndTimestamp,
                                                            short EventSequenceNumber,
                                                            const QString &WorkstationID,
                                                            const QString &OperatorID,
                                                            short CameraID)
{
    return {onPos(EndTimestamp, EventSequenceNumber, QStringLiteral("Cancel Retail Transaction"),
                  WorkstationID, CameraID)
            + QStringLiteral(", With Operator ID ") + OperatorID + LF};
}

QStringList EventLineFormatter::OnPOSNoSaleTransaction(const QString &Timestamp,
                                                       short EventSequenceNumber,
                                                       const QString &WorkstationID,
                                                       const QString &OperatorID, short CameraID)
{
    // No comma before "With" on this line alone.
    return {onPos(Timestamp, EventSequenceNumber, QStringLiteral("NO SALE Transaction"),
                  WorkstationID, CameraID)
            + QStringLiteral(" With Operator ID ") + OperatorID + LF};
}

QStringList EventLineFormatter::OnFuelSalesLineItem(
    const QString &Timestamp, short EventSequenceNumber, const QString &WorkstationID,
    short GradeID, const QString &GradeDescription, short FuellingPositionID,
    qlonglong ExtendedPrice, short RefundFlag, short, qlonglong UnitPrice, double Volume,
    const QString &VehicleRegistrationNumber, const QString &VehicleOdometerReading,
    short KnowGradeFlag, short PrepayFlag, short CameraID)
{
    QStringList pieces{
        onPos(Timestamp, EventSequenceNumber, QStringLiteral("Fuel Sale"), WorkstationID, CameraID)
            + QStringLiteral(" - Grade") + N(GradeID) + QStringLiteral(" (") + GradeDescription
            + QStringLiteral(") On Pump") + N(FuellingPositionID) + QStringLiteral(", ") + N(Volume)
            + QStringLiteral(" @ $") + Money(UnitPrice) + QStringLiteral(" = $")
            + Money(ExtendedPrice) + LF,
        QString(30, QLatin1Char(' ')) + QStringLiteral("Reg Number: ") + VehicleRegistrationNumber
            + QStringLiteral(", Odo Reading: ") + VehicleOdometerReading + LF};
    // Any non-zero flag counts here, unlike the merchandise return below.
    if (RefundFlag != 0)
        pieces << QStringLiteral("Refund ");
    if (KnowGradeFlag != 0)
        pieces << QStringLiteral("KnowGrade ");
    if (PrepayFlag != 0)
        pieces << QStringLiteral("Prepay ");
    pieces << LF;
    return pieces;
}

QStringList EventLineFormatter::OnMerchandiseLineItem(
    const QString &Timestamp, short EventSequenceNumber, const QString &WorkstationID,
    const QString &MerchandiseID, const QString &MerchandiseName, const QString &Description,
    qlonglong ExtendedPrice, short MerchandiseReturnFlag, double Quantity, qlonglong UnitPrice,
    short, short CameraID)
{
    // The extended price has no "$" on this line, and only a true flag (-1) marks a return.
    return {posItem(Timestamp, EventSequenceNumber, WorkstationID, CameraID)
                + QStringLiteral(" -- ") + Description + QStringLiteral(" - ") + MerchandiseName
                + QStringLiteral(" ( ") + MerchandiseID + QStringLiteral(" ) ") + N(Quantity)
                + QStringLiteral(" @ $") + Money(UnitPrice) + QStringLiteral(" = ")
                + Money(ExtendedPrice),
            MerchandiseReturnFlag == -1 ? QStringLiteral(" Return") + LF : LF};
}

QStringList EventLineFormatter::OnTaxLineItem(const QString &Timestamp, short EventSequenceNumber,
                                              const QString &WorkstationID,
                                              const QString &Description, qlonglong TaxAmount,
                                              short CameraID)
{
    return amountLine(Timestamp, EventSequenceNumber, WorkstationID, Description, TaxAmount,
                      CameraID);
}

QStringList EventLineFormatter::OnSubTotalLineItem(const QString &Timestamp,
                                                   short EventSequenceNumber,
                                                   const QString &WorkstationID,
                                                   const QString &Description,
                                                   qlonglong SubtotalAmount, short CameraID)
{
    return amountLine(Timestamp, EventSequenceNumber, WorkstationID, Description, SubtotalAmount,
                      CameraID);
}

QStringList EventLineFormatter::OnTenderLineItem(const QString &Timestamp,
                                                 short EventSequenceNumber,
                                                 const QString &WorkstationID,
                                                 const QString &Description, qlonglong TenderAmount,
                                                 short, const QString &MethodOfPayment,
                                                 short CameraID)
{
    return {posItem(Timestamp, EventSequenceNumber, WorkstationID, CameraID) + QStringLiteral(" - ")
            + Description + QStringLiteral(" $") + Money(TenderAmount) + QLatin1Char(' ')
            + MethodOfPayment + LF};
}

QStringList EventLineFormatter::OnTenderChangeLineItem(const QString &Timestamp,
                                                       short EventSequenceNumber,
                                                       const QString &WorkstationID,
                                                       const QString &Description,
                                                       qlonglong ChangeAmount, short CameraID)
{
    return amountLine(Timestamp, EventSequenceNumber, WorkstationID, Description, ChangeAmount,
                      CameraID);
}

QStringList EventLineFormatter::OnVoidModifier(const QString &Timestamp, short EventSequenceNumber,
                                               const QString &WorkstationID,
                                               const QString &Description, short CameraID)
{
    return {posItem(Timestamp, EventSequenceNumber, WorkstationID, CameraID) + QStringLiteral(" - ")
            + Description + LF};
}

QStringList EventLineFormatter::OnQuantityModifier(const QString &Timestamp,
                                                   short EventSequenceNumber,
                                                   const QString &WorkstationID,
                                                   const QString &Description,
                                                   qlonglong NewQuantity, short CameraID)
{
    return {posItem(Timestamp, EventSequenceNumber, WorkstationID, CameraID) + QStringLiteral(" - ")
            + Description + Money(NewQuantity) + LF};
}

QStringList EventLineFormatter::OnPriceModifier(const QString &Timestamp, short EventSequenceNumber,
                                                const QString &WorkstationID,
                                                const QString &Description, qlonglong NewUnitPrice,
                                                short CameraID)
{
    return {posItem(Timestamp, EventSequenceNumber, WorkstationID, CameraID) + QStringLiteral(" - ")
            + Description + QStringLiteral(" $") + Money(NewUnitPrice) + LF};
}

QStringList EventLineFormatter::OnDiscountLineItem(const QString &Timestamp,
                                                   short EventSequenceNumber,
                                                   const QString &WorkstationID,
                                                   const QString &Description,
                                                   qlonglong DiscountAmount, short, short CameraID)
{
    return {posItem(Timestamp, EventSequenceNumber, WorkstationID, CameraID)
            + QStringLiteral(" -- ") + Description + Money(DiscountAmount) + LF};
}

// ---- licence plates ----

QStringList EventLineFormatter::OnRequestImageCapture(short CameraID)
{
    // No timestamp or sequence number; the arrows differ in length.
    return {QStringLiteral("==> Image Capture Requested on Camera") + N(CameraID)
            + QStringLiteral(" <===") + LF};
}

QStringList EventLineFormatter::OnRecognizeRegistrationNumber(
    const QString &Timestamp, short EventSequenceNumber, short FuellingPositionID, short CameraID,
    short NumberOfCharactersRecognized, const QString &VehicleRegistrationNumber,
    const QString &ConfidenceLevel, const QString &)
{
    return {camera(Timestamp, EventSequenceNumber, CameraID) + QStringLiteral(" Recognized")
            + N(NumberOfCharactersRecognized) + QStringLiteral(" of Registration Number ")
            + VehicleRegistrationNumber + QStringLiteral(" at Pump") + N(FuellingPositionID)
            + QStringLiteral(" with Confidence Levels ") + ConfidenceLevel + LF};
}

} // namespace monitor
