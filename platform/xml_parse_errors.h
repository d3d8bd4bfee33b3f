#pragma once
// What libxml2 reports while one parse runs on this thread, kept for the caller's trace instead of
// written to standard error.
//
// XML_PARSE_NOERROR silences only the errors that libxml2 2.9 raises through a parser context;
// those it raises without one (a byte the declared encoding cannot convert, a read that fails)
// still go to its default handlers, which print to stderr. libxml2 keeps its handlers per thread,
// so an object of this class installs its own for the thread that makes it, for as long as it
// lives, and puts the earlier ones back when it goes: a parse on another thread is never touched.
// Make one on the parsing thread around the parse; it must go on the thread that made it.
//
// Header only: every library that parses XML links libxml2 itself, the platform does not.

#include <libxml/globals.h>
#include <libxml/xmlerror.h>

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <string>

class XmlParseErrors
{
public:
    XmlParseErrors()
        : m_earlierStructured(xmlStructuredError)
        , m_earlierStructuredContext(xmlStructuredErrorContext)
        , m_earlierGeneric(xmlGenericError)
        , m_earlierGenericContext(xmlGenericErrorContext)
    {
        xmlSetStructuredErrorFunc(this, &XmlParseErrors::onStructured);
        xmlSetGenericErrorFunc(this, &XmlParseErrors::onGeneric);
    }

    ~XmlParseErrors()
    {
        xmlSetStructuredErrorFunc(m_earlierStructuredContext, m_earlierStructured);
        xmlSetGenericErrorFunc(m_earlierGenericContext, m_earlierGeneric);
    }

    XmlParseErrors(const XmlParseErrors &) = delete;
    XmlParseErrors &operator=(const XmlParseErrors &) = delete;

    // The first error of the parse as "line 3: Opening and ending tag mismatch: SITE line 1 and
    // CONFIG", without a line where libxml2 gives none ("input conversion failed due to input
    // error, bytes 0x81 0x3C 0x2F 0x53"); the first warning when there was no error; empty when
    // libxml2 reported nothing.
    [[nodiscard]] std::string first() const { return m_firstError.empty() ? m_firstWarning : m_firstError; }

    // Whether the document has been found not well-formed: a fatal error, or a namespace error.
    // libxml2 2.9 parses on after either, and some errors cost it time in proportion to what it
    // has read (a comment of 1 MB full of "--" took it 216 s), so a reader that parses from its
    // own input should give the parser nothing more once this is set.
    [[nodiscard]] bool malformed() const { return m_malformed; }

private:
    static void onStructured(void *context, xmlErrorPtr error)
    {
        auto *self = static_cast<XmlParseErrors *>(context);
        if (error->level == XML_ERR_FATAL || error->domain == XML_FROM_NAMESPACE)
            self->m_malformed = true;
        std::string &slot = error->level >= XML_ERR_ERROR ? self->m_firstError : self->m_firstWarning;
        if (!slot.empty() || error->message == nullptr)
            return;
        std::string message = error->message;
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
            message.pop_back();
        slot = error->line > 0 ? "line " + std::to_string(error->line) + ": " + message : message;
    }

    // The few messages libxml2 writes without a structured error; taken only as a last resort.
    __attribute__((format(printf, 2, 3))) static void onGeneric(void *context, const char *format, ...)
    {
        auto *self = static_cast<XmlParseErrors *>(context);
        if (!self->m_firstError.empty() || self->m_generic.size() > kMaxGenericText)
            return;
        char text[256];
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(text, sizeof text, format, arguments);
        va_end(arguments);
        self->m_generic += text;
        if (const auto end = self->m_generic.find('\n'); end != std::string::npos)
            self->m_firstError = self->m_generic.substr(0, end);
    }

    static constexpr std::size_t kMaxGenericText = 256;

    xmlStructuredErrorFunc m_earlierStructured;
    void *m_earlierStructuredContext;
    xmlGenericErrorFunc m_earlierGeneric;
    void *m_earlierGenericContext;
    std::string m_firstError;
    std::string m_firstWarning;
    std::string m_generic;
    bool m_malformed = false;
};
