#include "monitor_window.h"

#include "guarded.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

namespace monitor {

namespace {

// The window's layout in pixels (15 twips each at 96 dots per inch). The layout does not follow
// a resize, so the window keeps its size.
constexpr QSize kClientArea{901, 482};
constexpr QRect kText1{8, 24, 881, 217};
constexpr QRect kLabel1{840, 0, 57, 17};
constexpr QRect kCommand1{344, 424, 113, 25};
constexpr QRect kCommand4{16, 432, 89, 33};
constexpr QRect kText2{8, 240, 881, 177};
constexpr QRect kCommand5{344, 456, 113, 25};

QPlainTextEdit *makeBox(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    // The boxes show events; typing into them would also upset the counts that keep them small.
    box->setReadOnly(true);
    // Text is added for as long as the console runs; an undo history would grow without end.
    box->setUndoRedoEnabled(false);
    return box;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text,
                        const QRect &geometry)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

void setLabelState(QLabel *label, const QString &text, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setText(text);
}

} // namespace

MonitorWindow::MonitorWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(tr("FWD Monitor"));
    setFixedSize(kClientArea);
    setFont(QFont(QStringLiteral("Arial"), 8));

    // Made in tab order.
    m_text1 = makeBox(this, "Text1", kText1);
    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(kLabel1);
    m_label1->setFont(QFont(QStringLiteral("Arial"), 12, QFont::Bold));
    m_command1 = makeButton(this, "Command1", tr("Clear Transactions"), kCommand1);
    m_command4 = makeButton(this, "Command4", tr("Toggle Debug"), kCommand4);
    m_text2 = makeBox(this, "Text2", kText2);
    m_command5 = makeButton(this, "Command5", tr("Clear Console"), kCommand5);
    setTabOrder(m_text1, m_command1);
    setTabOrder(m_command1, m_command4);
    setTabOrder(m_command4, m_text2);
    setTabOrder(m_text2, m_command5);

    connect(m_command1, &QPushButton::clicked, this,
            Guarded([this] { clearBox(m_text1, m_transactions); }));
    connect(m_command5, &QPushButton::clicked, this,
            Guarded([this] { clearBox(m_text2, m_console); }));
    connect(m_command4, &QPushButton::clicked, this, &MonitorWindow::toggleDebugRequested);
}

void MonitorWindow::showEventLines(const QStringList &pieces)
{
    if (m_transactions.beginEvent())
        m_text1->clear();
    for (const QString &piece : pieces)
        showChange(m_text1, m_transactions.append(piece));
    emit eventShown();
}

void MonitorWindow::showDebug(const QString &text)
{
    showChange(m_text2, m_console.append(text));
}

void MonitorWindow::showOnline()
{
    setLabelState(m_label1, tr("Online"), QColor(0, 255, 0));
}

void MonitorWindow::showOffline()
{
    setLabelState(m_label1, tr("Offline"), QColor(255, 0, 0));
}

void MonitorWindow::showChange(QPlainTextEdit *box, const BoundedLog::Change &change)
{
    if (change.emptied) {
        box->clear();
        return;
    }
    box->moveCursor(QTextCursor::End);
    box->insertPlainText(change.displayed);
    box->ensureCursorVisible();
}

void MonitorWindow::clearBox(QPlainTextEdit *box, BoundedLog &log)
{
    log.clear();
    box->clear();
}

} // namespace monitor
