#pragma once
// The "Messages" window: what the unit and the service report, drained from the event queue
// every 50 ms. Status entries set their panel of the main window's status bar; lines go to the
// memo (white bold on black) and to "Log.txt" in the install folder, which every start of the
// tool begins anew. The memo is cleared once it holds more than 300 lines (so it never holds more
// than 301) and the log emptied once more than 1000 lines were written to it, so neither grows
// however long the tool runs; the log gets a "Timestamp:" line
// when an hour (0.041667 of a day) has passed since the last one.
//
// Closing the window (its close box, File Exit) only hides it and clears the main window's
// View Messages mark; closeForGood(), when the tool closes, stops the drain, writes the
// window's place and visibility to "OrvexSettings.ini" and closes the log. A log that cannot
// be opened is said once in the status bar and the window runs without one.
// User-interface thread only.

#include <QDateTime>
#include <QFile>
#include <QMainWindow>
#include <QTimer>

#include <functional>

class QAction;
class QPlainTextEdit;

namespace configtool {

class Prompter;
class StatusPanels;
class ThreadsafeStringQueue;

class MessagesWindow : public QMainWindow
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    static constexpr int MostMemoLines = 300;
    static constexpr int MostLogLines = 1000;

    // `viewMessages` is the main window's View Messages item: the settings set its mark, and
    // the window is shown exactly when it is set.
    MessagesWindow(QString installFolder, ThreadsafeStringQueue &queue, StatusPanels &panels,
                   Prompter &prompter, QAction &viewMessages,
                   Clock clock = &QDateTime::currentDateTime);
    ~MessagesWindow() override;

    // One drain of the queue (the timer's).
    void tick();
    // Options Toggle Debug, and the main window's.
    void toggleDebug() { emit toggleDebugRequested(); }
    // The tool closes: the window closes for good.
    void closeForGood();

    [[nodiscard]] QPlainTextEdit *memo() const { return m_memo; }
    [[nodiscard]] QString logPath() const { return m_log.fileName(); }
    [[nodiscard]] bool isClosedForGood() const { return m_closeAllowed; }

    // A unit text without its line end: one "\r\n", "\n" or "\r", never more.
    [[nodiscard]] static QString withoutLineEnd(const QString &text);

signals:
    void toggleDebugRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void openLog();
    void writeLog(const QString &line);
    void addLine(const QString &text);
    [[nodiscard]] QString stamp() const;

    QString m_installFolder;
    ThreadsafeStringQueue &m_queue;
    StatusPanels &m_panels;
    Prompter &m_prompter;
    QAction &m_viewMessages;
    Clock m_clock;
    QPlainTextEdit *m_memo;
    QTimer m_timer;
    QFile m_log;
    bool m_closeAllowed = false;
    int m_memoLines = 0;
    int m_logLines = 0;
    QDateTime m_lastTimestamp;
};

} // namespace configtool
