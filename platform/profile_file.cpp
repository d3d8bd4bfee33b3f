#include "profile_file.h"

#define SI_CONVERT_ICU
#include <SimpleIni.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    if (ini.LoadFile(path.c_str()) < 0)
        ini.Reset();
}

bool writeAll(int fd, const std::string &data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool replaceFile(const std::string &path, const std::string &data)
{
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    ::fchmod(fd, 0644);
    const bool ok = writeAll(fd, data) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
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
    return replaceFile(m_path, data);
}

bool ProfileFile::writeInt(std::string_view section, std::string_view key, long value)
{
    return writeString(section, key, std::to_string(value));
}
