#include "output_stage.h"

#include "forecourt_camera.h"
#include "fuelling.h"
#include "image_capture.h"
#include "licence_plate_recognizer.h"
#include "payment_terminal.h"
#include "retail.h"
#include "support/trace_log.h"

#include <exception>

namespace recorder_bridge {

OutputStage::OutputStage() : QueuedWorkerThread(true, true)
{
    SetPriority(-1);
    Start();
}

OutputStage::~OutputStage() { Stop(); }

void OutputStage::Run()
{
    while (!StopRequested()) {
        try {
            if (std::unique_ptr<support::QueueItem> item = Pop())
                HandleItem(*item);
        } catch (...) {
            support::TraceError("Error Handling item in output thread - caught exception");
        }
        IdleWhileEmpty();
        WaitWhileSuspended();
    }
    support::TraceInfo("Output thread exited.");
}

void OutputStage::HandleItem(support::QueueItem &queued)
{
    if (auto *item = dynamic_cast<MessageItem *>(&queued))
        Dispatch(*item);
}

void OutputStage::ForwardToRecognizer(std::unique_ptr<MessageItem> item)
{
    if (m_targets.recognizer)
        m_targets.recognizer->Post(std::move(item));
}

void OutputStage::Dispatch(const MessageItem &item)
{
    const std::int32_t code = item.typeCode();
    support::TraceInfo("Output handling msg of type %d", code);
    switch (item.Type) {
    case ItemType::MerchandiseLineItem:
        support::TraceDebug("!!!DEBUG!!! WorkstationID: %s | MerchandiseID: %s| MerchandiseName: %s | "
                            "Description: %s | CameraID: %d",
                            item.WorkstationID.c_str(), item.MerchandiseID.c_str(), item.MerchandiseName.c_str(),
                            item.Description.c_str(), item.CameraID);
        [[fallthrough]];
    case ItemType::BeginRetailTransaction:
    case ItemType::EndRetailTransaction:
    case ItemType::CancelRetailTransaction:
    case ItemType::POSNoSaleTransaction:
    case ItemType::FuelSalesLineItem:
    case ItemType::TaxLineItem:
    case ItemType::SubtotalLineItem:
    case ItemType::TenderLineItem:
    case ItemType::TenderChangeLineItem:
    case ItemType::VoidModifier:
    case ItemType::QuantityModifier:
    case ItemType::PriceModifier:
    case ItemType::DiscountLineItem:
        support::TraceInfo("Output handling POS Msg");
        m_targets.retail->FireRetailItem(item);
        return;
    case ItemType::RecognizeRegistrationNumber: {
        auto copy = std::make_unique<MessageItem>(ItemType::RecognizeRegistrationNumber);
        copy->FuellingPositionID = item.FuellingPositionID;
        copy->CameraID = item.CameraID;
        copy->NumberOfCharactersRecognized = item.NumberOfCharactersRecognized;
        copy->VehicleRegistrationNumber = item.VehicleRegistrationNumber;
        copy->ConfidenceLevel = item.ConfidenceLevel;
        copy->ImageTimestamp = item.ImageTimestamp;
        ForwardToRecognizer(std::move(copy));
        return;
    }
    case ItemType::PaymentTerminalEvent:
    case ItemType::CardRead:
    case ItemType::PaymentTransactionCancelled:
    case ItemType::PaymentTransactionAuthorized:
    case ItemType::PrintReceipt:
        support::TraceInfo("Output handling Crind Msg");
        m_targets.paymentTerminal->FirePaymentTerminalItem(item);
        return;
    case ItemType::PumpEvent:
    case ItemType::PumpDeliveryStart:
    case ItemType::PumpDeliveryEnd:
        support::TraceInfo("Output handling Pump Msg");
        m_targets.fuelling->FireFuellingItem(item);
        return;
    case ItemType::CameraRoam:
    case ItemType::CameraLeavePosition:
    case ItemType::CameraVisit:
    case ItemType::CameraVisitPaymentTerminal:
        support::TraceInfo("Output handling Cam Msg");
        m_targets.forecourtCamera->FireCameraItem(item);
        return;
    case ItemType::CameraVisitWorkstation:
        support::TraceInfo("Output handling Cam Visit POS Msg");
        m_targets.forecourtCamera->FireCameraItem(item);
        return;
    case ItemType::CameraVisitFuellingPosition:
        support::TraceInfo("Output handling Cam visit pump Msg");
        m_targets.forecourtCamera->FireCameraItem(item);
        return;
    case ItemType::CameraLocalizeRegistrationPlate: {
        support::TraceInfo("Output handling Cam vist Rego Msg");
        m_targets.forecourtCamera->FireCameraItem(item);
        auto request = std::make_unique<MessageItem>(ItemType::PlateImageCapture);
        request->CameraID = item.CameraID;
        ForwardToRecognizer(std::move(request));
        return;
    }
    case ItemType::RequestImageCapture: {
        support::TraceInfo("Output handling LicencePlate Msg");
        auto copy = std::make_unique<MessageItem>(ItemType::RequestImageCapture);
        copy->Timestamp = item.Timestamp;
        copy->EventSequenceNumber = item.EventSequenceNumber;
        copy->CameraID = item.CameraID;
        ForwardToRecognizer(std::move(copy));
        return;
    }
    case ItemType::CapturedFuellingPositionImage:
    case ItemType::CapturedPaymentTerminalImage:
    case ItemType::CapturedWorkstationImage:
        support::TraceInfo("Output handling Captured Image Msg");
        m_targets.imageCapture->FireImageCaptureItem(item);
        return;
    case ItemType::Reserved63:
        return;
    default:
        // Codes 55-58 belong to the retail object, which fires nothing for them.
        if (code >= TypeCode(ItemType::PosMessage) && code <= 58) {
            support::TraceInfo("Output handling POS Msg");
            m_targets.retail->FireRetailItem(item);
            return;
        }
        support::TraceInfo("Output handling unknown Msg");
        return;
    }
}

} // namespace recorder_bridge
