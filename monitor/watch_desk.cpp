#include "watch_desk.h"

#include "guarded.h"

#include "serviceclient/bus_call.h"

#include "platform/notifier.h"

namespace monitor {

WatchDesk::WatchDesk(const serviceclient::ServiceBus &bus) : m_subscriptions(bus, m_window)
{
    connect(&m_subscriptions, &BusSubscriptions::failed, this, [this](const QString &text) {
        RunGuarded([&] { Notify(text.toStdString(), NoticeKind::Error); });
        emit ended(kFailureStatus);
    });
}

bool WatchDesk::start()
{
    try {
        m_subscriptions.start();
    } catch (const serviceclient::CallError &error) {
        Notify(BusSubscriptions::failureText(error.call(), error.text()).toStdString(),
               NoticeKind::Error);
        return false;
    }
    m_subscriptions.followServiceRestarts();
    m_window.show();
    return true;
}

} // namespace monitor
