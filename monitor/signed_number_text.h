#pragma once
// The console's signed-number text: one space before a value of zero or more, "-" before a
// negative one, then the magnitude in decimal with "." as the point, no thousands separators,
// and a fraction only where it is not zero, without trailing zeros. The C conventions always
// apply, whatever the user's locale.
//
// Choices of this console where the rule leaves room: a value below 1 keeps its "0" before the
// point ("0.5"); a double shows at most 15 significant digits and takes the exponent form
// ("1E+16", "1E-05") outside [1E-4, 1E15); NaN reads " NaN" and infinities " Inf" and "-Inf";
// -0.0 reads " 0".
//
// Pure functions of their argument; any thread; they never fail.

#include "platform/currency.h"

#include <QString>

#include <cstdint>

namespace monitor {

[[nodiscard]] QString SignedNumberText(std::int16_t value);
// Exact from the scaled value, never through a double; INT64_MIN included.
[[nodiscard]] QString SignedNumberText(Currency value);
[[nodiscard]] QString SignedNumberText(double value);
// A number that arrives as text (a workstation): when the text without surrounding blanks is a
// decimal number, its signed-number text ("03" reads " 3"); otherwise one space and the text as
// received, so that a name such as "POS1" still shows.
[[nodiscard]] QString SignedNumberText(const QString &value);

} // namespace monitor
