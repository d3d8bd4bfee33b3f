#include "registration.h"

#include "platform/replace_file.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include <unistd.h>

namespace services {

namespace {

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
        text += "User=root\n";
    if (asService)
        text += std::string("SystemdService=") + kServiceName + ".service\n";
    return text;
}

std::string unitFileText(BusKind bus, const std::string &program)
{
    std::string text = "[Unit]\nDescription=";
    text += kServiceDisplayName;
    text += "\n\n[Service]\nType=dbus\nBusName=";
    text += kBusName;
    text += "\nExecStart=" + program + "\n";
    text += bus == BusKind::System ? "Environment=ORVEX_BUS=system\n" : "Environment=ORVEX_BUS=session\n";
    text += "\n[Install]\nWantedBy=";
    text += bus == BusKind::System ? "multi-user.target\n" : "default.target\n";
    return text;
}

std::string policyFileText()
{
    std::string text =
        "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN\"\n"
        " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
        "<busconfig>\n"
        "  <policy user=\"root\">\n"
        "    <allow own=\"org.orvex.OrvexServices\"/>\n"
        "  </policy>\n"
        "  <policy group=\"orvex\">\n"
        "    <allow send_destination=\"org.orvex.OrvexServices\"/>\n"
        "  </policy>\n"
        "  <policy context=\"default\">\n"
        "    <deny own=\"org.orvex.OrvexServices\"/>\n"
        "    <deny send_destination=\"org.orvex.OrvexServices\"/>\n"
        "  </policy>\n"
        "</busconfig>\n";
    return text;
}

BusKind busOf(const RegistrationLayout &layout)
{
    return layout.busPolicy.empty() ? BusKind::Session : BusKind::System;
}

} // namespace

BusKind BusFromEnvironment()
{
    const char *bus = std::getenv("ORVEX_BUS");
    return bus && std::string_view(bus) == "system" ? BusKind::System : BusKind::Session;
}

RegistrationLayout LayoutFor(BusKind bus, const std::filesystem::path &root)
{
    const std::string service = std::string(kBusName) + ".service";
    const std::string unit = std::string(kServiceName) + ".service";
    RegistrationLayout layout;
    if (bus == BusKind::System) {
        layout.activationFile = root / "usr/local/share/dbus-1/system-services" / service;
        layout.systemdUnit = root / "etc/systemd/system" / unit;
        layout.busPolicy = root / "etc/dbus-1/system.d" / (std::string(kBusName) + ".conf");
    } else {
        layout.activationFile = root / "usr/local/share/dbus-1/services" / service;
        layout.systemdUnit = root / "etc/systemd/user" / unit;
    }
    return layout;
}

RegistrationLayout LayoutFromEnvironment()
{
    const char *root = std::getenv("ORVEX_REGISTRATION_ROOT");
    return LayoutFor(BusFromEnvironment(), root && *root ? root : "/");
}

bool IsInstalled(const RegistrationLayout &layout)
{
    std::error_code ec;
    return std::filesystem::exists(layout.systemdUnit, ec);
}

HRESULT RegisterServer(const RegistrationLayout &layout, bool asService, const std::string &program)
{
    const BusKind bus = busOf(layout);
    // A unit left from an earlier registration may name another program.
    if (IsInstalled(layout)) {
        if (const HRESULT hr = removeFile(layout.systemdUnit); FAILED(hr))
            return hr;
    }
    if (asService) {
        if (const HRESULT hr = writeFileAtomically(layout.systemdUnit, unitFileText(bus, program)); FAILED(hr))
            return hr;
    }
    if (!layout.busPolicy.empty()) {
        if (const HRESULT hr = writeFileAtomically(layout.busPolicy, policyFileText()); FAILED(hr))
            return hr;
    }
    return writeFileAtomically(layout.activationFile, activationFileText(bus, asService, program));
}

HRESULT UnregisterServer(const RegistrationLayout &layout)
{
    HRESULT result = removeFile(layout.activationFile);
    if (const HRESULT hr = removeFile(layout.systemdUnit); FAILED(hr) && SUCCEEDED(result))
        result = hr;
    if (!layout.busPolicy.empty()) {
        if (const HRESULT hr = removeFile(layout.busPolicy); FAILED(hr) && SUCCEEDED(result))
            result = hr;
    }
    return result;
}

} // namespace services
