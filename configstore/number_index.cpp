#include "number_index.h"

#include "xml_tree.h"

#include <algorithm>
#include <limits>

namespace configstore {

NumberIndex::NumberIndex(const xmlNode *container)
{
    // Walked from the last child back, each item goes in front of the later ones of its number.
    for (xmlNodePtr child = container->last; child != nullptr; child = child->prev) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        const auto number = ItemNumber(child);
        if (!number || *number < std::numeric_limits<std::int16_t>::min()
            || *number > std::numeric_limits<std::int16_t>::max())
            continue;
        auto [first, added] = m_first.try_emplace(static_cast<std::int16_t>(*number), child);
        if (added)
            continue;
        m_next.emplace(child, first->second);
        first->second = child;
    }
}

xmlNodePtr NumberIndex::find(std::int16_t number) const
{
    const auto first = m_first.find(number);
    return first != m_first.end() ? first->second : nullptr;
}

std::vector<std::int16_t> NumberIndex::numbers() const
{
    std::vector<std::int16_t> numbers;
    numbers.reserve(m_first.size());
    for (const auto &[number, first] : m_first)
        numbers.push_back(number);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

void NumberIndex::appended(std::int16_t number, xmlNodePtr element)
{
    m_first.try_emplace(number, element);
}

void NumberIndex::removedFirst(std::int16_t number) noexcept
{
    const auto first = m_first.find(number);
    if (first == m_first.end())
        return;
    const auto next = m_next.find(first->second);
    if (next == m_next.end()) {
        m_first.erase(first);
        return;
    }
    first->second = next->second;
    m_next.erase(next);
}

} // namespace configstore
