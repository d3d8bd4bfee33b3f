#pragma once
// Point-of-sale events as the recorder bridge fires them: transactions and the lines of a
// receipt, each made by the bridge's point-of-sale rules from one receipt line. Every member
// opens with the event's timestamp and EventSequenceNumber. Flags are 16-bit values holding -1
// or 0. Fired on the bridge's output thread, one subscriber after another.

#include "platform/currency.h"
#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <string>

namespace recorder_bridge {

class ORVEX_INTERFACE IRetailEvents
{
public:
    virtual ~IRetailEvents() = default;

    virtual HRESULT OnBeginRetailTransaction(const std::string &BeginTimestamp, std::int16_t EventSequenceNumber,
                                             const std::string &WorkstationID, const std::string &OperatorID,
                                             const std::string &ReceiptTransactionID, std::int16_t CameraID) = 0;
    virtual HRESULT OnEndRetailTransaction(const std::string &EndTimestamp, std::int16_t EventSequenceNumber,
                                           const std::string &WorkstationID, const std::string &OperatorID,
                                           const std::string &ReceiptTransactionID, std::int16_t CameraID) = 0;
    virtual HRESULT OnCancelRetailTransactionID(const std::string &EndTimestamp, std::int16_t EventSequenceNumber,
                                                const std::string &WorkstationID, const std::string &OperatorID,
                                                std::int16_t CameraID) = 0;
    virtual HRESULT OnPOSNoSaleTransaction(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                           const std::string &WorkstationID, const std::string &OperatorID,
                                           std::int16_t CameraID) = 0;
    virtual HRESULT OnFuelSalesLineItem(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                        const std::string &WorkstationID, std::int16_t GradeID,
                                        const std::string &GradeDescription, std::int16_t FuellingPositionID,
                                        Currency ExtendedPrice, std::int16_t RefundFlag, std::int16_t TaxInclusive,
                                        Currency UnitPrice, double Volume,
                                        const std::string &VehicleRegistrationNumber,
                                        const std::string &VehicleOdometerReading, std::int16_t KnowGradeFlag,
                                        std::int16_t PrepayFlag, std::int16_t CameraID) = 0;
    virtual HRESULT OnMerchandiseLineItem(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                          const std::string &WorkstationID, const std::string &MerchandiseID,
                                          const std::string &MerchandiseName, const std::string &Description,
                                          Currency ExtendedPrice, std::int16_t MerchandiseReturnFlag,
                                          double Quantity, Currency UnitPrice, std::int16_t TaxInclusive,
                                          std::int16_t CameraID) = 0;
    virtual HRESULT OnTaxLineItem(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                  const std::string &WorkstationID, const std::string &Description,
                                  Currency TaxAmount, std::int16_t CameraID) = 0;
    virtual HRESULT OnSubTotalLineItem(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                       const std::string &WorkstationID, const std::string &Description,
                                       Currency SubtotalAmount, std::int16_t CameraID) = 0;
    virtual HRESULT OnTenderLineItem(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                     const std::string &WorkstationID, const std::string &Description,
                                     Currency TenderAmount, std::int16_t RefundFlag,
                                     const std::string &MethodOfPayment, std::int16_t CameraID) = 0;
    virtual HRESULT OnTenderChangeLineItem(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                           const std::string &WorkstationID, const std::string &Description,
                                           Currency ChangeAmount, std::int16_t CameraID) = 0;
    virtual HRESULT OnVoidModifier(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                   const std::string &WorkstationID, const std::string &Description,
                                   std::int16_t CameraID) = 0;
    virtual HRESULT OnQuantityModifier(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                       const std::string &WorkstationID, const std::string &Description,
                                       Currency NewQuantity, std::int16_t CameraID) = 0;
    virtual HRESULT OnPriceModifier(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                    const std::string &WorkstationID, const std::string &Description,
                                    Currency NewUnitPrice, std::int16_t CameraID) = 0;
    virtual HRESULT OnDiscountLineItem(const std::string &Timestamp, std::int16_t EventSequenceNumber,
                                       const std::string &WorkstationID, const std::string &Description,
                                       Currency DiscountAmount, std::int16_t TaxInclusive,
                                       std::int16_t CameraID) = 0;
};

} // namespace recorder_bridge
