#include "configtool/model/xml_attr_list.h"

#include <algorithm>

namespace configtool::xml {

namespace {

auto firstNotBefore(auto &items, std::string_view name)
{
    return std::lower_bound(
        items.begin(), items.end(), name,
        [](const Attr &attr, std::string_view key) { return std::string_view(attr.name) < key; });
}

} // namespace

void AttrList::add(Attr attr)
{
    const auto at = firstNotBefore(m_items, attr.name);
    m_items.insert(at, std::move(attr));
}

const Attr *AttrList::find(std::string_view name) const
{
    const auto at = firstNotBefore(m_items, name);
    return at != m_items.end() && at->name == name ? &*at : nullptr;
}

Attr *AttrList::find(std::string_view name)
{
    const auto at = firstNotBefore(m_items, name);
    return at != m_items.end() && at->name == name ? &*at : nullptr;
}

std::string AttrList::value(std::string_view name) const
{
    const Attr *attr = find(name);
    return attr ? attr->value : std::string();
}

} // namespace configtool::xml
