#pragma once
// The point-of-sale rules as the parser holds them once loaded: for the active point of sale,
// per message kind an expression and the token number of each of its fields, and five flag
// expressions. Also the fixed description of each kind: its element name in the rules file,
// the item it makes, its fields and flags.
//
// Written by the loader on the constructing thread before the parser handles its first item,
// and only read afterwards, so it takes no lock.

#include "message_item.h"

#include <boost/regex.hpp>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace recorder_bridge {

// The message kinds, in the order of the rules file's table.
enum class RetailKind {
    BeginRetailTransaction,
    EndRetailTransaction,
    CancelRetailTransaction,
    POSNoSaleTransaction,
    FuelSalesLineItem,
    MerchandiseLineItem,
    TaxLineItem,
    SubtotalLineItem,
    TenderLineItem,
    TenderChangeLineItem,
    VoidModifier,
    QuantityModifier,
    PriceModifier,
    DiscountLineItem,
};
inline constexpr std::size_t kRetailKindCount = 14;

// The fields a rule can take from a token.
enum class RuleField {
    WorkstationID,
    OperatorID,
    ReceiptTransactionID,
    GradeID,
    GradeDescription,
    FuellingPositionID,
    ExtendedPrice,
    UnitPrice,
    Volume,
    VehicleRegistrationNumber,
    VehicleOdometerReading,
    MerchandiseID,
    MerchandiseName,
    Description,
    Quantity,
    TaxAmount,
    SubtotalAmount,
    TenderAmount,
    MethodOfPayment,
    ChangeAmount,
    NewQuantity,
    NewUnitPrice,
    DiscountAmount,
};
inline constexpr std::size_t kRuleFieldCount = 23;

// The five flag expressions.
enum class RuleFlag { FuelRefund, KnowGrade, Prepay, MerchandiseReturn, TenderRefund };
inline constexpr std::size_t kRuleFlagCount = 5;

struct FlagSpec
{
    std::string_view elementName; // in the rules file and the trace
    std::string_view errorName;   // as the error line of a bad expression names it
    RuleFlag flag;
};

struct KindSpec
{
    RetailKind kind;
    std::string_view elementName;
    ItemType item;
    std::span<const RuleField> fields;
    std::span<const FlagSpec> flags;
    std::string_view winLine;            // the "** ..." trace line; empty when the kind writes none
    std::string_view defaultDescription; // what a Description index of 0 gives
};

[[nodiscard]] const KindSpec &SpecOf(RetailKind kind);
[[nodiscard]] std::string_view FieldName(RuleField field);
// The fourteen kinds in the order of the rules file's table.
[[nodiscard]] std::span<const KindSpec> AllKinds();
// The order in which the parser tries the kinds on a receipt line.
[[nodiscard]] std::span<const RetailKind> TrialOrder();

struct KindRules
{
    std::optional<boost::wregex> expression; // empty: the kind never matches
    // Token number per field: 0 asks for the field's default. Fields the file does not give
    // stay 0.
    std::array<std::int32_t, kRuleFieldCount> index{};

    [[nodiscard]] std::int32_t indexOf(RuleField field) const { return index[static_cast<std::size_t>(field)]; }
};

struct FlagRule
{
    std::optional<boost::wregex> expression; // set: configured
};

struct PosRules
{
    std::string activePos;
    std::int16_t taxInclusive = 0; // -1 when the active point of sale's prices include tax
    std::array<KindRules, kRetailKindCount> kinds;
    std::array<FlagRule, kRuleFlagCount> flags;

    [[nodiscard]] KindRules &of(RetailKind kind) { return kinds[static_cast<std::size_t>(kind)]; }
    [[nodiscard]] const KindRules &of(RetailKind kind) const { return kinds[static_cast<std::size_t>(kind)]; }
    [[nodiscard]] FlagRule &of(RuleFlag flag) { return flags[static_cast<std::size_t>(flag)]; }
    [[nodiscard]] const FlagRule &of(RuleFlag flag) const { return flags[static_cast<std::size_t>(flag)]; }

    // Marks every flag expression not configured.
    void ClearConfiguration();
};

// How every rule expression is compiled: normal syntax, case-sensitive, exceptions on error
// (boost::regex_error). An expression that the library would never finish compiling is refused
// the same way (see HangsTheCompiler).
[[nodiscard]] boost::wregex CompileRuleExpression(const std::wstring &text);

// Where in `text` the boost.regex of this system (1.74) would start to loop for ever while
// compiling it, or nothing. Its parser skips a comment `(?#...)` that follows a possessive
// repeat (`*+`, `++`, `?+`, `}+`) and then loops on whatever follows unless that is another
// repeat, a group or the end. Blanks after the comment count as looping, though under (?x) the
// library would skip them.
[[nodiscard]] std::optional<std::size_t> HangsTheCompiler(std::wstring_view text);

} // namespace recorder_bridge
