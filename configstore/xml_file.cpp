#include "xml_file.h"

#include "platform/replace_file.h"

#include <libxml/parser.h>

#include <cerrno>
#include <limits>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace configstore {

namespace {

bool readWholeFile(const std::string &path, std::string *data)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        data->append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ok;
}

struct ParserDeleter
{
    void operator()(xmlParserCtxtPtr context) const { xmlFreeParserCtxt(context); }
};

} // namespace

HRESULT ReadSiteFile(const std::string &path, UniqueDoc *document)
{
    std::string data;
    if (!readWholeFile(path, &data))
        return STG_E_FILENOTFOUND;
    if (data.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return E_ABORT;
    std::unique_ptr<xmlParserCtxt, ParserDeleter> context(xmlNewParserCtxt());
    if (!context)
        return E_FAIL;
    // No XML_PARSE_NOENT, XML_PARSE_DTDLOAD, XML_PARSE_DTDATTR or XML_PARSE_XINCLUDE: nothing
    // outside the file is ever read. Names are not shared through a dictionary, so that nodes
    // outlive this document safely when copied out of it.
    constexpr int options = XML_PARSE_NONET | XML_PARSE_NODICT | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    UniqueDoc parsed(xmlCtxtReadMemory(context.get(), data.data(), static_cast<int>(data.size()), nullptr,
                                       nullptr, options));
    if (!parsed || !context->wellFormed || !context->nsWellFormed)
        return E_ABORT;
    *document = std::move(parsed);
    return S_OK;
}

HRESULT WriteConfigFile(xmlDocPtr document, const std::string &path)
{
    xmlChar *text = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(document, &text, &size, "UTF-8", 1);
    if (text == nullptr)
        return E_FAIL;
    const std::unique_ptr<xmlChar, decltype(xmlFree)> owner(text, xmlFree);
    const int err = ReplaceFileContents(path, std::string_view(reinterpret_cast<const char *>(text),
                                                               static_cast<std::size_t>(size)));
    return err == 0 ? S_OK : ResultFromErrno(err);
}

} // namespace configstore
