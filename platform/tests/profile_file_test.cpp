#include "platform/profile_file.h"
#include "support/tests/scoped_temp_folder.h"
#include "support/tests/unreadable_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// Runs `check` without root's right to ignore file permissions (in a child process that has
// given them up, when the tests run as root). True when `check` returned true.
bool asUnprivileged(const std::function<bool()> &check)
{
    if (::geteuid() != 0)
        return check();
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(dropped && check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class AProfileFile : public ::testing::Test
{
protected:
    fs::path path() const { return m_dir / "OrvexSettings.ini"; }
    std::size_t filesInFolder() const
    {
        std::size_t n = 0;
        for ([[maybe_unused]] const auto &entry : fs::directory_iterator(m_dir))
            ++n;
        return n;
    }

    ScopedTempFolder m_temp{"profile-test"};
    fs::path m_dir = m_temp.path();
};

} // namespace

TEST_F(AProfileFile, ReadsBackWhatItWrote)
{
    ProfileFile file(path().string());
    EXPECT_TRUE(file.writeString("Settings", "Name", "Forecourt 3"));
    EXPECT_TRUE(file.writeInt("Settings", "ComPort", -12));
    EXPECT_EQ(file.readString("Settings", "Name", ""), "Forecourt 3");
    EXPECT_EQ(file.readInt("Settings", "ComPort", 0), -12);
    EXPECT_TRUE(file.writeInt("Settings", "ComPort", 4));
    EXPECT_EQ(file.readInt("Settings", "ComPort", 0), 4);
}

TEST_F(AProfileFile, RefusesAValueThatWouldMakeItUnreadable)
{
    writeFile(path(), "[Settings]\nComPort=2\n");
    ProfileFile file(path().string());
    EXPECT_FALSE(file.writeString("OrvexDatabase", "Password", std::string("pel\0mo", 6)));
    EXPECT_FALSE(file.writeString("OrvexDatabase", "Password", "pel\x1bmo"));
    EXPECT_EQ(readFile(path()), "[Settings]\nComPort=2\n");
    EXPECT_EQ(file.unreadableReason(), "");
}

TEST_F(AProfileFile, IgnoresTheCaseOfNames)
{
    ProfileFile file(path().string());
    file.writeInt("RecorderBridge", "TraceLevel", 2);
    EXPECT_EQ(file.readInt("recorderbridge", "TRACELEVEL", 0), 2);
    file.writeInt("RECORDERBRIDGE", "tracelevel", 3);
    EXPECT_EQ(file.readInt("RecorderBridge", "TraceLevel", 0), 3);
    // One key, not two spellings of it.
    const std::string text = readFile(path());
    EXPECT_EQ(text.find("=3"), text.rfind("=3"));
    EXPECT_EQ(text.find("=2"), std::string::npos);
}

TEST_F(AProfileFile, KeepsOtherSectionsKeysAndComments)
{
    writeFile(path(), "; written by hand\n[Settings]\nComPort=2\n; about the bridge\n[RecorderBridge]\nLPR=Yes\n");
    ProfileFile file(path().string());
    EXPECT_TRUE(file.writeInt("Settings", "CameraType", 80));
    const std::string text = readFile(path());
    EXPECT_NE(text.find("; written by hand"), std::string::npos);
    EXPECT_NE(text.find("; about the bridge"), std::string::npos);
    EXPECT_EQ(file.readInt("Settings", "ComPort", 0), 2);
    EXPECT_EQ(file.readString("RecorderBridge", "LPR", ""), "Yes");
    EXPECT_EQ(file.readInt("Settings", "CameraType", 0), 80);
}

TEST_F(AProfileFile, KeepsEveryOtherValueWhenTheTextItWritesBeginsWithAByteOrderMark)
{
    // The mark follows a lone carriage return, so it is read as the start of a key's name, and
    // "[LPR]" inside that name opens no section.
    std::string text = "=P\r";
    text.append("\xEF\xBB\xBF").append("[LPR]ose=\nLPR=\rca\n");
    writeFile(path(), text);
    ProfileFile file(path().string());
    ASSERT_EQ(file.readString("LPR", "LPR", "(default)"), "(default)");
    EXPECT_TRUE(file.writeInt("OrvexServices", "TraceLevel", 2));
    EXPECT_EQ(file.readString("LPR", "LPR", "(default)"), "(default)");
    EXPECT_EQ(file.readInt("OrvexServices", "TraceLevel", 0), 2);
}

struct IntCase
{
    const char *stored;
    long expected;
};

class AProfileFileInt : public AProfileFile, public ::testing::WithParamInterface<IntCase>
{
};

TEST_P(AProfileFileInt, ReadsLeadingDigitsOrTheDefault)
{
    writeFile(path(), std::string("[S]\nKey=") + GetParam().stored + "\n");
    EXPECT_EQ(ProfileFile(path().string()).readInt("S", "Key", 77), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, AProfileFileInt,
                         ::testing::Values(IntCase{"500", 500}, IntCase{"-3", -3},
                                           IntCase{"12abc", 12}, IntCase{"abc", 77},
                                           IntCase{"", 77},
                                           IntCase{"99999999999999999999999", 77}));

TEST_F(AProfileFile, GivesDefaultsForAMissingFileAndCreatesItOnWrite)
{
    ProfileFile file(path().string());
    EXPECT_EQ(file.readInt("Trace", "TraceWriteInterval", 500), 500);
    EXPECT_EQ(file.readString("Trace", "Name", "none"), "none");
    EXPECT_EQ(file.unreadableReason(), "");
    EXPECT_TRUE(file.writeInt("Trace", "TraceWriteInterval", 500));
    EXPECT_EQ(file.readInt("Trace", "TraceWriteInterval", 0), 500);
}

struct DamagedCase
{
    const char *legend;
    std::string content;
};

class ADamagedProfileFile : public AProfileFile, public ::testing::WithParamInterface<DamagedCase>
{
};

TEST_P(ADamagedProfileFile, ReadsAsDefaultsAndIsRepairedOnWrite)
{
    writeFile(path(), GetParam().content);
    ProfileFile file(path().string());
    EXPECT_EQ(file.readInt("Trace", "TraceLevel", 5), 5);
    EXPECT_TRUE(file.writeInt("Trace", "TraceLevel", 1));
    EXPECT_EQ(file.readInt("Trace", "TraceLevel", 5), 1);
    EXPECT_TRUE(file.writeInt("Trace", "TraceWriteInterval", 250));
    EXPECT_EQ(file.readInt("Trace", "TraceLevel", 5), 1);
    EXPECT_EQ(file.readInt("Trace", "TraceWriteInterval", 0), 250);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, ADamagedProfileFile,
    ::testing::Values(DamagedCase{"Empty", ""},
                      DamagedCase{"HighBytesAndTabs", "[Other]\tName=caf\xe9 \x80\r\n"},
                      DamagedCase{"Unterminated", "[Trace\nTraceLevel"},
                      DamagedCase{"Text", "no sections, no keys, just words\n"}),
    [](const auto &info) { return std::string(info.param.legend); });

TEST_F(AProfileFile, GivesDefaultsForAFileItMayNotReadAndLeavesItAsItWas)
{
    writeFile(path(), "[Trace]\nTraceLevel=3\n");
    fs::permissions(path(), fs::perms::none);
    fs::permissions(m_dir, fs::perms::all);
    const std::string file = path().string();
    EXPECT_TRUE(asUnprivileged([&] {
        ProfileFile profile(file);
        return profile.readInt("Trace", "TraceLevel", 9) == 9
               && !profile.writeInt("Trace", "TraceLevel", 1)
               && profile.unreadableReason() == "Permission denied";
    }));
    fs::permissions(path(), fs::perms::owner_read);
    EXPECT_EQ(readFile(path()), "[Trace]\nTraceLevel=3\n");
}

class AnUnreadableProfileFile : public AProfileFile,
                                public ::testing::WithParamInterface<unreadable::Row>
{
};

TEST_P(AnUnreadableProfileFile, ReadsAsDefaultsAndIsNeverWrittenOver)
{
    GetParam().make(path());
    const std::string before = unreadable::Snapshot(path());
    ProfileFile file(path().string());
    EXPECT_EQ(file.readInt("Settings", "ComPort", 1), 1);
    EXPECT_EQ(file.readString("OrvexDatabase", "Password", "pelmo"), "pelmo");
    EXPECT_NE(file.unreadableReason(), "");
    EXPECT_FALSE(file.writeInt("Settings", "ComPort", 2));
    EXPECT_FALSE(file.writeString("OrvexDatabase", "Password", "pelmo"));
    EXPECT_EQ(unreadable::Snapshot(path()), before);
    EXPECT_EQ(filesInFolder(), 1u);
}

namespace {

// Besides what any program may meet in the file's place, what only this reader refuses.
std::vector<unreadable::Row> unreadableRows()
{
    auto rows = unreadable::Rows();
    rows.push_back({"EscapeInText", [](const fs::path &p) {
                        writeFile(p, "[Settings]\nComPort=\x1b[4\n" + unreadable::kValidSections);
                    }});
    rows.push_back({"LargerThanAnySettings", [](const fs::path &p) {
                        writeFile(p, unreadable::kValidSections
                                         + std::string(ProfileFile::kLargestFile, ';'));
                    }});
    return rows;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Kinds, AnUnreadableProfileFile, ::testing::ValuesIn(unreadableRows()),
                         [](const auto &info) { return std::string(info.param.legend); });

TEST_F(AProfileFile, LeavesNoTemporaryFilesBehind)
{
    ProfileFile file(path().string());
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(file.writeInt("S", std::string("K").append(std::to_string(i)), i));
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(AProfileFile, KeepsTheOldFileWhenTheFolderIsNotWritable)
{
    writeFile(path(), "[Trace]\nTraceLevel=3\n");
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read
                               | fs::perms::group_exec | fs::perms::others_read
                               | fs::perms::others_exec);
    const std::string file = path().string();
    EXPECT_TRUE(asUnprivileged([&] { return !ProfileFile(file).writeInt("Trace", "TraceLevel", 1); }));
    EXPECT_EQ(readFile(path()), "[Trace]\nTraceLevel=3\n");
    EXPECT_EQ(filesInFolder(), 1u);
}
