#pragma once
// A transport object on serial port 1, which a temporary install folder's settings point at a
// simulated unit's pseudo-terminal; the unit keeps tables and answers requests. Both ends are
// patient (linktest::patientLink): these tests are about what travels, and a stalled thread on a
// busy machine must not make either end give a frame up.

#include "recording_notifier.h"
#include "recording_sink.h"

#include "tools/unit-sim/camera_responder.h"
#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_tables.h"
#include "transport/orvex_transport.h"

#include "link_fixture.h"

#include <gtest/gtest.h>

#include <memory>

class AUnitOnTheLine : public linktest::InstallFolderFixture
{
protected:
    void SetUp() override
    {
        InstallFolderFixture::SetUp();
        unit = std::make_unique<unitsim::UnitLink>(linktest::patientUnit());
        tables.setPassThroughHandler([this](const unitsim::Message &m) { return cameras.Handle(m); });
        unit->SetHandler(tables.handler());
        unit->Start();
        pointPortAt(1, unit->slavePath());

        transport = std::make_unique<transport::OrvexTransport>(
            linktest::patientLink(), [](std::chrono::milliseconds) {});
        std::uint32_t cookie = 0;
        ASSERT_EQ(transport->Advise(sink, &cookie), S_OK);
    }

    void TearDown() override
    {
        transport.reset();
        unit.reset();
        InstallFolderFixture::TearDown();
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
    unitsim::CameraResponder cameras;
    std::unique_ptr<unitsim::UnitLink> unit;
    std::unique_ptr<transport::OrvexTransport> transport;
    std::shared_ptr<RecordingSink> sink = std::make_shared<RecordingSink>();
};
