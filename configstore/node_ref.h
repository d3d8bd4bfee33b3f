#pragma once
// A view's hold on one node of a configuration document: the node stays allocated, and its
// document alive, for as long as any NodeRef to it exists, whether or not the node is still
// linked into the document (see XmlDocument). Copying adds a hold; an empty NodeRef holds
// nothing.

#include "xml_document.h"

#include <libxml/tree.h>

#include <memory>

namespace configstore {

class NodeRef
{
public:
    NodeRef() = default;
    // `node` must belong to `document` (or to one of its detached trees), or be null.
    NodeRef(std::shared_ptr<XmlDocument> document, xmlNodePtr node);
    NodeRef(const NodeRef &other);
    NodeRef(NodeRef &&other) noexcept;
    NodeRef &operator=(NodeRef other) noexcept;
    ~NodeRef();

    [[nodiscard]] xmlNodePtr get() const { return m_node; }
    explicit operator bool() const { return m_node != nullptr; }
    [[nodiscard]] const std::shared_ptr<XmlDocument> &document() const { return m_document; }

    // A hold on another node of the same document.
    [[nodiscard]] NodeRef refer(xmlNodePtr node) const { return NodeRef(m_document, node); }

private:
    std::shared_ptr<XmlDocument> m_document;
    xmlNodePtr m_node = nullptr;
};

} // namespace configstore
