#pragma once
// The one rule for text that the configuration store keeps: shared by the store, which refuses
// such text at every write, and by the service, which refuses it where a client hands it in, so
// that a site in memory can always be saved.

#include <cstdint>
#include <string_view>

// Whether `text` is UTF-8 (strict: shortest forms only, as the XML parser demands when the file
// is read) made only of characters that an XML file can hold. Control characters other than tab
// and line ends, NUL, surrogates, U+FFFE and U+FFFF cannot be written so that the file still
// parses, so a site holding one could never be imported again.
[[nodiscard]] bool IsXmlText(std::string_view text);

// Whether `text` is strict UTF-8 (shortest forms only) made only of characters that `allowed`
// accepts; the rule above is one use of it.
[[nodiscard]] bool IsUtf8Where(std::string_view text, bool (*allowed)(std::uint32_t character));
