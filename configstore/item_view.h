#pragma once
// What every item view shares: binding to an element through its schema, and reading and
// writing its values in place.
//
// Binding remembers, for each field of the schema, the text node of the value element of that
// name (a later element of the same name replacing an earlier one), or for a Child field the
// child element itself. A Text field whose element is empty (an empty text saved and read back)
// gets an empty text node. A field whose element or text is missing (a hand-edited file) stays
// unbound: reads and writes of it give E_FAIL and touch nothing.

#include "element_schema.h"
#include "node_ref.h"

#include "platform/hresult.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace configstore {

// Reads and writes of one value's text node, shared with the site's times: E_FAIL and nothing
// touched when the node is missing; writing text that no XML file can hold (IsXmlText) gives
// E_INVALIDARG and touches nothing.
HRESULT ReadNumber(const NodeRef &valueNode, std::int16_t *value);
HRESULT WriteNumber(const NodeRef &valueNode, std::int16_t value);
HRESULT ReadText(const NodeRef &valueNode, std::string *text);
HRESULT WriteText(const NodeRef &valueNode, std::string_view text);

class ItemView
{
protected:
    ItemView(NodeRef element, const ElementSchema &schema);

    HRESULT readNumber(std::size_t field, std::int16_t *value) const { return ReadNumber(m_fields[field], value); }
    HRESULT writeNumber(std::size_t field, std::int16_t value) const { return WriteNumber(m_fields[field], value); }
    HRESULT readText(std::size_t field, std::string *text) const { return ReadText(m_fields[field], text); }
    HRESULT writeText(std::size_t field, std::string_view text) const { return WriteText(m_fields[field], text); }

    [[nodiscard]] const NodeRef &element() const { return m_element; }
    [[nodiscard]] const NodeRef &field(std::size_t index) const { return m_fields[index]; }

private:
    NodeRef m_element;
    std::array<NodeRef, 4> m_fields;
};

// Makes a view for the caller: S_OK, or E_FAIL with a null view when it cannot be made.
template <class View, class Interface, class... Args>
HRESULT HandOut(std::shared_ptr<Interface> *out, Args &&...args)
{
    try {
        *out = std::make_shared<View>(std::forward<Args>(args)...);
        return S_OK;
    } catch (const std::bad_alloc &) {
        out->reset();
        return E_FAIL;
    }
}

} // namespace configstore
