#pragma once
// The simulated unit's report commands, as the program reads them from a line of text:
//   pump <event> <pump> <hose> <camera>                         W
//   delivery <event> <pump> <hose> <unit price> <total price> <volume> <camera>   X
//   pos <pos> <camera> <preset> <text...>                       O
//   camera <event> <target> <camera> <preset> <revisiting 0|1>  B
//   diag <total mem> <max outstanding> <min space> <loop time>  S
//   heartbeat [versions...]                                     H
//   plate <pump> <registration...>                              V
//   debug <text...>                                             D
//   bootload <status> <block size> <next address>               L
//   resets <count>                                              R
//   position <P|Z|_> <camera> <pan> <tilt> <zoom>               Q (three for Z)
// Prices and volumes are decimal numbers ("1.259", "40.5").

#include "unit_link.h"

#include <string>
#include <vector>

namespace unitsim {

struct ReportCommand
{
    bool known = false;     // the word names a report command
    std::string error;      // the usage text when its arguments do not parse
    std::vector<Message> messages;
};

// `line` is the whole command line, its first word the command.
[[nodiscard]] ReportCommand ParseReportCommand(const std::string &line);

extern const char *const kReportCommandHelp;

} // namespace unitsim
