#include "payment_terminal.h"

namespace recorder_bridge {

void PaymentTerminal::FirePaymentTerminalItem(const MessageItem &item)
{
    const char *ts = item.Timestamp.c_str();
    const std::int16_t seq = item.EventSequenceNumber;
    const std::int16_t terminal = item.PaymentTerminalID;
    switch (item.Type) {
    case ItemType::PaymentTerminalEvent:
        support::TraceDebug("Firing CRIND Event Event, Timestamp = %s, Sequence ID =  %d, PaymentTerminal = %d, "
                            "EventID = %d, EventDescription = %s",
                            ts, seq, terminal, item.EventID, item.EventDescription.c_str());
        FireAll([&](IPaymentTerminalEvents &sink) {
            sink.OnPaymentTerminalEvent(item.Timestamp, seq, terminal, item.EventID, item.EventDescription);
        });
        return;
    case ItemType::CardRead:
        support::TraceDebug("Firing CRIND Card Read Event, Timestamp = %s, Sequence ID =  %d, PaymentTerminal = %d, "
                            "PaymentMediaTypeCode = %d, PaymentMediaData = %s",
                            ts, seq, terminal, item.PaymentMediaTypeCode, item.PaymentMediaData.c_str());
        FireAll([&](IPaymentTerminalEvents &sink) {
            sink.OnCardRead(item.Timestamp, seq, terminal, item.PaymentMediaTypeCode, item.PaymentMediaData);
        });
        return;
    case ItemType::PaymentTransactionCancelled:
        support::TraceDebug("Firing CRIND Transaction Cancel Event, Timestamp = %s, Sequence ID =  %d, "
                            "PaymentTerminal = %d",
                            ts, seq, terminal);
        FireAll([&](IPaymentTerminalEvents &sink) { sink.OnPaymentTransactionCancelled(item.Timestamp, seq, terminal); });
        return;
    case ItemType::PaymentTransactionAuthorized:
        support::TraceDebug("Firing CRIND Transaction Auth Event, Timestamp = %s, Sequence ID =  %d, "
                            "PaymentTerminal = %d, Pump = %d, HostTransactionID = %s",
                            ts, seq, terminal, item.FuellingPositionID, item.HostTransactionID.c_str());
        FireAll([&](IPaymentTerminalEvents &sink) {
            sink.OnPaymentTransactionAuthorized(item.Timestamp, seq, terminal, item.FuellingPositionID,
                                                item.HostTransactionID);
        });
        return;
    case ItemType::PrintReceipt:
        support::TraceDebug("Firing CRIND Print Receipt Event, Timestamp = %s, Sequence ID =  %d, "
                            "PaymentTerminal = %d",
                            ts, seq, terminal);
        FireAll([&](IPaymentTerminalEvents &sink) { sink.OnPrintReceipt(item.Timestamp, seq, terminal); });
        return;
    default:
        return;
    }
}

} // namespace recorder_bridge
