#pragma once
// The configuration document: one libxml2 document and every node that has been removed from it
// while a view still referred to it.
//
// Views refer to nodes, never to copies of values, and a view may outlive the removal of its
// element (a deleted item, a deleted or re-imported site) or the replacement of the process
// document. So that no view is ever left with a freed node:
// - every node a view holds is pinned (NodeRef); the pin count lives in the node's _private;
// - remove() unlinks a subtree and frees it at once when nothing in it is pinned, otherwise keeps
//   it as a detached tree with the number of pins inside it, and frees it when the last of those
//   pins goes;
// - views hold the document through a shared_ptr, so a replaced document lives on, unsaved,
//   until its last view goes.
// Nodes removed from a detached tree (a view of a deleted site deleting one of its items) are
// accounted the same way.
//
// It also keeps the index by number (NumberIndex) of each container that a collection view looks
// items up in. An index lives only while its container is pinned: it is built at its first use
// and dropped with the container's last pin, so it never outlives its node, nor is it ever taken
// for another node that libxml2 later puts at the same address.
//
// The document owns a libxml2 name dictionary, which every node in it and in its detached trees
// may point into; a node moved in from another document must be adopted into it
// (xmlDOMWrapAdoptNode takes its names into this dictionary).
//
// Not thread-safe: one thread uses a configuration.

#include "number_index.h"

#include <libxml/tree.h>

#include <cstddef>
#include <memory>
#include <unordered_map>

namespace configstore {

class XmlDocument
{
public:
    // A new document without root element. Throws std::bad_alloc.
    static std::shared_ptr<XmlDocument> create();
    ~XmlDocument();

    XmlDocument(const XmlDocument &) = delete;
    XmlDocument &operator=(const XmlDocument &) = delete;

    [[nodiscard]] xmlDocPtr get() const { return m_doc; }

    // Unlinks `node` from its parent; frees it with its subtree unless a node inside is pinned.
    void remove(xmlNodePtr node);

    // Pinning is for NodeRef only. A node is pinned only once it is linked into this document or
    // into one of its detached trees.
    void pin(xmlNodePtr node);
    void unpin(xmlNodePtr node);

    // The index of the items of `container`, which must be pinned; null when there is no memory
    // to build it. The caller keeps it in step with the changes it makes to the container.
    [[nodiscard]] NumberIndex *numberIndex(const xmlNode *container);
    // Forgets the index of `container` (one that could not follow a change); the next use builds
    // it again.
    void dropNumberIndex(const xmlNode *container) noexcept;

private:
    explicit XmlDocument(xmlDocPtr doc) : m_doc(doc) {}

    // The detached root above `node`, or end() when `node` is in the document.
    std::unordered_map<xmlNodePtr, std::size_t>::iterator detachedTreeOf(xmlNodePtr node);

    xmlDocPtr m_doc;
    // Detached subtree roots and the number of pins inside each.
    std::unordered_map<xmlNodePtr, std::size_t> m_detached;
    std::unordered_map<const xmlNode *, NumberIndex> m_numberIndexes;
};

} // namespace configstore
