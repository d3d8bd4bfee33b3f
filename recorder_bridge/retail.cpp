#include "retail.h"

#include "platform/variant_conversion.h"

namespace recorder_bridge {

namespace {

// Money in the debug lines is its decimal text.
std::string Money(Currency value) { return CurrencyText(value); }

} // namespace

void Retail::FireRetailItem(const MessageItem &item)
{
    const std::int32_t code = item.typeCode();
    if (code >= TypeCode(ItemType::BeginRetailTransaction) && code <= TypeCode(ItemType::POSNoSaleTransaction))
        FireTransaction(item);
    else if (code >= TypeCode(ItemType::FuelSalesLineItem) && code <= TypeCode(ItemType::DiscountLineItem))
        FireLine(item);
}

void Retail::FireTransaction(const MessageItem &item)
{
    const std::string &ts = item.Timestamp;
    const std::int16_t seq = item.EventSequenceNumber;
    const std::string &pos = item.WorkstationID;
    const std::string &op = item.OperatorID;
    const std::string &receipt = item.ReceiptTransactionID;
    const std::int16_t cam = item.CameraID;
    switch (item.Type) {
    case ItemType::BeginRetailTransaction:
    case ItemType::EndRetailTransaction: {
        const bool begin = item.Type == ItemType::BeginRetailTransaction;
        support::TraceDebug("Firing %s Transaction Event, Timestamp = %s, Sequence ID =  %d, POS = %s, "
                            "OperatorID = %s, ReceiptTransactionID = %s, Camera ID = %d",
                            begin ? "Begin" : "End", ts.c_str(), seq, pos.c_str(), op.c_str(), receipt.c_str(), cam);
        FireAll([&](IRetailEvents &s) {
            if (begin)
                s.OnBeginRetailTransaction(ts, seq, pos, op, receipt, cam);
            else
                s.OnEndRetailTransaction(ts, seq, pos, op, receipt, cam);
        });
        return;
    }
    case ItemType::CancelRetailTransaction:
    case ItemType::POSNoSaleTransaction: {
        const bool cancel = item.Type == ItemType::CancelRetailTransaction;
        support::TraceDebug("Firing %s Transaction Event, Timestamp = %s, Sequence ID =  %d, POS = %s, "
                            "OperatorID = %s, Camera ID = %d",
                            cancel ? "Cancel" : "No Sale", ts.c_str(), seq, pos.c_str(), op.c_str(), cam);
        FireAll([&](IRetailEvents &s) {
            if (cancel)
                s.OnCancelRetailTransactionID(ts, seq, pos, op, cam);
            else
                s.OnPOSNoSaleTransaction(ts, seq, pos, op, cam);
        });
        return;
    }
    default:
        return;
    }
}

void Retail::FireLine(const MessageItem &item)
{
    const std::string &ts = item.Timestamp;
    const std::int16_t seq = item.EventSequenceNumber;
    const std::string &pos = item.WorkstationID;
    const std::string &desc = item.Description;
    const std::int16_t cam = item.CameraID;
    const bool tracing = support::TraceEnabled(2);
    // The lines that carry one amount after the description share their form.
    const auto amountLine = [&](const char *opening, const char *label, Currency amount) {
        if (tracing) {
            support::TraceDebug("Firing %s Line Event, Timestamp = %s, Sequence ID =  %d, POS = %s, "
                                "Description = %s, %s = %s, Camera ID = %d",
                                opening, ts.c_str(), seq, pos.c_str(), desc.c_str(), label, Money(amount).c_str(), cam);
        }
    };
    switch (item.Type) {
    case ItemType::FuelSalesLineItem:
        if (tracing) {
            support::TraceDebug(
                "Firing Fuel Sales Line Event, Timestamp = %s, Sequence ID =  %d, POS = %s, GradeID = %d, "
                "GradeDescription = %s, Pump = %d, ExtendedPrice = %s, RefundFlag = %d, TaxInclusive = %d, "
                "UnitPrice = %s, Volume = %f, Rego = %s, OdoReading = %s, KnowGradeFlag = %d, PrepayFlag = %d, "
                "Camera ID = %d",
                ts.c_str(), seq, pos.c_str(), item.GradeID, item.GradeDescription.c_str(), item.FuellingPositionID,
                Money(item.ExtendedPrice).c_str(), item.RefundFlag, item.TaxInclusive, Money(item.UnitPrice).c_str(),
                item.Volume, item.VehicleRegistrationNumber.c_str(), item.VehicleOdometerReading.c_str(),
                item.KnowGradeFlag, item.PrepayFlag, cam);
        }
        FireAll([&](IRetailEvents &s) {
            s.OnFuelSalesLineItem(ts, seq, pos, item.GradeID, item.GradeDescription, item.FuellingPositionID,
                                  item.ExtendedPrice, item.RefundFlag, item.TaxInclusive, item.UnitPrice, item.Volume,
                                  item.VehicleRegistrationNumber, item.VehicleOdometerReading, item.KnowGradeFlag,
                                  item.PrepayFlag, cam);
        });
        return;
    case ItemType::MerchandiseLineItem:
        if (tracing) {
            support::TraceDebug(
                "Firing Merchandise Line Event, Timestamp = %s, Sequence ID =  %d, POS = %s, MerchandiseID = %s, "
                "MerchandiseName = %s, Description = %s, ExtendedPrice = %s, MerchandiseReturnFlag = %d, "
                "Quantity = %f, UnitPrice = %s, TaxInclusive = %d, Camera ID = %d",
                ts.c_str(), seq, pos.c_str(), item.MerchandiseID.c_str(), item.MerchandiseName.c_str(), desc.c_str(),
                Money(item.ExtendedPrice).c_str(), item.MerchandiseReturnFlag, item.Quantity,
                Money(item.UnitPrice).c_str(), item.TaxInclusive, cam);
        }
        FireAll([&](IRetailEvents &s) {
            s.OnMerchandiseLineItem(ts, seq, pos, item.MerchandiseID, item.MerchandiseName, desc, item.ExtendedPrice,
                                    item.MerchandiseReturnFlag, item.Quantity, item.UnitPrice, item.TaxInclusive, cam);
        });
        return;
    case ItemType::TaxLineItem:
        amountLine("Tax", "TaxAmount", item.TaxAmount);
        FireAll([&](IRetailEvents &s) { s.OnTaxLineItem(ts, seq, pos, desc, item.TaxAmount, cam); });
        return;
    case ItemType::SubtotalLineItem:
        amountLine("Subtotal", "SubtotalAmount", item.SubtotalAmount);
        FireAll([&](IRetailEvents &s) { s.OnSubTotalLineItem(ts, seq, pos, desc, item.SubtotalAmount, cam); });
        return;
    case ItemType::TenderLineItem:
        if (tracing) {
            support::TraceDebug("Firing Tender Line Event, Timestamp = %s, Sequence ID =  %d, POS = %s, "
                                "Description = %s, TenderAmount = %s, RefundFlag = %d, MethodOfPayment = %s, "
                                "Camera ID = %d",
                                ts.c_str(), seq, pos.c_str(), desc.c_str(), Money(item.TenderAmount).c_str(),
                                item.RefundFlag, item.MethodOfPayment.c_str(), cam);
        }
        FireAll([&](IRetailEvents &s) {
            s.OnTenderLineItem(ts, seq, pos, desc, item.TenderAmount, item.RefundFlag, item.MethodOfPayment, cam);
        });
        return;
    case ItemType::TenderChangeLineItem:
        amountLine("Tender Change", "ChangeAmount", item.ChangeAmount);
        FireAll([&](IRetailEvents &s) { s.OnTenderChangeLineItem(ts, seq, pos, desc, item.ChangeAmount, cam); });
        return;
    case ItemType::VoidModifier:
        support::TraceDebug("Firing Void Line Event, Timestamp = %s, Sequence ID =  %d, POS = %s, Description = %s, "
                            "Camera ID = %d",
                            ts.c_str(), seq, pos.c_str(), desc.c_str(), cam);
        FireAll([&](IRetailEvents &s) { s.OnVoidModifier(ts, seq, pos, desc, cam); });
        return;
    case ItemType::QuantityModifier:
        amountLine("Quantity", "NewQuantity", item.NewQuantity);
        FireAll([&](IRetailEvents &s) { s.OnQuantityModifier(ts, seq, pos, desc, item.NewQuantity, cam); });
        return;
    case ItemType::PriceModifier:
        amountLine("Price", "NewPrice", item.NewUnitPrice);
        FireAll([&](IRetailEvents &s) { s.OnPriceModifier(ts, seq, pos, desc, item.NewUnitPrice, cam); });
        return;
    case ItemType::DiscountLineItem:
        if (tracing) {
            support::TraceDebug("Firing Discount Line Event, Timestamp = %s, Sequence ID =  %d, POS = %s, "
                                "Description = %s, DiscountAmount = %s, TaxInclusive = %d, Camera ID = %d",
                                ts.c_str(), seq, pos.c_str(), desc.c_str(), Money(item.DiscountAmount).c_str(),
                                item.TaxInclusive, cam);
        }
        FireAll([&](IRetailEvents &s) {
            s.OnDiscountLineItem(ts, seq, pos, desc, item.DiscountAmount, item.TaxInclusive, cam);
        });
        return;
    default:
        return;
    }
}

} // namespace recorder_bridge
