#include "services/unit_fields.h"

#include <cctype>
#include <cstdio>

namespace services {

namespace {

// Whole numbers as they are, positions to two decimals at most (655.35, 127.5, -2).
std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", value);
    return text;
}

} // namespace

std::string SentAs(double value)
{
    return "sent as " + number(value);
}

std::string RecordText(std::string_view record, std::string_view says)
{
    std::string text(record);
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text.append(": ").append(says);
}

std::string OutsideRangeText(std::string_view record, std::string_view field, double value,
                             double min, double max, std::string_view outcome)
{
    std::string says(field);
    says.append(" ").append(number(value)).append(" is outside ").append(number(min));
    says.append(" to ").append(number(max)).append("; ").append(outcome);
    return RecordText(record, says);
}

bool UnitFields::carried(std::string_view record, std::initializer_list<Field> fields,
                         transport::FieldRange range) const
{
    bool all = true;
    for (const Field &field : fields) {
        if (range.contains(field.value))
            continue;
        warn(OutsideRangeText(record, field.name, field.value, range.min, range.max, "not sent"));
        all = false;
    }
    return all;
}

std::int16_t UnitFields::nearest(std::string_view record, std::string_view field,
                                 std::int16_t value, transport::FieldRange range) const
{
    const auto sent = static_cast<std::int16_t>(range.nearest(value));
    if (sent != value)
        warn(OutsideRangeText(record, field, value, range.min, range.max, SentAs(sent)));
    return sent;
}

void UnitFields::warn(const std::string &text) const
{
    if (m_warn)
        m_warn(text);
}

} // namespace services
