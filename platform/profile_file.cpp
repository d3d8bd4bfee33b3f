#include "profile_file.h"

#include "regular_file.h"
#include "replace_file.h"

#define SI_CONVERT_ICU
#include <SimpleIni.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>

namespace {

// Content that is not settings text; no read gives this errno.
constexpr int kNotSettingsText = EILSEQ;

std::mutex &writeMutex()
{
    static std::mutex mutex;
    return mutex;
}

// Text of any code page, but no zero byte and no control byte a text editor would not write:
// such a file is binary, or text that a crash has left zeros in.
bool isSettingsText(std::string_view data)
{
    for (const char c : data) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r')
            return false;
    }
    return true;
}

// 0 when `ini` holds the file, or nothing for a file that does not exist; otherwise why the
// file cannot be read, and `ini` is empty.
int load(CSimpleIniA &ini, const std::string &path)
{
    ini.SetUnicode(false);
    ini.SetMultiKey(false);
    ini.SetSpaces(false);
    std::string data;
    const int err = ReadRegularFile(path, ProfileFile::kLargestFile, &data);
    if (err == ENOENT)
        return 0;
    if (err != 0)
        return err;
    if (!isSettingsText(data))
        return kNotSettingsText;
    if (ini.LoadData(data) < 0) {
        ini.Reset();
        return kNotSettingsText;
    }
    return 0;
}

std::string describe(int err)
{
    switch (err) {
    case 0:
        return {};
    case EFBIG:
        return "it is larger than " + std::to_string(ProfileFile::kLargestFile) + " bytes";
    case kNotSettingsText:
        return "it holds bytes that are not settings text";
    default:
        return DescribeFileError(err);
    }
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
    // A control byte written would make the whole file unreadable from then on.
    if (!isSettingsText(section) || !isSettingsText(key) || !isSettingsText(value))
        return false;
    std::lock_guard lock(writeMutex());
    CSimpleIniA ini;
    if (load(ini, m_path) != 0)
        return false;
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

std::string ProfileFile::unreadableReason() const
{
    CSimpleIniA ini;
    return describe(load(ini, m_path));
}
