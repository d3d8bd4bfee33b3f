#pragma once
// The texts the service's events leave for the Messages window: status panel texts, lines for
// its memo and log, and the request to close it for good. Entries are typed, so a line of unit
// debug text ("OK", "CLOSE!", "<statusbar1>...") is only ever a line.
//
// Any thread may push; the Messages window's timer pops on the user-interface thread. One lock
// guards the list; entries leave in the order they came.

#include "configtool/model/status_panels.h"

#include <QString>

#include <deque>
#include <mutex>
#include <optional>

namespace configtool {

struct StringMsg
{
    enum class Kind {
        // `text` becomes the text of status panel `panel`.
        Status,
        // `text` is a line for the memo and the log.
        Line,
        // The Messages window may close now, and does.
        Close,
    };

    Kind kind = Kind::Line;
    StatusPanels::Panel panel = StatusPanels::Activity;
    QString text;

    [[nodiscard]] static StringMsg status(StatusPanels::Panel panel, QString text)
    {
        return {Kind::Status, panel, std::move(text)};
    }
    [[nodiscard]] static StringMsg line(QString text)
    {
        return {Kind::Line, StatusPanels::Activity, std::move(text)};
    }
    [[nodiscard]] static StringMsg close() { return {Kind::Close, StatusPanels::Activity, {}}; }

    bool operator==(const StringMsg &) const = default;
};

class ThreadsafeStringQueue
{
public:
    ThreadsafeStringQueue() = default;
    ThreadsafeStringQueue(const ThreadsafeStringQueue &) = delete;
    ThreadsafeStringQueue &operator=(const ThreadsafeStringQueue &) = delete;

    void Push(StringMsg message);
    // The oldest entry, taken off the queue; nothing when the queue is empty (an empty line is
    // an entry like any other).
    std::optional<StringMsg> Pop();
    [[nodiscard]] bool isEmpty() const;

private:
    mutable std::mutex m_mutex;
    std::deque<StringMsg> m_entries;
};

} // namespace configtool
