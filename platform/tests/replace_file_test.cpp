// What removing left temporary files may touch: only plain files named as ours whose writer has
// gone, never a file another writer still holds, nor anything named otherwise.

#include "platform/replace_file.h"
#include "platform/unique_fd.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class AFolderWithLeftFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("replace_file_test_" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        for (const char *name : {"orvexconfig.xml", "orvexconfig.xml.orvex-tmp.Ab3dE9", "site.ovx.orvex-tmp.000000",
                                 // Not ours by name: another marker, a unique part too short, too
                                 // long or with other characters, no target before the marker.
                                 "orvexconfig.xml.tmp.Ab3dE9", "orvexconfig.xml.orvex-tmp.Ab3dE",
                                 "orvexconfig.xml.orvex-tmp.Ab3dE9x", "orvexconfig.xml.orvex-tmp.Ab-dE9",
                                 ".orvex-tmp.Ab3dE9", "orvexconfig.xml.Ab3dE9"})
            std::ofstream(m_dir / name) << "content";
        // Named as ours but no plain file.
        fs::create_directory(m_dir / "orvexconfig.xml.orvex-tmp.Folder");
        fs::create_symlink(m_dir / "orvexconfig.xml", m_dir / "orvexconfig.xml.orvex-tmp.SymLnk");
        ::mkfifo((m_dir / "orvexconfig.xml.orvex-tmp.Fifo00").c_str(), 0600);
        // A writer still at work on its temporary file (the lock of another open file stands for
        // another process: flock locks conflict between open files).
        std::ofstream(m_dir / "orvexconfig.xml.orvex-tmp.Live00") << "half";
        m_live = UniqueFd(::open((m_dir / "orvexconfig.xml.orvex-tmp.Live00").c_str(), O_RDONLY | O_CLOEXEC));
        ASSERT_EQ(::flock(m_live.get(), LOCK_EX), 0);
    }
    void TearDown() override
    {
        m_live.close();
        fs::remove_all(m_dir);
    }

    std::set<std::string> names() const
    {
        std::set<std::string> result;
        for (const auto &entry : fs::directory_iterator(m_dir))
            result.insert(entry.path().filename().string());
        return result;
    }
    std::set<std::string> allBut(std::initializer_list<const char *> removed) const
    {
        std::set<std::string> result = m_before;
        for (const char *name : removed)
            result.erase(name);
        return result;
    }

    fs::path m_dir;
    UniqueFd m_live;
    std::set<std::string> m_before;
};

TEST_F(AFolderWithLeftFiles, LosesOnlyTheAbandonedTemporariesOfTheTargetAWriteReplaces)
{
    m_before = names();
    ASSERT_EQ(ReplaceFileContents((m_dir / "orvexconfig.xml").string(), "new"), 0);
    EXPECT_EQ(names(), allBut({"orvexconfig.xml.orvex-tmp.Ab3dE9"}));

    // The writer has gone: its file goes with the next write.
    m_live.close();
    ASSERT_EQ(ReplaceFileContents((m_dir / "orvexconfig.xml").string(), "newer"), 0);
    EXPECT_EQ(names(), allBut({"orvexconfig.xml.orvex-tmp.Ab3dE9", "orvexconfig.xml.orvex-tmp.Live00"}));
}

TEST_F(AFolderWithLeftFiles, LosesTheAbandonedTemporariesOfEveryTargetInASweep)
{
    m_before = names();
    EXPECT_EQ(RemoveLeftTemporaries(m_dir.string()), 2);
    EXPECT_EQ(names(), allBut({"orvexconfig.xml.orvex-tmp.Ab3dE9", "site.ovx.orvex-tmp.000000"}));
    EXPECT_EQ(RemoveLeftTemporaries((m_dir / "no-such-folder").string()), 0);
}

// A sweep of a tree goes down every real folder to a bounded depth, and never through a link into
// another tree.
TEST(ASweepOfAFolderTree, RemovesAbandonedTemporariesInRealFoldersWithinTheDepthOnly)
{
    const fs::path base
        = fs::temp_directory_path() / ("replace_file_tree_" + std::to_string(::getpid()));
    const fs::path dir = base / "install";
    fs::remove_all(base);
    std::string deepest = "Deep";
    for (int level = 2; level <= kTemporarySweepDepth + 1; ++level)
        deepest.append("/").append(std::to_string(level));
    const std::string deepestEntered = deepest.substr(0, deepest.rfind('/'));
    struct Row
    {
        std::string path; // below `base`
        bool removed;
    };
    const std::vector<Row> rows{
        {"install/orvexconfig.xml.orvex-tmp.Ab3dE9", true},
        {"install/Data/site.ovx.orvex-tmp.Ab3dE9", true},
        {"install/Data/notes.txt", false},
        {"install/Data/site.ovx.orvex-tmp.Live00", false},
        {"install/" + deepestEntered + "/site.ovx.orvex-tmp.Ab3dE9", true},
        {"install/" + deepest + "/site.ovx.orvex-tmp.Ab3dE9", false},
        {"elsewhere/site.ovx.orvex-tmp.Ab3dE9", false},
    };
    for (const Row &row : rows) {
        fs::create_directories((base / row.path).parent_path());
        std::ofstream(base / row.path) << "left";
    }
    fs::create_directory_symlink(base / "elsewhere", dir / "Linked");
    const UniqueFd live(
        ::open((base / "install/Data/site.ovx.orvex-tmp.Live00").c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_EQ(::flock(live.get(), LOCK_EX), 0);

    EXPECT_EQ(RemoveLeftTemporariesBelow(dir.string()), 3);
    for (const Row &row : rows)
        EXPECT_EQ(fs::exists(base / row.path), !row.removed) << row.path;
    EXPECT_EQ(RemoveLeftTemporariesBelow((dir / "no-such-folder").string()), 0);
    fs::remove_all(base);
}

TEST(ConcurrentReplacements, NeverRemoveEachOthersTemporaryFiles)
{
    const fs::path dir = fs::temp_directory_path() / ("replace_file_race_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string target = (dir / "OrvexSettings.ini").string();
    // Each write sweeps the folder while the other process may be between creating its file and
    // renaming it; a sweep that took a live file would make that write fail.
    std::vector<pid_t> writers;
    for (int w = 0; w < 2; ++w) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int i = 0; i < 200; ++i)
                if (ReplaceFileContents(target, std::string(4096, static_cast<char>('a' + w))) != 0)
                    ::_exit(1);
            ::_exit(0);
        }
        writers.push_back(child);
    }
    for (const pid_t writer : writers) {
        int status = 0;
        ::waitpid(writer, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write failed";
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}

} // namespace
