#include "event_log.h"

#include "registration.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include <syslog.h>
#include <systemd/sd-daemon.h>

namespace services {

void LogEvent(bool runningAsService, const char *format, ...)
{
    char message[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    if (!runningAsService) {
        std::printf("%s\n", message);
        std::fflush(stdout);
        return;
    }
    openlog(kServiceName, LOG_PID, LOG_DAEMON);
    syslog(LOG_INFO, "%s", message);
    closelog();
}

void NotifyServiceManager(const char *state)
{
    sd_notify(0, state);
}

bool StartedByServiceManager()
{
    const char *invocation = std::getenv("INVOCATION_ID");
    const char *notifySocket = std::getenv("NOTIFY_SOCKET");
    return (invocation && *invocation) || (notifySocket && *notifySocket);
}

} // namespace services
