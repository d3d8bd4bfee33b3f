// A large site downloaded to the simulated unit and read back from it over a pseudo-terminal,
// with the real waits of both directions: 48 dispensers with presets for 13 events, 10 cameras
// of 64 presets, 3 points of sale, 7 devices.
//
// SendBehindCameraCommands: the same site sent right after a client has queued N camera position
// commands (each a frame the unit acknowledges, about 100 ms apart on the line). Counters: when
// the unit took the clear (clear_after_s, from the first camera command), how long after it the
// unit took the first table (clear_to_first_table_s, the wait the unit gets to clear its memory)
// and when the send's last step ran (send_s).
//
// Counters per direction: bytes on the line (frames of both sides with their escapes and the
// one-byte acknowledgements), the time those bytes need at the line's own limit (4800 baud,
// 480 bytes/s), the time the transfer took over the pseudo-terminal after the last wait (the
// link's one-frame-at-a-time pacing), and the total with the waits. A pseudo-terminal does not
// pace bytes, so the line-limited total is modelled: each group's bytes start when the group is
// sent (after its wait) or when the line is free, whichever is later.

#include "services/orvex_config_data.h"
#include "services/tests/reply_queue.h"
#include "services/tests/site_test_support.h"
#include "tools/unit-sim/unit_link.h"
#include "tools/unit-sim/unit_tables.h"
#include "transport/frame_codec.h"
#include "transport/orvex_transport.h"

#include "platform/install_folder.h"
#include "platform/profile_file.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using services::OrvexConfigData;

constexpr double kLineBytesPerSecond = 480.0;

// Bytes on the line, counted per exchange group (the group of the PC message that caused them).
class LineCounter
{
public:
    void setGroupOf(std::function<int(std::uint8_t type)> groupOf) { m_groupOf = std::move(groupOf); }

    // Wraps the unit's table handler: counts the PC's frame and the unit's reply frames.
    unitsim::MessageHandler wrap(unitsim::MessageHandler inner)
    {
        return [this, inner](const unitsim::Message &received) {
            auto replies = inner(received);
            std::lock_guard lock(m_mutex);
            const int group = m_groupOf(received.type);
            m_lastGroup = group;
            m_bytes[group] += transport::encodedFrameSize(0, received.type, received.payload);
            for (const auto &reply : replies)
                m_bytes[group] += transport::encodedFrameSize(0, reply.type, reply.payload);
            return replies;
        };
    }

    // Acknowledgements, escaped sequence bytes and rewrites, which the handler does not see.
    void note(const unitsim::LogEntry &entry)
    {
        std::lock_guard lock(m_mutex);
        std::size_t &bytes = m_bytes[m_lastGroup];
        switch (entry.kind) {
        case unitsim::LogKind::FrameReceived:
        case unitsim::LogKind::FrameSent:
            bytes += transport::isControlByte(entry.sequence) ? 1 : 0;
            bytes += entry.kind == unitsim::LogKind::FrameReceived ? 1 : 0; // the unit's ACK
            break;
        case unitsim::LogKind::FrameAcked:
            bytes += 1;
            break;
        case unitsim::LogKind::FrameRewritten:
        case unitsim::LogKind::FrameDuplicate:
            bytes += entry.length + 7;
            break;
        default:
            break;
        }
    }

    std::map<int, std::size_t> take()
    {
        std::lock_guard lock(m_mutex);
        auto bytes = std::move(m_bytes);
        m_bytes.clear();
        return bytes;
    }

private:
    std::mutex m_mutex;
    std::function<int(std::uint8_t)> m_groupOf = [](std::uint8_t) { return 0; };
    std::map<int, std::size_t> m_bytes;
    int m_lastGroup = 0;
};

void buildLargeSite(OrvexConfigData &site)
{
    std::shared_ptr<services::IDeviceData> devices;
    std::shared_ptr<services::IDispenserData> dispensers;
    std::shared_ptr<services::IEventData> events;
    std::shared_ptr<services::ICameraData> cameras;
    std::shared_ptr<services::IPOSData> points;
    site.RetrieveDevice(&devices);
    site.RetrieveDispenser(&dispensers);
    site.RetrieveEvent(&events);
    site.RetrieveCamera(&cameras);
    site.RetrievePOS(&points);
    std::int16_t i = 0;
    for (std::int16_t port = 1; port <= 7; ++port) {
        devices->Append(&i);
        devices->SetDeviceType(i, port == 1 ? 7 : port);
        devices->SetInport(i, port);
        devices->SetOutport(i, static_cast<std::int16_t>(port + 10));
        devices->SetInterface(i, 1);
    }
    for (std::int16_t camera = 1; camera <= 10; ++camera) {
        std::int16_t c = 0;
        cameras->NewCamera(camera, &c);
        cameras->SetCameraType(c, 40);
        for (std::int16_t preset = 1; preset <= 64; ++preset)
            cameras->NewPreset(c, preset, &i);
    }
    for (std::int16_t event = 1; event <= 13; ++event) {
        events->NewEvent(event, &i);
        events->SetPriority(i, static_cast<std::int16_t>(event % 5 + 1));
    }
    for (std::int16_t logical = 1; logical <= 48; ++logical) {
        std::int16_t d = 0;
        dispensers->NewDispenser(logical, &d);
        dispensers->SetDispenserLoop(d, static_cast<std::int16_t>(logical / 16 + 1));
        dispensers->SetDispenserAddress(d, static_cast<std::int16_t>(logical % 16 + 1));
        for (std::int16_t event = 1; event <= 13; ++event) {
            std::shared_ptr<services::ICameraPresetData> entry;
            dispensers->NewPreset(d, event, &i);
            dispensers->RetrieveCameraPreset(d, i, &entry);
            entry->SetCameraNumber(static_cast<std::int16_t>(logical % 10 + 1));
            entry->SetPresetNumber(static_cast<std::int16_t>((logical + event) % 64 + 1));
        }
    }
    for (std::int16_t pos = 1; pos <= 3; ++pos) {
        points->NewPOS(pos, &i);
        points->SetCamera(i, pos);
        points->SetMovableFlag(i, -1);
        points->SetPreset(i, static_cast<std::int16_t>(pos + 1));
        points->SetPriority(i, 1);
    }
    for (std::int16_t p = 1; p <= 5; ++p) {
        site.SetDwellTime(p, static_cast<std::int16_t>(p * 5));
        site.SetIntervisitTime(p, static_cast<std::int16_t>(p * 30));
    }
}

// When the last byte would leave a line of 480 bytes/s, groups starting at their own times.
double lineLimitedTotal(const std::map<int, std::size_t> &bytes, const std::map<int, double> &groupStart)
{
    double lineFree = 0.0;
    for (const auto &[group, count] : bytes)
        lineFree = std::max(lineFree, groupStart.at(group)) + static_cast<double>(count) / kLineBytesPerSecond;
    return lineFree;
}

std::size_t total(const std::map<int, std::size_t> &bytes)
{
    std::size_t sum = 0;
    for (const auto &[group, count] : bytes)
        sum += count;
    return sum;
}

bool waitUntil(const std::function<bool()> &done, std::chrono::seconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (!done()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

void LargeSiteExchange(benchmark::State &state)
{
    services::testing::TemporaryInstallFolder folder;
    unitsim::UnitTables unitTables;
    unitsim::UnitLink unit;
    LineCounter line;
    unit.SetHandler(line.wrap(unitTables.handler()));
    unit.SetLogObserver([&](const unitsim::LogEntry &entry) { line.note(entry); });
    unit.Start();
    ProfileFile(JoinPath(InstallFolder(), kSettingsFileName)).writeString("Settings", "PortDevice1", unit.slavePath());
    auto link = std::make_shared<transport::OrvexTransport>();
    auto replies = std::make_shared<services::testing::ReplyQueue>();
    std::uint32_t cookie = 0;
    link->Advise(replies, &cookie);
    link->setSerialPort(1);
    auto emptyStore = [] { return std::make_shared<services::testing::EmptyStore>(); };

    for (auto _ : state) {
        OrvexConfigData sent{link, {}, emptyStore};
        OrvexConfigData received{link, {}, emptyStore};
        for (OrvexConfigData *site : {&sent, &received}) {
            site->InitializeStorage();
            site->markLoadedFromUnit();
        }
        buildLargeSite(sent);

        // Download: the clear, then everything else after the 10 s wait.
        line.setGroupOf([](std::uint8_t type) { return type == 'x' ? 0 : 1; });
        line.take();
        const auto downloadStart = Clock::now();
        sent.SendCurrentSite();
        const auto downloadReturned = Clock::now();
        if (!waitUntil([&] { return unitTables.tables('C').size() == 48 && unit.idle(); }, 120s)) {
            state.SkipWithError("the unit did not receive the whole site");
            return;
        }
        const auto downloadDone = Clock::now();
        const auto downloadBytes = line.take();

        // Upload: three groups, 3 s apart.
        line.setGroupOf([](std::uint8_t type) { return type == 'c' ? 1 : (type == 'e' || type == 't') ? 2 : 0; });
        const auto uploadStart = Clock::now();
        received.RequestSiteFromUnit();
        const auto uploadReturned = Clock::now();
        // Configuration, 3 points of sale, 48 maps, 48 preset tables, events, 7 tasks.
        if (!waitUntil([&] { return replies->size() == 108; }, 120s)) {
            state.SkipWithError("the unit's replies did not all arrive");
            return;
        }
        const auto uploadDone = Clock::now();
        const auto uploadBytes = line.take();
        replies->applyTo(received);

        auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
        state.SetIterationTime(seconds(downloadDone - downloadStart) + seconds(uploadDone - uploadStart));
        state.counters["down_bytes"] = static_cast<double>(total(downloadBytes));
        state.counters["down_line_s"] = static_cast<double>(total(downloadBytes)) / kLineBytesPerSecond;
        state.counters["down_pty_after_wait_s"] = seconds(downloadDone - downloadReturned);
        state.counters["down_total_pty_s"] = seconds(downloadDone - downloadStart);
        state.counters["down_total_line_s"] = lineLimitedTotal(downloadBytes, {{0, 0.0}, {1, 10.0}});
        state.counters["up_bytes"] = static_cast<double>(total(uploadBytes));
        state.counters["up_line_s"] = static_cast<double>(total(uploadBytes)) / kLineBytesPerSecond;
        state.counters["up_pty_after_wait_s"] = seconds(uploadDone - uploadReturned);
        state.counters["up_total_pty_s"] = seconds(uploadDone - uploadStart);
        state.counters["up_total_line_s"] = lineLimitedTotal(uploadBytes, {{0, 0.0}, {1, 3.0}, {2, 6.0}});
        std::int16_t dispensers = 0;
        std::shared_ptr<services::IDispenserData> table;
        received.RetrieveDispenser(&table);
        table->CountDispensers(&dispensers);
        state.counters["up_dispensers"] = dispensers;
    }
}
BENCHMARK(LargeSiteExchange)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void SendBehindCameraCommands(benchmark::State &state)
{
    services::testing::TemporaryInstallFolder folder;
    unitsim::UnitTables unitTables;
    unitsim::UnitLink unit;
    unit.SetHandler(unitTables.handler());
    unit.Start();
    ProfileFile(JoinPath(InstallFolder(), kSettingsFileName)).writeString("Settings", "PortDevice1", unit.slavePath());
    auto link = std::make_shared<transport::OrvexTransport>();
    link->setSerialPort(1);
    std::string selected;
    link->SelectCamera(1, 'P', &selected);
    const auto emptyStore = [] { return std::make_shared<services::testing::EmptyStore>(); };
    const auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };

    for (auto _ : state) {
        OrvexConfigData sent{link, {}, emptyStore};
        sent.InitializeStorage();
        sent.markLoadedFromUnit();
        buildLargeSite(sent);
        const std::size_t presetTables = unitTables.tables('C').size() + 48;

        const auto started = Clock::now();
        for (std::int64_t i = 0; i < state.range(0); ++i)
            link->GoToPTZCoords(10.0f, 20.0f, 1.0f);
        sent.SendCurrentSite();
        const auto sendEnded = Clock::now();
        if (!waitUntil([&] { return unitTables.tables('C').size() == presetTables && unit.idle(); }, 600s)) {
            state.SkipWithError("the unit did not receive the whole site");
            return;
        }
        const auto receipts = unitsim::lastReceiptThenNext(unit.log(), 'x', "TGEPMC");
        if (!receipts || !receipts->next) {
            state.SkipWithError("the unit's log holds no clear followed by a table");
            return;
        }
        state.counters["cameras_before"] = static_cast<double>(state.range(0));
        state.counters["clear_after_s"] = seconds(receipts->first - started);
        state.counters["clear_to_first_table_s"] = seconds(*receipts->next - receipts->first);
        state.counters["send_s"] = seconds(sendEnded - started);
    }
}
BENCHMARK(SendBehindCameraCommands)->Arg(300)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
