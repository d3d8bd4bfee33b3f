#include "trace_entry.h"

#include "platform/text_codec.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace support::detail {

std::string_view TraceLevelTag(int level)
{
    static constexpr std::array<std::string_view, 4> tags{
        "[ERROR]   ", "[WARNING] ", "[DEBUG]   ", "[INFO]    "};
    if (level < 0 || level >= static_cast<int>(tags.size()))
        return {};
    return tags[static_cast<std::size_t>(level)];
}

std::string MakeTraceText(int level, std::string_view message)
{
    const std::string_view tag = TraceLevelTag(level);
    std::string text;
    text.reserve(tag.size() + std::min(message.size(), kMaxTraceTextBytes));
    text.append(tag);
    // Cutting here rather than in the writer keeps every queued entry small; the result is the
    // same line.
    text.append(message.substr(0, kMaxTraceTextBytes));
    text.resize(Utf8Prefix(text, kMaxTraceTextBytes).size());
    return text;
}

void AppendTraceLine(std::string &out, const TraceTime &created, std::string_view text)
{
    char stamp[64];
    const int n = std::snprintf(stamp, sizeof stamp, "%d-%02d-%02d %2d:%02d:%02d -- ", created.year,
                                created.month, created.day, created.hour, created.minute,
                                created.second);
    if (n > 0)
        out.append(stamp, std::min(static_cast<std::size_t>(n), sizeof stamp - 1));
    out.append(Utf8Prefix(text, kMaxTraceTextBytes));
    out.append("\r\n");
}

} // namespace support::detail
