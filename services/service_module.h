#pragma once
// The service program's host: reads the command line, registers and unregisters the program
// with the bus and the service manager, and runs the one service thread of the process.
//
// Running, it builds the root (whatever the outcome, it then owns the bus name and serves the
// root's path; built, every object the root hands out is on the bus before the name is owned),
// serves the bus on the service loop until SIGTERM or SIGINT, and tears down: the
// objects leave the bus, the root is released, the transport goes last. As a service (started
// by systemd) it reports READY and STOPPING and logs "Service started" and "Service stopped" to
// syslog; as a plain activated server it ends when its last client has left the bus and no
// other has come for a few seconds (a client that calls meanwhile keeps it). A stop that comes
// during a site send waits until the send has ended and the unit has taken its tables
// (CommandTurns::EndTurns, at most CommandTurns::kStopWaitLimit); unit commands are refused
// meanwhile and everything else is served. At its end the service gives up its name and then
// answers the calls that reached it before that, so that no caller is left without an answer.
//
// Every connection is made for the bus of ORVEX_BUS, never the library's default one.

#include "platform/hresult.h"
#include "services/orvex.h"
#include "services/registration.h"

#include <functional>
#include <memory>
#include <string>

namespace sdbus {
class IConnection;
}

namespace services {

// A connection of its own to `bus` (ORVEX_BUS); throws sdbus::Error when the bus is not there.
[[nodiscard]] std::unique_ptr<sdbus::IConnection> OpenBusConnection(BusKind bus);

class ServiceModule
{
public:
    struct Options
    {
        OrvexFactories factories = OrvexFactories::Defaults();
        std::string installFolder;                 // empty: InstallFolder()
        BusKind bus = BusFromEnvironment();
        RegistrationLayout layout = LayoutFromEnvironment();
        std::string program;                       // empty: this program's own path
    };

    ServiceModule();
    explicit ServiceModule(Options options);

    // The program's entry: installs the service's notifier (notices go to the trace and stderr),
    // then a switch registers or unregisters and gives its result; without one the program
    // runs. Returns the exit code.
    int Main(int argc, const char *const *argv);

    HRESULT RegisterServer(bool asService);
    HRESULT UnregisterServer();

    // The service thread's body, on the calling thread; returns when the loop ends. 0, or the
    // failure of opening the bus or owning the name.
    int Run(bool runningAsService);

private:
    Options m_options;
};

} // namespace services
