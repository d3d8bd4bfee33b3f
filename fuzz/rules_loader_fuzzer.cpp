// The point-of-sale rules file, as the bridge loads it from the install folder.
//
// Input: the file. Checked besides memory safety: whatever the file holds, the load answers with
// one of its documented results, and the rules it leaves (all of them, also after a failure part
// of the way) match a few receipt lines without harm, each retail item bus-safe.

#include "fuzz_support.h"
#include "retail_item_checks.h"

#include "recorder_bridge/receipt_line_parser.h"
#include "recorder_bridge/rules_loader.h"

#include <chrono>
#include <cstddef>
#include <cstdint>

using namespace recorder_bridge;

namespace {

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
