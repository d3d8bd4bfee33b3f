#include "xml_file.h"

#include "platform/replace_file.h"
#include "platform/unique_fd.h"

#include <libxml/parser.h>

#include <cerrno>
#include <limits>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace configstore {

namespace {

enum class ReadResult { Read, Unreadable, TooLarge };

// Only regular files: a device or a pipe chosen by mistake (/dev/zero) would never end.
ReadResult readWholeFile(const std::string &path, std::string *data)
{
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status{};
    if (!fd.valid() || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return ReadResult::Unreadable;
    constexpr std::size_t largest = static_cast<std::size_t>(std::numeric_limits<int>::max());
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n == 0)
            return ReadResult::Read;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return ReadResult::Unreadable;
        }
        if (data->size() + static_cast<std::size_t>(n) > largest)
            return ReadResult::TooLarge;
        data->append(buffer, static_cast<std::size_t>(n));
    }
}

struct OutputDeleter
{
    void operator()(xmlOutputBufferPtr out) const { xmlOutputBufferClose(out); }
};

HRESULT replaceFile(const std::string &path, const xmlChar *text, std::size_t size)
{
    const int err = ReplaceFileContents(path, std::string_view(reinterpret_cast<const char *>(text), size));
    return err == 0 ? S_OK : ResultFromErrno(err);
}

struct ParserDeleter
{
    void operator()(xmlParserCtxtPtr context) const { xmlFreeParserCtxt(context); }
};

} // namespace

HRESULT ReadSiteFile(const std::string &path, UniqueDoc *document)
{
    std::string data;
    switch (readWholeFile(path, &data)) {
    case ReadResult::Read:
        break;
    case ReadResult::Unreadable:
        return STG_E_FILENOTFOUND;
    case ReadResult::TooLarge:
        return E_ABORT;
    }
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
    return replaceFile(path, text, static_cast<std::size_t>(size));
}

HRESULT WriteSiteFile(xmlNodePtr site, const std::string &path)
{
    const std::unique_ptr<xmlOutputBuffer, OutputDeleter> out(xmlAllocOutputBuffer(nullptr));
    if (!out)
        return E_FAIL;
    xmlOutputBufferWriteString(out.get(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CONFIG>\n  ");
    xmlNodeDumpOutput(out.get(), site->doc, site, 1, 1, "UTF-8");
    xmlOutputBufferWriteString(out.get(), "\n</CONFIG>\n");
    if (out->error != 0 || xmlOutputBufferGetContent(out.get()) == nullptr)
        return E_FAIL;
    return replaceFile(path, xmlOutputBufferGetContent(out.get()), xmlOutputBufferGetSize(out.get()));
}

} // namespace configstore
