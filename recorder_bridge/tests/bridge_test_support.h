#pragma once
// Shared pieces of the bridge tests: a temporary install folder, the trace of a test read back
// as lines, and a wait for a condition.

#include "support/tests/scoped_temp_folder.h"
#include "support/tests/wait_until.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace bridge_test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder
{
public:
    [[nodiscard]] const std::string &path() const { return m_path; }
    // Writes `text` to the file `name` in the folder.
    void write(const std::string &name, const std::string &text) const;
    [[nodiscard]] std::string read(const std::string &name) const;

private:
    ScopedTempFolder m_folder{"orvex-bridge"};
    std::string m_path = m_folder.path().string();
};

// The shipped rules file.
[[nodiscard]] std::string ShippedRules();

// Sets TraceLevel 3 and a short write interval for the bridge's section in `folder`'s settings.
void EnableFullTrace(const std::string &folder);

// The bridge's trace lines in `folder` (tag and message, without the time), after the trace is
// closed.
[[nodiscard]] std::vector<std::string> ReadTraceLines(const std::string &folder);

// Opens the bridge's trace in a folder for the test's life and reads it back. active() is false
// while the trace log is a stand-in that writes nothing; tests of trace lines skip then.
class TraceCapture
{
public:
    explicit TraceCapture(const std::string &folder);
    ~TraceCapture();

    [[nodiscard]] bool active() const { return m_active; }
    // Closes the trace and returns its lines.
    std::vector<std::string> lines();

private:
    std::string m_folder;
    bool m_open = true;
    bool m_active = false;
};

[[nodiscard]] bool HasLine(const std::vector<std::string> &lines, const std::string &line);
[[nodiscard]] bool HasLineStartingWith(const std::vector<std::string> &lines, const std::string &start);

inline bool WaitUntil(const std::function<bool()> &predicate,
                      std::chrono::milliseconds timeout = scaled(std::chrono::seconds(10)))
{
    return ::waitUntil(predicate, timeout);
}

} // namespace bridge_test
