#pragma once
// The recorder client's sinks: one proxy per event interface of the service, each printing
// every signal it receives as one line ("OnStartFuelDelivery Timestamp=... CameraID=0"), text
// quoted, money with four decimals. An image capture request is also handed to the printer's
// answerer. Signals arrive on the thread that runs the connection's loop.

#include <sdbus-c++/sdbus-c++.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace recorder {

inline constexpr const char *kServiceName = "org.orvex.OrvexServices";

struct Field
{
    const char *name;
    std::string value;
};

inline Field Number(const char *name, std::int64_t value) { return {name, std::to_string(value)}; }
inline Field Text(const char *name, const std::string &value) { return {name, "\"" + value + "\""}; }
Field Money(const char *name, std::int64_t scaled);
Field Decimal(const char *name, double value);

class EventPrinter
{
public:
    explicit EventPrinter(std::FILE *out) : m_out(out) {}
    void print(const char *event, const std::vector<Field> &fields);
    // A line of the recorder's own: "recorder: " and `text`.
    void say(const std::string &text);
    // Called for every image capture request, after its line.
    void setImageAnswerer(std::function<void(std::int16_t camera)> answer) { m_answer = std::move(answer); }
    void imageRequested(std::int16_t camera);

private:
    std::FILE *m_out;
    std::mutex m_mutex;
    std::function<void(std::int16_t)> m_answer;
};

struct BridgePaths
{
    std::string fuelling, paymentTerminal, forecourtCamera, retail, licencePlateRecognizer, imageCapture;
};

// The returned objects hold the subscriptions; drop them to unsubscribe.
[[nodiscard]] std::vector<std::shared_ptr<void>> SubscribeBridgeEvents(sdbus::IConnection &connection,
                                                                       const BridgePaths &paths, EventPrinter &printer);
[[nodiscard]] std::shared_ptr<void> SubscribeCommsEvents(sdbus::IConnection &connection, const std::string &path,
                                                         EventPrinter &printer);

} // namespace recorder
