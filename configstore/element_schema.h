#pragma once
// The shape of an item element: its tag and its children in the order the store creates them.
// One table per item drives both the creation of a new element with its defaults and the binding
// of a view to an existing one, so the two cannot drift apart.

#include <libxml/tree.h>

#include <cstdint>
#include <span>

namespace configstore {

struct ElementSchema;

enum class FieldKind {
    Number, // a value element holding a number, created as "0"
    Text,   // a value element holding text, created empty (with an empty text node)
    Child,  // a child element the view keeps: empty, or built from `content`
};

struct FieldSchema
{
    const char *name;
    FieldKind kind = FieldKind::Number;
    const ElementSchema *content = nullptr;
};

struct ElementSchema
{
    const char *tag;
    std::span<const FieldSchema> fields;
};

// Appends to `parent` a new element of `schema` with its defaults, and `NUMBER` when given;
// hands back the linked element. Throws std::bad_alloc; nothing is left linked on failure.
xmlNodePtr AppendItemElement(xmlNodePtr parent, const ElementSchema &schema, const std::int16_t *number);
// The same, inserted just before `sibling` instead.
xmlNodePtr InsertItemElementBefore(xmlNodePtr sibling, const ElementSchema &schema, std::int16_t number);

} // namespace configstore
