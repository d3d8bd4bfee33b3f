#pragma once
// The record that carries one forecourt event through the bridge's stages.
//
// One class holds the fields of every kind; a kind uses the fields that the table of item type
// codes gives it and leaves the others at their initial value (0, false or empty text). Field
// names are those of the events the item finally feeds. Text is UTF-8; flags are 16-bit values
// holding -1 or 0; money is Currency.
//
// Construction fills the head: Timestamp is the local time as "%Y-%m-%dT%H:%M:%S" and
// EventSequenceNumber is taken from the process-wide counter (1 first; after 32767 it restarts
// at 0, the first two items after the wrap both taking 0). Taking a number is one atomic step,
// so any thread may construct items. The maker sets Type before the item leaves its hands.
//
// Ownership: the maker, then the queue that accepts it, then the stage that pops it; the stage
// that ends its road deletes it. An item has no lock: one holder uses it at a time.

#include "support/queue_item.h"
#include "platform/currency.h"

#include <cstdint>
#include <string>

namespace recorder_bridge {

enum class ItemType : std::int32_t {
    None = 0,
    BeginRetailTransaction = 23,
    EndRetailTransaction = 24,
    CancelRetailTransaction = 25,
    POSNoSaleTransaction = 26,
    FuelSalesLineItem = 27,
    MerchandiseLineItem = 28,
    TaxLineItem = 29,
    SubtotalLineItem = 30,
    TenderLineItem = 31,
    TenderChangeLineItem = 32,
    VoidModifier = 33,
    QuantityModifier = 34,
    PriceModifier = 35,
    DiscountLineItem = 36,
    RecognizeRegistrationNumber = 37,
    PaymentTerminalEvent = 39,
    CardRead = 40,
    PaymentTransactionCancelled = 41,
    PaymentTransactionAuthorized = 42,
    PrintReceipt = 43,
    PumpEvent = 44,
    PumpDeliveryStart = 45,
    PumpDeliveryEnd = 46,
    CameraRoam = 48,
    CameraVisitWorkstation = 49,
    CameraLeavePosition = 50,
    CameraVisit = 51,
    CameraVisitFuellingPosition = 52,
    CameraVisitPaymentTerminal = 53,
    CameraLocalizeRegistrationPlate = 54,
    PosMessage = 55,
    RequestImageCapture = 59,
    CapturedFuellingPositionImage = 60,
    CapturedPaymentTerminalImage = 61,
    CapturedWorkstationImage = 62,
    Reserved63 = 63,
    PlateImageCapture = 68,
};

[[nodiscard]] constexpr std::int32_t TypeCode(ItemType type) { return static_cast<std::int32_t>(type); }

class MessageItem final : public support::QueueItem
{
public:
    MessageItem();
    explicit MessageItem(ItemType type) : MessageItem() { Type = type; }

    [[nodiscard]] std::int32_t typeCode() const { return TypeCode(Type); }

    // Head.
    ItemType Type = ItemType::None;
    std::string Timestamp;
    std::int16_t EventSequenceNumber = 0;

    // Point of sale and retail. CameraID sits with the point-of-sale text, which the parser reads
    // with it, though every kind that has a camera uses it.
    std::string Text;
    std::int16_t PosNumber = 0;
    std::int16_t CameraID = 0;
    std::string WorkstationID;
    std::string OperatorID;
    std::string ReceiptTransactionID;
    std::int16_t GradeID = 0;
    std::string GradeDescription;
    Currency ExtendedPrice;
    std::int16_t RefundFlag = 0;
    std::int16_t TaxInclusive = 0;
    Currency UnitPrice;
    double Volume = 0.0;
    std::string VehicleRegistrationNumber;
    std::string VehicleOdometerReading;
    std::int16_t KnowGradeFlag = 0;
    std::int16_t PrepayFlag = 0;
    std::string Description;
    std::string MerchandiseID;
    std::string MerchandiseName;
    std::int16_t MerchandiseReturnFlag = 0;
    double Quantity = 0.0;
    Currency TaxAmount;
    Currency SubtotalAmount;
    Currency TenderAmount;
    std::string MethodOfPayment;
    Currency ChangeAmount;
    Currency NewQuantity;
    Currency NewUnitPrice;
    Currency DiscountAmount;

    // Forecourt.
    std::int16_t FuellingPositionID = 0;
    std::int16_t PaymentTerminalID = 0;
    std::int16_t EventID = 0;
    std::string EventDescription;
    std::int16_t PaymentMediaTypeCode = 0;
    std::string PaymentMediaData;
    std::string HostTransactionID;
    std::int16_t NozzleID = 0;
    Currency TotalPrice;
    std::string GradeName;
    std::int16_t PaymentMode = 0;
    std::string PositionDescription;
    std::int16_t KnowPreset = 0;
    std::int16_t PresetID = 0;
    std::int16_t KnowAbsoluteCoordinates = 0;
    double PanCoordinate = 0.0;
    double TiltCoordinate = 0.0;
    double ZoomCoordinate = 0.0;
    double FocusCoordinate = 0.0;
    std::int16_t Revisiting = 0;

    // Plates and images.
    std::int16_t NumberOfCharactersRecognized = 0;
    std::string ConfidenceLevel;
    std::string ImageTimestamp;
    std::string ImageFilename;
    std::string SourceEventTimestamp;
    std::int16_t SourceEventSequenceNumber = 0;
};

// The local time now as "%Y-%m-%dT%H:%M:%S".
[[nodiscard]] std::string LocalTimestampText();

// Takes the next number of the process-wide counter (what item construction does).
[[nodiscard]] std::int16_t TakeEventSequenceNumber();

// Test seam: the number the next item takes.
void SetNextEventSequenceNumberForTesting(std::int16_t next);

} // namespace recorder_bridge
