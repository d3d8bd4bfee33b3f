// orvex-unit-sim: the simulated Orvex unit as a program a person can drive.
//
// Creates a pseudo-terminal, prints its slave path (point PortDevice<n> in OrvexSettings.ini at
// it), logs every frame with a monotonic timestamp, and reads commands on stdin:
//   send <type-letter> [hex payload]    queue a message for the PC, e.g. "send B 0104"
//   fault <name> [N]                    arm a fault (silence, nak, corrupt-checksum, bad-escape,
//                                       cut-frame, repeat-sequence, stray-can, stray-ack,
//                                       overlong, too-short, control-payload)
//   random <rate> [seed]                arm random faults on that share of frames (0: off)
//   stats                               print the counters
//   tables                              print the tables the PC has downloaded
//   pump, delivery, pos, camera, diag, heartbeat, plate, debug, bootload, resets, position:
//                                       send that report (report_commands.h; "help" lists them)
// The unit keeps the tables the PC downloads and answers its requests (unit_tables.h).
//   quit                                end (so does end of input)

#include "camera_responder.h"
#include "report_commands.h"
#include "unit_link.h"
#include "unit_tables.h"

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace unitsim;

bool parseHex(const std::string &text, std::vector<std::uint8_t> &out)
{
    std::string digits;
    for (char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c)))
            digits.push_back(c);
        else if (c != ' ' && c != ':')
            return false;
    }
    if (digits.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < digits.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    return true;
}

void printStats(const UnitStats &s)
{
    std::printf("received %llu, duplicates %llu, refused %llu, abandoned %llu, sent %llu, acked %llu, "
                "rewrites %llu, given up %llu, faults %llu\n",
                static_cast<unsigned long long>(s.framesReceived), static_cast<unsigned long long>(s.duplicatesReceived),
                static_cast<unsigned long long>(s.framesRefused), static_cast<unsigned long long>(s.framesAbandoned),
                static_cast<unsigned long long>(s.framesSent), static_cast<unsigned long long>(s.framesAcked),
                static_cast<unsigned long long>(s.rewrites), static_cast<unsigned long long>(s.framesGivenUp),
                static_cast<unsigned long long>(s.faultsInjected));
}

void printTables(const UnitTables &tables)
{
    for (const char type : std::string("GECMTIPV")) {
        for (const auto &table : tables.tables(static_cast<std::uint8_t>(type))) {
            std::printf("%c", type);
            for (const auto byte : table)
                std::printf(" %02X", byte);
            std::printf("\n");
        }
    }
    std::printf("reset count %d, pass-through %llu, boot blocks %zu\n", tables.resetCount(),
                static_cast<unsigned long long>(tables.passThroughCount()), tables.bootBlocks().size());
}

} // namespace

int main()
{
    try {
        UnitLink unit;
        UnitTables tables;
        CameraResponder cameras;
        tables.setPassThroughHandler([&cameras](const Message &m) { return cameras.Handle(m); });
        unit.SetHandler(tables.handler());
        const auto start = Clock::now();
        unit.SetLogObserver([start](const LogEntry &e) {
            const double ms = std::chrono::duration<double, std::milli>(e.at - start).count();
            const char type = (e.type >= 0x20 && e.type < 0x7F) ? static_cast<char>(e.type) : '?';
            std::printf("%10.3f %-10s seq %2u type %c len %4zu %s\n", ms, logKindName(e.kind), e.sequence, type,
                        e.length, e.note.c_str());
            std::fflush(stdout);
        });
        unit.Start();
        std::printf("pty: %s\n", unit.slavePath().c_str());
        std::fflush(stdout);

        std::string line;
        while (std::getline(std::cin, line)) {
            std::istringstream in(line);
            std::string command;
            in >> command;
            if (command.empty())
                continue;
            if (command == "quit")
                break;
            if (command == "send") {
                std::string type;
                in >> type;
                std::string rest;
                std::getline(in, rest);
                Message message;
                if (type.size() != 1 || !parseHex(rest, message.payload)) {
                    std::printf("usage: send <type-letter> [hex payload]\n");
                    continue;
                }
                message.type = static_cast<std::uint8_t>(type[0]);
                unit.Send(std::move(message));
            } else if (command == "fault") {
                std::string name;
                int count = 1;
                in >> name >> count;
                const auto fault = faultFromName(name);
                if (!fault) {
                    std::printf("unknown fault '%s'\n", name.c_str());
                    continue;
                }
                unit.InjectFault(*fault, count);
            } else if (command == "random") {
                double rate = 0;
                unsigned seed = 1;
                in >> rate >> seed;
                unit.SetRandomFaults(rate, seed, {std::begin(kAllFaults), std::end(kAllFaults)});
            } else if (command == "stats") {
                printStats(unit.stats());
            } else if (command == "tables") {
                printTables(tables);
            } else if (auto report = ParseReportCommand(line); report.known) {
                if (!report.error.empty())
                    std::printf("%s\n", report.error.c_str());
                for (auto &message : report.messages)
                    unit.Send(std::move(message));
            } else {
                std::printf("commands: send, fault, random, stats, tables, quit\n%s\n", kReportCommandHelp);
            }
            std::fflush(stdout);
        }
        unit.Stop();
        printStats(unit.stats());
    } catch (const std::exception &error) {
        std::fprintf(stderr, "orvex-unit-sim: %s\n", error.what());
        return 1;
    }
    return 0;
}
