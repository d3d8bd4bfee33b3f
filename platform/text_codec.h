#pragma once
// Text of the unit and of the settings files is Windows-1252; the components work in UTF-8.
//
// Both conversions are total: every input gives an output. The five byte values that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) read as the control characters
// of the same number, as Windows reads them, so that no byte from the unit is lost. Characters
// that Windows-1252 cannot hold, and bytes that are not valid UTF-8, are written as '?', the
// replacement Windows uses.

#include <string>
#include <string_view>

[[nodiscard]] std::string Cp1252ToUtf8(std::string_view cp1252);
[[nodiscard]] std::string Utf8ToCp1252(std::string_view utf8);

// The longest prefix of `utf8` that is at most `maxBytes` long and does not end inside a
// multi-byte character.
[[nodiscard]] std::string_view Utf8Prefix(std::string_view utf8, std::size_t maxBytes);
