// The root's start order: each step that can fail, the code every later creator gets, the
// trace line that is on disk when construction returns, and the settings it reads.
#include "bridge_fixture.h"
#include "fakes.h"

#include "interfaces/recorder_bridge/orvex_component.h"
#include "platform/profile_file.h"
#include "services/camera_ctrl.h"
#include "services/dvr_test.h"
#include "services/orvex.h"
#include "services/orvex_comms.h"
#include "services/orvex_config_data.h"
#include "support/tests/scoped_temp_folder.h"
#include "support/tests/unreadable_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using namespace services;
namespace fs = std::filesystem;

// The bridge as the root sees it: answers for IOrvexComponent and keeps what it was handed.
class FakeBridge final : public recorder_bridge::IOrvexInterface, public recorder_bridge::IOrvexComponent
{
public:
    std::shared_ptr<IDVREventSource> registered;
    HRESULT getFuellingInterface(std::shared_ptr<recorder_bridge::IFuelling> *) override { return S_OK; }
    HRESULT getPaymentTerminal(std::shared_ptr<recorder_bridge::IPaymentTerminal> *) override { return S_OK; }
    HRESULT getForecourtCamera(std::shared_ptr<recorder_bridge::IForecourtCamera> *) override { return S_OK; }
    HRESULT getRetail(std::shared_ptr<recorder_bridge::IRetail> *) override { return S_OK; }
    HRESULT FireTestMessage() override { return S_OK; }
    HRESULT getLicencePlateRecognizer(std::shared_ptr<recorder_bridge::ILicencePlateRecognizer> *) override
    {
        return S_OK;
    }
    HRESULT getImageCapture(std::shared_ptr<recorder_bridge::IImageCapture> *) override { return S_OK; }
    HRESULT RegisterServices(std::shared_ptr<IDVREventSource> ptr) override
    {
        registered = std::move(ptr);
        return S_OK;
    }
};

// A transport that does not steer cameras.
class PlainTransport final : public transport::IOrvexTransport
{
public:
    HRESULT getConfigData(std::shared_ptr<transport::IConfigData> *) override { return S_OK; }
    HRESULT setConfigData(const std::shared_ptr<transport::IConfigData> &) override { return S_OK; }
    HRESULT getEvents(std::shared_ptr<transport::IEvents> *) override { return S_OK; }
    HRESULT setEvents(const std::shared_ptr<transport::IEvents> &) override { return S_OK; }
    HRESULT getCameraPresets(std::shared_ptr<transport::ICameraPresets> *) override { return S_OK; }
    HRESULT setCameraPresets(const std::shared_ptr<transport::ICameraPresets> &) override { return S_OK; }
    HRESULT getDefault(std::shared_ptr<transport::IDefault> *) override { return S_OK; }
    HRESULT setDefault(const std::shared_ptr<transport::IDefault> &) override { return S_OK; }
    HRESULT setSerialPort(std::int16_t) override { return S_OK; }
    HRESULT Advise(std::shared_ptr<transport::IOrvexTransportEvents>, std::uint32_t *cookie) override
    {
        *cookie = 1;
        return S_OK;
    }
    HRESULT Unadvise(std::uint32_t) override { return S_OK; }
};

std::string joined(const fakes::CallLog &log)
{
    std::string text;
    for (const std::string &line : log.lines())
        text += line + "\n";
    return text;
}

enum class Step { None, Transport, ConfigData, Comms, Bridge, CameraCtrl, CameraControl, DVRTest };

class ARoot : public ::testing::Test
{
protected:
    void SetUp() override { m_loop.Start(); }
    void TearDown() override
    {
        m_loop.Quit();
        m_loop.Join();
    }

    OrvexFactories factoriesFailingAt(Step step)
    {
        OrvexFactories f;
        f.transport = [this, step]() -> std::shared_ptr<transport::IOrvexTransport> {
            if (step == Step::Transport)
                return nullptr;
            if (step == Step::CameraControl)
                return std::make_shared<PlainTransport>();
            return transport;
        };
        f.configData = [step](ServiceLoop &, std::shared_ptr<transport::IOrvexTransport> t) {
            return step == Step::ConfigData ? nullptr : std::make_shared<OrvexConfigData>(std::move(t));
        };
        f.comms = [step](ServiceLoop &loop, std::shared_ptr<transport::IOrvexTransport> t) {
            return step == Step::Comms ? nullptr : std::make_shared<OrvexComms>(loop, std::move(t));
        };
        f.bridge = [this, step]() -> std::shared_ptr<recorder_bridge::IOrvexInterface> {
            return step == Step::Bridge ? nullptr : bridge;
        };
        f.cameraCtrl = [step](std::shared_ptr<transport::ICameraControl> c, std::shared_ptr<OrvexComms> hub) {
            return step == Step::CameraCtrl ? nullptr : std::make_shared<CameraCtrl>(std::move(c), std::move(hub));
        };
        f.dvrTest = [step](std::shared_ptr<OrvexComms> hub) {
            return step == Step::DVRTest ? nullptr : std::make_shared<DVRTest>(std::move(hub));
        };
        return f;
    }

    // Construction and release on the service thread, as the host does them.
    HRESULT construct(Orvex &root)
    {
        HRESULT result = E_UNEXPECTED;
        EXPECT_EQ(S_OK, m_loop.Invoke([&] {
            result = root.FinalConstruct();
            return S_OK;
        }));
        return result;
    }
    void release(std::unique_ptr<Orvex> &root)
    {
        (void)m_loop.Invoke([&] {
            root.reset();
            return S_OK;
        });
    }

    std::string traceText() const
    {
        std::string text;
        for (const char *name : {"OrvexServices_0.txt", "OrvexServices_1.txt"}) {
            std::ifstream in(m_folder / name);
            std::stringstream buffer;
            buffer << in.rdbuf();
            text += buffer.str();
        }
        return text;
    }

    ScopedTempFolder m_temp{"orvex-root"};
    fs::path m_folder = m_temp.path();
    ServiceLoop m_loop;
    std::shared_ptr<fakes::RecordingTransport> transport = std::make_shared<fakes::RecordingTransport>();
    std::shared_ptr<FakeBridge> bridge = std::make_shared<FakeBridge>();
};

struct FailureCase
{
    Step step;
    HRESULT code;
    const char *traceLine;
};

class ARootFailingAtOneStep : public ARoot, public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(ARootFailingAtOneStep, ReturnsTheStepsCodeWithItsTraceLineOnDisk)
{
    const FailureCase &c = GetParam();
    auto root = std::make_unique<Orvex>(m_loop, factoriesFailingAt(c.step), m_folder.string());
    EXPECT_EQ(c.code, construct(*root));
    // Flushed before the failure is returned: no close is needed to see it.
    EXPECT_NE(std::string::npos, traceText().find(c.traceLine)) << traceText();
    release(root);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, ARootFailingAtOneStep,
    ::testing::Values(
        FailureCase{Step::ConfigData, E_FAIL, "[ERROR]   Error Creating OrvexConfigData Object: Pointer is Null"},
        FailureCase{Step::Comms, E_FAIL, "[ERROR]   Error Creating OrvexComms Object: Pointer is Null"},
        FailureCase{Step::Transport, E_POINTER, "[ERROR]   Error Setting Serial Port: "},
        FailureCase{Step::Bridge, E_POINTER, "[ERROR]   Error Registering Services Pointer with Recorder Bridge: "},
        FailureCase{Step::CameraCtrl, E_FAIL, "[ERROR]   Error Creating CameraCtrl Object: Pointer is Null"},
        FailureCase{Step::CameraControl, E_NOINTERFACE,
                    "[ERROR]   Error Querying ICameraControl interface from Transport: "},
        FailureCase{Step::DVRTest, E_FAIL, "[ERROR]   Error Creating DVRTest Object: Pointer is Null"}));

TEST_F(ARoot, BuildsEveryObjectAndRegistersTheHubWithTheBridge)
{
    auto root = std::make_unique<Orvex>(m_loop, factoriesFailingAt(Step::None), m_folder.string());
    ASSERT_EQ(S_OK, construct(*root));

    EXPECT_NE(nullptr, bridge->registered);
    std::shared_ptr<IOrvexComms> comms;
    std::shared_ptr<IOrvexComms> again;
    EXPECT_EQ(S_OK, root->getOrvexComms(&comms));
    EXPECT_EQ(S_OK, root->getOrvexComms(&again));
    EXPECT_EQ(comms, again);
    std::shared_ptr<recorder_bridge::IOrvexInterface> held;
    EXPECT_EQ(S_OK, root->getRecorderBridge(&held));
    EXPECT_EQ(bridge, held);
    EXPECT_EQ(E_POINTER, root->getCameraCtrl(nullptr));
    release(root);
}

TEST_F(ARoot, ReadsPortAndCameraTypeWithoutWritingThemBack)
{
    ProfileFile settings((m_folder / "OrvexSettings.ini").string());
    ASSERT_TRUE(settings.writeInt("Settings", "ComPort", 3));
    ASSERT_TRUE(settings.writeInt("Settings", "CameraType", 17));
    auto root = std::make_unique<Orvex>(m_loop, factoriesFailingAt(Step::None), m_folder.string());
    ASSERT_EQ(S_OK, construct(*root));
    const std::string calls = joined(transport->log);
    EXPECT_NE(std::string::npos, calls.find("setSerialPort(3)")) << calls;
    EXPECT_NE(std::string::npos, calls.find("SelectCamera(1,17)")) << calls;
    release(root);

    fs::remove(m_folder / "OrvexSettings.ini");
    root = std::make_unique<Orvex>(m_loop, factoriesFailingAt(Step::None), m_folder.string());
    ASSERT_EQ(S_OK, construct(*root));
    EXPECT_EQ("", ProfileFile((m_folder / "OrvexSettings.ini").string()).readString("Settings", "ComPort", ""));
    EXPECT_EQ("", ProfileFile((m_folder / "OrvexSettings.ini").string()).readString("Settings", "CameraType", ""));
    release(root);
}

// The whole start with the real recorder bridge, whose trace and plate settings also read the
// file at start and write them back.
class ARootOverAnUnreadableSettingsFile : public ARoot,
                                          public ::testing::WithParamInterface<unreadable::Row>
{
protected:
    fakes::InstallFolderWithRules m_install{"orvex-root-settings"};
    fs::path m_settings = m_install.path() / "OrvexSettings.ini";

    std::size_t linesSayingSoIn(const std::string &traceName) const
    {
        std::size_t count = 0;
        for (const char *parity : {"_0.txt", "_1.txt"}) {
            std::ifstream in(m_install.path() / (traceName + parity));
            for (std::string line; std::getline(in, line);)
                count += line.find("[ERROR]   Settings file " + m_settings.string()
                                   + " cannot be read (")
                         != std::string::npos;
        }
        return count;
    }
};

TEST_P(ARootOverAnUnreadableSettingsFile, StartsWithTheDefaultsAndLeavesTheFileAsItWas)
{
    GetParam().make(m_settings);
    const std::string before = unreadable::Snapshot(m_settings);
    OrvexFactories factories = factoriesFailingAt(Step::None);
    factories.bridge = OrvexFactories::Defaults().bridge;
    auto root = std::make_unique<Orvex>(m_loop, factories, m_install.path().string());
    ASSERT_EQ(S_OK, construct(*root));
    const std::string calls = joined(transport->log);
    EXPECT_NE(std::string::npos, calls.find("setSerialPort(1)")) << calls;
    EXPECT_NE(std::string::npos, calls.find("SelectCamera(1,80)")) << calls;
    release(root);
    EXPECT_EQ(unreadable::Snapshot(m_settings), before);
    EXPECT_EQ(1u, linesSayingSoIn("OrvexServices"));
    EXPECT_EQ(1u, linesSayingSoIn("RecorderBridge"));
}

INSTANTIATE_TEST_SUITE_P(Kinds, ARootOverAnUnreadableSettingsFile,
                         ::testing::ValuesIn(unreadable::Rows()),
                         [](const auto &info) { return std::string(info.param.legend); });

// A number the 16-bit setting cannot hold is as good as absent: cut to 16 bits, 99999999999
// would open port -6145.
TEST_F(ARoot, TakesTheDefaultForAPortOrCameraTypeOutside16BitsAndTracesIt)
{
    struct Row
    {
        const char *key;
        const char *value;
        const char *expectedCall;
        bool traced;
    };
    for (const Row &row :
         {Row{"ComPort", "99999999999", "setSerialPort(1)", true},
          Row{"ComPort", "32768", "setSerialPort(1)", true},
          Row{"ComPort", "-32769", "setSerialPort(1)", true},
          Row{"ComPort", "-32768", "setSerialPort(-32768)", false},
          Row{"CameraType", "70000", "SelectCamera(1,80)", true},
          Row{"CameraType", "-99999999999999999999999", "SelectCamera(1,80)", true},
          Row{"CameraType", "32767", "SelectCamera(1,32767)", false}}) {
        SCOPED_TRACE(std::string(row.key) + "=" + row.value);
        ASSERT_TRUE(ProfileFile((m_folder / "OrvexSettings.ini").string())
                        .writeString("Settings", row.key, row.value));
        transport->log.clear();
        auto root
            = std::make_unique<Orvex>(m_loop, factoriesFailingAt(Step::None), m_folder.string());
        ASSERT_EQ(S_OK, construct(*root));
        EXPECT_NE(std::string::npos, joined(transport->log).find(row.expectedCall))
            << joined(transport->log);
        release(root);
        const std::string line = std::string("[ERROR]   ") + row.key + "=" + row.value + " ";
        EXPECT_EQ(row.traced, traceText().find(line) != std::string::npos) << traceText();
        for (const char *name : {"OrvexSettings.ini", "OrvexServices_0.txt", "OrvexServices_1.txt"})
            fs::remove(m_folder / name);
    }
}

TEST_F(ARoot, ReleaseLeavesTheTransportWhileTheHubIsStillHeld)
{
    auto root = std::make_unique<Orvex>(m_loop, factoriesFailingAt(Step::None), m_folder.string());
    ASSERT_EQ(S_OK, construct(*root));
    ASSERT_EQ(1u, transport->subscriberCount());
    std::shared_ptr<IOrvexComms> held;
    ASSERT_EQ(S_OK, root->getOrvexComms(&held));
    (void)m_loop.Invoke([&] {
        root->FinalRelease();
        return S_OK;
    });
    EXPECT_EQ(0u, transport->subscriberCount());
    release(root);
    (void)m_loop.Invoke([&] {
        held.reset();
        return S_OK;
    });
}

TEST_F(ARoot, ReleaseStopsTheHeartbeat)
{
    auto root = std::make_unique<Orvex>(m_loop, factoriesFailingAt(Step::None), m_folder.string());
    ASSERT_EQ(S_OK, construct(*root));
    EXPECT_EQ(1u, m_loop.TimerCount());
    (void)m_loop.Invoke([&] {
        root->FinalRelease();
        return S_OK;
    });
    EXPECT_EQ(0u, m_loop.TimerCount());
    release(root);
}

} // namespace

TEST_F(ARoot, StartsByRemovingWhatInterruptedWritesLeftInTheInstallFolderTree)
{
    fs::create_directories(m_folder / "Data");
    for (const char *name :
         {"orvexconfig.xml.orvex-tmp.Ab3dE9", "OrvexSettings.ini.orvex-tmp.x0Y1z2", "notes.txt",
          "Data/site.ovx.orvex-tmp.Qq7Rr8"})
        std::ofstream(m_folder / name) << "left";
    auto root = std::make_unique<Orvex>(m_loop, factoriesFailingAt(Step::None), m_folder.string());
    ASSERT_EQ(S_OK, construct(*root));
    EXPECT_FALSE(fs::exists(m_folder / "orvexconfig.xml.orvex-tmp.Ab3dE9"));
    EXPECT_FALSE(fs::exists(m_folder / "OrvexSettings.ini.orvex-tmp.x0Y1z2"));
    EXPECT_FALSE(fs::exists(m_folder / "Data/site.ovx.orvex-tmp.Qq7Rr8"));
    EXPECT_TRUE(fs::exists(m_folder / "notes.txt"));
    release(root);
}
