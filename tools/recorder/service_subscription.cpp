#include "tools/recorder/service_subscription.h"

#include "interfaces/dbus/orvexservices_proxy.h"
#include "interfaces/dbus/recorderbridge_proxy.h"

#include <cstdio>
#include <tuple>

namespace recorder {

namespace {

template <typename Interface> class Proxy final : public sdbus::ProxyInterfaces<Interface>
{
public:
    Proxy(sdbus::IConnection &connection, const std::string &path)
        : sdbus::ProxyInterfaces<Interface>(connection, kServiceName, path)
    {
        this->registerProxy();
    }
    ~Proxy() { this->unregisterProxy(); }
};

std::string checked(const char *call, const std::tuple<int32_t, sdbus::ObjectPath> &answer)
{
    if (std::get<0>(answer) < 0)
        throw RefusedCall(call, std::get<0>(answer));
    return std::get<1>(answer);
}

std::string describe(const char *call, std::int32_t hr)
{
    char text[160];
    std::snprintf(text, sizeof text, "%s failed with 0x%08X", call, static_cast<unsigned>(hr));
    return text;
}

} // namespace

RefusedCall::RefusedCall(const char *call, std::int32_t hr) : std::runtime_error(describe(call, hr)), m_result(hr) {}

ServiceSubscription::ServiceSubscription(sdbus::IConnection &connection, EventPrinter &printer, unsigned &images)
    : m_printer(printer)
{
    Proxy<org::orvex::IOrvex_proxy> root(connection, "/org/orvex/Orvex");
    Proxy<org::orvex::IOrvexInterface_proxy> bridge(connection,
                                                    checked("getRecorderBridge", root.getRecorderBridge()));
    BridgePaths paths;
    paths.fuelling = checked("getFuellingInterface", bridge.getFuellingInterface());
    paths.paymentTerminal = checked("getPaymentTerminal", bridge.getPaymentTerminal());
    paths.forecourtCamera = checked("getForecourtCamera", bridge.getForecourtCamera());
    paths.retail = checked("getRetail", bridge.getRetail());
    paths.licencePlateRecognizer = checked("getLicencePlateRecognizer", bridge.getLicencePlateRecognizer());
    paths.imageCapture = checked("getImageCapture", bridge.getImageCapture());
    const std::string comms = checked("getOrvexComms", root.getOrvexComms());

    auto recognizer = std::make_shared<Proxy<org::orvex::ILicencePlateRecognizer_proxy>>(
        connection, paths.licencePlateRecognizer);
    auto *answerer = recognizer.get();
    m_recognizer = std::move(recognizer);
    m_printer.setImageAnswerer([this, answerer, &images](std::int16_t camera) {
        const std::string file =
            "/tmp/orvex-recorder-camera" + std::to_string(camera) + "-" + std::to_string(++images) + ".jpg";
        const int32_t hr = answerer->ImageAvailable(camera, file);
        m_printer.print("ImageAvailable", {Number("CameraID", camera), Text("FileName", file), Number("hr", hr)});
    });
    m_subscriptions = SubscribeBridgeEvents(connection, paths, m_printer);
    m_subscriptions.push_back(SubscribeCommsEvents(connection, comms, m_printer));
}

ServiceSubscription::~ServiceSubscription()
{
    m_printer.setImageAnswerer(nullptr);
}

std::string ServiceOwner(sdbus::IConnection &connection)
{
    auto bus = sdbus::createProxy(connection, "org.freedesktop.DBus", "/org/freedesktop/DBus");
    std::string owner;
    try {
        bus->callMethod("GetNameOwner").onInterface("org.freedesktop.DBus").withArguments(std::string(kServiceName))
            .storeResultsTo(owner);
    } catch (const sdbus::Error &) {
        owner.clear(); // no owner
    }
    return owner;
}

} // namespace recorder
