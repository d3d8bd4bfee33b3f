// orvex-recorder: a recorder client of the service. Its first call starts the service when the
// bus has its activation file. It takes the recorder bridge from the root, subscribes to every
// bridge event family and to the hub's status events, prints each event as one line, and
// answers every image capture request with an image file name. It prints "recorder: ready"
// once subscribed and runs until SIGTERM or SIGINT, following the service's restarts (it says
// when the service has gone and when it has subscribed anew).
//
// The bus is the service's (ServiceBusKind: ORVEX_BUS, else the installation's, else the session
// bus).

#include "platform/install_folder.h"
#include "tools/recorder/service_follower.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>

int main()
{
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);

    int status = 0;
    try {
        auto connection = ServiceBusKind() == BusKind::System ? sdbus::createSystemBusConnection()
                                                              : sdbus::createSessionBusConnection();
        // Longer than a site download, which holds the service for tens of seconds.
        connection->setMethodCallTimeout(std::chrono::seconds(120));

        recorder::EventPrinter printer(stdout);
        recorder::ServiceFollower follower(*connection, printer, [&](const std::string &text, int failure) {
            std::fprintf(stderr, "orvex-recorder: %s\n", text.c_str());
            status = failure;
            connection->leaveEventLoop();
        });
        try {
            follower.start();
        } catch (const recorder::RefusedCall &refused) {
            std::fprintf(stderr, "orvex-recorder: %s\n", refused.what());
            return 2;
        }
        printer.say("ready");

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
        if (status != 0)
            pthread_kill(stopper.native_handle(), SIGTERM);
        stopper.join();
    } catch (const sdbus::Error &error) {
        std::fprintf(stderr, "orvex-recorder: %s: %s\n", error.getName().c_str(), error.getMessage().c_str());
        return 1;
    }
    return status;
}
