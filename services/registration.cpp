#include "registration.h"

#include "platform/notifier.h"
#include "platform/replace_file.h"
#include "services/bus_policy.h"
#include "services/command_turns.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include <unistd.h>

namespace services {

namespace {

constexpr const char *kCannotDeleteService = "Service could not be deleted";

// One step of registration: on failure, a notice that names the step, the file and the system's
// reason. Every step is tried; the first failure is the result.
void step(HRESULT *result, const char *what, const std::filesystem::path &path, HRESULT hr)
{
    if (SUCCEEDED(hr))
        return;
    Notify(std::string(what) + ": " + path.string() + ": " + DescribeResult(hr));
    if (SUCCEEDED(*result))
        *result = hr;
}

HRESULT writeFileAtomically(const std::filesystem::path &path, const std::string &content)
{
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    if (ec)
        return ResultFromErrno(ec.value());
    const int err = ReplaceFileContents(path.string(), content);
    return err == 0 ? S_OK : ResultFromErrno(err);
}

HRESULT removeFile(const std::filesystem::path &path)
{
    std::error_code ec;
    std::filesystem::remove(path, ec);
    return ec ? ResultFromErrno(ec.value()) : S_OK;
}

std::string activationFileText(BusKind bus, bool asService, const std::string &program)
{
    std::string text = "[D-BUS Service]\nName=";
    text += kBusName;
    text += "\nExec=" + program + "\n";
    if (bus == BusKind::System)
        text += std::string("User=") + kServiceUser + "\n";
    if (asService)
        text += std::string("SystemdService=") + kServiceName + ".service\n";
    return text;
}

// One word of a unit file: quoted when it holds blanks, quotes or backslashes, and with '%'
// doubled, since systemd would take it for a specifier.
std::string unitWord(std::string_view value)
{
    std::string escaped;
    bool quote = value.empty();
    for (const char c : value) {
        if (c == '%')
            escaped += '%';
        if (c == '"' || c == '\\')
            escaped += '\\';
        if (c == ' ' || c == '\t' || c == '"' || c == '\\' || c == '\'')
            quote = true;
        escaped += c;
    }
    return quote ? '"' + escaped + '"' : escaped;
}

// The service parses site files, rules and serial input that come from outside, so on the
// system bus it runs as its own user, sees the system read-only, writes only its install
// folder, reaches no device but serial ports, and has no network, privileges or capabilities.
// The workers lower their own priority, so the resource calls stay allowed.
constexpr std::string_view kConfinement = R"(UMask=0027
NoNewPrivileges=yes
CapabilityBoundingSet=
AmbientCapabilities=
ProtectSystem=strict
ProtectHome=yes
PrivateTmp=yes
PrivateMounts=yes
DevicePolicy=closed
DeviceAllow=char-ttyS rw
DeviceAllow=char-ttyUSB rw
DeviceAllow=char-ttyACM rw
PrivateNetwork=yes
RestrictAddressFamilies=AF_UNIX
IPAddressDeny=any
ProtectKernelTunables=yes
ProtectKernelModules=yes
ProtectKernelLogs=yes
ProtectControlGroups=yes
ProtectClock=yes
ProtectHostname=yes
ProtectProc=invisible
RestrictNamespaces=yes
RestrictRealtime=yes
RestrictSUIDSGID=yes
LockPersonality=yes
MemoryDenyWriteExecute=yes
RemoveIPC=yes
SystemCallArchitectures=native
SystemCallFilter=@system-service
SystemCallFilter=~@privileged
SystemCallErrorNumber=EPERM
)";

std::string confinementText(const std::string &installFolder)
{
    std::string text = std::string("User=") + kServiceUser + "\nGroup=" + kServiceUser + "\n";
    text += "ReadWritePaths=" + unitWord(installFolder) + "\n";
    text += kConfinement;
    return text;
}

// How long systemd lets the service take to end after SIGTERM before it kills it. A stop waits
// for a site send under way for up to CommandTurns::kStopWaitLimit (killed in the middle of
// one, the unit is left cleared and without a site); the rest is a margin for the tear-down (the
// link's and the bridge's threads, the trace; measured: 3 ms) on a machine under load.
constexpr std::chrono::seconds kStopTimeout = CommandTurns::kStopWaitLimit + std::chrono::seconds(10);

std::string unitFileText(BusKind bus, const std::string &program, const std::string &installFolder)
{
    std::string text = "[Unit]\nDescription=";
    text += kServiceDisplayName;
    text += "\n\n[Service]\nType=dbus\nBusName=";
    text += kBusName;
    text += "\nExecStart=" + unitWord(program) + "\n";
    text += "TimeoutStopSec=" + std::to_string(kStopTimeout.count()) + "\n";
    text += bus == BusKind::System ? "Environment=ORVEX_BUS=system\n"
                                   : "Environment=ORVEX_BUS=session\n";
    if (bus == BusKind::System)
        text += confinementText(installFolder);
    text += "\n[Install]\nWantedBy=";
    text += bus == BusKind::System ? "multi-user.target\n" : "default.target\n";
    return text;
}

BusKind busOf(const RegistrationLayout &layout)
{
    return layout.busPolicy.empty() ? BusKind::Session : BusKind::System;
}

// `program` as the system under `root` will see it: a program inside the root (the package's
// staging tree) by its path there, any other as it is.
std::string programSeenFrom(const std::filesystem::path &root, const std::string &program)
{
    std::error_code ec;
    const auto base = std::filesystem::weakly_canonical(root, ec);
    if (ec || base.empty() || base == base.root_path())
        return program;
    const auto inside = std::filesystem::weakly_canonical(program, ec).lexically_relative(base);
    if (ec || inside.empty() || *inside.begin() == "..")
        return program;
    return (std::filesystem::path("/") / inside).string();
}

} // namespace

BusKind BusFromEnvironment()
{
    return ServiceBusKind(std::getenv("DBUS_STARTER_BUS_TYPE"));
}

RegistrationLayout LayoutFor(BusKind bus, const std::filesystem::path &root, RegistrationFolders folders)
{
    const bool local = folders == RegistrationFolders::Local;
    const std::string service = std::string(kBusName) + ".service";
    const std::string unit = std::string(kServiceName) + ".service";
    const std::filesystem::path dbus = local ? "usr/local/share/dbus-1" : "usr/share/dbus-1";
    RegistrationLayout layout;
    layout.root = root;
    if (bus == BusKind::System) {
        layout.activationFile = root / dbus / "system-services" / service;
        layout.systemdUnit = root / (local ? "etc/systemd/system" : "lib/systemd/system") / unit;
        layout.busPolicy = root / (local ? "etc/dbus-1" : "usr/share/dbus-1") / "system.d"
                           / (std::string(kBusName) + ".conf");
    } else {
        layout.activationFile = root / dbus / "services" / service;
        layout.systemdUnit = root / (local ? "etc/systemd/user" : "usr/lib/systemd/user") / unit;
    }
    return layout;
}

RegistrationLayout LayoutFromEnvironment()
{
    const char *root = std::getenv("ORVEX_REGISTRATION_ROOT");
    const char *folders = std::getenv("ORVEX_REGISTRATION_FOLDERS");
    return LayoutFor(BusFromEnvironment(), root && *root ? root : "/",
                     folders && std::string_view(folders) == "package" ? RegistrationFolders::Package
                                                                       : RegistrationFolders::Local);
}

bool IsInstalled(const RegistrationLayout &layout)
{
    std::error_code ec;
    return std::filesystem::exists(layout.systemdUnit, ec);
}

HRESULT RegisterServer(const RegistrationLayout &layout, bool asService, const std::string &program,
                       const std::string &installFolder)
{
    const BusKind bus = busOf(layout);
    const std::string named = programSeenFrom(layout.root, program);
    HRESULT result = S_OK;
    // A unit left from an earlier registration may name another program.
    if (IsInstalled(layout))
        step(&result, kCannotDeleteService, layout.systemdUnit, removeFile(layout.systemdUnit));
    if (asService) {
        step(&result, "Couldn't create service", layout.systemdUnit,
             writeFileAtomically(layout.systemdUnit, unitFileText(bus, named, installFolder)));
    }
    if (!layout.busPolicy.empty()) {
        step(&result, "Couldn't write the bus policy", layout.busPolicy,
             writeFileAtomically(layout.busPolicy, std::string(kBusPolicy)));
    }
    step(&result, "Couldn't register the server", layout.activationFile,
         writeFileAtomically(layout.activationFile, activationFileText(bus, asService, named)));
    return result;
}

HRESULT UnregisterServer(const RegistrationLayout &layout)
{
    HRESULT result = S_OK;
    step(&result, "Couldn't unregister the server", layout.activationFile, removeFile(layout.activationFile));
    step(&result, kCannotDeleteService, layout.systemdUnit, removeFile(layout.systemdUnit));
    if (!layout.busPolicy.empty())
        step(&result, "Couldn't remove the bus policy", layout.busPolicy, removeFile(layout.busPolicy));
    return result;
}

} // namespace services
