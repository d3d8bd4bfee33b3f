// A shared library with a trace log of its own, as a component library has: it lets the tests
// show that two modules of one process keep separate logs.

#include "platform/export.h"
#include "support/trace_log.h"

extern "C" {

ORVEX_EXPORT void TraceModuleOpen(const char *directory)
{
    support::OpenTrace(directory, nullptr, "Module");
}

ORVEX_EXPORT void TraceModuleError(const char *text)
{
    support::TraceError("%s", text);
}

ORVEX_EXPORT bool TraceModuleEnabled(int level)
{
    return support::TraceEnabled(level);
}

ORVEX_EXPORT void TraceModuleClose()
{
    support::CloseTrace();
}

} // extern "C"
