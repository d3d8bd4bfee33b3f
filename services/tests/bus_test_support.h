#pragma once
// A private bus for tests: a dbus-daemon of its own whose service folder holds the activation
// file that `OrvexServices -RegServer` writes, an install folder (with the bridge's rules file
// unless told otherwise), and child processes that tests start and end.

#include "fakes.h"

#include "support/tests/scoped_temp_folder.h"

#include <gtest/gtest.h>
#include <sdbus-c++/sdbus-c++.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
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
    // The next line of output, without its newline; false at the end of the output.
    bool readLine(std::string &line)
    {
        char buffer[4096];
        if (m_out == nullptr || std::fgets(buffer, sizeof buffer, m_out) == nullptr)
            return false;
        line = buffer;
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
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
    std::FILE *m_out = nullptr;
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
