#include "configtool/window/single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <algorithm>

#include <unistd.h>

namespace configtool {

namespace {

const QString kOpenPrefix = QStringLiteral("[Open(");
// A request is a few paths; anything longer is not from the tool.
constexpr qint64 kMostRequestBytes = 64 * 1024;
// A later start asks again soon, since the first is usually nearly up, then less often.
constexpr std::chrono::milliseconds kFirstPause(50);
constexpr std::chrono::milliseconds kLongestPause(1000);
// A listening first instance answers at once; this only bounds a hung one.
constexpr int kSocketTimeoutMs = 5000;

QString socketPath(const QString &folder)
{
    return QDir(folder).filePath(QString::fromLatin1(SingleInstance::kName));
}

} // namespace

QStringList parseOpenRequest(QStringView text)
{
    QStringList files;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        const QStringView line = text.mid(start, end - start);
        start = end + 1;
        if (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n')
            ++start;
        if (!line.startsWith(kOpenPrefix))
            continue;
        const qsizetype open = line.indexOf(u'"');
        if (open < 0)
            continue;
        const qsizetype close = line.indexOf(u'"', open + 1);
        const QStringView file = line.mid(open + 1, close < 0 ? -1 : close - open - 1);
        if (!file.isEmpty())
            files << file.toString();
    }
    return files;
}

QByteArray makeOpenRequest(const QString &absolutePath)
{
    if (absolutePath.isEmpty())
        return QByteArray();
    return (kOpenPrefix + QLatin1Char('"') + absolutePath + QStringLiteral("\")]\n")).toUtf8();
}

SingleInstance::SingleInstance(QString runtimeFolder, QObject *parent)
    : QObject(parent), m_folder(std::move(runtimeFolder)),
      m_lock(QDir(m_folder).filePath(QString::fromLatin1(kName) + QStringLiteral(".lock")))
{
    // Only a lock whose process has gone is stale, however old it is.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultRuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime;
    const QString own
        = QDir(QDir::tempPath()).filePath(QStringLiteral("orvexconfig-%1").arg(getuid()));
    QDir().mkpath(own);
    QFile::setPermissions(own,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return own;
}

bool SingleInstance::acquire()
{
    return m_lock.tryLock(0);
}

bool SingleInstance::listen()
{
    const QString path = socketPath(m_folder);
    // We hold the lock, so a socket file left there is from an instance that has gone.
    QLocalServer::removeServer(path);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::takeConnection);
    return m_server->listen(path);
}

void SingleInstance::takeConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        struct Received
        {
            QByteArray text;
            bool refused = false;
        };
        auto received = std::make_shared<Received>();
        connect(socket, &QLocalSocket::readyRead, this, [socket, received] {
            received->text.append(socket->readAll());
            if (received->text.size() > kMostRequestBytes) {
                received->refused = true;
                socket->abort();
            }
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, received] {
            socket->deleteLater();
            if (received->refused)
                return;
            received->text.append(socket->readAll());
            emit requested(parseOpenRequest(QString::fromUtf8(received->text)));
        });
    }
}

SingleInstance::Claim SingleInstance::claim(const QByteArray &request,
                                            std::chrono::milliseconds patience)
{
    const QDeadlineTimer deadline(patience);
    std::chrono::milliseconds pause = kFirstPause;
    bool announced = false;
    for (;;) {
        // Also takes the place of a first instance that has gone without listening.
        if (acquire())
            return Claim::First;
        if (handOver(request))
            return Claim::HandedOver;
        // Only a lock held by a live process is worth waiting for.
        if (m_lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return Claim::NoAnswer;
        if (!announced) {
            announced = true;
            emit waiting();
        }
        const std::chrono::milliseconds left(std::max<qint64>(deadline.remainingTime(), 0));
        QThread::msleep(static_cast<unsigned long>(std::min(pause, left).count()));
        pause = std::min(pause * 2, kLongestPause);
    }
}

bool SingleInstance::handOver(const QByteArray &request) const
{
    QLocalSocket socket;
    socket.connectToServer(socketPath(m_folder));
    if (!socket.waitForConnected(kSocketTimeoutMs))
        return false;
    socket.write(request);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(kSocketTimeoutMs))
            return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kSocketTimeoutMs);
    return true;
}

} // namespace configtool
