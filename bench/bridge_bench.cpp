// Point-of-sale parsing throughput and the bridge's event latency.
//
// Parsing: 100,000 receipt lines in a realistic mix (a fifth of them matching no rule) through
// the bridge's line parser with the shipped rules and tracing off, against the same lines run
// through plain regex_search of the same expressions in the same trial order (each line made
// wide first, as the expressions are, and nothing built from a match). Both read each line from
// the same point-of-sale item, as the parser receives it: an item is about a kilobyte, so a
// compact list of strings would spare the baseline the memory traffic of the real input. Latency:
// one recorder event at a time from the service's side of the input sink to the recorder's handler,
// through the parser and output threads; p50 and p99 over the run.
//
// Plate requests: a camera that moves once a second under the shipped 5 s PlateCaptureDelay, for
// 6,000 moves, each plate image request answered by the recorder as soon as it goes out. The
// recognizer runs on a clock the benchmark moves, one second per move once the recognizer has
// caught up with it, so the figures are those of 100 minutes of forecourt without the wait:
// requests still waiting at the end (backlog), the longest wait from a move to its request
// (max_wait_s), and the heap the run left in use (heap_growth_kb).

#include "recorder_bridge/licence_plate_recognizer.h"
#include "recorder_bridge/message_item.h"
#include "recorder_bridge/orvex_interface.h"
#include "recorder_bridge/pos_rules.h"
#include "recorder_bridge/receipt_line_parser.h"
#include "recorder_bridge/rules_loader.h"
#include "recorder_bridge/wide_text.h"
#include "platform/install_folder.h"
#include "platform/profile_file.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <malloc.h>
#include <stdlib.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace recorder_bridge;

namespace {

std::string ShippedRulesPath()
{
    return (fs::path(__FILE__).parent_path().parent_path() / "data" / "RecorderBridgeConfig.xml").string();
}

// A folder holding the shipped rules, for the life of the process.
const std::string &RulesFolder()
{
    static const std::string folder = [] {
        std::string pattern = (fs::temp_directory_path() / "orvex-bridge-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        fs::copy_file(ShippedRulesPath(), fs::path(pattern) / "RecorderBridgeConfig.xml");
        ProfileFile(JoinPath(pattern, kSettingsFileName)).writeInt("RecorderBridge", "TraceLevel", 0);
        return pattern;
    }();
    return folder;
}

const PosRules &ShippedRules()
{
    static const PosRules rules = [] {
        PosRules loaded;
        if (FAILED(LoadPosRules(RulesFolder(), loaded)))
            std::abort();
        return loaded;
    }();
    return rules;
}

// Receipt lines as a till prints them: mostly merchandise and fuel, one begin, subtotal, tax,
// tender and end per receipt, the odd modifier; a fifth are headers, footers and blank lines
// that no rule takes.
std::vector<std::string> ReceiptMix(std::size_t count)
{
    const std::vector<std::pair<std::string, int>> shapes = {
        {"5000112637922 MILK 2L 2 @ 1.20 2.40", 22},
        {"4006381333931 CHOC BAR 1 @ 0.85 0.85", 12},
        {"PUMP 03 UNLEADED 95 25.40L @ 1.459 37.06", 12},
        {"PUMP 7 DIESEL 40.00L @ 1.529 61.16 PREPAY REG:AB12CDE", 4},
        {"TXN START 0042 OP:JSMITH", 4},
        {"SUBTOTAL 39.46", 4},
        {"VAT 20% 6.58", 4},
        {"TENDER CARD 40.00", 4},
        {"CHANGE 0.54", 2},
        {"TXN END 0042 OP:JSMITH", 4},
        {"VOID 5000112637922 MILK 2L", 1},
        {"QTY CHANGE 3", 1},
        {"PRICE CHANGE 1.10", 1},
        {"DISCOUNT LOYALTY -0.50", 2},
        {"TXN CANCEL OP:AKHAN", 1},
        {"NO SALE OP:AKHAN", 1},
        {"THANK YOU FOR SHOPPING AT ORVEX SERVICE STATION", 6},
        {"  ORVEX FORECOURT - HIGH STREET  ", 5},
        {"TOTAL 39.46", 4},
        {"--------------------------------", 3},
        {"", 2},
    };
    std::vector<int> weights;
    for (const auto &shape : shapes)
        weights.push_back(shape.second);
    std::mt19937 random(7);
    std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        lines.push_back(shapes[pick(random)].first);
    return lines;
}

constexpr std::size_t kLines = 100000;

// The mix as point-of-sale items, made once and read by both parsing benchmarks.
const std::vector<std::unique_ptr<MessageItem>> &PosItems()
{
    static const std::vector<std::unique_ptr<MessageItem>> items = [] {
        std::vector<std::unique_ptr<MessageItem>> made;
        made.reserve(kLines);
        for (const std::string &line : ReceiptMix(kLines)) {
            made.push_back(std::make_unique<MessageItem>(ItemType::PosMessage));
            made.back()->Text = line;
            made.back()->PosNumber = 4;
        }
        return made;
    }();
    return items;
}

void BM_BridgeParsesReceiptLines(benchmark::State &state)
{
    const ReceiptLineParser parser(ShippedRules());
    const auto &items = PosItems();
    std::size_t matched = 0;
    for (auto _ : state) {
        matched = 0;
        for (const auto &item : items) {
            auto retail = parser.Parse(*item);
            matched += retail ? 1 : 0;
            benchmark::DoNotOptimize(retail);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kLines));
    state.counters["matched_share"] = static_cast<double>(matched) / kLines;
}
BENCHMARK(BM_BridgeParsesReceiptLines)->Unit(benchmark::kMillisecond);

void BM_RawRegexSearchInTrialOrder(benchmark::State &state)
{
    const PosRules &rules = ShippedRules();
    std::vector<const boost::wregex *> expressions;
    for (RetailKind kind : TrialOrder()) {
        if (rules.of(kind).expression)
            expressions.push_back(&*rules.of(kind).expression);
    }
    const auto &items = PosItems();
    std::size_t matched = 0;
    for (auto _ : state) {
        matched = 0;
        for (const auto &item : items) {
            const std::wstring line = WideFromUtf8(item->Text); // the expressions are wide
            boost::wsmatch match;
            for (const boost::wregex *expression : expressions) {
                if (boost::regex_search(line, match, *expression)) {
                    ++matched;
                    break;
                }
            }
            benchmark::DoNotOptimize(match);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kLines));
    state.counters["matched_share"] = static_cast<double>(matched) / kLines;
}
BENCHMARK(BM_RawRegexSearchInTrialOrder)->Unit(benchmark::kMillisecond);

class TimingSink final : public IFuellingEvents
{
public:
    std::atomic<long long> receivedNs{0};

    HRESULT OnStartFuelDelivery(const std::string &, std::int16_t, std::int16_t, std::int16_t, const std::string &,
                                std::int16_t) override
    {
        receivedNs.store(Clock::now().time_since_epoch().count());
        return S_OK;
    }
    HRESULT OnFinishFuelDelivery(const std::string &, std::int16_t, std::int16_t, std::int16_t, const std::string &,
                                 std::int16_t, Currency, Currency, double, const std::string &, std::int16_t,
                                 std::int16_t) override
    {
        return S_OK;
    }
    HRESULT OnFuellingEvent(const std::string &, std::int16_t, std::int16_t, std::int16_t, const std::string &,
                            std::int16_t) override
    {
        return S_OK;
    }
};

// From the hub's call of OnPumpDeliveryStart to the recorder's OnStartFuelDelivery, one event at
// a time, each fired 0-2 ms after the previous one arrived so the threads are anywhere in their
// idle cycles.
void BM_EventLatencyInputToRecorder(benchmark::State &state)
{
    std::shared_ptr<OrvexInterface> bridge;
    if (FAILED(OrvexInterface::Create(RulesFolder(), &bridge))) {
        state.SkipWithError("bridge not made");
        return;
    }
    auto sink = std::make_shared<TimingSink>();
    std::shared_ptr<IFuelling> fuelling;
    bridge->getFuellingInterface(&fuelling);
    std::uint32_t cookie = 0;
    fuelling->Advise(sink, &cookie);
    const auto input = bridge->InputSink();
    std::mt19937 random(11);
    std::uniform_int_distribution<int> pause(0, 2000);
    std::vector<double> latenciesUs;
    for (auto _ : state) {
        for (int i = 0; i < 2000; ++i) {
            sink->receivedNs.store(0);
            std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
            const long long sent = Clock::now().time_since_epoch().count();
            input->OnPumpDeliveryStart(1, 2);
            while (sink->receivedNs.load() == 0)
                std::this_thread::yield();
            latenciesUs.push_back(static_cast<double>(sink->receivedNs.load() - sent) / 1000.0);
        }
    }
    std::sort(latenciesUs.begin(), latenciesUs.end());
    state.counters["p50_us"] = latenciesUs[latenciesUs.size() / 2];
    state.counters["p99_us"] = latenciesUs[latenciesUs.size() * 99 / 100];
    state.counters["max_us"] = latenciesUs.back();
}
BENCHMARK(BM_EventLatencyInputToRecorder)->Iterations(1)->Unit(benchmark::kMillisecond);

// Notes when each plate image request goes out, by the recognizer's clock.
class RequestTimes final : public ILicencePlateRecognizerEvents
{
public:
    RequestTimes(const PlateClock &clock, std::size_t expected) : m_clock(clock) { m_times.reserve(expected); }

    HRESULT OnRequestImageCapture(std::int16_t) override
    {
        std::lock_guard lock(m_mutex);
        m_times.push_back(m_clock.Now());
        return S_OK;
    }
    HRESULT OnRecognizeRegistrationNumber(const std::string &, std::int16_t, std::int16_t, std::int16_t,
                                          std::int16_t, const std::string &, const std::string &,
                                          const std::string &) override
    {
        return S_OK;
    }
    [[nodiscard]] std::size_t count() const
    {
        std::lock_guard lock(m_mutex);
        return m_times.size();
    }
    [[nodiscard]] std::vector<PlateClock::TimePoint> times() const
    {
        std::lock_guard lock(m_mutex);
        return m_times;
    }

private:
    const PlateClock &m_clock;
    mutable std::mutex m_mutex;
    std::vector<PlateClock::TimePoint> m_times;
};

void BM_PlateRequestsUnderACameraMoveASecond(benchmark::State &state)
{
    constexpr std::size_t kMoves = 6000;
    for (auto _ : state) {
        auto clock = std::make_shared<ManualPlateClock>();
        auto recognizer = std::make_shared<LicencePlateRecognizer>(RulesFolder(), clock);
        if (recognizer->settings().plateCaptureDelayMs != 5000) {
            state.SkipWithError("PlateCaptureDelay is not the shipped 5000 ms");
            return;
        }
        auto requests = std::make_shared<RequestTimes>(*clock, kMoves);
        std::uint32_t cookie = 0;
        recognizer->Advise(requests, &cookie);
        std::vector<PlateClock::TimePoint> moves;
        moves.reserve(kMoves);
        // The run's own records are made; what grows from here is the recognizer's.
        const std::size_t heapBefore = mallinfo2().uordblks;
        std::size_t answered = 0;
        for (std::size_t move = 0; move < kMoves; ++move) {
            moves.push_back(clock->Now());
            auto plate = std::make_unique<MessageItem>(ItemType::PlateImageCapture);
            plate->CameraID = static_cast<std::int16_t>(move % 32 + 1);
            recognizer->Post(std::move(plate));
            clock->Advance(std::chrono::seconds(1));
            // Caught up: every request due by now has gone out, and the recognizer waits for a
            // later one or has none left.
            for (;;) {
                const std::optional<PlateClock::TimePoint> waiting = clock->Waiting();
                if ((waiting && *waiting > clock->Now()) || requests->count() == moves.size())
                    break;
                std::this_thread::yield();
            }
            for (const std::size_t sent = requests->count(); answered < sent; ++answered)
                recognizer->ImageAvailable(0, "plate.jpg");
        }
        const std::size_t heapAfter = mallinfo2().uordblks;
        const std::vector<PlateClock::TimePoint> sent = requests->times();
        double maxWaitS = 0;
        for (std::size_t i = 0; i < sent.size(); ++i)
            maxWaitS = std::max(maxWaitS, std::chrono::duration<double>(sent[i] - moves[i]).count());
        state.counters["requests_sent"] = static_cast<double>(sent.size());
        state.counters["backlog"] = static_cast<double>(kMoves - sent.size());
        state.counters["max_wait_s"] = maxWaitS;
        state.counters["heap_growth_kb"] =
            (static_cast<double>(heapAfter) - static_cast<double>(heapBefore)) / 1024.0;
        recognizer->Shutdown();
    }
}
BENCHMARK(BM_PlateRequestsUnderACameraMoveASecond)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
