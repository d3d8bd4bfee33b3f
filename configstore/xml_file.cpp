#include "xml_file.h"

#include "site_file_admission.h"

#include "platform/regular_file.h"
#include "platform/replace_file.h"
#include "platform/unique_fd.h"
#include "platform/xml_parse_errors.h"

#include <libxml/parser.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace configstore {

namespace {

// libxml2 reads what it parses in chunks of about 4,000 bytes; none is given larger, so that the
// admission looks at the parser's tables at least that often.
constexpr int kMaxChunkBytes = 4096;

// The file as the parser reads it, in the chunks it asks for, so that no copy of the whole file
// is held beside the parser's own: from a descriptor, or from text in memory (the written form of
// a file, checked before it is written). None is given once the parser has found the file
// malformed or the admission has refused it.
struct ParseInput
{
    int fd = -1;
    std::string_view text;
    const XmlParseErrors *errors = nullptr;
    SiteFileAdmission *admission = nullptr;
    std::uint64_t delivered = 0;
    int readError = 0;
    bool tooLarge = false;
};

int readChunk(void *context, char *buffer, int length)
{
    auto *input = static_cast<ParseInput *>(context);
    if (input->errors->malformed() || !input->admission->admitsMore())
        return -1;
    const auto wanted = static_cast<std::size_t>(std::min(length, kMaxChunkBytes));
    std::size_t filled = 0;
    if (input->fd < 0) {
        filled = input->text.copy(buffer, wanted, input->delivered);
    } else {
        // Filled whole, short only at the end of the file: the first chunk then holds the four
        // bytes from which the parser takes the encoding.
        while (filled < wanted) {
            const ssize_t n = ::read(input->fd, buffer + filled, wanted - filled);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                input->readError = errno;
                return -1;
            }
            if (n == 0)
                break;
            filled += static_cast<std::size_t>(n);
        }
    }
    input->delivered += filled;
    // A file that grew while it was read is held to the bound as well.
    if (input->delivered > kMaxSiteFileBytes) {
        input->tooLarge = true;
        return -1;
    }
    return static_cast<int>(filled);
}

struct OutputDeleter
{
    void operator()(xmlOutputBufferPtr out) const { xmlOutputBufferClose(out); }
};

struct ParserDeleter
{
    void operator()(xmlParserCtxtPtr context) const { xmlFreeParserCtxt(context); }
};

std::string tooLargeText(const char *verb)
{
    return std::string("the file ") + verb + " larger than " + std::to_string(kMaxSiteFileBytes >> 20U) + " MiB";
}

// Parses `input` (of `bytes` bytes) as a site file: S_OK and the document, or the failure as
// ReadSiteFile gives it; `*weight` receives what the admission weighed the tree at.
HRESULT parseSite(ParseInput &input, std::uint64_t bytes, UniqueDoc *document, std::string *failure,
                  std::uint64_t *weight)
{
    // A context of its own, with a dictionary of its own, both freed when this parse ends.
    std::unique_ptr<xmlParserCtxt, ParserDeleter> context(xmlNewParserCtxt());
    if (!context)
        return E_FAIL;
    SiteFileAdmission admission(context.get(), bytes);
    input.admission = &admission;
    // No XML_PARSE_NOENT, XML_PARSE_DTDLOAD, XML_PARSE_DTDATTR or XML_PARSE_XINCLUDE: nothing
    // outside the file is ever read.
    constexpr int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    UniqueDoc parsed;
    std::string parseError;
    {
        const XmlParseErrors errors;
        input.errors = &errors;
        parsed.reset(xmlCtxtReadIO(context.get(), readChunk, nullptr, &input, nullptr, nullptr, options));
        parseError = errors.first();
    }
    *weight = admission.cost();
    if (input.readError != 0) {
        *failure = DescribeFileError(input.readError);
        return STG_E_FILENOTFOUND;
    }
    if (input.tooLarge) {
        *failure = tooLargeText("is");
        return E_ABORT;
    }
    if (admission.refused()) {
        *failure = admission.reason().empty() ? "it would cost the parser too much" : admission.reason();
        return E_ABORT;
    }
    if (!parsed || !context->wellFormed || !context->nsWellFormed) {
        *failure = parseError.empty() ? "it is not well-formed XML" : parseError;
        return E_ABORT;
    }
    *document = std::move(parsed);
    return S_OK;
}

// Replaces the file at `path` with `text` once the import would read it back.
HRESULT replaceCheckedFile(const std::string &path, std::string_view text, std::string *failure)
{
    if (const HRESULT hr = CheckSiteText(text, failure); FAILED(hr))
        return hr;
    const int err = ReplaceFileContents(path, text);
    if (err == 0)
        return S_OK;
    *failure = DescribeFileError(err);
    return ResultFromErrno(err);
}

std::string_view textOf(const xmlChar *text, std::size_t size)
{
    return {reinterpret_cast<const char *>(text), size};
}

} // namespace

HRESULT ReadSiteFile(const std::string &path, UniqueDoc *document, std::string *failure)
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
        *failure = tooLargeText("is");
        return E_ABORT;
    }
    ParseInput input;
    input.fd = fd.get();
    std::uint64_t weight = 0;
    return parseSite(input, static_cast<std::uint64_t>(status.st_size), document, failure, &weight);
}

HRESULT CheckSiteText(std::string_view text, std::string *failure, std::uint64_t *weight)
{
    if (text.size() > kMaxSiteFileBytes) {
        *failure = tooLargeText("would be");
        return E_ABORT;
    }
    ParseInput input;
    input.text = text;
    UniqueDoc parsed;
    std::uint64_t parsedWeight = 0;
    const HRESULT hr = parseSite(input, text.size(), &parsed, failure, &parsedWeight);
    if (weight != nullptr)
        *weight = parsedWeight;
    // A text the store wrote is well-formed: only the admission or the size can refuse it.
    return FAILED(hr) ? E_ABORT : S_OK;
}

HRESULT WriteConfigFile(xmlDocPtr document, const std::string &path, std::string *failure)
{
    xmlChar *text = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(document, &text, &size, "UTF-8", 1);
    if (text == nullptr) {
        *failure = "the configuration could not be written out as XML";
        return E_FAIL;
    }
    const std::unique_ptr<xmlChar, decltype(xmlFree)> owner(text, xmlFree);
    return replaceCheckedFile(path, textOf(text, static_cast<std::size_t>(size)), failure);
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
    return replaceCheckedFile(path, textOf(xmlOutputBufferGetContent(out.get()), xmlOutputBufferGetSize(out.get())),
                              failure);
}

} // namespace configstore
