#include "services/registration.h"
#include "services/service_switch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <sys/wait.h>

namespace services {
namespace {

struct SwitchCase
{
    const char *legend;
    const char *line;
    ServiceSwitch expected;
};

class AServiceSwitch : public ::testing::TestWithParam<SwitchCase>
{
};

TEST_P(AServiceSwitch, CountsOnlyWhenItEndsTheLine)
{
    EXPECT_EQ(ParseServiceSwitch(GetParam().line), GetParam().expected) << GetParam().legend;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, AServiceSwitch,
    ::testing::Values(SwitchCase{"dash", "-RegServer", ServiceSwitch::RegServer},
                      SwitchCase{"slash, other case", "/regserver", ServiceSwitch::RegServer},
                      SwitchCase{"service", "-Service", ServiceSwitch::Service},
                      SwitchCase{"unregister", "/UNREGSERVER", ServiceSwitch::UnregServer},
                      SwitchCase{"text after the switch", "-RegServer now", ServiceSwitch::None},
                      SwitchCase{"switch after other words", "-x -Service", ServiceSwitch::Service},
                      SwitchCase{"dash inside a word first", "a-b /RegServer", ServiceSwitch::RegServer},
                      SwitchCase{"no switch", "RegServer", ServiceSwitch::None},
                      SwitchCase{"empty", "", ServiceSwitch::None},
                      SwitchCase{"prefix only", "-Reg", ServiceSwitch::None}));

TEST(ACommandLine, JoinsTheArgumentsAfterTheProgramName)
{
    const char *argv[] = {"/usr/bin/OrvexServices", "-RegServer", "now"};
    EXPECT_EQ(JoinCommandLine(3, argv), "-RegServer now");
    EXPECT_EQ(ParseServiceSwitch(JoinCommandLine(2, argv)), ServiceSwitch::RegServer);
}

std::string readFile(const std::filesystem::path &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class ARegistration : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_root = std::filesystem::temp_directory_path()
                 / ("orvex-reg-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
                    + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_root);
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }

    std::filesystem::path m_root;
};

// The session bus (the demo and the tests) keeps its files as they were: the service runs as
// the session's user, with no confinement.
TEST_F(ARegistration, AsAServiceWritesTheUnitAndNamesItInTheActivationFile)
{
    const auto layout = LayoutFor(BusKind::Session, m_root);
    ASSERT_EQ(RegisterServer(layout, true, "/opt/orvex/bin/OrvexServices", "/opt/orvex"), S_OK);
    EXPECT_EQ(readFile(layout.activationFile), "[D-BUS Service]\n"
                                               "Name=org.orvex.OrvexServices\n"
                                               "Exec=/opt/orvex/bin/OrvexServices\n"
                                               "SystemdService=OrvexServices.service\n");
    EXPECT_EQ(readFile(layout.systemdUnit), "[Unit]\n"
                                            "Description=Orvex Kernel\n"
                                            "\n"
                                            "[Service]\n"
                                            "Type=dbus\n"
                                            "BusName=org.orvex.OrvexServices\n"
                                            "ExecStart=/opt/orvex/bin/OrvexServices\n"
                                            "TimeoutStopSec=90\n"
                                            "Environment=ORVEX_BUS=session\n"
                                            "\n"
                                            "[Install]\n"
                                            "WantedBy=default.target\n");
    EXPECT_TRUE(IsInstalled(layout));
}

// The package ships the system bus's registration where Debian keeps a package's files, made by
// this same code in its staging tree: the program lies inside that tree and the files must name
// it as the installed system sees it. A program outside the root keeps its own path.
TEST_F(ARegistration, WritesTheAdministratorsOrThePackagesFoldersNamingTheProgramAsTheRootSeesIt)
{
    struct Row
    {
        const char *legend;
        BusKind bus;
        RegistrationFolders folders;
        const char *activation, *unit, *policy; // under the root; policy nullptr: none
    };
    const std::string service = "org.orvex.OrvexServices.service";
    for (const Row &row : {
             Row{"system, administrator", BusKind::System, RegistrationFolders::Local,
                 "usr/local/share/dbus-1/system-services/", "etc/systemd/system/", "etc/dbus-1/system.d/"},
             Row{"system, package", BusKind::System, RegistrationFolders::Package,
                 "usr/share/dbus-1/system-services/", "lib/systemd/system/", "usr/share/dbus-1/system.d/"},
             Row{"session, administrator", BusKind::Session, RegistrationFolders::Local,
                 "usr/local/share/dbus-1/services/", "etc/systemd/user/", nullptr},
             Row{"session, package", BusKind::Session, RegistrationFolders::Package,
                 "usr/share/dbus-1/services/", "usr/lib/systemd/user/", nullptr},
         }) {
        SCOPED_TRACE(row.legend);
        std::filesystem::remove_all(m_root);
        const auto layout = LayoutFor(row.bus, m_root, row.folders);
        EXPECT_EQ(layout.activationFile, m_root / row.activation / service);
        EXPECT_EQ(layout.systemdUnit, m_root / row.unit / "OrvexServices.service");
        EXPECT_EQ(layout.busPolicy,
                  row.policy ? m_root / row.policy / "org.orvex.OrvexServices.conf" : std::filesystem::path());
        ASSERT_EQ(RegisterServer(layout, true, (m_root / "usr/bin/../bin/OrvexServices").string(), "/var/lib/orvex"),
                  S_OK);
        EXPECT_NE(readFile(layout.systemdUnit).find("\nExecStart=/usr/bin/OrvexServices\n"), std::string::npos);
        EXPECT_NE(readFile(layout.activationFile).find("\nExec=/usr/bin/OrvexServices\n"), std::string::npos);
        ASSERT_EQ(RegisterServer(layout, true, "/opt/orvex/OrvexServices", "/var/lib/orvex"), S_OK);
        EXPECT_NE(readFile(layout.activationFile).find("\nExec=/opt/orvex/OrvexServices\n"), std::string::npos);
        // The program itself, as the package build runs it: the environment chooses the folders.
        const std::string command = "ORVEX_REGISTRATION_ROOT='" + m_root.string() + "' ORVEX_BUS="
                                    + (row.bus == BusKind::System ? "system" : "session")
                                    + (row.folders == RegistrationFolders::Package
                                           ? " ORVEX_REGISTRATION_FOLDERS=package" : "")
                                    + " '" + ORVEX_SERVICES_PROGRAM + "' -Service";
        std::filesystem::remove_all(m_root);
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        EXPECT_NE(readFile(layout.systemdUnit).find(std::string("\nExecStart=") + ORVEX_SERVICES_PROGRAM + "\n"),
                  std::string::npos);
        EXPECT_TRUE(std::filesystem::exists(layout.activationFile));
        EXPECT_EQ(std::filesystem::exists(layout.busPolicy), row.policy != nullptr);
    }
}

TEST_F(ARegistration, AsAPlainServerRemovesAnEarlierServiceUnit)
{
    const auto layout = LayoutFor(BusKind::Session, m_root);
    ASSERT_EQ(RegisterServer(layout, true, "/a/OrvexServices", "/a"), S_OK);
    ASSERT_EQ(RegisterServer(layout, false, "/b/OrvexServices", "/b"), S_OK);
    EXPECT_FALSE(IsInstalled(layout));
    const std::string activation = readFile(layout.activationFile);
    EXPECT_EQ(activation.find("SystemdService"), std::string::npos);
    EXPECT_NE(activation.find("Exec=/b/OrvexServices"), std::string::npos);
}

TEST_F(ARegistration, UnregisteringRemovesEverythingAndIsQuietWhenNothingIsThere)
{
    const auto layout = LayoutFor(BusKind::System, m_root);
    EXPECT_EQ(UnregisterServer(layout), S_OK);
    ASSERT_EQ(RegisterServer(layout, true, "/a/OrvexServices", "/a"), S_OK);
    EXPECT_EQ(UnregisterServer(layout), S_OK);
    EXPECT_FALSE(std::filesystem::exists(layout.activationFile));
    EXPECT_FALSE(std::filesystem::exists(layout.systemdUnit));
    EXPECT_FALSE(std::filesystem::exists(layout.busPolicy));
}

TEST_F(ARegistration, ReportsAFolderItCannotWriteTo)
{
    std::filesystem::create_directories(m_root);
    std::ofstream(m_root / "usr") << "a file where a folder should be";
    const auto layout = LayoutFor(BusKind::Session, m_root);
    EXPECT_TRUE(FAILED(RegisterServer(layout, false, "/a/OrvexServices", "/a")));
}

// Run as the program is run: each step that cannot write its file says so on stderr, with the
// file and the system's reason, the other steps are still tried, and the exit is a failure.
TEST_F(ARegistration, SaysEachFailingStepWithItsFileAndReasonAndExitsWithAFailure)
{
    std::filesystem::create_directories(m_root);
    const std::filesystem::path blocked = m_root / "not-a-folder";
    std::ofstream(blocked) << "a file where a folder should be";
    struct Row
    {
        const char *bus;
        const char *option;
        std::vector<std::string> lines;
    };
    const std::string system = (blocked / "etc/systemd/system/OrvexServices.service").string();
    const std::string user = (blocked / "etc/systemd/user/OrvexServices.service").string();
    const std::string policy
        = (blocked / "etc/dbus-1/system.d/org.orvex.OrvexServices.conf").string();
    const std::string systemActivation
        = (blocked / "usr/local/share/dbus-1/system-services/org.orvex.OrvexServices.service")
              .string();
    const std::string sessionActivation
        = (blocked / "usr/local/share/dbus-1/services/org.orvex.OrvexServices.service").string();
    const std::string reason = ": Not a directory";
    for (const Row &row :
         {Row{"system",
              "-Service",
              {"Couldn't create service: " + system, "Couldn't write the bus policy: " + policy,
               "Couldn't register the server: " + systemActivation}},
          Row{"session", "-RegServer", {"Couldn't register the server: " + sessionActivation}},
          Row{"session",
              "-UnregServer",
              {"Couldn't unregister the server: " + sessionActivation,
               "Service could not be deleted: " + user}}}) {
        SCOPED_TRACE(std::string(row.bus) + " " + row.option);
        const std::string command = "ORVEX_REGISTRATION_ROOT='" + blocked.string()
                                    + "' ORVEX_BUS=" + row.bus + " '" + ORVEX_SERVICES_PROGRAM
                                    + "' " + row.option + " 2>&1 >/dev/null";
        std::string output;
        int status = -1;
        if (FILE *pipe = ::popen(command.c_str(), "r")) {
            char buffer[4096];
            while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
                output.append(buffer, n);
            status = ::pclose(pipe);
        }
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_NE(WEXITSTATUS(status), 0);
        std::string expected;
        for (const std::string &line : row.lines)
            expected += "OrvexServices: " + line + reason + "\n";
        EXPECT_EQ(output, expected);
    }
}

// On the system bus the service parses files and serial input from outside: it runs as its own
// user, owns its name only as that user, and may write its install folder only.
TEST_F(ARegistration, OnTheSystemBusConfinesTheServiceToItsUserAndItsInstallFolder)
{
    const auto layout = LayoutFor(BusKind::System, m_root);
    ASSERT_EQ(RegisterServer(layout, true, "/opt/orvex 2/OrvexServices", "/srv/orvex 100%"), S_OK);
    const std::string unit = readFile(layout.systemdUnit);
    for (const char *line :
         {"ExecStart=\"/opt/orvex 2/OrvexServices\"", "Environment=ORVEX_BUS=system", "User=orvex",
          "NoNewPrivileges=yes", "ProtectSystem=strict", "ReadWritePaths=\"/srv/orvex 100%%\"",
          "PrivateTmp=yes", "DevicePolicy=closed", "DeviceAllow=char-ttyS rw",
          "WantedBy=multi-user.target"})
        EXPECT_NE(unit.find(std::string("\n") + line + "\n"), std::string::npos) << line;
    EXPECT_NE(readFile(layout.activationFile).find("\nUser=orvex\n"), std::string::npos);
    const std::string policy = readFile(layout.busPolicy);
    EXPECT_NE(policy.find("<policy user=\"orvex\">\n    <allow own=\"org.orvex.OrvexServices\"/>"),
              std::string::npos);
    EXPECT_NE(
        policy.find(
            "<policy group=\"orvex\">\n    <allow send_destination=\"org.orvex.OrvexServices\"/>"),
        std::string::npos);
    // Only the service's user owns the name (root only hears it); the rules themselves are tried
    // on a bus of their own, with the packaged file, which is what registration writes.
    EXPECT_EQ(policy.find("<allow own="), policy.rfind("<allow own="));
    EXPECT_EQ(policy, readFile(std::filesystem::path(ORVEX_SOURCE_DIR)
                               / "services/org.orvex.OrvexServices.conf"));
}

// systemd's own rating of the unit's confinement, from 0 (safe) to 10 (unsafe); the service
// unconfined as root rated 9.6.
TEST_F(ARegistration, OnTheSystemBusWritesAUnitOfExposureThreeOrLess)
{
    if (std::system("command -v systemd-analyze >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "systemd-analyze is not installed";
    const auto layout = LayoutFor(BusKind::System, m_root);
    ASSERT_EQ(RegisterServer(layout, true, "/usr/bin/OrvexServices", "/var/lib/orvex"), S_OK);
    const std::string command
        = "systemd-analyze security --offline=yes '" + layout.systemdUnit.string() + "' 2>&1";
    std::string output;
    if (FILE *pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            output.append(buffer, n);
        ::pclose(pipe);
    }
    const std::string label = "Overall exposure level for OrvexServices.service: ";
    const auto at = output.find(label);
    ASSERT_NE(at, std::string::npos) << output;
    const double exposure = std::strtod(output.c_str() + at + label.size(), nullptr);
    EXPECT_LE(exposure, 3.0) << output;
}

} // namespace
} // namespace services
