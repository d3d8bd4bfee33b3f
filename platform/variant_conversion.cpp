#include "variant_conversion.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// The pieces of a number as the text gave them, before it is fitted to a target type.
struct ParsedNumber
{
    bool negative = false;
    std::string integerDigits;  // without separators or leading zeros
    std::string fractionDigits; // as written
    long exponent = 0;          // power of ten the digits are scaled by
};

constexpr std::string_view kCurrencySymbols[] = {"$", "\xC2\xA3", "\xE2\x82\xAC", "\xC2\xA5"};

class NumberScanner
{
public:
    explicit NumberScanner(std::string_view text) : m_text(text) {}

    HRESULT scan(ParsedNumber &number)
    {
        bool currency = false, sign = false, open = false;
        // Before the digits: blanks, at most one currency symbol, and a sign or an opening
        // parenthesis, in any order.
        for (;;) {
            skipBlanks();
            if (!currency && takeCurrency()) {
                currency = true;
            } else if (!sign && !open && (peek() == '+' || peek() == '-')) {
                number.negative = take() == '-';
                sign = true;
            } else if (!sign && !open && peek() == '(') {
                take();
                open = true;
                number.negative = true;
            } else {
                break;
            }
        }
        if (!scanDigits(number))
            return DISP_E_TYPEMISMATCH;
        // After the digits: blanks, a currency symbol, a sign, the closing parenthesis.
        bool closed = false;
        for (;;) {
            skipBlanks();
            if (atEnd())
                break;
            if (!currency && takeCurrency()) {
                currency = true;
            } else if (!sign && !open && (peek() == '+' || peek() == '-')) {
                number.negative = take() == '-';
                sign = true;
            } else if (open && !closed && peek() == ')') {
                take();
                closed = true;
            } else {
                return DISP_E_TYPEMISMATCH;
            }
        }
        if (open != closed)
            return DISP_E_TYPEMISMATCH;
        return S_OK;
    }

private:
    [[nodiscard]] bool atEnd() const { return m_pos >= m_text.size(); }
    [[nodiscard]] char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }
    char take() { return m_text[m_pos++]; }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    void skipBlanks()
    {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\r' || peek() == '\n'))
            ++m_pos;
    }

    bool takeCurrency()
    {
        for (std::string_view symbol : kCurrencySymbols) {
            if (m_text.substr(m_pos).starts_with(symbol)) {
                m_pos += symbol.size();
                return true;
            }
        }
        return false;
    }

    bool scanDigits(ParsedNumber &number)
    {
        bool anyDigit = false;
        while (!atEnd()) {
            if (isDigit(peek())) {
                const char c = take();
                if (!(c == '0' && number.integerDigits.empty()))
                    number.integerDigits.push_back(c);
                anyDigit = true;
            } else if (peek() == ',' && anyDigit && m_pos + 1 < m_text.size() && isDigit(m_text[m_pos + 1])) {
                take();
            } else {
                break;
            }
        }
        if (peek() == '.') {
            take();
            while (isDigit(peek())) {
                number.fractionDigits.push_back(take());
                anyDigit = true;
            }
        }
        if (!anyDigit)
            return false;
        if (peek() == 'e' || peek() == 'E')
            return scanExponent(number);
        return true;
    }

    bool scanExponent(ParsedNumber &number)
    {
        take();
        bool negative = false;
        if (peek() == '+' || peek() == '-')
            negative = take() == '-';
        if (!isDigit(peek()))
            return false;
        long exponent = 0;
        while (isDigit(peek())) {
            exponent = std::min(exponent * 10 + (take() - '0'), 100000L);
        }
        number.exponent = negative ? -exponent : exponent;
        return true;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// Whether dropping `dropped` (the digits after the kept ones) rounds the kept value up, half to
// even by the parity of the last kept digit.
bool RoundsUp(std::string_view dropped, bool lastKeptOdd)
{
    if (dropped.empty() || dropped[0] < '5')
        return false;
    if (dropped[0] > '5')
        return true;
    for (char c : dropped.substr(1)) {
        if (c != '0')
            return true;
    }
    return lastKeptOdd;
}

// The number scaled by 10^`scale` and rounded half to even, if it fits in [min, max].
HRESULT ScaledInteger(const ParsedNumber &number, int scale, __int128 min, __int128 max, __int128 *result)
{
    // All significant digits in one string, and where the decimal point falls among them once
    // the exponent and the scale are applied.
    std::string digits = number.integerDigits + number.fractionDigits;
    long point = static_cast<long>(number.integerDigits.size()) + number.exponent + scale;
    const std::size_t firstSignificant = std::min(digits.find_first_not_of('0'), digits.size());
    digits.erase(0, firstSignificant);
    point -= static_cast<long>(firstSignificant);
    if (digits.empty() || point < 0) {
        // Zero, or less than half of the last kept place: even a leading 9 sits below it.
        *result = 0;
        return S_OK;
    }
    // Beyond 39 places no target can hold the value; stop before building a huge string.
    if (point > 39)
        return DISP_E_OVERFLOW;
    const auto kept = static_cast<std::size_t>(point);
    if (digits.size() < kept)
        digits.resize(kept, '0');
    const std::string_view dropped = std::string_view(digits).substr(kept);
    __int128 magnitude = 0;
    const __int128 limit = -min; // the larger magnitude
    for (char c : std::string_view(digits).substr(0, kept)) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit + 1)
            return DISP_E_OVERFLOW;
    }
    if (RoundsUp(dropped, (magnitude & 1) != 0))
        ++magnitude;
    const __int128 value = number.negative ? -magnitude : magnitude;
    if (value < min || value > max)
        return DISP_E_OVERFLOW;
    *result = value;
    return S_OK;
}

// A number as tills mostly print it: an optional leading minus, digits, and optionally a point
// followed by digits, nothing else. Such text needs no scanner, no rounding and no separators,
// so it is read here directly; anything else goes the general way, which gives the same result
// for these texts too.
struct PlainNumber
{
    bool negative = false;
    std::string_view integerDigits;
    std::string_view fractionDigits; // empty when there is no point
};

bool ReadPlainNumber(std::string_view text, PlainNumber &number)
{
    std::size_t pos = 0;
    if (pos < text.size() && text[pos] == '-') {
        number.negative = true;
        ++pos;
    }
    const auto digitsFrom = [&](std::size_t start) {
        std::size_t end = start;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            ++end;
        return end;
    };
    const std::size_t integerEnd = digitsFrom(pos);
    if (integerEnd == pos)
        return false;
    number.integerDigits = text.substr(pos, integerEnd - pos);
    if (integerEnd == text.size())
        return true;
    if (text[integerEnd] != '.')
        return false;
    const std::size_t fractionEnd = digitsFrom(integerEnd + 1);
    if (fractionEnd == integerEnd + 1 || fractionEnd != text.size())
        return false;
    number.fractionDigits = text.substr(integerEnd + 1, fractionEnd - integerEnd - 1);
    return true;
}

std::uint64_t DigitsValue(std::string_view digits)
{
    std::uint64_t value = 0;
    for (char c : digits)
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    return value;
}

} // namespace

HRESULT VarCyFromStr(std::string_view text, Currency *value)
{
    if (!value)
        return E_POINTER;
    // At most 14 integer digits and 4 decimals: always in range and exact.
    if (PlainNumber plain; ReadPlainNumber(text, plain) && plain.integerDigits.size() <= 14
                           && plain.fractionDigits.size() <= 4) {
        std::uint64_t fraction = DigitsValue(plain.fractionDigits);
        for (std::size_t i = plain.fractionDigits.size(); i < 4; ++i)
            fraction *= 10;
        const auto magnitude
            = static_cast<std::int64_t>(DigitsValue(plain.integerDigits) * 10000 + fraction);
        value->scaled = plain.negative ? -magnitude : magnitude;
        return S_OK;
    }
    ParsedNumber number;
    if (HRESULT hr = NumberScanner(text).scan(number); FAILED(hr))
        return hr;
    __int128 scaled = 0;
    if (HRESULT hr = ScaledInteger(number, 4, std::numeric_limits<std::int64_t>::min(),
                                   std::numeric_limits<std::int64_t>::max(), &scaled);
        FAILED(hr))
        return hr;
    value->scaled = static_cast<std::int64_t>(scaled);
    return S_OK;
}

HRESULT VarI2FromStr(std::string_view text, std::int16_t *value)
{
    if (!value)
        return E_POINTER;
    // A whole number of at most five digits that fits; the rest (decimals to round, overflow)
    // goes the general way.
    if (PlainNumber plain; ReadPlainNumber(text, plain) && plain.fractionDigits.empty()
                           && plain.integerDigits.size() <= 5) {
        const auto magnitude = static_cast<std::int32_t>(DigitsValue(plain.integerDigits));
        const std::int32_t result = plain.negative ? -magnitude : magnitude;
        if (result >= INT16_MIN && result <= INT16_MAX) {
            *value = static_cast<std::int16_t>(result);
            return S_OK;
        }
    }
    ParsedNumber number;
    if (HRESULT hr = NumberScanner(text).scan(number); FAILED(hr))
        return hr;
    __int128 result = 0;
    if (HRESULT hr = ScaledInteger(number, 0, INT16_MIN, INT16_MAX, &result); FAILED(hr))
        return hr;
    *value = static_cast<std::int16_t>(result);
    return S_OK;
}

HRESULT VarR8FromStr(std::string_view text, double *value)
{
    if (!value)
        return E_POINTER;
    // from_chars rounds correctly whatever the number of digits, as for the normalised text
    // below; a bound on the length keeps the value far from overflow and underflow.
    if (PlainNumber plain; text.size() <= 64 && ReadPlainNumber(text, plain)) {
        const char *first = plain.integerDigits.data();
        const char *last = text.data() + text.size();
        double result = 0.0;
        if (const auto [end, ec] = std::from_chars(first, last, result);
            ec == std::errc() && end == last) {
            *value = plain.negative ? -result : result;
            return S_OK;
        }
    }
    ParsedNumber number;
    if (HRESULT hr = NumberScanner(text).scan(number); FAILED(hr))
        return hr;
    // Built by appending only: GCC 12 at -O3 misreads a text put in front of a temporary
    // string ("e" + std::to_string(...)) as an overlapping copy and warns.
    std::string normal = number.integerDigits.empty() ? "0" : number.integerDigits;
    if (!number.fractionDigits.empty())
        normal.append(".").append(number.fractionDigits);
    normal.append("e").append(std::to_string(number.exponent));
    double result = 0.0;
    const auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), result);
    if (ec == std::errc::result_out_of_range) {
        if (number.exponent > 0)
            return DISP_E_OVERFLOW;
        result = 0.0; // too small to hold: zero, as a double reads it
    } else if (ec != std::errc() || end != normal.data() + normal.size()) {
        return DISP_E_TYPEMISMATCH;
    }
    if (std::isinf(result))
        return DISP_E_OVERFLOW;
    *value = number.negative ? -result : result;
    return S_OK;
}

std::string CurrencyText(Currency value)
{
    const bool negative = value.scaled < 0;
    // Work on the unsigned magnitude so that the most negative value has a magnitude too.
    const auto magnitude = negative ? 0 - static_cast<std::uint64_t>(value.scaled)
                                    : static_cast<std::uint64_t>(value.scaled);
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / Currency::kScale);
    std::uint64_t fraction = magnitude % Currency::kScale;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction + Currency::kScale).substr(1);
        while (digits.back() == '0')
            digits.pop_back();
        text += "." + digits;
    }
    return text;
}
