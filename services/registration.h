#pragma once
// Registration of the service program with the bus and the service manager.
//
// "RegServer" writes the D-Bus activation file of org.orvex.OrvexServices, so that the first
// client starts the program as a plain activated server. "Service" also writes the systemd unit
// "OrvexServices" (description "Orvex Kernel", Type=dbus) and names it in the activation file, so
// that the bus asks systemd to start it as a service. On the system bus, registration also
// writes the bus policy, and the service runs as its own user (kServiceUser) in a confined
// unit. "UnregServer" removes what registration wrote. Every path lies
// under a root folder (ORVEX_REGISTRATION_ROOT, else "/"), so tests write under a temporary one.
// Files are written through a temporary file and a rename. Every step is tried even when one
// before it failed; each failing step is a notice (Notify) naming the step, the file and the
// system's reason, and the result is the first failure.

#include "platform/hresult.h"

#include <filesystem>
#include <string>

namespace services {

inline constexpr const char *kServiceName = "OrvexServices";
inline constexpr const char *kServiceDisplayName = "Orvex Kernel";
inline constexpr const char *kBusName = "org.orvex.OrvexServices";
// On the system bus the service runs as this user, whose group of the same name admits callers.
inline constexpr const char *kServiceUser = "orvex";

enum class BusKind { Session, System };

// ORVEX_BUS: "system" selects the system bus; anything else the session bus. Without it, the bus
// that started the program (DBUS_STARTER_BUS_TYPE: the system bus's launch helper passes no
// other environment), else the session bus.
[[nodiscard]] BusKind BusFromEnvironment();

struct RegistrationLayout
{
    std::filesystem::path activationFile; // the bus's service file of kBusName
    std::filesystem::path systemdUnit;    // OrvexServices.service
    std::filesystem::path busPolicy;      // system bus only: who may own and call the name
};

[[nodiscard]] RegistrationLayout LayoutFor(BusKind bus, const std::filesystem::path &root);
// The layout under ORVEX_REGISTRATION_ROOT (or "/") for the bus of ORVEX_BUS.
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
