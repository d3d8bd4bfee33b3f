#include "frame_log.h"

namespace unitsim {

namespace {

constexpr std::size_t kLogLimit = 200000;

} // namespace

const char *logKindName(LogKind kind)
{
    switch (kind) {
    case LogKind::FrameSent: return "sent";
    case LogKind::FrameRewritten: return "rewritten";
    case LogKind::FrameGivenUp: return "given-up";
    case LogKind::FrameAcked: return "acked";
    case LogKind::FrameNaked: return "naked";
    case LogKind::FrameReceived: return "received";
    case LogKind::FrameDuplicate: return "duplicate";
    case LogKind::FrameRefused: return "refused";
    case LogKind::FrameAbandoned: return "abandoned";
    case LogKind::FaultInjected: return "fault";
    case LogKind::MessageDropped: return "dropped";
    case LogKind::HandlerFailed: return "handler-failed";
    }
    return "unknown";
}

std::optional<ReceiptPair> lastReceiptThenNext(const std::vector<LogEntry> &log, std::uint8_t type,
                                               std::string_view nextTypes)
{
    std::optional<ReceiptPair> pair;
    for (const LogEntry &entry : log) {
        if (entry.kind != LogKind::FrameReceived)
            continue;
        if (entry.type == type)
            pair = ReceiptPair{entry.at, std::nullopt};
        else if (pair && !pair->next && nextTypes.find(static_cast<char>(entry.type)) != std::string_view::npos)
            pair->next = entry.at;
    }
    return pair;
}

void FrameLog::Append(LogEntry entry)
{
    std::lock_guard lock(m_mutex);
    if (m_entries.size() == kLogLimit)
        m_entries.pop_front();
    m_entries.push_back(std::move(entry));
}

void FrameLog::Notify(const LogEntry &entry) const
{
    if (m_observer)
        m_observer(entry);
}

std::vector<LogEntry> FrameLog::Entries() const
{
    std::lock_guard lock(m_mutex);
    return {m_entries.begin(), m_entries.end()};
}

} // namespace unitsim
