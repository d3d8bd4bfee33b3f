#include "services/service_module.h"

#include "platform/install_folder.h"
#include "platform/notifier.h"
#include "platform/service_loop.h"
#include "services/bus_context.h"
#include "services/command_turns.h"
#include "services/event_log.h"
#include "services/predecessor_wait.h"
#include "services/root_bus_object.h"
#include "services/service_switch.h"
#include "support/trace_log.h"

#include <sdbus-c++/sdbus-c++.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>

namespace services {

namespace {

// No one sits in front of a service: a notice goes to the trace (when one is open) and to stderr
// (the journal under systemd), and the thread that raised it goes on at once.
class ServiceNotifier final : public Notifier
{
public:
    void notify(std::string_view text, NoticeKind) override
    {
        support::TraceError("%.*s", static_cast<int>(text.size()), text.data());
        std::fprintf(stderr, "OrvexServices: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

// How long a plain server waits, after its last client has left, for another before it ends. A
// client that starts the service and leaves at once (a script, busctl) is often followed by the
// console or a recorder client, which subscribe anew when they see the service start: their first
// call comes within milliseconds, a second or two on a loaded machine.
constexpr std::chrono::seconds kClientGrace{5};
// How long a service waits for the one before it on the same install folder to end.
constexpr std::chrono::seconds kPredecessorWaitLimit{10};

} // namespace

std::unique_ptr<sdbus::IConnection> OpenBusConnection(BusKind bus)
{
    return bus == BusKind::System ? sdbus::createSystemBusConnection() : sdbus::createSessionBusConnection();
}

ServiceModule::ServiceModule() : ServiceModule(Options{}) {}

ServiceModule::ServiceModule(Options options) : m_options(std::move(options))
{
    if (m_options.program.empty()) {
        std::error_code error;
        m_options.program = std::filesystem::read_symlink("/proc/self/exe", error).string();
    }
}

int ServiceModule::Main(int argc, const char *const *argv)
{
    // Registration's notices too: no one sits in front of the package's scripts either.
    SetNotifier(std::make_shared<ServiceNotifier>());
    switch (ParseServiceSwitch(JoinCommandLine(argc, argv))) {
    case ServiceSwitch::UnregServer:
        return UnregisterServer();
    case ServiceSwitch::RegServer:
        return RegisterServer(false);
    case ServiceSwitch::Service:
        return RegisterServer(true);
    case ServiceSwitch::None:
        break;
    }
    return Run(StartedByServiceManager());
}

HRESULT ServiceModule::RegisterServer(bool asService)
{
    const std::string installFolder
        = m_options.installFolder.empty() ? InstallFolder() : m_options.installFolder;
    return services::RegisterServer(m_options.layout, asService, m_options.program, installFolder);
}

HRESULT ServiceModule::UnregisterServer()
{
    return services::UnregisterServer(m_options.layout);
}

int ServiceModule::Run(bool runningAsService)
{
    ServiceLoop loop;
    std::shared_ptr<Orvex> root;
    std::shared_ptr<BusContext> bus;
    // The service ends without leaving a call unanswered: calls the bus brought before the name
    // was given up are answered, later ones start a new service. Posted, since answering them
    // processes the connection, which a handler of one of its messages may not do.
    const auto end = [&loop, &bus] {
        const bool posted = loop.Post([&loop, &bus] {
            if (bus)
                bus->releaseName(kBusName);
            loop.Quit();
        });
        if (!posted)
            loop.Quit();
    };
    // A stop lets a site send under way finish first (the hub's EndTurns): ending between its
    // clear and its tables would leave the unit with its memory cleared and no site.
    const auto stop = [&root, &end] {
        std::shared_ptr<IOrvexComms> comms;
        if (root)
            (void)root->getOrvexComms(&comms);
        if (const auto turns = std::dynamic_pointer_cast<CommandTurns>(comms))
            turns->EndTurns(end);
        else
            end();
    };
    loop.HandleSignals({SIGTERM, SIGINT}, [&stop, runningAsService](int) {
        if (runningAsService)
            NotifyServiceManager("STOPPING=1");
        stop();
    });

    const PredecessorWait predecessor(
        m_options.installFolder.empty() ? InstallFolder() : m_options.installFolder, kPredecessorWaitLimit);

    std::unique_ptr<sdbus::IConnection> connection;
    try {
        connection = OpenBusConnection(m_options.bus);
    } catch (const sdbus::Error &error) {
        std::fprintf(stderr, "OrvexServices: cannot open the bus: %s\n", error.getMessage().c_str());
        return E_FAIL;
    }

    std::shared_ptr<void> rootObject;
    int exitCode = 0;
    loop.Post([&] {
        root = std::make_shared<Orvex>(loop, m_options.factories, m_options.installFolder);
        const HRESULT constructed = root->FinalConstruct();
        bus = std::make_shared<BusContext>(loop, *connection);
        rootObject = MakeRootBusObject(*bus, FAILED(constructed) ? nullptr : root, constructed);
        try {
            connection->requestName(kBusName);
        } catch (const sdbus::Error &error) {
            std::fprintf(stderr, "OrvexServices: cannot own %s: %s\n", kBusName, error.getMessage().c_str());
            exitCode = E_FAIL;
            loop.Quit();
            return;
        }
        if (!runningAsService)
            bus->countClients(kClientGrace, stop);
        bus->attach();
        LogEvent(runningAsService, "Service started");
        if (runningAsService)
            NotifyServiceManager("READY=1");
    });
    loop.Run();

    if (bus)
        bus->detach();
    rootObject.reset();
    bus.reset();
    if (root)
        root->FinalRelease();
    try {
        connection->releaseName(kBusName);
    } catch (const sdbus::Error &) {
        // Never owned, given up already at the end, or the bus has gone: nothing to give back.
    }
    root.reset();
    if (runningAsService)
        LogEvent(true, "Service stopped");
    return exitCode;
}

} // namespace services
