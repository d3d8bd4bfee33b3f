#pragma once
// The service program's command-line switches.
//
// The line is searched for a '-' or '/'; the rest of the line after it is compared in full, with
// letter case ignored, with "UnregServer", "RegServer" and "Service". A rest that matches none is
// skipped and the search goes on after that character, so a switch counts only when it ends the
// line: "-RegServer now" runs the program instead of registering it.

#include <string>
#include <string_view>

namespace services {

enum class ServiceSwitch { None, UnregServer, RegServer, Service };

[[nodiscard]] ServiceSwitch ParseServiceSwitch(std::string_view commandLine);

// The arguments after the program name joined with single blanks, as the platform the program
// was first written for handed them over.
[[nodiscard]] std::string JoinCommandLine(int argc, const char *const *argv);

} // namespace services
