#pragma once
// What a document type declaration declares, as the XML scanner keeps it: elements with their
// attribute definitions, general and parameter entities, notations. The first declaration of a
// name binds; later ones are reported but change nothing. Nothing here validates a document.

#include "configtool/model/xml_attr_list.h"

#include <map>
#include <string>
#include <vector>

namespace configtool::xml {

enum class DefaultKind { Implied, Required, Fixed, Value };

struct AttrDef
{
    std::string name;
    AttrType type = AttrType::CData;
    // The enumeration or notation list as written, parentheses included.
    std::string values;
    DefaultKind defaultKind = DefaultKind::Implied;
    std::string defaultValue;
};

struct ElementDecl
{
    std::string name;
    // The content model as written (EMPTY, ANY, a group); only kept, never checked.
    std::string contentModel;
    std::vector<AttrDef> attributes;

    [[nodiscard]] const AttrDef *findAttribute(const std::string &attrName) const;
};

struct ExternalId
{
    std::string systemId;
    std::string publicId;
    [[nodiscard]] bool empty() const { return systemId.empty() && publicId.empty(); }
};

struct EntityDecl
{
    std::string name;
    bool parameter = false;
    // The replacement text of an internal entity.
    std::string value;
    // Set for an external entity, which has no value of its own.
    ExternalId external;
    std::string notation;

    [[nodiscard]] bool isExternal() const { return !external.empty(); }
};

struct NotationDecl
{
    std::string name;
    ExternalId external;
};

struct Declarations
{
    std::map<std::string, ElementDecl, std::less<>> elements;
    std::map<std::string, EntityDecl, std::less<>> generalEntities;
    std::map<std::string, EntityDecl, std::less<>> parameterEntities;
    std::map<std::string, NotationDecl, std::less<>> notations;

    void clear()
    {
        elements.clear();
        generalEntities.clear();
        parameterEntities.clear();
        notations.clear();
    }
};

} // namespace configtool::xml
