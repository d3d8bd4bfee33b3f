#pragma once
// A look at the bytes of a site file, chunk by chunk just before the parser reads them, that
// refuses a file libxml2 would spend far more time or memory on than its size warrants.
//
// libxml2 2.9 takes time quadratic in the attributes of one element: each attribute is compared
// with every earlier one and appended at the end of a list. One start tag of 40,000 attributes
// (430 KB) holds the service for 14 s, and attributes that a markup declaration gives an element
// by default cost the same for every element of that name. Markup declarations cost it as much
// (one attribute-list declaration of 800,000 attributes, 16.8 MB, took 44 s), so their
// characters are bounded too.
//
// It also takes memory out of all proportion to a file's bytes: about 128 bytes for each element,
// text, comment or processing instruction (`<a/>` is 4 bytes of file) and 240 for each attribute,
// which is a node and the text node of its value (` a=""` is 5); a namespace declared for an
// element by default is made anew for every element of that name. Measured: 16.77 MB of 8,616
// elements of 256 empty attributes took 506 MB, of `<a/>x` 819 MB, of `<a/>` given eight
// namespaces by default 4.6 GB; a store-written site of 14.6 MB takes 141 MB. So the nodes that a
// file can give rise to are counted and held to a budget in proportion to its size.
//
// The scan does not tokenize XML, so that quoted values, comments, character data, processing
// instructions or broken markup cannot lead it astray. It rests only on what libxml2 demands of
// every node it makes:
// - no start tag holds a raw '<' (an attribute value that meets one ends in an error), so all the
//   attributes of a tag lie between its '<' and the next '<' of the text;
// - an attribute is a name, maybe blanks, then '='. Every '=' whose last character before it,
//   blanks aside, can end a name is counted, in the text from each '<' to the next one, unless
//   that '<' opens an end tag, a comment, character data, a declaration or a processing
//   instruction (none of which a start tag can be part of);
// - an element, a comment, a CDATA section and a processing instruction each begin at a '<' of
//   their own; a text node lies between two of them and follows a '>' that ends the first, so
//   between two '<' there is at most one, and only where some character follows a '>';
// - a default attribute needs a quoted value in an attribute-list declaration (<!ATTLIST ...>,
//   the only markup declaration whose keyword begins with 'A'): the quotes of all declarations
//   of the file are counted together, and those of attribute lists are taken as defaults that
//   every element may carry.
// The parser must record no entity that the file declares (the reader sees to it): an entity's
// text could hold attributes or declarations that the raw text hides behind character
// references, and after a reference to an entity that is not declared libxml2 builds no more
// nodes (measured: 16.8 MB of `&a;x` took it 4 MB).
//
// The counts hold for characters, so each of the characters counted must have exactly one form
// in the file's encoding, which no other character shares: true of UTF-8 and the single-byte
// encodings over ASCII (ISO-8859-n, windows-125n) byte by byte, and of UTF-16 by 16-bit units.
// The encoding is told as libxml2 tells it: from the first four bytes (a byte order mark, "<?"
// in UTF-16) and from the encoding that the XML declaration names. A file in any other encoding
// (UTF-7, UCS-4, EBCDIC, ISO-2022-JP...) is refused: in those, a '<' or an '=' can hide inside
// the bytes of another character.
//
// Time linear in the file, memory constant. Not thread-safe: one object per file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace configstore {

class SiteFileScan
{
public:
    // Of one element, as written in its start tag. Site elements carry one (NAME, NUMBER or
    // PRIORITY); what other XML tools add to an element (namespace declarations, xsi:type,
    // xsi:schemaLocation, xml:lang, xml:space, xml:id) comes to a handful.
    static constexpr int kMaxAttributesPerElement = 16;
    // Quoted values in all the markup declarations of a file: none in a site file, a few in a
    // document type declaration naming its DTD.
    static constexpr int kMaxDeclaredValues = 16;
    // Characters of all the markup declarations of a file, counted from each one's keyword to the
    // next '<': a site file has none, or one document type declaration of a few dozen; the
    // declarations of every element and attribute of the site schema come to about 1,800.
    static constexpr int kMaxDeclarationCharacters = 8192;
    // Nodes, weighted as libxml2 spends memory on them: an element 1 (and 1 for each default
    // declared), a text 1, an attribute 2, a comment, CDATA section or processing instruction 2
    // (a node and its own copy of the text). A file may hold kNodesInAnyFile of them, and one more
    // for every kBytesPerNode bytes. A site at the configuration tool's limits (48 dispensers of
    // 13 event presets, 10 cameras of 64 presets) is 148 KB of 13,870 nodes; past that, a site as
    // the store writes it holds a node for every 11 to 13 bytes of its presets (the benchmarks'
    // site of 14.6 MB: 1.12 million nodes). At the bound on site files the budget is 1.74 million
    // nodes; the costliest files of each kind within it took libxml2 at most 229 MB and 0.55 s
    // (measured: site_memory_bench, BM_ImportCost).
    static constexpr std::uint64_t kNodesInAnyFile = 65536;
    static constexpr std::uint64_t kBytesPerNode = 10;

    [[nodiscard]] static constexpr std::uint64_t nodeBudget(std::uint64_t fileBytes)
    {
        return kNodesInAnyFile + fileBytes / kBytesPerNode;
    }

    // `fileBytes`: the size of the file, which sets its budget of nodes (a file that grows while
    // it is read keeps the budget of the size it had).
    explicit SiteFileScan(std::uint64_t fileBytes) : m_nodeBudget(nodeBudget(fileBytes)) {}

    // Takes the next bytes of the file. The first call must be given at least the file's first
    // four bytes (all of a shorter file), from which libxml2 takes the encoding. False once the
    // file is refused, for good; reason() then says why.
    [[nodiscard]] bool feed(std::string_view bytes);
    [[nodiscard]] const std::string &reason() const { return m_reason; }

private:
    enum class Encoding { Bytes, Utf16LittleEndian, Utf16BigEndian };
    // Where the text between two '<' stands: before the first '<'; just after a '<'; after "<!";
    // in text whose '=' are counted; in a markup declaration; in an attribute-list declaration;
    // in anything else.
    enum class Run { Start, Open, Bang, Counted, Declaration, AttributeList, Other };
    enum class Prolog { Open, Declaration, Done };

    bool detectEncoding(std::string_view head);
    bool take(std::uint32_t character);
    bool takeBytes(const unsigned char *next, const unsigned char *end);
    bool takeOpening(std::uint32_t character);
    bool takeDeclaration(std::uint32_t character);
    bool noteText(const unsigned char *from, const unsigned char *to);
    bool takeProlog(std::uint32_t character);
    bool checkDeclaredEncoding();
    void startRun();
    bool addNodes(std::uint64_t count);
    bool refuse(std::string reason);

    bool m_started = false;
    Encoding m_encoding = Encoding::Bytes;
    std::size_t m_markBytes = 0; // of the byte order mark, still to pass over
    int m_halfUnit = -1;         // first byte of a 16-bit unit that a chunk cut in two
    Prolog m_prolog = Prolog::Open;
    std::string m_declaration; // the XML declaration, while it is read
    Run m_run = Run::Start;
    bool m_afterName = false;   // the last character but blanks can end a name
    bool m_closed = false;      // the run holds a '>'
    bool m_textCounted = false; // the run's text node is counted
    int m_attributes = 0;       // of the current run
    int m_declarationQuotes = 0;
    int m_defaultQuotes = 0; // of attribute-list declarations
    int m_declarationCharacters = 0;
    std::uint64_t m_nodes = 0;
    const std::uint64_t m_nodeBudget;
    std::string m_reason;
};

} // namespace configstore
