#include "wide_text.h"

#include <algorithm>

namespace recorder_bridge {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// The length of the UTF-8 sequence that `lead` opens, 0 for a byte that cannot open one.
int SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

} // namespace

std::wstring WideFromUtf8(std::string_view utf8)
{
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::wstring(utf8.begin(), utf8.end()); // receipts are mostly ASCII

    std::wstring wide(utf8.size(), L'\0');
    std::size_t out = 0;
    std::size_t i = 0;
    const auto put = [&](wchar_t c) { wide[out++] = c; };
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = SequenceLength(lead);
        if (length == 1) {
            put(static_cast<wchar_t>(lead));
            ++i;
            continue;
        }
        if (length == 0 || i + static_cast<std::size_t>(length) > utf8.size()) {
            put(kReplacement);
            ++i;
            continue;
        }
        char32_t code = lead & (0x7F >> length);
        bool valid = true;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            valid = valid && (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        const char32_t minimum = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (!valid || code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            put(kReplacement);
            ++i;
            continue;
        }
        put(static_cast<wchar_t>(code));
        i += static_cast<std::size_t>(length);
    }
    wide.resize(out); // never longer than the bytes it came from
    return wide;
}

std::string Utf8FromWide(std::wstring_view wide)
{
    // Receipts are mostly ASCII: copy the ASCII run in one pass, encode from its end on.
    std::string utf8(wide.size(), '\0');
    std::size_t ascii = 0;
    for (; ascii < wide.size() && static_cast<char32_t>(wide[ascii]) < 0x80; ++ascii)
        utf8[ascii] = static_cast<char>(wide[ascii]);
    if (ascii == wide.size())
        return utf8;
    utf8.resize(ascii);
    for (wchar_t c : wide.substr(ascii)) {
        auto code = static_cast<char32_t>(c);
        if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            code = kReplacement;
        if (code < 0x80) {
            utf8.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            utf8.push_back(static_cast<char>(0xC0 | (code >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            utf8.push_back(static_cast<char>(0xE0 | (code >> 12)));
            utf8.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            utf8.push_back(static_cast<char>(0xF0 | (code >> 18)));
            utf8.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return utf8;
}

} // namespace recorder_bridge
