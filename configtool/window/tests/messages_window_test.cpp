#include "configtool/window/messages_window.h"

#include "configtool/model/threadsafe_string_queue.h"
#include "configtool/testing/recording_host.h"
#include "window_test_support.h"

#include "platform/profile_file.h"

#include <QAction>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace configtool {
namespace {

using testing::InstallFolder;

class AMessagesWindow : public ::testing::Test
{
protected:
    std::unique_ptr<MessagesWindow> open()
    {
        return std::make_unique<MessagesWindow>(folder.path(), queue, panels, prompter,
                                                viewMessages, [this] { return now; });
    }

    QStringList memoLines(MessagesWindow &window) const
    {
        const QString text = window.memo()->toPlainText();
        return text.isEmpty() && window.memo()->document()->blockCount() == 1
                   ? QStringList()
                   : text.split(QLatin1Char('\n'));
    }

    QStringList logLines() const
    {
        QString text = QString::fromUtf8(testing::readAll(folder.file(QStringLiteral("Log.txt"))));
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    }

    void pushLines(int count, const QString &prefix)
    {
        for (int i = 1; i <= count; ++i)
            queue.Push(StringMsg::line(prefix + QString::number(i) + QStringLiteral("\r\n")));
    }

    InstallFolder folder;
    ThreadsafeStringQueue queue;
    testing::RecordingPanels panels;
    testing::ScriptedPrompter prompter;
    QAction viewMessages;
    QDateTime now = QDateTime(QDate(2026, 3, 1), QTime(8, 0, 0));
};

TEST_F(AMessagesWindow, StripsOnlyARealLineEnd)
{
    struct Case
    {
        QString text;
        QString shown;
    };
    const Case cases[] = {
        {"abc\r\n", "abc"}, {"abc\n", "abc"}, {"abc\r", "abc"},
        {"abc", "abc"},     {"ab", "ab"},     {"a", "a"},
        {"", ""},           {"\r\n", ""},     {"x\r\n\r\n", "x\r\n"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MessagesWindow::withoutLineEnd(c.text), c.shown) << c.text.toStdString();

    auto window = open();
    queue.Push(StringMsg::line(QStringLiteral("abc\r\n")));
    queue.Push(StringMsg::line(QStringLiteral("de")));
    queue.Push(StringMsg::line(QString()));
    window->tick();
    EXPECT_EQ(memoLines(*window), (QStringList{"abc", "de", ""}));
    EXPECT_EQ(logLines().mid(1), (QStringList{"abc", "de", ""}));
}

TEST_F(AMessagesWindow, SendsStatusEntriesToTheirPanelsInOrder)
{
    auto window = open();
    queue.Push(StringMsg::line(QStringLiteral("first\r\n")));
    queue.Push(StringMsg::status(StatusPanels::Activity, QStringLiteral(" Received T")));
    // Unit text that once steered the window is just text.
    queue.Push(StringMsg::line(QStringLiteral("OK")));
    queue.Push(StringMsg::line(QStringLiteral("CLOSE!")));
    queue.Push(StringMsg::line(QStringLiteral("<statusbar1>x")));
    queue.Push(StringMsg::status(StatusPanels::Unit, QStringLiteral("Online V1.2")));
    queue.Push(StringMsg::status(StatusPanels::Unit, QStringLiteral("Offline")));
    window->tick();
    EXPECT_TRUE(queue.isEmpty());
    EXPECT_FALSE(window->isClosedForGood());
    EXPECT_EQ(memoLines(*window), (QStringList{"first", "OK", "CLOSE!", "<statusbar1>x"}));
    EXPECT_EQ(panels.texts[0], QStringLiteral(" Received T"));
    EXPECT_EQ(panels.texts[2], QStringLiteral("Offline"));
}

TEST_F(AMessagesWindow, KeepsTheMemoAndTheLogWithinTheirBounds)
{
    auto window = open();
    pushLines(MessagesWindow::MostMemoLines + 1, QStringLiteral("m"));
    window->tick();
    EXPECT_EQ(memoLines(*window).size(), MessagesWindow::MostMemoLines + 1);
    pushLines(1, QStringLiteral("next"));
    window->tick();
    EXPECT_EQ(memoLines(*window), QStringList{QStringLiteral("next1")});

    // With the started line, the log holds the 1001 lines written since it began.
    const int written = MessagesWindow::MostMemoLines + 2;
    pushLines(MessagesWindow::MostLogLines + 1 - written, QStringLiteral("l"));
    window->tick();
    EXPECT_EQ(logLines().size(), MessagesWindow::MostLogLines + 2);
    pushLines(1, QStringLiteral("after"));
    window->tick();
    EXPECT_EQ(logLines(), QStringList{QStringLiteral("after1")});
}

TEST_F(AMessagesWindow, StampsTheLogALittleAfterEachHour)
{
    auto window = open();
    const QDateTime start = now;
    now = start.addMSecs(3600000);
    pushLines(1, QStringLiteral("on the hour"));
    window->tick();
    now = start.addMSecs(3600030);
    pushLines(1, QStringLiteral("just after"));
    window->tick();
    now = start.addMSecs(3600030 + 3600000);
    pushLines(1, QStringLiteral("an hour later"));
    window->tick();
    EXPECT_EQ(logLines().mid(1),
              (QStringList{"on the hour1", "just after1", "Timestamp:  2026-03-01 09:00:00",
                           "an hour later1"}));
}

TEST_F(AMessagesWindow, HidesOnItsCloseBoxAndClosesForGoodWithTheTool)
{
    ProfileFile(folder.settings().toStdString()).writeString("View", "Messages", "1");
    ProfileFile(folder.settings().toStdString()).writeInt("MessageForm", "Width", 320);
    auto window = open();
    EXPECT_TRUE(viewMessages.isChecked());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->width(), 320);
    pushLines(3, QStringLiteral("line"));
    window->tick();
    testing::saveScreenshot(*window, QStringLiteral("messages"));

    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(viewMessages.isChecked());
    EXPECT_FALSE(window->isClosedForGood());
    viewMessages.setChecked(true);
    window->show();

    window->closeForGood();
    EXPECT_FALSE(window->isVisible());
    pushLines(1, QStringLiteral("too late"));
    window->tick();
    EXPECT_EQ(memoLines(*window).size(), 3);
    EXPECT_TRUE(
        logLines().constLast().startsWith(QStringLiteral("Orvex Messages executable Closed:  ")));
    EXPECT_TRUE(
        logLines().constFirst().startsWith(QStringLiteral("Orvex Messages executable started:  ")));
    const ProfileFile settings(folder.settings().toStdString());
    EXPECT_EQ(settings.readInt("View", "Messages", -1), 1);
    EXPECT_EQ(settings.readInt("MessageForm", "Width", -1), 320);
    EXPECT_EQ(settings.readInt("MessageForm", "Height", -1), window->height());
    EXPECT_NE(settings.readInt("MessageForm", "Top", -1), -1);
    EXPECT_NE(settings.readInt("MessageForm", "Left", -1), -1);
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(AMessagesWindow, ClosesForGoodOnTheQueuesCloseEntry)
{
    auto window = open();
    queue.Push(StringMsg::line(QStringLiteral("before")));
    queue.Push(StringMsg::close());
    queue.Push(StringMsg::line(QStringLiteral("after")));
    window->tick();
    EXPECT_TRUE(window->isClosedForGood());
    EXPECT_EQ(memoLines(*window), QStringList{QStringLiteral("before")});
}

TEST_F(AMessagesWindow, RunsWithoutALogItCannotOpen)
{
    ASSERT_TRUE(QDir().mkpath(folder.file(QStringLiteral("Log.txt"))));
    auto window = open();
    EXPECT_EQ(panels.texts[0],
              QStringLiteral("Unable to open ") + folder.file(QStringLiteral("Log.txt")));
    panels.texts[0].clear();
    pushLines(3, QStringLiteral("line"));
    window->tick();
    window->tick();
    EXPECT_EQ(memoLines(*window).size(), 3);
    EXPECT_TRUE(panels.texts[0].isEmpty());
    EXPECT_TRUE(prompter.shown.isEmpty());
}

} // namespace
} // namespace configtool
