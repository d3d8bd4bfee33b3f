#include "install_folder.h"

#include "profile_file.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

constexpr std::string_view kSection = "OrvexConfig";

// "system" names the system bus; any other name the session bus, as ORVEX_BUS always did.
BusKind busNamed(std::string_view name)
{
    return name == "system" ? BusKind::System : BusKind::Session;
}

} // namespace

std::string InstallFolder()
{
    if (const char *env = std::getenv("ORVEX_INSTALL_DIR"); env && *env)
        return env;
    const std::string configured = ProfileFile(std::string(kInstallationFile)).readString(kSection, "Path", "");
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

BusKind ServiceBusKind(const char *startedBy, const std::string &installationFile)
{
    if (const char *env = std::getenv("ORVEX_BUS"); env && *env)
        return busNamed(env);
    if (startedBy && *startedBy)
        return busNamed(startedBy);
    return busNamed(ProfileFile(installationFile).readString(kSection, "Bus", "session"));
}
