#pragma once
// The attributes of one tag, kept sorted by name (byte order, case-sensitive) so a lookup is a
// binary search. A new attribute goes before those of the same name, so when a tag repeats a
// name the lookup finds the one written last.

#include <string>
#include <string_view>
#include <vector>

namespace configtool::xml {

// The type an attribute list declaration gives an attribute; Undeclared when none does.
enum class AttrType {
    Undeclared,
    CData,
    Id,
    IdRef,
    IdRefs,
    Entity,
    Entities,
    NmToken,
    NmTokens,
    Notation,
    Enumeration,
};

struct Attr
{
    std::string name;
    std::string value;
    AttrType type = AttrType::Undeclared;
};

class AttrList
{
public:
    void add(Attr attr);
    void clear() { m_items.clear(); }

    // The value of the first attribute of that name; empty text when there is none.
    [[nodiscard]] std::string value(std::string_view name) const;
    [[nodiscard]] const Attr *find(std::string_view name) const;
    [[nodiscard]] Attr *find(std::string_view name);

    [[nodiscard]] std::size_t size() const { return m_items.size(); }
    [[nodiscard]] bool empty() const { return m_items.empty(); }
    [[nodiscard]] auto begin() { return m_items.begin(); }
    [[nodiscard]] auto end() { return m_items.end(); }
    [[nodiscard]] auto begin() const { return m_items.begin(); }
    [[nodiscard]] auto end() const { return m_items.end(); }

private:
    std::vector<Attr> m_items;
};

} // namespace configtool::xml
