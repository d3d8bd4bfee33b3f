#pragma once
// What the fuzz targets share: a check that aborts with a message (libFuzzer then keeps the input
// that broke it), a test of UTF-8 for texts that leave the process on the bus, and a scratch
// folder for the parsers that read files.

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

// Whether `text` is UTF-8 that a D-Bus message may carry: shortest forms, no surrogates, nothing
// above U+10FFFF, no NUL.
inline bool IsBusText(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead == 0)
            return false;
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                                             : lead >= 0xF0 && lead < 0xF5   ? 4
                                                                             : 0;
        if (length == 0 || text.size() - i < length)
            return false;
        std::uint32_t c = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (next & 0x3Fu);
        }
        constexpr std::uint32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < shortest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
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
