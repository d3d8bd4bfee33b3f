// What a data file may be: only a plain file is read, nothing makes the open wait, and a writer
// never puts a plain file in place of a FIFO, a device or a folder.

#include "platform/regular_file.h"
#include "platform/replace_file.h"
#include "support/tests/scoped_temp_folder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

struct FileKindCase
{
    const char *legend;
    const char *path; // relative to the test's folder, or absolute
    int openError;    // of OpenRegularFile and ReadRegularFile
    int replaceError; // of CheckReplaceableFile and ReplaceFileContents
};

class ADataFile : public ::testing::TestWithParam<FileKindCase>
{
protected:
    void SetUp() override
    {
        std::ofstream(m_folder / "plain") << "content";
        fs::create_directory(m_folder / "folder");
        ASSERT_EQ(::mkfifo((m_folder / "fifo").c_str(), 0600), 0);
        fs::create_symlink("/dev/zero", m_folder / "to-zero");
        fs::create_symlink(m_folder / "plain", m_folder / "to-plain");
        fs::create_symlink(m_folder / "fifo", m_folder / "to-fifo");
    }
    std::string pathOf(const char *name) const
    {
        return name[0] == '/' ? std::string(name) : (m_folder / name).string();
    }

    ScopedTempFolder m_folder{"regular-file-test"};
};

TEST_P(ADataFile, IsReadOnlyWhenPlainAndReplacedOnlyWhenPlainOrMissing)
{
    const FileKindCase &c = GetParam();
    const std::string path = pathOf(c.path);

    int error = -1;
    const UniqueFd fd = OpenRegularFile(path, &error);
    EXPECT_EQ(error, c.openError) << c.legend;
    EXPECT_EQ(fd.valid(), c.openError == 0) << c.legend;

    std::string contents = "untouched";
    EXPECT_EQ(ReadRegularFile(path, 1 << 20, &contents), c.openError) << c.legend;
    if (c.openError == 0)
        EXPECT_EQ(contents, "content") << c.legend;
    else
        EXPECT_EQ(contents, "untouched") << c.legend;

    EXPECT_EQ(CheckReplaceableFile(path), c.replaceError) << c.legend;
    if (c.path[0] == '/')
        return; // never write outside the test's folder
    struct stat before{};
    const bool existed = ::stat(path.c_str(), &before) == 0;
    EXPECT_EQ(ReplaceFileContents(path, "new"), c.replaceError) << c.legend;
    struct stat after{};
    if (c.replaceError != 0) {
        ASSERT_EQ(::stat(path.c_str(), &after), 0) << c.legend;
        EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT) << c.legend << ": replaced";
    } else {
        EXPECT_TRUE(existed || fs::is_regular_file(path)) << c.legend;
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, ADataFile,
    ::testing::Values(FileKindCase{"plain file", "plain", 0, 0},
                      FileKindCase{"link to a plain file", "to-plain", 0, 0},
                      FileKindCase{"missing file", "missing", ENOENT, 0},
                      FileKindCase{"folder", "folder", EISDIR, EISDIR},
                      FileKindCase{"FIFO without a writer", "fifo", kNotRegularFileError, kNotRegularFileError},
                      FileKindCase{"link to a FIFO", "to-fifo", kNotRegularFileError, kNotRegularFileError},
                      FileKindCase{"link to /dev/zero", "to-zero", kNotRegularFileError, kNotRegularFileError},
                      FileKindCase{"device node", "/dev/null", kNotRegularFileError, kNotRegularFileError}),
    [](const auto &info) {
        std::string name;
        for (const char *p = info.param.legend; *p; ++p)
            if (std::isalnum(static_cast<unsigned char>(*p)))
                name += *p;
        return name;
    });

TEST(AReadOfADataFile, RefusesAFileOverItsBoundAndReadsOneAtItsBound)
{
    ScopedTempFolder folder("regular-file-bound");
    const std::string path = (folder / "data").string();
    std::ofstream(path) << std::string(10000, 'x');

    std::string contents;
    EXPECT_EQ(ReadRegularFile(path, 9999, &contents), EFBIG);
    EXPECT_TRUE(contents.empty());
    EXPECT_EQ(ReadRegularFile(path, 10000, &contents), 0);
    EXPECT_EQ(contents.size(), 10000u);
    std::ofstream(path, std::ios::trunc).flush();
    EXPECT_EQ(ReadRegularFile(path, 10000, &contents), 0);
    EXPECT_TRUE(contents.empty());
}

} // namespace
