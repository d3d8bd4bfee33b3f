#pragma once
// How many calls the configuration tool makes on the bus, for its benchmarks.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QString>

#include <functional>
#include <stdexcept>

namespace bench {

// Counts the method calls that one connection sends, as a monitor of the bus sees them. A ping
// of the bus daemon from that connection marks the end of a step: the calls the monitor shows
// before the ping are the step's.
class CallCounter
{
public:
    CallCounter(const QString &address, QDBusConnection connection)
        : m_connection(std::move(connection))
    {
        m_monitor.start(
            QStringLiteral("dbus-monitor"),
            {QStringLiteral("--address"), address, QStringLiteral("--profile"),
             QStringLiteral("type='method_call',sender='%1'").arg(m_connection.baseService())});
        if (!m_monitor.waitForStarted())
            throw std::runtime_error("dbus-monitor does not start");
        // The monitor watches once it shows a ping.
        while (countUntilPing() < 0)
            ;
    }
    ~CallCounter()
    {
        m_monitor.terminate();
        m_monitor.waitForFinished();
    }

    // Calls of `step`; -1 when the monitor showed no ping in time.
    int callsOf(const std::function<void()> &step)
    {
        countUntilPing();
        step();
        return countUntilPing();
    }

private:
    int countUntilPing()
    {
        m_connection.call(QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")));
        int calls = 0;
        for (;;) {
            while (!m_monitor.canReadLine()) {
                if (!m_monitor.waitForReadyRead(2000))
                    return -1;
            }
            const QList<QByteArray> fields = m_monitor.readLine().trimmed().split('\t');
            if (fields.value(0) != "mc")
                continue;
            if (fields.value(7) == "Ping")
                return calls;
            ++calls;
        }
    }

    QDBusConnection m_connection;
    QProcess m_monitor;
};

} // namespace bench
