#pragma once
// One configuration tool per user. The first instance holds the lock file "ORVEXCONFIGMGR.lock"
// and, once its start-up has finished, listens on the local socket "ORVEXCONFIGMGR", both in
// $XDG_RUNTIME_DIR (else a folder of the user's own in the temporary folder), readable by the
// user only. A later instance sends its site file to the first as an open request and ends
// without showing anything; a file manager's "open with" is such a later instance.
//
// An open request is text of lines; a line beginning `[Open(` names a file between its first
// double quote and the next one (or the line's end); other lines are skipped. Every request,
// also an empty one, asks the first instance to raise its window.
//
// The sender tries again for a few seconds, so a request made while the first instance still
// starts waits until it listens. User-interface thread only.

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <chrono>
#include <memory>

class QLocalServer;

namespace configtool {

// The files an open request names, in order; lines naming no file are skipped.
[[nodiscard]] QStringList parseOpenRequest(QStringView text);
// The request for a file (absolute), or the empty request that only raises the window.
[[nodiscard]] QByteArray makeOpenRequest(const QString &absolutePath);

class SingleInstance : public QObject
{
    Q_OBJECT

public:
    static constexpr char kName[] = "ORVEXCONFIGMGR";

    explicit SingleInstance(QString runtimeFolder = defaultRuntimeFolder(),
                            QObject *parent = nullptr);
    ~SingleInstance() override;

    [[nodiscard]] static QString defaultRuntimeFolder();

    // True when this process is the first instance; it keeps the lock while this object lives.
    [[nodiscard]] bool acquire();
    // Starts taking requests (after acquire); false when the socket cannot be made.
    bool listen();
    // Sends the request to the first instance; false when none answered within the timeout.
    [[nodiscard]] bool send(const QByteArray &request,
                            std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

signals:
    // A request arrived: the window is to be raised, then each file opened.
    void requested(const QStringList &files);

private:
    void takeConnection();

    QString m_folder;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace configtool
