#include "xml_document.h"

#include <cassert>
#include <cstdint>
#include <new>

namespace configstore {

namespace {

// The pin count of a node lives in its _private pointer, which nothing else in the store uses.
std::size_t pinCount(const xmlNode *node)
{
    return reinterpret_cast<std::uintptr_t>(node->_private);
}

void setPinCount(xmlNodePtr node, std::size_t count)
{
    node->_private = reinterpret_cast<void *>(static_cast<std::uintptr_t>(count));
}

xmlNodePtr topOf(xmlNodePtr node)
{
    while (node->parent != nullptr)
        node = node->parent;
    return node;
}

// Pins inside the subtree of `node`, walked without recursion (files nest as deep as their
// author likes).
std::size_t pinsWithin(xmlNodePtr node)
{
    std::size_t pins = 0;
    xmlNodePtr current = node;
    while (current != nullptr) {
        pins += pinCount(current);
        if (current->type == XML_ELEMENT_NODE && current->children != nullptr) {
            current = current->children;
            continue;
        }
        while (current != node && current->next == nullptr)
            current = current->parent;
        if (current == node)
            break;
        current = current->next;
    }
    return pins;
}

} // namespace

std::shared_ptr<XmlDocument> XmlDocument::create()
{
    xmlDocPtr doc = xmlNewDoc(BAD_CAST "1.0");
    if (doc == nullptr)
        throw std::bad_alloc();
    // The store's builders intern names and short values here; an imported site's names join them
    // when it is adopted.
    doc->dict = xmlDictCreate();
    if (doc->dict == nullptr) {
        xmlFreeDoc(doc);
        throw std::bad_alloc();
    }
    return std::shared_ptr<XmlDocument>(new XmlDocument(doc));
}

XmlDocument::~XmlDocument()
{
    // Every view holds the document, so no pin is left by now; the detached trees are normally
    // gone already.
    for (const auto &[root, pins] : m_detached)
        xmlFreeNode(root);
    xmlFreeDoc(m_doc);
}

std::unordered_map<xmlNodePtr, std::size_t>::iterator XmlDocument::detachedTreeOf(xmlNodePtr node)
{
    const xmlNodePtr top = topOf(node);
    if (top == reinterpret_cast<xmlNodePtr>(m_doc))
        return m_detached.end();
    return m_detached.find(top);
}

void XmlDocument::remove(xmlNodePtr node)
{
    // A node that is already out of any tree (a dispenser another view deleted) stays as it is.
    if (node->parent == nullptr)
        return;
    const auto formerTree = detachedTreeOf(node);
    xmlUnlinkNode(node);
    const std::size_t pins = pinsWithin(node);
    if (formerTree != m_detached.end()) {
        formerTree->second -= pins;
        if (formerTree->second == 0) {
            xmlFreeNode(formerTree->first);
            m_detached.erase(formerTree);
        }
    }
    if (pins == 0)
        xmlFreeNode(node);
    else
        m_detached.emplace(node, pins);
}

void XmlDocument::pin(xmlNodePtr node)
{
    setPinCount(node, pinCount(node) + 1);
    const xmlNodePtr top = topOf(node);
    if (top == reinterpret_cast<xmlNodePtr>(m_doc))
        return;
    auto [tree, added] = m_detached.try_emplace(top, 0);
    assert(!added && "a node is pinned before it is linked");
    (void)added;
    ++tree->second;
}

void XmlDocument::unpin(xmlNodePtr node)
{
    assert(pinCount(node) > 0 && "unbalanced unpin");
    setPinCount(node, pinCount(node) - 1);
    if (pinCount(node) == 0 && !m_numberIndexes.empty())
        m_numberIndexes.erase(node);
    const auto tree = detachedTreeOf(node);
    if (tree == m_detached.end())
        return;
    if (--tree->second == 0) {
        xmlFreeNode(tree->first);
        m_detached.erase(tree);
    }
}

NumberIndex *XmlDocument::numberIndex(const xmlNode *container)
{
    assert(pinCount(container) > 0 && "an index outlives only a pinned container");
    if (const auto known = m_numberIndexes.find(container); known != m_numberIndexes.end())
        return &known->second;
    try {
        return &m_numberIndexes.try_emplace(container, container).first->second;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

void XmlDocument::dropNumberIndex(const xmlNode *container) noexcept
{
    m_numberIndexes.erase(container);
}

} // namespace configstore
