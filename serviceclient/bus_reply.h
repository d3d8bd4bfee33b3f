#pragma once
// How the bus implementations of the service's interfaces make a call and read its answer: the
// result code comes back as the member's result, each output into its out pointer (only on
// success), and an answer the bus itself refused (no such name, no reply in time, a refused
// member) is raised as CallError with the bus's text, since no result code of the service can
// stand for it. A null out pointer is E_POINTER before anything is sent, as the service itself
// answers it.

#include "serviceclient/bus_call.h"

#include <QDBusObjectPath>
#include <QDBusPendingReply>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace serviceclient::detail {

// Outputs whose bus type is the caller's type (object paths, 32-bit counts).
template <typename Value> Value fromBus(const Value &value)
{
    return value;
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

template <typename Reply, int... Index, typename... Outs>
void storeOutputs(const Reply &reply, std::integer_sequence<int, Index...>, Outs *...outs)
{
    ((*outs = fromBus(reply.template argumentAt<Index + 1>())), ...);
}

// Sends the call that `makeCall` makes on a generated proxy, waits for its answer and gives back
// its result code; the outputs after the result code go to `outs`, in their order.
template <typename MakeCall, typename... Outs>
HRESULT askInto(const char *call, const MakeCall &makeCall, Outs *...outs)
{
    if ((... || (outs == nullptr)))
        return E_POINTER;
    auto reply = makeCall();
    reply.waitForFinished();
    if (reply.isError())
        throw CallError(kBusCallFailed, QString::fromLatin1(call), ErrorText(reply.error()));
    const HRESULT hr = reply.template argumentAt<0>();
    if (SUCCEEDED(hr))
        storeOutputs(reply, std::make_integer_sequence<int, sizeof...(Outs)>{}, outs...);
    return hr;
}

// The members' shapes: no output, one, two; the call comes last.
template <typename MakeCall> HRESULT ask(const char *call, const MakeCall &makeCall)
{
    return askInto(call, makeCall);
}

template <typename Out, typename MakeCall>
HRESULT ask(Out *out, const char *call, const MakeCall &makeCall)
{
    return askInto(call, makeCall, out);
}

template <typename First, typename Second, typename MakeCall>
HRESULT ask(First *first, Second *second, const char *call, const MakeCall &makeCall)
{
    return askInto(call, makeCall, first, second);
}

} // namespace serviceclient::detail
