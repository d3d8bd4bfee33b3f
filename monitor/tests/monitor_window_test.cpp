// The window without a bus: its layout, the two boxes' trimming at their boundaries, the label
// and the buttons.
#include "monitor/monitor_window.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using monitor::BoundedLog;
using monitor::MonitorWindow;

class AMonitorWindow : public ::testing::Test
{
protected:
    template <typename Widget> Widget *control(const char *name)
    {
        auto *found = m_window.findChild<Widget *>(QLatin1String(name));
        EXPECT_NE(nullptr, found) << name;
        return found;
    }
    // The next of the controls that take focus, in the focus chain (the boxes' own parts lie
    // between them).
    QWidget *nextControl(QWidget *from)
    {
        static const QStringList names
            = {"Text1", "Label1", "Command1", "Command4", "Text2", "Command5"};
        QWidget *next = from->nextInFocusChain();
        while (next != from
               && (!names.contains(next->objectName()) || next->focusPolicy() == Qt::NoFocus))
            next = next->nextInFocusChain();
        return next;
    }
    QString text1() { return control<QPlainTextEdit>("Text1")->toPlainText(); }
    QString text2() { return control<QPlainTextEdit>("Text2")->toPlainText(); }

    MonitorWindow m_window;
};

TEST_F(AMonitorWindow, PlacesItsSixControlsAtTheirPixelsInAFixedClientArea)
{
    EXPECT_EQ(QStringLiteral("FWD Monitor"), m_window.windowTitle());
    EXPECT_EQ(QSize(901, 482), m_window.minimumSize());
    EXPECT_EQ(QSize(901, 482), m_window.maximumSize());
    const std::vector<std::pair<const char *, QRect>> layout = {
        {"Text1", {8, 24, 881, 217}},      {"Label1", {840, 0, 57, 17}},
        {"Command1", {344, 424, 113, 25}}, {"Command4", {16, 432, 89, 33}},
        {"Text2", {8, 240, 881, 177}},     {"Command5", {344, 456, 113, 25}},
    };
    for (const auto &[name, geometry] : layout)
        EXPECT_EQ(geometry, control<QWidget>(name)->geometry()) << name;
    EXPECT_EQ(QStringLiteral("Clear Transactions"), control<QPushButton>("Command1")->text());
    EXPECT_EQ(QStringLiteral("Toggle Debug"), control<QPushButton>("Command4")->text());
    EXPECT_EQ(QStringLiteral("Clear Console"), control<QPushButton>("Command5")->text());
    EXPECT_TRUE(control<QPlainTextEdit>("Text1")->isReadOnly());
    EXPECT_TRUE(control<QPlainTextEdit>("Text2")->isReadOnly());
    const QFont labelFont = control<QLabel>("Label1")->font();
    EXPECT_EQ(QStringLiteral("Arial"), labelFont.family());
    EXPECT_EQ(12, labelFont.pointSize());
    EXPECT_TRUE(labelFont.bold());
    // Tab order: Text1, Command1, Command4, Text2, Command5 (the label takes no focus).
    EXPECT_EQ(Qt::NoFocus, control<QLabel>("Label1")->focusPolicy());
    EXPECT_EQ(control<QWidget>("Command1"), nextControl(control<QWidget>("Text1")));
    EXPECT_EQ(control<QWidget>("Command4"), nextControl(control<QWidget>("Command1")));
    EXPECT_EQ(control<QWidget>("Text2"), nextControl(control<QWidget>("Command4")));
    EXPECT_EQ(control<QWidget>("Command5"), nextControl(control<QWidget>("Text2")));
}

TEST_F(AMonitorWindow, EmptiesTheTransactionsBeforeAnEventOnlyFromTenThousandCharacters)
{
    m_window.showEventLines({QString(9999, QLatin1Char('x'))});
    m_window.showEventLines({"kept\n"});
    EXPECT_EQ(9999 + 5, m_window.transactions().size());
    EXPECT_TRUE(text1().endsWith("xkept\n"));

    m_window.showEventLines({"again\n"}); // now past 10,000: emptied first
    EXPECT_EQ(QStringLiteral("again\n"), m_window.transactions().text());
    EXPECT_EQ(QStringLiteral("again\n"), text1());

    // An event of several pieces that starts below the limit is never cut between its pieces.
    m_window.showEventLines({QString(9998 - 6, QLatin1Char('y'))});
    ASSERT_EQ(9998, m_window.transactions().size());
    m_window.showEventLines({"a", "b", "c\n"});
    EXPECT_TRUE(m_window.transactions().text().endsWith("yabc\n"));
    EXPECT_EQ(text1(), m_window.transactions().text());
}

TEST_F(AMonitorWindow, EmptiesTheConsoleRightAfterTheDebugTextThatTakesItToTenThousand)
{
    m_window.showDebug(QString(9990, QLatin1Char('d')));
    m_window.showDebug("12345678"); // 9998
    m_window.showDebug("9");        // 9999: kept
    EXPECT_EQ(9999, m_window.console().size());
    EXPECT_EQ(9999, text2().size());
    m_window.showDebug("0"); // 10,000: emptied at once, losing the text just received
    EXPECT_EQ(0, m_window.console().size());
    EXPECT_TRUE(text2().isEmpty());
}

TEST_F(AMonitorWindow, ShowsCarriageReturnsAsLineBreaksAndCountsThemAsReceived)
{
    m_window.showDebug("one\r\ntwo\r");
    m_window.showDebug("\nthree\rfour");
    EXPECT_EQ(QStringLiteral("one\r\ntwo\r\nthree\rfour"), m_window.console().text());
    EXPECT_EQ(20, m_window.console().size());
    EXPECT_EQ(QStringLiteral("one\ntwo\nthree\nfour"), text2());
}

TEST_F(AMonitorWindow, ShowsTheLinkStateInGreenOrRedAndNothingBefore)
{
    auto *label = control<QLabel>("Label1");
    const QColor before = label->palette().color(QPalette::WindowText);
    EXPECT_TRUE(label->text().isEmpty());
    m_window.showOnline();
    EXPECT_EQ(QStringLiteral("Online"), label->text());
    EXPECT_EQ(QColor(0, 255, 0), label->palette().color(QPalette::WindowText));
    m_window.showOffline();
    EXPECT_EQ(QStringLiteral("Offline"), label->text());
    EXPECT_EQ(QColor(255, 0, 0), label->palette().color(QPalette::WindowText));
    EXPECT_NE(before, QColor(255, 0, 0));
}

TEST_F(AMonitorWindow, ClearsOnlyTheBoxOfEachButtonAndAsksForDebugOutput)
{
    m_window.showEventLines({"line\n"});
    m_window.showDebug("debug");
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_TRUE(text1().isEmpty());
    EXPECT_EQ(0, m_window.transactions().size());
    EXPECT_EQ(QStringLiteral("debug"), text2());

    m_window.showEventLines({"line\n"});
    QTest::mouseClick(control<QPushButton>("Command5"), Qt::LeftButton);
    EXPECT_TRUE(text2().isEmpty());
    EXPECT_EQ(QStringLiteral("line\n"), text1());

    QSignalSpy asked(&m_window, &MonitorWindow::toggleDebugRequested);
    QTest::mouseClick(control<QPushButton>("Command4"), Qt::LeftButton);
    EXPECT_EQ(1, asked.count());
}

} // namespace
