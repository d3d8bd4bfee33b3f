#include "bridge_test_support.h"
#include "recorder_bridge/rules_loader.h"
#include "recorder_bridge/wide_text.h"

#include <gtest/gtest.h>

using namespace recorder_bridge;
using namespace bridge_test;

namespace {

constexpr std::chrono::milliseconds kNoPause{0};

// A rules document whose active configuration holds `body`.
std::string Rules(const std::string &body, const std::string &configAttributes = R"(name="Till" TaxInclusive="Yes")")
{
    return R"(<?xml version="1.0"?><Rules ActivePOS="Till"><POS )" + configAttributes + ">" + body + "</POS></Rules>";
}

struct FailureRow
{
    const char *name;
    const char *document; // null: no rules file at all
    HRESULT result;
    const char *errorLine; // the one error line expected; empty for none
    const char *reason;    // for a file that cannot be loaded: how the reason after its path starts
};

// A file that cannot be loaded is named in its line, with why.
constexpr const char *kCannotOpen = "Error Opening Master Configuration File - Cannot Open ";

const FailureRow kFailureRows[] = {
    {"MissingFile", nullptr, E_FAIL, kCannotOpen, "No such file or directory"},
    {"NotWellFormed", "<Rules ActivePOS=\"Till\"><POS>", E_FAIL, kCannotOpen, "line 1: "},
    {"NoElement", "<?xml version=\"1.0\"?><!-- nothing -->", E_FAIL, kCannotOpen, "line 1: "},
    // libxml2 reports a byte that the declared encoding cannot convert without a parser context.
    {"UnconvertibleByte", "<?xml version=\"1.0\" encoding=\"windows-1252\"?><Rules ActivePOS=\"\x81\"/>", E_FAIL,
     kCannotOpen, "input conversion failed"},
    {"NoActivePos", "<Rules><POS name=\"Till\" TaxInclusive=\"Yes\"/></Rules>", E_POINTER,
     "Parser Configuration Error: Invalid pointer", ""},
    {"NoMatchingConfiguration", "<Rules ActivePOS=\"Till\"><POS name=\"Other\" TaxInclusive=\"Yes\"/></Rules>",
     E_INVALIDARG, "", ""},
    {"NamelessConfigurationBeforeTheMatch",
     "<Rules ActivePOS=\"Till\"><POS TaxInclusive=\"Yes\"/><POS name=\"Till\" TaxInclusive=\"Yes\"/></Rules>",
     E_POINTER, "Parser Configuration Error: Invalid pointer", ""},
    {"NoTaxInclusive", "<Rules ActivePOS=\"Till\"><POS name=\"Till\"/></Rules>", E_POINTER,
     "Parser Configuration Error: Invalid pointer", ""},
    {"EmptyRule",
     "<Rules ActivePOS=\"Till\"><POS name=\"Till\" TaxInclusive=\"Yes\"><BeginRetailTransaction>"
     "<OperatorID/></BeginRetailTransaction></POS></Rules>",
     E_POINTER, "Parser Configuration Error: Invalid pointer", ""},
    {"EmptyExpression",
     "<Rules ActivePOS=\"Till\"><POS name=\"Till\" TaxInclusive=\"Yes\"><TaxLineItem>"
     "<Expression></Expression></TaxLineItem></POS></Rules>",
     E_POINTER, "Parser Configuration Error: Invalid pointer", ""},
};

class ARulesLoaderFailure : public testing::TestWithParam<FailureRow>
{
};

TEST_P(ARulesLoaderFailure, ReturnsItsCodeAndWritesItsLine)
{
    const FailureRow &row = GetParam();
    TempFolder folder;
    if (row.document)
        folder.write("RecorderBridgeConfig.xml", row.document);
    TraceCapture trace(folder.path());
    PosRules rules;
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadPosRules(folder.path(), rules, kNoPause), row.result);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "what the parser reports goes to the trace only";
    if (!trace.active())
        return;
    const auto lines = trace.lines();
    const std::string expected = row.errorLine;
    int errors = 0;
    for (const auto &line : lines)
        errors += line.starts_with("[ERROR]") ? 1 : 0;
    if (expected.empty()) {
        EXPECT_EQ(errors, 0);
    } else {
        EXPECT_EQ(errors, 1);
        const std::string full = expected == kCannotOpen
                                     ? expected + folder.path() + "/RecorderBridgeConfig.xml: " + row.reason
                                     : expected;
        EXPECT_TRUE(expected == kCannotOpen ? HasLineStartingWith(lines, "[ERROR]   " + full)
                                            : HasLine(lines, "[ERROR]   " + full))
            << full;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ARulesLoaderFailure, testing::ValuesIn(kFailureRows),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ARulesLoader, RefusesAnInstallFolderItCannotRead)
{
    TempFolder folder;
    TraceCapture trace(folder.path());
    PosRules rules;
    const std::string missing = folder.path() + "/missing";
    EXPECT_EQ(LoadPosRules(missing, rules, kNoPause), E_ACCESSDENIED);
    if (trace.active()) {
        EXPECT_TRUE(HasLine(trace.lines(), "[ERROR]   Unable to read Install Folder " + missing));
    }
}

TEST(ARulesLoader, LoadsTheShippedRulesForEveryKind)
{
    TempFolder folder;
    folder.write("RecorderBridgeConfig.xml", ShippedRules());
    PosRules rules;
    ASSERT_EQ(LoadPosRules(folder.path(), rules, kNoPause), S_OK);
    EXPECT_EQ(rules.activePos, "OrvexTill");
    EXPECT_EQ(rules.taxInclusive, -1);
    for (const KindSpec &spec : AllKinds())
        EXPECT_TRUE(rules.of(spec.kind).expression.has_value()) << spec.elementName;
    for (const FlagRule &flag : rules.flags)
        EXPECT_TRUE(flag.expression.has_value());
    EXPECT_EQ(rules.of(RetailKind::FuelSalesLineItem).indexOf(RuleField::Volume), 3);
}

TEST(ARulesLoader, StopsAtABadExpressionKeepingWhatCameBefore)
{
    TempFolder folder;
    folder.write("RecorderBridgeConfig.xml",
                 Rules("<VoidModifier><Expression>^(VOID)$</Expression><Description>1</Description></VoidModifier>"
                       "<TaxLineItem><TaxAmount>2</TaxAmount><Expression>(unbalanced</Expression>"
                       "<Description>1</Description></TaxLineItem>"
                       "<SubtotalLineItem><Expression>x</Expression></SubtotalLineItem>"));
    TraceCapture trace(folder.path());
    PosRules rules;
    EXPECT_EQ(LoadPosRules(folder.path(), rules, kNoPause), S_OK);
    EXPECT_TRUE(rules.of(RetailKind::VoidModifier).expression.has_value());
    EXPECT_EQ(rules.of(RetailKind::TaxLineItem).indexOf(RuleField::TaxAmount), 2);
    EXPECT_FALSE(rules.of(RetailKind::TaxLineItem).expression.has_value());
    EXPECT_EQ(rules.of(RetailKind::TaxLineItem).indexOf(RuleField::Description), 0);
    EXPECT_FALSE(rules.of(RetailKind::SubtotalLineItem).expression.has_value());
    if (trace.active()) {
        EXPECT_TRUE(HasLineStartingWith(trace.lines(),
                                        "[ERROR]   Expression Error in Expression \"Expression\" in Section "
                                        "\"TaxLineItem\": "));
    }
}

// boost.regex loops for ever compiling a comment after a possessive repeat unless the end, a group
// or a repeat follows; such an expression is refused as one that does not compile. The rows
// that compile are the near misses, which the library handles.
struct ExpressionRow
{
    const wchar_t *expression;
    bool refused;
};

const ExpressionRow kExpressionRows[] = {
    {L"(a)++(?#note) b", true},   {L"a*+(?#c)x", true},          {L"a?+(?#c)|b", true},
    {L"a{2}+(?#c)(?#d)x", true},  {L"[[:alpha:]]++(?#c)$", true}, {L"a++(?#c))", true},
    {L"a++(?#c)", false},         {L"a++(?#c)(b)", false},        {L"a++(?#c", false},
    {L"a+(?#c) b", false},        {L"[*+(?#)x]", false},          {L"\\*+(?#c)x", false},
    {L"\\++(?#c)x", false},       {L"\\Q++(?#c)x\\E", false},     {L"[]++(?#c)x]", false},
    {L"[^[:digit:]++(?#c)x]", false},
};

TEST(ARuleExpression, IsRefusedOnlyWhereTheLibraryWouldNeverFinishCompilingIt)
{
    for (const ExpressionRow &row : kExpressionRows) {
        SCOPED_TRACE(Utf8FromWide(row.expression));
        // Checked first, so that a guard that misses a row fails here rather than hang below.
        ASSERT_EQ(HangsTheCompiler(row.expression).has_value(), row.refused);
        if (row.refused)
            EXPECT_THROW((void)CompileRuleExpression(row.expression), boost::regex_error);
        else
            EXPECT_NO_THROW((void)CompileRuleExpression(row.expression));
    }
}

TEST(ARulesLoader, StopsWithAnErrorLineAtAnExpressionTheLibraryWouldNeverFinishCompiling)
{
    TempFolder folder;
    folder.write("RecorderBridgeConfig.xml",
                 Rules("<VoidModifier><Expression>^(VOID)$</Expression></VoidModifier>"
                       "<TaxLineItem><Expression>(VAT)++(?#amount next) ([0-9.]+)</Expression></TaxLineItem>"));
    TraceCapture trace(folder.path());
    PosRules rules;
    EXPECT_EQ(LoadPosRules(folder.path(), rules, kNoPause), S_OK);
    EXPECT_TRUE(rules.of(RetailKind::VoidModifier).expression.has_value());
    EXPECT_FALSE(rules.of(RetailKind::TaxLineItem).expression.has_value());
    if (trace.active()) {
        EXPECT_TRUE(HasLineStartingWith(trace.lines(),
                                        "[ERROR]   Expression Error in Expression \"Expression\" in Section "
                                        "\"TaxLineItem\": A comment after a possessive repeat"));
    }
}

TEST(ARulesLoader, LeavesNoEarlierExpressionInForcePastOneThatDoesNotCompile)
{
    TempFolder folder;
    folder.write("RecorderBridgeConfig.xml",
                 Rules("<TaxLineItem><Expression>^(VAT)$</Expression></TaxLineItem>"
                       "<TenderLineItem><RefundFlag>(R)</RefundFlag></TenderLineItem>"
                       "<TenderLineItem><RefundFlag>(R</RefundFlag></TenderLineItem>"
                       "<TaxLineItem><Expression>(VAT</Expression></TaxLineItem>"));
    PosRules rules;
    EXPECT_EQ(LoadPosRules(folder.path(), rules, kNoPause), S_OK);
    // The load stopped at the flag; the tax expression before it stays.
    EXPECT_FALSE(rules.of(RuleFlag::TenderRefund).expression.has_value());
    EXPECT_TRUE(rules.of(RetailKind::TaxLineItem).expression.has_value());

    folder.write("RecorderBridgeConfig.xml",
                 Rules("<TaxLineItem><Expression>^(VAT)$</Expression></TaxLineItem>"
                       "<TaxLineItem><Expression>(VAT</Expression></TaxLineItem>"));
    PosRules again;
    EXPECT_EQ(LoadPosRules(folder.path(), again, kNoPause), S_OK);
    EXPECT_FALSE(again.of(RetailKind::TaxLineItem).expression.has_value());
}

TEST(ARulesLoader, NamesTheMerchandiseReturnFlagAsItsErrorLineAlwaysHas)
{
    TempFolder folder;
    folder.write("RecorderBridgeConfig.xml",
                 Rules("<MerchandiseLineItem><MerchandiseReturnFlag>[z-a]</MerchandiseReturnFlag>"
                       "</MerchandiseLineItem>"));
    TraceCapture trace(folder.path());
    PosRules rules;
    EXPECT_EQ(LoadPosRules(folder.path(), rules, kNoPause), S_OK);
    EXPECT_FALSE(rules.of(RuleFlag::MerchandiseReturn).expression.has_value());
    if (trace.active()) {
        EXPECT_TRUE(HasLineStartingWith(trace.lines(), "[ERROR]   Expression Error in Expression "
                                                       "\"MerchanidseReturnFlag\" in Section "
                                                       "\"MerchandiseLineItem\": "));
    }
}

TEST(ARulesLoader, ReadsIndexesAsTheStandardConversionDoes)
{
    struct Case
    {
        const char *text;
        std::int32_t index;
    };
    for (const Case c : {Case{"3 ", 3}, Case{"3x", 3}, Case{"abc", 0}, Case{"-1", -1}, Case{"  12", 12},
                         Case{"99999999999", INT32_MAX}}) {
        TempFolder folder;
        folder.write("RecorderBridgeConfig.xml",
                     Rules(std::string("<TaxLineItem><TaxAmount>") + c.text + "</TaxAmount></TaxLineItem>"));
        PosRules rules;
        ASSERT_EQ(LoadPosRules(folder.path(), rules, kNoPause), S_OK) << c.text;
        EXPECT_EQ(rules.of(RetailKind::TaxLineItem).indexOf(RuleField::TaxAmount), c.index) << c.text;
    }
}

TEST(ARulesLoader, TakesTaxInclusiveOnlyFromAnExactYes)
{
    for (const auto &[value, expected] : {std::pair{"Yes", -1}, std::pair{"yes", 0}, std::pair{"YES", 0},
                                          std::pair{"No", 0}}) {
        TempFolder folder;
        folder.write("RecorderBridgeConfig.xml", Rules("", std::string(R"(name="Till" TaxInclusive=")") + value + "\""));
        PosRules rules;
        ASSERT_EQ(LoadPosRules(folder.path(), rules, kNoPause), S_OK);
        EXPECT_EQ(rules.taxInclusive, expected) << value;
    }
}

TEST(ARulesLoader, UsesTheMatchingConfigurationAndIgnoresWhatFollowsIt)
{
    TempFolder folder;
    folder.write("RecorderBridgeConfig.xml",
                 "<Rules ActivePOS=\"Till\"><!-- c --><POS name=\"Other\" TaxInclusive=\"Yes\">"
                 "<TaxLineItem><TaxAmount>5</TaxAmount></TaxLineItem></POS>"
                 "<POS name=\"Till\" TaxInclusive=\"No\"><TaxLineItem><TaxAmount>2</TaxAmount></TaxLineItem></POS>"
                 "<POS TaxInclusive=\"Yes\"/></Rules>");
    PosRules rules;
    ASSERT_EQ(LoadPosRules(folder.path(), rules, kNoPause), S_OK);
    EXPECT_EQ(rules.taxInclusive, 0);
    EXPECT_EQ(rules.of(RetailKind::TaxLineItem).indexOf(RuleField::TaxAmount), 2);
}

TEST(ARulesLoader, KeepsFlagsToTheirKindAndLetsALaterKindElementOverwriteRuleByRule)
{
    TempFolder folder;
    folder.write("RecorderBridgeConfig.xml",
                 Rules("<TenderLineItem><RefundFlag>(R)</RefundFlag><TenderAmount>2</TenderAmount>"
                       "<MethodOfPayment>1</MethodOfPayment><Unknown>7</Unknown></TenderLineItem>"
                       "<TenderLineItem><TenderAmount>3</TenderAmount></TenderLineItem><Bogus/>"));
    PosRules rules;
    ASSERT_EQ(LoadPosRules(folder.path(), rules, kNoPause), S_OK);
    EXPECT_TRUE(rules.of(RuleFlag::TenderRefund).expression.has_value());
    EXPECT_FALSE(rules.of(RuleFlag::FuelRefund).expression.has_value());
    EXPECT_EQ(rules.of(RetailKind::TenderLineItem).indexOf(RuleField::TenderAmount), 3);
    EXPECT_EQ(rules.of(RetailKind::TenderLineItem).indexOf(RuleField::MethodOfPayment), 1);
}

TEST(ARulesLoader, ReadsARuleFromItsFirstChildOnly)
{
    TempFolder folder;
    folder.write("RecorderBridgeConfig.xml",
                 Rules("<TaxLineItem><TaxAmount><!--4-->9</TaxAmount><Description><b>2</b></Description>"
                       "<Expression><![CDATA[^(a<b)$]]></Expression></TaxLineItem>"));
    PosRules rules;
    ASSERT_EQ(LoadPosRules(folder.path(), rules, kNoPause), S_OK);
    EXPECT_EQ(rules.of(RetailKind::TaxLineItem).indexOf(RuleField::TaxAmount), 4);
    EXPECT_EQ(rules.of(RetailKind::TaxLineItem).indexOf(RuleField::Description), 0);
    ASSERT_TRUE(rules.of(RetailKind::TaxLineItem).expression.has_value());
    EXPECT_TRUE(boost::regex_match(std::wstring(L"a<b"), *rules.of(RetailKind::TaxLineItem).expression));
}

TEST(ARulesLoader, TakesNoBlankLayoutForARulesValueOrASubnode)
{
    TempFolder folder;
    folder.write("RecorderBridgeConfig.xml",
                 Rules("\n  <TaxLineItem>\n    <Expression>\n      <![CDATA[^(a<b)$]]>\n    </Expression>\n"
                       "    <TaxAmount>\n      3\n    </TaxAmount>\n  </TaxLineItem>\n  <!-- end -->\n"));
    TraceCapture trace(folder.path());
    PosRules rules;
    ASSERT_EQ(LoadPosRules(folder.path(), rules, kNoPause), S_OK);
    ASSERT_TRUE(rules.of(RetailKind::TaxLineItem).expression.has_value());
    EXPECT_TRUE(boost::regex_match(std::wstring(L"a<b"), *rules.of(RetailKind::TaxLineItem).expression));
    EXPECT_EQ(rules.of(RetailKind::TaxLineItem).indexOf(RuleField::TaxAmount), 3);
    if (trace.active()) {
        EXPECT_TRUE(HasLine(trace.lines(), "[INFO]    Number of Subnodes is 2"));
    }

    folder.write("RecorderBridgeConfig.xml", Rules("<TaxLineItem><Description> </Description></TaxLineItem>"));
    PosRules blank;
    EXPECT_EQ(LoadPosRules(folder.path(), blank, kNoPause), E_POINTER);
}

TEST(ARulesLoader, NeverExpandsExternalEntities)
{
    TempFolder folder;
    folder.write("secret.txt", "SECRET");
    folder.write("RecorderBridgeConfig.xml",
                 "<?xml version=\"1.0\"?><!DOCTYPE Rules [<!ENTITY x SYSTEM \"secret.txt\">]>"
                 "<Rules ActivePOS=\"Till\"><POS name=\"Till\" TaxInclusive=\"Yes\"><VoidModifier>"
                 "<Expression>&x;</Expression></VoidModifier></POS></Rules>");
    PosRules rules;
    EXPECT_EQ(LoadPosRules(folder.path(), rules, kNoPause), S_OK);
    const auto &expression = rules.of(RetailKind::VoidModifier).expression;
    if (expression) {
        EXPECT_EQ(expression->str().find(L"SECRET"), std::wstring::npos);
    }
}

TEST(ARulesLoader, LoadsAnActiveConfigurationWithoutKinds)
{
    TempFolder folder;
    folder.write("RecorderBridgeConfig.xml", Rules("text<!-- c -->"));
    PosRules rules;
    ASSERT_EQ(LoadPosRules(folder.path(), rules, kNoPause), S_OK);
    for (const KindRules &kind : rules.kinds)
        EXPECT_FALSE(kind.expression.has_value());
}

} // namespace
