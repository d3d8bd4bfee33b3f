#pragma once
// UTF-8 <-> wide text for the point-of-sale expressions, which work on wide characters.
// Total conversions: a byte sequence that is not UTF-8 reads as U+FFFD, and a wide character
// that is not a Unicode scalar value is written as U+FFFD. Pure functions; any thread.

#include <string>
#include <string_view>

namespace recorder_bridge {

[[nodiscard]] std::wstring WideFromUtf8(std::string_view utf8);
[[nodiscard]] std::string Utf8FromWide(std::wstring_view wide);

} // namespace recorder_bridge
