// The configuration tool's XML scanner and its metadata reader, on any bytes: the metadata file
// is whatever the install folder holds.
//
// Input: the document. Every event is handled, and an external entity or subset is supplied
// from the input itself, so that the entity bounds are reached from both sides. Checked besides
// memory safety: the run ends (within libFuzzer's time-out, however the entities nest); tag
// names hold no blank, slash or closing bracket; the metadata finds a lone device by its name.

#include "fuzz_support.h"

#include "configtool/model/orvex_meta_data.h"
#include "configtool/model/xml_scanner.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace {

using configtool::xml::AttrList;
using configtool::xml::XmlScanner;

void checkName(const std::string &name)
{
    FUZZ_CHECK(name.find_first_of(" \t\r\n/>") == std::string::npos,
               "a tag name runs past its end");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    std::size_t reported = 0;
    const auto count = [&](const std::string &part) { reported += part.size(); };
    const auto countAttributes = [&](const AttrList &attributes) {
        for (const auto &attribute : attributes)
            reported += attribute.name.size() + attribute.value.size();
    };

    XmlScanner scanner;
    scanner.OnXmlProlog = [&](const std::string &version, const std::string &encoding, bool) {
        count(version);
        count(encoding);
    };
    scanner.OnComment = count;
    scanner.OnPI
        = [&](const std::string &target, const std::string &content, const AttrList &attributes) {
              count(target);
              count(content);
              countAttributes(attributes);
          };
    scanner.OnDtdRead = count;
    scanner.OnStartTag = [&](const std::string &name, const AttrList &attributes) {
        checkName(name);
        count(name);
        countAttributes(attributes);
    };
    scanner.OnEmptyTag = scanner.OnStartTag;
    scanner.OnEndTag = [&](const std::string &name) {
        checkName(name);
        count(name);
    };
    scanner.OnContent = count;
    scanner.OnCData = count;
    scanner.OnDtdError = [](std::size_t) {};
    // The external text is the input's second half: a document may name itself.
    scanner.OnLoadExternal = [&](const std::string &, const std::string &, const std::string &) {
        return std::optional<std::string>(text.substr(text.size() / 2));
    };
    scanner.LoadText(text);
    scanner.Execute();
    (void)reported;

    configtool::OrvexMetaData metaData;
    metaData.ReadMetaDataText(text, QStringLiteral("OrvexMetaData.xml"));
    for (int i = 0; i < metaData.GetDefaultDeviceCount(); ++i) {
        (void)metaData.GetDefaultDeviceName(i);
        (void)metaData.GetDefaultDeviceProtocol(i);
    }
    for (const auto &device : metaData.devices()) {
        FUZZ_CHECK(metaData.GetDeviceId(device.name) != 0 || device.id == 0
                       || metaData.GetDeviceCount() > 1,
                   "the only device is not found by its name");
        (void)metaData.CheckPortCapability(device.first, device.name, nullptr);
    }
    return 0;
}
