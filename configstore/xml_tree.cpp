#include "xml_tree.h"

#include "number_text.h"

#include <libxml/xmlstring.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <new>

namespace configstore {

namespace {

std::atomic<std::uint64_t> numberReads{0};

const xmlChar *asXml(const char *text)
{
    return reinterpret_cast<const xmlChar *>(text);
}

xmlNodePtr elementFrom(xmlNodePtr node)
{
    while (node != nullptr && node->type != XML_ELEMENT_NODE)
        node = node->next;
    return node;
}

const xmlAttr *findAttribute(const xmlNode *element, const char *name)
{
    for (const xmlAttr *attr = element->properties; attr != nullptr; attr = attr->next) {
        if (attr->ns == nullptr && xmlStrEqual(attr->name, asXml(name)))
            return attr;
    }
    return nullptr;
}

bool isBlankText(const xmlNode *node)
{
    if (node->type != XML_TEXT_NODE)
        return false;
    if (node->content == nullptr)
        return true;
    for (const xmlChar *c = node->content; *c != 0; ++c) {
        if (*c != ' ' && *c != '\t' && *c != '\n' && *c != '\r')
            return false;
    }
    return true;
}

bool attributesReferToEntity(const xmlNode *element)
{
    for (const xmlAttr *attr = element->properties; attr != nullptr; attr = attr->next) {
        for (const xmlNode *part = attr->children; part != nullptr; part = part->next) {
            if (part->type == XML_ENTITY_REF_NODE)
                return true;
        }
    }
    return false;
}

// The children's share of PrepareImportedSite for one element, whose blank text is layout when
// `indented`. The children of a reference are the entity's own declaration, not part of the
// tree, and are never walked.
bool prepareChildren(xmlNodePtr element, bool indented)
{
    for (xmlNodePtr child = element->children; child != nullptr;) {
        const xmlNodePtr next = child->next;
        if (child->type == XML_ENTITY_REF_NODE)
            return false;
        if (indented && isBlankText(child)) {
            xmlUnlinkNode(child);
            xmlFreeNode(child);
        }
        child = next;
    }
    return true;
}

} // namespace

xmlNodePtr FirstElement(const xmlNode *node)
{
    return elementFrom(node->children);
}

xmlNodePtr NextElement(const xmlNode *node)
{
    return elementFrom(node->next);
}

bool HasName(const xmlNode *node, const char *name)
{
    // The whole tag counts, prefix included: libxml2 keeps the prefix apart, and `x:TASKS` in a
    // user's file is no `TASKS`.
    if (node->ns != nullptr && node->ns->prefix != nullptr)
        return false;
    return xmlStrEqual(node->name, asXml(name));
}

std::int16_t CountElements(const xmlNode *node)
{
    std::int32_t count = 0;
    for (xmlNodePtr child = FirstElement(node); child != nullptr; child = NextElement(child)) {
        if (++count == std::numeric_limits<std::int16_t>::max())
            break;
    }
    return static_cast<std::int16_t>(count);
}

std::optional<std::string> AttributeText(const xmlNode *element, const char *name)
{
    const xmlAttr *attr = findAttribute(element, name);
    if (attr == nullptr)
        return std::nullopt;
    const xmlNode *only = attr->children;
    if (only != nullptr && only->next == nullptr && only->type == XML_TEXT_NODE)
        return NodeText(only);
    xmlChar *joined = xmlNodeListGetString(element->doc, attr->children, 1);
    std::string text = joined != nullptr ? reinterpret_cast<const char *>(joined) : "";
    xmlFree(joined);
    return text;
}

std::optional<std::int32_t> AttributeNumber(const xmlNode *element, const char *name)
{
    // Lookups read NUMBER of every sibling; the common single text node is read in place.
    const xmlAttr *attr = findAttribute(element, name);
    if (attr == nullptr)
        return std::nullopt;
    const xmlNode *only = attr->children;
    if (only != nullptr && only->next == nullptr && only->type == XML_TEXT_NODE)
        return ParseLong(only->content != nullptr ? reinterpret_cast<const char *>(only->content) : "");
    return ParseLong(AttributeText(element, name).value_or(""));
}

xmlNodePtr FindByAttribute(const xmlNode *parent, const char *attribute, std::string_view value)
{
    for (xmlNodePtr child = FirstElement(parent); child != nullptr; child = NextElement(child)) {
        if (AttributeText(child, attribute) == value)
            return child;
    }
    return nullptr;
}

std::optional<std::int32_t> ItemNumber(const xmlNode *element)
{
    numberReads.fetch_add(1, std::memory_order_relaxed);
    return AttributeNumber(element, "NUMBER");
}

xmlNodePtr FindByNumber(const xmlNode *parent, std::int32_t number)
{
    for (xmlNodePtr child = FirstElement(parent); child != nullptr; child = NextElement(child)) {
        if (ItemNumber(child) == number)
            return child;
    }
    return nullptr;
}

std::uint64_t NumberReads()
{
    return numberReads.load(std::memory_order_relaxed);
}

xmlNodePtr ValueNode(const xmlNode *element)
{
    xmlNodePtr first = element->children;
    if (first != nullptr && (first->type == XML_TEXT_NODE || first->type == XML_CDATA_SECTION_NODE))
        return first;
    return nullptr;
}

std::string NodeText(const xmlNode *node)
{
    return node->content != nullptr ? reinterpret_cast<const char *>(node->content) : "";
}

void SetNodeText(xmlNodePtr node, std::string_view text)
{
    xmlNodeSetContentLen(node, reinterpret_cast<const xmlChar *>(text.data()), static_cast<int>(text.size()));
    if (node->content == nullptr && !text.empty())
        throw std::bad_alloc();
}

UniqueNode NewElement(xmlDocPtr doc, const char *name)
{
    UniqueNode node(xmlNewDocNode(doc, nullptr, asXml(name), nullptr));
    if (!node)
        throw std::bad_alloc();
    return node;
}

UniqueNode NewText(xmlDocPtr doc, std::string_view text)
{
    UniqueNode node(xmlNewDocTextLen(doc, reinterpret_cast<const xmlChar *>(text.data()),
                                     static_cast<int>(text.size())));
    if (!node)
        throw std::bad_alloc();
    return node;
}

void SetAttribute(xmlNodePtr element, const char *name, const std::string &value)
{
    if (xmlSetProp(element, asXml(name), asXml(value.c_str())) == nullptr)
        throw std::bad_alloc();
}

xmlNodePtr AppendChild(xmlNodePtr parent, UniqueNode child)
{
    // Only elements and text of a new, empty element are appended, so libxml2 never merges the
    // child into a neighbour and frees it.
    xmlNodePtr linked = xmlAddChild(parent, child.get());
    if (linked == nullptr)
        throw std::bad_alloc();
    child.release();
    return linked;
}

xmlNodePtr AppendValueElement(xmlNodePtr parent, const char *name, std::string_view text)
{
    UniqueNode element = NewElement(parent->doc, name);
    AppendChild(element.get(), NewText(parent->doc, text));
    return AppendChild(parent, std::move(element));
}

bool PrepareImportedSite(xmlNodePtr site, std::span<const char *const> collections)
{
    const auto indented = [&](const xmlNode *element) {
        return element == site || elementFrom(element->children) != nullptr
            || std::any_of(collections.begin(), collections.end(),
                           [&](const char *name) { return HasName(element, name); });
    };
    // Depth first, without recursion or a stack: files nest as deep as their author likes.
    xmlNodePtr current = site;
    for (;;) {
        if (attributesReferToEntity(current) || !prepareChildren(current, indented(current)))
            return false;
        if (const xmlNodePtr child = FirstElement(current); child != nullptr) {
            current = child;
            continue;
        }
        while (current != site && NextElement(current) == nullptr)
            current = current->parent;
        if (current == site)
            return true;
        current = NextElement(current);
    }
}

} // namespace configstore
