#include "fuelling.h"

#include "platform/com_error.h"
#include "platform/variant_conversion.h"

namespace recorder_bridge {

namespace {

constexpr std::int16_t kDeliveryEndEvent = 5;
constexpr const char *kDeliveryEndDescription = "Delivery End";

// Calls one fuelling member on every subscriber. A subscriber that fails is reported in the words
// the fuelling trace has always used, and the others still receive the event.
template <typename Call> auto ReportingFailures(Call call)
{
    return [call](IFuellingEvents &sink) {
        try {
            call(sink);
        } catch (const ComError &e) {
            support::TraceError("_com_error Caught while Firing Fuelling Event: %s", e.what());
        } catch (...) {
            support::TraceError("Error Firing Fuelling Event");
        }
    };
}

} // namespace

void Fuelling::FireFuellingItem(const MessageItem &item)
{
    support::TraceInfo("Fuelling handling pump Msg");
    const char *ts = item.Timestamp.c_str();
    const std::int16_t seq = item.EventSequenceNumber;
    switch (item.Type) {
    case ItemType::PumpEvent:
    case ItemType::PumpDeliveryStart: {
        // The two carry the same values; only the line's opening and the member differ.
        const bool start = item.Type == ItemType::PumpDeliveryStart;
        support::TraceDebug(
            "Firing %s Event, Timestamp = %s, Sequence ID =  %d, Pump = %d, EventID = %d, "
            "EventDescription = %s, Camera ID = %d",
            start ? "Pump Start Delivery" : "Pump Event", ts, seq, item.FuellingPositionID,
            item.EventID, item.EventDescription.c_str(), item.CameraID);
        const auto member
            = start ? &IFuellingEvents::OnStartFuelDelivery : &IFuellingEvents::OnFuellingEvent;
        FireAll(ReportingFailures([&](IFuellingEvents &sink) {
            (sink.*member)(item.Timestamp, seq, item.FuellingPositionID, item.EventID,
                           item.EventDescription, item.CameraID);
        }));
        return;
    }
    case ItemType::PumpDeliveryEnd:
        if (support::TraceEnabled(2)) {
            support::TraceDebug(
                "Firing Pump End Delivery Event, Timestamp = %s, Sequence ID =  %d, Pump = %d, "
                "EventID = %d, EventDescription = %s, NozzleID = %d, TotalPrice = %s, "
                "UnitPrice = %s, Volume = %f, GradeName = %s, PaymentMode = %d, Camera ID = %d",
                ts, seq, item.FuellingPositionID, kDeliveryEndEvent, kDeliveryEndDescription,
                item.NozzleID, CurrencyText(item.TotalPrice).c_str(),
                CurrencyText(item.UnitPrice).c_str(), item.Volume, item.GradeName.c_str(),
                item.PaymentMode, item.CameraID);
        }
        FireAll(ReportingFailures([&](IFuellingEvents &sink) {
            sink.OnFinishFuelDelivery(item.Timestamp, seq, item.FuellingPositionID,
                                      kDeliveryEndEvent, kDeliveryEndDescription, item.NozzleID,
                                      item.TotalPrice, item.UnitPrice, item.Volume, item.GradeName,
                                      item.PaymentMode, item.CameraID);
        }));
        return;
    default:
        support::TraceInfo("Ignoring Unknown Pump Message");
        return;
    }
}

} // namespace recorder_bridge
