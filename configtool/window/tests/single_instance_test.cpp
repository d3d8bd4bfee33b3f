#include "configtool/window/single_instance.h"

#include "window_test_support.h"

#include <QSignalSpy>
#include <QSysInfo>

#include <gtest/gtest.h>

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

TEST(ASecondInstance, HandsItsFileToTheFirst)
{
    QTemporaryDir runtime;
    SingleInstance first(runtime.path());
    ASSERT_TRUE(first.acquire());
    // The second start comes while the first still starts: it waits until the first listens.
    QByteArray request = makeOpenRequest(QStringLiteral("/abs/x.ovx"));
    bool sent = false;
    std::thread second([&] {
        SingleInstance other(runtime.path());
        if (other.acquire())
            return;
        sent = other.send(request);
    });
    QSignalSpy requested(&first, &SingleInstance::requested);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(first.listen());
    EXPECT_TRUE(testing::waitUntil([&] { return requested.count() == 1; }));
    second.join();
    EXPECT_TRUE(sent);
    ASSERT_EQ(requested.count(), 1);
    EXPECT_EQ(requested.at(0).at(0).toStringList(), QStringList{QStringLiteral("/abs/x.ovx")});

    // A start without a file only raises the first.
    std::thread third([&] { sent = SingleInstance(runtime.path()).send(QByteArray()); });
    EXPECT_TRUE(testing::waitUntil([&] { return requested.count() == 2; }));
    third.join();
    EXPECT_TRUE(requested.at(1).at(0).toStringList().isEmpty());
}

TEST(ASecondInstance, GivesUpWhenNoFirstInstanceAnswers)
{
    QTemporaryDir runtime;
    SingleInstance lone(runtime.path());
    EXPECT_FALSE(
        lone.send(makeOpenRequest(QStringLiteral("/x.ovx")), std::chrono::milliseconds(300)));
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
