#pragma once
// Payment terminal events as the recorder bridge fires them. Every member opens with the
// event's Timestamp and EventSequenceNumber. Fired on the bridge's output thread.

#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <string>

namespace recorder_bridge {

class ORVEX_INTERFACE IPaymentTerminalEvents
{
public:
    virtual ~IPaymentTerminalEvents() = default;

    virtual HRESULT OnCardRead(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                               std::int16_t PaymentTerminalID, std::int16_t PaymentMediaTypeCode,
                               const std::string &PaymentMediaData) = 0;
    virtual HRESULT OnPaymentTransactionAuthorized(const std::string &Timestamp,
                                                   std::int16_t EventSequenceNumber,
                                                   std::int16_t PaymentTerminalID,
                                                   std::int16_t FuellingPositionID,
                                                   const std::string &HostTransactionID) = 0;
    virtual HRESULT OnPaymentTransactionCancelled(const std::string &Timestamp,
                                                  std::int16_t EventSequenceNumber,
                                                  std::int16_t PaymentTerminalID) = 0;
    virtual HRESULT OnPrintReceipt(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                   std::int16_t PaymentTerminalID) = 0;
    virtual HRESULT OnPaymentTerminalEvent(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                           std::int16_t PaymentTerminalID, std::int16_t EventID,
                                           const std::string &EventDescription) = 0;
};

} // namespace recorder_bridge
