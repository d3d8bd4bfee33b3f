#include "profile_file.h"

#include "replace_file.h"

#define SI_CONVERT_ICU
#include <SimpleIni.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>


namespace {

std::mutex &writeMutex()
{
    static std::mutex mutex;
    return mutex;
}

void load(CSimpleIniA &ini, const std::string &path)
{
    ini.SetUnicode(false);
    ini.SetMultiKey(false);
    ini.SetSpaces(false);
    // SimpleIni sizes its buffer from the stream's length, which a folder or a device does not
    // have: only a plain file is read.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return;
    if (ini.LoadFile(path.c_str()) < 0)
        ini.Reset();
}

} // namespace

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const
{
    CSimpleIniA ini;
    load(ini, m_path);
    const char *value = ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
    return value ? std::string(value) : std::string(defaultValue);
}

long ProfileFile::readInt(std::string_view section, std::string_view key, long defaultValue) const
{
    const std::string text = readString(section, key, {});
    if (text.empty())
        return defaultValue;
    errno = 0;
    char *end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || errno == ERANGE)
        return defaultValue;
    return value;
}

bool ProfileFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    std::lock_guard lock(writeMutex());
    CSimpleIniA ini;
    load(ini, m_path);
    if (ini.SetValue(std::string(section).c_str(), std::string(key).c_str(), std::string(value).c_str()) < 0)
        return false;
    std::string data;
    if (ini.Save(data) < 0)
        return false;
    // A load takes leading UTF-8 BOM bytes for the file's mark and drops them. When the saved
    // text itself starts with them (a name that begins with them, read from inside a line), one
    // more mark keeps that name, and what follows it, as it was read.
    static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (data.starts_with(kByteOrderMark)) {
        std::string marked;
        marked.reserve(kByteOrderMark.size() + data.size());
        marked.append(kByteOrderMark).append(data);
        data.swap(marked);
    }
    return ReplaceFileContents(m_path, data) == 0;
}

bool ProfileFile::writeInt(std::string_view section, std::string_view key, long value)
{
    return writeString(section, key, std::to_string(value));
}
