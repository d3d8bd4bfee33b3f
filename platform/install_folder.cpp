#include "install_folder.h"

#include "profile_file.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

std::string InstallFolder()
{
    if (const char *env = std::getenv("ORVEX_INSTALL_DIR"); env && *env)
        return env;
    const std::string configured = ProfileFile("/etc/orvex/orvex.conf").readString("OrvexConfig", "Path", "");
    if (!configured.empty())
        return configured;
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self.parent_path().string();
    return std::filesystem::current_path(ec).string();
}

std::string JoinPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.empty() && path.back() != '/')
        path.push_back('/');
    path.append(name);
    return path;
}
