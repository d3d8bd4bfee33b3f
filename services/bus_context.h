#pragma once
// What every object the service puts on the bus shares: the connection, the service loop that
// drives it, the directory of objects already on the bus, and the count of clients.
//
// Objects are put on the bus at a path under /org/orvex/ named after their kind: the root's own
// objects as soon as the root is on the bus (root_bus_object.h), the site tables and dispenser
// preset entries the first time a getter hands them out. They stay there until the context ends
// (so a path a client holds keeps working, as a held reference did). A client counts from its first call until it
// leaves the bus; when counting is on, the last one has left, no other has called for the grace
// and no call waits on the connection, `onLastClientGone` runs (once).
//
// Thread affinity: the service thread, except Post, which any thread may call. Made with
// std::make_shared (posted work holds it weakly, so work that outlives it does nothing).

#include "platform/com_error.h"
#include "services/bus_objects.h"
#include "platform/service_loop.h"

#include <sdbus-c++/sdbus-c++.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <typeindex>
#include <utility>

namespace services {

inline constexpr const char *kRootPath = "/org/orvex/Orvex";

class BusContext : public std::enable_shared_from_this<BusContext>
{
public:
    BusContext(ServiceLoop &loop, sdbus::IConnection &connection);
    ~BusContext();
    BusContext(const BusContext &) = delete;
    BusContext &operator=(const BusContext &) = delete;

    [[nodiscard]] sdbus::IConnection &connection() { return m_connection; }
    [[nodiscard]] ServiceLoop &loop() { return m_loop; }

    // Watches the connection's descriptor on the loop and the bus's NameOwnerChanged.
    void attach();
    // Lets go of every object on the bus and stops watching; the connection stays open.
    void detach();

    // From the first call on, the caller of the message being handled counts as a client. Once
    // the last client has gone (also one that left before its first call was handled), a new
    // client within `grace` keeps the service; else `onLastClientGone` runs, once.
    void countClients(std::chrono::milliseconds grace, std::function<void()> onLastClientGone);
    [[nodiscard]] std::size_t clientCount() const { return m_clients.size(); }

    // For the end of the service: gives up `name`, so that a call from now on starts a new
    // service, then handles every call the bus brought here before that (each is answered, none
    // is left to a closing connection). Call it last, just before the loop quits.
    void releaseName(const std::string &name);

    // Runs a domain call for a method of `object`: notes the caller and turns an exception into
    // a result code (a ComError's own code, E_FAIL otherwise).
    template <typename Call>
    HRESULT call(sdbus::IObject &object, Call &&domainCall)
    {
        noteCaller(object);
        return contain(std::forward<Call>(domainCall));
    }

    // Runs a domain call, turning an exception into a result code as `call` does.
    template <typename Call>
    static HRESULT contain(Call &&domainCall)
    {
        try {
            return domainCall();
        } catch (const ComError &error) {
            return error.result();
        } catch (const std::exception &) {
            return E_FAIL;
        }
    }

    // The path of `object` on the bus ("/" for none), putting it there on first sight.
    template <typename T>
    sdbus::ObjectPath pathOf(const std::shared_ptr<T> &object)
    {
        if (!object)
            return sdbus::ObjectPath("/");
        const Key key{object.get(), std::type_index(typeid(T))};
        if (auto found = m_objects.find(key); found != m_objects.end())
            return sdbus::ObjectPath(found->second.path);
        std::string path = BusPath<T>::kBase;
        auto &counter = m_counters[path];
        ++counter;
        if (BusPath<T>::kNumbered)
            path.append("/").append(std::to_string(counter));
        else if (counter > 1)
            path.append("_").append(std::to_string(counter));
        Entry &entry = m_objects[key];
        entry.path = path;
        entry.keepAlive = object;
        entry.busObject = MakeBusObject(*this, path, object);
        return sdbus::ObjectPath(path);
    }

    // Hands `task` to the service thread without waiting; false once the loop has quit.
    bool post(std::function<void(BusContext &)> task);
    // After a send from posted work: let the loop write what the socket did not take.
    void afterSend();

private:
    using Key = std::pair<const void *, std::type_index>;
    struct Entry
    {
        std::string path;
        std::shared_ptr<const void> keepAlive;
        std::shared_ptr<void> busObject;
    };

    void noteCaller(sdbus::IObject &object);
    void lastClientMayHaveGone();
    void graceOver();
    void stopGrace();
    void process();
    void rearm();
    void onNameOwnerChanged(sdbus::Message &message);

    ServiceLoop &m_loop;
    sdbus::IConnection &m_connection;
    bool m_attached = false;
    short m_watched = 0;
    int m_fd = -1;
    sdbus::Slot m_nameWatch;
    std::map<Key, Entry> m_objects;
    std::map<std::string, int> m_counters;
    std::set<std::string> m_clients;
    std::chrono::milliseconds m_grace{0};
    std::uint32_t m_graceTimer = 0;
    std::function<void()> m_onLastClientGone;
};

} // namespace services
