#include "numbered_collection.h"

#include "xml_tree.h"

#include <atomic>
#include <new>
#include <utility>

namespace configstore {

namespace {

std::atomic<std::uint64_t> lookupCount{0};

} // namespace

NumberedCollection::NumberedCollection(NodeRef container, const ElementSchema &itemSchema)
    : m_container(std::move(container))
    , m_itemSchema(&itemSchema)
{
}

HRESULT NumberedCollection::count(std::int16_t *count) const
{
    *count = m_container ? CountElements(m_container.get()) : 0;
    return S_OK;
}

HRESULT NumberedCollection::remove(std::int16_t number)
{
    if (!m_container)
        return E_FAIL;
    const xmlNodePtr element = find(number);
    if (element == nullptr)
        return E_INVALIDARG;
    if (NumberIndex *index = this->index())
        index->removedFirst(number);
    m_container.document()->remove(element);
    return S_OK;
}

HRESULT NumberedCollection::numbers(std::vector<std::int16_t> *numbers) const
{
    numbers->clear();
    const NumberIndex *index = m_container ? this->index() : nullptr;
    if (index == nullptr)
        return E_FAIL;
    try {
        *numbers = index->numbers();
    } catch (const std::bad_alloc &) {
        return E_FAIL;
    }
    return S_OK;
}

std::uint64_t NumberedCollection::lookups()
{
    return lookupCount.load(std::memory_order_relaxed);
}

NumberIndex *NumberedCollection::index() const
{
    return m_container.document()->numberIndex(m_container.get());
}

xmlNodePtr NumberedCollection::find(std::int16_t number) const
{
    lookupCount.fetch_add(1, std::memory_order_relaxed);
    // Without memory for the index, the walk it stands for.
    if (const NumberIndex *index = this->index())
        return index->find(number);
    return FindByNumber(m_container.get(), number);
}

xmlNodePtr NumberedCollection::findOrAppend(std::int16_t number)
{
    if (const xmlNodePtr existing = find(number))
        return existing;
    const xmlNodePtr element = AppendItemElement(m_container.get(), *m_itemSchema, &number);
    if (NumberIndex *index = this->index()) {
        try {
            index->appended(number, element);
        } catch (const std::bad_alloc &) {
            m_container.document()->dropNumberIndex(m_container.get());
        }
    }
    return element;
}

} // namespace configstore
