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
// A later start waits while the first instance lives but does not listen yet (it is still
// starting: connecting to the service, opening its file), trying again less and less often, up
// to a minute; when the first instance ends meanwhile (its lock names a process that has gone),
// the later start takes its place with its own file. User-interface thread only.

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

    enum class Claim {
        // This is the first instance now: it holds the lock.
        First,
        // The first instance took the request.
        HandedOver,
        // The first instance lived on without answering for all of `patience`.
        NoAnswer,
    };

    // True when this process is the first instance; it keeps the lock while this object lives.
    // A lock left by a process that has gone is taken over.
    [[nodiscard]] bool acquire();
    // Starts taking requests (after acquire); false when the socket cannot be made.
    bool listen();
    // Becomes the first instance, or hands `request` to the first one, waiting for it while it
    // lives but does not listen yet.
    [[nodiscard]] Claim claim(const QByteArray &request,
                              std::chrono::milliseconds patience = std::chrono::minutes(1));

signals:
    // A request arrived: the window is to be raised, then each file opened.
    void requested(const QStringList &files);
    // Once per claim, when the first instance did not answer at once: a wait begins.
    void waiting();

private:
    void takeConnection();
    // One attempt to give the request to a listening first instance.
    [[nodiscard]] bool handOver(const QByteArray &request) const;

    QString m_folder;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace configtool
