#include "site_file_admission.h"

#include <libxml/dict.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlstring.h>

#include <algorithm>
#include <new>

namespace configstore {

namespace {

// What glibc's malloc takes for a request of `bytes`: the request and a size word, rounded up to
// 16 bytes, at least 32.
constexpr std::uint64_t allocation(std::uint64_t bytes)
{
    return std::max<std::uint64_t>(32, (bytes + 8 + 15) & ~std::uint64_t{15});
}

std::uint64_t copyOf(const xmlChar *text)
{
    return text == nullptr ? 0 : allocation(static_cast<std::uint64_t>(xmlStrlen(text)) + 1);
}

constexpr std::uint64_t kNode = allocation(sizeof(xmlNode));
constexpr std::uint64_t kAttribute = allocation(sizeof(xmlAttr));
constexpr std::uint64_t kNamespace = allocation(sizeof(xmlNs));
constexpr std::uint64_t kId = allocation(sizeof(xmlID));

// libxml2 grows the table of a start tag's attributes (five slots each) to 55, 130, 280, 580...
// slots as the tag needs them: a tag of 16 never takes it past 130, one of 27 does.
constexpr int kMaxAttributeSlots = 130;

constexpr std::string_view kTooManyAttributes = "an element has more than ";
constexpr std::string_view kAttributesUnit = " attributes and namespace declarations";
constexpr std::string_view kTooManyNamespaces = "more than ";
constexpr std::string_view kNamespacesUnit = " namespaces are in scope at an element";

bool isXmlId(const xmlChar *localname, const xmlChar *prefix)
{
    return prefix != nullptr && xmlStrEqual(prefix, BAD_CAST "xml") && xmlStrEqual(localname, BAD_CAST "id");
}

} // namespace

SiteFileAdmission::SiteFileAdmission(xmlParserCtxtPtr context, std::uint64_t fileBytes)
    : m_context(context), m_defaults(*context->sax), m_budget(budget(fileBytes))
{
    context->_private = this;
    xmlSAXHandler &sax = *context->sax;
    sax.startElementNs = onStartElement;
    sax.characters = onCharacters;
    sax.ignorableWhitespace = onIgnorableWhitespace;
    sax.cdataBlock = onCData;
    sax.comment = onComment;
    sax.processingInstruction = onProcessingInstruction;
    sax.internalSubset = onInternalSubset;
    sax.elementDecl = onElementDeclaration;
    sax.attributeDecl = onAttributeDeclaration;
    sax.entityDecl = onEntityDeclaration;
    sax.notationDecl = onNotationDeclaration;
    sax.unparsedEntityDecl = onUnparsedEntityDeclaration;
}

SiteFileAdmission &SiteFileAdmission::of(void *context)
{
    return *static_cast<SiteFileAdmission *>(static_cast<xmlParserCtxtPtr>(context)->_private);
}

std::uint64_t SiteFileAdmission::cost() const
{
    // libxml2 reads a name, an attribute value, a comment, a processing instruction or a CDATA
    // section whole into buffers that grow by doubling, and may decode it into another: up to
    // three times the longest of them at once (measured: an attribute value of 300 KB took it
    // 1.28 MB in all).
    return m_cost + xmlDictGetUsage(m_context->dict) + 3 * m_longestToken;
}

void SiteFileAdmission::noteToken(std::uint64_t bytes)
{
    m_longestToken = std::max(m_longestToken, bytes);
}

void SiteFileAdmission::refuse(std::string_view before, std::uint64_t bound, std::string_view after)
{
    if (m_refused)
        return;
    m_refused = true;
    // As after a fatal error: no handler runs any more. (xmlStopParser would free the input that
    // the parser, or the reader asking for more of it, may be working on.) The reader gives the
    // parser nothing more, so it ends at the next read.
    m_context->disableSAX = 1;
    m_context->wellFormed = 0;
    // No exception may leave a libxml2 callback; without memory for the words, the refusal stands
    // without them.
    try {
        m_reason = before;
        if (bound != 0)
            m_reason += std::to_string(bound);
        m_reason += after;
    } catch (const std::bad_alloc &) {
        m_reason.clear();
    }
}

bool SiteFileAdmission::charge(std::uint64_t bytes)
{
    m_cost += bytes;
    if (static_cast<std::size_t>(xmlDictSize(m_context->dict)) > kMaxDistinctNames) {
        refuse("it uses more than ", kMaxDistinctNames, " distinct names");
        return false;
    }
    if (cost() > m_budget) {
        refuse("libxml2 would take more than ", m_budget >> 20U, " MB for it, more than its size allows");
        return false;
    }
    return true;
}

bool SiteFileAdmission::admitsMore()
{
    if (m_refused)
        return false;
    if (m_context->maxatts > kMaxAttributeSlots)
        refuse(kTooManyAttributes, kMaxAttributesPerElement, kAttributesUnit);
    else if (m_context->nsNr / 2 > kMaxNamespacesInScope)
        refuse(kTooManyNamespaces, kMaxNamespacesInScope, kNamespacesUnit);
    return !m_refused;
}

bool SiteFileAdmission::weighElement(const xmlChar *localname, int namespaceCount,
                                     const xmlChar **namespaces, int attributeCount,
                                     const xmlChar **attributes)
{
    if (namespaceCount + attributeCount > kMaxAttributesPerElement) {
        refuse(kTooManyAttributes, kMaxAttributesPerElement, kAttributesUnit);
        return false;
    }
    if (m_context->nsNr / 2 > kMaxNamespacesInScope) {
        refuse(kTooManyNamespaces, kMaxNamespacesInScope, kNamespacesUnit);
        return false;
    }
    // The node; its name is in the dictionary.
    noteToken(static_cast<std::uint64_t>(xmlStrlen(localname)));
    std::uint64_t bytes = kNode;
    // Each declaration: a namespace struct with copies of its prefix and URI.
    for (int i = 0; i < namespaceCount; ++i)
        bytes += kNamespace + copyOf(namespaces[2 * i]) + copyOf(namespaces[2 * i + 1]);
    // Each attribute: its struct (its name is in the dictionary), and a text node with a copy of
    // its value (or the value in the dictionary); an xml:id also an entry in the document's table
    // of IDs with a copy of the value.
    for (int i = 0; i < attributeCount; ++i) {
        const xmlChar *const *attribute = attributes + 5 * i;
        const auto valueBytes = static_cast<std::uint64_t>(attribute[4] - attribute[3]);
        noteToken(valueBytes);
        bytes += kAttribute + kNode + allocation(valueBytes + 1);
        if (isXmlId(attribute[0], attribute[1]))
            bytes += kId + allocation(valueBytes + 1);
    }
    return charge(bytes);
}

void SiteFileAdmission::weighText(void (*build)(void *, const xmlChar *, int), const xmlChar *text,
                                  int length)
{
    const xmlNode *const parent = m_context->node;
    const xmlNode *const lastBefore = parent != nullptr ? parent->last : nullptr;
    // libxml2 interns a text of up to three bytes into the dictionary: a site written by the store
    // may hold any number of distinct ones (comments), which would crowd it, so such texts are
    // built without the dictionary, each a copy of its own. Indentation stays interned: a site
    // holds a few distinct runs of blanks, and a file of thousands is refused.
    const int dictNames = m_context->dictNames;
    if (!std::all_of(text, text + length, [](xmlChar c) { return IS_BLANK_CH(c); }))
        m_context->dictNames = 0;
    build(m_context, text, length);
    m_context->dictNames = dictNames;
    const xmlNode *const lastAfter = parent != nullptr ? parent->last : nullptr;
    // Appended to the last text node, whose buffer libxml2 doubles as it grows; or a new node
    // with its own copy.
    const auto bytes = static_cast<std::uint64_t>(length);
    charge(lastAfter != lastBefore ? kNode + allocation(bytes + 1) : 2 * bytes);
}

void SiteFileAdmission::onStartElement(void *context, const xmlChar *localname, const xmlChar *prefix,
                                       const xmlChar *uri, int namespaceCount, const xmlChar **namespaces,
                                       int attributeCount, int defaultedCount, const xmlChar **attributes)
{
    SiteFileAdmission &self = of(context);
    if (!self.weighElement(localname, namespaceCount, namespaces, attributeCount, attributes))
        return;
    self.m_defaults.startElementNs(context, localname, prefix, uri, namespaceCount, namespaces,
                                   attributeCount, defaultedCount, attributes);
}

void SiteFileAdmission::onCharacters(void *context, const xmlChar *text, int length)
{
    SiteFileAdmission &self = of(context);
    self.weighText(self.m_defaults.characters, text, length);
}

void SiteFileAdmission::onIgnorableWhitespace(void *context, const xmlChar *text, int length)
{
    SiteFileAdmission &self = of(context);
    self.weighText(self.m_defaults.ignorableWhitespace, text, length);
}

void SiteFileAdmission::onCData(void *context, const xmlChar *text, int length)
{
    SiteFileAdmission &self = of(context);
    self.noteToken(static_cast<std::uint64_t>(length));
    self.weighText(self.m_defaults.cdataBlock, text, length);
}

void SiteFileAdmission::onComment(void *context, const xmlChar *text)
{
    SiteFileAdmission &self = of(context);
    const auto bytes = static_cast<std::uint64_t>(xmlStrlen(text));
    self.noteToken(bytes);
    if (self.charge(kNode + allocation(bytes + 1)))
        self.m_defaults.comment(context, text);
}

void SiteFileAdmission::onProcessingInstruction(void *context, const xmlChar *target, const xmlChar *data)
{
    SiteFileAdmission &self = of(context);
    self.noteToken(static_cast<std::uint64_t>(xmlStrlen(data)));
    if (self.charge(kNode + copyOf(target) + copyOf(data)))
        self.m_defaults.processingInstruction(context, target, data);
}

void SiteFileAdmission::onInternalSubset(void *context, const xmlChar *name, const xmlChar *externalId,
                                         const xmlChar *systemId)
{
    SiteFileAdmission &self = of(context);
    if (self.charge(allocation(sizeof(xmlDtd)) + copyOf(name) + copyOf(externalId) + copyOf(systemId)))
        self.m_defaults.internalSubset(context, name, externalId, systemId);
}

void SiteFileAdmission::onElementDeclaration(void *context, const xmlChar *, int, xmlElementContentPtr)
{
    of(context).refuse("its document type declares an element, which no site file does");
}

void SiteFileAdmission::onAttributeDeclaration(void *context, const xmlChar *, const xmlChar *, int, int,
                                               const xmlChar *, xmlEnumerationPtr tree)
{
    // The handler owns the enumeration of values.
    xmlFreeEnumeration(tree);
    of(context).refuse("its document type declares attributes, which no site file does");
}

void SiteFileAdmission::onEntityDeclaration(void *context, const xmlChar *, int, const xmlChar *,
                                            const xmlChar *, xmlChar *)
{
    of(context).refuse("its document type declares an entity, which no site file does");
}

void SiteFileAdmission::onNotationDeclaration(void *context, const xmlChar *, const xmlChar *,
                                              const xmlChar *)
{
    of(context).refuse("its document type declares a notation, which no site file does");
}

void SiteFileAdmission::onUnparsedEntityDeclaration(void *context, const xmlChar *, const xmlChar *,
                                                    const xmlChar *, const xmlChar *)
{
    of(context).refuse("its document type declares an entity, which no site file does");
}

} // namespace configstore
