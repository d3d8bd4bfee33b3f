#include "configtool/window/single_instance.h"

#include "configtool/testing/recording_host.h"
#include "configtool/window/tool_program.h"
#include "support/tests/scoped_temp_folder.h"
#include "window_test_support.h"

#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace configtool {
namespace {

TEST(AnOpenRequest, NamesTheFilesOfItsOpenLines)
{
    struct Case
    {
        const char *legend;
        QString request;
        QStringList files;
    };
    const Case cases[] = {
        {"a path with a blank", R"([Open("/sites/a b.ovx")])", {"/sites/a b.ovx"}},
        {"no second quote runs to the line's end", "[Open(\"/sites/x.ovx", {"/sites/x.ovx"}},
        {"no quote at all", "[Open(/sites/x.ovx)]", {}},
        {"another command", R"([Print("/sites/x.ovx")])", {}},
        {"not at the line's start", R"( [Open("/sites/x.ovx")])", {}},
        {"line ends of every kind",
         "[Open(\"/a.ovx\")]\r\n[Open(\"/b.ovx\")]\n[Open(\"/c.ovx\")]\r[Open(\"/d.ovx\")]",
         {"/a.ovx", "/b.ovx", "/c.ovx", "/d.ovx"}},
        {"several lines, some skipped",
         "[Open(\"/a.ovx\")]\r\n[Close()]\r\n\r\n[Open(\"/b.ovx\")]\r\n",
         {"/a.ovx", "/b.ovx"}},
        {"an empty name opens nothing", R"([Open("")])", {}},
        {"empty request", "", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(parseOpenRequest(c.request), c.files) << c.legend;
    EXPECT_EQ(parseOpenRequest(QString::fromUtf8(makeOpenRequest(QStringLiteral("/x/Größe.ovx")))),
              QStringList{QStringLiteral("/x/Größe.ovx")});
}

TEST(ASecondInstance, HandsItsFileToAFirstThatListensOnlyAfterALongStart)
{
    const ScopedInstallFolder install;
    QTemporaryDir runtime;
    SingleInstance first(runtime.path());
    ASSERT_TRUE(first.acquire());
    QSignalSpy requested(&first, &SingleInstance::requested);
    std::atomic<ToolProgram::Outcome> outcome = ToolProgram::Outcome::Running;
    std::thread second([&] {
        testing::ScriptedPrompter prompter;
        testing::ScriptedFileChooser chooser;
        ToolProgram program(prompter, chooser, runtime.path());
        outcome = program.claim({QStringLiteral("/abs/x.ovx")});
    });
    // The first listens once its start has finished: connecting to a service that is being
    // activated and opening its own file can take a loaded machine longer than a few seconds.
    QTest::qWait(6000);
    ASSERT_TRUE(first.listen());
    EXPECT_TRUE(testing::waitUntil([&] { return requested.count() == 1; }));
    second.join();
    EXPECT_EQ(outcome, ToolProgram::Outcome::HandedOver);
    ASSERT_EQ(requested.count(), 1);
    EXPECT_EQ(requested.at(0).at(0).toStringList(), QStringList{QStringLiteral("/abs/x.ovx")});

    // A start without a file only raises the first.
    std::thread third([&] {
        testing::ScriptedPrompter prompter;
        testing::ScriptedFileChooser chooser;
        outcome = ToolProgram(prompter, chooser, runtime.path()).claim({});
    });
    EXPECT_TRUE(testing::waitUntil([&] { return requested.count() == 2; }));
    third.join();
    EXPECT_EQ(outcome, ToolProgram::Outcome::HandedOver);
    EXPECT_TRUE(requested.at(1).at(0).toStringList().isEmpty());
}

TEST(ASecondInstance, GivesUpOnAFirstThatLivesButNeverAnswers)
{
    QTemporaryDir runtime;
    SingleInstance first(runtime.path());
    ASSERT_TRUE(first.acquire());
    SingleInstance second(runtime.path());
    QSignalSpy waiting(&second, &SingleInstance::waiting);
    EXPECT_EQ(
        second.claim(makeOpenRequest(QStringLiteral("/x.ovx")), std::chrono::milliseconds(300)),
        SingleInstance::Claim::NoAnswer);
    EXPECT_EQ(waiting.count(), 1);
    EXPECT_FALSE(second.acquire()) << "the first still holds the lock";
}

TEST(AFirstInstance, TakesOverFromOneThatDied)
{
    QTemporaryDir runtime;
    // What a killed instance leaves: its lock, naming a process that is gone, and its socket.
    testing::writeAll(runtime.filePath(QStringLiteral("ORVEXCONFIGMGR.lock")),
                      "2147480000\nOrvexConfig\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    testing::writeAll(runtime.filePath(QStringLiteral("ORVEXCONFIGMGR")), "");
    SingleInstance next(runtime.path());
    EXPECT_TRUE(next.acquire());
    EXPECT_TRUE(next.listen());
}

} // namespace
} // namespace configtool
