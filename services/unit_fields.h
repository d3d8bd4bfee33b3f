#pragma once
// What the unit keeps of a site value as the engineer sees it, and the warnings when a value
// cannot go as it is.
//
// A site number (camera, preset, dispenser, loop, address, port, event, point of sale, task type
// and interface) goes to the unit as one byte and comes back from its replies read signed: only
// -128..127 comes back as it went, so a record holding another number is not sent (the nearest
// number would steer another camera or wire another port). Times and priorities are sent as the
// nearest value the configuration tool shows and edits (its spin boxes hold dwell times 1..99,
// intervisit times 1..255 and priorities 1..5): the unit runs what the engineer sees.
//
// Each warning names the record and the field: "Priority 5: intervisit time 300 is outside 1 to
// 255; sent as 255". Values only; no state beyond the sink the warnings go to.

#include "interfaces/transport/field_range.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace services {

inline constexpr transport::FieldRange kUnitNumber{-128, 127};
inline constexpr transport::FieldRange kDwellTimes{1, 99};
inline constexpr transport::FieldRange kIntervisitTimes{1, 255};
inline constexpr transport::FieldRange kPriorities{1, 5};
// The most cameras or events one table holds: its count byte comes back read signed.
inline constexpr int kMaxUnitRecords = 127;

// "<Record>: <says>", the record's first letter raised.
[[nodiscard]] std::string RecordText(std::string_view record, std::string_view says);
// "<Record>: <field> <value> is outside <min> to <max>; <outcome>".
[[nodiscard]] std::string OutsideRangeText(std::string_view record, std::string_view field,
                                           double value, double min, double max,
                                           std::string_view outcome);
[[nodiscard]] std::string SentAs(double value);

class UnitFields
{
public:
    using Warn = std::function<void(const std::string &text)>;

    struct Field
    {
        std::string_view name;
        std::int16_t value;
    };

    explicit UnitFields(Warn warn) : m_warn(std::move(warn)) {}

    // True when `range` holds every field; else a warning for each field it does not hold,
    // ending "not sent".
    [[nodiscard]] bool carried(std::string_view record, std::initializer_list<Field> fields,
                               transport::FieldRange range) const;
    // The value, or the nearest one `range` holds with a warning.
    [[nodiscard]] std::int16_t nearest(std::string_view record, std::string_view field,
                                       std::int16_t value, transport::FieldRange range) const;
    void warn(const std::string &text) const;

private:
    Warn m_warn;
};

} // namespace services
