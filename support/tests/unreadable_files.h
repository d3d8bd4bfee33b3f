#pragma once
// Things found in a settings file's place that no program may read as settings or write over:
// text with a zero byte, binary before valid sections, a FIFO, a link to a device, a folder.
// `Snapshot` tells what is at a path (its kind, and for a plain file its size and a hash of its
// bytes), so a test can check that nothing changed it.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace unreadable {

// Text after which every row's sections would hold values that differ from the defaults.
inline const std::string kValidSections
    = "[Settings]\nPortDevice1=/dev/ttyUSB7\nComPort=4\n[OrvexServices]\nTraceLevel=3\n"
      "[RecorderBridge]\nTraceLevel=3\n[LPR]\nPlateCaptureDelay=9000\n[OrvexDatabase]\nPassword="
      "s3cret\n";

struct Row
{
    const char *legend;
    std::function<void(const std::filesystem::path &)> make;
};

inline void writeBytes(const std::filesystem::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string binary(std::size_t size)
{
    std::string bytes(size, '\0');
    std::uint32_t state = 12345;
    for (char &c : bytes) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

inline std::vector<Row> Rows()
{
    namespace fs = std::filesystem;
    return {
        {"ZeroByteBeforeSettings",
         [](const fs::path &p) { writeBytes(p, std::string(1, '\0') + kValidSections); }},
        {"BinaryBeforeSections",
         [](const fs::path &p) { writeBytes(p, binary(64 * 1024) + "\n" + kValidSections); }},
        {"Fifo", [](const fs::path &p) { ::mkfifo(p.c_str(), 0644); }},
        {"LinkToDevZero", [](const fs::path &p) { fs::create_symlink("/dev/zero", p); }},
        {"Folder", [](const fs::path &p) { fs::create_directory(p); }},
    };
}

// The kind of what is at `path` (not following a link) and what it holds or points to.
inline std::string Snapshot(const std::filesystem::path &path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    switch (status.type()) {
    case fs::file_type::regular: {
        // Its size and a hash of its bytes: a failure then does not print 64 KB of binary.
        std::ifstream in(path, std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        return "file of " + std::to_string(bytes.size()) + " bytes, hash "
               + std::to_string(std::hash<std::string>{}(bytes));
    }
    case fs::file_type::symlink:
        return "link:" + fs::read_symlink(path, ec).string();
    case fs::file_type::fifo:
        return "fifo";
    case fs::file_type::directory:
        return "folder:" + std::to_string(std::distance(fs::directory_iterator(path, ec), {}));
    case fs::file_type::not_found:
        return "missing";
    default:
        return "other";
    }
}

} // namespace unreadable
