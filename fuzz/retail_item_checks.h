#pragma once
// What the point-of-sale targets check on every retail item the parser makes: the texts leave
// the process as bus signal arguments, so they must be UTF-8 the bus can carry, and the numbers
// must be numbers.

#include "fuzz_support.h"

#include "recorder_bridge/message_item.h"

#include <cmath>

namespace fuzz {

inline void CheckRetailItem(const recorder_bridge::MessageItem &item)
{
    using recorder_bridge::MessageItem;
    for (const std::string MessageItem::*text :
         {&MessageItem::WorkstationID, &MessageItem::OperatorID, &MessageItem::ReceiptTransactionID,
          &MessageItem::GradeDescription, &MessageItem::VehicleRegistrationNumber,
          &MessageItem::VehicleOdometerReading, &MessageItem::Description, &MessageItem::MerchandiseID,
          &MessageItem::MerchandiseName, &MessageItem::MethodOfPayment, &MessageItem::Timestamp})
        FUZZ_CHECK(IsBusText(item.*text), "retail texts are UTF-8 for the bus");
    FUZZ_CHECK(std::isfinite(item.Volume) && std::isfinite(item.Quantity), "volumes and quantities are numbers");
    for (const std::int16_t MessageItem::*flag : {&MessageItem::RefundFlag, &MessageItem::TaxInclusive,
                                                  &MessageItem::KnowGradeFlag, &MessageItem::PrepayFlag,
                                                  &MessageItem::MerchandiseReturnFlag})
        FUZZ_CHECK(item.*flag == 0 || item.*flag == -1, "flags are -1 or 0");
}

} // namespace fuzz
