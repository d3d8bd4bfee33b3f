#include "receipt_line_parser.h"

#include "wide_text.h"
#include "platform/variant_conversion.h"
#include "support/trace_log.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <variant>

namespace recorder_bridge {

namespace {

using TextField = std::string MessageItem::*;
using ShortField = std::int16_t MessageItem::*;
using MoneyField = Currency MessageItem::*;
using DoubleField = double MessageItem::*;
using FieldMember = std::variant<TextField, ShortField, MoneyField, DoubleField>;

// Where each rule field lives in an item, in RuleField order.
const FieldMember kMembers[kRuleFieldCount] = {
    &MessageItem::WorkstationID,
    &MessageItem::OperatorID,
    &MessageItem::ReceiptTransactionID,
    &MessageItem::GradeID,
    &MessageItem::GradeDescription,
    &MessageItem::FuellingPositionID,
    &MessageItem::ExtendedPrice,
    &MessageItem::UnitPrice,
    &MessageItem::Volume,
    &MessageItem::VehicleRegistrationNumber,
    &MessageItem::VehicleOdometerReading,
    &MessageItem::MerchandiseID,
    &MessageItem::MerchandiseName,
    &MessageItem::Description,
    &MessageItem::Quantity,
    &MessageItem::TaxAmount,
    &MessageItem::SubtotalAmount,
    &MessageItem::TenderAmount,
    &MessageItem::MethodOfPayment,
    &MessageItem::ChangeAmount,
    &MessageItem::NewQuantity,
    &MessageItem::NewUnitPrice,
    &MessageItem::DiscountAmount,
};

// Stores `token` converted to the field's type; a token that does not convert leaves 0.
void AssignToken(MessageItem &item, RuleField field, std::wstring_view token)
{
    std::string text = Utf8FromWide(token);
    std::visit(
        [&](auto member) {
            using Member = decltype(member);
            if constexpr (std::is_same_v<Member, TextField>) {
                item.*member = std::move(text);
            } else if constexpr (std::is_same_v<Member, ShortField>) {
                std::int16_t value = 0;
                item.*member = SUCCEEDED(VarI2FromStr(text, &value)) ? value : 0;
            } else if constexpr (std::is_same_v<Member, MoneyField>) {
                Currency value;
                item.*member = SUCCEEDED(VarCyFromStr(text, &value)) ? value : Currency{};
            } else {
                double value = 0.0;
                item.*member = SUCCEEDED(VarR8FromStr(text, &value)) ? value : 0.0;
            }
        },
        kMembers[static_cast<std::size_t>(field)]);
}

// What a token number of 0 gives.
void AssignDefault(MessageItem &item, RuleField field, const KindSpec &spec, std::int16_t posNumber)
{
    switch (field) {
    case RuleField::WorkstationID:
        item.WorkstationID = std::to_string(posNumber);
        return;
    case RuleField::Description:
        item.Description = std::string(spec.defaultDescription);
        return;
    case RuleField::Quantity:
        item.Quantity = 1.0;
        return;
    default:
        std::visit([&](auto member) { item.*member = {}; }, kMembers[static_cast<std::size_t>(field)]);
        return;
    }
}

void TraceTokens(const std::vector<std::wstring_view> &tokens)
{
    support::TraceInfo("number of Tokens is %u, size of container is %d", static_cast<unsigned>(tokens.size()),
                       static_cast<int>(tokens.size()));
    for (std::size_t i = 0; i < tokens.size(); ++i)
        support::TraceInfo("Entry %d is %s", static_cast<int>(i), Utf8FromWide(tokens[i]).c_str());
}

void TraceMerchandise(const char *opening, const MessageItem &item)
{
    support::TraceDebug("%s WorkstationID: %s | MerchandiseID: %s| MerchandiseName: %s | Description: %s | "
                        "CameraID: %d",
                        opening, item.WorkstationID.c_str(), item.MerchandiseID.c_str(), item.MerchandiseName.c_str(),
                        item.Description.c_str(), item.CameraID);
}

} // namespace

std::vector<std::wstring> ReceiptLineParser::Split(const std::wstring &text, const boost::wregex &expression)
{
    std::vector<std::wstring> tokens;
    tokens.reserve(std::max<std::size_t>(expression.mark_count(), 2));
    std::wstring input = text; // split consumes its input
    boost::regex_split(std::back_inserter(tokens), input, expression, boost::match_default, UINT_MAX);
    return tokens;
}

std::vector<std::wstring> ReceiptLineParser::SplitWithScratch(const std::wstring &text,
                                                             const boost::wregex &expression,
                                                             boost::wsmatch &scratch)
{
    Tokens tokens;
    SplitInto(text, expression, scratch, tokens);
    if (!tokens.owned.empty())
        return std::move(tokens.owned);
    return {tokens.views.begin(), tokens.views.end()};
}

void ReceiptLineParser::SplitInto(const std::wstring &text, const boost::wregex &expression,
                                  boost::wsmatch &scratch, Tokens &tokens)
{
    tokens.clear();
    const auto splitFully = [&] {
        tokens.owned = Split(text, expression);
        tokens.views.assign(tokens.owned.begin(), tokens.owned.end());
    };
    if (expression.mark_count() == 0)
        return splitFully();
    // With groups, only matches give tokens: a line the expression does not match needs no
    // split. When the first match runs to the end of the line, the split stops after it
    // (regex_grep ends at the end of its input), so its tokens are that match's groups: taking
    // them here saves matching the line a second time.
    if (!boost::regex_search(text, scratch, expression))
        return;
    if (scratch[0].second != text.end())
        return splitFully();
    tokens.views.reserve(scratch.size() - 1);
    for (std::size_t group = 1; group < scratch.size(); ++group) {
        const auto &sub = scratch[static_cast<int>(group)];
        if (sub.matched)
            tokens.views.emplace_back(text.data() + (sub.first - text.begin()),
                                      static_cast<std::size_t>(sub.length()));
        else
            tokens.views.emplace_back(); // a group that took no part: an empty token
    }
}

bool ReceiptLineParser::Attempt(const KindSpec &spec, const std::wstring &text,
                                boost::wsmatch &scratch, bool traceTokens, Tokens &tokens) const
{
    tokens.clear();
    const KindRules &kind = m_rules.of(spec.kind);
    if (kind.expression) {
        try {
            SplitInto(text, *kind.expression, scratch, tokens);
        } catch (const std::exception &e) {
            support::TraceError("Parser attempt of %.*s failed: %s", static_cast<int>(spec.elementName.size()),
                                spec.elementName.data(), e.what());
            tokens.clear();
        }
    }
    if (traceTokens)
        TraceTokens(tokens.views);
    return !tokens.views.empty();
}

std::int16_t ReceiptLineParser::SplitFlag(RuleFlag flag, const std::wstring &text, boost::wsmatch &scratch) const
{
    const FlagRule &rule = m_rules.of(flag);
    if (!rule.expression)
        return 0;
    try {
        // As for the kinds: with groups, only a match can give a token.
        if (rule.expression->mark_count() > 0)
            return boost::regex_search(text, scratch, *rule.expression) ? -1 : 0;
        return Split(text, *rule.expression).empty() ? 0 : -1;
    } catch (const std::exception &e) {
        support::TraceError("Parser flag test failed: %s", e.what());
        return 0;
    }
}

std::int16_t ReceiptLineParser::WholeMatchFlag(RuleFlag flag, const std::wstring &text,
                                               boost::wsmatch &scratch) const
{
    const FlagRule &rule = m_rules.of(flag);
    if (!rule.expression)
        return 0;
    try {
        // match_any: what the overload without match results adds, so the search runs as there.
        return boost::regex_match(text, scratch, *rule.expression,
                                  boost::match_default | boost::match_any)
                   ? -1
                   : 0;
    } catch (const std::exception &e) {
        support::TraceError("Parser flag test failed: %s", e.what());
        return 0;
    }
}

std::unique_ptr<MessageItem> ReceiptLineParser::Parse(const MessageItem &posMessage) const
{
    // Read before the attempts: the item has just come from another thread, and these loads
    // then wait on memory alongside the matching instead of after it.
    const Origin origin{posMessage.PosNumber, posMessage.CameraID};
    const std::wstring text = WideFromUtf8(posMessage.Text);
    boost::wsmatch scratch; // reused by every attempt, so that its storage is made once
    Tokens tokens;
    const bool traceTokens = support::TraceEnabled(3);
    for (RetailKind kind : TrialOrder()) {
        const KindSpec &spec = SpecOf(kind);
        if (Attempt(spec, text, scratch, traceTokens, tokens))
            return Build(spec, tokens.views, origin, text, scratch);
    }
    return nullptr;
}

std::unique_ptr<MessageItem> ReceiptLineParser::Build(const KindSpec &spec,
                                                      const std::vector<std::wstring_view> &tokens,
                                                      Origin origin, const std::wstring &text,
                                                      boost::wsmatch &scratch) const
{
    if (!spec.winLine.empty())
        support::TraceInfo("%.*s", static_cast<int>(spec.winLine.size()), spec.winLine.data());
    auto item = std::make_unique<MessageItem>(spec.item);
    if (spec.kind == RetailKind::MerchandiseLineItem)
        item->Quantity = 1.0;
    const KindRules &rules = m_rules.of(spec.kind);
    for (RuleField field : spec.fields) {
        const std::int32_t index = rules.indexOf(field);
        // Compared unsigned, so that a negative number counts as past the last token.
        if (static_cast<std::uint32_t>(index) > tokens.size())
            continue;
        if (index == 0)
            AssignDefault(*item, field, spec, origin.posNumber);
        else
            AssignToken(*item, field, tokens[static_cast<std::size_t>(index) - 1]);
    }
    item->CameraID = origin.cameraID;
    switch (spec.kind) {
    case RetailKind::FuelSalesLineItem:
        item->TaxInclusive = m_rules.taxInclusive;
        item->RefundFlag = SplitFlag(RuleFlag::FuelRefund, text, scratch);
        item->PrepayFlag = SplitFlag(RuleFlag::Prepay, text, scratch);
        item->KnowGradeFlag = SplitFlag(RuleFlag::KnowGrade, text, scratch);
        break;
    case RetailKind::MerchandiseLineItem:
        item->TaxInclusive = m_rules.taxInclusive;
        item->MerchandiseReturnFlag = WholeMatchFlag(RuleFlag::MerchandiseReturn, text, scratch);
        TraceMerchandise("***DEBUG***", *item);
        TraceMerchandise("+++DEBUG+++", *item);
        break;
    case RetailKind::DiscountLineItem:
        item->TaxInclusive = m_rules.taxInclusive;
        break;
    case RetailKind::TenderLineItem:
        item->RefundFlag = SplitFlag(RuleFlag::TenderRefund, text, scratch);
        break;
    default:
        break;
    }
    return item;
}

} // namespace recorder_bridge
