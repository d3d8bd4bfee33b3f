#pragma once
// A look at the bytes of a site file, chunk by chunk just before the parser reads them, that
// refuses a file libxml2 would spend far more time on than its size warrants.
//
// libxml2 2.9 takes time quadratic in the attributes of one element: each attribute is compared
// with every earlier one and appended at the end of a list. One start tag of 40,000 attributes
// (430 KB) holds the service for 14 s, and attributes that a markup declaration gives an element
// by default cost the same for every element of that name. A site element carries one attribute
// (NAME, NUMBER or PRIORITY), so a bound far above that costs a real site file nothing.
//
// The scan does not tokenize XML, so that quoted values, comments, character data, processing
// instructions or broken markup cannot lead it astray. It rests only on what libxml2 demands of
// every attribute it takes:
// - no start tag holds a raw '<' (an attribute value that meets one ends in an error), so all the
//   attributes of a tag lie between its '<' and the next '<' of the text;
// - an attribute is a name, maybe blanks, then '='. Every '=' whose last character before it,
//   blanks aside, can end a name is counted, in the text from each '<' to the next one, unless
//   that '<' opens an end tag, a comment, character data, a declaration or a processing
//   instruction (none of which a start tag can be part of);
// - a default attribute needs a quoted value in a markup declaration (<!ATTLIST ...>): the quotes
//   of all declarations of the file are counted together.
// The parser must record no entity that the file declares (the reader sees to it): an entity's
// text could hold attributes or declarations that the raw text hides behind character
// references.
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
    // Of one element, counted as above. Site elements carry one; namespace declarations and
    // other attributes a foreign tool adds are a handful.
    static constexpr int kMaxAttributesPerElement = 256;
    // Quoted values in all the markup declarations of a file: none in a site file, a few in a
    // document type declaration naming its DTD.
    static constexpr int kMaxDeclaredValues = 16;

    // Takes the next bytes of the file. The first call must be given at least the file's first
    // four bytes (all of a shorter file), from which libxml2 takes the encoding. False once the
    // file is refused, for good; reason() then says why.
    [[nodiscard]] bool feed(std::string_view bytes);
    [[nodiscard]] const std::string &reason() const { return m_reason; }

private:
    enum class Encoding { Bytes, Utf16LittleEndian, Utf16BigEndian };
    // Where the text between two '<' stands: before the first '<'; just after a '<'; after "<!";
    // in text whose '=' are counted; in a markup declaration; in anything else.
    enum class Run { Start, Open, Bang, Counted, Declaration, Other };
    enum class Prolog { Open, Declaration, Done };

    bool detectEncoding(std::string_view head);
    bool take(std::uint32_t character);
    bool takeBytes(const unsigned char *next, const unsigned char *end);
    bool takeProlog(std::uint32_t character);
    bool checkDeclaredEncoding();
    void startRun();
    bool refuse(std::string reason);

    bool m_started = false;
    Encoding m_encoding = Encoding::Bytes;
    std::size_t m_markBytes = 0; // of the byte order mark, still to pass over
    int m_halfUnit = -1;         // first byte of a 16-bit unit that a chunk cut in two
    Prolog m_prolog = Prolog::Open;
    std::string m_declaration; // the XML declaration, while it is read
    Run m_run = Run::Start;
    bool m_afterName = false; // the last character but blanks can end a name
    int m_attributes = 0;     // of the current run
    int m_declarationQuotes = 0;
    std::string m_reason;
};

} // namespace configstore
