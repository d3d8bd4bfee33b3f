#include "tools/recorder/event_printers.h"

#include <cinttypes>

namespace recorder {

Field Money(const char *name, std::int64_t scaled)
{
    char text[40];
    const std::uint64_t magnitude = scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    std::snprintf(text, sizeof text, "%s%" PRIu64 ".%04" PRIu64, scaled < 0 ? "-" : "", magnitude / 10000,
                  magnitude % 10000);
    return {name, text};
}

Field Decimal(const char *name, double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%g", value);
    return {name, text};
}

void EventPrinter::print(const char *event, const std::vector<Field> &fields)
{
    std::string line = event;
    for (const Field &field : fields)
        line += std::string(" ") + field.name + "=" + field.value;
    std::lock_guard lock(m_mutex);
    std::fprintf(m_out, "%s\n", line.c_str());
    std::fflush(m_out);
}

void EventPrinter::say(const std::string &text)
{
    std::lock_guard lock(m_mutex);
    std::fprintf(m_out, "recorder: %s\n", text.c_str());
    std::fflush(m_out);
}

void EventPrinter::imageRequested(std::int16_t camera)
{
    if (m_answer)
        m_answer(camera);
}

} // namespace recorder
