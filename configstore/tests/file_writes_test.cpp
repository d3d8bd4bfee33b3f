// Saving and exporting replace a file only once the new content is complete and synced: a
// failed write returns its error and leaves the old file, and no temporary file, behind; what a
// writer killed part way left behind goes with the next write to the same file.

#include "store_fixture.h"

#include "platform/profile_file.h"

#include <cerrno>
#include <csignal>
#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace configstore::testing {
namespace {

// Lowers the file size limit, so that the next write fails part way as on a full disk
// (EFBIG rather than ENOSPC), and restores it on leaving.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

class AFileWrite : public StoreTest
{
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        std::shared_ptr<ISite> s = site();
        for (std::int16_t number = 0; number < 50; ++number) {
            std::shared_ptr<ICamera> camera;
            ASSERT_EQ(s->NewCamera(number, &camera), S_OK);
        }
    }

    std::size_t filesInFolder() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(m_folder),
                                                      std::filesystem::directory_iterator()));
    }
};

TEST_F(AFileWrite, ThatFailsPartWayKeepsTheOldFileAndReportsTheError)
{
    const std::string name = "Default";
    const std::string file = path("site.ovx");
    WriteFile(file, "old content");
    WriteFile(path("orvexconfig.xml"), "old config");
    {
        const FileSizeLimit limit(512);
        EXPECT_EQ(m_config.ExportSite(&name, &file), ResultFromErrno(EFBIG));
        EXPECT_EQ(m_config.SaveSite(), ResultFromErrno(EFBIG));
    }
    EXPECT_EQ(ReadFile(file), "old content");
    EXPECT_EQ(ReadFile(path("orvexconfig.xml")), "old config");
    EXPECT_EQ(filesInFolder(), 2u) << "a temporary file was left behind";

    ASSERT_EQ(m_config.SaveSite(), S_OK) << "the document in memory is unchanged";
    EXPECT_GT(ReadFile(path("orvexconfig.xml")).size(), 512u);
}

TEST_F(AFileWrite, IntoAMissingFolderFailsWithItsError)
{
    const std::string name = "Default";
    const std::string file = path("no/such/folder/site.ovx");
    EXPECT_EQ(m_config.ExportSite(&name, &file), ResultFromErrno(ENOENT));
    EXPECT_TRUE(FAILED(m_config.ExportSite(&name, &file)));
}

TEST_F(AFileWrite, ReplacesAnExistingFileWhole)
{
    const std::string name = "Default";
    const std::string file = path("site.ovx");
    WriteFile(file, std::string(100000, '~'));
    ASSERT_EQ(m_config.ExportSite(&name, &file), S_OK);
    const std::string written = ReadFile(file);
    EXPECT_EQ(written.find('~'), std::string::npos);
    EXPECT_EQ(written.substr(written.size() - 10), "</CONFIG>\n");
    EXPECT_EQ(filesInFolder(), 1u);
}

// Runs `write` in a child process that the kernel kills part way through the file, as kill -9
// would (the file size limit with its signal's default action). True when it died so.
bool killedPartWay(const std::function<void()> &write)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit small{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &small);
        write();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ;
}

enum class Writer { SaveSite, ExportSite, Settings };

struct InterruptedWrite
{
    const char *legend;
    const char *file;
    Writer writer;
};

void PrintTo(const InterruptedWrite &row, std::ostream *out)
{
    *out << row.legend;
}

class AnInterruptedWrite : public AFileWrite, public ::testing::WithParamInterface<InterruptedWrite>
{
protected:
    // Writes the file of the row with `text` in it.
    HRESULT write(const std::string &text)
    {
        const std::string file = path(GetParam().file);
        if (GetParam().writer == Writer::Settings)
            return ProfileFile(file).writeString("Settings", "Note", text) ? S_OK : E_FAIL;
        std::shared_ptr<ICamera> camera;
        std::shared_ptr<IPreset> preset;
        if (site()->GetCamera(0, &camera) != S_OK || camera->NewPreset(1, &preset) != S_OK
            || preset->SetComment(text.c_str()) != S_OK)
            return E_FAIL;
        const std::string name = "Default";
        return GetParam().writer == Writer::SaveSite ? m_config.SaveSite() : m_config.ExportSite(&name, &file);
    }
};

TEST_P(AnInterruptedWrite, LeavesATemporaryFileThatTheNextWriteToTheFileRemoves)
{
    ASSERT_TRUE(killedPartWay([&] { (void)write(std::string(100000, 'x')); }));
    ASSERT_EQ(filesInFolder(), 1u) << "the kill left no temporary file: the test proves nothing";

    ASSERT_EQ(write("after"), S_OK);
    EXPECT_EQ(filesInFolder(), 1u) << "the temporary file of the killed write is still there";
    EXPECT_NE(ReadFile(path(GetParam().file)).find("after"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EveryReplacedFile, AnInterruptedWrite,
                         ::testing::Values(InterruptedWrite{"ConfigurationFile", "orvexconfig.xml", Writer::SaveSite},
                                           InterruptedWrite{"SiteFile", "site.ovx", Writer::ExportSite},
                                           InterruptedWrite{"SettingsFile", "OrvexSettings.ini", Writer::Settings}),
                         [](const ::testing::TestParamInfo<InterruptedWrite> &info) { return info.param.legend; });

} // namespace
} // namespace configstore::testing
