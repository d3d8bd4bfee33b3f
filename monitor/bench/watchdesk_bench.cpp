// watchdesk-bench: how fast the console shows events, and what it holds after many.
//
// The console's own share is measured against a stand-in owner of the service's name in this
// process (its own connection and thread), which hands out the getters' paths and emits bridge
// signals stamped with the time they were sent; a line counts once it is in the transactions
// box (the window's eventShown). Then the whole road is measured against the real service,
// activated on the same private bus: the test generator's calls to the line in the box.
//
// Prints one line per figure. Runs offscreen; takes about half a minute. "--road" measures
// only the whole road through the service.

#include "bus_test_support.h"

#include "monitor/watch_desk.h"

#include "serviceclient/bus_call.h"
#include "serviceclient/proxies/orvexservices_proxy.h"
#include "serviceclient/service_bus.h"

#include <QApplication>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

const QString kBridge = QStringLiteral("/org/orvex/Bench/Bridge");
const QString kFuelling = QStringLiteral("/org/orvex/Bench/Bridge/Fuelling");
const QString kStandInConnection = QStringLiteral("watchdesk-bench-service");

// Answers every getter of the root and the bridge with a path of its own.
class StandInObjects : public QDBusVirtualObject
{
public:
    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        static const QHash<QString, QString> paths = {
            {"getRecorderBridge", kBridge},
            {"getOrvexComms", "/org/orvex/Bench/Comms"},
            {"getFuellingInterface", kFuelling},
            {"getForecourtCamera", kBridge + "/Camera"},
            {"getPaymentTerminal", kBridge + "/Payment"},
            {"getRetail", kBridge + "/Retail"},
            {"getLicencePlateRecognizer", kBridge + "/Plates"},
        };
        const auto path = paths.find(message.member());
        if (path == paths.end())
            return false;
        connection.send(
            message.createReply(QVariantList{0, QVariant::fromValue(QDBusObjectPath(*path))}));
        return true;
    }
};

// The stand-in owner of the service's name, on a thread and a connection of its own.
class StandInService : public QThread
{
public:
    explicit StandInService(QString address) : m_address(std::move(address)) {}
    std::atomic<bool> ready{false};

protected:
    void run() override
    {
        QDBusConnection connection = QDBusConnection::connectToBus(m_address, kStandInConnection);
        StandInObjects objects;
        connection.registerVirtualObject(QStringLiteral("/org/orvex"), &objects,
                                         QDBusConnection::SubPath);
        connection.registerService(QString::fromLatin1(serviceclient::kServiceName));
        ready = true;
        exec();
        connection.unregisterService(QString::fromLatin1(serviceclient::kServiceName));
        connection.unregisterObject(QStringLiteral("/org/orvex"), QDBusConnection::UnregisterTree);
        QDBusConnection::disconnectFromBus(kStandInConnection);
    }

private:
    QString m_address;
};

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
    }
    return -1;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index
        = static_cast<std::size_t>(p / 100.0 * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// Counts the events the window has shown and when.
class ShownLog
{
public:
    explicit ShownLog(monitor::MonitorWindow &window)
    {
        QObject::connect(&window, &monitor::MonitorWindow::eventShown,
                         [this] { m_times.push_back(Clock::now()); });
    }
    void reset(std::size_t expected)
    {
        m_times.clear();
        m_times.reserve(expected);
    }
    // Runs the event loop until `count` events are shown or `limit` has passed.
    bool waitFor(std::size_t count, std::chrono::seconds limit)
    {
        const auto deadline = Clock::now() + limit;
        while (m_times.size() < count && Clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return m_times.size() >= count;
    }
    [[nodiscard]] const std::vector<Clock::time_point> &times() const { return m_times; }

private:
    std::vector<Clock::time_point> m_times;
};

std::vector<double> latenciesMs(const std::vector<Clock::time_point> &sent,
                                const std::vector<Clock::time_point> &shown)
{
    std::vector<double> result;
    for (std::size_t i = 0; i < std::min(sent.size(), shown.size()); ++i)
        result.push_back(std::chrono::duration<double, std::milli>(shown[i] - sent[i]).count());
    return result;
}

// Emits `count` delivery starts from the stand-in, `interval` apart (0: as fast as it can).
std::vector<Clock::time_point> emitStarts(std::size_t count, std::chrono::microseconds interval)
{
    std::vector<Clock::time_point> sent(count);
    QDBusConnection connection(kStandInConnection);
    const auto start = Clock::now();
    for (std::size_t i = 0; i < count; ++i) {
        if (interval.count() > 0)
            std::this_thread::sleep_until(start + interval * static_cast<long>(i));
        QDBusMessage signal
            = QDBusMessage::createSignal(kFuelling, QStringLiteral("org.orvex.IFuellingEvents"),
                                         QStringLiteral("OnStartFuelDelivery"));
        // 16-bit numbers must travel as 'n': a short put straight into a QVariant becomes an int.
        const auto n = [](int value) { return QVariant::fromValue(static_cast<short>(value)); };
        signal << QStringLiteral("2026-01-02T03:04:05") << n(static_cast<int>(i % 32768)) << n(3)
               << n(4) << QStringLiteral("Delivery Start") << n(2);
        sent[i] = Clock::now();
        connection.send(signal);
    }
    return sent;
}

void paced(ShownLog &shown, const char *legend, std::size_t count,
           std::chrono::microseconds interval)
{
    shown.reset(count);
    std::vector<Clock::time_point> sent;
    std::thread emitter([&] { sent = emitStarts(count, interval); });
    const bool all = shown.waitFor(count, 120s);
    emitter.join();
    const auto latencies = latenciesMs(sent, shown.times());
    std::printf("%-44s %zu events: p50 %.2f ms, p99 %.2f ms, max %.2f ms%s\n", legend, count,
                percentile(latencies, 50), percentile(latencies, 99), percentile(latencies, 100),
                all ? "" : " (NOT ALL SHOWN)");
}

void burst(ShownLog &shown, const char *legend, std::size_t count)
{
    shown.reset(count);
    std::vector<Clock::time_point> sent;
    std::thread emitter([&] { sent = emitStarts(count, 0us); });
    const bool all = shown.waitFor(count, 300s);
    emitter.join();
    const double seconds
        = std::chrono::duration<double>(shown.times().back() - sent.front()).count();
    std::printf("%-44s %zu events in %.2f s: %.0f events/s shown%s\n", legend, count, seconds,
                static_cast<double>(shown.times().size()) / seconds, all ? "" : " (NOT ALL SHOWN)");
}

void measureTheConsole(const bustest::PrivateBus &bus)
{
    StandInService standIn(QString::fromStdString(bus.address()));
    standIn.start();
    while (!standIn.ready)
        std::this_thread::sleep_for(1ms);
    {
        serviceclient::ServiceBus client(QString::fromStdString(bus.address()));
        monitor::WatchDesk desk(client);
        if (!desk.start()) {
            std::printf("the console did not start\n");
            return;
        }
        ShownLog shown(desk.window());
        paced(shown, "console, 100 events/s, signal to box:", 1000, 10ms);
        paced(shown, "console, 1,000 events/s, signal to box:", 5000, 1ms);
        burst(shown, "console, burst:", 20000);
        const long before = residentKiB();
        for (int round = 1; round <= 10; ++round) {
            burst(shown, "console, burst of 10,000 (memory):", 10000);
            if (round == 1 || round == 5 || round == 10)
                std::printf("resident memory after %6d more events: %ld KiB (before: %ld KiB)\n",
                            round * 10000, residentKiB(), before);
        }
        std::printf("transactions box holds %lld characters, console box %lld\n",
                    static_cast<long long>(desk.window().transactions().size()),
                    static_cast<long long>(desk.window().console().size()));
    }
    standIn.quit();
    standIn.wait();
}

void measureTheWholeRoad(const bustest::PrivateBus &bus)
{
    serviceclient::ServiceBus client(QString::fromStdString(bus.address()));
    monitor::WatchDesk desk(client);
    if (!desk.start()) {
        std::printf("the console did not start against the service\n");
        return;
    }
    const auto generator = client.proxy<OrgOrvexIDVRTestInterface>(
        serviceclient::CheckedPath(client.root()->getDVRTestInterface(), "getDVRTestInterface"));
    ShownLog shown(desk.window());

    // Paced: each call sent 10 ms after the last, from the call to its line.
    constexpr std::size_t paced = 500;
    shown.reset(paced);
    std::vector<Clock::time_point> sent;
    std::vector<QDBusPendingCall> calls;
    const auto start = Clock::now();
    for (std::size_t i = 0; i < paced; ++i) {
        while (Clock::now() < start + 10ms * static_cast<long>(i))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        sent.push_back(Clock::now());
        calls.push_back(generator->PumpDeliveryStart());
    }
    shown.waitFor(paced, 60s);
    const auto latencies = latenciesMs(sent, shown.times());
    std::printf("%-44s %zu events: p50 %.2f ms, p99 %.2f ms, max %.2f ms\n",
                "service + console, 100 events/s, call to box:", paced, percentile(latencies, 50),
                percentile(latencies, 99), percentile(latencies, 100));

    // A burst of calls, a hundred in flight at a time (the bus refuses more than 128 replies
    // awaited by one connection unless its configuration says otherwise).
    constexpr std::size_t burst = 5000;
    constexpr std::size_t inFlight = 100;
    shown.reset(burst);
    calls.clear();
    int failed = 0;
    const auto first = Clock::now();
    for (std::size_t i = 0; i < burst; ++i) {
        if (calls.size() >= inFlight) {
            QDBusPendingCall oldest = calls.front();
            calls.erase(calls.begin());
            while (!oldest.isFinished())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            failed += oldest.isError() ? 1 : 0;
        }
        calls.push_back(generator->PumpDeliveryStart());
    }
    const bool all = shown.waitFor(burst, 60s);
    const double seconds = std::chrono::duration<double>(shown.times().back() - first).count();
    std::printf("%-44s %zu events in %.2f s: %.0f events/s shown%s\n",
                "service + console, burst of calls:", burst, seconds,
                static_cast<double>(shown.times().size()) / seconds,
                all && failed == 0 ? "" : " (NOT ALL SHOWN)");
}

} // namespace

int main(int argc, char **argv)
{
    const bool onlyTheRoad = argc > 1 && std::string(argv[1]) == "--road";
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bustest::PrivateBus bus;
    if (!onlyTheRoad)
        measureTheConsole(bus);
    measureTheWholeRoad(bus);
    return 0;
}
