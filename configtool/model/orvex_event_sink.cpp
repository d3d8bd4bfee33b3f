#include "configtool/model/orvex_event_sink.h"

#include "configtool/model/guarded.h"
#include "configtool/model/orvex_config_manager.h"
#include "configtool/model/threadsafe_string_queue.h"
#include "configtool/model/tool_host.h"

namespace configtool {

OrvexEventSink::OrvexEventSink(ThreadsafeStringQueue &queue, OrvexConfigManager &manager,
                               QObject *parent)
    : QObject(parent), m_queue(queue), m_manager(manager)
{}

bool OrvexEventSink::IsShownCommsError(const QString &reason)
{
    // "Access is denied" is how a held port read where this tool began; on Linux the serial
    // port reports a held port and a forbidden one in the system's own words.
    return reason.startsWith(QLatin1String("Access is denied"))
           || reason.startsWith(QLatin1String("Device or resource busy"))
           || reason.startsWith(QLatin1String("Permission denied"));
}

void OrvexEventSink::Debug(const QString &debugData)
{
    m_queue.Push(StringMsg::line(debugData));
}

void OrvexEventSink::OrvexOnline(const QString &ver)
{
    m_queue.Push(StringMsg::status(StatusPanels::Unit, QStringLiteral("Online ") + ver));
    guarded(m_manager.GetHost().prompter(), [this] { m_manager.SetOnline(); });
}

void OrvexEventSink::OrvexOffline()
{
    m_queue.Push(StringMsg::status(StatusPanels::Unit, QStringLiteral("Offline")));
    guarded(m_manager.GetHost().prompter(), [this] { m_manager.SetOffline(); });
}

void OrvexEventSink::CommsError(const QString &reason)
{
    if (IsShownCommsError(reason))
        m_queue.Push(
            StringMsg::status(StatusPanels::Activity, QStringLiteral("Comms Error - ") + reason));
}

void OrvexEventSink::GotMessage(const QString &msgType)
{
    m_queue.Push(StringMsg::status(StatusPanels::Activity, QStringLiteral(" Received ") + msgType));
}

} // namespace configtool
