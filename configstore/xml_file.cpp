#include "xml_file.h"

#include "platform/replace_file.h"
#include "platform/unique_fd.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <cerrno>
#include <limits>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace configstore {

namespace {

// The file as the parser reads it, in the chunks it asks for, so that no copy of the whole file
// is held beside the parser's own.
struct FileSource
{
    int fd = -1;
    bool failed = false;
};

int readChunk(void *context, char *buffer, int length)
{
    auto *source = static_cast<FileSource *>(context);
    for (;;) {
        const ssize_t n = ::read(source->fd, buffer, static_cast<std::size_t>(length));
        if (n >= 0)
            return static_cast<int>(n);
        if (errno != EINTR) {
            source->failed = true;
            return -1;
        }
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

HRESULT ReadSiteFile(const std::string &path, xmlDictPtr dictionary, UniqueDoc *document)
{
    // Only regular files: a device or a pipe chosen by mistake (/dev/zero) would never end.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status{};
    if (!fd.valid() || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return STG_E_FILENOTFOUND;
    if (status.st_size > std::numeric_limits<int>::max())
        return E_ABORT;
    std::unique_ptr<xmlParserCtxt, ParserDeleter> context(xmlNewParserCtxt());
    if (!context)
        return E_FAIL;
    // The parser interns into the target's dictionary instead of its own, so the parsed nodes can
    // outlive this document. The parser's own limit holds for what this one file adds; the store's
    // builders are never refused for a name afterwards.
    xmlDictFree(context->dict);
    context->dict = dictionary;
    xmlDictReference(dictionary);
    const std::size_t usedBefore = xmlDictGetUsage(dictionary);
    xmlDictSetLimit(dictionary, usedBefore + XML_MAX_DICTIONARY_LIMIT);
    // No XML_PARSE_NOENT, XML_PARSE_DTDLOAD, XML_PARSE_DTDATTR or XML_PARSE_XINCLUDE: nothing
    // outside the file is ever read.
    constexpr int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    FileSource source{fd.get()};
    UniqueDoc parsed(xmlCtxtReadIO(context.get(), readChunk, nullptr, &source, nullptr, nullptr, options));
    xmlDictSetLimit(dictionary, 0);
    if (source.failed)
        return STG_E_FILENOTFOUND;
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
