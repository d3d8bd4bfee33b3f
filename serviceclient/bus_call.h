#pragma once
// The answers of the service's methods, checked. Every method of the service answers its result
// code first (hr), then its outputs; a call fails when the bus answers with an error (no such
// name, no reply in time, a refused member) or when the result code is a failure.
//
// Ownership: nothing here keeps a call; WhenAnswered's watcher deletes itself after its handler.
// Threads: waiting blocks the calling thread (not its event loop's other work: nothing else runs
// meanwhile); WhenAnswered runs its handler on the thread of `context`.
// Errors: the Check functions throw CallError, whose text is the bus's own message for an error
// reply and DescribeResult's text for a failed result; ResultOf never throws.

#include "platform/com_error.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QString>

#include <functional>

class QObject;

namespace serviceclient {

// The result of a call that the bus itself refused or let time out: the code Windows gave a
// client whose server could not be reached, so that it still reads "could not reach the service".
inline constexpr HRESULT kBusCallFailed = MakeResult(0x800706BAu);

// A failed call on the service: the member called and the readable text of the failure.
class CallError : public ComError
{
public:
    CallError(HRESULT hr, QString call, const QString &text)
        : ComError(hr, text.toStdString()), m_call(std::move(call))
    {}
    // The member whose call failed ("getRecorderBridge").
    [[nodiscard]] const QString &call() const { return m_call; }
    [[nodiscard]] QString text() const { return QString::fromStdString(what()); }

private:
    QString m_call;
};

// The readable text of an error reply: the bus's message, else the error's name.
[[nodiscard]] QString ErrorText(const QDBusError &error);

// The result code of `reply`: its first output when it is an answer that starts with one,
// kBusCallFailed for an error reply, E_UNEXPECTED for any other answer. `text`, when given,
// receives the readable text of a failure.
[[nodiscard]] HRESULT ResultOf(const QDBusMessage &reply, QString *text = nullptr);

// The result code (S_OK, S_FALSE) of the answer to `call`; throws CallError on failure.
HRESULT CheckResult(const QDBusMessage &reply, const QString &call);
// Waits for the answer of `pending`, then as above.
HRESULT CheckResult(const QDBusPendingCall &pending, const QString &call);

// The object path that a getter (hr, o) answered; throws CallError on failure.
[[nodiscard]] QDBusObjectPath CheckedPath(const QDBusPendingCall &pending, const QString &call);

// Runs `answered` with the answer of `pending` once it comes, on the thread of `context`; not
// at all when `context` is gone by then. The event loop keeps running meanwhile. `answered`
// runs inside the event loop, so it must not throw.
void WhenAnswered(const QDBusPendingCall &pending, QObject *context,
                  std::function<void(const QDBusMessage &reply)> answered);

} // namespace serviceclient
