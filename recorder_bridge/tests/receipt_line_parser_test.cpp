#include "bridge_test_support.h"
#include "recorder_bridge/receipt_line_parser.h"
#include "recorder_bridge/rules_loader.h"
#include "recorder_bridge/wide_text.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

using namespace recorder_bridge;

namespace {

struct FieldIndex
{
    RuleField field;
    std::int32_t index;
};

void SetKind(PosRules &rules, RetailKind kind, const wchar_t *expression, std::initializer_list<FieldIndex> fields)
{
    KindRules &k = rules.of(kind);
    k.expression = CompileRuleExpression(expression);
    for (const FieldIndex &f : fields)
        k.index[static_cast<std::size_t>(f.field)] = f.index;
}

// A point-of-sale line item that lives until the end of the full expression that made it.
const MessageItem &PosLine(const std::string &text, std::int16_t pos = 7, std::int16_t camera = 3,
                           std::unique_ptr<MessageItem> &&holder = std::make_unique<MessageItem>(ItemType::PosMessage))
{
    holder->Text = text;
    holder->PosNumber = pos;
    holder->CameraID = camera;
    return *holder;
}

std::vector<std::string> Tokens(const std::string &text, const wchar_t *expression)
{
    std::vector<std::string> out;
    for (const auto &token : ReceiptLineParser::Split(WideFromUtf8(text), CompileRuleExpression(expression)))
        out.push_back(Utf8FromWide(token));
    return out;
}

using Strings = std::vector<std::string>;

TEST(ASplit, GivesEveryGroupOfEveryMatchInOrder)
{
    EXPECT_EQ(Tokens("a1 b2 c", L"([a-z])(\\d)"), (Strings{"a", "1", "b", "2"}));
    EXPECT_EQ(Tokens("x", L"(x)|(y)"), (Strings{"x", ""}));
    EXPECT_EQ(Tokens("nothing here", L"(\\d+)"), Strings{});
}

TEST(ASplit, WithoutGroupsGivesThePiecesBetweenMatches)
{
    EXPECT_EQ(Tokens("a,b,,c", L","), (Strings{"a", "b", "", "c"}));
    EXPECT_EQ(Tokens(",,a,b,", L","), (Strings{"a", "b"}));
    EXPECT_EQ(Tokens("whole line", L"#"), (Strings{"whole line"}));
    EXPECT_EQ(Tokens("", L"#"), Strings{});
}

TEST(ASplit, GivesTheSameTokensWithOneMatchAsTheFullSplit)
{
    const wchar_t *expressions[] = {L"^(\\w+) (\\d+)$", L"(\\d)", L"(a*)", L"^(x)?(y)?$", L"(\\w+)$", L"(b)|(c)",
                                    L"^TXN (\\S+)", L"(\\s*)", L",", L"(.*)"};
    const wchar_t *texts[] = {L"", L"abc 12", L"a1b2c3", L"y", L"aaa", L"bcb", L"TXN 42 x", L"  ", L"a,b", L"x y"};
    boost::wsmatch scratch;
    for (const wchar_t *expression : expressions) {
        const boost::wregex compiled = CompileRuleExpression(expression);
        for (const wchar_t *text : texts) {
            EXPECT_EQ(ReceiptLineParser::SplitWithScratch(text, compiled, scratch),
                      ReceiptLineParser::Split(text, compiled))
                << Utf8FromWide(expression) << " on \"" << Utf8FromWide(text) << "\"";
        }
    }
}

TEST(AReceiptLineParser, TriesTheKindsInItsFixedOrder)
{
    PosRules rules;
    SetKind(rules, RetailKind::MerchandiseLineItem, L"^(TAX) (\\d+\\.\\d\\d)$", {{RuleField::ExtendedPrice, 2}});
    SetKind(rules, RetailKind::TaxLineItem, L"^(TAX) (\\d+\\.\\d\\d)$", {{RuleField::TaxAmount, 2}});
    SetKind(rules, RetailKind::EndRetailTransaction, L"^(TAX) (\\d+)", {});
    const auto item = ReceiptLineParser(rules).Parse(PosLine("TAX 1.50"));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->Type, ItemType::TaxLineItem);
    EXPECT_EQ(item->TaxAmount, Currency{15000});

    // The order as a whole: each kind wins over every kind after it.
    const auto order = TrialOrder();
    ASSERT_EQ(order.size(), kRetailKindCount);
    for (std::size_t i = 0; i < order.size(); ++i) {
        PosRules all;
        for (std::size_t j = i; j < order.size(); ++j)
            SetKind(all, order[j], L"^(.*)$", {});
        const auto winner = ReceiptLineParser(all).Parse(PosLine("line"));
        ASSERT_TRUE(winner);
        EXPECT_EQ(winner->Type, SpecOf(order[i]).item) << SpecOf(order[i]).elementName;
    }
}

TEST(AReceiptLineParser, LetsAGrouplessExpressionThatMissesWinWithTheWholeText)
{
    PosRules rules;
    SetKind(rules, RetailKind::BeginRetailTransaction, L"#", {{RuleField::OperatorID, 1}});
    const auto item = ReceiptLineParser(rules).Parse(PosLine("JOHN"));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->Type, ItemType::BeginRetailTransaction);
    EXPECT_EQ(item->OperatorID, "JOHN");
}

TEST(AReceiptLineParser, GivesDefaultsForFieldsTheRulesFileLeavesOut)
{
    bridge_test::TempFolder folder;
    folder.write("RecorderBridgeConfig.xml",
                 "<R ActivePOS=\"T\"><P name=\"T\" TaxInclusive=\"No\"><TenderLineItem>"
                 "<Expression>^PAID (\\w+)$</Expression></TenderLineItem></P></R>");
    PosRules rules;
    ASSERT_EQ(LoadPosRules(folder.path(), rules, std::chrono::milliseconds(0)), S_OK);
    for (std::int32_t index : rules.of(RetailKind::TenderLineItem).index)
        EXPECT_EQ(index, 0);
    const auto item = ReceiptLineParser(rules).Parse(PosLine("PAID CASH", 12));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->WorkstationID, "12");
    EXPECT_EQ(item->Description, "Tender");
    EXPECT_EQ(item->MethodOfPayment, "");
}

TEST(AReceiptLineParser, MakesNothingWhenNoKindMatches)
{
    PosRules rules;
    SetKind(rules, RetailKind::TaxLineItem, L"^TAX (\\d+)$", {});
    EXPECT_FALSE(ReceiptLineParser(rules).Parse(PosLine("TOTAL 3")));
    EXPECT_FALSE(ReceiptLineParser(rules).Parse(PosLine("")));
}

struct DefaultCase
{
    const char *name;
    RetailKind kind;
    std::initializer_list<FieldIndex> fields;
    const char *text;
    std::int16_t pos;
    std::function<void(const MessageItem &)> check;
};

TEST(AReceiptLineParser, FillsFieldsByTokenNumberDefaultAndRange)
{
    const DefaultCase cases[] = {
        {"WorkstationFromPos", RetailKind::VoidModifier, {{RuleField::WorkstationID, 0}}, "VOID", 12,
         [](const MessageItem &i) { EXPECT_EQ(i.WorkstationID, "12"); }},
        {"NegativePos", RetailKind::VoidModifier, {{RuleField::WorkstationID, 0}}, "VOID", -4,
         [](const MessageItem &i) { EXPECT_EQ(i.WorkstationID, "-4"); }},
        {"VoidDefaultDescription", RetailKind::VoidModifier, {{RuleField::Description, 0}}, "VOID", 1,
         [](const MessageItem &i) { EXPECT_EQ(i.Description, "VOID"); }},
        {"TaxDefaults", RetailKind::TaxLineItem, {{RuleField::Description, 0}, {RuleField::TaxAmount, 0}}, "VOID", 1,
         [](const MessageItem &i) {
             EXPECT_EQ(i.Description, "");
             EXPECT_EQ(i.TaxAmount, Currency{});
         }},
        {"PastTheLastToken", RetailKind::TaxLineItem, {{RuleField::TaxAmount, 3}, {RuleField::WorkstationID, 9}},
         "VOID", 1,
         [](const MessageItem &i) {
             EXPECT_EQ(i.TaxAmount, Currency{});
             EXPECT_EQ(i.WorkstationID, "");
         }},
        {"NegativeIndexIsPastTheEnd", RetailKind::TenderLineItem, {{RuleField::Description, -1}}, "VOID", 1,
         [](const MessageItem &i) { EXPECT_EQ(i.Description, ""); }},
        {"TenderDefaults", RetailKind::TenderLineItem, {{RuleField::Description, 0}, {RuleField::MethodOfPayment, 0}},
         "VOID", 1,
         [](const MessageItem &i) {
             EXPECT_EQ(i.Description, "Tender");
             EXPECT_EQ(i.MethodOfPayment, "");
             EXPECT_EQ(i.RefundFlag, 0);
         }},
        {"QuantityDefault", RetailKind::MerchandiseLineItem, {{RuleField::Quantity, 0}, {RuleField::Description, 0}},
         "VOID", 1,
         [](const MessageItem &i) {
             EXPECT_EQ(i.Quantity, 1.0);
             EXPECT_EQ(i.Description, "Product Sale");
         }},
        {"QuantityPastTheEnd", RetailKind::MerchandiseLineItem, {{RuleField::Quantity, 5}}, "VOID", 1,
         [](const MessageItem &i) { EXPECT_EQ(i.Quantity, 1.0); }},
        {"ChangeDefault", RetailKind::TenderChangeLineItem, {{RuleField::Description, 0}}, "VOID", 1,
         [](const MessageItem &i) { EXPECT_EQ(i.Description, "Tender Change"); }},
        {"ModifierDefaults", RetailKind::QuantityModifier, {{RuleField::Description, 0}}, "VOID", 1,
         [](const MessageItem &i) { EXPECT_EQ(i.Description, "Quantity"); }},
        {"PriceDefault", RetailKind::PriceModifier, {{RuleField::Description, 0}}, "VOID", 1,
         [](const MessageItem &i) { EXPECT_EQ(i.Description, "Price"); }},
        {"DiscountDefault", RetailKind::DiscountLineItem, {{RuleField::Description, 0}}, "VOID", 1,
         [](const MessageItem &i) { EXPECT_EQ(i.Description, "Discount"); }},
    };
    for (const DefaultCase &c : cases) {
        PosRules rules;
        SetKind(rules, c.kind, L"(\\w+)", c.fields);
        const auto item = ReceiptLineParser(rules).Parse(PosLine(c.text, c.pos));
        ASSERT_TRUE(item) << c.name;
        SCOPED_TRACE(c.name);
        c.check(*item);
        EXPECT_EQ(item->CameraID, 3);
    }
}

TEST(AReceiptLineParser, ConvertsTokensByFieldTypeAndLeavesZeroForWhatDoesNotConvert)
{
    PosRules rules;
    rules.taxInclusive = -1;
    SetKind(rules, RetailKind::FuelSalesLineItem, L"^([^|]*)\\|([^|]*)\\|([^|]*)\\|([^|]*)\\|([^|]*)$",
            {{RuleField::FuellingPositionID, 1},
             {RuleField::GradeID, 2},
             {RuleField::ExtendedPrice, 3},
             {RuleField::Volume, 4},
             {RuleField::UnitPrice, 5}});
    ReceiptLineParser parser(rules);

    auto item = parser.Parse(PosLine("3|2.5|$1,234.565|1.5e1|(1.459)"));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->FuellingPositionID, 3);
    EXPECT_EQ(item->GradeID, 2); // half to even
    EXPECT_EQ(item->ExtendedPrice, Currency{12345650});
    EXPECT_DOUBLE_EQ(item->Volume, 15.0);
    EXPECT_EQ(item->UnitPrice, Currency{-14590});
    EXPECT_EQ(item->TaxInclusive, -1);

    item = parser.Parse(PosLine("x|99999|abc||1.2.3"));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->FuellingPositionID, 0);
    EXPECT_EQ(item->GradeID, 0);
    EXPECT_EQ(item->ExtendedPrice, Currency{});
    EXPECT_EQ(item->Volume, 0.0);
    EXPECT_EQ(item->UnitPrice, Currency{});
}

TEST(AReceiptLineParser, SetsFlagsFromTheirOwnExpressions)
{
    PosRules rules;
    SetKind(rules, RetailKind::FuelSalesLineItem, L"^PUMP (\\d+)", {});
    SetKind(rules, RetailKind::TenderLineItem, L"^TENDER (\\w+)", {});
    SetKind(rules, RetailKind::MerchandiseLineItem, L"^ITEM (\\w+)", {});
    rules.of(RuleFlag::FuelRefund).expression = CompileRuleExpression(L"(REFUND)");
    rules.of(RuleFlag::Prepay).expression = CompileRuleExpression(L"(PREPAY)");
    rules.of(RuleFlag::MerchandiseReturn).expression = CompileRuleExpression(L"ITEM \\w+ RETURN");
    ReceiptLineParser parser(rules);

    auto fuel = parser.Parse(PosLine("PUMP 1 REFUND"));
    ASSERT_TRUE(fuel);
    EXPECT_EQ(fuel->RefundFlag, -1);
    EXPECT_EQ(fuel->PrepayFlag, 0);
    EXPECT_EQ(fuel->KnowGradeFlag, 0); // not configured

    auto tender = parser.Parse(PosLine("TENDER CASH REFUND"));
    ASSERT_TRUE(tender);
    EXPECT_EQ(tender->RefundFlag, 0) << "the fuel sale's flag is not the tender's";

    auto whole = parser.Parse(PosLine("ITEM MILK RETURN"));
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->MerchandiseReturnFlag, -1);
    auto part = parser.Parse(PosLine("ITEM MILK RETURN NOW"));
    ASSERT_TRUE(part);
    EXPECT_EQ(part->MerchandiseReturnFlag, 0);
}

TEST(AReceiptLineParser, ContainsAnAttemptThatExceedsTheSearchLimits)
{
    PosRules rules;
    // Catastrophic backtracking: boost gives up with an exception on a long enough line.
    SetKind(rules, RetailKind::BeginRetailTransaction, L"(x+x+)+y", {});
    SetKind(rules, RetailKind::VoidModifier, L"^(x+)$", {{RuleField::Description, 1}});
    const std::string line(40, 'x');
    const auto item = ReceiptLineParser(rules).Parse(PosLine(line));
    ASSERT_TRUE(item) << "the later kinds are still tried";
    EXPECT_EQ(item->Type, ItemType::VoidModifier);
    EXPECT_EQ(item->Description, line);
}

// A sample receipt through the shipped rules: every kind, and lines that match none.
TEST(AReceiptLineParser, ReadsASampleReceiptWithTheShippedRules)
{
    bridge_test::TempFolder folder;
    folder.write("RecorderBridgeConfig.xml", bridge_test::ShippedRules());
    PosRules rules;
    ASSERT_EQ(LoadPosRules(folder.path(), rules, std::chrono::milliseconds(0)), S_OK);
    ReceiptLineParser parser(rules);

    struct Line
    {
        const char *text;
        ItemType type; // None: no item
        std::function<void(const MessageItem &)> check;
    };
    const Line receipt[] = {
        {"TXN START 0042 OP:JSMITH", ItemType::BeginRetailTransaction,
         [](const MessageItem &i) {
             EXPECT_EQ(i.WorkstationID, "7");
             EXPECT_EQ(i.ReceiptTransactionID, "0042");
             EXPECT_EQ(i.OperatorID, "JSMITH");
         }},
        {"PUMP 03 UNLEADED 95 25.40L @ 1.459 37.06 REG:AB12CDE", ItemType::FuelSalesLineItem,
         [](const MessageItem &i) {
             EXPECT_EQ(i.FuellingPositionID, 3);
             EXPECT_EQ(i.GradeDescription, "UNLEADED 95");
             EXPECT_DOUBLE_EQ(i.Volume, 25.40);
             EXPECT_EQ(i.UnitPrice, Currency{14590});
             EXPECT_EQ(i.ExtendedPrice, Currency{370600});
             EXPECT_EQ(i.VehicleRegistrationNumber, "AB12CDE");
             EXPECT_EQ(i.VehicleOdometerReading, "");
             EXPECT_EQ(i.KnowGradeFlag, -1);
             EXPECT_EQ(i.RefundFlag, 0);
             EXPECT_EQ(i.PrepayFlag, 0);
             EXPECT_EQ(i.TaxInclusive, -1);
         }},
        {"PUMP 4 RED 10.00L @ 1.000 -10.00 REFUND PREPAY", ItemType::FuelSalesLineItem,
         [](const MessageItem &i) {
             EXPECT_EQ(i.KnowGradeFlag, 0);
             EXPECT_EQ(i.RefundFlag, -1);
             EXPECT_EQ(i.PrepayFlag, -1);
             EXPECT_EQ(i.ExtendedPrice, Currency{-100000});
         }},
        {"5000112637922 MILK 2L 2 @ 1.20 2.40", ItemType::MerchandiseLineItem,
         [](const MessageItem &i) {
             EXPECT_EQ(i.MerchandiseID, "5000112637922");
             EXPECT_EQ(i.MerchandiseName, "MILK 2L");
             EXPECT_EQ(i.Description, "Product Sale");
             EXPECT_EQ(i.Quantity, 2.0);
             EXPECT_EQ(i.UnitPrice, Currency{12000});
             EXPECT_EQ(i.ExtendedPrice, Currency{24000});
             EXPECT_EQ(i.MerchandiseReturnFlag, 0);
         }},
        {"5000112637922 MILK 2L 1 @ 1.20 -1.20 RETURN", ItemType::MerchandiseLineItem,
         [](const MessageItem &i) { EXPECT_EQ(i.MerchandiseReturnFlag, -1); }},
        {"VOID 5000112637922 MILK 2L", ItemType::VoidModifier,
         [](const MessageItem &i) { EXPECT_EQ(i.Description, "VOID 5000112637922 MILK 2L"); }},
        {"QTY CHANGE 3", ItemType::QuantityModifier,
         [](const MessageItem &i) {
             EXPECT_EQ(i.NewQuantity, Currency{30000});
             EXPECT_EQ(i.Description, "Quantity");
         }},
        {"PRICE CHANGE 1.10", ItemType::PriceModifier,
         [](const MessageItem &i) { EXPECT_EQ(i.NewUnitPrice, Currency{11000}); }},
        {"DISCOUNT LOYALTY -0.50", ItemType::DiscountLineItem,
         [](const MessageItem &i) {
             EXPECT_EQ(i.Description, "LOYALTY");
             EXPECT_EQ(i.DiscountAmount, Currency{-5000});
             EXPECT_EQ(i.TaxInclusive, -1);
         }},
        {"SUBTOTAL 39.46", ItemType::SubtotalLineItem,
         [](const MessageItem &i) { EXPECT_EQ(i.SubtotalAmount, Currency{394600}); }},
        {"VAT 20% 6.58", ItemType::TaxLineItem,
         [](const MessageItem &i) {
             EXPECT_EQ(i.Description, "VAT 20%");
             EXPECT_EQ(i.TaxAmount, Currency{65800});
         }},
        {"TENDER CASH 40.00", ItemType::TenderLineItem,
         [](const MessageItem &i) {
             EXPECT_EQ(i.MethodOfPayment, "CASH");
             EXPECT_EQ(i.TenderAmount, Currency{400000});
             EXPECT_EQ(i.Description, "Tender");
             EXPECT_EQ(i.RefundFlag, 0);
         }},
        {"TENDER CARD 5.00 REFUND", ItemType::TenderLineItem,
         [](const MessageItem &i) { EXPECT_EQ(i.RefundFlag, -1); }},
        {"CHANGE 0.54", ItemType::TenderChangeLineItem,
         [](const MessageItem &i) {
             EXPECT_EQ(i.ChangeAmount, Currency{5400});
             EXPECT_EQ(i.Description, "Tender Change");
         }},
        {"TXN END 0042 OP:JSMITH", ItemType::EndRetailTransaction,
         [](const MessageItem &i) { EXPECT_EQ(i.ReceiptTransactionID, "0042"); }},
        {"TXN CANCEL OP:AKHAN", ItemType::CancelRetailTransaction,
         [](const MessageItem &i) { EXPECT_EQ(i.OperatorID, "AKHAN"); }},
        {"NO SALE OP:AKHAN", ItemType::POSNoSaleTransaction,
         [](const MessageItem &i) { EXPECT_EQ(i.OperatorID, "AKHAN"); }},
        {"THANK YOU FOR YOUR CUSTOM", ItemType::None, {}},
        {"TOTAL 39.46", ItemType::None, {}},
        {"", ItemType::None, {}},
    };
    for (const Line &line : receipt) {
        SCOPED_TRACE(line.text);
        const auto item = parser.Parse(PosLine(line.text));
        if (line.type == ItemType::None) {
            EXPECT_FALSE(item);
            continue;
        }
        ASSERT_TRUE(item);
        EXPECT_EQ(item->Type, line.type);
        EXPECT_EQ(item->CameraID, 3);
        EXPECT_EQ(item->WorkstationID, "7");
        line.check(*item);
    }
}

} // namespace
