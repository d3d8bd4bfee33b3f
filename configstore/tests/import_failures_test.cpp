// What ImportSite does with files that users hand it: every failure has its code, the site of
// that name stays deleted as callers expect, and nothing else changes.

#include "store_fixture.h"

#include "configstore/xml_file.h"
#include "libxml_memory.h"

#include <optional>
#include <string_view>

namespace configstore::testing {
namespace {

struct ImportCase
{
    const char *legend;
    std::optional<std::string> content; // no content: no file at all
    HRESULT expected;
};

const std::string kSite = "<SITE NAME=\"Default\"><TIMES/></SITE>";

// ` a0="1" a1="1" ...`: far more attributes than any site element has, few enough that a file
// the bound let through would still import in a moment.
std::string ManyAttributes(int count = 2000, std::string_view equals = "=", char quote = '"',
                           std::string_view prefix = "a", std::string_view value = "1")
{
    // Built by appends, which GCC 12's restrict warning at -O3 does not trip on.
    std::string text;
    for (int i = 0; i < count; ++i) {
        text.append(" ").append(prefix).append(std::to_string(i)).append(equals);
        text.push_back(quote);
        text.append(value);
        text.push_back(quote);
    }
    return text;
}

// `text` (ASCII) in UTF-16, little-endian, after its byte order mark.
std::string Utf16(const std::string &text)
{
    std::string bytes = "\xFF\xFE";
    for (const char c : text)
        bytes += std::string(1, c) + '\0';
    return bytes;
}

std::string Repeated(const std::string &text, int count)
{
    std::string all;
    for (int i = 0; i < count; ++i)
        all += text;
    return all;
}

// The site "Default" holding `count` copies of `unit`, after `declarations`.
std::string Filled(const std::string &unit, int count, const std::string &declarations = "")
{
    return declarations + "<CONFIG><SITE NAME=\"Default\">" + Repeated(unit, count)
           + "</SITE></CONFIG>";
}

// `before`0`after` `before`1`after` ... (`count` of them).
std::string Numbered(const std::string &before, const std::string &after, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += before + std::to_string(i) + after;
    return text;
}

// The site "Default" holding `depth` elements `open`, each inside the one before.
std::string Nested(const std::string &open, int depth)
{
    return Filled(Repeated(open, depth) + Repeated("</a>", depth), 1);
}

// A document type declaring, for the element `element`, the attributes `prefix`0, `prefix`1, ...
// (`count` of them), each with `definition`: " CDATA \"1\"" gives them a default.
std::string Declared(const std::string &element, int count, const std::string &definition,
                     const std::string &prefix = "d")
{
    std::string text = "<!DOCTYPE CONFIG [<!ATTLIST " + element;
    for (int i = 0; i < count; ++i)
        text += " " + prefix + std::to_string(i) + definition;
    return text + ">]>";
}

const ImportCase kImportCases[] = {
    {"missing file", std::nullopt, STG_E_FILENOTFOUND},
    {"empty file", "", E_ABORT},
    {"truncated file", "<CONFIG>" + kSite.substr(0, 20), E_ABORT},
    {"two roots", "<CONFIG/><CONFIG/>", E_ABORT},
    {"mismatched tags", "<CONFIG>" + kSite + "</CONFIGX>", E_ABORT},
    {"undeclared entity", "<CONFIG><SITE NAME=\"Default\">&secret;</SITE></CONFIG>", E_ABORT},
    {"undeclared namespace prefix", "<CONFIG><x:SITE NAME=\"Default\"/></CONFIG>", E_ABORT},
    {"text only", "just some text", E_ABORT},
    {"binary garbage", std::string("\x00\xFF\xFE<", 4), E_ABORT},
    {"no site of that name", "<CONFIG><SITE NAME=\"Other\"/></CONFIG>", STG_E_FILENOTFOUND},
    {"name in another letter case", "<CONFIG><SITE NAME=\"default\"/></CONFIG>", STG_E_FILENOTFOUND},
    {"empty root", "<CONFIG/>", STG_E_FILENOTFOUND},
    {"site without a name", "<CONFIG><SITE/></CONFIG>", STG_E_FILENOTFOUND},
    {"declared entity in a value",
     "<!DOCTYPE CONFIG [<!ENTITY e \"5\">]><CONFIG><SITE NAME=\"Default\"><TIMES><DWELL_TIME "
     "PRIORITY=\"1\">&e;</DWELL_TIME></TIMES></SITE></CONFIG>",
     E_ABORT},
    {"declared entity in an attribute",
     "<!DOCTYPE CONFIG [<!ENTITY e \"5\">]><CONFIG><SITE NAME=\"Default\"><TASKS><TASK NUMBER=\"&e;\"/>"
     "</TASKS></SITE></CONFIG>",
     E_ABORT},
    {"character references and predefined entities",
     "<CONFIG><SITE NAME=\"Def&#97;ult\"><TASKS>&amp;&#65;</TASKS></SITE></CONFIG>", S_OK},
    {"any root tag", "<SITES><SITE NAME=\"Default\"/></SITES>", S_OK},
    {"any site tag", "<CONFIG><PLACE NAME=\"Default\"/></CONFIG>", S_OK},
    // Files whose parse would take libxml2 far longer than their size warrants.
    {"an element of thousands of attributes", "<CONFIG><SITE NAME=\"Default\"" + ManyAttributes() + "/></CONFIG>",
     E_ABORT},
    {"an element of thousands of namespace declarations",
     "<CONFIG><SITE NAME=\"Default\"" + ManyAttributes(2000, "=", '"', "xmlns:n") + "/></CONFIG>", E_ABORT},
    {"the attributes in UTF-16", Utf16("<CONFIG><SITE NAME=\"Default\"" + ManyAttributes() + "/></CONFIG>"), E_ABORT},
    {"an element of 17 attributes",
     "<CONFIG><SITE NAME=\"Default\"" + ManyAttributes(16) + "/></CONFIG>", E_ABORT},
    {"65 namespaces in scope", Nested("<a" + ManyAttributes(2, "=", '"', "xmlns:n") + ">", 33), E_ABORT},
    {"elements of more distinct names than a site file may use", Filled(Numbered("<z", "/>", 10000), 1), E_ABORT},
    {"processing instructions of as many names", Filled(Numbered("<?t", "?>", 10000), 1), E_ABORT},
    // Files whose parse would take libxml2 far more memory than their size warrants.
    {"elements of four bytes", Filled("<a/>", 800000), E_ABORT},
    {"elements with texts between them", Filled("<a/>x", 250000), E_ABORT},
    {"elements of 16 empty attributes", Filled("<P" + ManyAttributes(16, "=", '"', "a", "") + "/>", 20000), E_ABORT},
    {"processing instructions", Filled("<?a?>", 600000), E_ABORT},
    // Declarations, which no site file holds: defaults would give elements attributes and
    // namespaces that the file's bytes do not show.
    {"defaults declared for the site's attributes", Declared("SITE", 100, " CDATA \"1\"") + "<CONFIG>" + kSite + "</CONFIG>", E_ABORT},
    {"a default declared for an attribute", Declared("SITE", 1, " CDATA \"1\"") + "<CONFIG>" + kSite + "</CONFIG>",
     E_ABORT},
    {"a namespace that every element is given by default",
     Filled("<a/>", 20, Declared("a", 1, " CDATA 'urn:" + std::string(8100, 'u') + "'", "xmlns:n")), E_ABORT},
    {"an attribute declared without a default", Declared("a", 1, " CDATA #IMPLIED") + "<CONFIG>" + kSite + "</CONFIG>",
     E_ABORT},
    {"an element declaration", "<!DOCTYPE CONFIG [<!ELEMENT CONFIG ANY>]><CONFIG>" + kSite + "</CONFIG>", E_ABORT},
    {"a notation declaration", "<!DOCTYPE CONFIG [<!NOTATION n SYSTEM \"n\">]><CONFIG>" + kSite + "</CONFIG>", E_ABORT},
    // What a real site file may hold.
    {"texts and values full of '='",
     "<CONFIG><SITE NAME=\"a=b=c\"/><SITE NAME=\"Default\"><TEXT>" + std::string(500, '=') + " x = 1</TEXT></SITE>"
     "</CONFIG>",
     S_OK},
    {"a comment of 17 settings written name=value, as the store writes it",
     "<CONFIG><SITE NAME=\"Default\"><PRESET NUMBER=\"1\"><COMMENT>" + Numbered("zoom", "=2 ", 17)
         + "</COMMENT></PRESET></SITE></CONFIG>",
     S_OK},
    {"UTF-16", Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><CONFIG>" + kSite + "</CONFIG>"), S_OK},
    {"Latin-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><CONFIG><SITE NAME=\"Default\"><TEXT>caf\xE9</TEXT>"
     "</SITE></CONFIG>",
     S_OK},
    {"a document type naming its DTD",
     "<!DOCTYPE CONFIG PUBLIC \"-//Orvex//Site//EN\" \"site.dtd\"><CONFIG>" + kSite + "</CONFIG>", S_OK},
    {"a document type whose internal subset holds a comment",
     "<!DOCTYPE CONFIG [<!-- none -->]><CONFIG>" + kSite + "</CONFIG>", S_OK},
    {"an element of 16 attributes",
     "<CONFIG><SITE NAME=\"Default\"" + ManyAttributes(15) + "/></CONFIG>", S_OK},
    {"64 namespaces in scope", Nested("<a" + ManyAttributes(2, "=", '"', "xmlns:n") + ">", 32), S_OK},
    {"namespace declarations written out on every element",
     Filled("<a xmlns:p=\"urn:" + std::string(8100, 'u') + "\"/>", 200), S_OK},
    {"comments, sections and instructions",
     Filled("<!-- c --><![CDATA[x]]><?pi data?>", 20000), S_OK},
    {"as many nodes as any file may hold", Filled("<a/>", 65000), S_OK},
};

class AnImport : public StoreTest
{
protected:
    // "Default" holds one task, "Other" one camera.
    void SetUp() override
    {
        StoreTest::SetUp();
        std::shared_ptr<ITask> task;
        ASSERT_EQ(site("Default")->NewTask(0, &task), S_OK);
        std::shared_ptr<ICamera> camera;
        ASSERT_EQ(site("Other")->NewCamera(1, &camera), S_OK);
    }

    [[nodiscard]] std::vector<std::string> siteNames()
    {
        std::vector<std::string> names;
        std::int32_t count = 0;
        EXPECT_EQ(m_config.EnumSites(&names, &count), S_OK);
        EXPECT_EQ(count, static_cast<std::int32_t>(names.size()));
        return names;
    }

    const std::string m_name = "Default";
};

TEST_F(AnImport, AnswersEachKindOfFileWithItsCode)
{
    for (const ImportCase &c : kImportCases) {
        SCOPED_TRACE(c.legend);
        SetUp();
        const std::string file = path("site.ovx");
        std::filesystem::remove(file);
        if (c.content)
            WriteFile(file, *c.content);
        EXPECT_EQ(m_config.ImportSite(&m_name, &file), c.expected);

        // The old "Default" is gone either way; a successful import appends the new one last.
        const auto names = siteNames();
        if (c.expected == S_OK) {
            EXPECT_EQ(names, std::vector<std::string>({"Other", "Default"}));
            std::shared_ptr<ISite> imported;
            ASSERT_EQ(m_config.GetSite(&m_name, &imported), S_OK);
            std::int16_t tasks = -1;
            imported->NumTasks(&tasks);
            EXPECT_EQ(tasks, 0) << "the file's site replaced the old one";
        } else {
            EXPECT_EQ(names, std::vector<std::string>({"Other"}));
        }
        std::shared_ptr<ISite> other;
        ASSERT_EQ(m_config.GetSite(&names.front(), &other), S_OK);
        std::int16_t cameras = 0;
        other->NumCameras(&cameras);
        EXPECT_EQ(cameras, 1) << "another site was touched";
    }
}

TEST_F(AnImport, RefusesAFileLargerThanSixteenMebibytes)
{
    const std::string file = path("site.ovx");
    const std::string site = "<CONFIG>" + kSite + "</CONFIG>";
    const std::string comment = "<!-- " + std::string(58, '=') + " -->\n";
    for (const std::uint64_t size : {kMaxSiteFileBytes, kMaxSiteFileBytes + 1}) {
        std::string text;
        text.reserve(size);
        while (text.size() + comment.size() + site.size() <= size)
            text += comment;
        text += std::string(size - text.size() - site.size(), '\n') + site;
        WriteFile(file, text);
        EXPECT_EQ(m_config.ImportSite(&m_name, &file), size > kMaxSiteFileBytes ? E_ABORT : S_OK) << size;
    }
    EXPECT_NE(m_config.LastFileError().find("larger than 16 MiB"), std::string::npos) << m_config.LastFileError();
}

// Each parse has a dictionary of its own: the names of a file that failed do not stay behind,
// nor slow down the imports after it.
TEST_F(AnImport, ThatFailsLeavesNothingOfTheFileBehind)
{
    const std::string file = path("names.ovx");
    const std::string absent = "NOSUCH";
    const auto importNames = [&](int fileNumber) {
        std::string elements;
        for (int i = 0; i < 4000; ++i) {
            const std::string number = std::to_string(fileNumber * 10000 + i);
            elements += "<n" + std::string(69 - number.size(), '0') + number + "/>";
        }
        WriteFile(file, Filled(elements, 1));
        return m_config.ImportSite(&absent, &file);
    };
    // What the first parse of a process sets up for good is not the file's.
    ASSERT_EQ(importNames(0), STG_E_FILENOTFOUND);
    const testing_support::LibxmlMemory memory;
    for (int fileNumber = 1; fileNumber <= 10; ++fileNumber)
        ASSERT_EQ(importNames(fileNumber), STG_E_FILENOTFOUND);
    EXPECT_LT(memory.growth(), 64 * 1024);
}

TEST_F(AnImport, RefusesWhatIsNoRegularFile)
{
    for (const std::string &file : {m_folder.string(), std::string("/dev/zero"), std::string("/dev/null")})
        EXPECT_EQ(m_config.ImportSite(&m_name, &file), STG_E_FILENOTFOUND) << file;
}

TEST_F(AnImport, NeverReadsExternalEntitiesOrTheNetwork)
{
    const std::string secret = path("secret.txt");
    WriteFile(secret, "TOP SECRET");
    const std::string file = path("site.ovx");
    WriteFile(file, "<?xml version=\"1.0\"?>\n"
                    "<!DOCTYPE CONFIG [\n"
                    "  <!ENTITY local SYSTEM \"file://" + secret + "\">\n"
                    "  <!ENTITY remote SYSTEM \"http://127.0.0.1:9/x\">\n"
                    "  <!ENTITY % dtd SYSTEM \"http://127.0.0.1:9/x.dtd\"> %dtd;\n"
                    "]>\n"
                    "<CONFIG><SITE NAME=\"Default\"><INTEREST_ZONES><INTEREST_ZONE NUMBER=\"1\">"
                    "<CAMERA_NUMBER>1</CAMERA_NUMBER><PRESET_NUMBER>1</PRESET_NUMBER>"
                    "<TEXT>&local;&remote;</TEXT></INTEREST_ZONE></INTEREST_ZONES></SITE></CONFIG>\n");
    EXPECT_EQ(m_config.ImportSite(&m_name, &file), E_ABORT) << "a site that refers to entities";
    ASSERT_EQ(m_config.SaveSite(), S_OK);
    EXPECT_EQ(ReadFile(path("orvexconfig.xml")).find("TOP SECRET"), std::string::npos);
}

TEST_F(AnImport, StopsAnExponentialEntityExpansion)
{
    std::string doc = "<?xml version=\"1.0\"?>\n<!DOCTYPE CONFIG [\n<!ENTITY a0 \"laugh\">\n";
    for (int i = 1; i <= 12; ++i)
        doc += "<!ENTITY a" + std::to_string(i) + " \"" + [&] {
            std::string refs;
            for (int j = 0; j < 10; ++j)
                refs += "&a" + std::to_string(i - 1) + ";";
            return refs;
        }() + "\">\n";
    doc += "]>\n<CONFIG><SITE NAME=\"Default\"><TIMES>&a12;</TIMES></SITE></CONFIG>\n";
    const std::string file = path("laughs.ovx");
    WriteFile(file, doc);
    const HRESULT hr = m_config.ImportSite(&m_name, &file);
    EXPECT_TRUE(hr == E_ABORT || hr == S_OK) << DescribeResult(hr);
    ASSERT_EQ(m_config.SaveSite(), S_OK);
    EXPECT_LT(std::filesystem::file_size(path("orvexconfig.xml")), 100000u);
}

TEST_F(AnImport, CopesWithNamespacesAndIdsDeclaredAboveTheSite)
{
    const std::string file = path("site.ovx");
    WriteFile(file, "<CONFIG xmlns:x=\"urn:x\" xmlns=\"urn:default\">"
                    "<SITE NAME=\"Default\" x:origin=\"elsewhere\" xml:id=\"s1\">"
                    "<x:NOTE x:by=\"me\" key=\"k1\">kept</x:NOTE><NOTE key=\"k2\"/></SITE></CONFIG>");
    ASSERT_EQ(m_config.ImportSite(&m_name, &file), S_OK);
    // The file's document is gone by now: saving walks every namespace of the copied site.
    ASSERT_EQ(m_config.SaveSite(), S_OK);
    const std::string saved = ReadFile(path("orvexconfig.xml"));
    EXPECT_NE(saved.find("urn:x"), std::string::npos);
    EXPECT_NE(saved.find("kept"), std::string::npos);
    const std::string name = "Default";
    ASSERT_EQ(m_config.DeleteSite(&name), S_OK);
    ASSERT_EQ(m_config.LoadAndParse(), S_OK);
}

} // namespace
} // namespace configstore::testing
