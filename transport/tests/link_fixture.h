#pragma once
// Shared pieces of the link tests: a waitUntil helper, a sink that records what a link posts,
// and a fixture that points serial port 1 at a simulated unit's pseudo-terminal through a
// settings file in a temporary install folder.

#include "support/tests/scoped_temp_folder.h"
#include "support/tests/time_scale.h"
#include "support/tests/wait_until.h"
#include "transport/inbound_sink.h"
#include "transport/queued_message.h"
#include "transport/transport_link.h"
#include "tools/unit-sim/unit_link.h"

#include "platform/install_folder.h"
#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace linktest {

using ::waitUntil;

using namespace std::chrono_literals;

struct Received
{
    std::uint8_t type;
    std::vector<std::uint8_t> payload;
    std::string errorText;
};

class RecordingSink final : public transport::InboundSink
{
public:
    bool Post(std::unique_ptr<support::QueueItem> &item) override
    {
        auto *message = dynamic_cast<transport::QueuedMessage *>(item.get());
        if (!message)
            return false;
        std::lock_guard lock(m_mutex);
        m_received.push_back({message->type(), {message->bytes().begin(), message->bytes().end()},
                              message->isLinkError() ? message->errorText() : std::string()});
        if (message->isLinkError())
            m_errorPayloadSizes.push_back(message->bytes().size());
        item.reset();
        return true;
    }

    std::vector<Received> received() const
    {
        std::lock_guard lock(m_mutex);
        return m_received;
    }
    std::vector<Received> frames() const { return filter(false); }
    std::vector<Received> errors() const { return filter(true); }
    std::size_t count() const
    {
        std::lock_guard lock(m_mutex);
        return m_received.size();
    }
    std::size_t errorCount() const
    {
        std::lock_guard lock(m_mutex);
        return m_errorPayloadSizes.size();
    }
    std::vector<std::size_t> errorPayloadSizes() const
    {
        std::lock_guard lock(m_mutex);
        return m_errorPayloadSizes;
    }

private:
    std::vector<Received> filter(bool errors) const
    {
        std::vector<Received> out;
        for (auto &r : received()) {
            if ((r.type == transport::QueuedMessage::kLinkError) == errors)
                out.push_back(r);
        }
        return out;
    }

    mutable std::mutex m_mutex;
    std::vector<Received> m_received;
    std::vector<std::size_t> m_errorPayloadSizes;
};

// A temporary install folder whose settings name the device of port 1.
class InstallFolderFixture : public ::testing::Test
{
protected:
    void SetUp() override { ::setenv("ORVEX_INSTALL_DIR", m_folder.c_str(), 1); }
    void TearDown() override { ::unsetenv("ORVEX_INSTALL_DIR"); }
    void pointPortAt(int port, const std::string &device)
    {
        ProfileFile(JoinPath(m_folder.string(), kSettingsFileName))
            .writeString("Settings", "PortDevice" + std::to_string(port), device);
    }

    ScopedTempFolder m_temp{"orvex-link"};
    std::filesystem::path m_folder = m_temp.path();
};

// Short time-outs keep the link tests quick; the protocol's decisions do not depend on their
// size. They are stretched for slow builds, so that the unit answers before the link writes a
// frame again, unless a test withholds the answer.
inline transport::LinkTiming fastLink()
{
    return {scaled(20ms), scaled(40ms)};
}
inline unitsim::UnitTiming fastUnit()
{
    unitsim::UnitTiming timing;
    timing.retransmitAfter = scaled(60ms);
    timing.frameSilence = scaled(30ms);
    return timing;
}
// For tests of what travels over a working line rather than of the link's retries: each side
// keeps writing a frame long enough (about 20 s) to outlast any stall of the other's thread on a
// busy machine, so that no frame is given up unless a test withholds its answer on purpose.
inline transport::LinkTiming patientLink()
{
    return {scaled(20ms), scaled(5s)};
}
inline unitsim::UnitTiming patientUnit()
{
    unitsim::UnitTiming timing = fastUnit();
    timing.maxWrites = static_cast<int>(scaled(20s) / timing.retransmitAfter);
    return timing;
}

// A link on port 1 talking to a simulated unit.
class LinkFixture : public InstallFolderFixture
{
protected:
    void startUnit(unitsim::UnitTiming timing = fastUnit())
    {
        m_unit = std::make_unique<unitsim::UnitLink>(timing);
        m_unit->SetHandler([this](const unitsim::Message &m) {
            std::lock_guard lock(m_unitMutex);
            m_unitReceived.push_back(m);
            return std::vector<unitsim::Message>{};
        });
        m_unit->Start();
        pointPortAt(1, m_unit->slavePath());
    }
    void startLink(transport::LinkTiming timing = fastLink())
    {
        m_link = std::make_unique<transport::TransportLink>(1, m_sink, timing);
    }
    void TearDown() override
    {
        m_link.reset();
        m_unit.reset();
        InstallFolderFixture::TearDown();
    }

    std::vector<unitsim::Message> unitReceived()
    {
        std::lock_guard lock(m_unitMutex);
        return m_unitReceived;
    }
    std::size_t unitLogCount(unitsim::LogKind kind, const std::string &noteStart = {})
    {
        std::size_t n = 0;
        for (auto &e : m_unit->log())
            n += e.kind == kind && e.note.rfind(noteStart, 0) == 0;
        return n;
    }
    void send(std::uint8_t type, std::vector<std::uint8_t> payload = {})
    {
        ASSERT_TRUE(m_link->Send(type, payload));
    }

    RecordingSink m_sink;
    std::unique_ptr<unitsim::UnitLink> m_unit;
    std::unique_ptr<transport::TransportLink> m_link;
    std::mutex m_unitMutex;
    std::vector<unitsim::Message> m_unitReceived;
};

} // namespace linktest
