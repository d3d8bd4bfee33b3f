// The document type declaration of the XML scanner: its root name, its external identifiers
// and its declarations. Only what tags and references use is kept (attribute defaults, fixed
// values and types, entities); content models and notations are read past. Declarations are
// read once per loaded text; a repeated run only steps over them.

#include "configtool/model/xml_scanner.h"

#include "configtool/model/xml_text.h"

namespace configtool::xml {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// A cursor over the text of one declaration, between its keyword and its closing ">".
class DeclCursor
{
public:
    explicit DeclCursor(std::string_view text) : m_text(text) {}

    [[nodiscard]] bool atEnd()
    {
        skipSpace();
        return m_pos >= m_text.size();
    }
    [[nodiscard]] char peek()
    {
        skipSpace();
        return m_pos < m_text.size() ? m_text[m_pos] : '\0';
    }
    // A run of characters up to whitespace or punctuation; empty when none starts here.
    std::string_view word()
    {
        skipSpace();
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && !isSpace(m_text[m_pos])
               && std::string_view("\"'()|>").find(m_text[m_pos]) == npos)
            ++m_pos;
        return m_text.substr(start, m_pos - start);
    }
    // A quoted literal without its quotes; nothing when no quote starts here.
    std::optional<std::string_view> literal()
    {
        skipSpace();
        if (m_pos >= m_text.size() || (m_text[m_pos] != '"' && m_text[m_pos] != '\''))
            return std::nullopt;
        const std::size_t close = m_text.find(m_text[m_pos], m_pos + 1);
        const std::size_t end = close == npos ? m_text.size() : close;
        const std::string_view value = m_text.substr(m_pos + 1, end - m_pos - 1);
        m_pos = close == npos ? m_text.size() : close + 1;
        return value;
    }
    // A parenthesised group, nested groups included, as written.
    std::string_view group()
    {
        skipSpace();
        const std::size_t start = m_pos;
        int depth = 0;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            depth += c == '(' ? 1 : c == ')' ? -1 : 0;
            if (depth == 0)
                break;
        }
        return m_text.substr(start, m_pos - start);
    }
    [[nodiscard]] std::string_view rest()
    {
        skipSpace();
        std::string_view tail = m_text.substr(m_pos);
        while (!tail.empty() && isSpace(tail.back()))
            tail.remove_suffix(1);
        return tail;
    }
    // SYSTEM "id" or PUBLIC "id" ["id"]; false when neither keyword stands here.
    bool externalId(ExternalId &id)
    {
        const std::size_t mark = m_pos;
        const std::string_view keyword = word();
        if (keyword == "SYSTEM") {
            id.systemId = std::string(literal().value_or(std::string_view()));
            return true;
        }
        if (keyword == "PUBLIC") {
            id.publicId = std::string(literal().value_or(std::string_view()));
            id.systemId = std::string(literal().value_or(std::string_view()));
            return true;
        }
        m_pos = mark;
        return false;
    }

private:
    void skipSpace()
    {
        while (m_pos < m_text.size() && isSpace(m_text[m_pos]))
            ++m_pos;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// Where the declaration that starts before `pos` ends: its ">" outside quoted literals, or the
// end of the text.
std::size_t declarationEnd(std::string_view text, std::size_t pos)
{
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '>')
            return pos;
        if (c == '"' || c == '\'') {
            const std::size_t close = text.find(c, pos + 1);
            if (close == npos)
                return text.size();
            pos = close;
        }
        ++pos;
    }
    return text.size();
}

// Steps over an internal subset already read: its "]" outside literals and comments.
std::size_t skipSubset(std::string_view text, std::size_t pos)
{
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == ']')
            return pos;
        if (c == '"' || c == '\'') {
            const std::size_t close = text.find(c, pos + 1);
            pos = close == npos ? text.size() : close + 1;
            continue;
        }
        if (text.substr(pos, 4) == "<!--") {
            const std::size_t close = text.find("-->", pos + 4);
            pos = close == npos ? text.size() : close + 3;
            continue;
        }
        ++pos;
    }
    return text.size();
}

AttrType attrTypeOf(std::string_view word)
{
    static constexpr std::pair<std::string_view, AttrType> kTypes[] = {
        {"CDATA", AttrType::CData},       {"ID", AttrType::Id},
        {"IDREF", AttrType::IdRef},       {"IDREFS", AttrType::IdRefs},
        {"ENTITY", AttrType::Entity},     {"ENTITIES", AttrType::Entities},
        {"NMTOKEN", AttrType::NmToken},   {"NMTOKENS", AttrType::NmTokens},
        {"NOTATION", AttrType::Notation},
    };
    for (const auto &[name, type] : kTypes) {
        if (word == name)
            return type;
    }
    return AttrType::Undeclared;
}

} // namespace

const AttrDef *ElementDecl::findAttribute(const std::string &attrName) const
{
    for (const AttrDef &def : attributes) {
        if (def.name == attrName)
            return &def;
    }
    return nullptr;
}

void XmlScanner::readDocumentType(Frame &frame)
{
    const std::string_view text = frame.text;
    const std::size_t n = text.size();
    std::size_t pos = frame.pos + 9;
    while (pos < n && isSpace(text[pos]))
        ++pos;
    const std::size_t nameStart = pos;
    while (pos < n && !isSpace(text[pos]) && text[pos] != '[' && text[pos] != '>')
        ++pos;
    m_part.type = PartType::DtdDeclaration;
    m_part.name.assign(text.substr(nameStart, pos - nameStart));

    // The external identifier runs up to the internal subset or the end of the declaration.
    std::size_t idEnd = pos;
    while (idEnd < n && text[idEnd] != '[' && text[idEnd] != '>') {
        if (text[idEnd] == '"' || text[idEnd] == '\'') {
            const std::size_t close = text.find(text[idEnd], idEnd + 1);
            idEnd = close == npos ? n : close;
        }
        if (idEnd < n)
            ++idEnd;
    }
    ExternalId external;
    DeclCursor(text.substr(pos, idEnd - pos)).externalId(external);
    pos = idEnd;

    const bool firstRead = !m_dtdRead;
    m_dtdRead = true;
    if (pos < n && text[pos] == '[') {
        pos = firstRead ? readDeclarations(text, pos + 1, true) : skipSubset(text, pos + 1);
        if (pos < n)
            ++pos;
    }
    const std::size_t close = text.find('>', pos);
    frame.pos = close == npos ? n : close + 1;
    if (!firstRead)
        return;
    m_doctypeName = m_part.name;
    // The internal subset is read first, so its declarations bind before the external ones.
    if (!external.empty()) {
        if (const auto subset = loadExternal(external, {}))
            readDeclarations(*subset, 0, false);
    }
}

std::size_t XmlScanner::readDeclarations(std::string_view text, std::size_t pos, bool inSubset)
{
    const std::size_t n = text.size();
    while (true) {
        while (pos < n && isSpace(text[pos]))
            ++pos;
        if (pos >= n || (inSubset && text[pos] == ']'))
            return pos;
        const std::string_view rest = text.substr(pos);
        if (rest.starts_with("<!--")) {
            const std::size_t close = text.find("-->", pos + 4);
            pos = close == npos ? n : close + 3;
        } else if (rest.starts_with("<?")) {
            const std::size_t close = text.find("?>", pos + 2);
            pos = close == npos ? n : close + 2;
        } else if (rest.starts_with("<!ELEMENT")) {
            pos = readElementDecl(text, pos + 9);
        } else if (rest.starts_with("<!ATTLIST")) {
            pos = readAttListDecl(text, pos + 9);
        } else if (rest.starts_with("<!ENTITY")) {
            pos = readEntityDecl(text, pos + 8);
        } else if (rest.starts_with("<!NOTATION")) {
            pos = readNotationDecl(text, pos + 10);
        } else if (rest[0] == '%') {
            pos = readParameterReference(text, pos);
        } else {
            reportDtdError(pos);
            // Go on at the next declaration, or at the end of the subset.
            const std::size_t next = text.find_first_of(inSubset ? "<]" : "<", pos + 1);
            pos = next == npos ? n : next;
        }
    }
}

std::size_t XmlScanner::readElementDecl(std::string_view text, std::size_t pos)
{
    const std::size_t end = declarationEnd(text, pos);
    DeclCursor cursor(text.substr(pos, end - pos));
    const std::string name(cursor.word());
    if (name.empty()) {
        reportDtdError(pos);
    } else {
        ElementDecl &element = m_declarations.elements[name];
        if (element.name.empty()) {
            element.name = name;
            element.contentModel = std::string(cursor.rest());
        }
        if (OnElement)
            OnElement(element);
    }
    return end < text.size() ? end + 1 : end;
}

std::size_t XmlScanner::readAttListDecl(std::string_view text, std::size_t pos)
{
    const std::size_t end = declarationEnd(text, pos);
    const std::size_t next = end < text.size() ? end + 1 : end;
    DeclCursor cursor(text.substr(pos, end - pos));
    const std::string elementName(cursor.word());
    if (elementName.empty()) {
        reportDtdError(pos);
        return next;
    }
    ElementDecl &element = m_declarations.elements[elementName];
    element.name = elementName;
    while (!cursor.atEnd()) {
        AttrDef def;
        def.name = std::string(cursor.word());
        if (def.name.empty())
            break;
        if (cursor.peek() == '(') {
            def.type = AttrType::Enumeration;
            def.values = std::string(cursor.group());
        } else {
            def.type = attrTypeOf(cursor.word());
            if (def.type == AttrType::Undeclared)
                break;
            if (def.type == AttrType::Notation)
                def.values = std::string(cursor.group());
        }
        const std::string_view kind = cursor.peek() == '#' ? cursor.word() : std::string_view();
        if (kind == "#REQUIRED") {
            def.defaultKind = DefaultKind::Required;
        } else if (kind == "#IMPLIED") {
            def.defaultKind = DefaultKind::Implied;
        } else {
            def.defaultKind = kind == "#FIXED" ? DefaultKind::Fixed : DefaultKind::Value;
            const auto value = cursor.literal();
            if (!value || (!kind.empty() && kind != "#FIXED"))
                break;
            def.defaultValue = std::string(*value);
        }
        if (!element.findAttribute(def.name))
            element.attributes.push_back(std::move(def));
    }
    if (!cursor.atEnd())
        reportDtdError(pos);
    if (OnAttList)
        OnAttList(element);
    return next;
}

std::size_t XmlScanner::readEntityDecl(std::string_view text, std::size_t pos)
{
    const std::size_t end = declarationEnd(text, pos);
    const std::size_t next = end < text.size() ? end + 1 : end;
    DeclCursor cursor(text.substr(pos, end - pos));
    EntityDecl entity;
    std::string_view name = cursor.word();
    if (name == "%") {
        entity.parameter = true;
        name = cursor.word();
    }
    entity.name = std::string(name);
    if (entity.name.empty()) {
        reportDtdError(pos);
        return next;
    }
    if (const auto value = cursor.literal()) {
        entity.value = std::string(*value);
    } else if (!cursor.externalId(entity.external)) {
        reportDtdError(pos);
        return next;
    }
    if (cursor.word() == "NDATA")
        entity.notation = std::string(cursor.word());
    auto &table
        = entity.parameter ? m_declarations.parameterEntities : m_declarations.generalEntities;
    const auto [stored, added] = table.try_emplace(entity.name, entity);
    (void)added;
    if (OnEntity)
        OnEntity(stored->second);
    return next;
}

std::size_t XmlScanner::readNotationDecl(std::string_view text, std::size_t pos)
{
    const std::size_t end = declarationEnd(text, pos);
    DeclCursor cursor(text.substr(pos, end - pos));
    NotationDecl notation;
    notation.name = std::string(cursor.word());
    if (notation.name.empty() || !cursor.externalId(notation.external)) {
        reportDtdError(pos);
    } else {
        const auto [stored, added] = m_declarations.notations.try_emplace(notation.name, notation);
        (void)added;
        if (OnNotation)
            OnNotation(stored->second);
    }
    return end < text.size() ? end + 1 : end;
}

std::size_t XmlScanner::readParameterReference(std::string_view text, std::size_t pos)
{
    const std::size_t semicolon = text.find(';', pos + 1);
    if (semicolon == npos) {
        reportDtdError(pos);
        return text.size();
    }
    const std::string_view name = text.substr(pos + 1, semicolon - pos - 1);
    const auto declared = m_declarations.parameterEntities.find(name);
    if (declared == m_declarations.parameterEntities.end()) {
        reportDtdError(pos);
        return semicolon + 1;
    }
    const EntityDecl &entity = declared->second;
    const auto replacement = entity.isExternal() ? loadExternal(entity.external, {})
                                                 : std::optional<std::string_view>(entity.value);
    const std::string key = "%" + entity.name;
    if (replacement && mayExpand(key, replacement->size(), pos)) {
        m_expanded += replacement->size();
        m_expanding.push_back(key);
        readDeclarations(*replacement, 0, false);
        m_expanding.pop_back();
    }
    return semicolon + 1;
}

} // namespace configtool::xml
