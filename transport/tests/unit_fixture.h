#pragma once
// A transport object on serial port 1, which a temporary install folder's settings point at a
// simulated unit's pseudo-terminal; the unit keeps tables and answers requests. Short link
// time-outs keep the tests quick: the protocol's decisions do not depend on their size.

#include "recording_notifier.h"
#include "recording_sink.h"

#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_tables.h"
#include "transport/orvex_transport.h"

#include "platform/install_folder.h"
#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

class AUnitOnTheLine : public testing::Test
{
protected:
    void SetUp() override
    {
        static int counter = 0;
        m_folder = std::filesystem::temp_directory_path()
                   / ("orvex-transport-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(m_folder);
        ::setenv("ORVEX_INSTALL_DIR", m_folder.c_str(), 1);

        unitsim::UnitTiming timing;
        timing.retransmitAfter = std::chrono::milliseconds(60);
        timing.frameSilence = std::chrono::milliseconds(30);
        unit = std::make_unique<unitsim::UnitLink>(timing);
        unit->SetHandler(tables.handler());
        unit->Start();
        ProfileFile(JoinPath(m_folder.string(), kSettingsFileName)).writeString("Settings", "PortDevice1", unit->slavePath());

        transport = std::make_unique<transport::OrvexTransport>(
            transport::LinkTiming{std::chrono::milliseconds(20), std::chrono::milliseconds(40)});
        std::uint32_t cookie = 0;
        ASSERT_EQ(transport->Advise(sink, &cookie), S_OK);
    }

    void TearDown() override
    {
        transport.reset();
        unit.reset();
        ::unsetenv("ORVEX_INSTALL_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    void connect() { ASSERT_EQ(transport->setSerialPort(1), S_OK); }

    // Sends one Default message built by `build`.
    template <typename Build>
    void sendDefault(Build build)
    {
        std::shared_ptr<transport::IDefault> msg;
        ASSERT_EQ(transport->getDefault(&msg), S_OK);
        build(*msg);
        ASSERT_EQ(transport->setDefault(msg), S_OK);
    }

    RecordingNotifier notices;
    unitsim::UnitTables tables;
    std::unique_ptr<unitsim::UnitLink> unit;
    std::unique_ptr<transport::OrvexTransport> transport;
    std::shared_ptr<RecordingSink> sink = std::make_shared<RecordingSink>();

private:
    std::filesystem::path m_folder;
};
