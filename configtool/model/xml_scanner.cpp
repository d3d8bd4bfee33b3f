#include "configtool/model/xml_scanner.h"

#include "configtool/model/xml_text.h"
#include "platform/regular_file.h"

namespace configtool::xml {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isTagNameStop(char c)
{
    return isSpace(c) || c == '/' || c == '>';
}

bool isAttrNameStop(char c)
{
    return isSpace(c) || c == '/' || c == '=' || c == '>';
}

// A letter, '_', ':' or a Windows-1252 letter.
bool isNameStart(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '_' || b == ':'
           || (b >= 0xC0 && b <= 0xD6) || (b >= 0xD8 && b <= 0xF6) || b >= 0xF8;
}

std::size_t skipSpace(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && isSpace(text[pos]))
        ++pos;
    return pos;
}

// The character of a predefined entity; 0 for any other name.
char predefinedEntity(std::string_view name)
{
    if (name == "lt")
        return '<';
    if (name == "gt")
        return '>';
    if (name == "amp")
        return '&';
    if (name == "apos")
        return '\'';
    if (name == "quot")
        return '"';
    return 0;
}

// Digits of `base` only, at least one; values past the last code point are clamped there, so
// they read as a character no encoding has.
std::optional<std::uint32_t> parseCodePoint(std::string_view digits, unsigned base)
{
    if (digits.empty())
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : digits) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        value = std::min<std::uint32_t>(value * base + digit, 0x110000);
    }
    return value;
}

bool hasHighBytes(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

} // namespace

void XmlScanner::clear()
{
    m_buffer.clear();
    m_fileName.clear();
    m_version.clear();
    m_encoding.clear();
    m_standalone = false;
    m_currentEncoding.clear();
    m_doctypeName.clear();
    m_declarations.clear();
    m_dtdRead = false;
    m_stack.clear();
    m_expanding.clear();
    m_loadedTexts.clear();
    m_expanded = 0;
    m_part = Part{};
    Normalize = true;
}

bool XmlScanner::LoadFile(const std::string &fileName)
{
    clear();
    m_fileName = fileName;
    // A FIFO, a device or a folder in the file's place is refused without blocking.
    return ReadRegularFile(fileName, kMaxFileSize, &m_buffer) == 0;
}

void XmlScanner::LoadText(std::string text)
{
    clear();
    m_buffer = std::move(text);
}

void XmlScanner::Execute()
{
    m_stopRequested = false;
    m_expanded = 0;
    m_expanding.clear();
    m_loadedTexts.clear();
    m_currentEncoding.clear();
    m_stack.assign(1, Frame{m_buffer, 0, {}});
    while (!m_stopRequested && findNextPart())
        raiseCurrentPart();
    m_stack.clear();
}

bool XmlScanner::findNextPart()
{
    while (true) {
        Frame &frame = m_stack.back();
        if (frame.pos >= frame.text.size()) {
            // The end of an entity's text continues the text that referred to it.
            if (m_stack.size() == 1)
                return false;
            m_stack.pop_back();
            continue;
        }
        const std::string_view rest = frame.text.substr(frame.pos);
        m_part.name.clear();
        m_part.content.clear();
        m_part.attributes.clear();
        m_part.start = frame.pos;
        if (rest.starts_with("<?xml"))
            readXmlDeclaration(frame);
        else if (rest.starts_with("<?"))
            readProcessingInstruction(frame);
        else if (rest.starts_with("<!--"))
            readDelimited(frame, PartType::Comment, "<!--", "-->");
        else if (rest.starts_with("<!DOCTYPE"))
            readDocumentType(frame);
        else if (rest.starts_with("<![CDATA["))
            readDelimited(frame, PartType::CData, "<![CDATA[", "]]>");
        else if (rest[0] == '<')
            readTag(frame);
        else if (!readContent())
            continue;
        if (m_part.type != PartType::Content)
            m_part.end = m_stack.back().pos;
        return true;
    }
}

void XmlScanner::raiseCurrentPart()
{
    const Part &part = m_part;
    switch (part.type) {
    case PartType::XmlProlog:
        if (OnXmlProlog)
            OnXmlProlog(m_version, m_encoding, m_standalone);
        break;
    case PartType::Comment:
        if (OnComment)
            OnComment(part.content);
        break;
    case PartType::PI:
        if (OnPI)
            OnPI(part.name, part.content, part.attributes);
        break;
    case PartType::DtdDeclaration:
        if (OnDtdRead)
            OnDtdRead(part.name);
        break;
    case PartType::StartTag:
        if (OnStartTag)
            OnStartTag(part.name, part.attributes);
        break;
    case PartType::EmptyTag:
        if (OnEmptyTag)
            OnEmptyTag(part.name, part.attributes);
        break;
    case PartType::EndTag:
        if (OnEndTag)
            OnEndTag(part.name);
        break;
    case PartType::Content:
        if (OnContent)
            OnContent(part.content);
        break;
    case PartType::CData:
        if (OnCData)
            OnCData(part.content);
        break;
    case PartType::None:
        break;
    }
}

void XmlScanner::readXmlDeclaration(Frame &frame)
{
    const std::string_view text = frame.text;
    const std::size_t stop = readAttributes(text, frame.pos + 5, m_part.attributes);
    const std::size_t close = text.find("?>", stop);
    frame.pos = close == npos ? text.size() : close + 2;
    completeAttributes({}, m_part.attributes, m_part.start);
    m_part.type = PartType::XmlProlog;
    m_part.name = "xml";
    const std::string encoding = m_part.attributes.value("encoding");
    if (m_stack.size() == 1) {
        m_version = m_part.attributes.value("version");
        m_encoding = encoding;
        m_standalone = m_part.attributes.value("standalone") == "yes";
    }
    m_currentEncoding = encoding.empty() ? std::string("UTF-8") : encoding;
}

void XmlScanner::readProcessingInstruction(Frame &frame)
{
    const std::string_view text = frame.text;
    std::size_t pos = frame.pos + 2;
    const std::size_t nameStart = pos;
    while (pos < text.size() && !isSpace(text[pos]) && text.substr(pos, 2) != "?>")
        ++pos;
    m_part.name.assign(text.substr(nameStart, pos - nameStart));
    pos = skipSpace(text, pos);
    const std::size_t close = text.find("?>", pos);
    const std::size_t end = close == npos ? text.size() : close;
    m_part.content.assign(text.substr(pos, end - pos));
    readAttributes(m_part.content, 0, m_part.attributes);
    completeAttributes({}, m_part.attributes, pos);
    frame.pos = close == npos ? text.size() : close + 2;
    m_part.type = PartType::PI;
}

void XmlScanner::readDelimited(Frame &frame, PartType type, std::string_view open,
                               std::string_view close)
{
    const std::string_view text = frame.text;
    const std::size_t begin = frame.pos + open.size();
    const std::size_t end = text.find(close, begin);
    const std::size_t contentEnd = end == npos ? text.size() : end;
    frame.pos = end == npos ? text.size() : end + close.size();
    m_part.type = type;
    if (type == PartType::Comment) {
        if (OnComment)
            m_part.content.assign(text.substr(begin, contentEnd - begin));
        return;
    }
    if (OnCData)
        m_part.content = translate(std::string(text.substr(begin, contentEnd - begin)));
}

void XmlScanner::readTag(Frame &frame)
{
    const std::string_view text = frame.text;
    const std::size_t n = text.size();
    std::size_t pos = frame.pos + 1;
    const bool isEnd = pos < n && text[pos] == '/';
    if (isEnd)
        ++pos;
    const std::size_t nameStart = pos;
    while (pos < n && !isTagNameStop(text[pos]))
        ++pos;
    m_part.name.assign(text.substr(nameStart, pos - nameStart));
    // End tags have their attributes read too, so they end where a start tag would.
    pos = readAttributes(text, pos, m_part.attributes);
    const bool isEmpty = !isEnd && pos < n && text[pos] == '/';
    const std::size_t close = text.find('>', pos);
    frame.pos = close == npos ? n : close + 1;
    if (isEnd) {
        m_part.type = PartType::EndTag;
        m_part.attributes.clear();
        return;
    }
    m_part.type = isEmpty ? PartType::EmptyTag : PartType::StartTag;
    completeAttributes(m_part.name, m_part.attributes, m_part.start);
}

std::size_t XmlScanner::readAttributes(std::string_view text, std::size_t pos,
                                       AttrList &attributes) const
{
    const std::size_t n = text.size();
    while (true) {
        pos = skipSpace(text, pos);
        if (pos >= n || text[pos] == '>' || !isNameStart(text[pos]))
            return pos;
        const std::size_t nameStart = pos;
        while (pos < n && !isAttrNameStop(text[pos]))
            ++pos;
        const std::string_view name = text.substr(nameStart, pos - nameStart);
        // Everything up to "=" and then up to a quote is passed over; without a quote in the
        // rest of the text there is no value and so no attribute.
        const std::size_t equals = text.find('=', pos);
        if (equals == npos)
            return n;
        const std::size_t quote = text.find_first_of("\"'", equals + 1);
        if (quote == npos)
            return n;
        const std::size_t closing = text.find(text[quote], quote + 1);
        const std::size_t valueEnd = closing == npos ? n : closing;
        attributes.add(
            Attr{std::string(name), std::string(text.substr(quote + 1, valueEnd - quote - 1))});
        pos = closing == npos ? n : closing + 1;
    }
}

void XmlScanner::completeAttributes(const std::string &element, AttrList &attributes,
                                    std::size_t position)
{
    if (!element.empty() && !m_declarations.elements.empty()) {
        const auto declared = m_declarations.elements.find(element);
        if (declared != m_declarations.elements.end()) {
            for (const AttrDef &def : declared->second.attributes) {
                Attr *attr = attributes.find(def.name);
                const bool hasValue = def.defaultKind == DefaultKind::Value
                                      || def.defaultKind == DefaultKind::Fixed;
                if (!attr && hasValue) {
                    attributes.add(Attr{def.name, def.defaultValue, def.type});
                    continue;
                }
                if (!attr)
                    continue;
                attr->type = def.type;
                if (def.defaultKind == DefaultKind::Fixed)
                    attr->value = def.defaultValue;
            }
        }
    }
    for (Attr &attr : attributes)
        attr.value = attributeValue(attr.value, attr.type, position);
}

std::string XmlScanner::attributeValue(std::string_view raw, AttrType type, std::size_t position)
{
    std::string value
        = raw.find('&') == npos ? std::string(raw) : expandGeneralReferences(raw, position);
    if (value.find("&#") != npos)
        value = expandCharacterReferences(value);
    if (type == AttrType::Undeclared || type == AttrType::CData)
        blankControlWhitespace(value);
    else
        value = collapseWhitespace(value);
    return translate(std::move(value));
}

std::string XmlScanner::expandGeneralReferences(std::string_view text, std::size_t position)
{
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        const std::size_t amp = text.find('&', pos);
        if (amp == npos) {
            out.append(text.substr(pos));
            return out;
        }
        out.append(text.substr(pos, amp - pos));
        const std::size_t semicolon = text.find(';', amp + 1);
        if (semicolon == npos) {
            out.append(text.substr(amp));
            return out;
        }
        const std::string_view name = text.substr(amp + 1, semicolon - amp - 1);
        const std::string_view written = text.substr(amp, semicolon + 1 - amp);
        pos = semicolon + 1;
        if (name.empty() || name[0] == '#') {
            // Character references have their own step.
            out.append(written);
            continue;
        }
        if (const char c = predefinedEntity(name)) {
            out.push_back(c);
            continue;
        }
        const auto entity = m_declarations.generalEntities.find(name);
        if (entity == m_declarations.generalEntities.end() || entity->second.isExternal()
            || !mayExpand(entity->first, entity->second.value.size(), position)) {
            out.append(written);
            continue;
        }
        m_expanded += entity->second.value.size();
        m_expanding.push_back(entity->first);
        out += expandGeneralReferences(entity->second.value, position);
        m_expanding.pop_back();
    }
}

std::string XmlScanner::expandCharacterReferences(std::string_view text) const
{
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        const std::size_t start = text.find("&#", pos);
        const std::size_t semicolon = start == npos ? npos : text.find(';', start + 2);
        if (semicolon == npos) {
            out.append(text.substr(pos));
            return out;
        }
        out.append(text.substr(pos, start - pos));
        appendCharacterReference(out, text.substr(start + 2, semicolon - start - 2));
        pos = semicolon + 1;
    }
}

void XmlScanner::appendCharacterReference(std::string &out, std::string_view body) const
{
    const bool hex = !body.empty() && (body[0] == 'x' || body[0] == 'X');
    const auto codePoint = parseCodePoint(hex ? body.substr(1) : body, hex ? 16 : 10);
    if (!codePoint) {
        // A decimal reference that is no number reads as a blank; a hexadecimal one as nothing.
        if (!hex)
            out.push_back(' ');
        return;
    }
    appendCharacter(out, *codePoint, m_currentEncoding == "UTF-8");
}

std::string XmlScanner::translate(std::string text) const
{
    if (OnTranslateEncoding)
        return OnTranslateEncoding(m_currentEncoding, text);
    if (m_currentEncoding != "UTF-8" || !hasHighBytes(text))
        return text;
    return utf8ToCp1252(text);
}

bool XmlScanner::readContent()
{
    const bool collect = static_cast<bool>(OnContent);
    std::string raw;
    m_part.type = PartType::Content;
    while (true) {
        Frame &frame = m_stack.back();
        const std::string_view text = frame.text;
        if (frame.pos >= text.size()) {
            if (m_stack.size() == 1)
                break;
            m_stack.pop_back();
            continue;
        }
        if (text[frame.pos] == '<')
            break;
        if (text[frame.pos] == '&') {
            readContentReference(raw, collect);
            continue;
        }
        std::size_t stop = frame.pos;
        while (stop < text.size() && text[stop] != '<' && text[stop] != '&')
            ++stop;
        if (collect)
            raw.append(text.substr(frame.pos, stop - frame.pos));
        frame.pos = stop;
    }
    m_part.end = m_stack.back().pos;
    if (!collect)
        return false;
    std::string content = translate(std::move(raw));
    if (Normalize) {
        content = collapseWhitespace(content);
        if (content.empty())
            return false;
    }
    m_part.content = std::move(content);
    return true;
}

void XmlScanner::readContentReference(std::string &text, bool collect)
{
    Frame &frame = m_stack.back();
    const std::string_view source = frame.text;
    const std::size_t amp = frame.pos;
    const std::size_t semicolon = source.find(';', amp + 1);
    if (semicolon == npos) {
        // An ampersand that no reference can follow is dropped.
        ++frame.pos;
        return;
    }
    const std::string_view name = source.substr(amp + 1, semicolon - amp - 1);
    frame.pos = semicolon + 1;
    if (!name.empty() && name[0] == '#') {
        if (collect)
            appendCharacterReference(text, name.substr(1));
        return;
    }
    if (const char c = predefinedEntity(name)) {
        if (collect)
            text.push_back(c);
        return;
    }
    const auto declared = m_declarations.generalEntities.find(name);
    if (declared == m_declarations.generalEntities.end()) {
        if (collect)
            text.append(name);
        return;
    }
    const EntityDecl &entity = declared->second;
    std::optional<std::string_view> replacement;
    if (!entity.isExternal())
        replacement = std::string_view(entity.value);
    else if (entity.notation.empty())
        replacement = loadExternal(entity.external, entity.notation);
    if (!replacement)
        return;
    if (!mayExpand(declared->first, replacement->size(), amp)) {
        if (collect)
            text.append(source.substr(amp, semicolon + 1 - amp));
        return;
    }
    m_expanded += replacement->size();
    // The replacement is scanned as if written in place: its markup makes parts of its own.
    m_stack.push_back(Frame{*replacement, 0, declared->first});
}

bool XmlScanner::mayExpand(std::string_view key, std::size_t size, std::size_t position)
{
    int depth = 0;
    bool recursive = false;
    for (const Frame &frame : m_stack) {
        if (frame.entity.empty())
            continue;
        ++depth;
        recursive = recursive || frame.entity == key;
    }
    for (const std::string &name : m_expanding) {
        ++depth;
        recursive = recursive || name == key;
    }
    if (!recursive && depth < kMaxEntityDepth && m_expanded + size <= kMaxExpansion)
        return true;
    reportDtdError(position);
    return false;
}

std::optional<std::string_view> XmlScanner::loadExternal(const ExternalId &id,
                                                         const std::string &notation)
{
    if (!OnLoadExternal)
        return std::nullopt;
    auto text = OnLoadExternal(id.systemId, id.publicId, notation);
    if (!text)
        return std::nullopt;
    m_loadedTexts.push_back(std::move(*text));
    return std::string_view(m_loadedTexts.back());
}

void XmlScanner::reportDtdError(std::size_t position)
{
    if (OnDtdError)
        OnDtdError(position);
}

} // namespace configtool::xml
