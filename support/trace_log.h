#pragma once
// The component's trace log: levelled printf-style lines, stamped at once with the local time,
// queued, and appended by a writer thread every TraceWriteInterval ms to one of two files that
// alternate with the day of the month (<section>_0.txt on even days, <section>_1.txt on odd).
//
// One log per component: the functions below act on the log of the module they are linked into
// (each shared library keeps its own), so the service and the bridge keep separate files in one
// process. Any thread may call them; logging never fails its caller and never waits for the
// disk. Lines of a level above the section's TraceLevel cost only a test of the level.
//
// Levels: 0 error, 1 warning, 2 debug, 3 info. TraceLevel (default 0) and TraceWriteInterval
// (default 500) are read from the section of OrvexSettings.ini at open and written back.

#include <chrono>
#include <cstdint>
#include <functional>

// Hidden even where a module is built with default visibility: the log is the module's own.
#pragma GCC visibility push(hidden)

namespace support {

// Directory null: the current directory. Settings directory null: the trace directory. Section
// null: "Trace". A second open while a log is open is ignored.
void OpenTrace(const char *directory, const char *settingsDirectory, const char *section);
// Writes every line queued so far, then the closing line at level >= 2, and ends the log.
// Returns without waiting out the write interval.
void CloseTrace();
// Waits until every line queued so far is in the file (or was lost with a cycle that could not
// open it), or a writer cycle has failed, or the writer has ended: a caller never hangs on a
// writer that cannot write. Returns at once when no trace is open.
void FlushTrace();

void TraceAt(int level, const char *format, ...) __attribute__((format(printf, 2, 3)));
void TraceError(const char *format, ...) __attribute__((format(printf, 1, 2)));
void TraceDebug(const char *format, ...) __attribute__((format(printf, 1, 2)));
void TraceInfo(const char *format, ...) __attribute__((format(printf, 1, 2)));

// True when a trace is open and a line of `level` would be written. Levels outside 0..3 have no
// tag and are never written.
[[nodiscard]] bool TraceEnabled(int level);

// Test seam: the local time the log stamps lines with and picks its file by. Null restores the
// system clock. Set before OpenTrace.
struct TraceTime
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
void SetTraceClockForTesting(std::function<TraceTime()> clock);

} // namespace support

#pragma GCC visibility pop
