#pragma once
// Where the shared files live: settings, rules, configuration XML and trace files.
//
// The folder is the environment variable ORVEX_INSTALL_DIR when set, else the value `Path` of
// section [OrvexConfig] in /etc/orvex/orvex.conf, else the folder of the running program.

#include <string>
#include <string_view>

[[nodiscard]] std::string InstallFolder();

// folder + "/" + name, with no doubled separator.
[[nodiscard]] std::string JoinPath(std::string_view folder, std::string_view name);

// The settings file of the suite in `folder`.
inline constexpr std::string_view kSettingsFileName = "OrvexSettings.ini";
