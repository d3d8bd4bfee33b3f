#include "platform/install_folder.h"
#include "support/tests/scoped_temp_folder.h"
#include "support/tests/scoped_variable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <string>

namespace {

struct BusCase
{
    const char *legend;
    const char *orvexBus;     // nullptr: unset
    const char *startedBy;    // the bus that started the program (DBUS_STARTER_BUS_TYPE), or nullptr
    const char *installation; // the installation file's text, nullptr: no file
    BusKind expected;
};

void PrintTo(const BusCase &row, std::ostream *out)
{
    *out << row.legend;
}

class AServiceBusChoice : public ::testing::TestWithParam<BusCase>
{
};

// A service started by the system bus's launch helper gets no ORVEX_BUS, only the bus's own
// variables: it must answer on the system bus. A program started plainly on an installed system
// must look where the package registered the service. Tests, the demo and the build tree name no
// bus and have no installation: they stay on the session bus.
TEST_P(AServiceBusChoice, FollowsOrvexBusElseTheStartingBusElseTheInstallation)
{
    const BusCase &row = GetParam();
    ScopedTempFolder folder("orvex-bus");
    const std::string file = (folder / "orvex.conf").string();
    if (row.installation)
        std::ofstream(file) << row.installation;
    ScopedVariable orvexBus("ORVEX_BUS", row.orvexBus);
    EXPECT_EQ(ServiceBusKind(row.startedBy, file), row.expected);
}

constexpr const char *kInstalled = "[OrvexConfig]\nPath=/var/lib/orvex\nBus=system\n";

INSTANTIATE_TEST_SUITE_P(
    Environments, AServiceBusChoice,
    ::testing::Values(
        BusCase{"nothing named", nullptr, nullptr, nullptr, BusKind::Session},
        BusCase{"ORVEX_BUS system", "system", nullptr, nullptr, BusKind::System},
        BusCase{"ORVEX_BUS over the starting bus", "session", "system", nullptr, BusKind::Session},
        BusCase{"started by the system bus", nullptr, "system", nullptr, BusKind::System},
        BusCase{"empty ORVEX_BUS", "", "system", nullptr, BusKind::System},
        BusCase{"started by a session bus", nullptr, "session", kInstalled, BusKind::Session},
        BusCase{"installed on the system bus", nullptr, nullptr, kInstalled, BusKind::System},
        BusCase{"ORVEX_BUS over the installation", "session", nullptr, kInstalled, BusKind::Session},
        BusCase{"installation without Bus", nullptr, nullptr, "[OrvexConfig]\nPath=/srv\n", BusKind::Session},
        BusCase{"installation names the session bus", nullptr, nullptr, "[orvexconfig]\nbus = session\n",
                BusKind::Session},
        BusCase{"names spelt in another case", nullptr, nullptr, "[orvexconfig]\nBUS = system\n", BusKind::System},
        BusCase{"Bus in another section", nullptr, nullptr, "[Other]\nBus=system\n", BusKind::Session},
        BusCase{"installation file not readable", nullptr, nullptr, "[OrvexConfig]\x01\nBus=system\n",
                BusKind::Session}));

} // namespace
