#pragma once
// Small reads and builds over libxml2 trees, shared by the site, the items and the registry.
//
// Only element children count as items: blank text, comments and processing instructions that a
// hand-edited file puts between elements are passed over everywhere. Builders throw
// std::bad_alloc when libxml2 cannot allocate, and free what they built so far.

#include <libxml/tree.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace configstore {

struct NodeDeleter
{
    void operator()(xmlNodePtr node) const { xmlFreeNode(node); }
};
// A node that is not linked anywhere yet.
using UniqueNode = std::unique_ptr<xmlNode, NodeDeleter>;

struct DocDeleter
{
    void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};
using UniqueDoc = std::unique_ptr<xmlDoc, DocDeleter>;

// The first element child of `node` and the element after `node` among its siblings; null when
// there is none. Together: for (auto *c = FirstElement(p); c; c = NextElement(c)).
[[nodiscard]] xmlNodePtr FirstElement(const xmlNode *node);
[[nodiscard]] xmlNodePtr NextElement(const xmlNode *node);

// Whether the element's tag is exactly `name`; a prefixed tag (`x:TASKS`) never is.
[[nodiscard]] bool HasName(const xmlNode *node, const char *name);

// The number of element children, saturated at the 16-bit maximum.
[[nodiscard]] std::int16_t CountElements(const xmlNode *node);

// The value of the attribute `name` (no namespace), or nothing when the element has none.
[[nodiscard]] std::optional<std::string> AttributeText(const xmlNode *element, const char *name);
// The value of the attribute parsed as a stored number (whole, not cut to 16 bits).
[[nodiscard]] std::optional<std::int32_t> AttributeNumber(const xmlNode *element, const char *name);

// The first element child whose `attribute` equals `value` exactly, or null.
[[nodiscard]] xmlNodePtr FindByAttribute(const xmlNode *parent, const char *attribute, std::string_view value);
// The item's `NUMBER` parsed as a stored number (whole), or nothing when it has none.
[[nodiscard]] std::optional<std::int32_t> ItemNumber(const xmlNode *element);
// The first element child whose `NUMBER` parses to `number`, or null: a walk of all children.
[[nodiscard]] xmlNodePtr FindByNumber(const xmlNode *parent, std::int32_t number);
// How many items' `NUMBER` ItemNumber has read, from any thread, in this copy of the store (the
// shared library and a program that links the core keep one each): lookups by number are held
// to reading each item once, not once per number asked for.
[[nodiscard]] std::uint64_t NumberReads();

// The value node of a value element: its first child when that is text, else null.
[[nodiscard]] xmlNodePtr ValueNode(const xmlNode *element);
[[nodiscard]] std::string NodeText(const xmlNode *node);
// Replaces a text node's content with `text` as it is (no entity parsing). Throws bad_alloc.
void SetNodeText(xmlNodePtr node, std::string_view text);

[[nodiscard]] UniqueNode NewElement(xmlDocPtr doc, const char *name);
[[nodiscard]] UniqueNode NewText(xmlDocPtr doc, std::string_view text);
void SetAttribute(xmlNodePtr element, const char *name, const std::string &value);
// Appends `child` to `parent` and hands back the linked node.
xmlNodePtr AppendChild(xmlNodePtr parent, UniqueNode child);
// Appends <name>text</name>, the text node present even when empty.
xmlNodePtr AppendValueElement(xmlNodePtr parent, const char *name, std::string_view text);

// Readies a site element parsed from a user's file for the store, in one walk over it:
// - refuses it (false) when a reference to a declared entity (`&name;`) stands anywhere below
//   it, itself and attributes included. Such a reference is kept as a node of its own, never as
//   the text it stands for, so a value holding one cannot be read, and the entity's declaration
//   stays behind in the file's own document: written out again, the reference would make the
//   file unreadable. The element is then left half-walked and must be dropped;
// - removes whitespace-only text from the site and from every element below it that has element
//   children or is named in `collections` (an element the store appends items to, which may
//   still be empty): the indentation of a formatted file, which would otherwise stay between the
//   items that the store appends later, and keep every later export of them on one line. Value
//   texts (other elements without element children) are never touched.
[[nodiscard]] bool PrepareImportedSite(xmlNodePtr site, std::span<const char *const> collections);

} // namespace configstore
