#include "site_file_scan.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <initializer_list>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace configstore {

namespace {

// Longer than any real XML declaration; one that does not end by then is refused rather than
// followed further.
constexpr std::size_t kMaxDeclarationLength = 256;

bool isBlank(std::uint32_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isAsciiLetter(std::uint32_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Whether `c` may be the last character of a name. Every character outside ASCII may be: a byte
// of a UTF-8 sequence or a 16-bit unit stands for one that may.
bool canEndName(std::uint32_t c)
{
    return isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == ':' || c == '.' || c == '-'
           || c >= 0x80;
}

// The first '<' or '=' from `from` on, or `end`: most of a file lies between them.
const unsigned char *findTagMark(const unsigned char *from, const unsigned char *end)
{
#if defined(__SSE2__)
    const __m128i open = _mm_set1_epi8('<');
    const __m128i equals = _mm_set1_epi8('=');
    for (; end - from >= 16; from += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from));
        const int found
            = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, open), _mm_cmpeq_epi8(block, equals)));
        if (found != 0)
            return from + __builtin_ctz(static_cast<unsigned>(found));
    }
#endif
    while (from < end && *from != '<' && *from != '=')
        ++from;
    return from;
}

std::string lowerCase(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// Encodings in which every ASCII character is its own byte, and no byte of another character is
// an ASCII byte.
bool isAsciiByteEncoding(const std::string &name)
{
    static constexpr std::array<std::string_view, 5> kNames
        = {"utf-8", "utf8", "us-ascii", "ascii", "latin1"};
    if (std::find(kNames.begin(), kNames.end(), name) != kNames.end())
        return true;
    const auto numbered = [&](std::string_view prefix, int first, int last) {
        if (!name.starts_with(prefix))
            return false;
        const std::string number = name.substr(prefix.size());
        const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
        if (number.empty() || number.size() > 2 || !std::all_of(number.begin(), number.end(), isDigit)
            || number.front() == '0')
            return false;
        const int n = std::stoi(number);
        return n >= first && n <= last;
    };
    // ISO-8859-12 was never published.
    return (numbered("iso-8859-", 1, 16) && name != "iso-8859-12") || numbered("windows-125", 0, 8)
           || numbered("cp125", 0, 8);
}

} // namespace

bool SiteFileScan::refuse(std::string reason)
{
    if (m_reason.empty())
        m_reason = std::move(reason);
    return false;
}

bool SiteFileScan::feed(std::string_view bytes)
{
    if (!m_reason.empty())
        return false;
    if (!m_started) {
        m_started = true;
        if (!detectEncoding(bytes.substr(0, 4)))
            return false;
    }
    const auto *next = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = next + bytes.size();
    for (; next < end; ++next) {
        if (m_markBytes > 0) {
            --m_markBytes;
            continue;
        }
        if (m_encoding == Encoding::Bytes) {
            if (m_prolog == Prolog::Done)
                return takeBytes(next, end);
            if (!take(*next))
                return false;
            continue;
        }
        if (m_halfUnit < 0) {
            m_halfUnit = *next;
            continue;
        }
        const auto first = static_cast<std::uint32_t>(m_halfUnit);
        m_halfUnit = -1;
        if (!take(m_encoding == Encoding::Utf16LittleEndian ? first | (*next << 8U) : (first << 8U) | *next))
            return false;
    }
    return true;
}

// take() over a run of bytes, skipping at once to what matters in the runs that a file is
// mostly made of: the next '<' outside counted runs, the next '<' or '=' in them.
bool SiteFileScan::takeBytes(const unsigned char *next, const unsigned char *end)
{
    while (next < end) {
        if (m_run == Run::Start || m_run == Run::Other) {
            const auto *open = static_cast<const unsigned char *>(
                std::memchr(next, '<', static_cast<std::size_t>(end - next)));
            if (m_run == Run::Other && !noteText(next, open == nullptr ? end : open))
                return false;
            if (open == nullptr)
                return true;
            next = open + 1;
            startRun();
            continue;
        }
        if (m_run != Run::Counted) {
            if (!take(*next++))
                return false;
            continue;
        }
        const unsigned char *stop = findTagMark(next, end);
        if (!noteText(next, stop))
            return false;
        // Blanks aside, the byte before an '=' decides.
        for (const unsigned char *last = stop; last > next;) {
            if (!isBlank(*--last)) {
                m_afterName = canEndName(*last);
                break;
            }
        }
        if (stop == end)
            return true;
        if (!take(*stop))
            return false;
        next = stop + 1;
    }
    return true;
}

// What take() makes of a span of the run without '<' or '=', as far as the run's text node goes:
// it is counted once some character follows a '>'.
bool SiteFileScan::noteText(const unsigned char *from, const unsigned char *to)
{
    if (from == to || m_textCounted)
        return true;
    if (!m_closed) {
        const void *close = std::memchr(from, '>', static_cast<std::size_t>(to - from));
        if (close == nullptr)
            return true;
        m_closed = true;
        if (static_cast<const unsigned char *>(close) + 1 == to)
            return true;
    }
    m_textCounted = true;
    return addNodes(1);
}

bool SiteFileScan::detectEncoding(std::string_view head)
{
    // libxml2 looks at the first four bytes only when there are four.
    if (head.size() < 4)
        return true;
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(head[i]); };
    const auto starts = [&](std::initializer_list<unsigned char> prefix) {
        std::size_t i = 0;
        for (const unsigned char b : prefix) {
            if (at(i++) != b)
                return false;
        }
        return true;
    };
    if (starts({0x00, 0x00, 0x00, 0x3C}) || starts({0x3C, 0x00, 0x00, 0x00})
        || starts({0x00, 0x00, 0x3C, 0x00}) || starts({0x00, 0x3C, 0x00, 0x00}))
        return refuse("the file is in UCS-4, which site files are not read in");
    if (starts({0x4C, 0x6F, 0xA7, 0x94}))
        return refuse("the file is in EBCDIC, which site files are not read in");
    if (starts({0x3C, 0x00, 0x3F, 0x00})) {
        m_encoding = Encoding::Utf16LittleEndian;
    } else if (starts({0x00, 0x3C, 0x00, 0x3F})) {
        m_encoding = Encoding::Utf16BigEndian;
    } else if (starts({0xEF, 0xBB, 0xBF})) {
        m_markBytes = 3;
    } else if (starts({0xFE, 0xFF})) {
        m_encoding = Encoding::Utf16BigEndian;
        m_markBytes = 2;
    } else if (starts({0xFF, 0xFE})) {
        m_encoding = Encoding::Utf16LittleEndian;
        m_markBytes = 2;
    }
    return true;
}

void SiteFileScan::startRun()
{
    m_run = Run::Open;
    m_attributes = 0;
    m_afterName = false;
    m_closed = false;
    m_textCounted = false;
}

bool SiteFileScan::addNodes(std::uint64_t count)
{
    m_nodes += count;
    if (m_nodes <= m_nodeBudget)
        return true;
    return refuse("it holds more nodes than its size allows: over " + std::to_string(m_nodeBudget)
                  + " (" + std::to_string(kNodesInAnyFile) + " and one per "
                  + std::to_string(kBytesPerNode) + " bytes)");
}

bool SiteFileScan::take(std::uint32_t c)
{
    if (m_prolog != Prolog::Done && !takeProlog(c))
        return false;
    if (c == '<') {
        startRun();
        return true;
    }
    if (m_run != Run::Start && !m_textCounted) {
        if (m_closed) {
            m_textCounted = true;
            if (!addNodes(1))
                return false;
        } else if (c == '>') {
            m_closed = true;
        }
    }
    switch (m_run) {
    case Run::Start:
    case Run::Other:
        return true;
    case Run::Open:
        return takeOpening(c);
    case Run::Bang:
        if (!isAsciiLetter(c)) {
            m_run = Run::Other; // a comment or a CDATA section
            return addNodes(2);
        }
        m_run = c == 'A' ? Run::AttributeList : Run::Declaration;
        return takeDeclaration(c);
    case Run::Declaration:
    case Run::AttributeList:
        return takeDeclaration(c);
    case Run::Counted:
        break;
    }
    if (c == '=') {
        if (m_afterName && ++m_attributes > kMaxAttributesPerElement)
            return refuse("an element has more than " + std::to_string(kMaxAttributesPerElement)
                          + " attributes");
        if (m_afterName && !addNodes(2))
            return false;
        m_afterName = false;
    } else if (!isBlank(c)) {
        m_afterName = canEndName(c);
    }
    return true;
}

// The character just after a '<'.
bool SiteFileScan::takeOpening(std::uint32_t c)
{
    if (c == '!') {
        m_run = Run::Bang;
        return true;
    }
    if (c == '/') {
        m_run = Run::Other;
        return true;
    }
    if (c == '?') {
        m_run = Run::Other;
        return addNodes(2);
    }
    // An element, whatever the character: it carries every default that the file declares.
    m_run = Run::Counted;
    m_afterName = canEndName(c);
    return addNodes(1 + static_cast<std::uint64_t>((m_defaultQuotes + 1) / 2));
}

bool SiteFileScan::takeDeclaration(std::uint32_t c)
{
    if (++m_declarationCharacters > kMaxDeclarationCharacters)
        return refuse("its markup declarations run to more than "
                      + std::to_string(kMaxDeclarationCharacters) + " characters");
    if (c != '"' && c != '\'')
        return true;
    if (m_run == Run::AttributeList)
        ++m_defaultQuotes;
    if (++m_declarationQuotes > 2 * kMaxDeclaredValues)
        return refuse("its markup declarations hold more than " + std::to_string(kMaxDeclaredValues)
                      + " quoted values");
    return true;
}

// Gathers the XML declaration, which libxml2 takes only at the very start ("<?xml" and a
// blank), and checks the encoding it names once it is whole.
bool SiteFileScan::takeProlog(std::uint32_t c)
{
    m_declaration.push_back(c < 0x80 ? static_cast<char>(c) : '\x01');
    constexpr std::string_view kOpening = "<?xml";
    if (m_prolog == Prolog::Open) {
        if (m_declaration.size() <= kOpening.size()) {
            if (m_declaration.back() != kOpening[m_declaration.size() - 1])
                m_prolog = Prolog::Done;
            return true;
        }
        m_prolog = isBlank(c) ? Prolog::Declaration : Prolog::Done;
        return true;
    }
    if (m_declaration.ends_with("?>")) {
        m_prolog = Prolog::Done;
        return checkDeclaredEncoding();
    }
    if (m_declaration.size() > kMaxDeclarationLength)
        return refuse("its XML declaration does not end within " + std::to_string(kMaxDeclarationLength)
                      + " characters");
    return true;
}

bool SiteFileScan::checkDeclaredEncoding()
{
    constexpr std::string_view kKeyword = "encoding";
    // Every place that may name an encoding is checked, so that the scan never reads the
    // declaration differently from libxml2 in a way that matters.
    for (std::size_t at = m_declaration.find(kKeyword); at != std::string::npos;
         at = m_declaration.find(kKeyword, at + 1)) {
        std::size_t i = at + kKeyword.size();
        while (i < m_declaration.size() && isBlank(static_cast<unsigned char>(m_declaration[i])))
            ++i;
        if (i >= m_declaration.size() || m_declaration[i] != '=')
            continue;
        ++i;
        while (i < m_declaration.size() && isBlank(static_cast<unsigned char>(m_declaration[i])))
            ++i;
        const char quote = i < m_declaration.size() ? m_declaration[i] : '\0';
        const std::size_t end
            = quote == '"' || quote == '\'' ? m_declaration.find(quote, i + 1) : std::string::npos;
        if (end == std::string::npos)
            return refuse("its XML declaration names no readable encoding");
        const std::string name = lowerCase(std::string_view(m_declaration).substr(i + 1, end - i - 1));
        const bool known
            = m_encoding == Encoding::Bytes
                  ? isAsciiByteEncoding(name)
                  : name == "utf-16" || name == "utf16"
                        || name == (m_encoding == Encoding::Utf16LittleEndian ? "utf-16le" : "utf-16be");
        if (!known)
            return refuse("it is in the encoding \"" + m_declaration.substr(i + 1, end - i - 1)
                          + "\", which site files are not read in");
    }
    return true;
}

} // namespace configstore
