#include "configtool/model/threadsafe_string_queue.h"

namespace configtool {

void ThreadsafeStringQueue::Push(StringMsg message)
{
    std::lock_guard lock(m_mutex);
    m_entries.push_back(std::move(message));
}

std::optional<StringMsg> ThreadsafeStringQueue::Pop()
{
    std::lock_guard lock(m_mutex);
    if (m_entries.empty())
        return std::nullopt;
    StringMsg message = std::move(m_entries.front());
    m_entries.pop_front();
    return message;
}

bool ThreadsafeStringQueue::isEmpty() const
{
    std::lock_guard lock(m_mutex);
    return m_entries.empty();
}

} // namespace configtool
