#include "support/trace_log.h"

#include "platform/profile_file.h"
#include "scoped_temp_folder.h"
#include "wait_until.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using support::TraceTime;

namespace {

// A local time the test sets; can be told to fail on every thread but the test's own.
class TestClock
{
public:
    void set(TraceTime time)
    {
        std::lock_guard lock(m_mutex);
        m_time = time;
    }
    void failOffTestThread(bool fail) { m_fail = fail; }
    TraceTime now()
    {
        if (m_fail && std::this_thread::get_id() != m_testThread)
            throw std::runtime_error("clock unavailable");
        std::lock_guard lock(m_mutex);
        return m_time;
    }

private:
    std::mutex m_mutex;
    TraceTime m_time{2026, 3, 7, 9, 5, 3};
    std::atomic<bool> m_fail{false};
    const std::thread::id m_testThread = std::this_thread::get_id();
};

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

class ATraceLog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(m_dir / "settings");
        support::SetTraceClockForTesting([this] { return m_clock.now(); });
    }
    void TearDown() override
    {
        support::CloseTrace();
        support::SetTraceClockForTesting(nullptr);
    }

    void configure(long level, long interval = 20)
    {
        ProfileFile settings(settingsFile().string());
        settings.writeInt("Unit", "TraceLevel", level);
        settings.writeInt("Unit", "TraceWriteInterval", interval);
    }
    void open(const char *section = "Unit")
    {
        support::OpenTrace(m_dir.c_str(), settingsDir().c_str(), section);
    }
    fs::path settingsDir() const { return m_dir / "settings"; }
    fs::path settingsFile() const { return settingsDir() / "OrvexSettings.ini"; }
    fs::path file(const char *name) const { return m_dir / name; }

    ScopedTempFolder m_temp{"trace-test"};
    fs::path m_dir = m_temp.path();
    TestClock m_clock;
};

} // namespace

struct LevelCase
{
    int traceLevel;
    std::vector<std::string> expected; // lines of the file, without stamps
};

class ATraceLogAtLevel : public ATraceLog, public ::testing::WithParamInterface<LevelCase>
{
};

TEST_P(ATraceLogAtLevel, WritesOnlyLinesUpToItsLevel)
{
    configure(GetParam().traceLevel);
    open();
    support::TraceError("error %d", 0);
    support::TraceAt(1, "warning %d", 1);
    support::TraceDebug("debug %d", 2);
    support::TraceInfo("info %d", 3);
    support::TraceAt(4, "beyond the levels");
    support::CloseTrace();
    std::vector<std::string> written;
    for (const auto &line : linesOf(readFile(file("Unit_1.txt"))))
        written.push_back(line.substr(line.find(" -- ") + 4));
    EXPECT_EQ(written, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, ATraceLogAtLevel,
    ::testing::Values(
        LevelCase{-1, {}},
        LevelCase{0, {"[ERROR]   error 0"}},
        LevelCase{1, {"[ERROR]   error 0", "[WARNING] warning 1"}},
        LevelCase{2,
                  {"[DEBUG]   === Trace File Opened ===", "[ERROR]   error 0", "[WARNING] warning 1",
                   "[DEBUG]   debug 2", "[DEBUG]   === Trace File Closed ==="}},
        LevelCase{3,
                  {"[DEBUG]   === Trace File Opened ===", "[ERROR]   error 0", "[WARNING] warning 1",
                   "[DEBUG]   debug 2", "[INFO]    info 3", "[DEBUG]   === Trace File Closed ==="}}),
    [](const auto &info) { return "TraceLevel" + std::to_string(info.param.traceLevel + 1); });

TEST_F(ATraceLog, StampsEachLineWithItsCreationTime)
{
    configure(0);
    open();
    support::TraceError("first");
    m_clock.set({2026, 3, 7, 17, 45, 9});
    support::TraceError("second");
    support::CloseTrace();
    EXPECT_EQ(readFile(file("Unit_1.txt")),
              "2026-03-07  9:05:03 -- [ERROR]   first\r\n"
              "2026-03-07 17:45:09 -- [ERROR]   second\r\n");
}

TEST_F(ATraceLog, WritesAMessageAsItStandsNeverAsAFormat)
{
    configure(0);
    open();
    support::TraceError("%s", "100% %s %n done");
    support::CloseTrace();
    EXPECT_TRUE(contains(readFile(file("Unit_1.txt")), "[ERROR]   100% %s %n done\r\n"));
}

TEST_F(ATraceLog, CutsALongLineTo254Bytes)
{
    configure(0);
    open();
    support::TraceError("%s", std::string(300, 'x').c_str());
    support::TraceError("%s", std::string(5000, 'y').c_str());
    support::CloseTrace();
    const auto lines = linesOf(readFile(file("Unit_1.txt")));
    ASSERT_EQ(lines.size(), 2u);
    for (const auto &line : lines) {
        const std::string text = line.substr(line.find(" -- ") + 4);
        EXPECT_EQ(text.size(), 254u);
        EXPECT_EQ(text.substr(0, 10), "[ERROR]   ");
    }
}

TEST_F(ATraceLog, NeverSplitsACharacterWhereItCutsALine)
{
    configure(0);
    open();
    // The tag is 10 bytes: 243 ASCII bytes put a two-byte 'é' and a three-byte '€' across the
    // 254-byte limit.
    support::TraceError("%s\xC3\xA9tail", std::string(243, 'a').c_str());
    support::TraceError("%s\xE2\x82\xACtail", std::string(242, 'b').c_str());
    support::CloseTrace();
    const auto lines = linesOf(readFile(file("Unit_1.txt")));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(lines[0].find(" -- ") + 4), "[ERROR]   " + std::string(243, 'a'));
    EXPECT_EQ(lines[1].substr(lines[1].find(" -- ") + 4), "[ERROR]   " + std::string(242, 'b'));
}

TEST_F(ATraceLog, ChoosesTheFileByTheParityOfTheDay)
{
    configure(0);
    m_clock.set({2026, 3, 8, 10, 0, 0});
    open();
    support::TraceError("even day");
    support::CloseTrace();
    EXPECT_TRUE(contains(readFile(file("Unit_0.txt")), "even day"));
    EXPECT_FALSE(fs::exists(file("Unit_1.txt")));
}

TEST_F(ATraceLog, EmptiesTheSameParityFileWhenTheDateChangesFromThe31stToThe1st)
{
    configure(0, 50);
    m_clock.set({2026, 1, 31, 23, 59, 58});
    open();
    support::TraceError("on the 31st");
    support::FlushTrace();
    ASSERT_TRUE(contains(readFile(file("Unit_1.txt")), "on the 31st"));
    m_clock.set({2026, 2, 1, 0, 0, 1});
    support::TraceError("on the 1st");
    support::FlushTrace();
    support::TraceError("later on the 1st");
    support::CloseTrace();
    const std::string text = readFile(file("Unit_1.txt"));
    EXPECT_FALSE(contains(text, "on the 31st"));
    EXPECT_TRUE(contains(text, "2026-02-01  0:00:01 -- [ERROR]   on the 1st\r\n"));
    EXPECT_TRUE(contains(text, "later on the 1st"));
    EXPECT_FALSE(fs::exists(file("Unit_0.txt")));
}

TEST_F(ATraceLog, AppendsToTheDaysFileWhenOpenedOnANewDay)
{
    configure(0);
    {
        std::ofstream old(file("Unit_1.txt"), std::ios::binary);
        old << "from an earlier run\r\n";
    }
    open();
    support::TraceError("this run");
    support::CloseTrace();
    const std::string text = readFile(file("Unit_1.txt"));
    EXPECT_TRUE(contains(text, "from an earlier run"));
    EXPECT_TRUE(contains(text, "this run"));
}

TEST_F(ATraceLog, WritesItsDefaultsBackToTheSettingsFile)
{
    {
        std::ofstream ini(settingsFile());
        ini << "; kept\n[Other]\nKey=Value\n";
    }
    open();
    support::CloseTrace();
    const ProfileFile settings(settingsFile().string());
    EXPECT_EQ(settings.readString("Unit", "TraceWriteInterval", ""), "500");
    EXPECT_EQ(settings.readString("Unit", "TraceLevel", ""), "0");
    EXPECT_EQ(settings.readString("Other", "Key", ""), "Value");
    EXPECT_TRUE(contains(readFile(settingsFile()), "; kept"));
}

TEST_F(ATraceLog, KeepsTheSettingsItFindsAndUsesThem)
{
    configure(3, 40);
    open();
    EXPECT_TRUE(support::TraceEnabled(3));
    support::CloseTrace();
    const ProfileFile settings(settingsFile().string());
    EXPECT_EQ(settings.readInt("Unit", "TraceWriteInterval", 0), 40);
    EXPECT_EQ(settings.readInt("Unit", "TraceLevel", 0), 3);
}

TEST_F(ATraceLog, UsesTheTraceFolderAndSectionTraceWhenNoneAreGiven)
{
    support::OpenTrace(m_dir.c_str(), nullptr, nullptr);
    support::TraceError("default section");
    support::CloseTrace();
    EXPECT_TRUE(contains(readFile(file("Trace_1.txt")), "default section"));
    EXPECT_EQ(ProfileFile((m_dir / "OrvexSettings.ini").string()).readInt("Trace", "TraceLevel", -9),
              0);
}

TEST_F(ATraceLog, IgnoresLinesWhenNoTraceIsOpen)
{
    EXPECT_FALSE(support::TraceEnabled(0));
    support::TraceError("nobody listens");
    support::FlushTrace();
    configure(3);
    open();
    support::CloseTrace();
    EXPECT_FALSE(support::TraceEnabled(0));
    support::TraceError("after close");
    support::FlushTrace();
    EXPECT_FALSE(contains(readFile(file("Unit_1.txt")), "nobody listens"));
    EXPECT_FALSE(contains(readFile(file("Unit_1.txt")), "after close"));
}

TEST_F(ATraceLog, IgnoresASecondOpenWhileOpen)
{
    configure(0);
    open();
    open("Other");
    support::TraceError("one log");
    support::CloseTrace();
    EXPECT_TRUE(contains(readFile(file("Unit_1.txt")), "one log"));
    EXPECT_FALSE(fs::exists(file("Other_1.txt")));
}

TEST_F(ATraceLog, ClosesWithoutWaitingOutALongIntervalAndLosesNothing)
{
    configure(0, 60000);
    open();
    for (int i = 0; i < 50; ++i)
        support::TraceError("line %d", i);
    auto closed = std::async(std::launch::async, [] { support::CloseTrace(); });
    ASSERT_EQ(closed.wait_for(10s), std::future_status::ready);
    const auto lines = linesOf(readFile(file("Unit_1.txt")));
    ASSERT_EQ(lines.size(), 50u);
    EXPECT_TRUE(contains(lines[49], "line 49"));
}

TEST_F(ATraceLog, WritesEveryLineOfManyThreadsInTheirOrderAtClose)
{
    configure(0, 5);
    open();
    constexpr int kThreads = 6;
    constexpr int kLines = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i)
                support::TraceError("thread %d line %d", t, i);
        });
    }
    for (auto &thread : threads)
        thread.join();
    support::CloseTrace();
    std::vector<int> next(kThreads, 0);
    int count = 0;
    for (const auto &line : linesOf(readFile(file("Unit_1.txt")))) {
        int t = -1, i = -1;
        ASSERT_EQ(std::sscanf(line.c_str() + line.find("thread"), "thread %d line %d", &t, &i), 2);
        EXPECT_EQ(i, next[static_cast<std::size_t>(t)]++);
        ++count;
    }
    EXPECT_EQ(count, kThreads * kLines);
}

TEST_F(ATraceLog, KeepsWritingAfterACycleFails)
{
    configure(0, 10);
    open();
    m_clock.failOffTestThread(true);
    support::TraceError("kept through a failed cycle");
    support::FlushTrace(); // returns after the failed cycle
    EXPECT_FALSE(contains(readFile(file("Unit_1.txt")), "kept through a failed cycle"));
    m_clock.failOffTestThread(false);
    support::TraceError("after the failure");
    support::FlushTrace();
    const std::string text = readFile(file("Unit_1.txt"));
    EXPECT_TRUE(contains(text, "kept through a failed cycle\r\n"));
    EXPECT_TRUE(contains(text, "after the failure\r\n"));
}

TEST_F(ATraceLog, LosesOnlyOneCyclesLinesWhenItsFolderVanishes)
{
    configure(0, 10);
    open();
    support::TraceError("before");
    support::FlushTrace();
    const fs::path kept = m_dir.string() + ".kept";
    fs::rename(m_dir, kept);
    support::TraceError("lost with the folder");
    support::FlushTrace();
    fs::rename(kept, m_dir);
    support::TraceError("after the folder is back");
    support::FlushTrace();
    const std::string text = readFile(file("Unit_1.txt"));
    EXPECT_FALSE(contains(text, "lost with the folder"));
    EXPECT_TRUE(contains(text, "after the folder is back"));
}

TEST_F(ATraceLog, FlushReturnsWhileTheWriterCannotWrite)
{
    configure(0, 10);
    open();
    m_clock.failOffTestThread(true);
    support::TraceError("stuck");
    auto flushed = std::async(std::launch::async, [] { support::FlushTrace(); });
    EXPECT_EQ(flushed.wait_for(10s), std::future_status::ready);
    // Closing while every cycle fails still ends the writer, and a flush during it returns.
    auto flushing = std::async(std::launch::async, [] {
        for (int i = 0; i < 20; ++i)
            support::FlushTrace();
    });
    support::CloseTrace();
    EXPECT_EQ(flushing.wait_for(10s), std::future_status::ready);
    m_clock.failOffTestThread(false);
}

extern "C" {
void TraceModuleOpen(const char *directory);
void TraceModuleError(const char *text);
bool TraceModuleEnabled(int level);
void TraceModuleClose();
}

TEST_F(ATraceLog, IsOnePerModuleOfTheProcess)
{
    configure(0);
    open();
    EXPECT_FALSE(TraceModuleEnabled(0));
    const fs::path moduleDir = m_dir / "module";
    fs::create_directories(moduleDir);
    TraceModuleOpen(moduleDir.c_str());
    EXPECT_TRUE(TraceModuleEnabled(0));
    support::TraceError("from the tests");
    TraceModuleError("from the module");
    TraceModuleClose();
    EXPECT_TRUE(support::TraceEnabled(0));
    support::CloseTrace();
    const std::string ours = readFile(file("Unit_1.txt"));
    EXPECT_TRUE(contains(ours, "from the tests"));
    EXPECT_FALSE(contains(ours, "from the module"));
    std::string theirs;
    for (const auto &entry : fs::directory_iterator(moduleDir)) {
        if (entry.path().extension() == ".txt")
            theirs += readFile(entry.path());
    }
    EXPECT_TRUE(contains(theirs, "from the module"));
    EXPECT_FALSE(contains(theirs, "from the tests"));
}

namespace {

// Midnight as the writer meets it: once armed, the writer's next clock reading waits until the
// test has stamped a line with the new day, and still reads the old day; every reading after
// that is the new day.
class MidnightClock
{
public:
    TraceTime now()
    {
        std::unique_lock lock(m_mutex);
        if (std::this_thread::get_id() == m_testThread)
            return m_testOnNewDay ? kFirst : kThirtyFirst;
        if (!m_armed)
            return m_passed ? kFirst : kThirtyFirst;
        m_armed = false;
        m_writerWaiting = true;
        m_cv.notify_all();
        m_cv.wait(lock, [this] { return m_passed; });
        return kThirtyFirst;
    }
    // Returns when the writer is held in its reading.
    void holdWriter()
    {
        std::unique_lock lock(m_mutex);
        m_armed = true;
        m_cv.wait(lock, [this] { return m_writerWaiting; });
    }
    void stampNewDayOnTestThread()
    {
        std::lock_guard lock(m_mutex);
        m_testOnNewDay = true;
    }
    void releaseWriter()
    {
        {
            std::lock_guard lock(m_mutex);
            m_passed = true;
        }
        m_cv.notify_all();
    }

private:
    static constexpr TraceTime kThirtyFirst{2026, 1, 31, 23, 59, 59};
    static constexpr TraceTime kFirst{2026, 2, 1, 0, 0, 0};
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_armed = false;
    bool m_writerWaiting = false;
    bool m_passed = false;
    bool m_testOnNewDay = false;
    const std::thread::id m_testThread = std::this_thread::get_id();
};

} // namespace

TEST_F(ATraceLog, KeepsALineOfTheNewDayThatArrivesAsTheWriterTurnsMidnight)
{
    MidnightClock midnight;
    support::SetTraceClockForTesting([&] { return midnight.now(); });
    configure(0, 10);
    open();
    support::TraceError("on the 31st");
    support::FlushTrace();
    midnight.holdWriter();
    midnight.stampNewDayOnTestThread();
    support::TraceError("just after midnight");
    midnight.releaseWriter();
    support::FlushTrace();
    support::CloseTrace();
    const std::string text = readFile(file("Unit_1.txt"));
    EXPECT_FALSE(contains(text, "on the 31st"));
    EXPECT_TRUE(contains(text, "2026-02-01  0:00:00 -- [ERROR]   just after midnight\r\n"));
}
