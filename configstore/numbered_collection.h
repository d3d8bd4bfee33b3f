#pragma once
// The items of one container element, addressed by their `NUMBER` attribute: a site's event
// priorities, tasks, interest zones, cameras and points of sale, a camera's presets and a
// dispenser's preset events.
//
// A lookup finds the first element child in document order whose `NUMBER`, parsed whole, equals
// the number asked for; elements without `NUMBER` (or with one outside the 16-bit range) are
// found by no number. Lookups go through the container's NumberIndex, which every collection
// over the same container shares through the document and keeps in step with its appends and
// removals. count() counts element children only. A collection whose container is missing (a
// hand-edited file) counts 0 and refuses everything with E_FAIL.

#include "element_schema.h"
#include "item_view.h"
#include "node_ref.h"

#include "platform/hresult.h"

#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace configstore {

class NumberedCollection
{
public:
    NumberedCollection() = default;
    NumberedCollection(NodeRef container, const ElementSchema &itemSchema);

    HRESULT count(std::int16_t *count) const;

    // Get: S_OK with a view; E_INVALIDARG and a null view for an unknown number.
    template <class View, class Interface>
    HRESULT get(std::int16_t number, std::shared_ptr<Interface> *out) const
    {
        out->reset();
        if (!m_container)
            return E_FAIL;
        const xmlNodePtr element = find(number);
        if (element == nullptr)
            return E_INVALIDARG;
        return HandOut<View>(out, m_container.refer(element));
    }

    // New: the existing element of that number, else a new one with its defaults, appended.
    template <class View, class Interface>
    HRESULT create(std::int16_t number, std::shared_ptr<Interface> *out)
    {
        out->reset();
        if (!m_container)
            return E_FAIL;
        try {
            return HandOut<View>(out, m_container.refer(findOrAppend(number)));
        } catch (const std::bad_alloc &) {
            return E_FAIL;
        }
    }

    // Delete: S_OK, or E_INVALIDARG for an unknown number.
    HRESULT remove(std::int16_t number);

    // S_OK and, lowest first, every number that get() finds an item for; E_FAIL and none
    // without a container or without memory for the index or the list.
    HRESULT numbers(std::vector<std::int16_t> *numbers) const;

    // How many lookups by number collections have made, from any thread, in this copy of the
    // store (the shared library and a program that links the core keep one each): a reader of a
    // whole list is held to a number of lookups in proportion to its items.
    [[nodiscard]] static std::uint64_t lookups();

    [[nodiscard]] const NodeRef &container() const { return m_container; }

private:
    // The container's index in its document, shared by every collection over the container.
    [[nodiscard]] NumberIndex *index() const;
    [[nodiscard]] xmlNodePtr find(std::int16_t number) const;
    xmlNodePtr findOrAppend(std::int16_t number);

    NodeRef m_container;
    const ElementSchema *m_itemSchema = nullptr;
};

} // namespace configstore
