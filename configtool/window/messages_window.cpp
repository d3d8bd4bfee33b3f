#include "configtool/window/messages_window.h"

#include "configtool/model/prompter.h"
#include "configtool/model/status_panels.h"
#include "configtool/model/threadsafe_string_queue.h"

#include "platform/install_folder.h"
#include "platform/profile_file.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace configtool {

namespace {

constexpr int kDrainMilliseconds = 50;
// 0.041667 of a day: a timestamp comes a little after each full hour, not on it.
constexpr qint64 kTimestampMilliseconds = 3600029;

} // namespace

MessagesWindow::MessagesWindow(QString installFolder, ThreadsafeStringQueue &queue,
                               StatusPanels &panels, Prompter &prompter, QAction &viewMessages,
                               Clock clock)
    : QMainWindow(nullptr), m_installFolder(std::move(installFolder)), m_queue(queue),
      m_panels(panels), m_prompter(prompter), m_viewMessages(viewMessages),
      m_clock(std::move(clock)), m_memo(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("ComForm"));
    setWindowTitle(tr("Messages"));

    QMenu *file = menuBar()->addMenu(tr("&File"));
    QAction *exit = file->addAction(tr("E&xit"));
    exit->setObjectName(QStringLiteral("Exit1"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
    QMenu *options = menuBar()->addMenu(tr("&Options"));
    QAction *debug = options->addAction(tr("&Toggle Debug"));
    debug->setObjectName(QStringLiteral("ToggleDebug1"));
    connect(debug, &QAction::triggered, this, &MessagesWindow::toggleDebug);
    QAction *update = options->addAction(tr("&Update View"));
    update->setObjectName(QStringLiteral("UpdateView1"));
    connect(update, &QAction::triggered, this, &MessagesWindow::tick);

    m_memo->setObjectName(QStringLiteral("MsgMemo"));
    m_memo->setReadOnly(true);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    m_memo->setFont(font);
    m_memo->setStyleSheet(QStringLiteral("QPlainTextEdit { background: black; color: white; }"));
    setCentralWidget(m_memo);

    const ProfileFile settings(JoinPath(m_installFolder.toStdString(), kSettingsFileName));
    move(int(settings.readInt("MessageForm", "Left", 0)),
         int(settings.readInt("MessageForm", "Top", 0)));
    resize(int(settings.readInt("MessageForm", "Width", 200)),
           int(settings.readInt("MessageForm", "Height", 100)));
    m_viewMessages.setCheckable(true);
    m_viewMessages.setChecked(settings.readInt("View", "Messages", 0) != 0);

    m_lastTimestamp = m_clock();
    openLog();
    writeLog(QStringLiteral("Orvex Messages executable started:  ") + stamp());

    connect(&m_timer, &QTimer::timeout, this, &MessagesWindow::tick);
    m_timer.start(kDrainMilliseconds);
    setVisible(m_viewMessages.isChecked());
}

MessagesWindow::~MessagesWindow() = default;

QString MessagesWindow::stamp() const
{
    return m_clock().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void MessagesWindow::openLog()
{
    const QString path = QString::fromStdString(JoinPath(m_installFolder.toStdString(), "Log.txt"));
    QFile::remove(path);
    m_log.setFileName(path);
    if (m_log.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    // Once, not at every line: the tool runs on without a log.
    m_panels.setPanelText(StatusPanels::Activity, QStringLiteral("Unable to open ") + path);
}

void MessagesWindow::writeLog(const QString &line)
{
    if (!m_log.isOpen())
        return;
    m_log.write((line + QLatin1Char('\n')).toUtf8());
    m_log.flush();
}

QString MessagesWindow::withoutLineEnd(const QString &text)
{
    if (text.endsWith(QLatin1String("\r\n")))
        return text.chopped(2);
    if (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        return text.chopped(1);
    return text;
}

void MessagesWindow::tick()
{
    while (!m_closeAllowed) {
        std::optional<StringMsg> message = m_queue.Pop();
        if (!message)
            return;
        switch (message->kind) {
        case StringMsg::Kind::Status:
            m_panels.setPanelText(message->panel, message->text);
            break;
        case StringMsg::Kind::Close:
            closeForGood();
            return;
        case StringMsg::Kind::Line:
            addLine(message->text);
            break;
        }
    }
}

void MessagesWindow::addLine(const QString &text)
{
    const QString line = withoutLineEnd(text);
    if (m_logLines > MostLogLines && m_log.isOpen()) {
        m_logLines = 0;
        m_log.resize(0);
    }
    if (m_memoLines > MostMemoLines) {
        m_memo->clear();
        m_memoLines = 0;
    }
    m_memo->appendPlainText(line);
    ++m_memoLines;
    ++m_logLines;
    writeLog(line);
    const QDateTime now = m_clock();
    if (m_lastTimestamp.msecsTo(now) >= kTimestampMilliseconds) {
        m_lastTimestamp = now;
        writeLog(QStringLiteral("Timestamp:  ") + stamp());
    }
}

void MessagesWindow::closeForGood()
{
    if (m_closeAllowed)
        return;
    m_closeAllowed = true;
    close();
}

void MessagesWindow::closeEvent(QCloseEvent *event)
{
    if (!m_closeAllowed) {
        hide();
        m_viewMessages.setChecked(false);
        event->ignore();
        return;
    }
    m_timer.stop();
    ProfileFile settings(JoinPath(m_installFolder.toStdString(), kSettingsFileName));
    bool written = settings.writeInt("MessageForm", "Top", y());
    written = settings.writeInt("MessageForm", "Left", x()) && written;
    written = settings.writeInt("MessageForm", "Height", height()) && written;
    written = settings.writeInt("MessageForm", "Width", width()) && written;
    written = settings.writeString("View", "Messages", m_viewMessages.isChecked() ? "1" : "0")
              && written;
    if (!written)
        m_prompter.error(QStringLiteral("Unable to write to ")
                         + QString::fromStdString(settings.path()));
    hide();
    writeLog(QStringLiteral("Orvex Messages executable Closed:  ") + stamp());
    m_log.close();
    event->accept();
}

} // namespace configtool
