#include "image_capture.h"

namespace recorder_bridge {

void ImageCapture::FireImageCaptureItem(const MessageItem &item)
{
    const char *ts = item.Timestamp.c_str();
    const std::int16_t seq = item.EventSequenceNumber;
    // The three lines differ only in their opening and in how the source is named.
    const auto trace = [&](const char *opening, const char *sourceLabel, const std::string &source) {
        support::TraceDebug("Firing %s Image Event, Timestamp = %s, EventSequenceNumber = %d, %s = %s, "
                            "CameraID = %d, ImageTimestamp = %s, ImageFilename = %s, EventID = %d, "
                            "SourceEventTimestamp = %s, SourceEventSequenceNumber = %d",
                            opening, ts, seq, sourceLabel, source.c_str(), item.CameraID,
                            item.ImageTimestamp.c_str(), item.ImageFilename.c_str(), item.EventID,
                            item.SourceEventTimestamp.c_str(), item.SourceEventSequenceNumber);
    };
    switch (item.Type) {
    case ItemType::CapturedFuellingPositionImage:
        trace("Captured Pump", "FuellingPositionID", std::to_string(item.FuellingPositionID));
        FireAll([&](IImageCaptureEvents &sink) {
            sink.OnCapturedFuellingPositionImage(item.Timestamp, seq, item.FuellingPositionID, item.CameraID,
                                                 item.ImageTimestamp, item.ImageFilename, item.EventID,
                                                 item.SourceEventTimestamp, item.SourceEventSequenceNumber);
        });
        return;
    case ItemType::CapturedPaymentTerminalImage:
        trace("Captured Crind", "PaymentTerminalID", std::to_string(item.PaymentTerminalID));
        FireAll([&](IImageCaptureEvents &sink) {
            sink.OnCapturedPaymentTerminalImage(item.Timestamp, seq, item.PaymentTerminalID, item.CameraID,
                                                item.ImageTimestamp, item.ImageFilename, item.EventID,
                                                item.SourceEventTimestamp, item.SourceEventSequenceNumber);
        });
        return;
    case ItemType::CapturedWorkstationImage:
        trace("Captured POS", "WorkstationID", item.WorkstationID);
        FireAll([&](IImageCaptureEvents &sink) {
            sink.OnCapturedWorkstationImage(item.Timestamp, seq, item.WorkstationID, item.CameraID,
                                            item.ImageTimestamp, item.ImageFilename, item.EventID,
                                            item.SourceEventTimestamp, item.SourceEventSequenceNumber);
        });
        return;
    default:
        return;
    }
}

} // namespace recorder_bridge
