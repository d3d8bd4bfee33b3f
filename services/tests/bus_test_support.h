#pragma once
// A private bus for tests: a dbus-daemon of its own whose service folder holds the activation
// file that `OrvexServices -RegServer` writes, an install folder (with the bridge's rules file
// unless told otherwise), and child processes that tests start and end.

#include "fakes.h"

#include "support/tests/scoped_temp_folder.h"

#include <gtest/gtest.h>
#include <sdbus-c++/sdbus-c++.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace bustest {

namespace fs = std::filesystem;

using fakes::waitUntil;

// A child process with extra environment; its standard output can be read line by line.
class Child
{
public:
    Child(const std::vector<std::string> &argv, const std::map<std::string, std::string> &env, bool captureOutput)
    {
        std::vector<std::string> envText;
        for (char **e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            if (env.count(entry.substr(0, entry.find('='))) == 0)
                envText.push_back(entry);
        }
        for (const auto &[key, value] : env)
            envText.push_back(key + "=" + value);
        std::vector<char *> args, envp;
        for (const auto &a : argv)
            args.push_back(const_cast<char *>(a.c_str()));
        args.push_back(nullptr);
        for (auto &e : envText)
            envp.push_back(e.data());
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        int pipeFds[2] = {-1, -1};
        if (captureOutput) {
            if (::pipe(pipeFds) != 0)
                throw std::runtime_error("pipe");
            posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
            posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        }
        const int rc = posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (captureOutput) {
            ::close(pipeFds[1]);
            m_out = ::fdopen(pipeFds[0], "r");
        }
        if (rc != 0)
            throw std::runtime_error("cannot start " + argv[0]);
    }
    ~Child()
    {
        stop(SIGKILL);
        if (m_out != nullptr)
            std::fclose(m_out);
    }
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    [[nodiscard]] pid_t pid() const { return m_pid; }
    // The next line of output, without its newline; false at the end of the output, or when no
    // line has come within `timeout` (by default, none).
    bool readLine(std::string &line, std::chrono::milliseconds timeout = std::chrono::milliseconds(-1))
    {
        if (m_out == nullptr)
            return false;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (std::size_t end = m_pending.find('\n'); end == std::string::npos; end = m_pending.find('\n')) {
            int waitMs = -1;
            if (timeout.count() >= 0) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now());
                if (left.count() <= 0)
                    return false;
                waitMs = static_cast<int>(left.count());
            }
            pollfd ready{::fileno(m_out), POLLIN, 0};
            const int polled = ::poll(&ready, 1, waitMs);
            if (polled < 0 && errno == EINTR)
                continue;
            if (polled <= 0)
                return false;
            char buffer[4096];
            const ssize_t got = ::read(::fileno(m_out), buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            m_pending.append(buffer, static_cast<std::size_t>(got));
        }
        const std::size_t end = m_pending.find('\n');
        line = m_pending.substr(0, end);
        m_pending.erase(0, end + 1);
        return true;
    }
    // Sends `signo` and waits for the end; the exit status.
    int stop(int signo = SIGTERM)
    {
        if (m_pid <= 0)
            return m_status;
        ::kill(m_pid, signo);
        return wait();
    }
    int wait()
    {
        if (m_pid > 0 && ::waitpid(m_pid, &m_status, 0) == m_pid)
            m_pid = -1;
        return m_status;
    }

private:
    pid_t m_pid = -1;
    int m_status = 0;
    std::FILE *m_out = nullptr; // read through its descriptor, never through the FILE's buffer
    std::string m_pending;
};

inline std::string readFile(const fs::path &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class PrivateBus
{
public:
    // `portDevice`: what port 1 opens (a unit's pseudo-terminal); by default a path that does
    // not exist, so that no test ever opens a real serial port.
    explicit PrivateBus(bool withRules = true, const std::string &portDevice = {})
    {
        fs::create_directories(installDir());
        if (withRules)
            fs::copy_file(fs::path(ORVEX_SOURCE_DIR) / "data" / "RecorderBridgeConfig.xml",
                          installDir() / "RecorderBridgeConfig.xml");
        std::ofstream(installDir() / "OrvexSettings.ini")
            << "[Settings]\nPortDevice1=" << (portDevice.empty() ? (m_dir / "no-port").string() : portDevice) << "\n";
        Child reg({ORVEX_SERVICES_PROGRAM, "-RegServer"}, env(), false);
        EXPECT_EQ(0, reg.wait());
        fs::path serviceDir;
        for (const auto &entry : fs::recursive_directory_iterator(m_dir / "registration"))
            if (entry.path().filename() == "org.orvex.OrvexServices.service")
                serviceDir = entry.path().parent_path();
        std::ofstream(m_dir / "bus.conf")
            << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
               " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n<busconfig><type>session</type>"
            << "<listen>unix:dir=" << m_dir.string() << "</listen><servicedir>" << serviceDir.string()
            << "</servicedir><policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
               "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
        m_daemon = std::make_unique<Child>(std::vector<std::string>{"/usr/bin/dbus-daemon",
                                                                    "--config-file=" + (m_dir / "bus.conf").string(),
                                                                    "--nofork", "--print-address=1"},
                                           env(), true);
        EXPECT_TRUE(m_daemon->readLine(m_address));
    }
    // The bus goes first; an activated service ends with it, and the folder goes last.
    ~PrivateBus() { m_daemon.reset(); }
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    [[nodiscard]] fs::path installDir() const { return m_dir / "install"; }
    [[nodiscard]] const std::string &address() const { return m_address; }
    [[nodiscard]] std::map<std::string, std::string> env() const
    {
        return {{"ORVEX_INSTALL_DIR", installDir().string()},
                {"ORVEX_REGISTRATION_ROOT", (m_dir / "registration").string()},
                {"ORVEX_BUS", "session"},
                {"DBUS_SESSION_BUS_ADDRESS", m_address}};
    }
    [[nodiscard]] std::unique_ptr<sdbus::IConnection> connect() const
    {
        auto connection = sdbus::createSessionBusConnectionWithAddress(m_address);
        connection->setMethodCallTimeout(std::chrono::seconds(60));
        return connection;
    }
    // The unique name that owns `name`, or empty.
    [[nodiscard]] static std::string ownerOf(sdbus::IConnection &connection, const std::string &name)
    {
        auto bus = sdbus::createProxy(connection, "org.freedesktop.DBus", "/org/freedesktop/DBus");
        std::string owner;
        try {
            bus->callMethod("GetNameOwner").onInterface("org.freedesktop.DBus").withArguments(name).storeResultsTo(owner);
        } catch (const sdbus::Error &) {
            owner.clear(); // no owner
        }
        return owner;
    }
    // The pid of the process that owns `name`, or 0.
    [[nodiscard]] static pid_t pidOf(sdbus::IConnection &connection, const std::string &name)
    {
        auto bus = sdbus::createProxy(connection, "org.freedesktop.DBus", "/org/freedesktop/DBus");
        std::uint32_t pid = 0;
        try {
            bus->callMethod("GetConnectionUnixProcessID").onInterface("org.freedesktop.DBus").withArguments(name)
                .storeResultsTo(pid);
        } catch (const sdbus::Error &) {
            pid = 0; // no owner
        }
        return static_cast<pid_t>(pid);
    }
    [[nodiscard]] std::string serviceTrace() const
    {
        return readFile(installDir() / "OrvexServices_0.txt") + readFile(installDir() / "OrvexServices_1.txt");
    }

private:
    ScopedTempFolder m_folder{"orvex-bus"};
    fs::path m_dir = m_folder.path();
    std::string m_address;
    std::unique_ptr<Child> m_daemon;
};

// A client that calls the root once (a call that starts the service when it is not running) and
// leaves the bus at once; the call's result.
inline std::int32_t callOnceAndLeave(const PrivateBus &bus)
{
    const auto client = bus.connect();
    auto root = sdbus::createProxy(*client, "org.orvex.OrvexServices", "/org/orvex/Orvex");
    std::int32_t hr = E_FAIL;
    sdbus::ObjectPath path;
    root->callMethod("getOrvexComms").onInterface("org.orvex.IOrvex").storeResultsTo(hr, path);
    return hr;
}

// A service that goes away while a client calls it: it owns the service's name and, at the
// first call of a getter of the root, leaves the bus without answering it.
class VanishingService
{
public:
    explicit VanishingService(const PrivateBus &bus) : m_connection(bus.connect())
    {
        m_connection->requestName("org.orvex.OrvexServices");
        m_root = sdbus::createObject(*m_connection, "/org/orvex/Orvex");
        for (const char *getter :
             {"getOrvexConfigData", "getOrvexComms", "getCameraCtrl", "getRecorderBridge", "getDVRTestInterface"})
            m_root->registerMethod(getter).onInterface("org.orvex.IOrvex").implementedAs(
                [this](sdbus::Result<std::int32_t, sdbus::ObjectPath> &&unanswered) {
                    std::lock_guard lock(m_mutex);
                    m_unanswered.push_back(std::move(unanswered));
                    m_called = true;
                    m_change.notify_all();
                });
        m_root->finishRegistration();
        m_connection->enterEventLoopAsync();
        // The loop's own thread cannot end the loop it runs in.
        m_leaver = std::thread([this] {
            std::unique_lock lock(m_mutex);
            m_change.wait(lock, [this] { return m_called || m_closing; });
            lock.unlock();
            m_connection->leaveEventLoop();
            // A message cannot outlive its connection; dropped unanswered, it leaves its caller
            // waiting until the connection closes. Dropped outside the lock, which the loop's
            // handler takes under the connection's own.
            lock.lock();
            auto unanswered = std::move(m_unanswered);
            lock.unlock();
            unanswered.clear();
            m_root.reset();
            m_connection.reset();
            lock.lock();
            m_gone = true;
        });
    }
    ~VanishingService()
    {
        {
            std::lock_guard lock(m_mutex);
            m_closing = true;
            m_change.notify_all();
        }
        m_leaver.join();
    }
    VanishingService(const VanishingService &) = delete;
    VanishingService &operator=(const VanishingService &) = delete;

    // It has been called and has left the bus.
    [[nodiscard]] bool gone()
    {
        std::lock_guard lock(m_mutex);
        return m_gone;
    }

private:
    std::unique_ptr<sdbus::IConnection> m_connection;
    std::unique_ptr<sdbus::IObject> m_root;
    std::mutex m_mutex;
    std::condition_variable m_change;
    std::vector<sdbus::Result<std::int32_t, sdbus::ObjectPath>> m_unanswered;
    bool m_called = false;
    bool m_closing = false;
    bool m_gone = false;
    std::thread m_leaver;
};

// A recorder client that counts the OnStartFuelDelivery signals at the fuelling events' fixed
// path, on a connection of its own with its own event loop.
class FuellingDeliveries
{
public:
    explicit FuellingDeliveries(const PrivateBus &bus) : m_connection(bus.connect())
    {
        m_fuelling = sdbus::createProxy(*m_connection, "org.orvex.OrvexServices",
                                        "/org/orvex/RecorderBridge/Fuelling");
        m_fuelling->uponSignal("OnStartFuelDelivery")
            .onInterface("org.orvex.IFuellingEvents")
            .call([this](const std::string &, std::int16_t, std::int16_t, std::int16_t, const std::string &,
                         std::int16_t) { ++m_count; });
        m_fuelling->finishRegistration();
        m_connection->enterEventLoopAsync();
    }
    ~FuellingDeliveries() { m_connection->leaveEventLoop(); }
    FuellingDeliveries(const FuellingDeliveries &) = delete;
    FuellingDeliveries &operator=(const FuellingDeliveries &) = delete;

    [[nodiscard]] int count() const { return m_count; }

private:
    std::unique_ptr<sdbus::IConnection> m_connection;
    std::unique_ptr<sdbus::IProxy> m_fuelling;
    std::atomic<int> m_count{0};
};

} // namespace bustest
