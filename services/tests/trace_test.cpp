// The hub's trace lines, as an engineer reads them in the service's trace file.

#include "fakes.h"
#include "services/orvex_comms.h"

#include "platform/install_folder.h"
#include "platform/profile_file.h"
#include "support/trace_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace {

std::string readAll(const std::filesystem::path &file)
{
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(AHubTrace, WritesTheHeartbeatAndCommandLines)
{
    const auto folder = std::filesystem::temp_directory_path() / ("orvex-hub-trace-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    ProfileFile(JoinPath(folder.string(), kSettingsFileName)).writeInt("HubTrace", "TraceLevel", 3);
    support::OpenTrace(folder.c_str(), folder.c_str(), "HubTrace");
    {
        ServiceLoop loop;
        auto transport = std::make_shared<fakes::RecordingTransport>();
        transport->adviseResult = CONNECT_E_CANNOTCONNECT;
        services::OrvexComms hub(loop, transport);
        hub.AttachConfigData(nullptr);
        hub.AdviseTransportEvents();
        hub.SetSerialPort(2);
        hub.HeartbeatTimerProc(1000);
        hub.HeartbeatTimerProc(2000); // probe
        hub.HeartbeatTimerProc(4001); // offline
        hub.HeartbeatTimerProc(6000); // probe
        hub.OnTransportHeartBeat("V1");
        hub.ClearOrvexMemory();
        hub.HeartbeatTimerProc(38001); // online
    }
    support::FlushTrace();
    support::CloseTrace();
    const std::string text = readAll(folder / "HubTrace_0.txt") + readAll(folder / "HubTrace_1.txt");
    for (const char *line : {"Error Registering for events with Transport component: ",
                             "Setting Serial Port to 2, and starting Heartbeat Timer", "Fired OrvexOffline",
                             "Setting delay time to 32000", "Fired OrvexOnline"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

} // namespace
