#pragma once
// What one parse of a site file may cost libxml2, decided on what libxml2 itself reports while it
// builds the tree, so that the admission can never read the file differently from the parser.
//
// The object wraps libxml2's own SAX2 handlers of one parser context: each node that a handler is
// about to build is weighed by the memory libxml2 spends on it (its struct, its copies of texts and
// values, its namespace declarations with their URIs), the parser's dictionary says how many
// distinct names it holds, and as soon as the file goes past its bound, the handlers build nothing
// more and the reader gives the parser no more of the file (admitsMore()):
// - the nodes' weight is held to a budget in proportion to the file's size (budget()), set above
//   what any file the store writes weighs: 10 to 16.8 bytes for each of its bytes, the most for a
//   site of nothing but cameras without presets (measured: libxml2 then took 0.88 times the
//   weight; the fuzz target site_import_cost fails on any file that takes it twice the weight);
// - the parse's names (of elements, attributes, prefixes, namespace URIs and processing
//   instructions, and attribute values of up to three bytes) are held to kMaxDistinctNames:
//   libxml2 2.9's dictionary stops growing its table at 4,608 slots, after which every lookup
//   walks longer chains (1.68 million names took 107 s);
// - an element has at most kMaxAttributesPerElement attributes and namespace declarations, and at
//   most kMaxNamespacesInScope namespaces are in scope: libxml2 compares each with every earlier
//   one. It does so while it reads the start tag, before any handler runs, so admitsMore() looks at
//   the parser's own tables between reads and stops a tag that grows past the bound;
// - a document type may name its DTD, but declare nothing: no site file holds element, attribute,
//   entity or notation declarations, and a declaration's defaults would give every element of a
//   name attributes or namespaces that its bytes do not show.
//
// Element and attribute names, short attribute values and runs of blanks go into the parse's
// dictionary, which the weight counts by its own usage; other texts are built outside it
// (weighText), as copies.
//
// Not thread-safe: one object per parse, on the parsing thread. The context must outlive it.

#include <libxml/parser.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace configstore {

class SiteFileAdmission
{
public:
    // Site elements carry one (NAME, NUMBER or PRIORITY); what other XML tools add to an element
    // (namespace declarations, xsi:type, xml:lang, xml:space, xml:id) comes to a handful.
    static constexpr int kMaxAttributesPerElement = 16;
    static constexpr int kMaxNamespacesInScope = 64;
    // A site as the store writes it uses 34 names, and at most 1,100 distinct attribute values
    // short enough for libxml2 to intern (numbers from -99 to 999); one edited by hand or by
    // another tool, a few more.
    static constexpr std::size_t kMaxDistinctNames = 8192;
    // Bytes of libxml2's memory: a file may cost kCostInAnyFile and kCostPerFileByte more for each
    // of its bytes (at the bound on site files, 16 MiB, that is 419 MB; a site the store writes
    // at that size weighs at most 282 MB).
    static constexpr std::uint64_t kCostInAnyFile = 16U << 20U;
    static constexpr std::uint64_t kCostPerFileByte = 24;

    [[nodiscard]] static constexpr std::uint64_t budget(std::uint64_t fileBytes)
    {
        return kCostInAnyFile + kCostPerFileByte * fileBytes;
    }

    // Wraps the SAX2 handlers of `context` for a file of `fileBytes` bytes (one that grows while it
    // is read keeps the budget of the size it had). The handlers must be libxml2's own SAX2 ones.
    SiteFileAdmission(xmlParserCtxtPtr context, std::uint64_t fileBytes);
    SiteFileAdmission(const SiteFileAdmission &) = delete;
    SiteFileAdmission &operator=(const SiteFileAdmission &) = delete;

    // Before the parser is given more of the file: false once the file is refused, and it must
    // then be given nothing more; reason() says why.
    [[nodiscard]] bool admitsMore();
    [[nodiscard]] bool refused() const { return m_refused; }
    [[nodiscard]] const std::string &reason() const { return m_reason; }
    // What the nodes built so far weigh, the dictionary's strings included.
    [[nodiscard]] std::uint64_t cost() const;

private:
    static SiteFileAdmission &of(void *context);
    static void onStartElement(void *context, const xmlChar *localname, const xmlChar *prefix,
                               const xmlChar *uri, int namespaceCount, const xmlChar **namespaces,
                               int attributeCount, int defaultedCount, const xmlChar **attributes);
    static void onCharacters(void *context, const xmlChar *text, int length);
    static void onIgnorableWhitespace(void *context, const xmlChar *text, int length);
    static void onCData(void *context, const xmlChar *text, int length);
    static void onComment(void *context, const xmlChar *text);
    static void onProcessingInstruction(void *context, const xmlChar *target, const xmlChar *data);
    static void onInternalSubset(void *context, const xmlChar *name, const xmlChar *externalId,
                                 const xmlChar *systemId);
    static void onElementDeclaration(void *context, const xmlChar *, int, xmlElementContentPtr);
    static void onAttributeDeclaration(void *context, const xmlChar *, const xmlChar *, int, int,
                                       const xmlChar *, xmlEnumerationPtr tree);
    static void onEntityDeclaration(void *context, const xmlChar *, int, const xmlChar *,
                                    const xmlChar *, xmlChar *);
    static void onNotationDeclaration(void *context, const xmlChar *, const xmlChar *, const xmlChar *);
    static void onUnparsedEntityDeclaration(void *context, const xmlChar *, const xmlChar *,
                                            const xmlChar *, const xmlChar *);

    // Weighs the start tag; false when it is refused.
    bool weighElement(const xmlChar *localname, int namespaceCount, const xmlChar **namespaces,
                      int attributeCount, const xmlChar **attributes);
    // Text given to the handler `build`, which may append it to the last text node or make one.
    void weighText(void (*build)(void *, const xmlChar *, int), const xmlChar *text, int length);
    // Adds `bytes` and checks the bounds; false when the file is refused.
    bool charge(std::uint64_t bytes);
    // A token that libxml2 reads whole, of `bytes` bytes.
    void noteToken(std::uint64_t bytes);
    // Ends the building; the reason reads `before`, the bound (unless 0), `after`.
    void refuse(std::string_view before, std::uint64_t bound = 0, std::string_view after = {});

    xmlParserCtxtPtr m_context;
    xmlSAXHandler m_defaults;
    std::uint64_t m_cost = 0;
    std::uint64_t m_longestToken = 0;
    const std::uint64_t m_budget;
    bool m_refused = false;
    std::string m_reason;
};

} // namespace configstore
