#include "bus_call.h"

#include <QDBusPendingCallWatcher>
#include <QObject>

namespace serviceclient {

QString ErrorText(const QDBusError &error)
{
    return error.message().isEmpty() ? error.name() : error.message();
}

HRESULT ResultOf(const QDBusMessage &reply, QString *text)
{
    const auto fail = [text](HRESULT hr, const QString &why) {
        if (text != nullptr)
            *text = why;
        return hr;
    };
    if (reply.type() == QDBusMessage::ErrorMessage)
        return fail(kBusCallFailed, ErrorText(QDBusError(reply)));
    const QList<QVariant> outputs = reply.arguments();
    if (reply.type() != QDBusMessage::ReplyMessage || outputs.isEmpty()
        || outputs.first().metaType() != QMetaType::fromType<int>())
        return fail(E_UNEXPECTED, QStringLiteral("The service's answer holds no result code."));
    const HRESULT hr = outputs.first().toInt();
    if (FAILED(hr))
        return fail(hr, QString::fromStdString(DescribeResult(hr)));
    return hr;
}

HRESULT CheckResult(const QDBusMessage &reply, const QString &call)
{
    QString text;
    const HRESULT hr = ResultOf(reply, &text);
    if (FAILED(hr))
        throw CallError(hr, call, text);
    return hr;
}

HRESULT CheckResult(const QDBusPendingCall &pending, const QString &call)
{
    QDBusPendingCall waited = pending;
    waited.waitForFinished();
    return CheckResult(waited.reply(), call);
}

QDBusObjectPath CheckedPath(const QDBusPendingCall &pending, const QString &call)
{
    QDBusPendingCall waited = pending;
    waited.waitForFinished();
    const QDBusMessage reply = waited.reply();
    CheckResult(reply, call);
    const QList<QVariant> outputs = reply.arguments();
    if (outputs.size() < 2 || outputs.at(1).metaType() != QMetaType::fromType<QDBusObjectPath>())
        throw CallError(E_UNEXPECTED, call,
                        QStringLiteral("The service's answer holds no object path."));
    return outputs.at(1).value<QDBusObjectPath>();
}

void WhenAnswered(const QDBusPendingCall &pending, QObject *context,
                  std::function<void(const QDBusMessage &reply)> answered)
{
    auto *watcher = new QDBusPendingCallWatcher(pending, context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [answered = std::move(answered)](QDBusPendingCallWatcher *done) {
                         done->deleteLater();
                         answered(done->reply());
                     });
}

} // namespace serviceclient
