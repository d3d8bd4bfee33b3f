#pragma once
// The console's one window ("FWD Monitor"): the transactions log and the debug console, the
// unit's link state as a coloured label, and three buttons. It lays its six controls out at
// fixed pixel positions in a client area of fixed size, shows what the two BoundedLogs hold, and
// asks for the unit's debug output through toggleDebugRequested(); it knows nothing of the bus.
//
// Ownership: Qt's parent-child tree owns the controls. Threads: the GUI thread only.
// Errors: none; every handler only adds text or changes the label.

#include "bounded_log.h"

#include <QStringList>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace monitor {

class MonitorWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MonitorWindow(QWidget *parent = nullptr);

    // A recorder event's pieces into the transactions log, which is emptied first when full.
    void showEventLines(const QStringList &pieces);
    // The unit's debug text into the console, exactly as received.
    void showDebug(const QString &text);
    // "Online" in green, "Offline" in red; the label keeps the last one shown.
    void showOnline();
    void showOffline();

    [[nodiscard]] const BoundedLog &transactions() const { return m_transactions; }
    [[nodiscard]] const BoundedLog &console() const { return m_console; }

signals:
    void toggleDebugRequested();
    // A recorder event's pieces are in the transactions box.
    void eventShown();

private:
    void showChange(QPlainTextEdit *box, const BoundedLog::Change &change);
    void clearBox(QPlainTextEdit *box, BoundedLog &log);

    BoundedLog m_transactions{BoundedLog::TrimPolicy::TrimBeforeEvent};
    BoundedLog m_console{BoundedLog::TrimPolicy::TrimAfterAppend};
    QPlainTextEdit *m_text1 = nullptr;
    QLabel *m_label1 = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command4 = nullptr;
    QPlainTextEdit *m_text2 = nullptr;
    QPushButton *m_command5 = nullptr;
};

} // namespace monitor
