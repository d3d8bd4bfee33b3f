#include "services/root_bus_object.h"

#include "interfaces/dbus/orvexservices_adaptor.h"
#include "interfaces/recorder_bridge/orvex_interface.h"
#include "services/bus_context.h"

#include <tuple>

namespace services {

namespace {

class RootObject final : public sdbus::AdaptorInterfaces<org::orvex::IOrvex_adaptor>
{
public:
    RootObject(BusContext &context, std::shared_ptr<IOrvex> root, HRESULT constructed)
        : AdaptorInterfaces(context.connection(), kRootPath), m_context(context), m_root(std::move(root)),
          m_constructed(constructed)
    {
        registerAdaptor();
        if (SUCCEEDED(m_constructed) && m_root)
            putHandedOutObjectsOnBus();
    }
    ~RootObject() { unregisterAdaptor(); }

private:
    // Every object a getter hands out goes on the bus now, at the path that getter gives, so
    // that a client may listen at a path it knows before it asks for anything, and again when
    // the service has started anew.
    void putHandedOutObjectsOnBus()
    {
        putOnBus(*m_root, &IOrvex::getOrvexComms);
        putOnBus(*m_root, &IOrvex::getCameraCtrl);
        putOnBus(*m_root, &IOrvex::getOrvexConfigData);
        putOnBus(*m_root, &IOrvex::getDVRTestInterface);
        const auto bridge = putOnBus(*m_root, &IOrvex::getRecorderBridge);
        if (!bridge)
            return;
        using recorder_bridge::IOrvexInterface;
        putOnBus(*bridge, &IOrvexInterface::getFuellingInterface);
        putOnBus(*bridge, &IOrvexInterface::getPaymentTerminal);
        putOnBus(*bridge, &IOrvexInterface::getForecourtCamera);
        putOnBus(*bridge, &IOrvexInterface::getRetail);
        putOnBus(*bridge, &IOrvexInterface::getLicencePlateRecognizer);
        putOnBus(*bridge, &IOrvexInterface::getImageCapture);
    }

    template <typename Owner, typename T>
    std::shared_ptr<T> putOnBus(Owner &owner, HRESULT (Owner::*getter)(std::shared_ptr<T> *))
    {
        std::shared_ptr<T> object;
        if (FAILED((owner.*getter)(&object)))
            return nullptr;
        (void)m_context.pathOf(object);
        return object;
    }

    template <typename T>
    std::tuple<int32_t, sdbus::ObjectPath> get(HRESULT (IOrvex::*getter)(std::shared_ptr<T> *))
    {
        std::shared_ptr<T> object;
        const HRESULT hr = m_context.call(getObject(), [&] {
            if (FAILED(m_constructed) || !m_root)
                return FAILED(m_constructed) ? m_constructed : E_UNEXPECTED;
            return (m_root.get()->*getter)(&object);
        });
        return {hr, m_context.pathOf(object)};
    }

    std::tuple<int32_t, sdbus::ObjectPath> getOrvexConfigData() override { return get(&IOrvex::getOrvexConfigData); }
    std::tuple<int32_t, sdbus::ObjectPath> getOrvexComms() override { return get(&IOrvex::getOrvexComms); }
    std::tuple<int32_t, sdbus::ObjectPath> getCameraCtrl() override { return get(&IOrvex::getCameraCtrl); }
    std::tuple<int32_t, sdbus::ObjectPath> getRecorderBridge() override { return get(&IOrvex::getRecorderBridge); }
    std::tuple<int32_t, sdbus::ObjectPath> getDVRTestInterface() override { return get(&IOrvex::getDVRTestInterface); }

    BusContext &m_context;
    std::shared_ptr<IOrvex> m_root;
    HRESULT m_constructed;
};

} // namespace

std::shared_ptr<void> MakeRootBusObject(BusContext &context, std::shared_ptr<IOrvex> root, HRESULT constructed)
{
    return std::make_shared<RootObject>(context, std::move(root), constructed);
}

} // namespace services
