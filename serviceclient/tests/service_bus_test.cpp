// The Qt side of the bus against the real service, activated on a private bus: getters give
// paths, signals of the object at a path arrive, and every way a call can fail becomes a
// CallError with a text a person can read.
#include "bus_test_support.h"

#include "serviceclient/bus_call.h"
#include "serviceclient/proxies/orvexservices_proxy.h"
#include "serviceclient/proxies/recorderbridge_proxy.h"
#include "serviceclient/service_bus.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace serviceclient;
using bustest::PrivateBus;

QString addressOf(const PrivateBus &bus)
{
    return QString::fromStdString(bus.address());
}

class AServiceBus : public ::testing::Test
{
protected:
    PrivateBus m_bus;
    ServiceBus m_client{addressOf(m_bus)};
};

TEST_F(AServiceBus, TakesTheBridgeFromTheRootAndHearsTheEventsOfItsObject)
{
    auto root = m_client.root();
    EXPECT_EQ(kCallTimeoutMs, root->timeout());
    const QDBusObjectPath bridgePath = CheckedPath(root->getRecorderBridge(), "getRecorderBridge");
    auto bridge = m_client.proxy<OrgOrvexIOrvexInterfaceInterface>(bridgePath);
    auto fuelling = m_client.proxy<OrgOrvexIFuellingEventsInterface>(
        CheckedPath(bridge->getFuellingInterface(), "getFuellingInterface"));
    EXPECT_EQ(kCallTimeoutMs, fuelling->timeout());

    QStringList heard;
    QObject::connect(
        fuelling.get(), &OrgOrvexIFuellingEventsInterface::OnStartFuelDelivery,
        [&](const QString &, short, short pump, short event, const QString &text, short camera) {
            heard << QStringLiteral("%1 %2 %3 %4").arg(pump).arg(event).arg(text).arg(camera);
        });
    EXPECT_EQ(S_OK, CheckResult(bridge->FireTestMessage(), "FireTestMessage"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !heard.isEmpty(); }, 10000));
    EXPECT_EQ(QStringList{"1 4 Delivery Start 0"}, heard);
    EXPECT_FALSE(m_client.serviceOwner().isEmpty());
}

TEST_F(AServiceBus, TurnsAFailedResultIntoACallErrorWithItsText)
{
    auto root = m_client.root();
    auto configData = m_client.proxy<OrgOrvexIOrvexConfigDataInterface>(
        CheckedPath(root->getOrvexConfigData(), "getOrvexConfigData"));
    try {
        // Without storage the site data refuses every time.
        CheckResult(configData->GetDwellTime(1), "GetDwellTime");
        FAIL() << "no error";
    } catch (const CallError &error) {
        EXPECT_EQ(E_UNEXPECTED, error.result());
        EXPECT_EQ(QStringLiteral("GetDwellTime"), error.call());
        EXPECT_EQ(QString::fromStdString(DescribeResult(E_UNEXPECTED)), error.text());
    }
}

TEST_F(AServiceBus, TurnsAnErrorReplyIntoACallErrorWithTheBussText)
{
    auto nowhere = m_client.proxy<OrgOrvexIOrvexInterface>(QStringLiteral("/org/orvex/Nowhere"));
    try {
        (void)CheckedPath(nowhere->getRecorderBridge(), "getRecorderBridge");
        FAIL() << "no error";
    } catch (const CallError &error) {
        EXPECT_EQ(kBusCallFailed, error.result());
        EXPECT_EQ(QStringLiteral("getRecorderBridge"), error.call());
        EXPECT_FALSE(error.text().isEmpty());
    }
    QString text;
    EXPECT_EQ(E_UNEXPECTED, ResultOf(QDBusMessage::createSignal("/a", "b.c", "D"), &text));
    EXPECT_FALSE(text.isEmpty());
}

TEST_F(AServiceBus, HandsAnAsynchronousAnswerToItsHandlerOnTheEventLoop)
{
    auto root = m_client.root();
    auto comms = m_client.proxy<OrgOrvexIOrvexCommsInterface>(
        CheckedPath(root->getOrvexComms(), "getOrvexComms"));
    QObject context;
    bool answered = false;
    HRESULT hr = E_FAIL;
    WhenAnswered(comms->ToggleDebug(0), &context, [&](const QDBusMessage &reply) {
        answered = true;
        hr = ResultOf(reply);
    });
    EXPECT_FALSE(answered);
    EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, 10000));
    EXPECT_EQ(S_OK, hr);
}

TEST(AServiceBusWithoutABus, ThrowsAComErrorThatNamesTheBus)
{
    try {
        ServiceBus client(QStringLiteral("unix:path=/nonexistent/orvex-bus"));
        FAIL() << "connected";
    } catch (const ComError &error) {
        EXPECT_EQ(kBusCallFailed, error.result());
        EXPECT_NE(std::string::npos, std::string(error.what()).find("/nonexistent/orvex-bus"))
            << error.what();
    }
}

} // namespace
