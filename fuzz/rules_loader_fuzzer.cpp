// The point-of-sale rules file, as the bridge loads it from the install folder.
//
// Input: the file. Checked besides memory safety: whatever the file holds, the load answers with
// one of its documented results, and the rules it leaves (all of them, also after a failure part
// of the way) match a few receipt lines without harm, each retail item bus-safe.
//
// The matching is left out when an expression is longer than any a till needs: boost bounds the
// work of one search by the line's length times the square of the expression's, which for an
// expression of thousands of characters written to backtrack takes seconds before it gives up
// (measured: 1.9 s for five lines in an optimised build). That bound, not a hang, is what such a
// rules file costs.

#include "fuzz_support.h"
#include "retail_item_checks.h"

#include "recorder_bridge/receipt_line_parser.h"
#include "recorder_bridge/rules_loader.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>

using namespace recorder_bridge;

namespace {

constexpr std::size_t kLongestMatchedExpression = 256;

bool expressionsAreShort(const PosRules &rules)
{
    const auto isShort = [](const std::optional<boost::wregex> &expression) {
        return !expression || expression->size() <= kLongestMatchedExpression;
    };
    return std::all_of(rules.kinds.begin(), rules.kinds.end(), [&](const KindRules &kind) { return isShort(kind.expression); })
        && std::all_of(rules.flags.begin(), rules.flags.end(), [&](const FlagRule &flag) { return isShort(flag.expression); });
}

const char *const kLines[] = {
    "TXN START 0042 OP:JSMITH",
    "PUMP 03 UNLEADED 95 25.40L @ 1.459 37.06 PREPAY REG:AB12CDE",
    "5000112637922 MILK 2L 2 @ 1.20 2.40 RETURN",
    "TOTAL 12,345.67 CARD VISA",
    "",
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto &folder = fuzz::ScratchFolder();
    fuzz::WriteFile(folder / std::string(kRulesFileName), data, size);
    PosRules rules;
    const HRESULT hr = LoadPosRules(folder.string(), rules, std::chrono::milliseconds(0));
    FUZZ_CHECK(hr == S_OK || hr == E_FAIL || hr == E_INVALIDARG || hr == E_POINTER, "the load's result is documented");

    if (!expressionsAreShort(rules))
        return 0;
    const ReceiptLineParser parser(rules);
    for (const char *text : kLines) {
        MessageItem line(ItemType::PosMessage);
        line.Text = text;
        line.PosNumber = 1;
        if (const auto item = parser.Parse(line))
            fuzz::CheckRetailItem(*item);
    }
    return 0;
}
