#include "report_commands.h"

#include "unit_reports.h"

#include <cmath>
#include <functional>
#include <map>
#include <sstream>

namespace unitsim {

const char *const kReportCommandHelp =
    "reports: pump <event> <pump> <hose> <camera> | delivery <event> <pump> <hose> <unit price> <total price> "
    "<volume> <camera> | pos <pos> <camera> <preset> <text> | camera <event> <target> <camera> <preset> <0|1> | "
    "diag <a> <b> <c> <d> | heartbeat [text] | plate <pump> <text> | debug <text> | "
    "bootload <status> <block> <next> | resets <n> | position <P|Z|_> <camera> <pan> <tilt> <zoom>";

namespace {

std::string restOf(std::istream &in)
{
    std::string rest;
    std::getline(in, rest);
    const auto start = rest.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : rest.substr(start);
}

Currency money(double value)
{
    return Currency{std::llround(value * Currency::kScale)};
}

using Parser = std::function<bool(std::istream &, std::vector<Message> &)>;

const std::map<std::string, std::pair<const char *, Parser>> &commands()
{
    static const std::map<std::string, std::pair<const char *, Parser>> table = {
        {"pump", {"pump <event> <pump> <hose> <camera>", [](std::istream &in, std::vector<Message> &out) {
                      int e, p, h, c;
                      if (!(in >> e >> p >> h >> c))
                          return false;
                      out.push_back(PumpEvent(e, p, h, c));
                      return true;
                  }}},
        {"delivery", {"delivery <event> <pump> <hose> <unit price> <total price> <volume> <camera>",
                      [](std::istream &in, std::vector<Message> &out) {
                          int e, p, h, c;
                          double unit, total, volume;
                          if (!(in >> e >> p >> h >> unit >> total >> volume >> c))
                              return false;
                          out.push_back(DeliveryTotals(e, p, h, money(unit), money(total), volume, c));
                          return true;
                      }}},
        {"pos", {"pos <pos> <camera> <preset> <text>", [](std::istream &in, std::vector<Message> &out) {
                     int pos, c, preset;
                     if (!(in >> pos >> c >> preset))
                         return false;
                     out.push_back(POSMessage(pos, c, preset, restOf(in)));
                     return true;
                 }}},
        {"camera", {"camera <event> <target> <camera> <preset> <0|1>", [](std::istream &in, std::vector<Message> &out) {
                        int e, t, c, preset, revisiting;
                        if (!(in >> e >> t >> c >> preset >> revisiting))
                            return false;
                        out.push_back(CameraEvent(e, t, c, preset, revisiting != 0));
                        return true;
                    }}},
        {"diag", {"diag <total mem> <max outstanding> <min space> <loop time>",
                  [](std::istream &in, std::vector<Message> &out) {
                      int a, b, c, d;
                      if (!(in >> a >> b >> c >> d))
                          return false;
                      out.push_back(SystemDiagnostics(a, b, c, d));
                      return true;
                  }}},
        {"heartbeat", {"heartbeat [versions]", [](std::istream &in, std::vector<Message> &out) {
                           out.push_back(HeartBeat(restOf(in)));
                           return true;
                       }}},
        {"plate", {"plate <pump> <registration>", [](std::istream &in, std::vector<Message> &out) {
                       int pump;
                       if (!(in >> pump))
                           return false;
                       out.push_back(VehicleReg(pump, restOf(in)));
                       return true;
                   }}},
        {"debug", {"debug <text>", [](std::istream &in, std::vector<Message> &out) {
                       out.push_back(DebugText(restOf(in)));
                       return true;
                   }}},
        {"bootload", {"bootload <status> <block size> <next address>", [](std::istream &in, std::vector<Message> &out) {
                          int s, b, n;
                          if (!(in >> s >> b >> n))
                              return false;
                          out.push_back(BootLoadReady(s, b, n));
                          return true;
                      }}},
        {"resets", {"resets <count>", [](std::istream &in, std::vector<Message> &out) {
                        int n;
                        if (!(in >> n))
                            return false;
                        out.push_back(ResetCount(n));
                        return true;
                    }}},
        {"position", {"position <P|Z|_> <camera> <pan> <tilt> <zoom>", [](std::istream &in, std::vector<Message> &out) {
                          char code;
                          int c;
                          double pan, tilt, zoom;
                          if (!(in >> code >> c >> pan >> tilt >> zoom))
                              return false;
                          out = PositionReplies(code, c, pan, tilt, zoom);
                          return !out.empty();
                      }}},
    };
    return table;
}

} // namespace

ReportCommand ParseReportCommand(const std::string &line)
{
    std::istringstream in(line);
    std::string word;
    in >> word;
    ReportCommand result;
    const auto found = commands().find(word);
    if (found == commands().end())
        return result;
    result.known = true;
    if (!found->second.second(in, result.messages)) {
        result.messages.clear();
        result.error = std::string("usage: ") + found->second.first;
    }
    return result;
}

} // namespace unitsim
