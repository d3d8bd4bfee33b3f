#pragma once
// The service's event log and its reports to the service manager.
//
// Running as a service, LogEvent writes one information entry to syslog under the ident
// "OrvexServices"; otherwise the message goes to standard output. Messages are cut to 255
// bytes. NotifyServiceManager passes a state line ("READY=1", "STOPPING=1") to systemd when it
// started the program, and does nothing otherwise.

namespace services {

void LogEvent(bool runningAsService, const char *format, ...) __attribute__((format(printf, 2, 3)));

void NotifyServiceManager(const char *state);

// True when systemd started the program (INVOCATION_ID or NOTIFY_SOCKET set).
[[nodiscard]] bool StartedByServiceManager();

} // namespace services
