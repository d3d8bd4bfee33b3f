#pragma once
// A small non-validating, event-driven XML scanner. It holds a whole document in memory, walks
// it part by part (declaration, comment, processing instruction, document type, start tag,
// empty-element tag, end tag, text, CDATA) and reports each part to the handler set for it.
//
// Problem and conditions: the metadata file must be read leniently, and the reader must tell
// an empty-element tag from a start tag with its end tag, which general XML readers fold
// together. Input is untrusted bytes, so:
// - scanning never reads past the end of the text, and an embedded zero byte is just a byte;
// - malformed markup never raises an error: a part whose terminator is missing runs to the end
//   of its text, and junk inside a document type declaration is reported through OnDtdError;
// - entity expansion is bounded: an entity already being expanded is left as written, nesting
//   stops at kMaxEntityDepth and all expansions of one run together stop at kMaxExpansion
//   bytes (each refusal is reported through OnDtdError);
// - nothing outside the document is read unless OnLoadExternal supplies it;
// - a file over kMaxFileSize is treated as unreadable.
//
// The scanner works on single-byte text. A document whose declaration names the encoding
// exactly "UTF-8" is translated to Windows-1252 (characters it cannot show become 0xBF); text
// in any other encoding, and text before the declaration, passes unchanged.
//
// Handlers run synchronously inside Execute; an exception from a handler ends Execute and
// propagates to its caller. One thread at a time.

#include "configtool/model/xml_attr_list.h"
#include "configtool/model/xml_declarations.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace configtool::xml {

enum class PartType {
    None,
    XmlProlog,
    Comment,
    PI,
    DtdDeclaration,
    StartTag,
    EmptyTag,
    EndTag,
    Content,
    CData,
};

class XmlScanner
{
public:
    static constexpr std::size_t kMaxFileSize = 16u << 20;
    static constexpr int kMaxEntityDepth = 16;
    static constexpr std::size_t kMaxExpansion = 1u << 20;

    // The part last found: its name (tag name, processing instruction target, document type
    // root), its content (text, comment, CDATA, processing instruction content), its attributes,
    // and where it starts and ends in the text it was found in (the document or an entity's
    // replacement text).
    struct Part
    {
        PartType type = PartType::None;
        std::string name;
        std::string content;
        AttrList attributes;
        std::size_t start = 0;
        std::size_t end = 0;
    };

    XmlScanner() = default;
    XmlScanner(const XmlScanner &) = delete;
    XmlScanner &operator=(const XmlScanner &) = delete;

    // Events; each is raised only when set.
    std::function<void(const std::string &version, const std::string &encoding, bool standalone)>
        OnXmlProlog;
    std::function<void(const std::string &text)> OnComment;
    std::function<void(const std::string &target, const std::string &content,
                       const AttrList &attributes)>
        OnPI;
    std::function<void(const std::string &rootName)> OnDtdRead;
    std::function<void(const std::string &name, const AttrList &attributes)> OnStartTag;
    std::function<void(const std::string &name, const AttrList &attributes)> OnEmptyTag;
    std::function<void(const std::string &name)> OnEndTag;
    std::function<void(const std::string &text)> OnContent;
    std::function<void(const std::string &text)> OnCData;
    std::function<void(const ElementDecl &element)> OnElement;
    // Raised once per attribute list declaration, with its element and every definition so far.
    std::function<void(const ElementDecl &element)> OnAttList;
    std::function<void(const EntityDecl &entity)> OnEntity;
    std::function<void(const NotationDecl &notation)> OnNotation;
    // Text inside a document type declaration that is no declaration, or an expansion refused
    // by the bounds above; the position is an offset into the text being read.
    std::function<void(std::size_t position)> OnDtdError;
    // Supplies the text of an external entity or external document type subset; nothing when
    // unset or when it returns nothing.
    std::function<std::optional<std::string>(
        const std::string &systemId, const std::string &publicId, const std::string &notation)>
        OnLoadExternal;
    // Replaces the default translation of attribute values, text and CDATA.
    std::function<std::string(const std::string &encoding, const std::string &text)>
        OnTranslateEncoding;

    // Whitespace normalisation of text: runs collapse to one blank, both ends are trimmed and
    // text that is then empty is not reported. Set again by every load.
    bool Normalize = true;

    // Clears every state and loads the whole file. False, with an empty text, when the file
    // cannot be opened or read, is no regular file, or is larger than kMaxFileSize.
    bool LoadFile(const std::string &fileName);
    // Clears every state and scans `text` instead of a file.
    void LoadText(std::string text);

    // Walks the text from its start, raising each part's event, until the text ends or a
    // handler calls Stop.
    void Execute();
    void Stop() { m_stopRequested = true; }

    [[nodiscard]] const std::string &fileName() const { return m_fileName; }
    [[nodiscard]] const std::string &text() const { return m_buffer; }
    // Of the document's own declaration.
    [[nodiscard]] const std::string &version() const { return m_version; }
    [[nodiscard]] const std::string &encoding() const { return m_encoding; }
    [[nodiscard]] bool standalone() const { return m_standalone; }
    [[nodiscard]] const std::string &currentEncoding() const { return m_currentEncoding; }
    [[nodiscard]] const std::string &doctypeName() const { return m_doctypeName; }
    [[nodiscard]] const Declarations &declarations() const { return m_declarations; }
    [[nodiscard]] const Part &currentPart() const { return m_part; }

private:
    // A text being read: the document, or the replacement text of the entity named.
    struct Frame
    {
        std::string_view text;
        std::size_t pos = 0;
        std::string_view entity;
    };

    void clear();
    bool findNextPart();
    void raiseCurrentPart();

    void readXmlDeclaration(Frame &frame);
    void readProcessingInstruction(Frame &frame);
    void readDelimited(Frame &frame, PartType type, std::string_view open, std::string_view close);
    void readTag(Frame &frame);
    bool readContent();
    void readContentReference(std::string &text, bool collect);

    std::size_t readAttributes(std::string_view text, std::size_t pos, AttrList &attributes) const;
    void completeAttributes(const std::string &element, AttrList &attributes, std::size_t position);
    std::string attributeValue(std::string_view raw, AttrType type, std::size_t position);
    std::string expandGeneralReferences(std::string_view text, std::size_t position);
    std::string expandCharacterReferences(std::string_view text) const;
    void appendCharacterReference(std::string &out, std::string_view body) const;
    std::string translate(std::string text) const;

    // Whether the entity (key "%name" for a parameter entity) may be expanded by `size` more
    // bytes now; a refusal is reported at `position`.
    bool mayExpand(std::string_view key, std::size_t size, std::size_t position);
    std::optional<std::string_view> loadExternal(const ExternalId &id, const std::string &notation);
    void reportDtdError(std::size_t position);

    // Document type declarations (xml_dtd.cpp).
    void readDocumentType(Frame &frame);
    std::size_t readDeclarations(std::string_view text, std::size_t pos, bool inSubset);
    std::size_t readElementDecl(std::string_view text, std::size_t pos);
    std::size_t readAttListDecl(std::string_view text, std::size_t pos);
    std::size_t readEntityDecl(std::string_view text, std::size_t pos);
    std::size_t readNotationDecl(std::string_view text, std::size_t pos);
    std::size_t readParameterReference(std::string_view text, std::size_t pos);

    std::string m_buffer;
    std::string m_fileName;
    std::string m_version;
    std::string m_encoding;
    bool m_standalone = false;
    std::string m_currentEncoding;
    std::string m_doctypeName;
    Declarations m_declarations;
    bool m_dtdRead = false;

    std::vector<Frame> m_stack;
    // Entities being expanded inside attribute values and declarations, innermost last.
    std::vector<std::string> m_expanding;
    // External texts the frames may point into; kept for the length of a run.
    std::deque<std::string> m_loadedTexts;
    std::size_t m_expanded = 0;
    bool m_stopRequested = false;
    Part m_part;
};

} // namespace configtool::xml
