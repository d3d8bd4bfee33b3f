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

namespace {

// The position after a bracket expression that starts at `open`, or the end of the text. A `]`
// first (after any `^`) is a member; `[:alpha:]`, `[.a.]` and `[=a=]` inside end at their own
// `:]`, `.]`, `=]`.
std::size_t afterBracket(std::wstring_view text, std::size_t open)
{
    std::size_t i = open + 1;
    if (i < text.size() && text[i] == L'^')
        ++i;
    if (i < text.size() && text[i] == L']')
        ++i;
    while (i < text.size()) {
        if (text[i] == L'\\') {
            i += 2;
        } else if (text[i] == L'[' && i + 1 < text.size() && std::wstring_view(L":.=").find(text[i + 1]) != std::wstring_view::npos) {
            const wchar_t closing[] = {text[i + 1], L']', 0};
            const std::size_t end = text.find(closing, i + 2);
            i = end == std::wstring_view::npos ? text.size() : end + 2;
        } else if (text[i] == L']') {
            return i + 1;
        } else {
            ++i;
        }
    }
    return text.size();
}

bool startsComment(std::wstring_view text, std::size_t at)
{
    return text.substr(at, 3) == L"(?#";
}

// The position after the comments that start at `at`, if any.
std::size_t afterComments(std::wstring_view text, std::size_t at)
{
    while (startsComment(text, at)) {
        const std::size_t close = text.find(L')', at + 3);
        at = close == std::wstring_view::npos ? text.size() : close + 1;
    }
    return at;
}

} // namespace

std::optional<std::size_t> HangsTheCompiler(std::wstring_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const wchar_t c = text[i];
        if (c == L'\\') {
            if (text.substr(i, 2) == L"\\Q") {
                const std::size_t end = text.find(L"\\E", i + 2);
                i = end == std::wstring_view::npos ? text.size() : end + 2;
            } else {
                i += 2;
            }
            continue;
        }
        if (c == L'[') {
            i = afterBracket(text, i);
            continue;
        }
        if (c == L'(') {
            // A comment is skipped whole; the ? of any other extension is no repeat.
            i = startsComment(text, i) ? afterComments(text, i) : i + (text.substr(i, 2) == L"(?" ? 2 : 1);
            continue;
        }
        const bool repeat = c == L'*' || c == L'+' || c == L'?' || c == L'}';
        if (!repeat || i + 1 >= text.size() || text[i + 1] != L'+') {
            ++i;
            continue;
        }
        const std::size_t next = afterComments(text, i + 2);
        if (next != i + 2 && next < text.size() && std::wstring_view(L"*+?{(").find(text[next]) == std::wstring_view::npos)
            return next;
        i += 2;
    }
    return std::nullopt;
}

boost::wregex CompileRuleExpression(const std::wstring &text)
{
    if (const auto at = HangsTheCompiler(text))
        throw boost::regex_error("A comment after a possessive repeat must end the expression or come before a "
                                 "group or a repeat: the regular expression library never finishes compiling it",
                                 boost::regex_constants::error_unknown, static_cast<std::ptrdiff_t>(*at));
    return boost::wregex(text, boost::regex_constants::normal);
}

} // namespace recorder_bridge
