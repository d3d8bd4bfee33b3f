#include "pos_rules.h"

namespace recorder_bridge {

namespace {

using F = RuleField;

constexpr RuleField kTransactionFields[] = {F::WorkstationID, F::OperatorID, F::ReceiptTransactionID};
constexpr RuleField kOperatorFields[] = {F::WorkstationID, F::OperatorID};
constexpr RuleField kFuelFields[] = {F::WorkstationID,     F::GradeID,   F::GradeDescription,
                                     F::FuellingPositionID, F::ExtendedPrice, F::UnitPrice,
                                     F::Volume, F::VehicleRegistrationNumber, F::VehicleOdometerReading};
constexpr RuleField kMerchandiseFields[] = {F::WorkstationID, F::MerchandiseID, F::MerchandiseName,
                                            F::Description,   F::ExtendedPrice, F::Quantity,
                                            F::UnitPrice};
constexpr RuleField kTaxFields[] = {F::WorkstationID, F::Description, F::TaxAmount};
constexpr RuleField kSubtotalFields[] = {F::WorkstationID, F::Description, F::SubtotalAmount};
constexpr RuleField kTenderFields[] = {F::WorkstationID, F::Description, F::TenderAmount, F::MethodOfPayment};
constexpr RuleField kChangeFields[] = {F::WorkstationID, F::Description, F::ChangeAmount};
constexpr RuleField kVoidFields[] = {F::WorkstationID, F::Description};
constexpr RuleField kQuantityFields[] = {F::WorkstationID, F::Description, F::NewQuantity};
constexpr RuleField kPriceFields[] = {F::WorkstationID, F::Description, F::NewUnitPrice};
constexpr RuleField kDiscountFields[] = {F::WorkstationID, F::Description, F::DiscountAmount};

constexpr FlagSpec kFuelFlags[] = {{"RefundFlag", "RefundFlag", RuleFlag::FuelRefund},
                                   {"KnowGradeFlag", "KnowGradeFlag", RuleFlag::KnowGrade},
                                   {"PrepayFlag", "PrepayFlag", RuleFlag::Prepay}};
// The error line has always spelt this flag so; readers of old traces search for it.
constexpr FlagSpec kMerchandiseFlags[] = {
    {"MerchandiseReturnFlag", "MerchanidseReturnFlag", RuleFlag::MerchandiseReturn}};
constexpr FlagSpec kTenderFlags[] = {{"RefundFlag", "RefundFlag", RuleFlag::TenderRefund}};

using K = RetailKind;
using I = ItemType;

constexpr KindSpec kKinds[kRetailKindCount] = {
    {K::BeginRetailTransaction, "BeginRetailTransaction", I::BeginRetailTransaction, kTransactionFields, {},
     "** Begin Retail Transaction", ""},
    {K::EndRetailTransaction, "EndRetailTransaction", I::EndRetailTransaction, kTransactionFields, {},
     "** End Retail Transaction", ""},
    {K::CancelRetailTransaction, "CancelRetailTransaction", I::CancelRetailTransaction, kOperatorFields, {},
     "** Cancel Retail Transaction", ""},
    {K::POSNoSaleTransaction, "POSNoSaleTransaction", I::POSNoSaleTransaction, kOperatorFields, {},
     "** No Sale Retail Transaction", ""},
    {K::FuelSalesLineItem, "FuelSalesLineItem", I::FuelSalesLineItem, kFuelFields, kFuelFlags, "", ""},
    {K::MerchandiseLineItem, "MerchandiseLineItem", I::MerchandiseLineItem, kMerchandiseFields,
     kMerchandiseFlags, "", "Product Sale"},
    {K::TaxLineItem, "TaxLineItem", I::TaxLineItem, kTaxFields, {}, "** Tax Line Item", ""},
    {K::SubtotalLineItem, "SubtotalLineItem", I::SubtotalLineItem, kSubtotalFields, {}, "** Subtotal Line Item",
     ""},
    {K::TenderLineItem, "TenderLineItem", I::TenderLineItem, kTenderFields, kTenderFlags, "** Tender Line Item",
     "Tender"},
    {K::TenderChangeLineItem, "TenderChangeLineItem", I::TenderChangeLineItem, kChangeFields, {},
     "** Tender Change Line Item", "Tender Change"},
    {K::VoidModifier, "VoidModifier", I::VoidModifier, kVoidFields, {}, "** Void Modifier Line Item", "VOID"},
    {K::QuantityModifier, "QuantityModifier", I::QuantityModifier, kQuantityFields, {}, "** Quantity Modifier",
     "Quantity"},
    {K::PriceModifier, "PriceModifier", I::PriceModifier, kPriceFields, {}, "** Price Modifier", "Price"},
    {K::DiscountLineItem, "DiscountLineItem", I::DiscountLineItem, kDiscountFields, {}, "** Discount Line Item",
     "Discount"},
};

constexpr RetailKind kTrialOrder[kRetailKindCount] = {
    K::BeginRetailTransaction, K::CancelRetailTransaction, K::POSNoSaleTransaction, K::TaxLineItem,
    K::SubtotalLineItem,       K::TenderChangeLineItem,    K::EndRetailTransaction, K::FuelSalesLineItem,
    K::TenderLineItem,         K::VoidModifier,            K::QuantityModifier,     K::PriceModifier,
    K::DiscountLineItem,       K::MerchandiseLineItem,
};

constexpr std::string_view kFieldNames[kRuleFieldCount] = {
    "WorkstationID",  "OperatorID",      "ReceiptTransactionID",      "GradeID",
    "GradeDescription", "FuellingPositionID", "ExtendedPrice",        "UnitPrice",
    "Volume",         "VehicleRegistrationNumber", "VehicleOdometerReading", "MerchandiseID",
    "MerchandiseName", "Description",    "Quantity",                  "TaxAmount",
    "SubtotalAmount", "TenderAmount",    "MethodOfPayment",           "ChangeAmount",
    "NewQuantity",    "NewUnitPrice",    "DiscountAmount",
};

} // namespace

const KindSpec &SpecOf(RetailKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

std::string_view FieldName(RuleField field) { return kFieldNames[static_cast<std::size_t>(field)]; }

std::span<const KindSpec> AllKinds() { return kKinds; }

std::span<const RetailKind> TrialOrder() { return kTrialOrder; }

void PosRules::ClearConfiguration()
{
    for (FlagRule &flag : flags)
        flag.expression.reset();
}

boost::wregex CompileRuleExpression(const std::wstring &text)
{
    return boost::wregex(text, boost::regex_constants::normal);
}

} // namespace recorder_bridge
