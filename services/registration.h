#pragma once
// Registration of the service program with the bus and the service manager.
//
// "RegServer" writes the D-Bus activation file of org.orvex.OrvexServices, so that the first
// client starts the program as a plain activated server. "Service" also writes the systemd unit
// "OrvexServices" (description "Orvex Kernel", Type=dbus) and names it in the activation file, so
// that the bus asks systemd to start it as a service. On the system bus, registration also
// writes the bus policy, and the service runs as its own user (kServiceUser) in a confined
// unit. "UnregServer" removes what registration wrote. Every path lies
// under a root folder (ORVEX_REGISTRATION_ROOT, else "/"), so tests write under a temporary one
// and the package build under its staging tree; a program inside that root is named in the files
// by its path within it, as the installed system will see it.
// Files are written through a temporary file and a rename. Every step is tried even when one
// before it failed; each failing step is a notice (Notify) naming the step, the file and the
// system's reason, and the result is the first failure.

#include "platform/hresult.h"
#include "platform/install_folder.h"

#include <filesystem>
#include <string>

namespace services {

inline constexpr const char *kServiceName = "OrvexServices";
inline constexpr const char *kServiceDisplayName = "Orvex Kernel";
inline constexpr const char *kBusName = "org.orvex.OrvexServices";
// On the system bus the service runs as this user, whose group of the same name admits callers.
inline constexpr const char *kServiceUser = "orvex";

using ::BusKind;

// ServiceBusKind with the bus that started the program (DBUS_STARTER_BUS_TYPE: the system bus's
// launch helper passes no other environment): ORVEX_BUS, else that bus, else the installation's
// `Bus`, else the session bus.
[[nodiscard]] BusKind BusFromEnvironment();

// Which folders registration writes: the administrator's (what -RegServer and -Service write
// on a running system, taking precedence over a package's), or the distribution's, where the
// package ships the same files (ORVEX_REGISTRATION_FOLDERS=package, when the package is built).
enum class RegistrationFolders { Local, Package };

struct RegistrationLayout
{
    std::filesystem::path root;           // the system's root folder, "/" but in tests and builds
    std::filesystem::path activationFile; // the bus's service file of kBusName
    std::filesystem::path systemdUnit;    // OrvexServices.service
    std::filesystem::path busPolicy;      // system bus only: who may own and call the name
};

[[nodiscard]] RegistrationLayout LayoutFor(BusKind bus, const std::filesystem::path &root,
                                           RegistrationFolders folders = RegistrationFolders::Local);
// The layout under ORVEX_REGISTRATION_ROOT (or "/") in the folders of ORVEX_REGISTRATION_FOLDERS
// ("package", else the administrator's) for the bus of BusFromEnvironment.
[[nodiscard]] RegistrationLayout LayoutFromEnvironment();

// Registers `program` (its full path). As a service the systemd unit is written too; without,
// an earlier unit is removed. On the system bus the unit confines the service to writing
// `installFolder` only. S_OK, or the failure of the file that could not be written.
[[nodiscard]] HRESULT RegisterServer(const RegistrationLayout &layout, bool asService,
                                     const std::string &program, const std::string &installFolder);
// Removes what registration wrote; files already absent are no failure.
[[nodiscard]] HRESULT UnregisterServer(const RegistrationLayout &layout);

// True when the unit file exists (the program is registered to run as a service).
[[nodiscard]] bool IsInstalled(const RegistrationLayout &layout);

} // namespace services
