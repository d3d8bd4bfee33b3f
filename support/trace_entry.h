#pragma once
// One queued trace line and the way it is written to a trace file.
//
// A line is the entry's creation time as "YYYY-MM-DD hh:mm:ss -- " (the hour padded with a
// blank), then its text (level tag and message) cut to kMaxTraceTextBytes bytes without
// splitting a UTF-8 character, then CR LF. The text is never read as a format.

#include "trace_log.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace support::detail {

inline constexpr std::size_t kMaxTraceMessageBytes = 1023;
inline constexpr std::size_t kMaxTraceTextBytes = 254;

struct TraceEntry
{
    TraceTime created;
    std::string text; // level tag + message
};

// The ten-character tag of a level 0..3; empty for any other level.
[[nodiscard]] std::string_view TraceLevelTag(int level);

// Tag + message, cut to the length a line keeps.
[[nodiscard]] std::string MakeTraceText(int level, std::string_view message);

// Appends the line of `text` created at `created` to `out`.
void AppendTraceLine(std::string &out, const TraceTime &created, std::string_view text);

[[nodiscard]] inline bool SameDate(const TraceTime &a, const TraceTime &b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

} // namespace support::detail
