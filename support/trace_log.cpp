#include "trace_log.h"

// Placeholder until the writer lands: every call is accepted and dropped.
namespace support {
void OpenTrace(const char *, const char *, const char *) {}
void CloseTrace() {}
void FlushTrace() {}
void TraceAt(int, const char *, ...) {}
void TraceError(const char *, ...) {}
void TraceDebug(const char *, ...) {}
void TraceInfo(const char *, ...) {}
bool TraceEnabled(int) { return false; }
void SetTraceClockForTesting(std::function<TraceTime()>) {}
} // namespace support
