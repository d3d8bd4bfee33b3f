#pragma once
// A settings file with the meaning of a Windows private profile ("OrvexSettings.ini").
//
// Every read loads the file as it is now, so that a value written by another component or
// process is seen at once; a read of a missing file, section or key gives the caller's default.
// Every write loads the file, changes the one value and writes the whole file back through a
// temporary file in the same folder, synced and renamed over the old one: a crash or a full disk
// leaves either the old file or the new, never half of one. Names are case-insensitive; other
// sections, keys and comments are kept. A file that cannot be read, or holds garbage, reads as
// empty and is replaced by a well-formed one on the next write.
//
// (CSimpleIniA is the case-insensitive variant of SimpleIni.)
//
// Thread-safe: writes within one process are serialised.

#include <string>
#include <string_view>

class ProfileFile
{
public:
    explicit ProfileFile(std::string path) : m_path(std::move(path)) {}

    [[nodiscard]] const std::string &path() const { return m_path; }

    [[nodiscard]] std::string readString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) const;
    // A value without leading digits (after blanks and a sign) reads as the default.
    [[nodiscard]] long readInt(std::string_view section, std::string_view key, long defaultValue) const;

    // False when the file could not be written; the old file is then unchanged.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    bool writeInt(std::string_view section, std::string_view key, long value);

private:
    std::string m_path;
};
