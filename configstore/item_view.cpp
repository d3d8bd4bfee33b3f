#include "item_view.h"

#include "number_text.h"
#include "xml_tree.h"

#include "platform/xml_text.h"

#include <cassert>

namespace configstore {

ItemView::ItemView(NodeRef element, const ElementSchema &schema) : m_element(std::move(element))
{
    assert(schema.fields.size() <= m_fields.size() && "an item has at most four fields");
    for (xmlNodePtr child = FirstElement(m_element.get()); child != nullptr; child = NextElement(child)) {
        for (std::size_t i = 0; i < schema.fields.size(); ++i) {
            const FieldSchema &spec = schema.fields[i];
            if (!HasName(child, spec.name))
                continue;
            if (spec.kind == FieldKind::Child) {
                m_fields[i] = m_element.refer(child);
                continue;
            }
            if (spec.kind == FieldKind::Text && child->children == nullptr)
                AppendChild(child, NewText(child->doc, ""));
            m_fields[i] = m_element.refer(ValueNode(child));
        }
    }
}

HRESULT ReadNumber(const NodeRef &valueNode, std::int16_t *value)
{
    if (!valueNode)
        return E_FAIL;
    *value = CutTo16(ParseLong(NodeText(valueNode.get())));
    return S_OK;
}

HRESULT WriteNumber(const NodeRef &valueNode, std::int16_t value)
{
    return WriteText(valueNode, FormatNumber(value));
}

HRESULT ReadText(const NodeRef &valueNode, std::string *text)
{
    if (!valueNode)
        return E_FAIL;
    *text = NodeText(valueNode.get());
    return S_OK;
}

HRESULT WriteText(const NodeRef &valueNode, std::string_view text)
{
    if (!IsXmlText(text))
        return E_INVALIDARG;
    if (!valueNode)
        return E_FAIL;
    try {
        SetNodeText(valueNode.get(), text);
    } catch (const std::bad_alloc &) {
        return E_FAIL;
    }
    return S_OK;
}

} // namespace configstore
