#include "xml_text.h"

#include <cstddef>
#include <cstdint>

namespace {

// The Char production of XML 1.0.
bool isXmlChar(std::uint32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

const char *XmlTextFault(std::string_view text)
{
    if (text.size() > kMaxXmlTextBytes)
        return "it is longer than 10,000,000 bytes, more than libxml2 reads back as one text";
    if (!IsUtf8Where(text, isXmlChar))
        return "it is not UTF-8 made of characters that an XML file can hold";
    return nullptr;
}

bool IsUtf8Where(std::string_view text, bool (*allowed)(std::uint32_t character))
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                                                 : lead >= 0xF0 && lead < 0xF5    ? 4
                                                                                  : 0;
        if (length == 0 || text.size() - i < length)
            return false;
        std::uint32_t c = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (next & 0x3Fu);
        }
        constexpr std::uint32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < shortest[length] || !allowed(c))
            return false;
        i += length;
    }
    return true;
}
