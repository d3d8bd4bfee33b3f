// A receipt line from the point of sale, matched against the rules that ship with the bridge
// ("RecorderBridgeConfig.xml" in data/).
//
// Input: the line as the unit sends it, Windows-1252 bytes (what the transport converts), or, when
// the input is UTF-8 already, as a test event over the bus carries it; either way it ends at a
// zero byte, as texts from the unit and the bus do. Checked besides memory
// safety: the retail item the line makes, if any, has bus-safe texts, numbers and flags.

#include "fuzz_support.h"
#include "retail_item_checks.h"

#include "recorder_bridge/receipt_line_parser.h"
#include "recorder_bridge/rules_loader.h"
#include "platform/text_codec.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace recorder_bridge;

namespace {

const PosRules &shippedRules()
{
    static const PosRules rules = [] {
        PosRules loaded;
        const HRESULT hr = LoadPosRules(ORVEX_SOURCE_DIR "/data", loaded, std::chrono::milliseconds(0));
        FUZZ_CHECK(hr == S_OK, "the shipped rules load");
        return loaded;
    }();
    return rules;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const ReceiptLineParser parser(shippedRules());
    std::string_view bytes(reinterpret_cast<const char *>(data), size);
    bytes = bytes.substr(0, bytes.find('\0'));
    MessageItem line(ItemType::PosMessage);
    line.Text = fuzz::IsBusText(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
    line.PosNumber = 3;
    line.CameraID = 2;
    if (const auto item = parser.Parse(line))
        fuzz::CheckRetailItem(*item);
    return 0;
}
