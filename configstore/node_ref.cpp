#include "node_ref.h"

#include <utility>

namespace configstore {

NodeRef::NodeRef(std::shared_ptr<XmlDocument> document, xmlNodePtr node)
    : m_document(node != nullptr ? std::move(document) : nullptr)
    , m_node(node)
{
    if (m_node != nullptr)
        m_document->pin(m_node);
}

NodeRef::NodeRef(const NodeRef &other) : NodeRef(other.m_document, other.m_node) {}

NodeRef::NodeRef(NodeRef &&other) noexcept
    : m_document(std::move(other.m_document))
    , m_node(std::exchange(other.m_node, nullptr))
{
}

NodeRef &NodeRef::operator=(NodeRef other) noexcept
{
    std::swap(m_document, other.m_document);
    std::swap(m_node, other.m_node);
    return *this;
}

NodeRef::~NodeRef()
{
    if (m_node != nullptr)
        m_document->unpin(m_node);
}

} // namespace configstore
