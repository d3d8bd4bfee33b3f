#pragma once
// What the fuzz targets share: a check that aborts with a message (libFuzzer then keeps the input
// that broke it), a test of UTF-8 for texts that leave the process on the bus, and a scratch
// folder for the parsers that read files.

#include "platform/xml_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace fuzz {

// Not an assert: it holds in every build, NDEBUG or not.
#define FUZZ_CHECK(condition, message)                                                              \
    do {                                                                                            \
        if (!(condition)) {                                                                         \
            std::fprintf(stderr, "fuzz check failed: %s (%s) at %s:%d\n", message, #condition,     \
                         __FILE__, __LINE__);                                                       \
            std::abort();                                                                           \
        }                                                                                           \
    } while (false)

// Whether `text` is UTF-8 that a D-Bus message may carry: no NUL, no surrogates, nothing above
// U+10FFFF.
inline bool IsBusText(std::string_view text)
{
    return IsUtf8Where(text, [](std::uint32_t c) { return c != 0 && (c < 0xD800 || c > 0xDFFF) && c <= 0x10FFFF; });
}

// A folder of this process for the files a target writes, in memory (/dev/shm) where the system
// has it, so that the files cost no disk writes; removed at exit.
inline const std::filesystem::path &ScratchFolder()
{
    static const std::filesystem::path folder = [] {
        std::filesystem::path base = std::filesystem::exists("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                                          : std::filesystem::temp_directory_path();
        auto path = base / ("orvex-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchFolder(), ignored);
        });
        return path;
    }();
    return folder;
}

inline void WriteFile(const std::filesystem::path &path, const std::uint8_t *data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    FUZZ_CHECK(out.good(), "the scratch file could not be written");
}

} // namespace fuzz
