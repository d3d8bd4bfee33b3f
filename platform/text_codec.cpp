#include "text_codec.h"

#include <cerrno>
#include <iconv.h>

namespace {

// iconv descriptors carry conversion state, so each conversion opens its own; opening is cheap
// next to the texts' lifetime, and this keeps the functions callable from any thread.
class IconvHandle
{
public:
    IconvHandle(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~IconvHandle()
    {
        if (valid())
            iconv_close(m_cd);
    }
    IconvHandle(const IconvHandle &) = delete;
    IconvHandle &operator=(const IconvHandle &) = delete;

    [[nodiscard]] bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    [[nodiscard]] iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

void appendUtf8(std::string &out, unsigned codePoint)
{
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

// Length of the valid UTF-8 sequence at the start of `s`, or 0 when it is not valid.
std::size_t utf8SequenceLength(std::string_view s)
{
    const auto b0 = static_cast<unsigned char>(s[0]);
    std::size_t len = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || len > s.size())
        return 0;
    for (std::size_t i = 1; i < len; ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            return 0;
    }
    return len;
}

// Runs iconv over `in`; on a sequence it cannot convert, `onInvalid` appends a substitute and
// returns how many input bytes it consumed.
template <typename OnInvalid>
std::string convert(const char *to, const char *from, std::string_view in, OnInvalid onInvalid)
{
    std::string out;
    IconvHandle cd(to, from);
    if (!cd.valid())
        return std::string(in);
    out.reserve(in.size() * 2);
    char buffer[256];
    std::size_t pos = 0;
    while (pos < in.size()) {
        char *inPtr = const_cast<char *>(in.data() + pos);
        std::size_t inLeft = in.size() - pos;
        char *outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        const int err = errno;
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        pos = in.size() - inLeft;
        if (rc != static_cast<std::size_t>(-1))
            continue;
        if (err == E2BIG)
            continue;
        // EILSEQ or EINVAL (a sequence cut at the end): substitute and move on.
        pos += onInvalid(out, in.substr(pos));
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

} // namespace

std::string Cp1252ToUtf8(std::string_view cp1252)
{
    return convert("UTF-8", "CP1252", cp1252, [](std::string &out, std::string_view rest) {
        appendUtf8(out, static_cast<unsigned char>(rest[0]));
        return std::size_t{1};
    });
}

std::string Utf8ToCp1252(std::string_view utf8)
{
    return convert("CP1252", "UTF-8", utf8, [](std::string &out, std::string_view rest) {
        const std::size_t len = utf8SequenceLength(rest);
        if (len == 2) {
            // The C1 controls that Cp1252ToUtf8 made of the undefined bytes go back unchanged.
            const unsigned cp = ((static_cast<unsigned char>(rest[0]) & 0x1Fu) << 6)
                                | (static_cast<unsigned char>(rest[1]) & 0x3Fu);
            if (cp == 0x81 || cp == 0x8D || cp == 0x8F || cp == 0x90 || cp == 0x9D) {
                out.push_back(static_cast<char>(cp));
                return len;
            }
        }
        out.push_back('?');
        return len == 0 ? std::size_t{1} : len;
    });
}

std::string_view Utf8Prefix(std::string_view utf8, std::size_t maxBytes)
{
    if (utf8.size() <= maxBytes)
        return utf8;
    const auto continuation = [&](std::size_t i) {
        return (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80;
    };
    // Step back over the continuation bytes of the character that would be split, at most as
    // many as one character has: a longer run is not UTF-8 and is cut where it stands, rather
    // than eating the whole text.
    std::size_t end = maxBytes;
    while (end > 0 && continuation(end) && maxBytes - end < 3)
        --end;
    if (continuation(end))
        return utf8.substr(0, maxBytes);
    return utf8.substr(0, end);
}
