#include "numbered_collection.h"

#include "xml_tree.h"

#include <utility>

namespace configstore {

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
    m_container.document()->remove(element);
    return S_OK;
}

xmlNodePtr NumberedCollection::find(std::int16_t number) const
{
    return FindByNumber(m_container.get(), number);
}

xmlNodePtr NumberedCollection::findOrAppend(std::int16_t number)
{
    if (const xmlNodePtr existing = find(number))
        return existing;
    return AppendItemElement(m_container.get(), *m_itemSchema, &number);
}

} // namespace configstore
