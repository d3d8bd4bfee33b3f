#pragma once
// Text to number conversions with the grammar the point-of-sale rules were written against
// (the OLE Automation conversions with the neutral locale), and currency to text.
//
// Accepted: blanks around the number and between its parts; a sign before or after the digits,
// or parentheses around them for a negative value; "," thousands separators anywhere between
// the digits of the integer part; "." as the decimal point; one currency symbol ($, £, € or ¥)
// before or after the digits; and an exponent (e or E, an optional sign, digits), for money and
// 16-bit numbers too ("1.5e1" is 15). The whole text must be used: anything else, an empty text or a text without digits is
// DISP_E_TYPEMISMATCH. Digits beyond the target's precision are rounded half to even. A value
// outside the target's range is DISP_E_OVERFLOW. On failure the output is left unchanged.
// Text is UTF-8. Pure functions; any thread.

#include "currency.h"
#include "hresult.h"

#include <cstdint>
#include <string>
#include <string_view>

[[nodiscard]] HRESULT VarCyFromStr(std::string_view text, Currency *value);
[[nodiscard]] HRESULT VarI2FromStr(std::string_view text, std::int16_t *value);
[[nodiscard]] HRESULT VarR8FromStr(std::string_view text, double *value);

// The decimal text of a currency value: no thousands separators, no trailing zeros after the
// decimal point, no point for a whole number ("12.5", "-0.01", "0").
[[nodiscard]] std::string CurrencyText(Currency value);
