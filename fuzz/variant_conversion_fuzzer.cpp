// The text to number conversions that turn receipt tokens into money, counts and quantities.
//
// Input: the text. Checked besides memory safety: a failure leaves the output as it was; a
// number's text, as the bridge writes money, reads back as the same number; a 16-bit number and
// a double agree with the money reading where all three succeed.

#include "fuzz_support.h"

#include "platform/variant_conversion.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);

    constexpr std::int64_t kUntouched = 0x5A5A5A5A;
    Currency money{kUntouched};
    const HRESULT moneyResult = VarCyFromStr(text, &money);
    if (FAILED(moneyResult)) {
        FUZZ_CHECK(money.scaled == kUntouched, "a failed conversion leaves its output");
    } else {
        Currency again{kUntouched};
        FUZZ_CHECK(VarCyFromStr(CurrencyText(money), &again) == S_OK && again.scaled == money.scaled,
                   "money's text reads back as the same money");
    }

    std::int16_t small = 0x5A5A;
    const HRESULT smallResult = VarI2FromStr(text, &small);
    if (FAILED(smallResult))
        FUZZ_CHECK(small == 0x5A5A, "a failed conversion leaves its output");

    double real = 1234.5;
    const HRESULT realResult = VarR8FromStr(text, &real);
    if (FAILED(realResult)) {
        FUZZ_CHECK(real == 1234.5, "a failed conversion leaves its output");
    } else {
        FUZZ_CHECK(std::isfinite(real), "a converted double is a number");
    }

    if (SUCCEEDED(moneyResult) && SUCCEEDED(realResult)) {
        const double fromMoney = static_cast<double>(money.scaled) / 10000.0;
        FUZZ_CHECK(std::fabs(fromMoney - real) <= 0.00005 + std::fabs(real) * 1e-12,
                   "money and double read the same number");
    }
    if (SUCCEEDED(moneyResult) && SUCCEEDED(smallResult)) {
        // Both round half to even, the 16-bit number to units.
        FUZZ_CHECK(std::fabs(static_cast<double>(money.scaled) / 10000.0 - small) <= 0.5,
                   "money and 16-bit number read the same number");
    }
    return 0;
}
