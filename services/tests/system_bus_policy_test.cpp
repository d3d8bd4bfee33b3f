// The service on a bus that keeps the system bus's default rules and includes the bus policy the
// package installs: its signals (retail transactions with operator IDs, tenders) reach root and
// the members of its group, and no other user; only its group calls it.
#include "bus_test_support.h"

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <optional>
#include <poll.h>
#include <pwd.h>

namespace {

using bustest::Child;
using bustest::waitUntil;
namespace fs = std::filesystem;

constexpr const char *kService = "org.orvex.OrvexServices";
// The machine that runs the tests has no user or group orvex: user and group daemon, which every
// Debian system has, stand in for them; the policy is otherwise the packaged text.
constexpr const char *kStandIn = "daemon";

struct Credentials
{
    uid_t uid;
    gid_t gid;
    std::vector<gid_t> groups;
};

// `text` with every `from` replaced; how many through `count`.
std::string replaceAll(std::string text, const std::string &from, const std::string &to, int *count)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
        ++*count;
    }
    return text;
}

// The machine's own default rules of the system bus (who may own, call and receive).
std::string systemDefaultPolicy()
{
    const std::string conf = bustest::readFile("/usr/share/dbus-1/system.conf");
    const auto begin = conf.find("<policy context=\"default\">");
    const auto end = conf.find("</policy>", begin);
    if (begin == std::string::npos || end == std::string::npos)
        return {};
    return conf.substr(begin, end + std::string("</policy>").size() - begin);
}

// A process of its own with `who`'s credentials, which runs `body` and ends with its result.
pid_t runAs(const Credentials &who, const std::function<int()> &body)
{
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    if (::setgroups(who.groups.size(), who.groups.data()) != 0 || ::setgid(who.gid) != 0
        || ::setuid(who.uid) != 0)
        ::_exit(100);
    int status = 101;
    try {
        status = body();
    } catch (...) {
        status = 102;
    }
    ::_exit(status);
}

int exitStatus(pid_t child)
{
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A listener in a process of its own: reports "R" once it listens, then "S" for each signal of
// the service's objects and "B" for each barrier signal, in the order they reach it.
class Listener
{
public:
    Listener(const Credentials &who, const std::string &address)
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        m_pid = runAs(who, [&]() -> int {
            ::close(fds[0]);
            const int out = fds[1];
            auto connection = sdbus::createSessionBusConnectionWithAddress(address);
            connection->addMatch(
                "type='signal'",
                [out](sdbus::Message &message) {
                    const std::string path = message.getPath();
                    const char mark = path.starts_with("/org/orvex/") ? 'S'
                                      : path == "/barrier"            ? 'B'
                                                                      : 0;
                    if (mark != 0)
                        (void)!::write(out, &mark, 1);
                },
                sdbus::floating_slot);
            (void)!::write(out, "R", 1);
            connection->enterEventLoop();
            return 0;
        });
        ::close(fds[1]);
        m_in = fds[0];
        ::fcntl(m_in, F_SETFL, O_NONBLOCK);
    }
    ~Listener()
    {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        ::close(m_in);
    }
    Listener(const Listener &) = delete;
    Listener &operator=(const Listener &) = delete;

    // Every mark reported so far.
    const std::string &marks()
    {
        char buffer[256];
        ssize_t n = 0;
        while ((n = ::read(m_in, buffer, sizeof buffer)) > 0)
            m_marks.append(buffer, static_cast<std::size_t>(n));
        return m_marks;
    }

private:
    pid_t m_pid = -1;
    int m_in = -1;
    std::string m_marks;
};

TEST(AServiceOnTheBus, UnderThePackagedSystemPolicySendsItsSignalsOnlyToRootAndItsGroup)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can run clients as other users";
    // getpwnam and getgrnam answer in buffers of their own, which the next call overwrites.
    const auto user = [](const char *name) {
        const passwd *entry = ::getpwnam(name);
        return entry ? std::optional<Credentials>({entry->pw_uid, entry->pw_gid, {entry->pw_gid}})
                     : std::nullopt;
    };
    const std::optional<Credentials> standIn = user(kStandIn);
    const std::optional<Credentials> nobody = user("nobody");
    const group *standInGroup = ::getgrnam(kStandIn);
    const std::string defaults = systemDefaultPolicy();
    if (!standIn || !nobody || standInGroup == nullptr || defaults.empty()
        || !fs::exists("/usr/bin/dbus-daemon"))
        GTEST_SKIP()
            << "no user daemon, user nobody, group daemon, dbus-daemon or system bus defaults";
    const Credentials service = *standIn;
    const Credentials root{0, 0, {}};
    const Credentials member{nobody->uid, nobody->gid, {standInGroup->gr_gid}};
    const Credentials outsider{nobody->uid, nobody->gid, {}};

    ScopedTempFolder folder("orvex-system-bus");
    fs::permissions(folder.path(), fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::add);
    const fs::path install = folder / "install";
    fs::create_directories(install);
    fs::copy_file(fs::path(ORVEX_SOURCE_DIR) / "data/RecorderBridgeConfig.xml",
                  install / "RecorderBridgeConfig.xml");
    std::ofstream(install / "OrvexSettings.ini")
        << "[Settings]\nPortDevice1=" << (folder / "no-port").string();
    for (const fs::path &path :
         {install, install / "RecorderBridgeConfig.xml", install / "OrvexSettings.ini"})
        ASSERT_EQ(0, ::chown(path.c_str(), service.uid, service.gid));

    int standIns = 0;
    const std::string policy = replaceAll(
        bustest::readFile(fs::path(ORVEX_SOURCE_DIR) / "services/org.orvex.OrvexServices.conf"),
        "=\"orvex\"", std::string("=\"") + kStandIn + "\"", &standIns);
    ASSERT_GE(standIns, 2) << "no user and group orvex in the policy";
    std::ofstream(folder / "policy.conf") << policy;
    std::ofstream(folder / "bus.conf")
        << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/"
           "busconfig.dtd\">\n<busconfig><type>system</type>"
        << "<listen>unix:path=" << (folder / "system_bus_socket").string()
        << "</listen><auth>EXTERNAL</auth>" << defaults << "<include>"
        << (folder / "policy.conf").string() << "</include></busconfig>\n";
    Child daemon({"/usr/bin/dbus-daemon", "--config-file=" + (folder / "bus.conf").string(),
                  "--nofork", "--print-address=1"},
                 {}, true);
    std::string address;
    ASSERT_TRUE(daemon.readLine(address));

    // Started as systemd would start it (INVOCATION_ID), as its own user: it stays when its
    // clients have gone.
    Child orvex({"/usr/bin/setpriv", "--reuid=" + std::to_string(service.uid),
                 "--regid=" + std::to_string(service.gid), "--init-groups", "--",
                 ORVEX_SERVICES_PROGRAM},
                {{"ORVEX_BUS", "system"},
                 {"DBUS_SYSTEM_BUS_ADDRESS", address},
                 {"ORVEX_INSTALL_DIR", install.string()},
                 {"INVOCATION_ID", "system-bus-policy-test"}},
                false);
    auto watcher = sdbus::createSessionBusConnectionWithAddress(address);
    ASSERT_TRUE(waitUntil([&] {
        return !bustest::PrivateBus::ownerOf(*watcher, kService).empty();
    })) << "the service never owned its name";

    Listener rootListener(root, address);
    Listener memberListener(member, address);
    Listener outsiderListener(outsider, address);
    ASSERT_TRUE(waitUntil([&] {
        return !rootListener.marks().empty() && !memberListener.marks().empty()
               && !outsiderListener.marks().empty();
    }));

    // 0: the reply came with S_OK; 3: the bus refused the call.
    const auto callAs = [&](const Credentials &who) {
        return exitStatus(runAs(who, [&]() -> int {
            auto connection = sdbus::createSessionBusConnectionWithAddress(address);
            auto generator = sdbus::createProxy(*connection, kService, "/org/orvex/DVRTest");
            std::int32_t hr = E_FAIL;
            try {
                generator->callMethod("PumpDeliveryStart")
                    .onInterface("org.orvex.IDVRTest")
                    .storeResultsTo(hr);
            } catch (const sdbus::Error &error) {
                return error.getName() == "org.freedesktop.DBus.Error.AccessDenied" ? 3 : 4;
            }
            return hr == S_OK ? 0 : 1;
        }));
    };
    EXPECT_EQ(3, callAs(outsider));
    ASSERT_EQ(0, callAs(member));
    EXPECT_TRUE(waitUntil([&] { return rootListener.marks().find('S') != std::string::npos; }))
        << rootListener.marks();
    EXPECT_TRUE(waitUntil([&] { return memberListener.marks().find('S') != std::string::npos; }))
        << memberListener.marks();

    // Whatever the bus let through to the outsider before the barrier has reached it by then:
    // the bus passed the service's signal on before root could see it, and the barrier after.
    auto barrier = sdbus::createObject(*watcher, "/barrier");
    barrier->emitSignal("Barrier").onInterface("org.orvex.Test");
    ASSERT_TRUE(waitUntil([&] { return outsiderListener.marks().find('B') != std::string::npos; }));
    EXPECT_EQ("RB", outsiderListener.marks());
}

} // namespace
