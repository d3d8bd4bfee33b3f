// The site files a client names: what is no plain file, the service's own files and broken files
// are refused with their codes, promptly, each with one trace line that says which file and why.

#include "site_test_support.h"

#include "support/tests/time_scale.h"
#include "support/trace_log.h"

#include <gmock/gmock.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <future>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace services::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The trace is kept out of the install folder, whose files a test watches.
class ASiteFile : public SiteOverStore
{
protected:
    void SetUp() override
    {
        support::OpenTrace(m_trace.path().c_str(), nullptr, "OrvexServices");
        ASSERT_EQ(site.InitializeStorage(), S_OK);
        ASSERT_EQ(site.NewSite(&defaultName), S_OK);
    }
    void TearDown() override { support::CloseTrace(); }

    // The trace's error lines since the last call.
    std::vector<std::string> errorLines()
    {
        support::CloseTrace();
        std::vector<std::string> lines;
        for (const char *name : {"OrvexServices_0.txt", "OrvexServices_1.txt"}) {
            std::istringstream text(readFile(m_trace / name));
            for (std::string line; std::getline(text, line);) {
                if (line.find("[ERROR]") != std::string::npos)
                    lines.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
            }
            fs::remove(m_trace / name);
        }
        support::OpenTrace(m_trace.path().c_str(), nullptr, "OrvexServices");
        return lines;
    }

    ScopedTempFolder m_trace{"site-files-trace"};
};

TEST_F(ASiteFile, ThatIsNoPlainFileIsRefusedPromptlyLeftAloneAndTraced)
{
    const std::string notPlain = "it is not a plain file (a FIFO, a device or a socket)";
    struct Target
    {
        const char *legend;
        std::function<void(const std::string &)> make;
        unsigned kind; // S_IFMT of what the path holds, links not followed
        HRESULT exportCode;
        std::string reason;
    } const targets[] = {
        {"FIFO", [](const std::string &p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, S_IFIFO,
         ResultFromErrno(EINVAL), notPlain},
        {"link to /dev/zero", [](const std::string &p) { fs::create_symlink("/dev/zero", p); }, S_IFLNK,
         ResultFromErrno(EINVAL), notPlain},
        {"folder", [](const std::string &p) { fs::create_directory(p); }, S_IFDIR, ResultFromErrno(EISDIR),
         "it is a folder"},
    };
    for (const Target &target : targets) {
        SCOPED_TRACE(target.legend);
        const std::string path = folder.file(std::string(target.legend, 4) + ".ovx");
        target.make(path);
        ASSERT_EQ(site.NewSite(&defaultName), S_OK);
        // A FIFO reader left waiting for a writer is let go, so that the test ends either way.
        const auto promptly = [&](const std::function<HRESULT()> &call) {
            auto result = std::async(std::launch::async, call);
            if (result.wait_for(scaled(std::chrono::seconds(5))) != std::future_status::ready) {
                ADD_FAILURE() << "no answer within five seconds";
                ::close(::open(path.c_str(), O_WRONLY | O_NONBLOCK));
            }
            return result.get();
        };
        EXPECT_EQ(promptly([&] { return site.ExportSite(&defaultName, &path); }), target.exportCode);
        EXPECT_EQ(promptly([&] { return site.ImportSite(&defaultName, &path); }), STG_E_FILENOTFOUND);
        struct stat status{};
        ASSERT_EQ(::lstat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & S_IFMT, target.kind);
        char code[16];
        std::snprintf(code, sizeof code, "0x%x", static_cast<unsigned>(target.exportCode));
        EXPECT_THAT(errorLines(),
                    ::testing::ElementsAre(::testing::EndsWith("Error Exporting Site \"Default\" to " + path
                                                               + ": " + code + " - " + target.reason),
                                           ::testing::EndsWith("Error Importing Site \"Default\" from " + path
                                                               + ": 0x80030002 - " + target.reason)));
    }
}

TEST_F(ASiteFile, ExportIsRefusedOverTheServicesOwnFilesHoweverTheyAreNamed)
{
    const ScopedTempFolder elsewhere("site-files-elsewhere");
    std::vector<std::pair<std::string, std::string>> paths; // the path, and the own file it names
    for (const char *name : {"OrvexSettings.ini", "RecorderBridgeConfig.xml", "orvexconfig.xml", "OrvexServices_0.txt",
                             "OrvexServices_1.txt", "RecorderBridge_0.txt", "RecorderBridge_1.txt", "fwd.dat",
                             "OrvexMetaData.xml", "Log.txt"}) {
        std::ofstream(folder.file(name)) << "own " << name;
        paths.emplace_back(folder.file(name), name);
    }
    fs::create_directory(folder.path() / "sub");
    fs::create_symlink(folder.path() / "OrvexSettings.ini", elsewhere / "settings-link.ovx");
    fs::create_symlink(folder.path(), elsewhere / "install-link");
    fs::create_hard_link(folder.path() / "OrvexMetaData.xml", elsewhere / "hard-link.ovx");
    paths.emplace_back(folder.file("") + "/./RecorderBridgeConfig.xml", "RecorderBridgeConfig.xml");
    paths.emplace_back(folder.file("") + "//orvexconfig.xml", "orvexconfig.xml");
    paths.emplace_back(folder.file("sub/../fwd.dat"), "fwd.dat");
    paths.emplace_back((elsewhere / "settings-link.ovx").string(), "OrvexSettings.ini");
    paths.emplace_back((elsewhere / "install-link/Log.txt").string(), "Log.txt");
    paths.emplace_back((elsewhere / "hard-link.ovx").string(), "OrvexMetaData.xml");
    for (const auto &[path, name] : paths) {
        SCOPED_TRACE(path);
        EXPECT_EQ(site.ExportSite(&defaultName, &path), E_ACCESSDENIED);
        EXPECT_EQ(readFile(folder.path() / name), "own " + name);
        EXPECT_THAT(errorLines(), ::testing::ElementsAre(HasSubstr("Error Exporting Site \"Default\" to " + path
                                                                   + ": 0x80070005 - it is the service's own file ")));
    }
    const std::string ordinary = folder.file("Forecourt.ovx");
    EXPECT_EQ(site.ExportSite(&defaultName, &ordinary), S_OK);
    EXPECT_THAT(readFile(ordinary), HasSubstr("<SITE NAME=\"Default\">"));
}

TEST_F(ASiteFile, ThatCannotBeImportedIsTracedInOneLineAndNothingGoesToStderr)
{
    std::string attributes;
    for (int i = 0; i < 16; ++i)
        attributes += " a" + std::to_string(i) + "=\"\"";
    std::string elements;
    for (int i = 0; i < 200000; ++i)
        elements += "<a/>";
    const std::pair<std::string, std::string> cases[] = {
        // libxml2 raises this one without a parser context; it went to stderr.
        {"<?xml version=\"1.0\" encoding=\"windows-1252\"?><CONFIG><SITE NAME=\"Default\">\x81</SITE></CONFIG>",
         "0x80004004 - input conversion failed"},
        {"<CONFIG>\n<SITE NAME=\"Default\"></CONFIGX>", "0x80004004 - line 2: Opening and ending tag mismatch"},
        // Refused before they are parsed.
        {"<CONFIG><SITE NAME=\"Default\"" + attributes + "/></CONFIG>",
         "0x80004004 - an element has more than 16 attributes"},
        {"<CONFIG><SITE NAME=\"Default\">" + elements + "</SITE></CONFIG>",
         "0x80004004 - it holds more nodes than its size allows: over 145540 "
         "(65536 and one per 10 bytes)"},
    };
    const std::string path = folder.file("broken.ovx");
    for (const auto &[content, reason] : cases) {
        SCOPED_TRACE(reason);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(site.ImportSite(&defaultName, &path), E_ABORT);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        EXPECT_THAT(errorLines(),
                    ::testing::ElementsAre(HasSubstr("Error Importing Site \"Default\" from " + path + ": " + reason)));
    }
}

} // namespace
} // namespace services::testing
