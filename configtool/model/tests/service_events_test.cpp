#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/orvex_event_sink.h"
#include "configtool/model/orvex_meta_data.h"
#include "configtool/model/threadsafe_string_queue.h"
#include "configtool/testing/recording_host.h"
#include "support/tests/wait_until.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace configtool {
namespace {

std::vector<StringMsg> drain(ThreadsafeStringQueue &queue)
{
    std::vector<StringMsg> out;
    while (auto message = queue.Pop())
        out.push_back(*message);
    return out;
}

class AnEventSink : public ::testing::Test
{
protected:
    testing::RecordingHost host;
    OrvexMetaData metaData;
    OrvexConfigManager manager{metaData, host};
    ThreadsafeStringQueue queue;
    OrvexEventSink sink{queue, manager};
};

TEST_F(AnEventSink, PutsTheUnitsStateInPanelTwoAndSwitchesTheCommands)
{
    sink.OrvexOnline("V1.2");
    EXPECT_TRUE(manager.IsOnline());
    EXPECT_TRUE(host.commands.retrieve);
    sink.OrvexOffline();
    EXPECT_FALSE(manager.IsOnline());
    EXPECT_FALSE(host.commands.retrieve);
    sink.GotMessage("Task");
    EXPECT_EQ(drain(queue), (std::vector<StringMsg>{
                                StringMsg::status(StatusPanels::Unit, "Online V1.2"),
                                StringMsg::status(StatusPanels::Unit, "Offline"),
                                StringMsg::status(StatusPanels::Activity, " Received Task")}));
}

TEST_F(AnEventSink, ShowsOnlyTheCommsErrorsOfAPortThatCannotBeHad)
{
    struct Row
    {
        const char *reason;
        bool shown;
    };
    for (const Row &row : {Row{"Access is denied.", true}, Row{"Device or resource busy", true},
                           Row{"Permission denied", true}, Row{"No such file or directory", false},
                           Row{"access is denied", false}, Row{"", false}}) {
        sink.CommsError(row.reason);
        const auto entries = drain(queue);
        if (row.shown)
            EXPECT_EQ(entries,
                      std::vector<StringMsg>{StringMsg::status(
                          StatusPanels::Activity, QStringLiteral("Comms Error - ") + row.reason)});
        else
            EXPECT_TRUE(entries.empty()) << row.reason;
    }
}

TEST_F(AnEventSink, KeepsUnitTextAsLinesWhateverItSays)
{
    for (const char *text : {"OK", "CLOSE!", "<statusbar1>New Site", "", "line\r\n"})
        sink.Debug(text);
    EXPECT_EQ(drain(queue),
              (std::vector<StringMsg>{StringMsg::line("OK"), StringMsg::line("CLOSE!"),
                                      StringMsg::line("<statusbar1>New Site"), StringMsg::line(""),
                                      StringMsg::line("line\r\n")}));
}

TEST(AThreadsafeStringQueue, LosesNothingAndKeepsEachProducersOrder)
{
    ThreadsafeStringQueue queue;
    constexpr int kProducers = 4;
    constexpr int kEach = 5000;
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&queue, p] {
            for (int i = 0; i < kEach; ++i)
                queue.Push(StringMsg::line(QStringLiteral("%1:%2").arg(p).arg(i)));
        });
    }
    std::vector<int> next(kProducers, 0);
    int popped = 0;
    QStringList outOfOrder;
    // A lost message leaves the count short: the wait ends and the test fails, it does not spin.
    const bool all = waitUntil([&] {
        while (const auto message = queue.Pop()) {
            const QStringList parts = message->text.split(':');
            const int producer = parts[0].toInt();
            if (parts[1].toInt() != next[producer])
                outOfOrder << message->text;
            next[producer] = parts[1].toInt() + 1;
            ++popped;
        }
        return popped >= kProducers * kEach;
    });
    for (auto &producer : producers)
        producer.join();
    EXPECT_TRUE(all) << popped << " of " << kProducers * kEach;
    EXPECT_EQ(popped, kProducers * kEach);
    EXPECT_TRUE(outOfOrder.isEmpty()) << outOfOrder.join(' ').toStdString();
    EXPECT_FALSE(queue.Pop().has_value());
    EXPECT_TRUE(queue.isEmpty());
}

} // namespace
} // namespace configtool
