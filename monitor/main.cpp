// WatchDesk, the event monitor console: connects to the service on its bus (ORVEX_BUS, else the
// installation's; the first call starts the service when the bus can activate it), prints every
// recorder event of the bridge as a line, the unit's debug text, and whether the unit is online.
#include "error_box_notifier.h"
#include "watch_desk.h"

#include "platform/notifier.h"

#include "serviceclient/service_bus.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    monitor::WatchDesk::nameApplication();
    SetNotifier(std::make_shared<monitor::ErrorBoxNotifier>());
    try {
        serviceclient::ServiceBus bus;
        monitor::WatchDesk desk(bus);
        if (!desk.start())
            return monitor::WatchDesk::kFailureStatus;
        QObject::connect(&desk, &monitor::WatchDesk::ended, &app, &QCoreApplication::exit,
                         Qt::QueuedConnection);
        return QApplication::exec();
    } catch (const std::exception &error) {
        Notify(error.what(), NoticeKind::Error);
        return monitor::WatchDesk::kFailureStatus;
    }
}
