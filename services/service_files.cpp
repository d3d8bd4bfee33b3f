#include "services/service_files.h"

#include "platform/install_folder.h"

#include <array>
#include <cstdlib>
#include <memory>
#include <string_view>

#include <sys/stat.h>

namespace services {

namespace {

// The configuration file is here too, though the store never reads it: an export over it would
// be lost at the next Save, and until then the file would hold one site instead of every site.
constexpr std::array<std::string_view, 10> kServiceFiles = {
    kSettingsFileName,     "RecorderBridgeConfig.xml", "orvexconfig.xml",      "OrvexServices_0.txt",
    "OrvexServices_1.txt", "RecorderBridge_0.txt",     "RecorderBridge_1.txt", "fwd.dat",
    "OrvexMetaData.xml",   "Log.txt"};

std::optional<std::string> realPath(const std::string &path)
{
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (!real)
        return std::nullopt;
    return std::string(real.get());
}

// The file that `path` names: its real path when it exists, else the real path of its folder
// and its name.
std::optional<std::string> resolvedPath(const std::string &path)
{
    if (auto real = realPath(path))
        return real;
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto realFolder = realPath(folder);
    if (!realFolder || name.empty())
        return std::nullopt;
    return JoinPath(*realFolder, name);
}

bool sameInode(const std::string &a, const std::string &b)
{
    struct stat first{};
    struct stat second{};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}

} // namespace

std::optional<std::string> ServiceFileAt(const std::string &path, const std::string &installFolder)
{
    const auto folder = realPath(installFolder);
    if (!folder)
        return std::nullopt;
    const auto target = resolvedPath(path);
    for (const std::string_view name : kServiceFiles) {
        const std::string own = JoinPath(*folder, name);
        if ((target && *target == own) || sameInode(path, own))
            return own;
    }
    return std::nullopt;
}

} // namespace services
