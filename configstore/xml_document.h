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
// The document owns a libxml2 name dictionary, which every node in it and in its detached trees
// may point into; a node moved in from another document must use the same dictionary
// (ReadSiteFile parses into it).
//
// Not thread-safe: one thread uses a configuration.

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

private:
    explicit XmlDocument(xmlDocPtr doc) : m_doc(doc) {}

    // The detached root above `node`, or end() when `node` is in the document.
    std::unordered_map<xmlNodePtr, std::size_t>::iterator detachedTreeOf(xmlNodePtr node);

    xmlDocPtr m_doc;
    // Detached subtree roots and the number of pins inside each.
    std::unordered_map<xmlNodePtr, std::size_t> m_detached;
};

} // namespace configstore
