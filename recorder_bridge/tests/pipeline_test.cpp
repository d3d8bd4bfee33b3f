// The bridge end to end: a recorder event in from the service hub, recorder events out.

#include "bridge_test_support.h"
#include "recording_sinks.h"
#include "recorder_bridge/licence_plate_recognizer.h"
#include "recorder_bridge/message_item.h"
#include "recorder_bridge/orvex_interface.h"
#include "platform/com_error.h"
#include "platform/install_folder.h"
#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <future>
#include <tuple>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace recorder_bridge;
using namespace bridge_test;
using services::IDVREvents;

namespace {

Currency Money(std::int64_t scaled) { return Currency{scaled}; }

class APipeline : public testing::Test
{
protected:
    void SetUp() override
    {
        folder.write("RecorderBridgeConfig.xml", ShippedRules());
        EnableFullTrace(folder.path());
        ProfileFile(JoinPath(folder.path(), kSettingsFileName)).writeInt("LPR", "PlateCaptureDelay", plateDelayMs);
        ASSERT_EQ(OrvexInterface::Create(folder.path(), &bridge), S_OK);
        hub = std::make_shared<FakeHub>();
        ASSERT_EQ(bridge->RegisterServices(hub), S_OK);
        ASSERT_EQ(hub->subscribers(), 1u);
        sink = std::make_shared<RecordingSink>(log);
        SubscribeAll(*bridge, sink);
    }

    void TearDown() override { bridge.reset(); }

    // Fires `call` from the hub and returns what the recorder received: the `expected` events
    // and anything else that came before a test message fired once they were in.
    std::vector<std::string> Through(const std::function<void(IDVREvents &)> &call, std::size_t expected)
    {
        log.clear();
        hub->Fire(call);
        EXPECT_TRUE(WaitUntil([&] { return log.size() >= expected; }));
        bridge->FireTestMessage();
        const auto isBarrier = [&](const std::string &line) {
            return line.starts_with("OnStartFuelDelivery(TS,") && line.ends_with(",1,4,Delivery Start,0)");
        };
        EXPECT_TRUE(WaitUntil([&] {
            const auto lines = log.lines();
            return std::any_of(lines.begin(), lines.end(), isBarrier);
        }));
        auto lines = log.lines();
        lines.erase(std::find_if(lines.begin(), lines.end(), isBarrier));
        return lines;
    }

    TempFolder folder;
    long plateDelayMs = 0;
    std::shared_ptr<OrvexInterface> bridge;
    std::shared_ptr<FakeHub> hub;
    EventLog log;
    std::shared_ptr<RecordingSink> sink;
};

struct GoldenRow
{
    const char *name;
    std::function<void(IDVREvents &)> fire;
    std::vector<std::string> out;
};

// Every recorder event in, with the recorder event it becomes. Each row's input item takes
// sequence number 100; an item the bridge makes from it (a retail item, the recognizer's copy)
// takes 101.
const std::vector<GoldenRow> &GoldenTable()
{
    static const std::vector<GoldenRow> rows = {
        {"PosMessageTax", [](IDVREvents &e) { e.OnPosMessage(7, 3, "VAT 20% 6.58"); },
         {"OnTaxLineItem(TS,101,7,VAT 20%,$6.58,3)"}},
        {"PosMessageFuel", [](IDVREvents &e) { e.OnPosMessage(2, 4, "PUMP 3 DIESEL 10.5L @ 1.5 15.75 PREPAY"); },
         {"OnFuelSalesLineItem(TS,101,2,0,DIESEL,3,$15.75,0,-1,$1.5,10.5,,,-1,-1,4)"}},
        {"PosMessageMerchandise", [](IDVREvents &e) { e.OnPosMessage(2, 4, "12345678 COLA 2 @ 1.00 2.00"); },
         {"OnMerchandiseLineItem(TS,101,2,12345678,COLA,Product Sale,$2,0,2,$1,-1,4)"}},
        {"PosMessageUnmatched", [](IDVREvents &e) { e.OnPosMessage(7, 3, "HAVE A NICE DAY"); }, {}},
        {"PumpEvent", [](IDVREvents &e) { e.OnPumpEvent(2, 18, 5); },
         {"OnFuellingEvent(TS,100,2,18,Camera Manual Control,5)"}},
        {"PumpEventNumberTooHigh", [](IDVREvents &e) { e.OnPumpEvent(2, 19, 5); }, {}},
        {"PumpEventNegativeNumber", [](IDVREvents &e) { e.OnPumpEvent(2, -256, 5); },
         {"OnFuellingEvent(TS,100,2,-256,Idle Dispenser,5)"}},
        {"PumpDeliveryStart", [](IDVREvents &e) { e.OnPumpDeliveryStart(9, 4); },
         {"OnStartFuelDelivery(TS,100,9,4,Delivery Start,4)"}},
        {"PumpDeliveryEnd", [](IDVREvents &e) { e.OnPumpDeliveryEnd(3, 2, Money(370600), Money(14590), 25.4, 6); },
         {"OnFinishFuelDelivery(TS,100,3,5,Delivery End,2,$37.06,$1.459,25.4,,0,6)"}},
        {"CardRead", [](IDVREvents &e) { e.OnCardRead(4, 2, "4929****1234"); },
         {"OnCardRead(TS,100,4,2,4929****1234)"}},
        {"PaymentTransactionAuthorized", [](IDVREvents &e) { e.OnPaymentTransactionAuthorized(4, 3, "HX-991"); },
         {"OnPaymentTransactionAuthorized(TS,100,4,3,HX-991)"}},
        {"PaymentTransactionCancelled", [](IDVREvents &e) { e.OnPaymentTransactionCancelled(4); },
         {"OnPaymentTransactionCancelled(TS,100,4)"}},
        {"PrintReceipt", [](IDVREvents &e) { e.OnPrintReceipt(5); }, {"OnPrintReceipt(TS,100,5)"}},
        {"PaymentTerminalEvent", [](IDVREvents &e) { e.OnPaymentTerminalEvent(4, 6); },
         {"OnPaymentTerminalEvent(TS,100,4,6,Card Read)"}},
        {"PaymentTerminalEventNumberTooHigh", [](IDVREvents &e) { e.OnPaymentTerminalEvent(4, 19); }, {}},
        {"CameraVisitFuellingPosition",
         [](IDVREvents &e) { e.OnCameraVisitFuellingPosition(3, 2, "Pump 3", -1, 7, 0, 1.5, 2.5, 3.5, 4.5, 13, -1); },
         {"OnCameraVisitFuellingPosition(TS,100,3,2,Pump 3,-1,7,0,1.5,2.5,3.5,4.5,13,Camera Move to Dispenser,-1)"}},
        {"CameraVisitFuellingPositionNumberTooHigh",
         [](IDVREvents &e) { e.OnCameraVisitFuellingPosition(3, 2, "Pump 3", -1, 7, 0, 0, 0, 0, 0, 25, 0); }, {}},
        {"CameraVisitPaymentTerminal",
         [](IDVREvents &e) { e.OnCameraVisitPaymentTerminal(6, 2, "CRIND 6", -1, 8, -1, 0.1, 0.2, 0.3, 0.4, 14, 0); },
         {"OnCameraVisitPaymentTerminal(TS,100,6,2,CRIND 6,-1,8,-1,0.1,0.2,0.3,0.4,14,"
          "Camera Move to Payment Terminal,0)"}},
        {"CameraLeavePosition", [](IDVREvents &e) { e.OnCameraLeavePosition(2, "Pump 3", -1, 7, 0, 1, 2, 3, 4); },
         {"OnCameraLeavePosition(TS,100,2,Pump 3,-1,7,0,1,2,3,4)"}},
        {"CameraVisitWorkstation",
         [](IDVREvents &e) { e.OnCameraVisitWorkstation("12", 1, "POS 12", -1, 4, 0, 0.5, 0.25, 0.125, 2); },
         {"OnCameraVisitWorkstation(TS,100,12,1,POS 12,-1,4,0,0.5,0.25,0.125,2)"}},
        {"CameraVisit", [](IDVREvents &e) { e.OnCameraVisit(1, "Roam 1", 0, 0, -1, 10, 20, 30, 40, 16, -1); },
         {"OnCameraVisit(TS,100,1,Roam 1,0,0,-1,10,20,30,40,16,Camera Leave Preset,-1)"}},
        {"CameraVisitNumberTooHigh", [](IDVREvents &e) { e.OnCameraVisit(1, "Roam 1", 0, 0, -1, 0, 0, 0, 0, 30, 0); },
         {}},
        {"CameraRoam", [](IDVREvents &e) { e.OnCameraRoam(1, "Pump 3", -1, 5, 0, -1.5, 0, 7); },
         {"OnCameraRoam(TS,100,1,Pump 3,-1,5,0,-1.5,0,7)"}},
        {"CameraLocalizeRegistrationPlate",
         [](IDVREvents &e) { e.OnCameraLocalizeRegistrationPlate(3, 2, "Plate", 0, 0, -1, 11, 12, 13, 14); },
         {"OnCameraLocalizeRegistrationPlate(TS,100,3,2,Plate,0,0,-1,11,12,13,14)", "OnRequestImageCapture(2)"}},
        {"RecognizeRegistrationNumber",
         [](IDVREvents &e) { e.OnRecognizeRegistrationNumber(3, 2, 7, "AB12CDE", "87", "20261208 101010"); },
         {"OnRecognizeRegistrationNumber(TS,101,3,2,7,AB12CDE,87,20261208 101010)"}},
        {"RequestImageCapture", [](IDVREvents &e) { e.OnRequestImageCapture(2); }, {}},
        {"CapturedFuellingPositionImage",
         [](IDVREvents &e) { e.OnCapturedFuellingPositionImage(3, 2, "img-ts", "/img/a.jpg", 25, "src-ts", 77); },
         {"OnCapturedFuellingPositionImage(TS,100,3,2,img-ts,/img/a.jpg,25,src-ts,77)"}},
        {"CapturedPaymentTerminalImage",
         [](IDVREvents &e) { e.OnCapturedPaymentTerminalImage(6, 1, "img-ts", "/img/b.jpg", 9, "src-ts", -3); },
         {"OnCapturedPaymentTerminalImage(TS,100,6,1,img-ts,/img/b.jpg,9,src-ts,-3)"}},
        {"CapturedWorkstationImage",
         [](IDVREvents &e) { e.OnCapturedWorkstationImage("12", 5, "img-ts", "/img/c.jpg", 0, "src-ts", 32767); },
         {"OnCapturedWorkstationImage(TS,100,12,5,img-ts,/img/c.jpg,0,src-ts,32767)"}},
    };
    return rows;
}

TEST_F(APipeline, TurnsEveryRecorderEventIntoItsRecorderEventWithEveryArgument)
{
    for (const GoldenRow &row : GoldenTable()) {
        SCOPED_TRACE(row.name);
        SetNextEventSequenceNumberForTesting(100);
        EXPECT_EQ(Through(row.fire, row.out.size()), row.out);
    }
}

TEST_F(APipeline, TurnsEveryKindOfReceiptLineIntoItsRetailEvent)
{
    const std::vector<std::pair<const char *, const char *>> receipt = {
        {"TXN START 0042 OP:JSMITH", "OnBeginRetailTransaction(TS,101,7,JSMITH,0042,3)"},
        {"PUMP 03 UNLEADED 95 25.40L @ 1.459 37.06", "OnFuelSalesLineItem(TS,101,7,0,UNLEADED 95,3,$37.06,0,-1,$1.459,25.4,,,-1,0,3)"},
        {"5000112637922 MILK 2L 2 @ 1.20 2.40", "OnMerchandiseLineItem(TS,101,7,5000112637922,MILK 2L,Product Sale,$2.4,0,2,$1.2,-1,3)"},
        {"VOID 5000112637922 MILK 2L", "OnVoidModifier(TS,101,7,VOID 5000112637922 MILK 2L,3)"},
        {"QTY CHANGE 3", "OnQuantityModifier(TS,101,7,Quantity,$3,3)"},
        {"PRICE CHANGE 1.10", "OnPriceModifier(TS,101,7,Price,$1.1,3)"},
        {"DISCOUNT LOYALTY -0.50", "OnDiscountLineItem(TS,101,7,LOYALTY,$-0.5,-1,3)"},
        {"SUBTOTAL 39.46", "OnSubTotalLineItem(TS,101,7,SUBTOTAL,$39.46,3)"},
        {"VAT 20% 6.58", "OnTaxLineItem(TS,101,7,VAT 20%,$6.58,3)"},
        {"TENDER CASH 40.00", "OnTenderLineItem(TS,101,7,Tender,$40,0,CASH,3)"},
        {"CHANGE 0.54", "OnTenderChangeLineItem(TS,101,7,Tender Change,$0.54,3)"},
        {"TXN END 0042 OP:JSMITH", "OnEndRetailTransaction(TS,101,7,JSMITH,0042,3)"},
        {"TXN CANCEL OP:AKHAN", "OnCancelRetailTransactionID(TS,101,7,AKHAN,3)"},
        {"NO SALE OP:AKHAN", "OnPOSNoSaleTransaction(TS,101,7,AKHAN,3)"},
    };
    for (const auto &[line, event] : receipt) {
        SCOPED_TRACE(line);
        SetNextEventSequenceNumberForTesting(100);
        EXPECT_EQ(Through([&](IDVREvents &e) { e.OnPosMessage(7, 3, line); }, 1), std::vector<std::string>{event});
    }
}

TEST_F(APipeline, SendsOneTestDeliveryStartThroughTheWholePipeline)
{
    const auto out = Through([](IDVREvents &) {}, 0);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(APipeline, HandsOutTheSameObjectsAndRefusesANullPointer)
{
    std::shared_ptr<IRetail> first, second;
    EXPECT_EQ(bridge->getRetail(&first), S_OK);
    EXPECT_EQ(bridge->getRetail(&second), S_OK);
    EXPECT_EQ(first, second);
    EXPECT_EQ(bridge->getRetail(nullptr), E_POINTER);
    EXPECT_EQ(bridge->getFuellingInterface(nullptr), E_POINTER);
    EXPECT_EQ(bridge->getPaymentTerminal(nullptr), E_POINTER);
    EXPECT_EQ(bridge->getForecourtCamera(nullptr), E_POINTER);
    EXPECT_EQ(bridge->getImageCapture(nullptr), E_POINTER);
    EXPECT_EQ(bridge->getLicencePlateRecognizer(nullptr), E_POINTER);
    std::shared_ptr<IOrvexInterface> asInterface = bridge;
    EXPECT_TRUE(std::dynamic_pointer_cast<IOrvexComponent>(asInterface));
}

TEST_F(APipeline, KeepsDeliveringWhenASubscriberThrows)
{
    EventLog other;
    auto thrower = std::make_shared<RecordingSink>(other, [](const char *) { throw std::runtime_error("sink down"); });
    std::shared_ptr<IFuelling> fuelling;
    bridge->getFuellingInterface(&fuelling);
    std::uint32_t cookie = 0;
    // The thrower comes first, so the recording sink is called after it failed.
    ASSERT_EQ(fuelling->Unadvise(1), S_OK);
    ASSERT_EQ(fuelling->Advise(thrower, &cookie), S_OK);
    ASSERT_EQ(fuelling->Advise(sink, &cookie), S_OK);
    for (int i = 0; i < 3; ++i) {
        SetNextEventSequenceNumberForTesting(100);
        EXPECT_EQ(Through([](IDVREvents &e) { e.OnPumpEvent(1, 2, 3); }, 1),
                  std::vector<std::string>{"OnFuellingEvent(TS,100,1,2,Nozzle lift,3)"});
    }
}

TEST_F(APipeline, ReportsAFailingFuellingSubscriberInTheFuellingTracesWords)
{
    EventLog other;
    auto comFailure = std::make_shared<RecordingSink>(other, [](const char *) { throw ComError(E_FAIL); });
    auto otherFailure = std::make_shared<RecordingSink>(other, [](const char *) { throw 42; });
    std::shared_ptr<IFuelling> fuelling;
    bridge->getFuellingInterface(&fuelling);
    std::uint32_t cookie = 0;
    ASSERT_EQ(fuelling->Advise(comFailure, &cookie), S_OK);
    ASSERT_EQ(fuelling->Advise(otherFailure, &cookie), S_OK);
    SetNextEventSequenceNumberForTesting(100);
    EXPECT_EQ(Through([](IDVREvents &e) { e.OnPumpEvent(1, 2, 3); }, 1),
              std::vector<std::string>{"OnFuellingEvent(TS,100,1,2,Nozzle lift,3)"});
    bridge.reset();
    const auto lines = ReadTraceLines(folder.path());
    EXPECT_TRUE(HasLine(lines, "[ERROR]   _com_error Caught while Firing Fuelling Event: Unspecified error"));
    EXPECT_TRUE(HasLine(lines, "[ERROR]   Error Firing Fuelling Event"));
}

TEST_F(APipeline, LetsASubscriberLeaveFromInsideItsOwnHandler)
{
    std::shared_ptr<IPaymentTerminal> terminal;
    bridge->getPaymentTerminal(&terminal);
    EventLog other;
    std::uint32_t leaverCookie = 0;
    auto leaver = std::make_shared<RecordingSink>(other, [&](const char *) { terminal->Unadvise(leaverCookie); });
    ASSERT_EQ(terminal->Advise(leaver, &leaverCookie), S_OK);
    SetNextEventSequenceNumberForTesting(100);
    EXPECT_EQ(Through([](IDVREvents &e) { e.OnPrintReceipt(1); }, 1),
              std::vector<std::string>{"OnPrintReceipt(TS,100,1)"});
    EXPECT_EQ(other.size(), 1u);
    Through([](IDVREvents &e) { e.OnPrintReceipt(1); }, 1);
    EXPECT_EQ(other.size(), 1u) << "the leaver is gone";
}

TEST_F(APipeline, ContainsAnExpressionThatExceedsTheSearchLimits)
{
    bridge.reset();
    folder.write("RecorderBridgeConfig.xml",
                 "<R ActivePOS=\"T\"><P name=\"T\" TaxInclusive=\"No\">"
                 "<BeginRetailTransaction><Expression>(x+x+)+y</Expression></BeginRetailTransaction>"
                 "<VoidModifier><Expression>^(x+)$</Expression><Description>1</Description></VoidModifier>"
                 "</P></R>");
    ASSERT_EQ(OrvexInterface::Create(folder.path(), &bridge), S_OK);
    bridge->RegisterServices(hub);
    SubscribeAll(*bridge, sink);
    const std::string line(40, 'x');
    for (int i = 0; i < 3; ++i) {
        SetNextEventSequenceNumberForTesting(100);
        EXPECT_EQ(Through([&](IDVREvents &e) { e.OnPosMessage(1, 2, line); }, 1),
                  std::vector<std::string>{"OnVoidModifier(TS,101,1," + line + ",2)"});
    }
}

TEST_F(APipeline, EndsItsSubscriptionAndDeletesQueuedItemsUnfiredOnTeardown)
{
    std::atomic<bool> release{false};
    std::atomic<int> calls{0};
    EventLog slowLog;
    auto slow = std::make_shared<RecordingSink>(slowLog, [&](const char *) {
        ++calls;
        WaitUntil([&] { return release.load(); }, std::chrono::milliseconds(10000));
    });
    std::shared_ptr<IFuelling> fuelling;
    bridge->getFuellingInterface(&fuelling);
    std::uint32_t cookie = 0;
    fuelling->Advise(slow, &cookie);
    for (int i = 0; i < 50; ++i)
        hub->Fire([](IDVREvents &e) { e.OnPumpDeliveryStart(2, 1); });
    ASSERT_TRUE(WaitUntil([&] { return calls.load() == 1; }));

    auto teardown = std::async(std::launch::async, [this] { bridge.reset(); });
    // The input unsubscribes after the output was told to stop.
    ASSERT_TRUE(WaitUntil([&] { return hub->subscribers() == 0; }));
    release = true;
    ASSERT_EQ(teardown.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(calls.load(), 1) << "queued items are deleted, not fired";
    const std::size_t after = log.size();
    hub->Fire([](IDVREvents &e) { e.OnPumpDeliveryStart(2, 1); });
    EXPECT_EQ(log.size(), after);
}

class APipelineWithAPlateWait : public APipeline
{
protected:
    APipelineWithAPlateWait() { plateDelayMs = 60000; }
};

TEST_F(APipelineWithAPlateWait, CutsThePlateWaitShortOnTeardownAndFiresNothingAfter)
{
    std::shared_ptr<ILicencePlateRecognizer> handedOut;
    bridge->getLicencePlateRecognizer(&handedOut);
    auto plates = std::dynamic_pointer_cast<LicencePlateRecognizer>(handedOut);
    hub->Fire([](IDVREvents &e) { e.OnCameraLocalizeRegistrationPlate(3, 2, "Plate", 0, 0, 0, 0, 0, 0, 0); });
    ASSERT_TRUE(WaitUntil([&] { return log.size() == 1; }));
    auto teardown = std::async(std::launch::async, [this] { bridge.reset(); });
    ASSERT_EQ(teardown.wait_for(std::chrono::seconds(10)), std::future_status::ready)
        << "teardown must not wait out the plate capture delay";
    const auto lines = log.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("OnCameraLocalizeRegistrationPlate(")) << lines[0];
    EXPECT_TRUE(plates->OpenRequests().empty());
    EXPECT_EQ(plates->ImageAvailable(2, "late.jpg"), S_OK);
}

TEST(ABridgeConstruction, FailsWithAccessDeniedForAnUnreadableInstallFolderWithoutATrace)
{
    TempFolder folder;
    std::shared_ptr<OrvexInterface> bridge;
    EXPECT_EQ(OrvexInterface::Create(folder.path() + "/missing", &bridge), E_ACCESSDENIED);
    EXPECT_FALSE(bridge);
    EXPECT_TRUE(ReadTraceLines(folder.path() + "/missing").empty());
}

TEST(ABridgeConstruction, FailsWithTheLoadersCodeAndEndsTheTraceWithItsLine)
{
    TempFolder folder;
    EnableFullTrace(folder.path());
    std::shared_ptr<OrvexInterface> bridge;
    EXPECT_EQ(OrvexInterface::Create(folder.path(), &bridge), E_FAIL);
    EXPECT_FALSE(bridge);
    const auto lines = ReadTraceLines(folder.path());
    if (!lines.empty()) {
        EXPECT_TRUE(HasLine(lines, "[ERROR]   Failed Parsing XML File.  Exiting..."));
        EXPECT_TRUE(HasLine(lines, "[INFO]    Recorder Bridge Starting"));
    }
}

// A rules file that is no plain file fails the bridge at once, as a missing one does: a FIFO
// without a writer would hold the service's start for ever, a device would never end.
TEST(ABridgeConstruction, FailsPromptlyForARulesFileThatIsNoPlainFileAndLeavesItAlone)
{
    using Make = std::function<void(const std::string &)>;
    const std::tuple<Make, unsigned, const char *> cases[] = {
        {[](const std::string &p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, S_IFIFO, "it is not a plain file"},
        {[](const std::string &p) { std::filesystem::create_symlink("/dev/zero", p); }, S_IFLNK,
         "it is not a plain file"},
        {[](const std::string &p) { std::filesystem::create_directory(p); }, S_IFDIR, "it is a folder"},
    };
    for (const auto &[make, kind, reason] : cases) {
        SCOPED_TRACE(reason);
        TempFolder folder;
        EnableFullTrace(folder.path());
        const std::string rules = folder.path() + "/RecorderBridgeConfig.xml";
        make(rules);
        auto construction = std::async(std::launch::async, [&] {
            std::shared_ptr<OrvexInterface> bridge;
            return OrvexInterface::Create(folder.path(), &bridge);
        });
        if (construction.wait_for(scaled(std::chrono::seconds(5))) != std::future_status::ready) {
            ADD_FAILURE() << "the bridge waits for its rules file";
            ::close(::open(rules.c_str(), O_WRONLY | O_NONBLOCK)); // a writer lets the reader go
        }
        EXPECT_EQ(construction.get(), E_FAIL);
        struct stat status{};
        ASSERT_EQ(::lstat(rules.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & S_IFMT, kind);
        const auto lines = ReadTraceLines(folder.path());
        if (!lines.empty()) {
            EXPECT_TRUE(HasLineStartingWith(
                lines, "[ERROR]   Error Opening Master Configuration File - Cannot Open " + rules + ": " + reason));
        }
    }
}

TEST(ABridgeInput, TracesARefusedSubscriptionAndStillReturnsOk)
{
    TempFolder folder;
    folder.write("RecorderBridgeConfig.xml", ShippedRules());
    EnableFullTrace(folder.path());
    std::shared_ptr<OrvexInterface> bridge;
    ASSERT_EQ(OrvexInterface::Create(folder.path(), &bridge), S_OK);
    auto hub = std::make_shared<FakeHub>();
    hub->refuse = CONNECT_E_CANNOTCONNECT;
    EXPECT_EQ(bridge->RegisterServices(hub), S_OK);
    bridge.reset();
    const auto lines = ReadTraceLines(folder.path());
    if (!lines.empty()) {
        EXPECT_TRUE(HasLineStartingWith(lines, "[ERROR]   Unable to subscribe to recorder events: 0x80040202"));
    }
}

} // namespace

namespace {

TEST_F(APipeline, TracesEachStageWithItsOwnLines)
{
    SetNextEventSequenceNumberForTesting(100);
    Through([](IDVREvents &e) { e.OnPumpEvent(2, 18, 5); }, 1);
    Through([](IDVREvents &e) { e.OnPumpEvent(2, 19, 5); }, 0);
    SetNextEventSequenceNumberForTesting(200);
    Through([](IDVREvents &e) { e.OnCameraVisitFuellingPosition(3, 2, "Pump 3", -1, 7, 0, 1.5, 0, 0, 0, 13, -1); },
            1);
    Through([](IDVREvents &e) { e.OnCameraVisitFuellingPosition(3, 2, "Pump 3", -1, 7, 0, 0, 0, 0, 0, 25, 0); }, 0);
    SetNextEventSequenceNumberForTesting(300);
    Through([](IDVREvents &e) { e.OnPosMessage(7, 3, "VAT 20% 6.58"); }, 1);
    Through([](IDVREvents &e) { e.OnCameraLocalizeRegistrationPlate(4, 2, "Plate", 0, 0, 0, 0, 0, 0, 0); }, 2);
    Through([](IDVREvents &e) { e.OnPumpDeliveryEnd(3, 2, Money(370600), Money(14590), 25.4, 6); }, 1);
    bridge.reset();
    const auto lines = ReadTraceLines(folder.path());
    const std::vector<std::string> expected = {
        "[INFO]    Recorder Bridge Starting",
        "[INFO]    Active POS is OrvexTill",
        "[INFO]      Found Active POS Configuration",
        "[INFO]    NumberOfLines = ^QTY CHANGE (\\d+(?:\\.\\d+)?)$",
        "[INFO]    MerchandiseReturnFlag = .* RETURN",
        "[INFO]    Services Pointer Registered",
        "[INFO]    Input Pump event: Pump 2, event 18",
        "[INFO]    Parser Handling Item, type 44",
        "[INFO]    Parser Passing item to Output, type 44",
        "[INFO]    Output handling msg of type 44",
        "[INFO]    Output handling Pump Msg",
        "[INFO]    Fuelling handling pump Msg",
        "[ERROR]   Invalid Event ID in OnPumpEvent",
        "[INFO]    Input Cam Visit Fuelling Position: Pump 3, Cam 2, Event 13, Position Pump 3, KnowPreset -1, "
        "Preset 7, Revisiting -1",
        "[INFO]    Event ID is 13 in OnCameraVisitFuellingPosition",
        "[DEBUG]   Pushed item onto Parser Thread.",
        "[INFO]    Output handling Cam visit pump Msg",
        "[ERROR]   Invalid Event ID in OnCameraVisitFuellingPosition",
        "[INFO]    Input POS Message",
        "[INFO]    ** Tax Line Item",
        "[INFO]    Entry 0 is VAT 20%",
        "[INFO]    Entry 1 is 6.58",
        "[INFO]    number of Tokens is 2, size of container is 2",
        "[INFO]    Output handling Cam vist Rego Msg",
        "[DEBUG]   Sleeping for a while before requesting plate image capture",
        "[DEBUG]   Sending Capture for Plate Image",
        "[INFO]    Output thread exited.",
        "[INFO]    CMsgParser thread exited.",
        "[DEBUG]   === Trace File Closed ===",
    };
    for (const std::string &line : expected)
        EXPECT_TRUE(HasLine(lines, line)) << line;
    const std::vector<std::string> starts = {
        "[DEBUG]   Firing Pump Event Event, Timestamp = ",
        "[DEBUG]   Firing Camera Visit Pump Event, Timestamp = ",
        "[DEBUG]   Firing Tax Line Event, Timestamp = ",
    };
    for (const std::string &start : starts)
        EXPECT_TRUE(HasLineStartingWith(lines, start)) << start;
    const auto contains = [&](const std::string &part) {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string &l) { return l.find(part) != std::string::npos; });
    };
    EXPECT_TRUE(contains("Sequence ID =  100, Pump = 2, EventID = 18, EventDescription = Camera Manual Control, "
                         "Camera ID = 5"));
    // Lines are cut at 254 bytes, so only the openings of the long ones are compared.
    EXPECT_TRUE(contains("Sequence ID =  200, Pump = 3, Camera = 2, Position = Pump 3, KnowPreset = -1, "
                         "PresetID = 7, KnowAbsoluteCoords = 0, Pan = 1.500000, Tilt = 0.000000, Zoom = 0.000000, "
                         "Focus = 0.000"));
    EXPECT_TRUE(contains("POS = 7, Description = VAT 20%, TaxAmount = 6.58, Camera ID = 3"));
    EXPECT_TRUE(contains("Pump = 4, Camera = 2, Position = Plate, KnowPreset = 0, PresetID = 0, KnowAbsoluteCoords = 0, "
                         "Pan = 0.000000, Tilt = 0.000000, Zoom = 0.000000, Focus = 0.0000"));
    EXPECT_TRUE(contains("EventID = 5, EventDescription = Delivery End, NozzleID = 2, TotalPrice = 37.06, "
                         "UnitPrice = 1.459, Volume = 25.400000, GradeName = , PaymentMode = 0,"));
    EXPECT_FALSE(contains("Input Cam Visit Fuelling Position: Pump 3, Cam 2, Event 25"));
    if (HasFailure()) {
        for (const auto &line : lines)
            std::printf("%s\n", line.c_str());
    }
}

} // namespace
