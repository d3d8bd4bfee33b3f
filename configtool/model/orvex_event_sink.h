#pragma once
// The tool's sink of the service's status events: the five it uses become entries of the
// string queue (drained by the Messages window), and the online and offline events switch the
// configuration manager's online state. The other four events are not subscribed.
//
// Its slots are connected to the hub's signals on the bus (or called by tests); they run on the
// user-interface thread and never throw. Created by the manager's Connect, which owns it.

#include <QObject>
#include <QString>

namespace configtool {

class OrvexConfigManager;
class ThreadsafeStringQueue;

class OrvexEventSink : public QObject
{
    Q_OBJECT

public:
    OrvexEventSink(ThreadsafeStringQueue &queue, OrvexConfigManager &manager,
                   QObject *parent = nullptr);

    // Whether a comms error is one the person must see: a port that another program holds or
    // that the user may not open. Every other comms error is dropped.
    [[nodiscard]] static bool IsShownCommsError(const QString &reason);

public slots:
    // Unit debug text, unchanged, as a line.
    void Debug(const QString &debugData);
    // Panel 2 "Online " + version; the manager goes online.
    void OrvexOnline(const QString &ver);
    // Panel 2 "Offline"; the manager goes offline.
    void OrvexOffline();
    // Panel 0 "Comms Error - " + reason, for the errors IsShownCommsError lets through.
    void CommsError(const QString &reason);
    // Panel 0 " Received " + the message type.
    void GotMessage(const QString &msgType);

private:
    ThreadsafeStringQueue &m_queue;
    OrvexConfigManager &m_manager;
};

} // namespace configtool
