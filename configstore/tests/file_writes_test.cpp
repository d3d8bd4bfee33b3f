// Saving and exporting replace a file only once the new content is complete and synced: a
// failed write returns its error and leaves the old file, and no temporary file, behind.

#include "store_fixture.h"

#include <cerrno>
#include <csignal>

#include <sys/resource.h>

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

} // namespace
} // namespace configstore::testing
