#pragma once
// What the installation says about itself: where the shared files live (settings, rules,
// configuration XML and trace files) and which bus its service answers on. Both come from the
// installation's file /etc/orvex/orvex.conf, section [OrvexConfig], unless the environment
// names them.

#include <string>
#include <string_view>

// The installation's own file, which the package writes.
inline constexpr std::string_view kInstallationFile = "/etc/orvex/orvex.conf";

// The environment variable ORVEX_INSTALL_DIR when set, else the value `Path` of the
// installation's file, else the folder of the running program.
[[nodiscard]] std::string InstallFolder();

// folder + "/" + name, with no doubled separator.
[[nodiscard]] std::string JoinPath(std::string_view folder, std::string_view name);

// The settings file of the suite in `folder`.
inline constexpr std::string_view kSettingsFileName = "OrvexSettings.ini";

enum class BusKind { Session, System };

// The bus on which every program of the suite looks for the service, and on which the service
// answers, so that they meet: ORVEX_BUS when set and not empty ("system" the system bus,
// anything else the session bus); else `startedBy` when given and not empty (the bus that
// started the program, as DBUS_STARTER_BUS_TYPE names it); else the value `Bus` of
// `installationFile` (the package sets "system"); else the session bus, which the tests, the
// demo and a program run from the build tree use.
[[nodiscard]] BusKind ServiceBusKind(const char *startedBy = nullptr,
                                     const std::string &installationFile = std::string(kInstallationFile));
