#pragma once
// The one rule for text that the configuration store keeps: shared by the store, which refuses
// such text at every write, and by the service, which refuses it where a client hands it in, so
// that a site in memory can always be saved.

#include <cstddef>
#include <cstdint>
#include <string_view>

// The longest text or attribute value that libxml2 reads back (XML_MAX_TEXT_LENGTH, its bound
// without XML_PARSE_HUGE): the import refuses a file that holds a longer one.
inline constexpr std::size_t kMaxXmlTextBytes = 10000000;

// Why `text` cannot be kept in a site file, in words for a trace line; null when it can. It must
// be UTF-8 (strict: shortest forms only, as the XML parser demands when the file is read) made
// only of characters that an XML file can hold, and at most kMaxXmlTextBytes long. Control
// characters other than tab and line ends, NUL, surrogates, U+FFFE and U+FFFF cannot be written so
// that the file still parses, so a site holding one could never be imported again.
[[nodiscard]] const char *XmlTextFault(std::string_view text);
[[nodiscard]] inline bool IsXmlText(std::string_view text)
{
    return XmlTextFault(text) == nullptr;
}

// Whether `text` is strict UTF-8 (shortest forms only) made only of characters that `allowed`
// accepts; the rule above is one use of it.
[[nodiscard]] bool IsUtf8Where(std::string_view text, bool (*allowed)(std::uint32_t character));
