#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. Its name is unique (the prefix and six random characters), so tests running in
// parallel processes, or a test run again after a crash, never meet each other's files.

#include "support/tests/scoped_variable.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

class ScopedTempFolder
{
public:
    explicit ScopedTempFolder(const std::string &prefix = "orvex-test")
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::system_error(errno, std::generic_category(), "cannot make a temporary folder " + pattern);
        m_path = pattern;
    }
    ~ScopedTempFolder()
    {
        std::error_code ec;
        // A test may have taken its own rights away from a file or folder inside.
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    ScopedTempFolder(const ScopedTempFolder &) = delete;
    ScopedTempFolder &operator=(const ScopedTempFolder &) = delete;

    [[nodiscard]] const std::filesystem::path &path() const { return m_path; }
    [[nodiscard]] std::filesystem::path operator/(const std::string &name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// A ScopedTempFolder that is the install folder (ORVEX_INSTALL_DIR) for the object's life; the
// earlier value comes back afterwards.
class ScopedInstallFolder : public ScopedTempFolder
{
public:
    explicit ScopedInstallFolder(const std::string &prefix = "orvex-install")
        : ScopedTempFolder(prefix), m_variable("ORVEX_INSTALL_DIR", path().c_str())
    {
    }

    [[nodiscard]] std::string file(const std::string &name) const { return (path() / name).string(); }

private:
    ScopedVariable m_variable;
};
