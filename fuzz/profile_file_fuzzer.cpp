// The settings file "OrvexSettings.ini", which any program of the suite and any editor may have
// written.
//
// Input: the file. Keys of the kinds the service and the bridge read are read (every read loads
// the file again, so a few stand for all); then one value is written back, as opening a trace
// does. Checked besides memory safety: numbers read as numbers or the
// default; the written value reads back as written; and every other value read before the write
// reads the same after it. A file that is not settings text reads as defaults only, cannot be
// written, and keeps every byte.

#include "fuzz_support.h"

#include "platform/profile_file.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

// The first is the one written.
const std::pair<const char *, const char *> kKeys[] = {
    {"OrvexServices", "TraceLevel"}, {"OrvexServices", "TraceWriteInterval"}, {"Settings", "PortDevice1"},
    {"LPR", "LPR"},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string path = (fuzz::ScratchFolder() / "OrvexSettings.ini").string();
    fuzz::WriteFile(path, data, size);
    ProfileFile settings(path);

    std::vector<std::string> before;
    for (const auto &[section, key] : kKeys)
        before.push_back(settings.readString(section, key, "(default)"));
    (void)settings.readInt("Settings", "ComPort", 1);

    if (!settings.unreadableReason().empty()) {
        for (const std::string &value : before)
            FUZZ_CHECK(value == "(default)", "an unreadable file reads as defaults");
        FUZZ_CHECK(!settings.writeInt("OrvexServices", "TraceLevel", 2),
                   "an unreadable file is not written");
        std::ifstream in(path, std::ios::binary);
        const std::string after{std::istreambuf_iterator<char>(in), {}};
        FUZZ_CHECK(after == std::string(reinterpret_cast<const char *>(data), size),
                   "an unreadable file keeps its bytes");
        return 0;
    }
    FUZZ_CHECK(settings.writeInt("OrvexServices", "TraceLevel", 2), "a value can be written");
    FUZZ_CHECK(settings.readInt("OrvexServices", "TraceLevel", -1) == 2, "a written value reads back");
    for (std::size_t i = 1; i < std::size(kKeys); ++i)
        FUZZ_CHECK(settings.readString(kKeys[i].first, kKeys[i].second, "(default)") == before[i],
                   "a write keeps every other value");
    return 0;
}
