#include "element_schema.h"

#include "number_text.h"
#include "xml_tree.h"

#include <new>

namespace configstore {

namespace {

UniqueNode buildElement(xmlDocPtr doc, const ElementSchema &schema, const std::int16_t *number)
{
    UniqueNode element = NewElement(doc, schema.tag);
    if (number != nullptr)
        SetAttribute(element.get(), "NUMBER", FormatNumber(*number));
    for (const FieldSchema &field : schema.fields) {
        switch (field.kind) {
        case FieldKind::Number:
            AppendValueElement(element.get(), field.name, "0");
            break;
        case FieldKind::Text:
            AppendValueElement(element.get(), field.name, "");
            break;
        case FieldKind::Child:
            AppendChild(element.get(), field.content != nullptr ? buildElement(doc, *field.content, nullptr)
                                                                : NewElement(doc, field.name));
            break;
        }
    }
    return element;
}

} // namespace

xmlNodePtr AppendItemElement(xmlNodePtr parent, const ElementSchema &schema, const std::int16_t *number)
{
    return AppendChild(parent, buildElement(parent->doc, schema, number));
}

xmlNodePtr InsertItemElementBefore(xmlNodePtr sibling, const ElementSchema &schema, std::int16_t number)
{
    UniqueNode element = buildElement(sibling->doc, schema, &number);
    xmlNodePtr linked = xmlAddPrevSibling(sibling, element.get());
    if (linked == nullptr)
        throw std::bad_alloc();
    element.release();
    return linked;
}

} // namespace configstore
