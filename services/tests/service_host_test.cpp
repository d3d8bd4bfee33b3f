#include "services/registration.h"
#include "services/service_switch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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

TEST_F(ARegistration, AsAServiceWritesTheUnitAndNamesItInTheActivationFile)
{
    const auto layout = LayoutFor(BusKind::Session, m_root);
    ASSERT_EQ(RegisterServer(layout, true, "/opt/orvex/bin/OrvexServices"), S_OK);
    const std::string activation = readFile(layout.activationFile);
    EXPECT_NE(activation.find("Name=org.orvex.OrvexServices"), std::string::npos);
    EXPECT_NE(activation.find("Exec=/opt/orvex/bin/OrvexServices"), std::string::npos);
    EXPECT_NE(activation.find("SystemdService=OrvexServices.service"), std::string::npos);
    const std::string unit = readFile(layout.systemdUnit);
    EXPECT_NE(unit.find("Description=Orvex Kernel"), std::string::npos);
    EXPECT_NE(unit.find("Type=dbus"), std::string::npos);
    EXPECT_TRUE(IsInstalled(layout));
}

TEST_F(ARegistration, AsAPlainServerRemovesAnEarlierServiceUnit)
{
    const auto layout = LayoutFor(BusKind::Session, m_root);
    ASSERT_EQ(RegisterServer(layout, true, "/a/OrvexServices"), S_OK);
    ASSERT_EQ(RegisterServer(layout, false, "/b/OrvexServices"), S_OK);
    EXPECT_FALSE(IsInstalled(layout));
    const std::string activation = readFile(layout.activationFile);
    EXPECT_EQ(activation.find("SystemdService"), std::string::npos);
    EXPECT_NE(activation.find("Exec=/b/OrvexServices"), std::string::npos);
}

TEST_F(ARegistration, UnregisteringRemovesEverythingAndIsQuietWhenNothingIsThere)
{
    const auto layout = LayoutFor(BusKind::System, m_root);
    EXPECT_EQ(UnregisterServer(layout), S_OK);
    ASSERT_EQ(RegisterServer(layout, true, "/a/OrvexServices"), S_OK);
    const std::string policy = readFile(layout.busPolicy);
    EXPECT_NE(policy.find("group=\"orvex\""), std::string::npos);
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
    EXPECT_TRUE(FAILED(RegisterServer(layout, false, "/a/OrvexServices")));
}

} // namespace
} // namespace services
