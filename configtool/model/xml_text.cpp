#include "configtool/model/xml_text.h"

#include <algorithm>
#include <array>

namespace configtool::xml {

namespace {

// Code points of Windows-1252 bytes 0x80-0x9F; 0 where the byte is undefined.
constexpr std::array<std::uint16_t, 32> kHighControls
    = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
       0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
       0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// The length a leading byte announces: 1 for ASCII and for a stray continuation byte.
constexpr std::size_t announcedLength(unsigned char b)
{
    if (b < 0xC0)
        return 1;
    if (b < 0xE0)
        return 2;
    if (b < 0xF0)
        return 3;
    if (b < 0xF8)
        return 4;
    if (b < 0xFC)
        return 5;
    return b < 0xFE ? 6 : 1;
}

} // namespace

char codePointToCp1252(std::uint32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    if (codePoint <= 0x9F) {
        // Only the five undefined bytes stand for their own control character.
        return kHighControls[codePoint - 0x80] == 0 ? static_cast<char>(codePoint) : kUnmappable;
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint)
            return static_cast<char>(0x80 + i);
    }
    return kUnmappable;
}

std::string utf8ToCp1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        const std::size_t length = announcedLength(lead);
        const std::size_t available = std::min(length, utf8.size() - i);
        bool valid = length >= 2 && length <= 3 && available == length;
        std::uint32_t codePoint = length == 2 ? lead & 0x1Fu : lead & 0x0Fu;
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto b = static_cast<unsigned char>(utf8[i + k]);
            valid = isContinuation(b);
            codePoint = (codePoint << 6) | (b & 0x3Fu);
        }
        if (valid) {
            const bool overlong
                = (length == 2 && codePoint < 0x80) || (length == 3 && codePoint < 0x800);
            const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
            valid = !overlong && !surrogate;
        }
        out.push_back(valid ? codePointToCp1252(codePoint) : kUnmappable);
        i += available;
    }
    return out;
}

void appendCharacter(std::string &out, std::uint32_t codePoint, bool utf8)
{
    if (codePoint == 0)
        return;
    if (!utf8) {
        // A single-byte document writes byte values below 256 as the bytes themselves.
        out.push_back(codePoint <= 0xFF ? static_cast<char>(codePoint)
                                        : codePointToCp1252(codePoint));
        return;
    }
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
        return;
    }
    if (codePoint > 0xFFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        // No three-byte form: the translation would make it kUnmappable anyway.
        out.push_back(kUnmappable);
        return;
    }
    if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    }
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
}

std::string collapseWhitespace(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    bool pendingBlank = false;
    for (const char c : text) {
        if (isSpace(c)) {
            pendingBlank = !out.empty();
            continue;
        }
        if (pendingBlank)
            out.push_back(' ');
        pendingBlank = false;
        out.push_back(c);
    }
    return out;
}

void blankControlWhitespace(std::string &text)
{
    for (char &c : text) {
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    }
}

} // namespace configtool::xml
