#pragma once
// A settings file with the meaning of a Windows private profile ("OrvexSettings.ini").
//
// Every read loads the file as it is now, so that a value written by another component or
// process is seen at once; a read of a missing file, section or key gives the caller's default.
// Every write loads the file, changes the one value and writes the whole file back through a
// temporary file in the same folder, synced and renamed over the old one: a crash or a full disk
// leaves either the old file or the new, never half of one. Names are case-insensitive; other
// sections, keys and comments are kept.
//
// A file that exists but cannot be read is never written over: it holds what a person put there
// (a port device, a password, the windows' places), and writing defaults over it would lose
// that for good. Such a file is anything but a plain file (a FIFO, a device, a folder), one
// whose reading fails (no permission, an I/O error), one larger than kLargestFile, and one that
// is not settings text (a zero byte or another control byte than tab, line feed and carriage
// return). Reads of it give the defaults, writes fail and leave it byte for byte as it was, and
// unreadableReason() says why, for the caller's trace. Nothing is opened in a way that blocks.
//
// (CSimpleIniA is the case-insensitive variant of SimpleIni.)
//
// Thread-safe: writes within one process are serialised.

#include <cstddef>
#include <string>
#include <string_view>

class ProfileFile
{
public:
    // Far more than the suite's settings ever take; a larger file is not one of ours.
    static constexpr std::size_t kLargestFile = std::size_t{1} << 20;

    explicit ProfileFile(std::string path) : m_path(std::move(path)) {}

    [[nodiscard]] const std::string &path() const { return m_path; }

    [[nodiscard]] std::string readString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) const;
    // A value without leading digits (after blanks and a sign) reads as the default.
    [[nodiscard]] long readInt(std::string_view section, std::string_view key, long defaultValue) const;

    // False when the file could not be written, or exists and cannot be read, or when a name or
    // the value holds a byte that is not settings text; the old file is then unchanged.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    bool writeInt(std::string_view section, std::string_view key, long value);

    // Why the file, as it is now, cannot be read ("it is a folder", "Permission denied"...);
    // empty when it can be read or does not exist.
    [[nodiscard]] std::string unreadableReason() const;

private:
    std::string m_path;
};
