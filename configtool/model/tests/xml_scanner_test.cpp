#include "configtool/model/xml_scanner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace configtool::xml {
namespace {

std::string attributesText(const AttrList &attributes)
{
    std::string text = "[";
    for (const Attr &attr : attributes)
        text += (text.size() > 1 ? "," : "") + attr.name + "=" + attr.value;
    return text + "]";
}

// Every event of a run as one line, in order.
struct Recorder
{
    std::vector<std::string> events;
    int dtdErrors = 0;

    void attach(XmlScanner &scanner)
    {
        scanner.OnXmlProlog = [this](const std::string &v, const std::string &e, bool standalone) {
            events.push_back("prolog:" + v + "|" + e + (standalone ? "|yes" : ""));
        };
        scanner.OnComment
            = [this](const std::string &text) { events.push_back("comment:" + text); };
        scanner.OnPI = [this](const std::string &target, const std::string &content,
                              const AttrList &attributes) {
            events.push_back("pi:" + target + "|" + content + attributesText(attributes));
        };
        scanner.OnDtdRead = [this](const std::string &root) { events.push_back("dtd:" + root); };
        scanner.OnStartTag = [this](const std::string &name, const AttrList &attributes) {
            events.push_back("start:" + name + attributesText(attributes));
        };
        scanner.OnEmptyTag = [this](const std::string &name, const AttrList &attributes) {
            events.push_back("empty:" + name + attributesText(attributes));
        };
        scanner.OnEndTag = [this](const std::string &name) { events.push_back("end:" + name); };
        scanner.OnContent
            = [this](const std::string &text) { events.push_back("content:" + text); };
        scanner.OnCData = [this](const std::string &text) { events.push_back("cdata:" + text); };
        scanner.OnDtdError = [this](std::size_t) { ++dtdErrors; };
    }
};

std::vector<std::string> scan(const std::string &text, int *dtdErrors = nullptr)
{
    XmlScanner scanner;
    Recorder recorder;
    recorder.attach(scanner);
    scanner.LoadText(text);
    scanner.Execute();
    if (dtdErrors)
        *dtdErrors = recorder.dtdErrors;
    return recorder.events;
}

const std::string kUtf8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
using Events = std::vector<std::string>;

struct ScanCase
{
    const char *legend;
    std::string input;
    Events expected;
};

class AnXmlScanner : public ::testing::TestWithParam<ScanCase>
{
};

TEST_P(AnXmlScanner, ReportsEachPartAsThePartRulesSay)
{
    EXPECT_EQ(scan(GetParam().input), GetParam().expected) << GetParam().legend;
}

INSTANTIATE_TEST_SUITE_P(
    Parts, AnXmlScanner,
    ::testing::Values(
        ScanCase{"an entity reference in a value",
                 "<Device Name=\"A &amp; B\"/>",
                 {"empty:Device[Name=A & B]"}},
        ScanCase{
            "both quotes delimit values", "<a x='1 \"q\"' y=\"2\"/>", {"empty:a[x=1 \"q\",y=2]"}},
        ScanCase{"an unquoted value with no quote after it is no attribute",
                 "<Device Name=X/>",
                 {"start:Device[]"}},
        ScanCase{"names differing in case are two attributes",
                 "<a name=\"1\" Name=\"2\"/>",
                 {"empty:a[Name=2,name=1]"}},
        ScanCase{"a start tag and its end tag",
                 "<Port ID=\"1\"></Port>",
                 {"start:Port[ID=1]", "end:Port"}},
        ScanCase{"an empty-element tag", "<Port ID=\"1\" />", {"empty:Port[ID=1]"}},
        ScanCase{"end tags carry no attributes", "<a></a x=\"1\">", {"start:a[]", "end:a"}},
        ScanCase{"a value holding markup characters", "<a v=\"x>y\"/>", {"empty:a[v=x>y]"}},
        ScanCase{"line breaks in a value become blanks", "<a v=\"1\n\t2\"/>", {"empty:a[v=1  2]"}},
        ScanCase{"UTF-8 e acute becomes one byte",
                 kUtf8 + "<a v=\"\xC3\xA9\"/>",
                 {"prolog:1.0|UTF-8", "empty:a[v=\xE9]"}},
        ScanCase{"a character Windows-1252 lacks",
                 kUtf8 + "<a v=\"\xE4\xB8\xAD\"/>",
                 {"prolog:1.0|UTF-8", "empty:a[v=\xBF]"}},
        ScanCase{"the euro sign",
                 kUtf8 + "<a v=\"\xE2\x82\xAC\"/>",
                 {"prolog:1.0|UTF-8", "empty:a[v=\x80]"}},
        ScanCase{"a four-byte sequence",
                 kUtf8 + "<a v=\"\xF0\x9F\x98\x80!\"/>",
                 {"prolog:1.0|UTF-8", "empty:a[v=\xBF!]"}},
        ScanCase{"a broken sequence takes the length its lead announces",
                 kUtf8 + "<a v=\"\xC3(x\"/>",
                 {"prolog:1.0|UTF-8", "empty:a[v=\xBFx]"}},
        ScanCase{"no declaration leaves bytes as they are",
                 "<a v=\"\xC3\xA9\"/>",
                 {"empty:a[v=\xC3\xA9]"}},
        ScanCase{
            "another encoding leaves bytes as they are",
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"?><a v=\"\xC3\xA9\"/>",
            {"prolog:1.0|ISO-8859-1|yes", "empty:a[v=\xC3\xA9]"}},
        ScanCase{"whitespace-only text is not reported", "<a> \r\n\t </a>", {"start:a[]", "end:a"}},
        ScanCase{"text is collapsed and trimmed",
                 "<a>  one \n two  </a>",
                 {"start:a[]", "content:one two", "end:a"}},
        ScanCase{"an ampersand that no semicolon follows is dropped",
                 "<x>a&b</x>",
                 {"start:x[]", "content:ab", "end:x"}},
        ScanCase{"an undeclared entity gives its bare name",
                 "<x>&undeclared;</x>",
                 {"start:x[]", "content:undeclared", "end:x"}},
        ScanCase{"character references",
                 "<x>&#65;&#x42;&#X43;1&#abc;2&#xZZ;3&lt;&gt;&apos;&quot;</x>",
                 {"start:x[]", "content:ABC1 23<>'\"", "end:x"}},
        ScanCase{"a reference to character zero inserts nothing",
                 "<a v=\"a&#0;b&#x0;c\"/>",
                 {"empty:a[v=abc]"}},
        ScanCase{"a reference above 255 in a single-byte document",
                 "<x>&#8364;&#x4E2D;&#233;</x>",
                 {"start:x[]", "content:\x80\xBF\xE9", "end:x"}},
        ScanCase{"a reference above 255 in a UTF-8 document",
                 kUtf8 + "<x>&#8364;&#233;&#x4E2D;</x>",
                 {"prolog:1.0|UTF-8", "start:x[]", "content:\x80\xE9\xBF", "end:x"}},
        ScanCase{"CDATA is translated but not normalised",
                 kUtf8 + "<x><![CDATA[ a  <b>\xC3\xA9 ]]></x>",
                 {"prolog:1.0|UTF-8", "start:x[]", "cdata: a  <b>\xE9 ", "end:x"}},
        ScanCase{"comments and processing instructions",
                 "<!-- hi --><?target a=\"1\" rest?><r/>",
                 {"comment: hi ", "pi:target|a=\"1\" rest[a=1]", "empty:r[]"}},
        ScanCase{"a missing > runs the tag to the end", "<a x=\"1\"", {"start:a[x=1]"}},
        ScanCase{"a missing quote runs the value to the end", "<a x=\"1/>", {"start:a[x=1/>]"}},
        ScanCase{"a missing comment end", "<!-- abc", {"comment: abc"}},
        ScanCase{"a missing processing instruction end", "<?pi abc", {"pi:pi|abc[]"}},
        ScanCase{"a missing CDATA end", "<x><![CDATA[abc", {"start:x[]", "cdata:abc"}},
        ScanCase{"an embedded zero byte is a byte",
                 std::string("<a/>\0<b/>", 9),
                 {"empty:a[]", std::string("content:\0", 9), "empty:b[]"}},
        ScanCase{"an internal entity in a value and in text",
                 "<!DOCTYPE r [<!ENTITY e \"v&amp;l\">]><r a=\"[&e;]\">&e;</r>",
                 {"dtd:r", "start:r[a=[v&l]]", "content:v&l", "end:r"}},
        ScanCase{"an entity's markup is scanned in place",
                 "<!DOCTYPE r [<!ENTITY b \"<b>x</b>\">]><r>1&b;2</r>",
                 {"dtd:r", "start:r[]", "content:1", "start:b[]", "content:x", "end:b", "content:2",
                  "end:r"}},
        ScanCase{
            "declared defaults, fixed values and types",
            "<!DOCTYPE r [<!ATTLIST a d CDATA \"def\" f CDATA #FIXED \"fx\" t NMTOKENS #IMPLIED>]>"
            "<r><a f=\"mine\" t=\"  x \n y \"/><b/></r>",
            {"dtd:r", "start:r[]", "empty:a[d=def,f=fx,t=x y]", "empty:b[]", "end:r"}}),
    [](const auto &info) { return "Row" + std::to_string(info.index); });

TEST(AnXmlScannersAttributeList, FindsTheValueWrittenLastForARepeatedName)
{
    XmlScanner scanner;
    std::string value;
    scanner.OnEmptyTag
        = [&](const std::string &, const AttrList &attributes) { value = attributes.value("x"); };
    scanner.LoadText("<a x=\"1\" x=\"2\"/>");
    scanner.Execute();
    EXPECT_EQ(value, "2");
}

TEST(AnXmlScannersDocumentType, ReportsJunkAndReadsTheDeclarationsAroundIt)
{
    int errors = 0;
    const Events events = scan("<!DOCTYPE r [junk<!ENTITY e \"v\"> more ]><r>&e;</r>", &errors);
    EXPECT_EQ(events, (Events{"dtd:r", "start:r[]", "content:v", "end:r"}));
    EXPECT_EQ(errors, 2);
}

TEST(AnXmlScannersDocumentType, ExpandsParameterEntitiesAndReadsTheSubsetOncePerLoad)
{
    XmlScanner scanner;
    int entities = 0;
    scanner.OnEntity = [&](const EntityDecl &) { ++entities; };
    std::string content;
    scanner.OnContent = [&](const std::string &text) { content += text; };
    scanner.LoadText("<!DOCTYPE r [<!ENTITY % decl \"<!ENTITY e 'pe'>\"> %decl; <!ENTITY e "
                     "\"second\">]><r>&e;</r>");
    scanner.Execute();
    scanner.Execute();
    EXPECT_EQ(content, "pepe");
    EXPECT_EQ(entities, 3);
}

TEST(AnXmlScannersEntities, LeaveASelfReferenceAsWrittenInTextAndValues)
{
    int errors = 0;
    const Events events = scan("<!DOCTYPE r [<!ENTITY s \"x&s;\"><!ENTITY t \"&u;\"><!ENTITY u "
                               "\"&t;\">]><r a=\"&s;\">&s;&t;</r>",
                               &errors);
    EXPECT_EQ(events, (Events{"dtd:r", "start:r[a=x&s;]", "content:x&s;&t;", "end:r"}));
    EXPECT_GE(errors, 3);
}

TEST(AnXmlScannersEntities, StopNestingSixteenDeep)
{
    std::string dtd = "<!DOCTYPE r [";
    for (int i = 1; i < 20; ++i)
        dtd += "<!ENTITY e" + std::to_string(i) + " \"" + std::to_string(i % 10) + "&e"
               + std::to_string(i + 1) + ";\">";
    const Events events = scan(dtd + "<!ENTITY e20 \"end\">]><r>&e1;</r>");
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[2], "content:1234567890123456&e17;");
}

TEST(AnXmlScannersEntities, StopABillionLaughsAtTheExpansionBound)
{
    std::string dtd = "<!DOCTYPE r [<!ENTITY l0 \"lol\">";
    for (int level = 1; level <= 9; ++level) {
        dtd += "<!ENTITY l" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i)
            dtd += "&l" + std::to_string(level - 1) + ";";
        dtd += "\">";
    }
    XmlScanner scanner;
    std::size_t textLength = 0;
    std::size_t valueLength = 0;
    int errors = 0;
    scanner.OnContent = [&](const std::string &text) { textLength += text.size(); };
    scanner.OnEmptyTag
        = [&](const std::string &, const AttrList &a) { valueLength = a.value("v").size(); };
    scanner.OnDtdError = [&](std::size_t) { ++errors; };
    scanner.LoadText(dtd + "]><r><a v=\"&l9;\"/>&l9;</r>");
    scanner.Execute();
    EXPECT_LE(valueLength + textLength, 2 * XmlScanner::kMaxExpansion);
    EXPECT_GT(errors, 0);
}

TEST(AnXmlScannersEntities, LoadNothingExternalUnlessTheHostSuppliesIt)
{
    const std::string text
        = "<!DOCTYPE r SYSTEM \"sub.dtd\" [<!ENTITY x SYSTEM \"/etc/passwd\">]><r>[&x;]</r>";
    EXPECT_EQ(scan(text), (Events{"dtd:r", "start:r[]", "content:[]", "end:r"}));

    XmlScanner scanner;
    std::vector<std::string> asked;
    std::string content;
    scanner.OnLoadExternal
        = [&](const std::string &systemId, const std::string &, const std::string &) {
              asked.push_back(systemId);
              return std::optional<std::string>(systemId == "sub.dtd" ? "<!ENTITY y 'why'>"
                                                                      : "<i>ex</i>");
          };
    scanner.OnContent = [&](const std::string &t) { content += t; };
    scanner.LoadText(text + "<s>&y;</s>");
    scanner.Execute();
    EXPECT_EQ(asked, (std::vector<std::string>{"sub.dtd", "/etc/passwd"}));
    EXPECT_EQ(content, "[ex]why");
}

TEST(AnXmlScannersRun, PassesAHandlersExceptionOnAndStopsWhenAsked)
{
    XmlScanner scanner;
    scanner.LoadText("<a/><b/><c/>");
    scanner.OnEmptyTag = [](const std::string &name, const AttrList &) {
        if (name == "b")
            throw std::runtime_error("handler failed");
    };
    EXPECT_THROW(scanner.Execute(), std::runtime_error);

    std::vector<std::string> seen;
    scanner.OnEmptyTag = [&](const std::string &name, const AttrList &) {
        seen.push_back(name);
        if (name == "b")
            scanner.Stop();
    };
    scanner.Execute();
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b"}));
}

TEST(AnXmlScannersFile, IsUnreadableWhenMissingAFolderOrTooLarge)
{
    XmlScanner scanner;
    EXPECT_FALSE(scanner.LoadFile("/nonexistent/OrvexMetaData.xml"));
    EXPECT_FALSE(scanner.LoadFile(std::filesystem::temp_directory_path().string()));

    const auto path
        = std::filesystem::temp_directory_path() / ("xml-scanner-" + std::to_string(::getpid()));
    {
        std::ofstream out(path, std::ios::binary);
        out << "<a/>";
    }
    EXPECT_TRUE(scanner.LoadFile(path.string()));
    EXPECT_EQ(scanner.text(), "<a/>");
    std::filesystem::resize_file(path, XmlScanner::kMaxFileSize + 1);
    EXPECT_FALSE(scanner.LoadFile(path.string()));
    EXPECT_TRUE(scanner.text().empty());
    std::filesystem::remove(path);
}

} // namespace
} // namespace configtool::xml
