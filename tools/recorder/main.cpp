// orvex-recorder: a recorder client of the service. Its first call starts the service when the
// bus has its activation file. It takes the recorder bridge from the root, subscribes to every
// bridge event family and to the hub's status events, prints each event as one line, and
// answers every image capture request with an image file name. It prints "recorder: ready"
// once subscribed and runs until SIGTERM or SIGINT.
//
// The bus is the one ORVEX_BUS names ("system", else the session bus).

#include "interfaces/dbus/orvexservices_proxy.h"
#include "interfaces/dbus/recorderbridge_proxy.h"
#include "tools/recorder/event_printers.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <thread>

namespace {

using namespace recorder;

class Root final : public sdbus::ProxyInterfaces<org::orvex::IOrvex_proxy>
{
public:
    explicit Root(sdbus::IConnection &connection) : ProxyInterfaces(connection, kServiceName, "/org/orvex/Orvex")
    {
        registerProxy();
    }
    ~Root() { unregisterProxy(); }
};

class Bridge final : public sdbus::ProxyInterfaces<org::orvex::IOrvexInterface_proxy>
{
public:
    Bridge(sdbus::IConnection &connection, const std::string &path) : ProxyInterfaces(connection, kServiceName, path)
    {
        registerProxy();
    }
    ~Bridge() { unregisterProxy(); }
};

class Recognizer final : public sdbus::ProxyInterfaces<org::orvex::ILicencePlateRecognizer_proxy>
{
public:
    Recognizer(sdbus::IConnection &connection, const std::string &path)
        : ProxyInterfaces(connection, kServiceName, path)
    {
        registerProxy();
    }
    ~Recognizer() { unregisterProxy(); }
};

std::string checked(const char *what, const std::tuple<int32_t, sdbus::ObjectPath> &answer)
{
    if (std::get<0>(answer) < 0) {
        std::fprintf(stderr, "orvex-recorder: %s failed with 0x%08X\n", what, static_cast<unsigned>(std::get<0>(answer)));
        std::exit(2);
    }
    return std::get<1>(answer);
}

} // namespace

int main()
{
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);

    try {
        const char *bus = std::getenv("ORVEX_BUS");
        auto connection = bus != nullptr && std::strcmp(bus, "system") == 0 ? sdbus::createSystemBusConnection()
                                                                             : sdbus::createSessionBusConnection();
        // Longer than a site download, which holds the service for tens of seconds.
        connection->setMethodCallTimeout(std::chrono::seconds(120));

        EventPrinter printer(stdout);
        Root root(*connection);
        Bridge bridge(*connection, checked("getRecorderBridge", root.getRecorderBridge()));
        BridgePaths paths;
        paths.fuelling = checked("getFuellingInterface", bridge.getFuellingInterface());
        paths.paymentTerminal = checked("getPaymentTerminal", bridge.getPaymentTerminal());
        paths.forecourtCamera = checked("getForecourtCamera", bridge.getForecourtCamera());
        paths.retail = checked("getRetail", bridge.getRetail());
        paths.licencePlateRecognizer = checked("getLicencePlateRecognizer", bridge.getLicencePlateRecognizer());
        paths.imageCapture = checked("getImageCapture", bridge.getImageCapture());
        const std::string comms = checked("getOrvexComms", root.getOrvexComms());

        Recognizer recognizer(*connection, paths.licencePlateRecognizer);
        unsigned images = 0;
        printer.setImageAnswerer([&](std::int16_t camera) {
            const std::string file = "/tmp/orvex-recorder-camera" + std::to_string(camera) + "-" +
                                     std::to_string(++images) + ".jpg";
            const int32_t hr = recognizer.ImageAvailable(camera, file);
            printer.print("ImageAvailable", {Number("CameraID", camera), Text("FileName", file), Number("hr", hr)});
        });
        auto subscriptions = SubscribeBridgeEvents(*connection, paths, printer);
        subscriptions.push_back(SubscribeCommsEvents(*connection, comms, printer));
        std::printf("recorder: ready\n");
        std::fflush(stdout);

        std::thread stopper([&connection, stops] {
            int signo = 0;
            sigwait(&stops, &signo);
            connection->leaveEventLoop();
        });
        try {
            connection->enterEventLoop();
        } catch (...) {
            // The bus went away: the stopper still waits for a signal, and a thread left
            // joinable would abort the program instead of letting it report the error.
            pthread_kill(stopper.native_handle(), SIGTERM);
            stopper.join();
            throw;
        }
        stopper.join();
        subscriptions.clear();
    } catch (const sdbus::Error &error) {
        std::fprintf(stderr, "orvex-recorder: %s: %s\n", error.getName().c_str(), error.getMessage().c_str());
        return 1;
    }
    return 0;
}
