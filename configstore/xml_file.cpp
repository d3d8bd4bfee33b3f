#include "xml_file.h"

#include "site_file_scan.h"

#include "platform/regular_file.h"
#include "platform/replace_file.h"
#include "platform/unique_fd.h"
#include "platform/xml_parse_errors.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <cerrno>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace configstore {

namespace {

// The file as the parser reads it, in the chunks it asks for, so that no copy of the whole file
// is held beside the parser's own; each chunk is counted and scanned before the parser has it,
// and none is given once the parser has found the file malformed.
struct FileSource
{
    FileSource(int file, std::uint64_t bytes) : fd(file), scan(bytes) {}

    int fd = -1;
    const XmlParseErrors *errors = nullptr;
    std::uint64_t delivered = 0;
    int readError = 0;
    bool tooLarge = false;
    SiteFileScan scan;
};

int readChunk(void *context, char *buffer, int length)
{
    auto *source = static_cast<FileSource *>(context);
    if (source->errors->malformed())
        return -1;
    // Filled whole, short only at the end of the file: the first chunk then holds the four bytes
    // from which the parser and the scan both take the encoding.
    std::size_t filled = 0;
    const auto wanted = static_cast<std::size_t>(length);
    while (filled < wanted) {
        const ssize_t n = ::read(source->fd, buffer + filled, wanted - filled);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            source->readError = errno;
            return -1;
        }
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    source->delivered += filled;
    // A file that grew while it was read is held to the bound as well.
    if (source->delivered > kMaxSiteFileBytes) {
        source->tooLarge = true;
        return -1;
    }
    if (!source->scan.feed(std::string_view(buffer, filled)))
        return -1;
    return static_cast<int>(filled);
}

struct OutputDeleter
{
    void operator()(xmlOutputBufferPtr out) const { xmlOutputBufferClose(out); }
};

HRESULT replaceFile(const std::string &path, const xmlChar *text, std::size_t size, std::string *failure)
{
    const int err = ReplaceFileContents(path, std::string_view(reinterpret_cast<const char *>(text), size));
    if (err == 0)
        return S_OK;
    if (failure)
        *failure = DescribeFileError(err);
    return ResultFromErrno(err);
}

struct ParserDeleter
{
    void operator()(xmlParserCtxtPtr context) const { xmlFreeParserCtxt(context); }
};

std::string tooLargeText()
{
    return "the file is larger than " + std::to_string(kMaxSiteFileBytes >> 20U) + " MiB";
}

} // namespace

HRESULT ReadSiteFile(const std::string &path, xmlDictPtr dictionary, UniqueDoc *document,
                     std::string *failure)
{
    // Only regular files: a device or a pipe chosen by mistake (/dev/zero) would never end.
    int openError = 0;
    const UniqueFd fd = OpenRegularFile(path, &openError);
    if (!fd.valid()) {
        *failure = DescribeFileError(openError);
        return STG_E_FILENOTFOUND;
    }
    struct stat status{};
    if (::fstat(fd.get(), &status) != 0) {
        *failure = DescribeFileError(errno);
        return STG_E_FILENOTFOUND;
    }
    if (static_cast<std::uint64_t>(status.st_size) > kMaxSiteFileBytes) {
        *failure = tooLargeText();
        return E_ABORT;
    }
    std::unique_ptr<xmlParserCtxt, ParserDeleter> context(xmlNewParserCtxt());
    if (!context)
        return E_FAIL;
    // The parser interns into the target's dictionary instead of its own, so the parsed nodes can
    // outlive this document. The parser's own limit holds for what this one file adds; the store's
    // builders are never refused for a name afterwards.
    xmlDictFree(context->dict);
    context->dict = dictionary;
    xmlDictReference(dictionary);
    // A reference to an entity declared in the file then finds none and fails the parse, as a
    // site that refers to one is refused anyway.
    context->sax->entityDecl = nullptr;
    context->sax->unparsedEntityDecl = nullptr;
    const std::size_t usedBefore = xmlDictGetUsage(dictionary);
    xmlDictSetLimit(dictionary, usedBefore + XML_MAX_DICTIONARY_LIMIT);
    // No XML_PARSE_NOENT, XML_PARSE_DTDLOAD, XML_PARSE_DTDATTR or XML_PARSE_XINCLUDE: nothing
    // outside the file is ever read.
    constexpr int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    UniqueDoc parsed;
    FileSource source(fd.get(), static_cast<std::uint64_t>(status.st_size));
    std::string parseError;
    {
        const XmlParseErrors errors;
        source.errors = &errors;
        parsed.reset(xmlCtxtReadIO(context.get(), readChunk, nullptr, &source, nullptr, nullptr, options));
        parseError = errors.first();
    }
    xmlDictSetLimit(dictionary, 0);
    if (source.readError != 0) {
        *failure = DescribeFileError(source.readError);
        return STG_E_FILENOTFOUND;
    }
    if (source.tooLarge) {
        *failure = tooLargeText();
        return E_ABORT;
    }
    if (!source.scan.reason().empty()) {
        *failure = source.scan.reason();
        return E_ABORT;
    }
    if (!parsed || !context->wellFormed || !context->nsWellFormed) {
        *failure = parseError.empty() ? "it is not well-formed XML" : parseError;
        return E_ABORT;
    }
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
    return replaceFile(path, text, static_cast<std::size_t>(size), nullptr);
}

HRESULT WriteSiteFile(xmlNodePtr site, const std::string &path, std::string *failure)
{
    const std::unique_ptr<xmlOutputBuffer, OutputDeleter> out(xmlAllocOutputBuffer(nullptr));
    if (!out)
        return E_FAIL;
    xmlOutputBufferWriteString(out.get(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CONFIG>\n  ");
    xmlNodeDumpOutput(out.get(), site->doc, site, 1, 1, "UTF-8");
    xmlOutputBufferWriteString(out.get(), "\n</CONFIG>\n");
    if (out->error != 0 || xmlOutputBufferGetContent(out.get()) == nullptr) {
        *failure = "the site could not be written out as XML";
        return E_FAIL;
    }
    return replaceFile(path, xmlOutputBufferGetContent(out.get()), xmlOutputBufferGetSize(out.get()),
                       failure);
}

} // namespace configstore
