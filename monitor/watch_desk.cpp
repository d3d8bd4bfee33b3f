#include "watch_desk.h"

#include "guarded.h"

#include "serviceclient/bus_call.h"

#include "platform/notifier.h"

#include <QApplication>

namespace monitor {

WatchDesk::WatchDesk(const serviceclient::ServiceBus &bus) : m_subscriptions(bus, m_window)
{
    connect(&m_subscriptions, &BusSubscriptions::failed, this, [this](const QString &text) {
        RunGuarded([&] { Notify(text.toStdString(), NoticeKind::Error); });
        emit ended(kFailureStatus);
    });
}

void WatchDesk::nameApplication()
{
    // No display name: X11 would append it to every caption. A desktop's menu names the program
    // from its desktop entry.
    QApplication::setApplicationName(QStringLiteral("WatchDesk"));
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
