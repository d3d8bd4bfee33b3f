#include "serviceclient/orvex_comms_on_bus.h"

#include "serviceclient/bus_reply.h"
#include "serviceclient/proxies/orvexservices_proxy.h"

#include <array>
#include <utility>

namespace serviceclient {

using detail::ask;

namespace {

// The status events the tool sinks, with their argument lists; the other four are not needed.
constexpr std::array<std::pair<const char *, const char *>, 5> kStatusEvents = {{
    {"Debug", "(QString)"},
    {"OrvexOnline", "(QString)"},
    {"OrvexOffline", "()"},
    {"CommsError", "(QString)"},
    {"GotMessage", "(QString)"},
}};

constexpr char kEventsInterface[] = "org.orvex.IOrvexCommsEvents";

// The form SLOT() gives a slot's signature.
QByteArray slotSignature(const char *name, const char *arguments)
{
    return QByteArray::number(QSLOT_CODE) + name + arguments;
}

} // namespace

OrvexCommsOnBus::OrvexCommsOnBus(const ServiceBus &bus, const QDBusObjectPath &path)
    : m_bus(bus), m_path(path), m_proxy(bus.proxy<OrgOrvexIOrvexCommsInterface>(path))
{}

OrvexCommsOnBus::~OrvexCommsOnBus() = default;

HRESULT OrvexCommsOnBus::SetSerialPort(std::int16_t port)
{
    return ask("SetSerialPort", [&] { return m_proxy->SetSerialPort(port); });
}

HRESULT OrvexCommsOnBus::ReadDataFromOrvex()
{
    return ask("ReadDataFromOrvex", [&] { return m_proxy->ReadDataFromOrvex(); });
}

HRESULT OrvexCommsOnBus::ClearOrvexMemory()
{
    return ask("ClearOrvexMemory", [&] { return m_proxy->ClearOrvexMemory(); });
}

HRESULT OrvexCommsOnBus::ToggleDebug(std::int16_t time)
{
    return ask("ToggleDebug", [&] { return m_proxy->ToggleDebug(time); });
}

HRESULT OrvexCommsOnBus::ClearResetCount()
{
    return ask("ClearResetCount", [&] { return m_proxy->ClearResetCount(); });
}

HRESULT OrvexCommsOnBus::SendCurrentSiteToOrvex()
{
    return ask("SendCurrentSiteToOrvex", [&] { return m_proxy->SendCurrentSiteToOrvex(); });
}

HRESULT OrvexCommsOnBus::RequestResetCount()
{
    return ask("RequestResetCount", [&] { return m_proxy->RequestResetCount(); });
}

HRESULT OrvexCommsOnBus::RequestSystemDiagnostics()
{
    return ask("RequestSystemDiagnostics", [&] { return m_proxy->RequestSystemDiagnostics(); });
}

HRESULT OrvexCommsOnBus::RequestTaskDiagnostics()
{
    return ask("RequestTaskDiagnostics", [&] { return m_proxy->RequestTaskDiagnostics(); });
}

void OrvexCommsOnBus::startLongCommand(LongCommand command, QObject *context, Finished finished)
{
    const auto send = [&]() -> QDBusPendingCall {
        switch (command) {
        case LongCommand::SendCurrentSite:
            return m_proxy->SendCurrentSiteToOrvex();
        case LongCommand::ReadData:
            return m_proxy->ReadDataFromOrvex();
        case LongCommand::ClearMemory:
            return m_proxy->ClearOrvexMemory();
        case LongCommand::ToggleDebug:
            break;
        }
        return m_proxy->ToggleDebug(0);
    };
    QDBusPendingCall pending = send();
    WhenAnswered(pending, context, [finished = std::move(finished)](const QDBusMessage &reply) {
        QString text;
        const HRESULT hr = ResultOf(reply, &text);
        finished(hr, text);
    });
}

bool OrvexCommsOnBus::connectStatusEvents(QObject *receiver)
{
    QDBusConnection connection = m_bus.connection();
    for (std::size_t i = 0; i < kStatusEvents.size(); ++i) {
        const auto &[name, arguments] = kStatusEvents[i];
        if (connection.connect(QString::fromLatin1(kServiceName), m_path.path(),
                               QString::fromLatin1(kEventsInterface), QString::fromLatin1(name),
                               receiver, slotSignature(name, arguments).constData()))
            continue;
        for (std::size_t k = 0; k < i; ++k)
            connection.disconnect(
                QString::fromLatin1(kServiceName), m_path.path(),
                QString::fromLatin1(kEventsInterface), QString::fromLatin1(kStatusEvents[k].first),
                receiver,
                slotSignature(kStatusEvents[k].first, kStatusEvents[k].second).constData());
        return false;
    }
    return true;
}

void OrvexCommsOnBus::disconnectStatusEvents(QObject *receiver)
{
    QDBusConnection connection = m_bus.connection();
    for (const auto &[name, arguments] : kStatusEvents)
        connection.disconnect(QString::fromLatin1(kServiceName), m_path.path(),
                              QString::fromLatin1(kEventsInterface), QString::fromLatin1(name),
                              receiver, slotSignature(name, arguments).constData());
}

} // namespace serviceclient
