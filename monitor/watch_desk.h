#pragma once
// The console program: its window and its subscriptions on one bus, the start, and the end on a
// failed call. A failing call shows its notice (an error box naming the call and its text) and
// ends the program with a non-zero status; there is no retry.
//
// Ownership: owns the window and the subscriptions; the bus must outlive it.
// Threads: the GUI thread.
// Errors: reported through the Notifier and the results below, never thrown.

#include "bus_subscriptions.h"
#include "monitor_window.h"

#include <QObject>

namespace monitor {

class WatchDesk : public QObject
{
    Q_OBJECT

public:
    // The exit status of a console ended by a failed call.
    static constexpr int kFailureStatus = 1;

    explicit WatchDesk(const serviceclient::ServiceBus &bus);

    // Names the running program, before any window is made; the window's caption stays exactly
    // its own.
    static void nameApplication();

    // Runs the start sequence, then shows the window and follows the service's restarts. On a
    // failing call gives its notice and returns false; the window is not shown.
    [[nodiscard]] bool start();

    [[nodiscard]] MonitorWindow &window() { return m_window; }
    [[nodiscard]] BusSubscriptions &subscriptions() { return m_subscriptions; }

signals:
    // A call failed after the start; its notice has been given. The program ends with `status`.
    void ended(int status);

private:
    MonitorWindow m_window;
    BusSubscriptions m_subscriptions;
};

} // namespace monitor
