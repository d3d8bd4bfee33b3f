#include "service_switch.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace services {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

ServiceSwitch ParseServiceSwitch(std::string_view commandLine)
{
    static constexpr std::array<std::pair<std::string_view, ServiceSwitch>, 3> kSwitches{{
        {"UnregServer", ServiceSwitch::UnregServer},
        {"RegServer", ServiceSwitch::RegServer},
        {"Service", ServiceSwitch::Service},
    }};
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        if (commandLine[i] != '-' && commandLine[i] != '/')
            continue;
        const std::string_view rest = commandLine.substr(i + 1);
        for (const auto &[name, value] : kSwitches) {
            if (equalsIgnoringCase(rest, name))
                return value;
        }
    }
    return ServiceSwitch::None;
}

std::string JoinCommandLine(int argc, const char *const *argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line.push_back(' ');
        line.append(argv[i]);
    }
    return line;
}

} // namespace services
