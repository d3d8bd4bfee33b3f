#pragma once
// Byte-level text helpers of the XML scanner. The scanner's text is single-byte Windows-1252;
// a document declared "UTF-8" is translated to it. Every function is total: any bytes in give
// bytes out, and nothing reads past the end of its input.

#include <cstdint>
#include <string>
#include <string_view>

namespace configtool::xml {

// Tab, line feed, carriage return and blank.
[[nodiscard]] constexpr bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The byte that stands for a character Windows-1252 cannot show (an inverted question mark).
inline constexpr char kUnmappable = static_cast<char>(0xBF);

// The Windows-1252 byte of a code point: 0x00-0x7F and 0xA0-0xFF as they are, the 27 letters
// and signs of 0x80-0x9F by their code points (the euro sign is 0x80), and the five bytes that
// Windows-1252 leaves undefined as the control characters of the same number; kUnmappable for
// every other code point.
[[nodiscard]] char codePointToCp1252(std::uint32_t codePoint);

// Decodes UTF-8 sequences of one to three bytes and writes each character as its Windows-1252
// byte. A sequence that is broken, overlong, a surrogate or longer than three bytes becomes one
// kUnmappable; its length is taken from its leading byte.
[[nodiscard]] std::string utf8ToCp1252(std::string_view utf8);

// Appends the character `codePoint` as the document writes it: UTF-8 when `utf8` is set (so the
// later translation maps it like any other character), else the byte itself below 256 and the
// Windows-1252 byte above. Code point 0 appends nothing: a NUL inside a name or value would cut it
// short in every later reader.
void appendCharacter(std::string &out, std::uint32_t codePoint, bool utf8);

// Collapses runs of whitespace to one blank and removes whitespace at both ends.
[[nodiscard]] std::string collapseWhitespace(std::string_view text);

// Every tab, line feed and carriage return becomes a blank.
void blankControlWhitespace(std::string &text);

} // namespace configtool::xml
