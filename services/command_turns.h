#pragma once
// How clients on the bus reach the unit commands of the hub (IOrvexComms): in the order they
// arrive. A site send or read takes seconds, during which the service thread serves everything
// else. A unit command that arrives meanwhile waits for its turn after the exchange, so that a
// second exchange starts only after the first has ended. Camera commands (ICameraCtrl) take no
// turn: they go to the unit at once, also during the send's 10 s wait and between the read's
// groups of requests, but never among the send's tables, which are queued to the link in one
// step.
//
// A stop of the service ends the turns (EndTurns), so that a site send under way is not cut off:
// stopping between its clear and its tables would leave the unit with its memory cleared and no
// site. Camera commands steer cameras for a service that is going away: those still queued for
// the unit are dropped at the stop, and those that come during it are refused, so that nothing
// holds the send's tables back.
//
// The hub implements it; service thread only.

#include "interfaces/services/iorvex_comms.h"
#include "platform/hresult.h"

#include <chrono>
#include <functional>
#include <optional>

namespace services {

class CommandTurns
{
public:
    // One member of IOrvexComms with its arguments. It must not throw.
    using Command = std::function<HRESULT(IOrvexComms &)>;
    // Gets the command's result once it is done, or no result when the command was refused
    // since the service is stopping. It may be empty, and must not throw.
    using Reply = std::function<void(std::optional<HRESULT>)>;

    // A stop waits for a site send under way while the unit takes its messages, and gives up
    // once the unit has acknowledged nothing for this long while the link had frames for it: a
    // frame the unit ignores takes about 0.8 s to give up (4 writes), so this is 6 frames lost
    // in a row, and a unit that lost them holds no whole site anyway. Without this bound a unit
    // silent from the clear on would hold the stop about 0.8 s a message (a large site, 146
    // messages: about 130 s).
    static constexpr std::chrono::seconds kStopSilenceLimit{5};
    // Whatever the unit does, a stop ends this long after it came, before the service manager
    // kills the service (its stop time-out, registration.cpp, leaves a margin for the tear-down).
    // Measured with the simulated unit (bench/service_stop_bench), from the clear to the end: a
    // typical forecourt (28 messages) 13.2 s, a large one (146 messages) 26.4 s, either to a unit
    // silent from the clear on 15.1 s; a stop while a second send waits behind 1,000 camera
    // commands 16.0 s.
    static constexpr std::chrono::seconds kStopWaitLimit{80};

    virtual ~CommandTurns() = default;

    // Runs `command` at once when no exchange is running and no command is waiting; else after
    // the commands before it. `reply` gets its result when it is done: at once, or for
    // SendCurrentSiteToOrvex and ReadDataFromOrvex once their exchange's last step has run.
    // Once the turns have ended, `reply` gets no result at once and the command does not run.
    // Commands still waiting when the hub goes are dropped with their replies, unanswered.
    virtual void RunInTurn(Command command, Reply reply) = 0;

    // For a stop of the service: every command waiting, and every one that comes later, is
    // refused (its reply gets no result); the camera commands queued for the unit are dropped,
    // and those that come later are refused. `stop` runs once, on the service thread: at once
    // when no site send is under way (a read may end at once: nothing on the unit is lost);
    // else once the send has run its remaining steps (the wait, its tables) and the link has
    // settled every message of the send (each acknowledged, or given up after its 4 writes), or
    // once the unit has left the link's frames unacknowledged for kStopSilenceLimit, or
    // kStopWaitLimit after this call, whichever comes first. What the stop leaves unsent is
    // traced at error level. Calls after the first do nothing.
    virtual void EndTurns(std::function<void()> stop) = 0;
};

} // namespace services
