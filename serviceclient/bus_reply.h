#pragma once
// How the bus implementations of the service's interfaces read an answer: the result code
// comes back as the member's result, each output into its out pointer (only on success), and an
// answer the bus itself refused (no such name, no reply in time, a refused member) is raised as
// CallError with the bus's text, since no result code of the service can stand for it. A null
// out pointer is E_POINTER before anything is sent, as the service itself answers it.

#include "serviceclient/bus_call.h"

#include <QDBusPendingReply>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

namespace serviceclient::detail {

template <typename Reply> HRESULT resultOf(Reply &reply, const char *call)
{
    reply.waitForFinished();
    if (reply.isError()) {
        const QDBusError error = reply.error();
        throw CallError(kBusCallFailed, QString::fromLatin1(call),
                        error.message().isEmpty() ? error.name() : error.message());
    }
    return reply.template argumentAt<0>();
}

inline std::int16_t fromBus(short value)
{
    return value;
}

inline std::string fromBus(const QString &text)
{
    return text.toStdString();
}

inline std::vector<std::string> fromBus(const QStringList &texts)
{
    std::vector<std::string> out;
    for (const QString &text : texts)
        out.push_back(text.toStdString());
    return out;
}

// A member without outputs.
template <typename MakeCall> HRESULT run(const char *call, MakeCall makeCall)
{
    auto reply = makeCall();
    return resultOf(reply, call);
}

// A member with one output after the result code.
template <typename Out, typename MakeCall>
HRESULT readOne(Out *out, const char *call, MakeCall makeCall)
{
    if (out == nullptr)
        return E_POINTER;
    auto reply = makeCall();
    const HRESULT hr = resultOf(reply, call);
    if (SUCCEEDED(hr))
        *out = fromBus(reply.template argumentAt<1>());
    return hr;
}

} // namespace serviceclient::detail
